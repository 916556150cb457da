#include "forms_runtime/drive_list.h"

#include <algorithm>

#include "forms_runtime/errors.h"
#include "forms_runtime/form.h"
#include "forms_runtime/paths.h"
#include "forms_runtime/services.h"

namespace kivo::forms {

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
    drives_ = form().services().Files().Drives();
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
    if (root.empty() || !known() || !form().services().Files().DriveReady(root)) {
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
