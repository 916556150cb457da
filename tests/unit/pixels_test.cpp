#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "forms_runtime/pixels/area_reducer.h"
#include "forms_runtime/pixels/decode_size.h"
#include "forms_runtime/pixels/exif_orientation.h"
#include "forms_runtime/pixels/picture_header.h"
#include "forms_runtime/pixels/pixel_orientation.h"
#include "forms_runtime/pixels/pixel_resampler.h"

namespace kivo::forms {
namespace {

std::string Le(std::uint64_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return out;
}

std::string Be(std::uint64_t value, int bytes) {
    const std::string out = Le(value, bytes);
    return {out.rbegin(), out.rend()};
}

std::string Pad(std::string bytes, std::size_t size) {
    bytes.resize(size, '\0');
    return bytes;
}

std::string Bitmap(std::int64_t width, std::int64_t height, std::uint32_t bits_at = 54) {
    return Pad("BM" + Le(100, 4) + Le(0, 4) + Le(bits_at, 4) + Le(40, 4) + Le(width, 4) +
                   Le(height, 4) + Le(1, 2) + Le(24, 2),
               100);
}

std::string Segment(int marker, const std::string& body) {
    return "\xFF" + Le(marker, 1) + Be(body.size() + 2, 2) + body;
}

std::string Frame(int marker, int width, int height) {
    return Segment(marker, "\x08" + Be(height, 2) + Be(width, 2) + Pad("\x03", 10));
}

std::string Jpeg(const std::string& segments) {
    return "\xFF\xD8" + segments + "\xFF\xD9";
}

const std::string kApp0 = Segment(0xE0, Pad("JFIF", 12));

std::string Gif(int width, int height, const std::string& blocks) {
    return "GIF89a" + Le(width, 2) + Le(height, 2) + Pad("", 3) + blocks + ";";
}

std::string GifImage(int left, int width, int height) {
    return "," + Le(left, 2) + Le(0, 2) + Le(width, 2) + Le(height, 2) + Pad("", 1);
}

std::string Png(std::uint32_t width, std::uint32_t height, std::uint32_t length = 13) {
    return "\x89PNG\r\n\x1a\n" + Be(length, 4) + "IHDR" + Be(width, 4) + Be(height, 4) + Pad("", 9);
}

// A TIFF of one directory with these entries (tag, type, value), at `first`, then `next`.
std::string Tiff(const std::vector<std::array<std::uint32_t, 3>>& entries, std::uint32_t next,
                 std::uint32_t first = 8, bool big_endian = false) {
    const auto n = [&](std::uint64_t v, int bytes) {
        return big_endian ? Be(v, bytes) : Le(v, bytes);
    };
    std::string out = (big_endian ? "MM" : "II") + n(42, 2) + n(first, 4) + n(entries.size(), 2);
    for (const auto& [tag, type, value] : entries) {
        out += n(tag, 2) + n(type, 2) + n(1, 4) + (type == 3 ? n(value, 2) + n(0, 2) : n(value, 4));
    }
    return Pad(out + n(next, 4), out.size() + 20);
}

// An icon (type 1) or cursor (2) file with one bitmap image per size; `planes` of the images.
std::string Icon(int type, const std::vector<int>& sides, int planes = 1,
                 std::uint32_t size = 104) {
    std::string out = Le(0, 2) + Le(type, 2) + Le(sides.size(), 2);
    std::string images;
    for (int side : sides) {
        out += Le(side, 1) + Le(side, 1) + Pad("", 6) + Le(size, 4) +
               Le(6 + 16 * sides.size() + images.size(), 4);
        images += Pad(Le(40, 4) + Le(side, 4) + Le(2 * side, 4) + Le(planes, 2) + Le(32, 2), 104);
    }
    return out + images;
}

std::string Placeable(int per_inch, const std::string& records) {
    return Le(0x9AC6CDD7, 4) + Le(0, 6) + Le(1440, 2) + Le(720, 2) + Le(per_inch, 2) + Le(0, 6) +
           Le(1, 2) + Le(9, 2) + Le(0x300, 2) + Pad("", 12) + records;
}

const std::string kWmfEnd = Pad(Le(3, 4), 6);

std::string Emf(std::uint32_t frame, const std::string& records) {
    return Pad(Le(1, 4) + Le(88, 4) + Pad("", 24) + Le(frame, 4) + Le(frame / 2, 4) +
                   Le(0x464D4520, 4),
               88) +
           records;
}

std::string EmfRecord(std::uint32_t size) {
    return Pad(Le(70, 4) + Le(size, 4), std::max(size, 8u));
}

const std::string kEmfEnd = Pad(Le(14, 4) + Le(20, 4), 20);

// Each case's claim. Claims beyond the pixel limit, records of size 0, and any damage to these
// bytes are the picture_header and metafile_records fuzz targets' (tests/fuzz).
TEST(PictureHeader, ReadsWhatEachFormatClaimsAndRefusesWhatDoesNotFit) {
    using F = PictureFormat;
    const std::string cut_emf = Le(70, 4) + Le(4000, 4) + kEmfEnd;
    const struct Case {
        const char* name;
        std::string bytes;
        PictureFormat format;
        bool sound;
        std::int64_t width = 0, height = 0;
    } cases[] = {
        {"bitmap", Bitmap(3, 2), F::Bitmap, true, 3, 2},
        {"bitmap stored top-down", Bitmap(3, -2), F::Bitmap, true, 3, 2},
        {"bitmap pixels past the end", Bitmap(3, 2, 5000), F::Bitmap, false},
        {"bitmap cut in its header", Bitmap(3, 2).substr(0, 20), F::Bitmap, false},
        {"jpeg", Jpeg(kApp0 + Frame(0xC0, 640, 480)), F::Jpeg, true, 640, 480},
        {"fill, progressive", Jpeg("\xFF\xFF\xFF" + Frame(0xC2, 64, 48)), F::Jpeg, true, 64, 48},
        {"jpeg height given later", Jpeg(Frame(0xC0, 640, 0)), F::Jpeg, false},
        {"jpeg scan before a frame", Jpeg("\xFF\xDA" + Be(8, 2) + Pad("", 6)), F::Jpeg, false},
        {"jpeg, empty segment", Jpeg("\xFF\xE1" + Be(0, 2) + Frame(0xC0, 8, 8)), F::Jpeg, false},
        {"jpeg cut in its frame", Jpeg(Frame(0xC0, 8, 8)).substr(0, 9), F::Jpeg, false},
        {"gif", Gif(10, 20, GifImage(0, 10, 20)), F::Gif, true, 10, 20},
        {"gif, extension first", Gif(10, 20, "!\xF9\x04" + Pad("", 5) + GifImage(0, 5, 5)), F::Gif,
         true, 10, 20},
        {"gif image off its screen", Gif(10, 20, GifImage(60000, 20000, 60000)), F::Gif, false},
        {"gif without an image", Gif(10, 20, "!\xFE\x05" + std::string("abc")), F::Gif, false},
        {"png", Png(4000, 3000), F::Png, true, 4000, 3000},
        {"png header of length 12", Png(10, 10, 12), F::Png, false},
        {"tiff", Tiff({{256, 3, 30}, {257, 4, 20}}, 0), F::Tiff, true, 30, 20},
        {"tiff, big-endian", Tiff({{256, 3, 30}, {257, 4, 20}}, 0, 8, true), F::Tiff, true, 30, 20},
        {"tiff chained to itself", Tiff({{256, 3, 30}, {257, 3, 20}}, 8), F::Tiff, false},
        {"tiff, exif loops", Tiff({{256, 3, 30}, {257, 3, 20}, {34665, 4, 8}}, 0), F::Tiff, false},
        {"tiff next past the end", Tiff({{256, 3, 30}, {257, 3, 20}}, 4000), F::Tiff, false},
        {"tiff first past the end", Tiff({{256, 3, 30}}, 0, 900), F::Tiff, false},
        {"icon: the largest image", Icon(1, {16, 48, 32}), F::Icon, true, 48, 48},
        {"cursor", Icon(2, {32}), F::Cursor, true, 32, 32},
        {"cursor of no planes", Icon(2, {32}, 0), F::Cursor, false},
        {"icon image past the end", Icon(1, {16}, 1, 5000), F::Icon, false},
        {"icon of no images", Icon(1, {}), F::Icon, false},
        {"placeable", Placeable(1440, Pad(Le(4, 4) + Le(0x201, 2), 8) + kWmfEnd),
         F::WindowsMetafile, true, 96, 48},
        {"placeable, record cut", Placeable(1440, Le(4000, 4) + Le(0x201, 2) + kWmfEnd),
         F::WindowsMetafile, false},
        {"placeable of no units", Placeable(0, kWmfEnd), F::WindowsMetafile, false},
        {"bare metafile", Le(1, 2) + Le(9, 2) + Pad("", 14) + kWmfEnd, F::WindowsMetafile, true},
        {"emf", Emf(2540, EmfRecord(12) + kEmfEnd), F::EnhancedMetafile, true, 96, 48},
        {"emf, record of 10", Emf(2540, EmfRecord(10) + kEmfEnd), F::EnhancedMetafile, false},
        {"emf, record past the end", Emf(2540, cut_emf), F::EnhancedMetafile, false},
        {"emf without an end", Emf(2540, EmfRecord(12)), F::EnhancedMetafile, false},
        {"random bytes", "not a picture at all", F::Unknown, false},
        {"empty", "", F::Unknown, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryBytes file(c.bytes);
        const PictureHeader header = ReadPictureHeader(file);
        EXPECT_EQ(header.format, c.format);
        EXPECT_EQ(header.sound, c.sound);
        if (c.sound) {
            EXPECT_EQ((std::array{header.width, header.height}), (std::array{c.width, c.height}));
        }
    }
}

// The camera's orientation: in either byte order, before the image data only, whole or cut short
// anywhere (no orientation or the right one then, and no read beyond the bytes).
TEST(JpegExifOrientation, ReadsEitherByteOrderBeforeTheImageDataOnly) {
    const auto exif = [](std::uint32_t orientation, bool big_endian = false) {
        return Segment(0xE1,
                       std::string("Exif\0\0", 6) +
                           Tiff({{0x100, 3, 640}, {0x112, 3, orientation}}, 0, 8, big_endian));
    };
    const std::vector<std::pair<std::string, int>> heads = {
        {Jpeg(kApp0 + exif(6)), 6},
        {Jpeg(exif(8, true)), 8},
        {Jpeg(""), 0},
        {"not a picture at all", 0},
        {Jpeg("\xFF\xDA" + Be(2, 2) + exif(6)), 0},  // after the image data
        {Jpeg(exif(9)), 0}};                         // no such orientation
    for (const auto& [head, orientation] : heads) {
        EXPECT_EQ(JpegExifOrientation(head), orientation) << ::testing::PrintToString(head);
    }
    const std::string whole = Jpeg(exif(3, true));
    for (std::size_t length = 0; length < whole.size(); ++length) {
        const int found = JpegExifOrientation(std::string_view(whole).substr(0, length));
        EXPECT_TRUE(found == 0 || found == 3) << length;
    }
}

TEST(DecodeSize, DecodesAtTheScaleShownWhenItIsBelowOne) {
    EXPECT_EQ(DecodeSize({800, 600}, {}), (PictureSize{800, 600})) << "no hint";
    // clang-format off
    const std::vector<std::pair<double, PictureSize>> cases = {
        {1, {800, 600}},
        {0.8, {640, 480}},
        {1.0 / 3, {267, 200}}};  // each side to the nearest pixel; other scales: tests/fuzz
    // clang-format on
    for (const auto& [scale, decoded] : cases) {
        // A hint asked with anything but the natural size says 0.9.
        const DecodeHint hint{[scale](int w, int h) { return w == 800 && h == 600 ? scale : 0.9; }};
        EXPECT_EQ(DecodeSize({800, 600}, hint), decoded) << scale;
    }
}

TEST(MakeUpright, TurnsAndMirrorsAsEachCameraOrientationSays) {
    // A 3 x 2 picture whose pixels are their own numbers: 0 1 2 / 3 4 5. From orientation 5 on
    // the upright picture is 2 wide and 3 high.
    const std::vector<std::vector<std::uint32_t>> upright = {
        {0, 1, 2, 3, 4, 5}, {2, 1, 0, 5, 4, 3}, {5, 4, 3, 2, 1, 0}, {3, 4, 5, 0, 1, 2},
        {0, 3, 1, 4, 2, 5}, {3, 0, 4, 1, 5, 2}, {5, 2, 4, 1, 3, 0}, {2, 5, 1, 4, 0, 3}};
    for (int orientation = 1; orientation <= 8; ++orientation) {
        std::vector<std::uint32_t> stored{0, 1, 2, 3, 4, 5};
        std::vector<std::uint32_t> turned(6, 99);
        const int width = SwapsSides(orientation) ? 2 : 3;
        MakeUpright({stored.data(), 3, 2, 3}, orientation,
                    {turned.data(), width, 6 / width, width});
        EXPECT_EQ(turned, upright[orientation - 1]) << orientation;
    }
}

// An opaque pixel for a level whose channels differ, so that a channel read from the wrong place
// shows: blue the level, green 64, red the level's complement.
std::uint32_t Pixel(std::uint32_t level) {
    return 0xFF000000u | (255 - level) << 16 | 64u << 8 | level;
}

// `source` through the area reducer, as three-byte pixels, `band` rows at a time.
std::vector<std::uint32_t> Reduce(const std::vector<std::uint32_t>& source, int width, int height,
                                  int to_width, int to_height, int band) {
    std::vector<std::uint8_t> bytes;
    for (const std::uint32_t pixel : source) {
        for (int c = 0; c < 3; ++c) {
            bytes.push_back(static_cast<std::uint8_t>(pixel >> (8 * c)));
        }
    }
    std::vector<std::uint32_t> target(static_cast<std::size_t>(to_width) * to_height);
    AreaReducer reducer(width, height, SourceLayout::Bgr24,
                        {target.data(), to_width, to_height, to_width});
    for (int y = 0; y < height; y += band) {
        reducer.AddRows(bytes.data() + static_cast<std::size_t>(y) * width * 3,
                        std::min(band, height - y), width * 3);
    }
    return target;
}

void ExpectLevels(const std::vector<std::uint32_t>& pixels, const std::vector<int>& levels) {
    ASSERT_EQ(pixels.size(), levels.size());
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        for (const int shift : {0, 8, 16, 24}) {
            EXPECT_NEAR(pixels[i] >> shift & 0xFF, Pixel(levels[i]) >> shift & 0xFF, 1)
                << "pixel " << i << ", bits from " << shift;
        }
    }
}

// Shrinking, each target pixel is the average of the area it covers; growing, a blend of its
// neighbours. The area reducer shrinks as the resampler does, the rows in bands of any height.
TEST(PixelReduction, ShrinkingAveragesTheAreaGrowingBlends) {
    // clang-format off
    const std::vector<std::tuple<int, int, int, int, std::vector<int>, std::vector<int>>> cases = {
        {2, 2, 1, 1, {0, 255, 255, 0},       {128}},               // grey, not one square
        {3, 1, 2, 1, {0, 90, 180},           {30, 150}},           // the middle one is shared
        {1, 3, 1, 2, {0, 90, 180},           {30, 150}},
        {5, 1, 2, 1, {0, 50, 100, 150, 200}, {40, 160}},
        {2, 2, 2, 2, {10, 200, 30, 40},      {10, 200, 30, 40}},   // pixels land as they are
        {2, 1, 4, 1, {0, 200},               {0, 50, 150, 200}},
        {3, 1, 2, 2, {0, 90, 180},           {30, 150, 30, 150}}};
    // clang-format on
    for (const auto& [width, height, to_width, to_height, levels, expected] : cases) {
        SCOPED_TRACE(::testing::Message()
                     << width << " x " << height << " to " << to_width << " x " << to_height);
        std::vector<std::uint32_t> source;
        std::transform(levels.begin(), levels.end(), std::back_inserter(source), Pixel);
        std::vector<std::uint32_t> resampled(expected.size());
        Resample({source.data(), width, height, width},
                 {resampled.data(), to_width, to_height, to_width});
        ExpectLevels(resampled, expected);
        for (int band = 1; band <= 2 && to_width <= width && to_height <= height; ++band) {
            ExpectLevels(Reduce(source, width, height, to_width, to_height, band), expected);
        }
    }
}

TEST(PixelReduction, TallPicturesAddUpWithoutOverflowing) {
    for (const int height : {1000, 100000}) {  // beyond 16-bit sums, then beyond 32-bit ones
        std::vector<std::uint32_t> column;
        for (int y = 0; y < height; ++y) {
            column.push_back(Pixel(y % 2 == 0 ? 255 : 0));
        }
        ExpectLevels(Reduce(column, 1, height, 1, 1, 4096), {128});
    }
}

TEST(Resample, KeepsTransparencyPremultipliedAsPremultiplyMakesIt) {
    // Half transparent red beside fully transparent: no channel ends above its alpha.
    std::vector<std::uint32_t> source{0x80800000u, 0x00000000u};
    std::uint32_t blended = 0;
    Resample({source.data(), 2, 1, 2}, {&blended, 1, 1, 1});
    EXPECT_EQ(blended, 0x40400000u);
    std::vector<std::uint8_t> pixels{200, 100, 50, 128, 200, 100, 50, 255, 200, 100, 50, 0};
    Premultiply(pixels.data(), 3);
    EXPECT_EQ(pixels, (std::vector<std::uint8_t>{100, 50, 25, 128, 200, 100, 50, 255, 0, 0, 0, 0}));
}

}  // namespace
}  // namespace kivo::forms
