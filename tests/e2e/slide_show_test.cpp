// The slides on screen: where each picture lands, and one file shown at every tick without a
// flash of black between.
#include <algorithm>
#include <utility>
#include <vector>

#include "kivo_test.h"

namespace kivo::e2e {
namespace {

constexpr std::uint32_t kRed = 0xDC1E1E;
constexpr std::uint32_t kGreen = 0x1EC83C;

// A picture's size in pixels (15 twips each on the test display) and where it must land.
struct Landing {
    int width, height;
    LONG left, top, right, bottom;  // on the screen, right and bottom exclusive
};

// Where the red run of a line of pixels begins and ends (exclusive).
std::pair<LONG, LONG> RedRun(const std::vector<std::uint32_t>& line) {
    const auto red = [](std::uint32_t pixel) { return ColoursClose(pixel, kRed, 24); };
    return {std::find_if(line.begin(), line.end(), red) - line.begin(),
            line.rend() - std::find_if(line.rbegin(), line.rend(), red)};
}

class SlideLandingTest : public KivoTest, public ::testing::WithParamInterface<Landing> {};

TEST_P(SlideLandingTest, CoversExactlyItsRectangle) {
    const Landing& p = GetParam();
    AddPicture(L"slide.bmp", test::SolidBmp(p.width, p.height, kRed));
    ScopedProcess saver = StartSaver(L"0.2");
    ASSERT_TRUE(WaitForPixel(kScreenCentre, kRed, 10s));
    const LONG middleX = (p.left + p.right) / 2;
    const LONG middleY = (std::max(p.top, 0L) + std::min(p.bottom, 768L)) / 2;
    EXPECT_EQ(RedRun(ScreenPixels({0, middleY, 1024, middleY + 1})), std::pair(p.left, p.right));
    EXPECT_EQ(RedRun(ScreenPixels({middleX, 0, middleX + 1, 768})),
              std::pair(std::max(p.top, 0L), std::min(p.bottom, 768L)));
}

INSTANTIATE_TEST_SUITE_P(OnThe1024By768Screen, SlideLandingTest,
                         ::testing::Values(Landing{400, 300, 312, 234, 712, 534},   // own size
                                           Landing{2000, 1000, 0, 128, 1024, 640},  // to the width
                                           Landing{600, 1200, 320, 0, 704, 768}),   // to the height
                         [](const auto& info) {
                             return std::to_string(info.param.width) + "x" +
                                    std::to_string(info.param.height);
                         });

using SlideShowTest = KivoTest;

TEST_F(SlideShowTest, OneFileStaysOnScreenAtEveryTickWithoutFlashingBlack) {
    AddPicture(L"only.bmp", test::SolidBmp(300, 300, kGreen));
    ScopedProcess saver = StartSaver(L"0.2");
    ASSERT_TRUE(WaitForPixel(kScreenCentre, kGreen, 10s));
    const auto seen = WatchPixel(kScreenCentre, 1200ms);  // about six ticks
    EXPECT_EQ(seen.size(), 1u) << "the centre changed to " << std::hex << seen.back().colour;
}

}  // namespace
}  // namespace kivo::e2e
