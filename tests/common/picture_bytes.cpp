#include "tests/common/picture_bytes.h"

namespace kivo::test {

namespace {

void PutLittle(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

}  // namespace

std::string Bmp(int width, int height, const std::function<std::uint32_t(int x, int y)>& colourAt) {
    const auto row = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
    const std::uint32_t pixels = row * static_cast<std::uint32_t>(height);
    std::string out = "BM";
    PutLittle(out, 54 + pixels, 4);
    PutLittle(out, 0, 4);
    PutLittle(out, 54, 4);  // where the pixels start
    PutLittle(out, 40, 4);  // the info header's size
    PutLittle(out, static_cast<std::uint32_t>(width), 4);
    PutLittle(out, static_cast<std::uint32_t>(height), 4);  // positive: the bottom row first
    PutLittle(out, 1, 2);
    PutLittle(out, 24, 2);
    PutLittle(out, 0, 4);
    PutLittle(out, pixels, 4);
    out.append(16, '\0');  // resolution and palette counts
    for (int y = height - 1; y >= 0; --y) {
        const std::size_t start = out.size();
        for (int x = 0; x < width; ++x) {
            PutLittle(out, colourAt(x, y), 3);  // blue, green, red
        }
        out.append(row - (out.size() - start), '\0');
    }
    return out;
}

std::string SolidBmp(int width, int height, std::uint32_t rgb) {
    return Bmp(width, height, [rgb](int, int) { return rgb; });
}

std::string BmpHeaderOnly(int width, int height) {
    std::string size;
    PutLittle(size, static_cast<std::uint32_t>(width), 4);
    PutLittle(size, static_cast<std::uint32_t>(height), 4);
    return SolidBmp(1, 1, 0).substr(0, 54).replace(18, 8, size);
}

}  // namespace kivo::test
