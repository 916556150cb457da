#include "forms_runtime/win32/picture/resource_bitmap.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <type_traits>
#include <utility>

#include "forms_runtime/basics/errors.h"
#include "forms_runtime/win32/picture/bitmap_picture.h"
#include "forms_runtime/win32/picture/dib.h"
#include "forms_runtime/win32/wide.h"

namespace kivo::forms::win32 {

namespace {

struct BitmapDeleter {
    void operator()(HBITMAP bitmap) const { DeleteObject(bitmap); }
};
using OwnedBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, BitmapDeleter>;

struct DcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
using OwnedDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;

}  // namespace

Picture LoadResourceBitmap(const std::string& name, const PixelScale& scale) {
    const OwnedBitmap stored(static_cast<HBITMAP>(LoadImageW(
        GetModuleHandleW(nullptr), Widen(name).c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP size = {};
    if (stored == nullptr || GetObjectW(stored.get(), sizeof(size), &size) == 0) {
        throw RuntimeError(ErrorKind::FileNotFound, name);
    }
    Dib pixels(size.bmWidth, size.bmHeight);
    const OwnedDc dc(CreateCompatibleDC(nullptr));
    // The same top-down 32-bit layout as the Dib's own, which GDI converts the stored rows to.
    BITMAPINFO layout = {};
    layout.bmiHeader.biSize = sizeof(layout.bmiHeader);
    layout.bmiHeader.biWidth = size.bmWidth;
    layout.bmiHeader.biHeight = -size.bmHeight;
    layout.bmiHeader.biPlanes = 1;
    layout.bmiHeader.biBitCount = 32;
    layout.bmiHeader.biCompression = BI_RGB;
    if (!pixels || dc == nullptr ||
        GetDIBits(dc.get(), stored.get(), 0, static_cast<UINT>(size.bmHeight), pixels.pixels(),
                  &layout, DIB_RGB_COLORS) != size.bmHeight) {
        throw RuntimeError(ErrorKind::FileNotFound, name);
    }
    // A bitmap without alpha comes with its fourth byte zero: every pixel is opaque.
    std::uint32_t* pixel = pixels.pixels();
    for (std::size_t n = static_cast<std::size_t>(size.bmWidth) * size.bmHeight; n > 0; --n) {
        *pixel++ |= 0xFF000000u;
    }
    auto picture = std::make_shared<BitmapPicture>(std::move(pixels), scale.TwipsX(size.bmWidth),
                                                   scale.TwipsY(size.bmHeight));
    picture->PixelsWritten(true);
    return picture;
}

}  // namespace kivo::forms::win32
