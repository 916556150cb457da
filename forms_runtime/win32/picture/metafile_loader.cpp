#include "forms_runtime/win32/picture/metafile_loader.h"

#include <windows.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

#include "forms_runtime/basics/errors.h"
#include "forms_runtime/win32/picture/drawable_picture.h"
#include "forms_runtime/win32/wide.h"

namespace kivo::forms::win32 {

namespace {

constexpr float kTwipsPerInch = 1440;
constexpr float kHundredthMillimetresPerInch = 2540;
constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::size_t kPlaceableHeaderSize = 22;

class MetafilePicture : public DrawablePicture {
  public:
    MetafilePicture(HENHMETAFILE metafile, float width_twips, float height_twips)
        : DrawablePicture(width_twips, height_twips), metafile_(metafile) {}
    ~MetafilePicture() override { DeleteEnhMetaFile(metafile_); }
    MetafilePicture(const MetafilePicture&) = delete;
    MetafilePicture& operator=(const MetafilePicture&) = delete;

    void Draw(HDC dc, const RECT& target) const override {
        const int saved = SaveDC(dc);
        PlayEnhMetaFile(dc, metafile_, &target);
        RestoreDC(dc, saved);
    }

  private:
    HENHMETAFILE metafile_;
};

class CursorPicture : public DrawablePicture {
  public:
    CursorPicture(HCURSOR cursor, float width_twips, float height_twips)
        : DrawablePicture(width_twips, height_twips), cursor_(cursor) {}
    ~CursorPicture() override { DestroyCursor(cursor_); }
    CursorPicture(const CursorPicture&) = delete;
    CursorPicture& operator=(const CursorPicture&) = delete;

    void Draw(HDC dc, const RECT& target) const override {
        DrawIconEx(dc, target.left, target.top, cursor_, target.right - target.left,
                   target.bottom - target.top, 0, nullptr, DI_NORMAL);
    }

  private:
    HCURSOR cursor_;
};

// The picture of a metafile whose frame (in hundredths of a millimetre) gives its natural size.
Picture FromEnhanced(HENHMETAFILE metafile, const std::string& path) {
    ENHMETAHEADER header = {};
    if (GetEnhMetaFileHeader(metafile, sizeof(header), &header) == 0) {
        DeleteEnhMetaFile(metafile);
        throw RuntimeError(ErrorKind::InvalidPicture, path);
    }
    const float width = static_cast<float>(header.rclFrame.right - header.rclFrame.left) *
                        kTwipsPerInch / kHundredthMillimetresPerInch;
    const float height = static_cast<float>(header.rclFrame.bottom - header.rclFrame.top) *
                         kTwipsPerInch / kHundredthMillimetresPerInch;
    if (width <= 0 || height <= 0) {
        DeleteEnhMetaFile(metafile);
        throw RuntimeError(ErrorKind::InvalidPicture, path);
    }
    return std::make_shared<MetafilePicture>(metafile, width, height);
}

std::int16_t Read16(const std::string& bytes, std::size_t at) {
    std::int16_t value = 0;
    std::memcpy(&value, bytes.data() + at, sizeof(value));
    return value;
}

}  // namespace

Picture LoadEnhancedMetafile(const std::string& path, const std::string& bytes) {
    HENHMETAFILE metafile = SetEnhMetaFileBits(static_cast<UINT>(bytes.size()),
                                               reinterpret_cast<const BYTE*>(bytes.data()));
    if (metafile == nullptr) {
        throw RuntimeError(ErrorKind::InvalidPicture, path);
    }
    return FromEnhanced(metafile, path);
}

Picture LoadWindowsMetafile(const std::string& path, const std::string& bytes) {
    std::uint32_t key = 0;
    if (bytes.size() >= sizeof(key)) {
        std::memcpy(&key, bytes.data(), sizeof(key));
    }
    std::size_t records = 0;
    METAFILEPICT picture = {MM_ANISOTROPIC, 0, 0, nullptr};
    METAFILEPICT* size = nullptr;
    float twips_width = 0;
    float twips_height = 0;
    if (key == kPlaceableKey && bytes.size() > kPlaceableHeaderSize) {
        // left, top, right, bottom and units per inch, after the key and a handle.
        const int width = Read16(bytes, 10) - Read16(bytes, 6);
        const int height = Read16(bytes, 12) - Read16(bytes, 8);
        const int per_inch = static_cast<std::uint16_t>(Read16(bytes, 14));
        if (width <= 0 || height <= 0 || per_inch == 0) {
            throw RuntimeError(ErrorKind::InvalidPicture, path);
        }
        picture.xExt =
            static_cast<LONG>(std::lround(width * kHundredthMillimetresPerInch / per_inch));
        picture.yExt =
            static_cast<LONG>(std::lround(height * kHundredthMillimetresPerInch / per_inch));
        twips_width = static_cast<float>(width) * kTwipsPerInch / static_cast<float>(per_inch);
        twips_height = static_cast<float>(height) * kTwipsPerInch / static_cast<float>(per_inch);
        size = &picture;
        records = kPlaceableHeaderSize;
    }
    HENHMETAFILE metafile =
        SetWinMetaFileBits(static_cast<UINT>(bytes.size() - records),
                           reinterpret_cast<const BYTE*>(bytes.data() + records), nullptr, size);
    if (metafile == nullptr) {
        throw RuntimeError(ErrorKind::InvalidPicture, path);
    }
    if (size != nullptr) {  // the header's own size, exactly
        return std::make_shared<MetafilePicture>(metafile, twips_width, twips_height);
    }
    return FromEnhanced(metafile, path);
}

Picture LoadCursorFile(const std::string& path, const PixelScale& scale) {
    HANDLE loaded = LoadImageW(nullptr, Widen(path).c_str(), IMAGE_CURSOR, 0, 0,
                               LR_LOADFROMFILE | LR_DEFAULTSIZE);
    if (loaded == nullptr) {
        throw RuntimeError(ErrorKind::InvalidPicture, path);
    }
    auto cursor = static_cast<HCURSOR>(loaded);
    ICONINFO info = {};
    int width = GetSystemMetrics(SM_CXCURSOR);
    int height = GetSystemMetrics(SM_CYCURSOR);
    if (GetIconInfo(cursor, &info)) {
        BITMAP bitmap = {};
        if (GetObjectW(info.hbmMask, sizeof(bitmap), &bitmap) != 0) {
            width = bitmap.bmWidth;
            // A monochrome cursor keeps its AND and XOR masks one above the other.
            height = info.hbmColor != nullptr ? bitmap.bmHeight : bitmap.bmHeight / 2;
        }
        if (info.hbmColor != nullptr) {
            DeleteObject(info.hbmColor);
        }
        if (info.hbmMask != nullptr) {
            DeleteObject(info.hbmMask);
        }
    }
    return std::make_shared<CursorPicture>(cursor, scale.TwipsX(width), scale.TwipsY(height));
}

}  // namespace kivo::forms::win32
