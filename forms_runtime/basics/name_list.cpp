#include "forms_runtime/basics/name_list.h"

#include <algorithm>

#include "forms_runtime/basics/paths.h"

namespace kivo::forms {

void NameList::Add(std::string_view name) {
    starts_.push_back(text_.size());
    text_.append(name);
    text_.push_back('\0');
}

void NameList::Sort() {
    const char* text = text_.data();
    std::sort(starts_.begin(), starts_.end(), [text](std::size_t a, std::size_t b) {
        return NameLess(std::string_view(text + a), std::string_view(text + b));
    });
    text_.shrink_to_fit();
    starts_.shrink_to_fit();
}

}  // namespace kivo::forms
