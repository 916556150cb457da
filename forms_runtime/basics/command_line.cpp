#include "forms_runtime/basics/command_line.h"

namespace kivo::forms {

namespace {

// Control characters count as blanks here, as they do for the system.
bool IsBlank(wchar_t c) {
    return c <= L' ';
}

}  // namespace

std::wstring_view ArgumentText(std::wstring_view command_line) {
    std::size_t at = 0;
    const std::size_t end = command_line.size();
    if (at < end && command_line[at] == L'"') {
        ++at;
        while (at < end && command_line[at] != L'"') {
            ++at;
        }
        if (at < end) {
            ++at;  // the closing quote
        }
    } else {
        while (at < end && !IsBlank(command_line[at])) {
            ++at;
        }
    }
    while (at < end && IsBlank(command_line[at]) && command_line[at] != L'\0') {
        ++at;
    }
    return command_line.substr(at);
}

}  // namespace kivo::forms
