#include "settings_dialog/frmSetting.h"

#include "settings_dialog/setting_layout.h"

namespace kivo::settings_dialog {

frmSetting::frmSetting(forms::Application& app, startup::SaverSample& module)
    : Form(app, kSettingLayout),
      chkFile(Find<forms::CheckBox>("chkFile")),
      cmdCancel(Find<forms::CommandButton>("cmdCancel")),
      cmdOK(Find<forms::CommandButton>("cmdOK")),
      txtSecond(Find<forms::TextBox>("txtSecond")),
      frmFolder(Find<forms::Frame>("frmFolder")),
      File(Find<forms::FileList>("File")),
      Dir(Find<forms::DirList>("Dir")),
      Drive(Find<forms::DriveList>("Drive")),
      lblPreview(Find<forms::Label>("lblPreview")),
      imgPreview(Find<forms::Image>("imgPreview")),
      lblPath(Find<forms::Label>("lblPath")),
      Image1(Find<forms::Image>("Image1")),
      Label3(Find<forms::Label>("Label3")),
      module_(module) {}

}  // namespace kivo::settings_dialog
