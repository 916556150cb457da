#pragma once

#include <string>

namespace kivo::forms::headless {

// A BMP file of the given size (24 bits, one colour), for tests that need pictures.
std::string MakeBmp(int width, int height);

}  // namespace kivo::forms::headless
