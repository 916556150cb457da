// The covers over the monitors other than the primary.
#include <gtest/gtest.h>

#include <tuple>

#include "saver_window/frmScreenSaver.h"
#include "startup/module/covers.h"
#include "tests/unit/saver_harness.h"

namespace kivo::testing {
namespace {

using startup::CoverRectangles;
using startup::Monitor;
using startup::PixelRect;
using Rects = std::vector<PixelRect>;

constexpr PixelRect kPrimary{0, 0, 1024, 768};
constexpr PixelRect kRight{1024, 0, 1824, 600};
constexpr PixelRect kLeft{-1920, -200, 0, 880};
constexpr PixelRect kAbove{0, -1080, 1920, 0};

Monitor On(PixelRect rect, bool primary = false, int dpi = 96) {
    return {rect, dpi, primary};
}

TEST(CoverRectanglesTest, EveryMonitorButThePrimaryOnce) {
    const Monitor primary = On(kPrimary, true);
    const std::vector<std::tuple<const char*, std::vector<Monitor>, Rects>> cases = {
        {"one monitor", {primary}, {}},
        {"two", {primary, On(kRight)}, {kRight}},
        {"left of and above the primary", {On(kLeft), primary, On(kAbove)}, {kLeft, kAbove}},
        {"mixed DPI: the monitor's own pixels, unscaled",
         {On({0, 0, 1920, 1080}, true), On({1920, -300, 5760, 1860}, false, 192)},
         {{1920, -300, 5760, 1860}}},
        {"none flagged: the one at 0,0 is the primary",
         {On(kRight, false, 120), On(kPrimary)},
         {kRight}},
        {"a mirror of the primary, an empty monitor, a repeated one",
         {primary, On(kPrimary, false, 144), On({0, 0, 800, 600}), On({2000, 0, 2000, 600}),
          On(kRight), On(kRight)},
         {kRight}},
    };
    for (const auto& [name, monitors, covers] : cases) {
        EXPECT_EQ(CoverRectangles(monitors), covers) << name;
    }
}

// The full-screen show covers the others as it starts (MainTest) and as the monitors change.
TEST(MonitorCoversTest, FullScreenCoversFollowTheMonitors) {
    SaverHarness saver;
    saver.Open<saver_window::frmScreenSaver>("/s");
    ASSERT_TRUE(saver.system.monitors_changed);
    saver.system.monitors = {On(kLeft), On(kPrimary, true), On(kAbove, false, 120)};
    saver.system.monitors_changed();
    EXPECT_EQ(saver.system.covers, (Rects{kLeft, kAbove}));
    saver.system.monitors = {On(kPrimary, true)};
    saver.system.monitors_changed();
    EXPECT_EQ(saver.system.covers, Rects{});
}

}  // namespace
}  // namespace kivo::testing
