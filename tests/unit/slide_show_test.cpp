#include <gtest/gtest.h>

#include <memory>

#include "forms_runtime/headless/headless_backend.h"
#include "saver_window/frmScreenSaver.h"
#include "settings_store/settings_names.h"
#include "tests/unit/saver_harness.h"
#include "tests/unit/scripted_random.h"

namespace kivo::testing {
namespace {

using forms::headless::MakeBmp;
using saver_window::frmScreenSaver;

// A full-screen slide show (15360 x 11520 twips, 15 twips per pixel) over the folder C:\Pics.
class SlideShowTest : public ::testing::Test {
  protected:
    SlideShowTest() {
        saver.backend.files().AddFolder("C:\\Pics");
        saver.settings.Write(settings::kApplication, settings::kSection, settings::kFolderKey,
                             "C:\\Pics");
    }

    void AddPicture(const std::string& name, int width_px, int height_px) {
        saver.backend.files().AddFile("C:\\Pics\\" + name, MakeBmp(width_px, height_px));
    }

    frmScreenSaver& Start(std::vector<float> draws = {0.0f}) {
        saver.Start("/s");
        frmScreenSaver* form = saver.Loaded<frmScreenSaver>();
        if (form == nullptr) {
            throw std::runtime_error("no slide show window");
        }
        saver.app.SetRandomSource(std::make_unique<ScriptedRandom>(std::move(draws)));
        return *form;
    }

    void Tick(frmScreenSaver& form) { saver.backend.Tick(saver.app, form.Timer); }

    SaverHarness saver;
};

struct Fitting {
    float width;  // natural size in twips
    float height;
    float fitted_width;
    float fitted_height;
    float left;
    float top;
};

class SlideFittingTest : public SlideShowTest, public ::testing::WithParamInterface<Fitting> {};

TEST_P(SlideFittingTest, ShrinksByItsOwnProportionsAndCentres) {
    const Fitting& fit = GetParam();
    // 5 twips per pixel, so that every natural size of the examples is a whole number of pixels.
    saver.backend.SetScreen({15360, 11520, 5, 5});
    AddPicture("p.bmp", static_cast<int>(fit.width / 5), static_cast<int>(fit.height / 5));
    frmScreenSaver& form = Start();
    Tick(form);

    EXPECT_EQ(form.Imager.Width.get(), fit.fitted_width);
    EXPECT_EQ(form.Imager.Height.get(), fit.fitted_height);
    EXPECT_EQ(form.Imager.Left.get(), fit.left);
    EXPECT_EQ(form.Imager.Top.get(), fit.top);
    EXPECT_EQ(form.Imager.Stretch.get(), fit.fitted_width != fit.width);
    EXPECT_TRUE(form.Imager.Visible);

    // The loader was told that scale, so that it decodes the picture no larger than shown.
    const auto& scale = saver.backend.last_decode_hint().shown_scale;
    ASSERT_TRUE(scale);
    const double shown = scale(static_cast<int>(fit.width / 5), static_cast<int>(fit.height / 5));
    EXPECT_NEAR(shown * fit.width, fit.fitted_width, 0.01);
    EXPECT_NEAR(shown * fit.height, fit.fitted_height, 0.01);
}

INSTANTIATE_TEST_SUITE_P(WindowOf15360By11520, SlideFittingTest,
                         ::testing::Values(Fitting{6000, 4500, 6000, 4500, 4680, 3510},
                                           Fitting{15360, 11520, 15360, 11520, 0, 0},
                                           Fitting{30000, 15000, 15360, 7680, 0, 1920},
                                           Fitting{9000, 18000, 5760, 11520, 4800, 0},
                                           Fitting{12000, 12000, 11520, 11520, 1920, 0},
                                           Fitting{15000, 12000, 15360, 12288, 0, -384},
                                           Fitting{16000, 12500, 15360, 12000, 0, -240}));

TEST_F(SlideShowTest, OneFileIsShownAndLoadedAtEveryTick) {
    AddPicture("only.bmp", 100, 100);
    frmScreenSaver& form = Start({0.0f, 0.7f, 0.2f});
    for (int tick = 0; tick < 3; ++tick) {
        Tick(form);
        EXPECT_EQ(form.CurrentIndex, 0);
        EXPECT_EQ(form.Label.Caption.get(), "only.bmp");
    }
    EXPECT_EQ(saver.backend.pictures_loaded(), 3) << "nothing is cached";
}

TEST_F(SlideShowTest, TwoFilesAlternateStartingWithTheSecond) {
    AddPicture("a.bmp", 10, 10);
    AddPicture("b.bmp", 10, 10);
    frmScreenSaver& form = Start({0.1f, 0.9f, 0.2f, 0.6f});
    std::vector<std::string> shown;
    for (int tick = 0; tick < 4; ++tick) {
        Tick(form);
        shown.push_back(form.Label.Caption);
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"b.bmp", "a.bmp", "b.bmp", "a.bmp"}));
}

TEST_F(SlideShowTest, ThreeOrMoreNeverRepeatAndNeverStartAtTheFirst) {
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) {
        AddPicture(name, 10, 10);
    }
    // Draws: 0 -> 0 equals the start, moved to 1; 0.4 -> 1 repeats, moved to 2;
    // 0.99 -> 2 repeats at the last position, moved back to 1; 0.1 -> 0.
    frmScreenSaver& form = Start({0.0f, 0.4f, 0.99f, 0.1f, 0.1f});
    std::vector<int> positions;
    for (int tick = 0; tick < 5; ++tick) {
        Tick(form);
        positions.push_back(form.CurrentIndex);
        EXPECT_EQ(form.PreviousIndex, form.CurrentIndex);
    }
    EXPECT_EQ(positions, (std::vector<int>{1, 2, 1, 0, 1}));
}

TEST_F(SlideShowTest, ANonPictureKeepsThePreviousPictureButNamesTheFile) {
    AddPicture("a.bmp", 200, 100);
    saver.backend.files().AddFile("C:\\Pics\\b.txt", "not a picture");
    frmScreenSaver& form = Start({0.9f, 0.9f, 0.0f});  // b first? 0.9 * 2 = 1: b.txt
    Tick(form);
    EXPECT_EQ(form.Label.Caption.get(), "b.txt");
    EXPECT_FALSE(static_cast<bool>(form.Imager.Picture.get())) << "no previous picture yet";
    EXPECT_TRUE(form.Imager.Visible) << "never left hidden";

    Tick(form);  // 0.9 -> 1 repeats, moved back to a.bmp
    EXPECT_EQ(form.Label.Caption.get(), "a.bmp");
    const forms::Picture shown = form.Imager.Picture;
    ASSERT_TRUE(shown);

    Tick(form);  // 0 -> a.bmp repeats, moved to b.txt
    EXPECT_EQ(form.Label.Caption.get(), "b.txt");
    EXPECT_EQ(form.Imager.Picture.get(), shown);
    EXPECT_EQ(form.Imager.Width.get(), 3000);
    EXPECT_EQ(form.Imager.Left.get(), (15360 - 3000) / 2);
    EXPECT_TRUE(form.Imager.Visible);
    EXPECT_EQ(form.PreviousIndex, 1) << "the failed position counts as shown";
}

TEST_F(SlideShowTest, AFileRemovedAfterLoadingBehavesLikeAnUnreadableOne) {
    AddPicture("a.bmp", 10, 10);
    AddPicture("b.bmp", 10, 10);
    frmScreenSaver& form = Start({0.0f});
    saver.backend.files().Remove("C:\\Pics\\b.bmp");
    Tick(form);
    EXPECT_EQ(form.Label.Caption.get(), "b.bmp");
    EXPECT_TRUE(form.Imager.Visible);
    EXPECT_TRUE(saver.backend.message_boxes().empty());
    EXPECT_TRUE(form.loaded());
}

TEST_F(SlideShowTest, AnEmptyFolderShowsNothingAndTheTicksGoOn) {
    frmScreenSaver& form = Start({0.0f, 0.5f});
    for (int tick = 0; tick < 4; ++tick) {
        Tick(form);
        EXPECT_EQ(form.Label.Caption.get(), "");
    }
    EXPECT_EQ(saver.backend.pictures_loaded(), 0);
    EXPECT_FALSE(static_cast<bool>(form.Imager.Picture.get()));
    EXPECT_TRUE(form.loaded());
    EXPECT_TRUE(saver.backend.message_boxes().empty());
}

TEST_F(SlideShowTest, FoldersOfMoreThan32767FilesWork) {
    auto& files = saver.backend.files();
    for (int n = 0; n < 40000; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "f%05d.bmp", n);
        files.AddFile(std::string("C:\\Pics\\") + name, MakeBmp(1, 1));
    }
    frmScreenSaver& form = Start({0.99f, 0.9f});
    Tick(form);
    EXPECT_EQ(form.CurrentIndex, 39600);
    EXPECT_EQ(form.Label.Caption.get(), "f39600.bmp");
    Tick(form);
    EXPECT_EQ(form.CurrentIndex, 36000);
    EXPECT_TRUE(saver.backend.message_boxes().empty());
}

TEST_F(SlideShowTest, PathIsTheFolderAndTheNameJoinedByOneSeparator) {
    AddPicture("a.bmp", 10, 10);
    saver.settings.Write(settings::kApplication, settings::kSection, settings::kFolderKey,
                         "C:\\Pics\\");
    frmScreenSaver& form = Start();
    Tick(form);
    ASSERT_EQ(saver.backend.loaded_picture_paths().size(), 1u);
    EXPECT_EQ(saver.backend.loaded_picture_paths()[0], "C:\\Pics\\a.bmp");
}

}  // namespace
}  // namespace kivo::testing
