#include "forms_runtime/dir_list.h"

#include <algorithm>

#include "forms_runtime/errors.h"
#include "forms_runtime/form.h"
#include "forms_runtime/paths.h"
#include "forms_runtime/services.h"

namespace kivo::forms {

DirList::DirList(Form& form, const ControlSpec& layout, Control* container)
    : Control(form, layout, container) {
    Path.on_set([this](const std::string& folder) {
        const std::string normal = NormalizeFolder(folder);
        if (normal.empty() || !this->form().services().Files().FolderExists(normal)) {
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
    for (const FolderEntry& entry : form().services().Files().ListFolder(folder)) {
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

}  // namespace kivo::forms
