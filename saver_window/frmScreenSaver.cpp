#include "saver_window/frmScreenSaver.h"

#include "saver_window/saver_settings.h"
#include "saver_window/screen_saver_layout.h"
#include "startup/module/pointer.h"
#include "startup/module/settings_names.h"

namespace kivo::saver_window {

frmScreenSaver::frmScreenSaver(forms::Application& app, startup::SaverSample& module)
    : frmScreenSaver(app, module, std::make_shared<SlideShow>(app)) {}

frmScreenSaver::frmScreenSaver(forms::Application& app, startup::SaverSample& module,
                               std::shared_ptr<SlideShow> show)
    : Form(app, kScreenSaverLayout),
      File1(Find<forms::FileList>("File1")),
      Timer(Find<forms::Timer>("Timer")),
      Label(Find<forms::Label>("Label")),
      Imager(Find<forms::Image>("Imager")),
      module_(module),
      show_(std::move(show)) {
    show_->Join(*this);
    Imager.on_mouse_move = [this](int button, int shift, float x, float y) {
        Imager_MouseMove(button, shift, x, y);
    };
    Imager.on_mouse_down = [this](int button, int shift, float x, float y) {
        Imager_MouseDown(button, shift, x, y);
    };
    Imager.on_click = [this] { Imager_Click(); };
    Timer.on_timer = [this] { Timer_Timer(); };
    File1.on_listed = [this] { show_->Listed(); };
}

frmScreenSaver::~frmScreenSaver() {
    show_->Leave(*this);
}

void frmScreenSaver::Form_Load() {
    const bool leads = show_->Leads(*this);
    if (leads) {
        app().Randomize();
    }
    Imager.Move(0, 0, Width, Height);

    settings::SettingsStore& store = module_.settings;
    const forms::NumberFormat locale = app().Locale();
    // The leader lists the folder and keeps the time for every window of the show.
    if (leads) {
        const std::string folder =
            store.Read(settings::kApplication, settings::kSection, settings::kFolderKey,
                       settings::DefaultFolder(app().Path()));
        // The folder is listed off the window's thread: the names arrive later, and a folder that
        // turns out to be missing then ends the show with the same message.
        app().NameErrors(SettingSubject(settings::kFolderKey, folder),
                         [&] { File1.Path = folder; });
    }

    const std::string show_name =
        store.Read(settings::kApplication, settings::kSection, settings::kShowFileNameKey, "True");
    Label.Visible = app().NameErrors(SettingSubject(settings::kShowFileNameKey, show_name),
                                     [&] { return ShowFileName(show_name, locale); });

    if (!leads) {
        Timer.Enabled = false;
        return;
    }
    const std::string interval =
        store.Read(settings::kApplication, settings::kSection, settings::kIntervalKey, "3");
    Timer.Interval = app().NameErrors(SettingSubject(settings::kIntervalKey, interval),
                                      [&] { return IntervalMilliseconds(interval, locale); });
}

void frmScreenSaver::Imager_MouseMove(int, int, float x, float y) {
    if (module_.MouseSeen == 1 && x != static_cast<float>(module_.LastMouseX) &&
        y != static_cast<float>(module_.LastMouseY)) {
        EndScreenSaver();
    }
    module_.MouseSeen = 1;
    module_.LastMouseX = forms::CLng(x);
    module_.LastMouseY = forms::CLng(y);
}

void frmScreenSaver::Imager_MouseDown(int, int, float, float) {
    EndScreenSaver();
}

void frmScreenSaver::Form_KeyDown(int, int) {
    EndScreenSaver();
}

void frmScreenSaver::Imager_Click() {}

void frmScreenSaver::DisplaysChanged(bool on) {
    show_->Rest(!on);
}

void frmScreenSaver::EndScreenSaver() {
    if (preview()) {
        return;  // nothing in the preview reacts to input
    }
    startup::System& system = module_.system;
    startup::ShowPointer(system);
    if (module_.UsePassword != 0) {
        const auto verified = system.VerifyScreenSaverPassword(hWnd());
        // Without the service (systems that lock the session themselves) dismissal goes on.
        if (verified && (*verified & 0xFFFF) == 0) {
            startup::HidePointer(system);
            return;
        }
    }
    system.SetScreenSaverRunning(false);
    // The leader takes every other monitor's window with it; the last one gone ends the program.
    app().Unload(*show_->Windows().front());
}

void frmScreenSaver::Form_Unload(std::int16_t&) {
    if (preview()) {
        startup::System& system = module_.system;
        system.PostClose(system.Owner(hWnd()));
    }
    if (show_->Leads(*this)) {
        for (frmScreenSaver* window : show_->Windows()) {
            if (window != this) {
                app().Unload(*window);  // the show goes with its leader
            }
        }
    }
    show_->Leave(*this);
}

}  // namespace kivo::saver_window
