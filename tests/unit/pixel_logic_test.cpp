// The backend's platform-independent pieces: the arguments' text, decode sizes, camera
// orientation, turning pictures upright and resampling.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "forms_runtime/command_line.h"
#include "forms_runtime/pixels/area_reducer.h"
#include "forms_runtime/pixels/decode_size.h"
#include "forms_runtime/pixels/exif_orientation.h"
#include "forms_runtime/pixels/pixel_orientation.h"
#include "forms_runtime/pixels/pixel_resampler.h"

namespace kivo::forms {
namespace {

TEST(ArgumentText, DropsTheProgramNameAndTheBlanksAfterIt) {
    EXPECT_EQ(ArgumentText(L"Kivo.scr /s"), L"/s");
    EXPECT_EQ(ArgumentText(L"\"C:\\Program Files\\Kivo.scr\"   /p 1234"), L"/p 1234");
    EXPECT_EQ(ArgumentText(L"Kivo.scr\t/c:5678  "), L"/c:5678  ");
    EXPECT_EQ(ArgumentText(L"\"C:\\a b\\Kivo.scr\"/s"), L"/s");
}

TEST(ArgumentText, KeepsTheArgumentsAsWritten) {
    EXPECT_EQ(ArgumentText(L"Kivo.scr \"two  words\" x"), L"\"two  words\" x");
    EXPECT_EQ(ArgumentText(L"Kivo.scr"), L"");
    EXPECT_EQ(ArgumentText(L"\"Kivo.scr\"   "), L"");
    EXPECT_EQ(ArgumentText(L"\"unterminated quote /s"), L"");
}

DecodeHint ShownAt(double scale) {
    return {[scale](int, int) { return scale; }};
}

TEST(DecodeSize, KeepsTheNaturalSizeWithoutAScaleBelowOne) {
    EXPECT_EQ(DecodeSize({4000, 3000}, {}), (PixelSize{4000, 3000}));
    EXPECT_EQ(DecodeSize({800, 600}, ShownAt(1)), (PixelSize{800, 600}));
    EXPECT_EQ(DecodeSize({800, 600}, ShownAt(2.5)), (PixelSize{800, 600}));
    EXPECT_EQ(DecodeSize({800, 600}, ShownAt(0)), (PixelSize{800, 600}));
    EXPECT_EQ(DecodeSize({800, 600}, ShownAt(-1)), (PixelSize{800, 600}));
    EXPECT_EQ(DecodeSize({800, 600}, ShownAt(std::nan(""))), (PixelSize{800, 600}));
}

TEST(DecodeSize, DecodesAtTheSizeThePictureIsShownAt) {
    EXPECT_EQ(DecodeSize({6000, 4000}, ShownAt(1920.0 / 6000)), (PixelSize{1920, 1280}));
    EXPECT_EQ(DecodeSize({4000, 6000}, ShownAt(1080.0 / 6000)), (PixelSize{720, 1080}));
    // Each side to the nearest pixel, never below one.
    EXPECT_EQ(DecodeSize({1001, 333}, ShownAt(0.5)), (PixelSize{501, 167}));
    EXPECT_EQ(DecodeSize({10000, 3}, ShownAt(0.01)), (PixelSize{100, 1}));
}

TEST(DecodeSize, AsksWithTheNaturalSize) {
    int asked_width = 0;
    int asked_height = 0;
    DecodeHint hint{[&](int width, int height) {
        asked_width = width;
        asked_height = height;
        return 0.5;
    }};
    EXPECT_EQ(DecodeSize({3000, 4000}, hint), (PixelSize{1500, 2000}));
    EXPECT_EQ(asked_width, 3000);
    EXPECT_EQ(asked_height, 4000);
}

std::string Jpeg(const std::string& segments) {
    return std::string("\xFF\xD8", 2) + segments + std::string("\xFF\xDA\x00\x02", 4);
}

std::string Segment(unsigned char marker, const std::string& body) {
    const std::size_t length = body.size() + 2;
    return std::string(1, '\xFF') + static_cast<char>(marker) + static_cast<char>(length >> 8) +
           static_cast<char>(length & 0xFF) + body;
}

std::string ExifWithOrientation(bool big_endian, int orientation) {
    std::string tiff =
        big_endian ? std::string("MM\0*\0\0\0\x08", 8) : std::string("II*\0\x08\0\0\0", 8);
    auto u16 = [big_endian](unsigned value) {
        return big_endian ? std::string{static_cast<char>(value >> 8), static_cast<char>(value)}
                          : std::string{static_cast<char>(value), static_cast<char>(value >> 8)};
    };
    tiff += u16(2);  // two entries: image width, then orientation
    tiff += u16(0x0100) + u16(3) + std::string(big_endian ? "\0\0\0\x01" : "\x01\0\0\0", 4) +
            u16(640) + u16(0);
    tiff += u16(0x0112) + u16(3) + std::string(big_endian ? "\0\0\0\x01" : "\x01\0\0\0", 4) +
            u16(static_cast<unsigned>(orientation)) + u16(0);
    tiff += std::string(4, '\0');
    return std::string("Exif\0\0", 6) + tiff;
}

TEST(JpegExifOrientation, ReadsEitherByteOrderAfterOtherSegments) {
    const std::string jfif = Segment(0xE0, std::string("JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 14));
    EXPECT_EQ(JpegExifOrientation(Jpeg(jfif + Segment(0xE1, ExifWithOrientation(false, 6)))), 6);
    EXPECT_EQ(JpegExifOrientation(Jpeg(Segment(0xE1, ExifWithOrientation(true, 8)))), 8);
}

TEST(JpegExifOrientation, FindsNoneWhereThereIsNone) {
    EXPECT_EQ(JpegExifOrientation(Jpeg("")), 0);
    EXPECT_EQ(JpegExifOrientation("not a picture at all"), 0);
    // Camera data after the image data does not count; neither does an absurd value.
    EXPECT_EQ(JpegExifOrientation(Jpeg("") + Segment(0xE1, ExifWithOrientation(false, 6))), 0);
    EXPECT_EQ(JpegExifOrientation(Jpeg(Segment(0xE1, ExifWithOrientation(false, 9)))), 0);
    // Cut short anywhere: no orientation, and no read beyond the bytes.
    const std::string whole = Jpeg(Segment(0xE1, ExifWithOrientation(false, 3)));
    for (std::size_t length = 0; length < whole.size() - 6; ++length) {
        const int found = JpegExifOrientation(std::string_view(whole).substr(0, length));
        EXPECT_TRUE(found == 0 || found == 3) << length;
    }
}

// A 3 x 2 picture whose pixels are their own numbers: 0 1 2 / 3 4 5.
std::vector<std::uint32_t> Numbered() {
    return {0, 1, 2, 3, 4, 5};
}

std::vector<std::uint32_t> Upright(int orientation) {
    std::vector<std::uint32_t> stored = Numbered();
    std::vector<std::uint32_t> upright(6, 99);
    const int width = SwapsSides(orientation) ? 2 : 3;
    MakeUpright({stored.data(), 3, 2, 3}, orientation, {upright.data(), width, 6 / width, width});
    return upright;
}

TEST(MakeUpright, TurnsAndMirrorsAsEachCameraOrientationSays) {
    using Pixels = std::vector<std::uint32_t>;
    EXPECT_EQ(Upright(1), (Pixels{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(Upright(2), (Pixels{2, 1, 0, 5, 4, 3}));
    EXPECT_EQ(Upright(3), (Pixels{5, 4, 3, 2, 1, 0}));
    EXPECT_EQ(Upright(4), (Pixels{3, 4, 5, 0, 1, 2}));
    // Two wide, three high from here on.
    EXPECT_EQ(Upright(5), (Pixels{0, 3, 1, 4, 2, 5}));
    EXPECT_EQ(Upright(6), (Pixels{3, 0, 4, 1, 5, 2}));
    EXPECT_EQ(Upright(7), (Pixels{5, 2, 4, 1, 3, 0}));
    EXPECT_EQ(Upright(8), (Pixels{2, 5, 1, 4, 0, 3}));
}

std::uint32_t Grey(std::uint32_t level) {
    return 0xFF000000u | level << 16 | level << 8 | level;
}

std::vector<std::uint32_t> Resampled(std::vector<std::uint32_t> source, int width, int height,
                                     int to_width, int to_height) {
    std::vector<std::uint32_t> target(static_cast<std::size_t>(to_width) * to_height);
    Resample({source.data(), width, height, width}, {target.data(), to_width, to_height, to_width});
    return target;
}

TEST(Resample, AveragesTheAreaOfEachTargetPixelWhenShrinking) {
    // A checkerboard of black and white becomes even grey, not one of its squares.
    std::vector<std::uint32_t> board;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            board.push_back(Grey((x + y) % 2 == 0 ? 0 : 255));
        }
    }
    for (std::uint32_t pixel : Resampled(board, 8, 8, 2, 2)) {
        EXPECT_NEAR(static_cast<int>(pixel & 0xFF), 128, 1);
        EXPECT_EQ(pixel >> 24, 0xFFu);
    }
    // Three to two: the middle pixel is shared by both halves.
    const auto thirds = Resampled({Grey(0), Grey(90), Grey(180)}, 3, 1, 2, 1);
    EXPECT_NEAR(static_cast<int>(thirds[0] & 0xFF), 30, 1);   // (0 + 90 / 2) / 1.5
    EXPECT_NEAR(static_cast<int>(thirds[1] & 0xFF), 150, 1);  // (90 / 2 + 180) / 1.5
}

TEST(Resample, KeepsPixelsAtTheSameSizeAndBlendsWhenGrowing) {
    const std::vector<std::uint32_t> picture{Grey(10), Grey(200), Grey(30), Grey(40)};
    EXPECT_EQ(Resampled(picture, 2, 2, 2, 2), picture);
    const auto grown = Resampled({Grey(0), Grey(200)}, 2, 1, 4, 1);
    EXPECT_EQ(grown[0] & 0xFF, 0u);
    EXPECT_EQ(grown[1] & 0xFF, 50u);
    EXPECT_EQ(grown[2] & 0xFF, 150u);
    EXPECT_EQ(grown[3] & 0xFF, 200u);
}

TEST(Resample, KeepsTransparencyPremultiplied) {
    // Half transparent red next to fully transparent: the blend stays a valid premultiplied
    // colour (no channel above its alpha).
    const auto blended = Resampled({0x80800000u, 0x00000000u}, 2, 1, 1, 1);
    EXPECT_EQ(blended[0] >> 24, 0x40u);
    EXPECT_EQ((blended[0] >> 16) & 0xFF, 0x40u);
    EXPECT_EQ(blended[0] & 0xFFFF, 0u);
}

// Blue, green, red bytes of a picture whose pixel (x, y) has levels that differ everywhere.
std::vector<std::uint8_t> BgrPicture(int width, int height) {
    std::vector<std::uint8_t> bytes;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bytes.push_back(static_cast<std::uint8_t>(x * 7 + y * 3));
            bytes.push_back(static_cast<std::uint8_t>(x * y));
            bytes.push_back(static_cast<std::uint8_t>(255 - x - y));
        }
    }
    return bytes;
}

std::vector<std::uint32_t> Reduced(const std::vector<std::uint8_t>& bgr, int width, int height,
                                   int to_width, int to_height, int band) {
    std::vector<std::uint32_t> target(static_cast<std::size_t>(to_width) * to_height, 0xDEADBEEF);
    AreaReducer reducer(width, height, SourceLayout::Bgr24,
                        {target.data(), to_width, to_height, to_width});
    for (int y = 0; y < height; y += band) {
        reducer.AddRows(bgr.data() + static_cast<std::size_t>(y) * width * 3,
                        std::min(band, height - y), width * 3);
    }
    return target;
}

TEST(AreaReducer, GivesTheSamePictureWhateverBandsTheRowsComeIn) {
    const auto picture = BgrPicture(61, 47);
    const auto whole = Reduced(picture, 61, 47, 19, 14, 47);
    EXPECT_EQ(Reduced(picture, 61, 47, 19, 14, 1), whole);
    EXPECT_EQ(Reduced(picture, 61, 47, 19, 14, 5), whole);
    for (std::uint32_t pixel : whole) {
        EXPECT_EQ(pixel >> 24, 0xFFu) << "colours without alpha come out opaque";
    }
}

TEST(AreaReducer, AveragesTheAreaOfEachTargetPixel) {
    // Two by two blocks of four different colours become their average.
    const std::vector<std::uint8_t> block{0,  100, 200, 255, 100, 0,  //
                                          10, 20,  30,  50,  60,  70};
    const auto one = Reduced(block, 2, 2, 1, 1, 2);
    EXPECT_EQ(one[0], 0xFF000000u | (75u << 16) | (70u << 8) | 79u);  // 78.75 rounds to 79
    // Three columns onto two: the middle one is shared by both halves.
    const std::vector<std::uint8_t> thirds{0, 0, 0, 90, 90, 90, 180, 180, 180};
    const auto two = Reduced(thirds, 3, 1, 2, 1, 1);
    EXPECT_EQ(two[0] & 0xFF, 30u);
    EXPECT_EQ(two[1] & 0xFF, 150u);
}

TEST(AreaReducer, VeryTallPicturesAddUpWithoutOverflowing) {
    // 100000 rows onto one: beyond what 32-bit sums of eight-bit weights hold.
    std::vector<std::uint8_t> column;
    for (int y = 0; y < 100000; ++y) {
        const std::uint8_t level = y % 2 == 0 ? 255 : 0;
        column.insert(column.end(), {level, 255, 0});
    }
    const auto one = Reduced(column, 1, 100000, 1, 1, 4096);
    EXPECT_NEAR(static_cast<int>(one[0] & 0xFF), 128, 1);
    EXPECT_EQ((one[0] >> 8) & 0xFF, 255u);
    EXPECT_EQ((one[0] >> 16) & 0xFF, 0u);
}

TEST(Premultiply, ScalesTheColoursByTheirAlpha) {
    std::vector<std::uint8_t> pixels{200, 100, 50, 128, 200, 100, 50, 255, 200, 100, 50, 0};
    Premultiply(pixels.data(), 3);
    EXPECT_EQ(pixels, (std::vector<std::uint8_t>{100, 50, 25, 128, 200, 100, 50, 255, 0, 0, 0, 0}));
}

}  // namespace
}  // namespace kivo::forms
