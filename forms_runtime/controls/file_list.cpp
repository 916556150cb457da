#include "forms_runtime/controls/file_list.h"

#include "forms_runtime/basics/errors.h"
#include "forms_runtime/basics/paths.h"
#include "forms_runtime/controls/folder_readings.h"
#include "forms_runtime/controls/read_for.h"
#include "forms_runtime/controls/services.h"

namespace kivo::forms {

FileList::FileList(ControlHost& host, const ControlSpec& layout, Control* container)
    : Control(host, layout, container), ListIndex(-1) {
    Path.on_set([this](const std::string& folder) {
        Services& services = this->host().services();
        const std::string normal = NormalizeFolder(folder);
        if (normal.empty() || SaysMissing(services, normal)) {
            throw RuntimeError(ErrorKind::PathNotFound, folder);
        }
        Path.store(normal);
        ListIndex.store(-1);
        files_ = {};
        notify(ControlProperty::List);

        ReadFor<NameList>(
            *this, readings_.Take(),
            [&files = services.Files(), normal] { return ListFiles(files, normal); },
            [this](NameList& names) {
                files_ = std::move(names);
                notify(ControlProperty::List);
                if (on_listed) {
                    on_listed();
                }
            });
    });
    ListIndex.on_change([this] { notify(ControlProperty::Selection); });
}

std::string FileList::List(int position) const {
    if (position < 0 || position >= ListCount()) {
        return {};
    }
    return std::string(files_[position]);
}

}  // namespace kivo::forms
