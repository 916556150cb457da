#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <set>
#include <tuple>

#include "forms_runtime/basics/random.h"
#include "saver_window/frmScreenSaver.h"
#include "tests/unit/saver_harness.h"

namespace kivo::testing {
namespace {

using forms::headless::HeldBackground;
using saver_window::frmScreenSaver;

// Hands out the given draws in order, then repeats the last one.
struct ScriptedRandom : forms::RandomSource {
    explicit ScriptedRandom(std::vector<float> draws) : draws(std::move(draws)) {}
    void Seed(std::uint32_t) override {}
    float Next() override { return draws[std::min(next++, draws.size() - 1)]; }
    std::vector<float> draws;
    std::size_t next = 0;
};

// A full-screen slide show (15360 x 11520 twips) over C:\Pics, stored with a trailing separator.
struct SlideShow : SaverHarness {
    SlideShow() {
        backend.files().AddFolder("C:\\Pics");
        Store(settings::kFolderKey, "C:\\Pics\\");
    }
    void Add(const std::string& name, int width_px, int height_px) {
        backend.files().AddFile("C:\\Pics\\" + name, forms::headless::MakeBmp(width_px, height_px));
    }
    // The draws are taken as each slide is chosen, one tick ahead of showing it.
    frmScreenSaver& Begin(std::vector<float> draws) {
        app.SetRandomSource(std::make_unique<ScriptedRandom>(std::move(draws)));
        return Open<frmScreenSaver>("/s");
    }
    void Tick(frmScreenSaver& form) { backend.Tick(app, form.Timer); }
};

TEST(SlideShowTest, ShrinksByItsOwnProportionsCentresAndDecodesAtThatScale) {
    // Natural width and height, then fitted width, height, left and top, all in twips.
    const std::vector<std::array<float, 6>> fits = {
        {6000, 4500, 6000, 4500, 4680, 3510},  {15360, 11520, 15360, 11520, 0, 0},
        {30000, 15000, 15360, 7680, 0, 1920},  {9000, 18000, 5760, 11520, 4800, 0},
        {12000, 12000, 11520, 11520, 1920, 0}, {15000, 12000, 15360, 12288, 0, -384}};
    for (const auto& fit : fits) {
        SCOPED_TRACE(::testing::Message() << fit[0] << " x " << fit[1]);
        SlideShow show;
        show.backend.SetScreen({15360, 11520, 5, 5});  // every example is whole pixels
        const int width_px = static_cast<int>(fit[0] / 5);
        const int height_px = static_cast<int>(fit[1] / 5);
        show.Add("p.bmp", width_px, height_px);
        frmScreenSaver& form = show.Begin({0.0f});
        show.Tick(form);
        const forms::Image& image = form.Imager;
        EXPECT_EQ(
            (std::array{image.Width.get(), image.Height.get(), image.Left.get(), image.Top.get()}),
            (std::array{fit[2], fit[3], fit[4], fit[5]}));
        EXPECT_EQ(image.Stretch.get(), fit[2] != fit[0]);
        EXPECT_TRUE(image.Visible);
        // The loader was told that scale, so that it decodes the picture no larger than shown.
        const auto& scale = show.backend.last_decode_hint().shown_scale;
        ASSERT_TRUE(scale);
        EXPECT_NEAR(scale(width_px, height_px) * fit[0], fit[2], 0.01);
        EXPECT_NEAR(scale(width_px, height_px) * fit[1], fit[3], 0.01);
    }
}

TEST(SlideShowTest, EachTickNamesAndLoadsADrawnFileThatIsNotThePreviousOne) {
    // Files (named f100000.bmp, f100001.bmp, ...), the draws, and the position each tick shows.
    // clang-format off
    const std::vector<std::tuple<int, std::vector<float>, std::vector<int>>> cases = {
        {1,     {0.0f, 0.7f, 0.2f},              {0, 0, 0}},
        {2,     {0.1f, 0.9f, 0.2f, 0.6f},        {1, 0, 1, 0}},     // the second first
        // 0 is the start, moved on; 0.4 repeats, moved on; 0.99 repeats at the end, back.
        {3,     {0.0f, 0.4f, 0.99f, 0.1f, 0.1f}, {1, 2, 1, 0, 1}},
        {3,     {0.99999994f, 1.0f},             {2, 1}},           // 1.0: rounded up to 1
        {40000, {0.99f, 0.9f},                   {39600, 36000}}};  // beyond 16 bits
    // clang-format on
    for (const auto& [files, draws, shown] : cases) {
        SCOPED_TRACE(files);
        SlideShow show;
        std::vector<std::string> names;
        for (int n = 0; n < files; ++n) {
            names.push_back("f" + std::to_string(100000 + n) + ".bmp");
            show.Add(names.back(), 1, 1);
        }
        frmScreenSaver& form = show.Begin(draws);
        std::vector<std::string> loaded;
        for (const int position : shown) {
            loaded.push_back("C:\\Pics\\" + names[position]);
            ASSERT_EQ(show.backend.loaded_picture_paths().back(), loaded.back()) << "prepared";
            show.Tick(form);
            EXPECT_EQ(form.Label.Caption.get(), names.at(position));
            EXPECT_EQ(form.PreviousIndex, position);
        }
        // One load a slide, none cached; the last one is the next tick's.
        auto paths = show.backend.loaded_picture_paths();
        paths.pop_back();
        EXPECT_EQ(paths, loaded);
        EXPECT_TRUE(form.Imager.Visible);
        EXPECT_TRUE(show.backend.message_boxes().empty());
    }
}

// The folder is slow to list: a tick before its names arrive is an empty folder's. While the
// displays are off no tick runs, and the slide being prepared is let go; each time they come on,
// the next one is prepared at once, and never shows the previous file.
TEST(SlideShowTest, TicksShowNothingBeforeTheListingNorWhileTheDisplaysAreOff) {
    SlideShow show;
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) {
        show.Add(name, 8, 8);
    }
    HeldBackground& background = show.backend.background();
    background.Hold();
    frmScreenSaver& form = show.Begin({0.0f, 0.7f, 0.0f, 0.7f});
    EXPECT_TRUE(form.shown());
    show.Tick(form);
    EXPECT_EQ(form.Label.Caption.get(), "");
    EXPECT_EQ(form.PreviousIndex, 1);
    background.Release();  // the names, then the slide chosen from them
    background.Hold();
    show.Tick(form);
    EXPECT_EQ(form.Label.Caption.get(), "c.bmp");
    show.system.displays_changed(false);  // while a.bmp, chosen next, loads
    EXPECT_TRUE(show.backend.pictures_resting());
    background.Release();
    show.Tick(form);
    for (int i = 0; i < 20; ++i) {  // off and on again, many times between two ticks
        show.system.displays_changed(i % 2 == 1);
        EXPECT_EQ(show.backend.pictures_resting(), i % 2 == 0) << i;
    }
    EXPECT_EQ(form.Label.Caption.get(), "c.bmp") << "no tick while off";
    show.Tick(form);  // its draw repeats c.bmp and moves back
    EXPECT_EQ(form.Label.Caption.get(), "b.bmp");
    // c; a, let go; b, chosen each of the ten times the displays came on; then c, after b.
    std::vector<std::string> paths(13, "C:\\Pics\\b.bmp");
    paths.front() = paths.back() = "C:\\Pics\\c.bmp";
    paths[1] = "C:\\Pics\\a.bmp";
    EXPECT_EQ(show.backend.loaded_picture_paths(), paths);
}

// A slide still loading at its tick shows as it arrives; the ticks meanwhile start no other load.
TEST(SlideShowTest, ASlideNotReadyAtItsTickShowsWhenItArrives) {
    SlideShow show;
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) {
        show.Add(name, 8, 8);
    }
    frmScreenSaver& form = show.Begin({0.7f, 0.0f, 0.4f});
    show.backend.background().Hold();
    show.Tick(form);  // c.bmp, prepared before
    EXPECT_EQ(form.Label.Caption.get(), "c.bmp");
    const forms::Picture shown = form.Imager.Picture;
    show.Tick(form);
    show.Tick(form);
    EXPECT_EQ(form.Label.Caption.get(), "c.bmp");
    EXPECT_EQ(form.Imager.Picture.get(), shown);
    EXPECT_EQ(show.backend.background().waiting(), 1u) << "one load at a time";
    show.backend.background().ReleaseNext();
    EXPECT_EQ(form.Label.Caption.get(), "a.bmp") << "shown as it arrived";
    EXPECT_NE(form.Imager.Picture.get(), shown);
    EXPECT_EQ(show.backend.background().waiting(), 1u) << "the next one is prepared";
    show.Tick(form);
    EXPECT_EQ(form.Label.Caption.get(), "a.bmp") << "not ready yet";
}

TEST(SlideShowTest, ANonPictureOrARemovedFileKeepsThePreviousPictureButNamesTheFile) {
    SlideShow show;
    show.Add("a.bmp", 200, 100);
    show.backend.files().AddFile("C:\\Pics\\B.txt", "not a picture");  // sorted without case
    show.Add("c.bmp", 10, 10);
    show.backend.files().AddFile("C:\\Pics\\a0.ini", {}, true);  // hidden, system and folders
    show.backend.files().AddFile("C:\\Pics\\a1.sys", {}, false, true);  // are not listed
    show.backend.files().AddFolder("C:\\Pics\\a2");
    // The last draw repeats B.txt: a position that failed to load counts as shown.
    frmScreenSaver& form = show.Begin({0.4f, 0.0f, 0.4f, 0.4f});
    show.backend.files().Remove("C:\\Pics\\c.bmp");  // after the list was read

    show.Tick(form);
    EXPECT_EQ(form.Label.Caption.get(), "B.txt");
    EXPECT_FALSE(static_cast<bool>(form.Imager.Picture.get())) << "no previous picture yet";
    EXPECT_TRUE(form.Imager.Visible) << "never left hidden";
    show.Tick(form);
    const forms::Picture shown = form.Imager.Picture;
    ASSERT_TRUE(shown);
    for (const char* name : {"B.txt", "c.bmp"}) {
        show.Tick(form);
        EXPECT_EQ(form.Label.Caption.get(), name);
        EXPECT_EQ(form.Imager.Picture.get(), shown);
        EXPECT_EQ((std::array{form.Imager.Width.get(), form.Imager.Left.get(),
                              static_cast<float>(form.Imager.Visible)}),
                  (std::array<float, 3>{3000, (15360 - 3000) / 2, 1}));
    }
    EXPECT_TRUE(show.backend.message_boxes().empty());
}

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

// The others are untitled companions of the primary's window, one on every other monitor once,
// and follow the monitors.
TEST(MonitorWindowsTest, FullScreenShowsAWindowOnEveryOtherMonitorOnceAndFollowsThem) {
    const Monitor primary = On(kPrimary, true);
    const std::vector<std::tuple<const char*, std::vector<Monitor>, Rects>> changes = {
        {"two", {primary, On(kRight)}, {kPrimary, kRight}},
        {"left of and above", {On(kLeft), primary, On(kAbove)}, {kPrimary, kLeft, kAbove}},
        {"mixed DPI: its own pixels", {primary, On(kAbove, false, 192)}, {kPrimary, kAbove}},
        {"none flagged: the one at 0,0",
         {On(kRight, false, 120), On(kPrimary)},
         {kPrimary, kRight}},
        {"a mirror of the primary, an empty monitor, a repeated one",
         {primary, On(kPrimary, false, 144), On({0, 0, 800, 600}), On({2000, 0, 2000, 600}),
          On(kRight), On(kRight)},
         {kPrimary, kRight}},
        {"one", {primary}, {kPrimary}}};
    SaverHarness saver;
    saver.system.monitors = std::get<1>(changes.front());
    frmScreenSaver& leader = saver.Open<frmScreenSaver>("/s");
    const auto& right = dynamic_cast<const frmScreenSaver&>(*saver.app.forms().back());
    EXPECT_TRUE(saver.system.Called("Accompany " + std::to_string(right.hWnd()) + " " +
                                    std::to_string(leader.hWnd())));
    EXPECT_EQ(right.Caption.get(), "");
    EXPECT_TRUE(right.shown());
    for (const auto& [name, monitors, placed] : changes) {
        saver.system.monitors = monitors;
        saver.system.monitors_changed();
        EXPECT_EQ(Placed(saver), placed) << name;
    }
    EXPECT_TRUE(leader.loaded());
}

// At each tick every window changes; no two show one file while the folder has enough of them,
// nor does a window show its own previous file again when the folder has more than it needs.
TEST(MonitorWindowsTest, TheWindowsShowDifferentFilesAtEveryTick) {
    const std::vector<std::pair<int, int>> cases = {{2, 2}, {3, 2}, {3, 3}, {6, 3}, {2, 3}};
    for (const auto& [files, monitors] : cases) {
        SCOPED_TRACE(::testing::Message() << files << " files, " << monitors << " monitors");
        SlideShow show;
        for (int n = 0; n < files; ++n) {
            show.Add(std::to_string(n) + ".bmp", 4, 4);
        }
        show.system.monitors = {On(kPrimary, true), On(kRight), On(kLeft)};
        show.system.monitors.resize(monitors);
        frmScreenSaver& leader = show.Open<frmScreenSaver>("/s");
        std::vector<std::string> before(monitors);
        for (int tick = 0; tick < 12; ++tick) {
            show.Tick(leader);
            std::set<std::string> shown;
            for (int m = 0; m < monitors; ++m) {
                const auto& window = dynamic_cast<const frmScreenSaver&>(*show.app.forms()[m]);
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
