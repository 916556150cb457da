// Pictures that tests make for themselves: 24-bit BMP files.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace kivo::e2e {

// Writes a width x height picture whose pixel (x, y), from the top left, is colourAt(x, y).
void WriteBmp(const std::wstring& path, int width, int height,
              const std::function<COLORREF(int x, int y)>& colourAt);

// Writes a picture of one colour.
void WriteSolidBmp(const std::wstring& path, int width, int height, COLORREF colour);

}  // namespace kivo::e2e
