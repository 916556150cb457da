// A slide on screen: where a picture lands, and one file shown at every tick without a flash of
// black between.
#include <algorithm>
#include <utility>
#include <vector>

#include "kivo_test.h"

namespace kivo::e2e {
namespace {

constexpr std::uint32_t kRed = 0xDC1E1E;

// Where the red run of a line of pixels begins and ends (exclusive).
std::pair<LONG, LONG> RedRun(const std::vector<std::uint32_t>& line) {
    const auto red = [](std::uint32_t pixel) { return ColoursClose(pixel, kRed, 24); };
    return {std::find_if(line.begin(), line.end(), red) - line.begin(),
            line.rend() - std::find_if(line.rbegin(), line.rend(), red)};
}

using SlideShowTest = KivoTest;

TEST_F(SlideShowTest, AWidePictureFillsTheWidthCentredAndStaysAtEveryTickWithoutFlashingBlack) {
    AddPicture(L"only.bmp", test::SolidBmp(2000, 1000, kRed));
    ScopedProcess saver = StartSaver(L"0.2");
    ASSERT_TRUE(WaitForPixel(kScreenCentre, kRed, 10s));
    EXPECT_EQ(RedRun(ScreenPixels({0, 384, 1024, 385})), std::pair(0L, 1024L));
    EXPECT_EQ(RedRun(ScreenPixels({512, 0, 513, 768})), std::pair(128L, 640L));
    const auto changed = [] { return !ColoursClose(ScreenPixel(kScreenCentre), kRed); };
    EXPECT_FALSE(WaitUntil(changed, 1200ms)) << "the picture went at a tick";  // about six ticks
}

}  // namespace
}  // namespace kivo::e2e
