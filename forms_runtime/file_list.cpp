#include "forms_runtime/file_list.h"

#include <algorithm>

#include "forms_runtime/form.h"
#include "forms_runtime/paths.h"
#include "forms_runtime/services.h"

namespace kivo::forms {

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
    for (const FolderEntry& entry : form().services().Files().ListFolder(folder)) {
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

}  // namespace kivo::forms
