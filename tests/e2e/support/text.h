// UTF-8 <-> UTF-16 for the test code: the program's texts are UTF-8, the Win32 API's UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace kivo::e2e {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// A path from the build (a Unix path such as /work/build/Kivo.scr) as Wine's Z: drive sees
// it; a path that already has a drive is returned unchanged.
std::wstring WindowsPathFromBuild(std::string_view path);

}  // namespace kivo::e2e
