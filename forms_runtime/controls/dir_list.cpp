#include "forms_runtime/controls/dir_list.h"

#include "forms_runtime/basics/errors.h"
#include "forms_runtime/basics/paths.h"
#include "forms_runtime/controls/folder_readings.h"
#include "forms_runtime/controls/read_for.h"
#include "forms_runtime/controls/services.h"

namespace kivo::forms {

DirList::DirList(ControlHost& host, const ControlSpec& layout, Control* container)
    : Control(host, layout, container) {
    Path.on_set([this](const std::string& folder) {
        const std::string normal = NormalizeFolder(folder);
        if (normal.empty() || SaysMissing(this->host().services(), normal)) {
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
    std::vector<std::string> chain;
    for (std::string at = folder; !at.empty(); at = ParentFolder(at)) {
        chain.insert(chain.begin(), at);
    }
    entries_.clear();
    for (const std::string& at : chain) {
        const int depth = static_cast<int>(entries_.size());
        entries_.push_back({at, FolderName(at), depth, at == folder});
    }
    const int depth = static_cast<int>(chain.size());
    ListIndex = depth - 1;
    Path.store(folder);
    notify(ControlProperty::List);

    Services& services = host().services();
    ReadFor<std::vector<std::string>>(
        *this, readings_.Take(),
        [&files = services.Files(), folder] { return ListSubfolders(files, folder); },
        [this, folder, depth](std::vector<std::string>& subfolders) {
            for (const std::string& name : subfolders) {
                entries_.push_back({JoinPath(folder, name), name, depth, false});
            }
            notify(ControlProperty::List);
        });
}

}  // namespace kivo::forms
