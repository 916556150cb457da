#pragma once

#include <cstddef>
#include <string_view>

namespace kivo::forms {

// How many of a JPEG file's first bytes hold its camera data, when it has any.
inline constexpr std::size_t kJpegHeadBytes = 64 * 1024;

// The orientation (1 to 8) that a JPEG file's camera data records, read from the file's first
// bytes; 0 when they record none. For systems whose imaging component does not read it.
int JpegExifOrientation(std::string_view head);

}  // namespace kivo::forms
