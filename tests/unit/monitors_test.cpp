// The covers over the monitors other than the primary, and the lock that lets one saver run.
#include <gtest/gtest.h>

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

struct CoverCase {
    const char* name;
    std::vector<Monitor> monitors;
    Rects covers;
};

TEST(CoverRectanglesTest, EveryMonitorButThePrimaryOnce) {
    const std::vector<CoverCase> cases = {
        {"one monitor", {{kPrimary, 96, true}}, {}},
        {"two", {{kPrimary, 96, true}, {kRight, 96, false}}, {kRight}},
        {"three, left of and above the primary",
         {{kLeft, 96, false}, {kPrimary, 96, true}, {kAbove, 96, false}},
         {kLeft, kAbove}},
        {"mixed DPI: the monitor's own pixels, unscaled",
         {{{0, 0, 1920, 1080}, 96, true}, {{1920, -300, 5760, 1860}, 192, false}},
         {{1920, -300, 5760, 1860}}},
        {"no monitor flagged: the one at 0,0 is the primary",
         {{kRight, 120, false}, {kPrimary, 96, false}},
         {kRight}},
        {"a mirror of the primary, an empty monitor, a repeated one",
         {{kPrimary, 96, true},
          {kPrimary, 144, false},
          {{0, 0, 800, 600}, 96, false},
          {{2000, 0, 2000, 600}, 96, false},
          {kRight, 96, false},
          {kRight, 96, false}},
         {kRight}},
    };
    for (const CoverCase& c : cases) {
        EXPECT_EQ(CoverRectangles(c.monitors), c.covers) << c.name;
    }
}

TEST(MonitorCoversTest, FullScreenCoversTheOthersAndFollowsThem) {
    SaverHarness saver;
    saver.system.monitors = {{kPrimary, 96, true}, {kRight, 96, false}};
    saver.Start("/s");
    const auto* form = saver.Loaded<saver_window::frmScreenSaver>();
    ASSERT_NE(form, nullptr);

    EXPECT_TRUE(saver.system.Called("ShowCovers " + std::to_string(form->hWnd()) + " 1"));
    EXPECT_EQ(saver.system.covers, Rects{kRight});
    ASSERT_TRUE(saver.system.monitors_changed);

    saver.system.monitors = {{kLeft, 96, false}, {kPrimary, 96, true}, {kAbove, 120, false}};
    saver.system.monitors_changed();
    EXPECT_EQ(saver.system.covers, (Rects{kLeft, kAbove}));
    saver.system.monitors = {{kPrimary, 96, true}};
    saver.system.monitors_changed();
    EXPECT_EQ(saver.system.covers, Rects{});
}

struct LockCase {
    const char* arguments;
    const char* lock_call;  // what Main asks first
    bool takes;             // whether the lock is then this copy's
};

// Each mode: held, the lock stops it before anything else; free, the titled modes take it, and
// only the full-screen show covers monitors.
TEST(SaverLockTest, TitledModesTakeItEveryModeStopsWhenHeld) {
    const std::vector<LockCase> cases = {
        {"/s", "TakeSaverLock", true},       {"/c", "TakeSaverLock", true},
        {"", "TakeSaverLock", true},         {"/p 1234", "SaverLockHeld", false},
        {"/a 1234", "SaverLockHeld", false}, {"/x", "SaverLockHeld", false},
    };
    for (const LockCase& c : cases) {
        SaverHarness held;
        held.system.saver_lock_held = true;
        held.Start(c.arguments);
        EXPECT_EQ(held.system.calls, std::vector<std::string>{c.lock_call}) << c.arguments;
        EXPECT_TRUE(held.app.forms().empty()) << c.arguments;
        EXPECT_EQ(held.module.RunMode, "") << c.arguments;

        SaverHarness free;
        free.Start(c.arguments);
        ASSERT_GE(free.system.calls.size(), 2u) << c.arguments;
        EXPECT_EQ(free.system.calls[0], c.lock_call) << c.arguments;
        EXPECT_EQ(free.system.calls[1], "FindWindow ScreenSaver ボール(Sample)")
            << "the probe still runs: " << c.arguments;
        EXPECT_EQ(free.system.saver_lock_taken, c.takes) << c.arguments;
        EXPECT_EQ(free.system.monitors_changed != nullptr, c.arguments == std::string("/s"))
            << c.arguments;
    }
}

}  // namespace
}  // namespace kivo::testing
