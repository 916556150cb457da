#include <gtest/gtest.h>

#include <algorithm>

#include "saver_window/frmScreenSaver.h"
#include "saver_window/saver_settings.h"
#include "tests/unit/saver_harness.h"

namespace kivo::testing {
namespace {

using saver_window::frmScreenSaver;

// Nothing stored: the sample folder, the file name shown, three seconds. Stored values are read
// in the user's locale (here a decimal comma). The slide show never writes.
TEST(SaverLifeTest, StoredSettingsAreReadInTheUsersLocaleAndNoneGiveTheSample) {
    for (const bool stored : {false, true}) {
        SCOPED_TRACE(stored ? "stored" : "fresh");
        SaverHarness saver;
        saver.backend.files().AddFolder("D:\\Photos");
        saver.backend.SetNumberFormat({",", "."});
        if (stored) {
            saver.Store(settings::kFolderKey, "D:\\Photos");
            saver.Store(settings::kShowFileNameKey, "0");
            saver.Store(settings::kIntervalKey, "2,5");
        }
        frmScreenSaver& form = saver.Open<frmScreenSaver>("/s");
        EXPECT_EQ(form.File1.Path.get(), stored ? "D:\\Photos" : "C:\\Kivo\\sample");
        EXPECT_EQ(form.Label.Visible.get(), !stored);
        EXPECT_EQ(form.Timer.Interval.get(), stored ? 2500 : 3000);
        EXPECT_EQ(saver.settings.writes().size(), stored ? 3u : 0u) << "only the test's own";
    }
}

// Seconds to milliseconds; the rounding is CLng's (conversions_test).
TEST(SaverLifeTest, IntervalsAreMillisecondsAndLongOnesAreClamped) {
    const std::vector<std::pair<const char*, std::int32_t>> intervals = {
        {"3", 3000}, {"2147483.647", 2147483647}, {"1e12", saver_window::kLongestInterval}};
    for (const auto& [stored, milliseconds] : intervals) {
        EXPECT_EQ(saver_window::IntervalMilliseconds(stored, {}), milliseconds) << stored;
    }
}

TEST(SaverLifeTest, FirstMoveOnlyRecordsAndOnlyAMoveOfBothCoordinatesEnds) {
    SaverHarness saver;
    frmScreenSaver& form = saver.Open<frmScreenSaver>("/s");
    const auto move = [&](float x, float y) {
        saver.backend.MouseMove(saver.app, form.Imager, x, y);
        return saver.app.AnyFormLoaded();
    };
    ASSERT_TRUE(move(40000.5f, 200)) << "the first move only records";
    EXPECT_EQ(saver.module.LastMouseX, 40000) << "beyond 16 bits, rounded half to even";
    EXPECT_EQ(saver.module.LastMouseY, 200);
    ASSERT_TRUE(move(40001.5f, 200));  // horizontal only
    EXPECT_EQ(saver.module.LastMouseX, 40002);
    ASSERT_TRUE(move(40002, 900));  // vertical only
    ASSERT_TRUE(move(40002, 900));  // unchanged
    EXPECT_FALSE(move(150, 950));
}

// A key, or a button; with a password in use whose service is missing, that dismisses too. Over
// another monitor's window the same input ends the whole show, with one password check.
TEST(SaverLifeTest, KeyOrButtonShowsThePointerClearsTheFlagAndUnloads) {
    struct Case {
        bool key;
        bool password;
        bool other_monitor;
    };
    for (const Case c : {Case{true, false, false}, Case{false, false, false},
                         Case{true, true, false}, Case{false, true, true}}) {
        SCOPED_TRACE(::testing::Message() << "key " << c.key << ", password " << c.password
                                          << ", other monitor " << c.other_monitor);
        SaverHarness saver;
        saver.system.use_password_value = c.password ? 1 : 0;
        saver.system.monitors.push_back({{1024, 0, 2048, 768}, 96, false});
        saver.Open<frmScreenSaver>("/s");
        auto& form = dynamic_cast<frmScreenSaver&>(*saver.app.forms().at(c.other_monitor ? 1 : 0));
        const std::string window = std::to_string(form.hWnd());
        saver.system.calls.clear();
        if (c.key) {
            saver.backend.KeyDown(saver.app, form, 16);  // a modifier alone counts too
        } else {
            saver.backend.MouseDown(saver.app, form.Imager, 5, 5);
        }
        const auto& calls = saver.system.calls;
        EXPECT_GE(saver.system.cursor_count, 0);
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "VerifyScreenSavePwd " + window),
                  c.password ? 1 : 0);
        EXPECT_TRUE(saver.system.Called("SetScreenSaverRunning 0"));
        // Every window gone, the saver lets go of the lock before its process ends.
        EXPECT_FALSE(saver.app.AnyFormLoaded());
        EXPECT_LT(std::find(calls.begin(), calls.end(), "LetGo"),
                  std::find(calls.begin(), calls.end(), "process ends"));
        EXPECT_TRUE(saver.backend.program_ended());
    }
}

}  // namespace
}  // namespace kivo::testing
