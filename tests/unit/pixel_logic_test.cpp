// The pixel arithmetic of picture loading: decode sizes, turning pictures upright, resampling and
// area reduction.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "forms_runtime/pixels/area_reducer.h"
#include "forms_runtime/pixels/decode_size.h"
#include "forms_runtime/pixels/pixel_orientation.h"
#include "forms_runtime/pixels/pixel_resampler.h"

namespace kivo::forms {
namespace {

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
    struct Case {
        int width, height, to_width, to_height;
        std::vector<int> levels, expected;
    };
    // clang-format off
    const std::vector<Case> cases = {
        {2, 2, 1, 1, {0, 255, 255, 0},       {128}},               // grey, not one square
        {3, 1, 2, 1, {0, 90, 180},           {30, 150}},           // the middle one is shared
        {1, 3, 1, 2, {0, 90, 180},           {30, 150}},
        {5, 1, 2, 1, {0, 50, 100, 150, 200}, {40, 160}},
        {2, 2, 2, 2, {10, 200, 30, 40},      {10, 200, 30, 40}},   // pixels land as they are
        {2, 1, 4, 1, {0, 200},               {0, 50, 150, 200}},
        {3, 1, 2, 2, {0, 90, 180},           {30, 150, 30, 150}}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height << " to " << c.to_width
                                          << " x " << c.to_height);
        std::vector<std::uint32_t> source;
        std::transform(c.levels.begin(), c.levels.end(), std::back_inserter(source), Pixel);
        std::vector<std::uint32_t> resampled(c.expected.size());
        Resample({source.data(), c.width, c.height, c.width},
                 {resampled.data(), c.to_width, c.to_height, c.to_width});
        ExpectLevels(resampled, c.expected);
        for (int band = 1; band <= 2 && c.to_width <= c.width && c.to_height <= c.height; ++band) {
            ExpectLevels(Reduce(source, c.width, c.height, c.to_width, c.to_height, band),
                         c.expected);
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
