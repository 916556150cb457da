#include <gtest/gtest.h>
#include <windows.h>

#include "forms_runtime/basics/errors.h"
#include "forms_runtime/win32/picture/bitmap_picture.h"
#include "tests/common/picture_bytes.h"
#include "tests/win32/form_test.h"

namespace kivo::test {
namespace {

using forms::ErrorKind;
using forms::Picture;

using PictureLoadingTest = FormTest;

// A placeable metafile of 2000 x 500 units at 1000 units per inch: 2 x 0.5 inches. Its header:
// the key, no handle, the bounds (0, 0, 2000, 500), the units per inch, nothing reserved, and the
// checksum (the ten words before it, exclusive-or'ed).
std::string PlaceableMetafile() {
    HMETAFILE metafile = CloseMetaFile(CreateMetaFileW(nullptr));
    std::string records(GetMetaFileBitsEx(metafile, 0, nullptr), '\0');
    GetMetaFileBitsEx(metafile, static_cast<UINT>(records.size()), records.data());
    DeleteMetaFile(metafile);
    return std::string("\xD7\xCD\xC6\x9A\0\0\0\0\0\0\xD0\x07\xF4\x01\xE8\x03\0\0\0\0\xDD\x52", 22) +
           records;
}

// An enhanced metafile whose frame is 2540 x 1270 hundredths of a millimetre: 1 x 0.5 inches.
std::string EnhancedMetafile() {
    const RECT frame{0, 0, 2540, 1270};
    HENHMETAFILE metafile = CloseEnhMetaFile(CreateEnhMetaFileW(nullptr, nullptr, &frame, nullptr));
    std::string bytes(GetEnhMetaFileBits(metafile, 0, nullptr), '\0');
    GetEnhMetaFileBits(metafile, static_cast<UINT>(bytes.size()),
                       reinterpret_cast<BYTE*>(bytes.data()));
    DeleteEnhMetaFile(metafile);
    return bytes;
}

TEST_F(PictureLoadingTest, EveryKindTakesItsNaturalSizeInTwips) {
    const struct {
        std::filesystem::path name;
        std::string bytes;
        float width;
        float height;
    } cases[] = {
        {u8"写真/夏休み.bmp", Bmp(30, 20, [](int, int) { return 0x336699u; }),
         30 * scale.twips_per_pixel_x, 20 * scale.twips_per_pixel_y},
        {"shape.wmf", PlaceableMetafile(), 2880, 720},
        {"shape.emf", EnhancedMetafile(), 1440, 720},
    };
    for (const auto& picture : cases) {
        SCOPED_TRACE(Utf8(picture.name));
        const Picture loaded = Decode(pictures.Write(picture.name, picture.bytes));
        EXPECT_NEAR(loaded->width_twips(), picture.width, 15);
        EXPECT_NEAR(loaded->height_twips(), picture.height, 15);
    }
}

// An 80 x 40 photo, red on the left quarter and blue elsewhere, as stored and with the camera's
// orientation 6 (a quarter turn clockwise: the left edge on top), shown at half size.
TEST_F(PictureLoadingTest, PhotosAreDecodedUprightAtTheScaleTheyAreShownAt) {
    const struct {
        const char* name;
        int width;  // upright, at half size
        int height;
        POINT red;
        POINT blue;
    } cases[] = {
        {"left_quarter_red.jpg", 40, 20, {2, 10}, {30, 10}},
        {"left_quarter_red_turned.jpg", 20, 40, {10, 2}, {10, 30}},
    };
    for (const auto& turned : cases) {
        SCOPED_TRACE(turned.name);
        const auto photo = std::filesystem::path(KIVO_TEST_PICTURES).make_preferred() / turned.name;
        int asked_width = 0;
        const Picture picture = Decode(photo, {[&](int w, int) {
                                           asked_width = w;
                                           return 0.5;
                                       }});
        EXPECT_EQ(asked_width, turned.width * 2) << "the hint hears of the upright size";
        EXPECT_FLOAT_EQ(picture->width_twips(), turned.width * 2 * scale.twips_per_pixel_x);
        const auto& pixels = dynamic_cast<const forms::win32::BitmapPicture&>(*picture).pixels();
        // Red or blue, whatever JPEG coding changed below each channel's top bit.
        const auto is = [&pixels](POINT at, std::uint32_t rgb) {
            return ((pixels.pixels()[at.y * pixels.width() + at.x] ^ rgb) & 0x808080) == 0;
        };
        ASSERT_EQ(pixels.width(), turned.width);
        ASSERT_EQ(pixels.height(), turned.height);
        EXPECT_TRUE(is(turned.red, 0xFF0000));
        EXPECT_TRUE(is(turned.blue, 0x0000FF));
    }
}

// Refused before any pixel is decoded: the scale to decode at is never asked.
TEST_F(PictureLoadingTest, MissingFilesAndFilesThatAreNoPicturesAreRefusedBeforeDecoding) {
    pictures.Write("notes.jpg", "these are words, not pixels");
    pictures.Write("huge.bmp", BmpHeaderOnly(30000, 20000));  // 600 million pixels claimed
    for (const auto& [name, kind] : {std::pair{"missing.png", ErrorKind::FileNotFound},
                                     std::pair{"notes.jpg", ErrorKind::InvalidPicture},
                                     std::pair{"huge.bmp", ErrorKind::InvalidPicture}}) {
        SCOPED_TRACE(name);
        try {
            Decode(pictures / name, {[](int, int) {
                       ADD_FAILURE() << "decoded";
                       return 1.0;
                   }});
            ADD_FAILURE() << "loaded";
        } catch (const forms::RuntimeError& error) {
            EXPECT_EQ(error.kind(), kind);
            EXPECT_EQ(error.subject(), Utf8(pictures / name));
        }
    }
}

}  // namespace
}  // namespace kivo::test
