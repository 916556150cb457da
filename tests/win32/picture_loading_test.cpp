// Pictures as the Win32 backend loads them: natural sizes, reduced decoding, camera orientation,
// metafiles, the banner resource, and the errors of files that are no pictures.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "forms_runtime/errors.h"
#include "forms_runtime/win32/picture/bitmap_picture.h"
#include "tests/win32/form_test.h"
#include "tests/win32/picture_writers.h"

namespace kivo::test {
namespace {

using forms::ErrorKind;
using forms::Picture;

using PictureLoadingTest = FormTest;

const forms::win32::Dib& Pixels(const Picture& picture) {
    return dynamic_cast<const forms::win32::BitmapPicture&>(*picture).pixels();
}

// Whether the pixel is `rgb` (0xRRGGBB), give or take what JPEG coding changes.
bool Near(const forms::win32::Dib& pixels, POINT at, std::uint32_t rgb) {
    const std::uint32_t found = pixels.pixels()[at.y * pixels.width() + at.x];
    for (int shift : {0, 8, 16}) {
        if (std::abs(int((found >> shift) & 0xFF) - int((rgb >> shift) & 0xFF)) > 40) {
            return false;
        }
    }
    return true;
}

TEST_F(PictureLoadingTest, EveryKindTakesItsNaturalSizeInTwips) {
    pictures.MakeFolder("写真");
    const struct {
        const char* name;
        std::string bytes;
        float width;
        float height;
    } cases[] = {
        {"写真\\夏休み.bmp", Bmp(30, 20, [](int, int) { return 0x336699u; }),
         30 * scale.twips_per_pixel_x, 20 * scale.twips_per_pixel_y},
        {"shape.wmf", PlaceableMetafile(2000, 500, 1000), 2880, 720},  // 2 x 0.5 inches
        {"shape.emf", EnhancedMetafile(2540, 1270), 1440, 720},        // 1 x 0.5 inches
    };
    for (const auto& picture : cases) {
        SCOPED_TRACE(picture.name);
        pictures.Write(picture.name, picture.bytes);
        const Picture loaded = backend.LoadPicture(pictures.Join(picture.name), {});
        EXPECT_NEAR(loaded->width_twips(), picture.width, 15);
        EXPECT_NEAR(loaded->height_twips(), picture.height, 15);
    }
}

TEST_F(PictureLoadingTest, PhotosAreDecodedUprightAtTheScaleTheyAreShownAt) {
    // 80 x 40 as stored, red on the left quarter, shown at half size.
    const struct {
        int orientation;
        int width;  // upright, at half size
        int height;
        POINT red;
        POINT blue;
    } cases[] = {
        {1, 40, 20, {2, 10}, {30, 10}},   // as stored
        {3, 40, 20, {37, 10}, {10, 10}},  // half a turn
        {6, 20, 40, {10, 2}, {10, 30}},   // a quarter turn clockwise: the left edge on top
        {8, 20, 40, {10, 37}, {10, 10}},  // a quarter turn back: the left edge at the bottom
    };
    for (const auto& turned : cases) {
        SCOPED_TRACE(turned.orientation);
        pictures.Write("turned.jpg",
                       Jpeg(
                           80, 40, [](int x, int) { return x < 20 ? 0xFF0000u : 0x0000FFu; },
                           turned.orientation));
        int asked_width = 0;
        const Picture picture = backend.LoadPicture(pictures.Join("turned.jpg"), {[&](int w, int) {
                                                        asked_width = w;
                                                        return 0.5;
                                                    }});
        EXPECT_EQ(asked_width, turned.width * 2) << "the hint hears of the upright size";
        EXPECT_FLOAT_EQ(picture->width_twips(), turned.width * 2 * scale.twips_per_pixel_x);
        const auto& pixels = Pixels(picture);
        ASSERT_EQ(pixels.width(), turned.width);
        ASSERT_EQ(pixels.height(), turned.height);
        EXPECT_TRUE(Near(pixels, turned.red, 0xFF0000));
        EXPECT_TRUE(Near(pixels, turned.blue, 0x0000FF));
    }
}

TEST_F(PictureLoadingTest, TheBannerComesFromTheExecutable) {
    EXPECT_GT(Pixels(backend.LoadResourcePicture("BANNER")).width(), 0);
    try {
        backend.LoadResourcePicture("NO_SUCH_PICTURE");
        ADD_FAILURE() << "a missing resource loaded";
    } catch (const forms::RuntimeError& error) {
        EXPECT_EQ(error.kind(), ErrorKind::FileNotFound);
    }
}

TEST_F(PictureLoadingTest, MissingFilesAndFilesThatAreNoPicturesRaiseTheirErrorsAtOnce) {
    pictures.Write("notes.jpg", "these are words, not pixels");
    pictures.Write("huge.bmp", BmpHeaderOnly(30000, 20000));  // 600 million pixels claimed
    for (const auto& [name, kind] : {std::pair{"missing.png", ErrorKind::FileNotFound},
                                     std::pair{"notes.jpg", ErrorKind::InvalidPicture},
                                     std::pair{"huge.bmp", ErrorKind::InvalidPicture}}) {
        SCOPED_TRACE(name);
        const auto started = std::chrono::steady_clock::now();
        try {
            backend.LoadPicture(pictures.Join(name), {});
            ADD_FAILURE() << "loaded";
        } catch (const forms::RuntimeError& error) {
            EXPECT_EQ(error.kind(), kind);
            EXPECT_EQ(error.subject(), pictures.Join(name));
        }
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
    }
}

}  // namespace
}  // namespace kivo::test
