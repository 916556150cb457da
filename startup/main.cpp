#include <limits>

#include "forms_runtime/basics/conversions.h"
#include "saver_window/frmScreenSaver.h"
#include "settings_dialog/frmSetting.h"
#include "startup/dialog_placement.h"
#include "startup/main.h"
#include "startup/mode_arguments.h"
#include "startup/module/pointer.h"
#include "startup/other_monitors.h"

namespace kivo::startup {

namespace {

using saver_window::frmScreenSaver;
using settings_dialog::frmSetting;

constexpr PixelPoint kPointerWhenUnknown{1500, 1500};

// A password flag outside the 16-bit range still says that a password is in use.
std::int16_t PasswordFlag(std::int32_t stored) {
    if (stored < std::numeric_limits<std::int16_t>::min() ||
        stored > std::numeric_limits<std::int16_t>::max()) {
        return 1;
    }
    return forms::CInt(static_cast<double>(stored));
}

void ChangePassword(SaverSample& module, const std::string& arguments) {
    WindowHandle owner = HostHandle(arguments);
    if (owner == 0) {
        owner = module.system.ForegroundWindow();
    }
    module.system.ChangeScreenSaverPassword(owner);
}

void RunPreview(SaverSample& module, const std::string& arguments) {
    System& system = module.system;
    frmScreenSaver& form = module.app.Load<frmScreenSaver>(module);
    const WindowHandle host = HostHandle(arguments);
    form.Caption = kPreviewCaption;
    system.MakeChild(form.hWnd());
    system.SetParent(form.hWnd(), host);
    // At its design size the window would stand outside the small preview monitor: fill the
    // host's client area instead.
    if (const auto size = system.ClientSize(host)) {
        const forms::ScreenMetrics screen = module.app.Screen();
        form.Move(0, 0, static_cast<float>(size->width) * screen.twips_per_pixel_x,
                  static_cast<float>(size->height) * screen.twips_per_pixel_y);
    }
    form.Show();
    form.Slides()->Prepare();
}

void RunFullScreen(SaverSample& module) {
    System& system = module.system;
    frmScreenSaver& form = module.app.Load<frmScreenSaver>(module);
    const forms::ScreenMetrics screen = module.app.Screen();
    form.Left = 0;
    form.Top = 0;
    form.Width = screen.width;
    form.Height = screen.height;
    form.WindowState = 0;
    form.Caption = SaverTitle;
    form.Show();
    system.MakeTopmost(form.hWnd());
    // After the slide show is topmost: a window with owned windows is put below them when it is
    // made topmost, and under Wine it then stays out of the topmost band.
    ShowOnOtherMonitors(module, form);
    // While every display is off, the show rests.
    forms::Application& app = module.app;
    system.WatchDisplays(form.hWnd(), [&app](bool on) { app.DisplaysChanged(on); });
    system.SetScreenSaverRunning(true);
    HidePointer(system);
}

void RunSettings(SaverSample& module) {
    const PixelPoint pointer = module.system.CursorPosition().value_or(kPointerWhenUnknown);
    frmSetting& dialog = module.app.Load<frmSetting>(module.settings);
    const forms::ScreenMetrics screen = module.app.Screen();
    dialog.Left = DialogEdge(pointer.x, screen.twips_per_pixel_x, screen.width, dialog.Width);
    dialog.Top = DialogEdge(pointer.y, screen.twips_per_pixel_y, screen.height, dialog.Height);
    dialog.Caption = SaverTitle;
    dialog.Show(true);
}

}  // namespace

void Main(SaverSample& module) {
    System& system = module.system;
    // However the program ends, a later copy need not wait for this one's process to go.
    module.app.WhenEnding([&system] { system.LetGo(); });
    const std::string arguments = module.app.Command();
    const std::string letter = ModeLetter(arguments);
    // The modes that make the titled window take the lock before they look for the title, so
    // that of two copies started together only one goes on; the others only look.
    const bool makes_titled_window = letter == "S" || letter == "C" || letter.empty();
    if (makes_titled_window ? !system.TakeSaverLock() : system.SaverLockHeld()) {
        return;  // another copy shows its slide show or its settings dialog
    }
    if (system.TopLevelWindowExists(SaverTitle)) {
        return;  // a copy that takes no lock shows one
    }
    module.MouseSeen = 0;
    module.UsePassword = 0;
    if (const auto stored = system.ReadScreenSaveUsePassword()) {
        module.UsePassword = PasswordFlag(*stored);
    }

    module.RunMode = letter;
    const std::string& mode = module.RunMode;
    if (mode == "A") {
        ChangePassword(module, arguments);
    } else if (mode == "C" || mode.empty()) {
        RunSettings(module);
    } else if (mode == "P") {
        RunPreview(module, arguments);
    } else if (mode == "S") {
        RunFullScreen(module);
    }
}

}  // namespace kivo::startup
