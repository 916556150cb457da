// The covers over the monitors other than the primary, and the lock that lets one saver run.
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

TEST(MonitorCoversTest, FullScreenCoversTheOthersAndFollowsThem) {
    SaverHarness saver;
    saver.system.monitors = {On(kPrimary, true), On(kRight)};
    const auto& form = saver.Open<saver_window::frmScreenSaver>("/s");
    EXPECT_TRUE(saver.system.Called("ShowCovers " + std::to_string(form.hWnd()) + " 1"));
    EXPECT_EQ(saver.system.covers, Rects{kRight});
    ASSERT_TRUE(saver.system.monitors_changed);

    saver.system.monitors = {On(kLeft), On(kPrimary, true), On(kAbove, false, 120)};
    saver.system.monitors_changed();
    EXPECT_EQ(saver.system.covers, (Rects{kLeft, kAbove}));
    saver.system.monitors = {On(kPrimary, true)};
    saver.system.monitors_changed();
    EXPECT_EQ(saver.system.covers, Rects{});
}

// Each mode, with what Main asks first and whether the lock is then this copy's: held, the lock
// stops it before anything else; free, the titled modes take it, and only the full-screen show
// covers monitors.
TEST(SaverLockTest, TitledModesTakeItEveryModeStopsWhenHeld) {
    const std::vector<std::tuple<std::string, const char*, bool>> cases = {
        {"/s", "TakeSaverLock", true},       {"/c", "TakeSaverLock", true},
        {"", "TakeSaverLock", true},         {"/p 1234", "SaverLockHeld", false},
        {"/a 1234", "SaverLockHeld", false}, {"/x", "SaverLockHeld", false},
    };
    for (const auto& [arguments, lock_call, takes] : cases) {
        SCOPED_TRACE(arguments);
        SaverHarness held;
        held.system.saver_lock_held = true;
        held.Start(arguments);
        EXPECT_EQ(held.system.calls,
                  (std::vector<std::string>{lock_call, "LetGo", "process ends"}));
        EXPECT_TRUE(held.app.forms().empty());
        EXPECT_EQ(held.module.RunMode, "");

        SaverHarness free;
        free.Start(arguments);
        ASSERT_GE(free.system.calls.size(), 2u);
        EXPECT_EQ(free.system.calls[0], lock_call);
        EXPECT_EQ(free.system.calls[1], "FindWindow ScreenSaver ボール(Sample)")
            << "the probe still runs";
        EXPECT_EQ(free.system.saver_lock_taken, takes);
        EXPECT_EQ(free.system.monitors_changed != nullptr, arguments == "/s") << arguments;
        EXPECT_EQ(free.system.Called("WatchDisplays"), arguments == "/s") << arguments;
    }
}

}  // namespace
}  // namespace kivo::testing
