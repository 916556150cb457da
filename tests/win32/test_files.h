#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kivo::forms::win32::test {

// A folder of its own under the system's temporary folder, removed with everything in it.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder (UTF-8), and a path inside it.
    const std::string& path() const { return path_; }
    std::string Join(const std::string& name) const { return path_ + "\\" + name; }
    void Write(const std::string& name, const std::string& bytes) const;
    void MakeFolder(const std::string& name) const;
    void SetAttributes(const std::string& name, DWORD attributes) const;

  private:
    std::string path_;
};

// A 24-bit BMP whose pixel (x, y) has colour `pixel(x, y)` (0xRRGGBB).
template <typename PixelOf>
std::string MakeBmp(int width, int height, PixelOf pixel);
std::string SolidBmp(int width, int height, std::uint32_t rgb);
// A BMP header that claims a size and holds no pixels.
std::string BmpHeaderOnly(int width, int height);
// A JPEG of the picture (through the imaging component's encoder), with a camera orientation
// when `orientation` is not 0.
std::string MakeJpeg(int width, int height, const std::vector<std::uint32_t>& rgb, int orientation);
// A placeable Windows metafile of `width` x `height` units at `per_inch` units per inch.
std::string MakePlaceableMetafile(int width, int height, int per_inch);

template <typename PixelOf>
std::string MakeBmp(int width, int height, PixelOf pixel) {
    const auto row = static_cast<std::uint32_t>((width * 3 + 3) & ~3);
    const std::uint32_t size = 54 + row * static_cast<std::uint32_t>(height);
    std::string out(size, '\0');
    auto put = [&out](std::size_t at, std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            out[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
        }
    };
    out[0] = 'B';
    out[1] = 'M';
    put(2, size, 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<std::uint32_t>(width), 4);
    put(22, static_cast<std::uint32_t>(height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    for (int y = 0; y < height; ++y) {
        const std::size_t line = 54 + row * static_cast<std::uint32_t>(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            put(line + static_cast<std::size_t>(x) * 3, pixel(x, y), 3);  // B, G, R in order
        }
    }
    return out;
}

}  // namespace kivo::forms::win32::test
