// A slide show window on every monitor: where they stand, how they follow the monitors, which
// files they show.
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "saver_window/frmScreenSaver.h"
#include "startup/module/monitor_areas.h"
#include "tests/unit/saver_harness.h"

namespace kivo::testing {
namespace {

using saver_window::frmScreenSaver;
using startup::Monitor;
using startup::OtherMonitorAreas;
using startup::PixelRect;
using Rects = std::vector<PixelRect>;

constexpr PixelRect kPrimary{0, 0, 1024, 768};
constexpr PixelRect kRight{1024, 0, 1824, 600};
constexpr PixelRect kLeft{-1920, -200, 0, 880};
constexpr PixelRect kAbove{0, -1080, 1920, 0};

Monitor On(PixelRect rect, bool primary = false, int dpi = 96) {
    return {rect, dpi, primary};
}

TEST(OtherMonitorAreasTest, EveryMonitorButThePrimaryOnce) {
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
    for (const auto& [name, monitors, areas] : cases) {
        EXPECT_EQ(OtherMonitorAreas(monitors), areas) << name;
    }
}

// Each window's rectangle in pixels (15 twips to the pixel), the leader's first.
Rects Placed(const SaverHarness& saver) {
    Rects placed;
    for (const auto& form : saver.app.forms()) {
        if (form->loaded()) {
            placed.push_back({static_cast<int>(form->Left / 15), static_cast<int>(form->Top / 15),
                              static_cast<int>((form->Left + form->Width) / 15),
                              static_cast<int>((form->Top + form->Height) / 15)});
        }
    }
    return placed;
}

// The others are untitled companions of the primary's window, and follow the monitors.
TEST(MonitorWindowsTest, FullScreenShowsAWindowOnEveryMonitorAndFollowsThem) {
    SaverHarness saver;
    saver.system.monitors = {On(kPrimary, true), On(kRight)};
    frmScreenSaver& leader = saver.Open<frmScreenSaver>("/s");
    EXPECT_EQ(Placed(saver), (Rects{kPrimary, kRight}));
    const auto& right = dynamic_cast<const frmScreenSaver&>(*saver.app.forms().back());
    EXPECT_TRUE(saver.system.Called("Accompany " + std::to_string(right.hWnd()) + " " +
                                    std::to_string(leader.hWnd())));
    EXPECT_EQ(right.Caption.get(), "");
    EXPECT_TRUE(right.shown());

    saver.system.monitors = {On(kLeft), On(kPrimary, true), On(kAbove, false, 120)};
    saver.system.monitors_changed();
    EXPECT_EQ(Placed(saver), (Rects{kPrimary, kLeft, kAbove}));
    saver.system.monitors = {On(kPrimary, true)};
    saver.system.monitors_changed();
    EXPECT_EQ(Placed(saver), Rects{kPrimary});
    EXPECT_TRUE(leader.loaded());
}

// At each tick every window changes; no two show one file while the folder has enough of them,
// nor does a window show its own previous file again when the folder has more than it needs.
TEST(MonitorWindowsTest, TheWindowsShowDifferentFilesAtEveryTick) {
    const std::vector<std::pair<int, int>> cases = {{2, 2}, {3, 2}, {3, 3}, {6, 3}, {2, 3}};
    for (const auto& [files, monitors] : cases) {
        SCOPED_TRACE(::testing::Message() << files << " files, " << monitors << " monitors");
        SaverHarness saver;
        saver.backend.files().AddFolder("C:\\Pics");
        saver.Store(settings::kFolderKey, "C:\\Pics");
        for (int n = 0; n < files; ++n) {
            saver.backend.files().AddFile("C:\\Pics\\" + std::to_string(n) + ".bmp",
                                          forms::headless::MakeBmp(4, 4));
        }
        saver.system.monitors = {On(kPrimary, true), On(kRight), On(kLeft)};
        saver.system.monitors.resize(monitors);
        frmScreenSaver& leader = saver.Open<frmScreenSaver>("/s");
        std::vector<std::string> before(monitors);
        for (int tick = 0; tick < 12; ++tick) {
            saver.backend.Tick(saver.app, leader.Timer);
            std::set<std::string> shown;
            for (int m = 0; m < monitors; ++m) {
                const auto& window = dynamic_cast<const frmScreenSaver&>(*saver.app.forms()[m]);
                const std::string name = window.Label.Caption;
                shown.insert(name);
                EXPECT_TRUE(window.Imager.Picture.get() != nullptr) << tick;
                if (files > monitors) {
                    EXPECT_NE(name, before[m]) << tick << ": window " << m << " repeats";
                }
                before[m] = name;
            }
            EXPECT_EQ(shown.size(), static_cast<std::size_t>(std::min(files, monitors))) << tick;
        }
    }
}

}  // namespace
}  // namespace kivo::testing
