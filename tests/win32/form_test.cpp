#include "tests/win32/form_test.h"

#include <algorithm>
#include <exception>
#include <memory>

#include "forms_runtime/win32/window/display.h"
#include "forms_runtime/win32/window/message_loop.h"
#include "forms_runtime/win32/window/win32_form_peer.h"

namespace kivo::test {

namespace {

const forms::win32::Win32FormPeer& PeerOf(const forms::Form& form) {
    return dynamic_cast<const forms::win32::Win32FormPeer&>(*form.peer());
}

}  // namespace

FormTest::Snapshot::Snapshot(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    width = client.right;
    height = client.bottom;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    GdiFlush();
    pixels.assign(static_cast<const std::uint32_t*>(bits),
                  static_cast<const std::uint32_t*>(bits) + width * height);
    DeleteObject(SelectObject(dc, old));
    DeleteDC(dc);
}

int FormTest::Snapshot::Bright(const RECT& area) const {
    int count = 0;
    for (int y = std::max(0, int{area.top}); y < std::min(height, int{area.bottom}); ++y) {
        for (int x = std::max(0, int{area.left}); x < std::min(width, int{area.right}); ++x) {
            const std::uint32_t rgb = At(x, y);
            count += (rgb & 0xFF) > 0xA0 && ((rgb >> 8) & 0xFF) > 0xA0 && (rgb >> 16) > 0xA0;
        }
    }
    return count;
}

FormTest::FormTest(forms::win32::Decoding decoding)
    : backend(decoding), scale(forms::win32::ScreenScale()) {
    MSG late;  // input that an earlier test left behind is not this one's
    while (PeekMessageW(&late, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT)) {
    }
    settings.Write(settings::kApplication, settings::kSection, settings::kFolderKey,
                   Utf8(pictures.path()));
    settings.Write(settings::kApplication, settings::kSection, settings::kShowFileNameKey, "1");
}

HWND FormTest::WindowOf(const forms::Control& control) {
    // A frame's controls are its window's children.
    const auto& form = dynamic_cast<const forms::Form&>(control.host());
    const HWND parent =
        control.container() != nullptr ? WindowOf(*control.container()) : WindowOf(form);
    for (HWND at = GetWindow(parent, GW_CHILD); at != nullptr; at = GetWindow(at, GW_HWNDNEXT)) {
        if (PeerOf(form).ControlOfWindow(at) == &control) {
            return at;
        }
    }
    return nullptr;
}

std::string FormTest::FocusName(const forms::Form& form) {
    const forms::Control* control = PeerOf(form).ControlOfWindow(GetFocus());
    return std::string(control != nullptr ? control->name() : "");
}

RECT FormTest::Bounds(const forms::Control& control) const {
    return {scale.X(control.Left), scale.Y(control.Top), scale.X(control.Left + control.Width),
            scale.Y(control.Top + control.Height)};
}

forms::Picture FormTest::Decode(const std::filesystem::path& path, forms::DecodeHint hint) {
    struct Arrival {
        bool arrived = false;
        forms::Picture picture;
        std::exception_ptr error;
    };
    auto arrival = std::make_shared<Arrival>();
    backend.LoadPictureLater(Utf8(path), hint,
                             [arrival](forms::Picture picture, std::exception_ptr error) {
                                 *arrival = {true, std::move(picture), error};
                             });
    if (!PumpUntil([&] { return arrival->arrived; })) {
        throw std::runtime_error("the picture never arrived");
    }
    if (arrival->error != nullptr) {
        std::rethrow_exception(arrival->error);
    }
    return arrival->picture;
}

void FormTest::Pump(std::chrono::milliseconds duration) {
    const auto until = std::chrono::steady_clock::now() + duration;
    MSG waiting;
    PumpUntil([&] {
        return !PeekMessageW(&waiting, nullptr, 0, 0, PM_NOREMOVE) &&
               std::chrono::steady_clock::now() >= until;
    });
}

bool FormTest::PumpUntil(const std::function<bool()>& done) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    MSG message;
    while (!done() && std::chrono::steady_clock::now() < until) {
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            forms::win32::DeliverMessage(message);
        } else {
            Sleep(1);
        }
    }
    return done();
}

void FormTest::Press(UINT key) {
    PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
    PostMessageW(GetFocus(), WM_KEYUP, key, 0xC0000001);
    Pump();
}

bool FormTest::TabTo(const forms::Form& form, const std::string& name) {
    for (int i = 0; i < 8 && FocusName(form) != name; ++i) {
        Press(VK_TAB);
    }
    return FocusName(form) == name;
}

}  // namespace kivo::test
