#include "forms_runtime/controls.h"

#include <algorithm>

#include "forms_runtime/errors.h"
#include "forms_runtime/form.h"
#include "forms_runtime/form_peer.h"
#include "forms_runtime/paths.h"
#include "forms_runtime/services.h"

namespace kivo::forms {

namespace {

FileSystem& FilesOf(const Form& form) {
    return form.services().Files();
}

}  // namespace

Control::Control(Form& form, const ControlSpec& layout, Control* container)
    : Left(layout.left),
      Top(layout.top),
      Width(layout.width),
      Height(layout.height),
      Visible(layout.visible),
      Enabled(true),
      ForeColor(layout.fore_color.value_or(kBlack)),
      BackColor(layout.back_color.value_or(kWhite)),
      form_(form),
      layout_(layout),
      container_(container) {
    for (Property<float>* edge : {&Left, &Top, &Width, &Height}) {
        edge->on_change([this] { notify(ControlProperty::Geometry); });
    }
    Visible.on_change([this] { notify(ControlProperty::Visible); });
    Enabled.on_change([this] { notify(ControlProperty::Enabled); });
    ForeColor.on_change([this] { notify(ControlProperty::Colors); });
    BackColor.on_change([this] { notify(ControlProperty::Colors); });
}

bool Control::windowed() const {
    switch (kind()) {
        case ControlKind::Label:
        case ControlKind::Image:
        case ControlKind::Timer:
            return false;
        default:
            return true;
    }
}

void Control::Move(float left, float top) {
    Left.store(left);
    Top.store(top);
    notify(ControlProperty::Geometry);
}

void Control::Move(float left, float top, float width, float height) {
    Left.store(left);
    Top.store(top);
    Width.store(width);
    Height.store(height);
    notify(ControlProperty::Geometry);
}

void Control::notify(ControlProperty what) {
    if (FormPeer* peer = form_.peer()) {
        peer->ControlChanged(*this, what);
    }
}

void Control::raise_change() {
    if (on_change) {
        on_change();
    }
}

Label::Label(Form& form, const ControlSpec& layout, Control* container)
    : Control(form, layout, container), Caption(std::string(layout.text)) {
    Caption.on_change([this] {
        fit_to_text();
        notify(ControlProperty::Caption);
    });
}

void Label::fit_to_text() {
    FormPeer* peer = form().peer();
    if (!AutoSize() || peer == nullptr) {
        return;
    }
    const TextExtent extent = peer->MeasureText(*this, Caption);
    Width.store(extent.width);
    Height.store(extent.height);
    notify(ControlProperty::Geometry);
}

Image::Image(Form& form, const ControlSpec& layout, Control* container)
    : Control(form, layout, container), Stretch(layout.stretch) {
    Picture.on_change([this] {
        take_natural_size();
        notify(ControlProperty::Picture);
    });
    Stretch.on_change([this] {
        take_natural_size();
        notify(ControlProperty::Picture);
    });
    if (!layout.picture.empty()) {
        Picture = form.services().LoadResourcePicture(std::string(layout.picture));
    }
}

void Image::take_natural_size() {
    const forms::Picture& picture = Picture;
    if (Stretch || !picture) {
        return;
    }
    float border_x = 0;
    float border_y = 0;
    if (border()) {  // two pixels on each side in the three-dimensional look
        const ScreenMetrics screen = form().services().Screen();
        border_x = 4 * screen.twips_per_pixel_x;
        border_y = 4 * screen.twips_per_pixel_y;
    }
    Width.store(picture->width_twips() + border_x);
    Height.store(picture->height_twips() + border_y);
    notify(ControlProperty::Geometry);
}

Timer::Timer(Form& form, const ControlSpec& layout, Control* container)
    : Control(form, layout, container), Interval(layout.interval) {
    Interval.on_change([this] { notify(ControlProperty::Timer); });
    Enabled.on_change([this] { notify(ControlProperty::Timer); });
}

TextBox::TextBox(Form& form, const ControlSpec& layout, Control* container)
    : Control(form, layout, container), Text(std::string(layout.text)) {
    Text.on_change([this] { notify(ControlProperty::Text); });
}

CheckBox::CheckBox(Form& form, const ControlSpec& layout, Control* container)
    : Control(form, layout, container),
      Caption(std::string(layout.text)),
      Value(static_cast<std::int16_t>(layout.value)) {
    Caption.on_change([this] { notify(ControlProperty::Caption); });
    Value.on_change([this] { notify(ControlProperty::Value); });
}

CommandButton::CommandButton(Form& form, const ControlSpec& layout, Control* container)
    : Control(form, layout, container), Caption(std::string(layout.text)) {
    Caption.on_change([this] { notify(ControlProperty::Caption); });
}

Frame::Frame(Form& form, const ControlSpec& layout, Control* container)
    : Control(form, layout, container), Caption(std::string(layout.text)) {
    Caption.on_change([this] { notify(ControlProperty::Caption); });
}

FileList::FileList(Form& form, const ControlSpec& layout, Control* container)
    : Control(form, layout, container), ListIndex(-1) {
    Path.on_set([this](const std::string& folder) {
        read_folder(folder);
        Path.store(NormalizeFolder(folder));
        ListIndex.store(-1);
        notify(ControlProperty::List);
    });
    ListIndex.on_change([this] { notify(ControlProperty::Selection); });
}

void FileList::read_folder(const std::string& folder) {
    std::vector<std::string> files;
    for (const FolderEntry& entry : FilesOf(form()).ListFolder(folder)) {
        if (!entry.is_folder && !entry.hidden && !entry.system) {
            files.push_back(entry.name);
        }
    }
    std::sort(files.begin(), files.end(),
              [](const std::string& a, const std::string& b) { return NameLess(a, b); });
    files_ = std::move(files);
}

std::string FileList::List(int position) const {
    if (position < 0 || position >= ListCount()) {
        return {};
    }
    return files_[static_cast<std::size_t>(position)];
}

DirList::DirList(Form& form, const ControlSpec& layout, Control* container)
    : Control(form, layout, container) {
    Path.on_set([this](const std::string& folder) {
        const std::string normal = NormalizeFolder(folder);
        if (normal.empty() || !FilesOf(this->form()).FolderExists(normal)) {
            throw RuntimeError(ErrorKind::PathNotFound, folder);
        }
        if (!entries_.empty() && SameName(normal, Path.get())) {
            return;
        }
        open(normal);
        raise_change();
    });
}

void DirList::open(const std::string& folder) {
    std::vector<FolderListEntry> entries;
    std::vector<std::string> chain;
    for (std::string at = folder; !at.empty(); at = ParentFolder(at)) {
        chain.insert(chain.begin(), at);
    }
    for (const std::string& at : chain) {
        const int depth = static_cast<int>(entries.size());
        entries.push_back({at, FolderName(at), depth, at == folder});
    }
    std::vector<std::string> subfolders;
    for (const FolderEntry& entry : FilesOf(form()).ListFolder(folder)) {
        if (entry.is_folder && !entry.hidden && !entry.system) {
            subfolders.push_back(entry.name);
        }
    }
    std::sort(subfolders.begin(), subfolders.end(),
              [](const std::string& a, const std::string& b) { return NameLess(a, b); });
    const int depth = static_cast<int>(chain.size());
    for (const std::string& name : subfolders) {
        entries.push_back({JoinPath(folder, name), name, depth, false});
    }
    entries_ = std::move(entries);
    ListIndex = static_cast<int>(chain.size()) - 1;
    Path.store(folder);
    notify(ControlProperty::List);
}

DriveList::DriveList(Form& form, const ControlSpec& layout, Control* container)
    : Control(form, layout, container) {
    refresh();
    std::string initial = DriveRoot(form.services().Path());
    if (initial.empty() && !drives_.empty()) {
        initial = drives_.front().root;
    }
    Drive.store(initial);
    Drive.on_set([this](const std::string& text) { select(text); });
}

void DriveList::refresh() {
    drives_ = FilesOf(form()).Drives();
    notify(ControlProperty::List);
}

std::string DriveList::DisplayText(const DriveInfo& drive) {
    std::string text;
    text += static_cast<char>(drive.root.empty() ? '?' : drive.root[0] - 'A' + 'a');
    text += ':';
    if (!drive.label.empty()) {
        text += " [" + drive.label + "]";
    }
    return text;
}

void DriveList::UserPick(const std::string& root) {
    try {
        Drive = root;
    } catch (const RuntimeError& error) {
        if (error.kind() != ErrorKind::DeviceUnavailable) {
            throw;
        }
        notify(ControlProperty::Selection);  // back to the drive it showed
        form().services().MsgBox(
            "ドライブ " + DriveRoot(root).substr(0, 2) +
                " の準備ができていません。\nディスクを入れるか、ほかのドライブを選んでください。",
            kExclamation);
    }
}

void DriveList::select(const std::string& text) {
    const std::string root = DriveRoot(text);
    auto known = [&] {
        return std::any_of(drives_.begin(), drives_.end(),
                           [&](const DriveInfo& d) { return d.root == root; });
    };
    if (!root.empty() && !known()) {
        refresh();
    }
    if (root.empty() || !known() || !FilesOf(form()).DriveReady(root)) {
        throw RuntimeError(ErrorKind::DeviceUnavailable, text);
    }
    if (root == Drive.get()) {
        return;
    }
    Drive.store(root);
    notify(ControlProperty::Selection);
    raise_change();
}

}  // namespace kivo::forms
