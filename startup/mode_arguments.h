#pragma once

#include <string>

#include "startup/module/system.h"

namespace kivo::startup {

// What the command line's arguments (UTF-8, as the program gets them) ask for, read from text
// that anyone may write. Any thread.

// The mode letter: the second character, upper-cased ("S", "C", "P", "A", anything else, or
// empty when there is none).
std::string ModeLetter(const std::string& arguments);

// The window handle that follows the mode letter: the number at the start of the text from the
// third character on, blanks removed, rounded to the nearest integer with halves to even; 0 when
// there is no number. An overflow error naming that text when no handle holds it.
WindowHandle HostHandle(const std::string& arguments);

}  // namespace kivo::startup
