#pragma once

#include "forms_runtime/application.h"
#include "forms_runtime/controls/controls.h"
#include "forms_runtime/form.h"
#include "settings_store/settings_store.h"

namespace kivo::settings_dialog {

// The settings dialog: the picture folder, the seconds between slides and whether the file name
// is shown.
class frmSetting : public forms::Form {
  public:
    frmSetting(forms::Application& app, settings::SettingsStore& settings);

    forms::CheckBox& chkFile;
    forms::CommandButton& cmdCancel;
    forms::CommandButton& cmdOK;
    forms::TextBox& txtSecond;
    forms::Frame& frmFolder;
    forms::FileList& File;
    forms::DirList& Dir;
    forms::DriveList& Drive;
    forms::Label& lblPreview;
    forms::Image& imgPreview;
    forms::Label& lblPath;
    forms::Image& Image1;
    forms::Label& Label3;
    // The control array of the two captions: 0 in front of the path, 1 before the interval.
    forms::Label& Label1(int index) const { return Find<forms::Label>("Label1", index); }

    void Form_Load() override;
    void Form_Unload(std::int16_t& cancel) override;
    void Drive_Change();
    void Dir_Change();
    void File_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

  private:
    std::string ReadSetting(const char* key, const std::string& fallback) const;

    settings::SettingsStore& settings_;
};

}  // namespace kivo::settings_dialog
