#pragma once

#include <cstdint>
#include <string>

#include "forms_runtime/basics/picture.h"

namespace kivo::saver_window {

// A slide chosen for a window's next tick: its position in the folder's list, the file's name,
// and, once loaded, its picture.
struct PreparedSlide {
    std::int32_t index = 0;
    std::string name;
    // False for an empty list: the tick then names no file and loads nothing.
    bool has_file = false;
    // Null when the file could not be loaded as a picture: the window keeps the picture it shows.
    forms::Picture picture;
};

}  // namespace kivo::saver_window
