#include "forms_runtime/headless/headless_backend.h"

#include <cstring>
#include <memory>

#include "forms_runtime/basics/errors.h"
#include "forms_runtime/headless/headless_form_peer.h"

namespace kivo::forms::headless {

namespace {

std::uint32_t ReadLe32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

std::uint32_t ReadBe32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

unsigned ReadLe16(const std::string& bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]) |
           (static_cast<unsigned>(static_cast<unsigned char>(bytes[at + 1])) << 8);
}

// The pixel size in a BMP, PNG or GIF header; {0, 0} when the bytes are none of them.
std::pair<int, int> HeaderSize(const std::string& bytes) {
    if (bytes.size() >= 26 && bytes.compare(0, 2, "BM") == 0) {
        const auto height = static_cast<std::int32_t>(ReadLe32(bytes, 22));
        return {static_cast<int>(ReadLe32(bytes, 18)), height < 0 ? -height : height};
    }
    if (bytes.size() >= 24 && bytes.compare(1, 3, "PNG") == 0) {
        return {static_cast<int>(ReadBe32(bytes, 16)), static_cast<int>(ReadBe32(bytes, 20))};
    }
    if (bytes.size() >= 10 && bytes.compare(0, 3, "GIF") == 0) {
        return {static_cast<int>(ReadLe16(bytes, 6)), static_cast<int>(ReadLe16(bytes, 8))};
    }
    return {0, 0};
}

}  // namespace

HeadlessBackend::HeadlessBackend() {
    files_.AddDrive("C:\\");
    files_.AddFolder(executable_folder_);
}

std::unique_ptr<FormPeer> HeadlessBackend::CreatePeer(Form& form) {
    const FrameInsets insets =
        form.layout().border == BorderStyle::FixedToolWindow ? tool_window_insets_ : FrameInsets{};
    return std::make_unique<HeadlessFormPeer>(next_handle_++, insets);
}

Picture HeadlessBackend::Decode(const std::string& path, const DecodeHint& hint) {
    last_decode_hint_ = hint;
    const std::string& bytes = files_.Read(path);
    const auto [width, height] = HeaderSize(bytes);
    if (width <= 0 || height <= 0) {
        throw RuntimeError(ErrorKind::InvalidPicture, path);
    }
    ++pictures_loaded_;
    loaded_picture_paths_.push_back(path);
    return std::make_shared<PictureData>(static_cast<float>(width) * screen_.twips_per_pixel_x,
                                         static_cast<float>(height) * screen_.twips_per_pixel_y);
}

Picture HeadlessBackend::LoadResourcePicture(const std::string& name) {
    if (name == "BANNER") {
        return std::make_shared<PictureData>(254 * screen_.twips_per_pixel_x,
                                             24 * screen_.twips_per_pixel_y);
    }
    throw RuntimeError(ErrorKind::FileNotFound, name);
}

void HeadlessBackend::LoadPictureLater(const std::string& path, const DecodeHint& hint,
                                       std::function<void(Picture, std::exception_ptr)> arrive) {
    auto picture = std::make_shared<Picture>();
    auto error = std::make_shared<std::exception_ptr>();
    background_.Run(
        [this, path, hint, picture, error] {
            try {
                *picture = Decode(path, hint);
            } catch (const RuntimeError&) {
                *error = std::current_exception();  // handed to `arrive`
            }
        },
        [arrive = std::move(arrive), picture, error] { arrive(*picture, *error); });
}

void HeadlessBackend::EndProgram() {
    program_ended_ = true;
    if (on_end_program) {
        on_end_program();
    }
}

int HeadlessBackend::MsgBox(const std::string& prompt, MsgBoxStyle style,
                            const std::string& title) {
    message_boxes_.push_back({prompt, style, title});
    return 1;  // OK
}

void HeadlessBackend::Play(Application& app, const std::function<void()>& event) {
    app.RaiseEvent(event);
    background_.DeliverArrived();  // as the message loop does once the event has returned
}

void HeadlessBackend::Tick(Application& app, Timer& timer) {
    app.RaiseTimer(timer);
    background_.DeliverArrived();
}

void HeadlessBackend::KeyDown(Application& app, Form& form, int key_code, int shift) {
    Play(app, [&] { form.Form_KeyDown(key_code, shift); });
}

void HeadlessBackend::MouseMove(Application& app, Control& control, float x, float y, int button) {
    Play(app, [&] {
        if (control.on_mouse_move) {
            control.on_mouse_move(button, 0, x, y);
        }
    });
}

void HeadlessBackend::MouseDown(Application& app, Control& control, float x, float y, int button) {
    // The click is raised inside the press, so that a form the press unloaded is not collected
    // (and its controls freed) before it is asked; as a window gets no button-up once it is
    // destroyed, such a form gets no click.
    Play(app, [&] {
        if (control.on_mouse_down) {
            control.on_mouse_down(button, 0, x, y);
        }
        if (!control.host().unloaded()) {
            app.RaiseEvent([&] { RunClick(control); });
        }
    });
}

void HeadlessBackend::Click(Application& app, Control& control) {
    Play(app, [&] { RunClick(control); });
}

void HeadlessBackend::RunClick(Control& control) {
    if (control.on_click) {
        control.on_click();
    }
}

void HeadlessBackend::Close(Application& app, Form& form) {
    Play(app, [&] { app.Unload(form); });
}

void HeadlessBackend::SelectFile(Application& app, FileList& list, int position) {
    list.ListIndex.store(position);
    Click(app, list);
}

void HeadlessBackend::OpenFolder(Application& app, DirList& list, const std::string& folder) {
    Play(app, [&] { list.Path = folder; });
}

void HeadlessBackend::PickDrive(Application& app, DriveList& list, const std::string& root) {
    Play(app, [&] { list.UserPick(root); });
}

void HeadlessBackend::Type(TextBox& box, const std::string& text) {
    box.Text.store(text);
}

void HeadlessBackend::SetCheck(CheckBox& box, std::int16_t value) {
    box.Value.store(value);
}

}  // namespace kivo::forms::headless
