// Picture files as bytes, for tests to write into a TempFolder or a fake file system. Colours are
// 0xRRGGBB; sizes are in pixels, and positive.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace kivo::test {

// A 24-bit BMP whose pixel (x, y), counted from the top left, has the colour colourAt(x, y).
std::string Bmp(int width, int height, const std::function<std::uint32_t(int x, int y)>& colourAt);

// A 24-bit BMP of one colour.
std::string SolidBmp(int width, int height, std::uint32_t rgb);

// A BMP header that claims width x height pixels, with none behind it.
std::string BmpHeaderOnly(int width, int height);

}  // namespace kivo::test
