#include <gtest/gtest.h>

#include "startup/dialog_placement.h"

namespace kivo::startup {
namespace {

// A 6000 x 4000 twips dialog on a 15360 x 11520 twips screen at 15 twips per pixel.
struct Placement {
    float left;
    float top;
};

Placement Place(std::int32_t x, std::int32_t y) {
    return {DialogEdge(x, 15, 15360, 6000), DialogEdge(y, 15, 11520, 4000)};
}

TEST(DialogPlacementTest, StandsUpAndLeftOfThePointer) {
    const Placement at = Place(500, 400);
    EXPECT_EQ(at.left, 4800);
    EXPECT_EQ(at.top, 3300);
}

TEST(DialogPlacementTest, NearTheTopLeftCornerItStaysOnTheScreen) {
    const Placement at = Place(100, 50);
    EXPECT_EQ(at.left, 0);
    EXPECT_EQ(at.top, 0);
}

TEST(DialogPlacementTest, NearTheBottomRightCornerItEndsAtTheScreensEdge) {
    const Placement at = Place(1000, 700);
    EXPECT_EQ(at.left, 9360);
    EXPECT_EQ(at.top, 7520);
    const Placement fallback = Place(1500, 1500);  // the position assumed without a pointer
    EXPECT_EQ(fallback.left, 9360);
    EXPECT_EQ(fallback.top, 7520);
}

TEST(DialogPlacementTest, AtExactlyTheLastFittingEdgeTheLeftRuleApplies) {
    // L = 15 * (804 - 180) = 9360 = R: not strictly beyond, so L stands.
    EXPECT_EQ(DialogEdge(804, 15, 15360, 6000), 9360);
}

TEST(DialogPlacementTest, DialogWiderThanTheScreenGoesNegative) {
    // R = 15360 - 20000 < L: the right-edge rule wins, and 0 is not enforced then.
    EXPECT_EQ(DialogEdge(180, 15, 15360, 20000), -4640);
    EXPECT_EQ(DialogEdge(500, 15, 15360, 20000), -4640);
}

TEST(DialogPlacementTest, RoundsTheProductHalfToEven) {
    // 1.5 twips per pixel: 1.5 * 1 = 1.5 -> 2, 1.5 * 3 = 4.5 -> 4.
    EXPECT_EQ(DialogEdge(181, 1.5f, 15360, 6000), 2);
    EXPECT_EQ(DialogEdge(183, 1.5f, 15360, 6000), 4);
}

}  // namespace
}  // namespace kivo::startup
