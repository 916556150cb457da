#include "tests/win32/test_forms.h"

#include "forms_runtime/win32/wide.h"
#include "forms_runtime/win32/window/message_loop.h"

namespace kivo::forms::win32::test {

namespace {

constexpr Color kBlue{0, 0, 200};

constexpr ControlSpec kCanvasControls[] = {
    {.kind = ControlKind::Image,
     .name = "imgBack",
     .left = 0,
     .top = 0,
     .width = 3000,
     .height = 1500,
     .stretch = true},
    {.kind = ControlKind::Label,
     .name = "lblTitle",
     .left = 150,
     .top = 150,
     .width = 1500,
     .height = 300,
     .text = "ラベル",
     .fore_color = kWhite,
     .back_color = kBlue},
    {.kind = ControlKind::Image, .name = "imgPhoto", .left = 1500, .top = 1500},
    {.kind = ControlKind::Timer, .name = "tmrTick", .interval = 20},
};

constexpr FormSpec kCanvasSpec{.name = "frmCanvas",
                               .caption = "キャンバス",
                               .back_color = kBlack,
                               .border = BorderStyle::None,
                               .client_width = 6000,
                               .client_height = 4500,
                               .controls = kCanvasControls};

constexpr ControlSpec kDialogControls[] = {
    {.kind = ControlKind::TextBox,
     .name = "txtInterval",
     .left = 1200,
     .top = 3600,
     .width = 900,
     .height = 330,
     .text = "5",
     .tab_index = 5},
    {.kind = ControlKind::Frame,
     .name = "fraFolder",
     .left = 120,
     .top = 120,
     .width = 6000,
     .height = 3300,
     .text = "フォルダ",
     .fore_color = kWhite,
     .back_color = kBlack},
    {.kind = ControlKind::FileList,
     .name = "filPicture",
     .container = "fraFolder",
     .left = 3100,
     .top = 300,
     .width = 2700,
     .height = 2400,
     .tab_index = 3},
    {.kind = ControlKind::DriveList,
     .name = "drvDrive",
     .container = "fraFolder",
     .left = 120,
     .top = 300,
     .width = 2800,
     .height = 315,
     .tab_index = 1},
    {.kind = ControlKind::DirList,
     .name = "dirFolder",
     .container = "fraFolder",
     .left = 120,
     .top = 720,
     .width = 2800,
     .height = 2400,
     .tab_index = 2},
    {.kind = ControlKind::Label,
     .name = "lblNote",
     .container = "fraFolder",
     .left = 3100,
     .top = 2900,
     .width = 2700,
     .height = 300,
     .text = "メモ",
     .fore_color = kWhite,
     .transparent = true},
    {.kind = ControlKind::CheckBox,
     .name = "chkRandom",
     .left = 2400,
     .top = 3600,
     .width = 2400,
     .height = 330,
     .text = "ランダム",
     .fore_color = kWhite,
     .back_color = kBlack,
     .tab_index = 4},
    {.kind = ControlKind::CommandButton,
     .name = "cmdCancel",
     .left = 4700,
     .top = 4100,
     .width = 1300,
     .height = 400,
     .text = "キャンセル",
     .is_cancel = true,
     .tab_index = 7},
    {.kind = ControlKind::CommandButton,
     .name = "cmdOK",
     .left = 3300,
     .top = 4100,
     .width = 1300,
     .height = 400,
     .text = "OK",
     .is_default = true,
     .tab_index = 6},
};

constexpr FormSpec kDialogSpec{.name = "frmDialog",
                               .caption = "設定",
                               .back_color = kBlack,
                               .border = BorderStyle::FixedToolWindow,
                               .client_width = 6240,
                               .client_height = 4620,
                               .start_up_position = StartUpPosition::CenterScreen,
                               .controls = kDialogControls};

}  // namespace

void Pump(std::chrono::milliseconds duration) {
    const auto until = std::chrono::steady_clock::now() + duration;
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DeliverMessage(message);
        }
        if (duration.count() > 0) {
            Sleep(5);
        }
    } while (std::chrono::steady_clock::now() < until);
}

ClientPicture::ClientPicture(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    width_ = client.right;
    height_ = client.bottom;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    GdiFlush();
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    pixels_.assign(pixels, pixels + static_cast<std::ptrdiff_t>(width_) * height_);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
}

std::uint32_t ClientPicture::At(int x, int y) const {
    return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                   static_cast<std::size_t>(x)] &
           0xFFFFFF;
}

std::string WindowText(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return Narrow(text);
}

std::string ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return Narrow(name);
}

Win32FormPeer& PeerOf(const Form& form) {
    return dynamic_cast<Win32FormPeer&>(*form.peer());
}

CanvasForm::CanvasForm(Application& app) : Form(app, kCanvasSpec) {
    Find<Timer>("tmrTick").on_timer = [this] { ++ticks; };
    for (const char* name : {"imgBack", "imgPhoto"}) {
        Image& image = Find<Image>(name);
        image.on_mouse_move = [this, name](int button, int shift, float x, float y) {
            mouse.push_back({std::string(name) + " move", button, shift, x, y});
        };
        image.on_mouse_down = [this, name](int button, int shift, float x, float y) {
            mouse.push_back({std::string(name) + " down", button, shift, x, y});
        };
        image.on_click = [this, name] {
            mouse.push_back({std::string(name) + " click", 0, 0, 0, 0});
        };
    }
}

void CanvasForm::Form_Load() {
    // Messages delivered while loading bring no timer event.
    Pump(std::chrono::milliseconds(100));
    ticks_during_load = ticks;
}

void CanvasForm::Form_Unload(std::int16_t& cancel) {
    ++unloads;
    if (unloads_seen_outside != nullptr) {
        ++*unloads_seen_outside;
    }
    if (refuse_unload) {
        cancel = 1;
    }
}

void CanvasForm::Form_KeyDown(int key_code, int shift) {
    keys.emplace_back(key_code, shift);
}

DialogForm::DialogForm(Application& app, std::string picture_folder)
    : Form(app, kDialogSpec), folder(std::move(picture_folder)) {
    Find<CommandButton>("cmdOK").on_click = [this] { ++ok_clicks; };
    Find<CommandButton>("cmdCancel").on_click = [this] { ++cancel_clicks; };
    Find<CheckBox>("chkRandom").on_click = [this] { ++check_clicks; };
    Find<FileList>("filPicture").on_click = [this] { ++file_clicks; };
    Find<TextBox>("txtInterval").on_change = [this] { ++text_changes; };
    Find<DirList>("dirFolder").on_change = [this] {
        ++folder_changes;
        Find<FileList>("filPicture").Path = Find<DirList>("dirFolder").Path.get();
    };
}

void DialogForm::Form_Load() {
    Find<DirList>("dirFolder").Path = folder;
}

void DialogForm::Form_Unload(std::int16_t&) {
    ++unloads;
}

FormTest::~FormTest() {
    std::vector<Form*> loaded;
    for (const auto& form : app.forms()) {
        if (form->loaded()) {
            loaded.push_back(form.get());
        }
    }
    for (Form* form : loaded) {
        Unload(*form);  // releases only that form
    }
}

}  // namespace kivo::forms::win32::test
