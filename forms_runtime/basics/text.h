#pragma once

#include <string>
#include <string_view>

namespace kivo::forms {

// Text operations on UTF-8 text, counted in characters (code points), not bytes.

// The substring that starts at the 1-based character `start`, at most `length` characters long
// (to the end when length is negative); empty when start lies past the end.
std::string Mid(std::string_view text, int start, int length = -1);
int Len(std::string_view text);
// Upper-cases the ASCII letters and the full-width Latin letters.
std::string UCase(std::string_view text);
// Removes the blanks (U+0020) at both ends.
std::string Trim(std::string_view text);

// UTF-8 <-> UTF-32 for code that needs whole characters.
std::u32string ToUtf32(std::string_view text);
// The character of UTF-8 text that starts at byte `at`, which moves past it; a stray
// continuation byte reads as U+FFFD.
char32_t NextChar(std::string_view text, std::size_t& at);
std::string ToUtf8(std::u32string_view text);

}  // namespace kivo::forms
