// Pictures as the Windows backend loads them: formats, natural sizes, reduced decoding, camera
// orientation, the resource banner, and the errors of files that are no pictures.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "forms_runtime/errors.h"
#include "forms_runtime/win32/picture/bitmap_picture.h"
#include "forms_runtime/win32/window/display.h"
#include "forms_runtime/win32/window/win32_backend.h"
#include "tests/win32/test_files.h"

namespace kivo::forms::win32 {
namespace {

using test::TempFolder;

class PictureLoading : public ::testing::Test {
  protected:
    Win32Backend backend;  // initialises COM for the thread first
    TempFolder folder;
    PixelScale scale = ScreenScale();

    ErrorKind LoadError(const std::string& name) {
        try {
            backend.LoadPicture(folder.Join(name), {});
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.subject(), folder.Join(name));
            return error.kind();
        }
        ADD_FAILURE() << name << " loaded";
        return ErrorKind::InvalidArgument;
    }
};

const BitmapPicture& Bitmap(const Picture& picture) {
    return dynamic_cast<const BitmapPicture&>(*picture);
}

std::uint32_t PixelAt(const BitmapPicture& picture, int x, int y) {
    return picture.pixels().pixels()[y * picture.pixels().width() + x] & 0xFFFFFF;
}

bool Near(std::uint32_t rgb, std::uint32_t expected, int tolerance = 40) {
    for (int shift : {0, 8, 16}) {
        const int a = static_cast<int>((rgb >> shift) & 0xFF);
        const int b = static_cast<int>((expected >> shift) & 0xFF);
        if (a - b > tolerance || b - a > tolerance) {
            return false;
        }
    }
    return true;
}

TEST_F(PictureLoading, NaturalSizeIsThePixelSizeInTwips) {
    folder.Write("wide.bmp", test::SolidBmp(30, 20, 0x336699));
    const Picture picture = backend.LoadPicture(folder.Join("wide.bmp"), {});
    EXPECT_FLOAT_EQ(picture->width_twips(), 30 * scale.twips_per_pixel_x);
    EXPECT_FLOAT_EQ(picture->height_twips(), 20 * scale.twips_per_pixel_y);
    EXPECT_EQ(PixelAt(Bitmap(picture), 29, 19), 0x336699u);
}

TEST_F(PictureLoading, JapaneseFileNamesLoad) {
    folder.MakeFolder("写真");
    folder.Write("写真\\夏休み.bmp", test::SolidBmp(4, 3, 0xFF0000));
    const Picture picture = backend.LoadPicture(folder.Join("写真\\夏休み.bmp"), {});
    EXPECT_FLOAT_EQ(picture->width_twips(), 4 * scale.twips_per_pixel_x);
}

TEST_F(PictureLoading, LargePicturesAreDecodedReducedButKeepTheirNaturalSize) {
    // Black and white columns one pixel wide by turns: averaging them gives grey.
    folder.Write("stripes.bmp", test::MakeBmp(400, 300, [](int x, int) {
                     return x % 2 == 0 ? 0x000000u : 0xFFFFFFu;
                 }));
    const Picture picture =
        backend.LoadPicture(folder.Join("stripes.bmp"), {[](int, int) { return 0.25; }});
    EXPECT_FLOAT_EQ(picture->width_twips(), 400 * scale.twips_per_pixel_x);
    EXPECT_FLOAT_EQ(picture->height_twips(), 300 * scale.twips_per_pixel_y);
    const BitmapPicture& pixels = Bitmap(picture);
    EXPECT_EQ(pixels.pixels().width(), 100);  // a quarter of each side
    EXPECT_EQ(pixels.pixels().height(), 75);
    EXPECT_TRUE(Near(PixelAt(pixels, 50, 37), 0x808080, 8)) << std::hex << PixelAt(pixels, 50, 37);
}

TEST_F(PictureLoading, PhotosAreTurnedUprightAsTheCameraRecorded) {
    // 8 x 4, red on the left quarter, blue elsewhere; stored as if the camera lay on its side.
    std::vector<std::uint32_t> rgb;
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 8; ++x) {
            rgb.push_back(x < 2 ? 0xFF0000u : 0x0000FFu);
        }
    }
    folder.Write("turned.jpg", test::MakeJpeg(8, 4, rgb, 6));
    folder.Write("plain.jpg", test::MakeJpeg(8, 4, rgb, 0));

    const Picture turned = backend.LoadPicture(folder.Join("turned.jpg"), {});
    EXPECT_FLOAT_EQ(turned->width_twips(), 4 * scale.twips_per_pixel_x);
    EXPECT_FLOAT_EQ(turned->height_twips(), 8 * scale.twips_per_pixel_y);
    // A quarter turn clockwise: the red left edge is now the top.
    EXPECT_TRUE(Near(PixelAt(Bitmap(turned), 2, 0), 0xFF0000))
        << std::hex << PixelAt(Bitmap(turned), 2, 0);
    EXPECT_TRUE(Near(PixelAt(Bitmap(turned), 2, 7), 0x0000FF))
        << std::hex << PixelAt(Bitmap(turned), 2, 7);

    const Picture plain = backend.LoadPicture(folder.Join("plain.jpg"), {});
    EXPECT_FLOAT_EQ(plain->width_twips(), 8 * scale.twips_per_pixel_x);
    EXPECT_TRUE(Near(PixelAt(Bitmap(plain), 0, 2), 0xFF0000));
}

TEST_F(PictureLoading, PhotosAreDecodedAtTheSizeTheyAreShownAt) {
    // 640 x 480, red on the left half, blue on the right, shown at a quarter of each side.
    std::vector<std::uint32_t> rgb;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            rgb.push_back(x < 320 ? 0xFF0000u : 0x0000FFu);
        }
    }
    folder.Write("halves.jpg", test::MakeJpeg(640, 480, rgb, 0));
    std::vector<std::pair<int, int>> asked;
    const Picture picture = backend.LoadPicture(folder.Join("halves.jpg"), {[&](int w, int h) {
                                                    asked.emplace_back(w, h);
                                                    return 0.25;
                                                }});
    EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{640, 480}}));
    EXPECT_FLOAT_EQ(picture->width_twips(), 640 * scale.twips_per_pixel_x);
    const BitmapPicture& pixels = Bitmap(picture);
    ASSERT_EQ(pixels.pixels().width(), 160);
    ASSERT_EQ(pixels.pixels().height(), 120);
    EXPECT_TRUE(Near(PixelAt(pixels, 40, 60), 0xFF0000)) << std::hex << PixelAt(pixels, 40, 60);
    EXPECT_TRUE(Near(PixelAt(pixels, 120, 60), 0x0000FF)) << std::hex << PixelAt(pixels, 120, 60);
    EXPECT_EQ(pixels.pixels().pixels()[0] >> 24, 0xFFu);
}

TEST_F(PictureLoading, TurnedPhotosAreReducedUpright) {
    // 80 x 40 as stored, red on the left quarter; the camera lay on its side.
    std::vector<std::uint32_t> rgb;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 80; ++x) {
            rgb.push_back(x < 20 ? 0xFF0000u : 0x0000FFu);
        }
    }
    folder.Write("turned.jpg", test::MakeJpeg(80, 40, rgb, 6));
    int asked_width = 0;
    const Picture turned = backend.LoadPicture(folder.Join("turned.jpg"), {[&](int w, int) {
                                                   asked_width = w;
                                                   return 0.5;
                                               }});
    EXPECT_EQ(asked_width, 40) << "the hint hears of the upright size";
    const BitmapPicture& pixels = Bitmap(turned);
    ASSERT_EQ(pixels.pixels().width(), 20);
    ASSERT_EQ(pixels.pixels().height(), 40);
    EXPECT_TRUE(Near(PixelAt(pixels, 10, 2), 0xFF0000)) << std::hex << PixelAt(pixels, 10, 2);
    EXPECT_TRUE(Near(PixelAt(pixels, 10, 30), 0x0000FF)) << std::hex << PixelAt(pixels, 10, 30);
}

TEST_F(PictureLoading, MetafilesTakeTheSizeTheyDeclare) {
    // 2000 x 500 units at 1000 per inch: two inches by half an inch.
    folder.Write("shape.wmf", test::MakePlaceableMetafile(2000, 500, 1000));
    const Picture picture = backend.LoadPicture(folder.Join("shape.wmf"), {});
    EXPECT_FLOAT_EQ(picture->width_twips(), 2880);
    EXPECT_FLOAT_EQ(picture->height_twips(), 720);
}

TEST_F(PictureLoading, TheBannerComesFromTheExecutable) {
    const Picture banner = backend.LoadResourcePicture("BANNER");
    EXPECT_FLOAT_EQ(banner->width_twips(), 6 * scale.twips_per_pixel_x);
    EXPECT_FLOAT_EQ(banner->height_twips(), 2 * scale.twips_per_pixel_y);
    try {
        backend.LoadResourcePicture("NO_SUCH_PICTURE");
        ADD_FAILURE() << "a missing resource loaded";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.kind(), ErrorKind::FileNotFound);
    }
}

TEST_F(PictureLoading, FilesThatAreNoPicturesRaiseTheRuntimesErrors) {
    folder.Write("notes.jpg", "these are words, not pixels");
    folder.Write("empty.png", "");
    folder.MakeFolder("folder.bmp");
    EXPECT_EQ(LoadError("missing.png"), ErrorKind::FileNotFound);
    EXPECT_EQ(LoadError("folder.bmp"), ErrorKind::FileNotFound);
    EXPECT_EQ(LoadError("notes.jpg"), ErrorKind::InvalidPicture);
    EXPECT_EQ(LoadError("empty.png"), ErrorKind::InvalidPicture);
}

TEST_F(PictureLoading, AbsurdPixelCountsAreRefusedBeforeDecoding) {
    folder.Write("huge.bmp", test::BmpHeaderOnly(30000, 20000));  // 600 million pixels
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(LoadError("huge.bmp"), ErrorKind::InvalidPicture);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
}

}  // namespace
}  // namespace kivo::forms::win32
