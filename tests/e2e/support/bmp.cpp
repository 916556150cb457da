#include "support/bmp.h"

#include <stdexcept>
#include <vector>

#include "support/errors.h"
#include "support/text.h"

namespace kivo::e2e {

void WriteBmp(const std::wstring& path, int width, int height,
              const std::function<COLORREF(int x, int y)>& colourAt) {
    if (width <= 0 || height <= 0) {
        throw std::invalid_argument("WriteBmp: the size must be positive");
    }
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    const size_t imageSize = stride * static_cast<size_t>(height);

    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + imageSize);
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;  // positive: rows stored bottom-up
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(imageSize);

    std::vector<BYTE> pixels(imageSize, 0);
    for (int y = 0; y < height; ++y) {
        BYTE* row = pixels.data() + stride * static_cast<size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const COLORREF colour = colourAt(x, y);
            row[x * 3 + 0] = GetBValue(colour);
            row[x * 3 + 1] = GetGValue(colour);
            row[x * 3 + 2] = GetRValue(colour);
        }
    }

    HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) {
        ThrowLastError("CreateFileW " + Narrow(path));
    }
    DWORD written = 0;
    const bool ok = WriteFile(out, &file, sizeof file, &written, nullptr) &&
                    WriteFile(out, &info, sizeof info, &written, nullptr) &&
                    WriteFile(out, pixels.data(), static_cast<DWORD>(imageSize), &written, nullptr);
    const DWORD error = GetLastError();
    CloseHandle(out);
    if (!ok) {
        ThrowError("WriteFile " + Narrow(path), error);
    }
}

void WriteSolidBmp(const std::wstring& path, int width, int height, COLORREF colour) {
    WriteBmp(path, width, height, [colour](int, int) { return colour; });
}

}  // namespace kivo::e2e
