#include <gtest/gtest.h>

#include "forms_runtime/headless/headless_backend.h"
#include "saver_window/frmScreenSaver.h"
#include "saver_window/saver_settings.h"
#include "settings_store/settings_names.h"
#include "tests/unit/saver_harness.h"

namespace kivo::testing {
namespace {

using saver_window::frmScreenSaver;

class SaverLifeTest : public ::testing::Test {
  protected:
    SaverLifeTest() {
        saver.backend.files().AddFile("C:\\Kivo\\sample\\a.bmp", forms::headless::MakeBmp(10, 10));
    }

    void Store(const char* key, const std::string& value) {
        saver.settings.Write(settings::kApplication, settings::kSection, key, value);
    }

    frmScreenSaver& StartFullScreen() {
        saver.Start("/s");
        frmScreenSaver* form = saver.Loaded<frmScreenSaver>();
        if (form == nullptr) {
            throw std::runtime_error("no slide show window");
        }
        return *form;
    }

    SaverHarness saver;
};

TEST_F(SaverLifeTest, FreshSettingsGiveTheSampleFolderAVisibleLabelAndThreeSeconds) {
    frmScreenSaver& form = StartFullScreen();
    EXPECT_EQ(form.File1.Path.get(), "C:\\Kivo\\sample");
    EXPECT_EQ(form.File1.ListCount(), 1);
    EXPECT_TRUE(form.Label.Visible);
    EXPECT_EQ(form.Timer.Interval.get(), 3000);
    EXPECT_TRUE(saver.settings.writes().empty()) << "the slide show never writes";
}

TEST_F(SaverLifeTest, ImagerStartsAtTheDesignSizeInTheCorner) {
    frmScreenSaver& form = StartFullScreen();
    EXPECT_EQ(form.Imager.Left.get(), 0);
    EXPECT_EQ(form.Imager.Top.get(), 0);
    EXPECT_EQ(form.Imager.Width.get(), 4950);
    EXPECT_EQ(form.Imager.Height.get(), 2385);
}

TEST_F(SaverLifeTest, StoredSettingsAreConverted) {
    saver.backend.files().AddFile("D:\\Photos\\x.bmp", forms::headless::MakeBmp(5, 5));
    Store(settings::kFolderKey, "D:\\Photos");
    Store(settings::kShowFileNameKey, "0");
    Store(settings::kIntervalKey, "2.5");
    frmScreenSaver& form = StartFullScreen();
    EXPECT_EQ(form.File1.Path.get(), "D:\\Photos");
    EXPECT_FALSE(form.Label.Visible);
    EXPECT_EQ(form.Timer.Interval.get(), 2500);
}

TEST(SaverSettingsTest, IntervalsRoundHalvesToEvenAndLongOnesAreClamped) {
    const forms::NumberFormat dot;
    EXPECT_EQ(saver_window::IntervalMilliseconds("3", dot), 3000);
    EXPECT_EQ(saver_window::IntervalMilliseconds("2.5", dot), 2500);
    EXPECT_EQ(saver_window::IntervalMilliseconds("0.0625", dot), 62);
    EXPECT_EQ(saver_window::IntervalMilliseconds("0.1875", dot), 188);
    EXPECT_EQ(saver_window::IntervalMilliseconds("0.001", dot), 1);
    EXPECT_EQ(saver_window::IntervalMilliseconds("2.50", dot), 2500);
    EXPECT_EQ(saver_window::IntervalMilliseconds("100000", dot), 100000000);
    EXPECT_EQ(saver_window::IntervalMilliseconds("2147483.647", dot), 2147483647);
    EXPECT_EQ(saver_window::IntervalMilliseconds("1e12", dot), saver_window::kLongestInterval);
    EXPECT_EQ(saver_window::IntervalMilliseconds("2,5", forms::NumberFormat{",", "."}), 2500);
}

TEST(SaverSettingsTest, FileNameFlagAcceptsNumbersAndBooleanWords) {
    const forms::NumberFormat dot;
    EXPECT_TRUE(saver_window::ShowFileName("True", dot));
    EXPECT_TRUE(saver_window::ShowFileName("1", dot));
    EXPECT_FALSE(saver_window::ShowFileName("0", dot));
    EXPECT_FALSE(saver_window::ShowFileName("False", dot));
}

TEST_F(SaverLifeTest, BadStoredValuesEndTheProgramNamingTheSettingBeforeAnyWindowShows) {
    struct Case {
        const char* key;
        const char* value;
    };
    for (const Case bad :
         {Case{settings::kFolderKey, "C:\\nowhere"}, Case{settings::kShowFileNameKey, "yes"},
          Case{settings::kIntervalKey, "abc"}, Case{settings::kIntervalKey, "-5"}}) {
        SaverHarness run;
        run.settings.Write(settings::kApplication, settings::kSection, bad.key, bad.value);
        run.Start("/s");
        ASSERT_EQ(run.backend.message_boxes().size(), 1u) << bad.value;
        const std::string& prompt = run.backend.message_boxes()[0].prompt;
        EXPECT_NE(prompt.find(bad.key), std::string::npos) << prompt;
        EXPECT_NE(prompt.find(bad.value), std::string::npos) << prompt;
        EXPECT_EQ(run.backend.message_boxes()[0].title, "Ostra'sSlideShowScreenSaver");
        EXPECT_TRUE(run.backend.program_ended());
        for (const auto& form : run.app.forms()) {
            EXPECT_FALSE(form->shown()) << "no window is shown";
        }
        EXPECT_TRUE(run.system.CallsTo("ShowCursor").empty());
    }
}

TEST_F(SaverLifeTest, FirstMoveOnlyRecordsAndOnlyAMoveOfBothCoordinatesEnds) {
    frmScreenSaver& form = StartFullScreen();
    saver.backend.MouseMove(saver.app, form.Imager, 100.5f, 200);
    EXPECT_TRUE(form.loaded());
    EXPECT_EQ(saver.module.MouseSeen, 1);
    EXPECT_EQ(saver.module.LastMouseX, 100);
    EXPECT_EQ(saver.module.LastMouseY, 200);

    saver.backend.MouseMove(saver.app, form.Imager, 101.5f, 200);  // horizontal only
    EXPECT_EQ(saver.module.LastMouseX, 102);
    saver.backend.MouseMove(saver.app, form.Imager, 102, 900);  // vertical only
    saver.backend.MouseMove(saver.app, form.Imager, 102, 900);  // unchanged
    EXPECT_TRUE(form.loaded());
    EXPECT_TRUE(saver.system.CallsTo("ShowCursor 1").empty());

    saver.backend.MouseMove(saver.app, form.Imager, 150, 950);
    EXPECT_FALSE(saver.app.AnyFormLoaded());
}

TEST_F(SaverLifeTest, PositionsBeyond32767TwipsAreKept) {
    frmScreenSaver& form = StartFullScreen();
    saver.backend.MouseMove(saver.app, form.Imager, 40000.5f, 20);
    EXPECT_TRUE(saver.backend.message_boxes().empty()) << "no overflow on wide screens";
    EXPECT_EQ(saver.module.LastMouseX, 40000);
    saver.backend.MouseMove(saver.app, form.Imager, 40000, 40);
    EXPECT_TRUE(form.loaded()) << "40000 is where the pointer was";
}

TEST_F(SaverLifeTest, KeyOrButtonWithoutPasswordShowsThePointerClearsTheFlagAndUnloads) {
    frmScreenSaver& form = StartFullScreen();
    saver.system.calls.clear();
    saver.backend.KeyDown(saver.app, form, 16);  // a modifier alone counts too
    EXPECT_EQ(saver.system.calls,
              (std::vector<std::string>{"ShowCursor 1 -> 0", "SetScreenSaverRunning 0"}));
    EXPECT_FALSE(saver.app.AnyFormLoaded());

    SaverHarness clicked;
    clicked.backend.files().AddFolder("C:\\Kivo\\sample");
    clicked.Start("/s");
    frmScreenSaver* again = clicked.Loaded<frmScreenSaver>();
    ASSERT_NE(again, nullptr);
    clicked.backend.MouseDown(clicked.app, again->Imager, 5, 5);
    EXPECT_FALSE(clicked.app.AnyFormLoaded());
}

TEST_F(SaverLifeTest, RefusedPasswordHidesThePointerAgainAndTheShowGoesOn) {
    saver.system.use_password_value = 2;
    saver.system.verify_answers = {0x10000, 1};  // low 16 bits 0: not verified
    frmScreenSaver& form = StartFullScreen();
    EXPECT_EQ(saver.module.UsePassword, 2);
    EXPECT_EQ(saver.system.cursor_count, -1);
    saver.system.calls.clear();

    saver.backend.KeyDown(saver.app, form, 65);
    EXPECT_TRUE(form.loaded());
    EXPECT_EQ(saver.system.calls.size(), 3u);
    EXPECT_EQ(saver.system.calls[1].rfind("VerifyScreenSavePwd", 0), 0u);
    EXPECT_EQ(saver.system.calls[2], "ShowCursor 0 -> -1");
    EXPECT_TRUE(saver.system.CallsTo("SetScreenSaverRunning").empty());

    saver.backend.KeyDown(saver.app, form, 65);  // asks again; this time verified
    EXPECT_EQ(saver.system.CallsTo("VerifyScreenSavePwd").size(), 2u);
    EXPECT_EQ(saver.system.CallsTo("SetScreenSaverRunning"),
              std::vector<std::string>{"SetScreenSaverRunning 0"});
    EXPECT_FALSE(saver.app.AnyFormLoaded());
}

TEST_F(SaverLifeTest, MissingPasswordServiceDismissesAsVerified) {
    saver.system.use_password_value = 1;
    frmScreenSaver& form = StartFullScreen();
    saver.backend.KeyDown(saver.app, form, 65);  // the fake has no answers: no service
    EXPECT_TRUE(saver.backend.message_boxes().empty());
    EXPECT_FALSE(saver.app.AnyFormLoaded());
}

TEST_F(SaverLifeTest, PreviewIgnoresInputAndClosesItsOwnerWhenUnloaded) {
    saver.Start("/p 1234");
    frmScreenSaver* form = saver.Loaded<frmScreenSaver>();
    ASSERT_NE(form, nullptr);
    saver.system.calls.clear();
    saver.backend.KeyDown(saver.app, *form, 65);
    saver.backend.MouseDown(saver.app, form->Imager, 1, 1);
    saver.backend.MouseMove(saver.app, form->Imager, 10, 10);
    saver.backend.MouseMove(saver.app, form->Imager, 20, 20);
    EXPECT_TRUE(form->loaded());
    EXPECT_TRUE(saver.system.calls.empty());

    saver.backend.Close(saver.app, *form);  // the host destroyed the window
    EXPECT_EQ(saver.system.calls,
              (std::vector<std::string>{"GetWindow owner 1000", "PostClose 99"}));
    EXPECT_FALSE(saver.app.AnyFormLoaded());
}

}  // namespace
}  // namespace kivo::testing
