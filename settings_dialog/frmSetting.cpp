#include "settings_dialog/frmSetting.h"

#include <algorithm>

#include "forms_runtime/basics/conversions.h"
#include "forms_runtime/basics/errors.h"
#include "forms_runtime/basics/text.h"
#include "forms_runtime/resume_next.h"
#include "settings_dialog/browse_start.h"
#include "settings_dialog/setting_layout.h"
#include "startup/module/settings_names.h"

namespace kivo::settings_dialog {

namespace {

constexpr double kShortestInterval = 0.001;
constexpr const char* kNotANumber = "数字を入力してください。";
constexpr const char* kTooShort = "0.001以上でお願いします.";

}  // namespace

frmSetting::frmSetting(forms::Application& app, settings::SettingsStore& settings)
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
      settings_(settings) {
    Drive.on_change = [this] { Drive_Change(); };
    Dir.on_change = [this] { Dir_Change(); };
    File.on_click = [this] { File_Click(); };
    cmdOK.on_click = [this] { cmdOK_Click(); };
    cmdCancel.on_click = [this] { cmdCancel_Click(); };
}

std::string frmSetting::ReadSetting(const char* key, const std::string& fallback) const {
    return settings_.Read(settings::kApplication, settings::kSection, key, fallback);
}

void frmSetting::Form_Load() {
    const std::string default_folder = settings::DefaultFolder(app().Path());
    const std::string start =
        BrowseStartQuickly(ReadSetting(settings::kFolderKey, default_folder), app());
    Drive.Drive = forms::Mid(start, 1, 3);
    Dir.Path = start;

    try {
        chkFile.Value = forms::CInt(ReadSetting(settings::kShowFileNameKey, "1"), app().Locale());
    } catch (const forms::RuntimeError&) {
        chkFile.Value = 1;  // a hand-edited flag shows the default: the name is displayed
    }
    txtSecond.Text = ReadSetting(settings::kIntervalKey, "3");
    lblPath.Caption = ReadSetting(settings::kFolderKey, default_folder);
}

void frmSetting::Drive_Change() {
    Dir.Path = Drive.Drive.get();
    lblPath.Caption = Dir.Path.get();
}

void frmSetting::Dir_Change() {
    File.Path = Dir.Path.get();
    lblPath.Caption = Dir.Path.get();
}

void frmSetting::File_Click() {
    forms::ResumeNext step;
    step([&] { Label1(0).Caption = File.FileName(); });
    step([&] {
        const forms::ScreenMetrics screen = app().Screen();
        // The preview stretches the picture to fill its box: it must cover the box both ways.
        forms::DecodeHint hint;
        hint.shown_scale = [box_width = static_cast<double>(imgPreview.Width),
                            box_height = static_cast<double>(imgPreview.Height),
                            tx = screen.twips_per_pixel_x,
                            ty = screen.twips_per_pixel_y](int width_px, int height_px) {
            return std::max(box_width / (width_px * tx), box_height / (height_px * ty));
        };
        // Decoded off the window's thread: the dialog answers meanwhile, and a newer click's
        // preview replaces this one.
        imgPreview.LoadLater(Dir.Path.get() + "\\" + File.FileName(), hint);
    });
}

void frmSetting::cmdOK_Click() {
    const std::string interval = txtSecond.Text;
    const forms::NumberFormat locale = app().Locale();
    if (!forms::IsNumeric(interval, locale)) {
        app().MsgBox(kNotANumber);
        app().End();
    }
    if (!(forms::CDbl(interval, locale) >= kShortestInterval)) {
        app().MsgBox(kTooShort);
        app().End();
    }
    settings_.Write(settings::kApplication, settings::kSection, settings::kIntervalKey, interval);
    settings_.Write(settings::kApplication, settings::kSection, settings::kFolderKey,
                    lblPath.Caption.get());
    settings_.Write(settings::kApplication, settings::kSection, settings::kShowFileNameKey,
                    forms::CStr(chkFile.Value.get()));
    app().End();
}

void frmSetting::cmdCancel_Click() {
    app().End();
}

void frmSetting::Form_Unload(std::int16_t&) {
    app().End();
}

}  // namespace kivo::settings_dialog
