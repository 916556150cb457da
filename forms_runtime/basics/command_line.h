#pragma once

#include <string_view>

namespace kivo::forms {

// The arguments' text of a whole command line, as the system hands it to a program's entry: the
// program name (to its closing quote when quoted, else to the first blank) and the blanks after
// it are dropped, everything else is kept as written.
std::wstring_view ArgumentText(std::wstring_view command_line);

}  // namespace kivo::forms
