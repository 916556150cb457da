#pragma once

#include <string>
#include <string_view>

namespace kivo::forms::win32 {

// UTF-8 inside the program, UTF-16 at the Win32 boundary.
std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);

}  // namespace kivo::forms::win32
