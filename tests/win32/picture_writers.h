#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace kivo::test {

// The colour (0xRRGGBB) of the pixel at (x, y), counted from the top left.
using PixelOf = std::function<std::uint32_t(int x, int y)>;

// Picture files as bytes, made for the tests. Each throws std::runtime_error when the system
// cannot make it.
std::string Bmp(int width, int height, const PixelOf& pixel);
// A BMP header that claims a size and holds one pixel.
std::string BmpHeaderOnly(int width, int height);
// A JPEG (through the imaging component's encoder) with a camera orientation tag (1 to 8) when
// `orientation` is not 0.
std::string Jpeg(int width, int height, const PixelOf& pixel, int orientation);
// A placeable metafile of `width` x `height` units at `per_inch` units per inch.
std::string PlaceableMetafile(int width, int height, int per_inch);
// An enhanced metafile whose frame is `width` x `height` hundredths of a millimetre.
std::string EnhancedMetafile(int width, int height);

}  // namespace kivo::test
