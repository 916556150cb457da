#include "forms_runtime/controls/drive_list.h"

#include "forms_runtime/basics/errors.h"
#include "forms_runtime/basics/paths.h"
#include "forms_runtime/controls/folder_readings.h"
#include "forms_runtime/controls/read_for.h"
#include "forms_runtime/controls/services.h"

namespace kivo::forms {

DriveList::DriveList(ControlHost& host, const ControlSpec& layout, Control* container)
    : Control(host, layout, container) {
    Drive.store(DriveRoot(host.services().Path()));
    Drive.on_set([this](const std::string& text) { select(text); });
    refresh();
}

void DriveList::refresh() {
    Services& services = host().services();
    const LaterSlot::Ticket ticket = listings_.Take();
    ReadFor<std::vector<std::string>>(
        *this, ticket, [&files = services.Files()] { return files.DriveRoots(); },
        [this, ticket](std::vector<std::string>& roots) {
            drives_.clear();
            for (const std::string& root : roots) {
                drives_.push_back({DriveRoot(root), {}});
            }
            if (Drive.get().empty() && !drives_.empty()) {
                Drive.store(drives_.front().root);  // the program runs from a network path
            }
            notify(ControlProperty::List);
            Services& services = host().services();
            for (std::size_t at = 0; at < drives_.size(); ++at) {
                ReadFor<std::string>(
                    *this, ticket,
                    [&files = services.Files(), root = drives_[at].root] {
                        return files.DriveLabel(root);
                    },
                    [this, at](std::string& label) {
                        drives_[at].label = std::move(label);
                        notify(ControlProperty::List);
                    });
            }
        });
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
    Services& services = host().services();
    ReadFor<bool>(
        *this, picks_.Take(), [&files = services.Files(), root] { return files.DriveReady(root); },
        [this, root](bool& ready) {
            if (ready) {
                Drive = root;
                return;
            }
            notify(ControlProperty::Selection);  // back to the drive it showed
            host().services().MsgBox("ドライブ " + DriveRoot(root).substr(0, 2) +
                                         " の準備ができていません。\nディスクを入れるか、ほかの"
                                         "ドライブを選んでください。",
                                     MsgBoxStyle::kExclamation);
        });
}

void DriveList::select(const std::string& text) {
    const std::string root = DriveRoot(text);
    if (root.empty() || SaysNotReady(host().services(), root)) {
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
