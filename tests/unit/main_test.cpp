#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>
#include <tuple>

#include "saver_window/frmScreenSaver.h"
#include "saver_window/saver_settings.h"
#include "settings_dialog/frmSetting.h"
#include "startup/dialog_placement.h"
#include "tests/unit/saver_harness.h"

namespace kivo::testing {
namespace {

using saver_window::frmScreenSaver;
using settings_dialog::frmSetting;

constexpr const char* kSaverTitle = "ScreenSaver ボール(Sample)";

std::array<float, 4> Bounds(const forms::Form& form) {
    return {form.Left.get(), form.Top.get(), form.Width.get(), form.Height.get()};
}

// The second character selects the mode, in any case; the number after it is a preview's parent
// or the password dialog's owner (the foreground window, 77, when 0). A host that names no
// window, or a password service that is missing, shows no message.
TEST(MainTest, TheSecondCharacterSelectsTheModeAndTheNumberAfterItTheHost) {
    // clang-format off
    const std::vector<std::array<std::string, 3>> cases = {
        {"/s", "S", ""},         {"/S", "S", ""},     {"-s", "S", ""},      {"/c", "C", ""},
        {"/C", "C", ""},         {"/c:1234", "C", ""}, {"", "", ""},        {"s", "", ""},
        {"/x", "X", ""},         {" /s", "/", ""},    {"/ s", " ", ""},
        {"/p   5678  ", "P", "5678"}, {"/P", "P", "0"}, {"/p:1234", "P", "0"}, {"/p 2.5", "P", "2"},
        {"/p 12abc", "P", "12"}, {"/p 1.5e2x", "P", "150"}, {"/p 2,5", "P", "2"},
        {"/p -3 2", "P", "-3"},
        {"/a 1234", "A", "1234"}, {"/a", "A", "77"},  {"/a:1234", "A", "77"}, {"/A   ", "A", "77"}};
    // clang-format on
    for (const auto& [arguments, mode, host] : cases) {
        SCOPED_TRACE(arguments);
        SaverHarness saver;
        saver.system.host_client_size.reset();
        saver.system.password_change_available = false;
        saver.Start(arguments);
        EXPECT_EQ(saver.module.RunMode, mode);
        const frmScreenSaver* form = saver.Loaded<frmScreenSaver>();
        EXPECT_EQ(form != nullptr && form->shown(), mode == "S" || mode == "P");
        EXPECT_EQ(saver.Loaded<frmSetting>() != nullptr, mode == "C" || mode.empty());
        EXPECT_EQ(saver.system.Called("PwdChangePassword"), mode == "A");
        if (mode == "P") {
            EXPECT_TRUE(
                saver.system.Called("SetParent " + std::to_string(form->hWnd()) + " " + host));
        } else if (mode == "A") {
            EXPECT_TRUE(saver.system.Called("PwdChangePassword " + host));
        }
        EXPECT_TRUE(saver.backend.message_boxes().empty()) << "no error path";
        EXPECT_EQ(saver.backend.program_ended(), saver.app.forms().empty()) << "no window: the end";
    }
}

// Every mode asks for the lock first: the modes of a titled window take it, the others only look.
// Held by another copy, or with another copy's window up, nothing else happens.
TEST(MainTest, AnotherCopysLockOrWindowStopsEveryMode) {
    const std::vector<std::pair<std::string, const char*>> modes = {
        {"/s", "TakeSaverLock"},      {"/c", "TakeSaverLock"},      {"", "TakeSaverLock"},
        {"/p 1234", "SaverLockHeld"}, {"/a 1234", "SaverLockHeld"}, {"/x", "SaverLockHeld"}};
    for (const auto& [arguments, lock_call] : modes) {
        for (const bool lock_held : {true, false}) {
            SCOPED_TRACE(arguments + (lock_held ? ", lock held" : ", window up"));
            SaverHarness saver;
            saver.system.saver_lock_held = lock_held;
            saver.system.saver_window_exists = !lock_held;
            saver.module.UsePassword = 7;
            saver.Start(arguments);
            std::vector<std::string> expected = {lock_call, "LetGo", "process ends"};
            if (!lock_held) {
                expected.insert(expected.begin() + 1, std::string("FindWindow ") + kSaverTitle);
            }
            EXPECT_EQ(saver.system.calls, expected);
            EXPECT_EQ(saver.module.RunMode, "");
            EXPECT_EQ(saver.module.UsePassword, 7) << "no global is set";
            EXPECT_TRUE(saver.app.forms().empty());
        }
    }
}

TEST(MainTest, FullScreenCoversTheScreenThenGoesTopmostSetsTheFlagAndHidesThePointer) {
    for (const int count : {2, -3}) {  // shown; already hidden, and hidden further all the same
        SCOPED_TRACE(count);
        SaverHarness saver;
        saver.system.cursor_count = count;
        frmScreenSaver& form = saver.Open<frmScreenSaver>("/s");
        EXPECT_EQ(Bounds(form), (std::array<float, 4>{0, 0, 15360, 11520}));
        EXPECT_EQ(form.Caption.get(), kSaverTitle);
        EXPECT_TRUE(form.shown() && !form.modal());
        // The other monitors' windows, owned by this one, come once it is topmost: made topmost
        // after them, it would stand below them.
        const auto& calls = saver.system.calls;
        const auto topmost =
            std::find(calls.begin(), calls.end(), "MakeTopmost " + std::to_string(form.hWnd()));
        EXPECT_LT(topmost, std::find(calls.begin(), calls.end(), "Monitors"));
        EXPECT_TRUE(saver.system.Called("SetScreenSaverRunning 1"));
        EXPECT_LT(saver.system.cursor_count, std::min(count, 0));
        EXPECT_FALSE(saver.system.Called("SetParent"));
    }
}

// The preview fills its host as a child window, ignores input, and closes its host's owner when
// the host destroys it.
TEST(MainTest, PreviewBecomesAChildOfTheHostFillsItAndGoesWithIt) {
    SaverHarness saver;
    frmScreenSaver& form = saver.Open<frmScreenSaver>("/p 1234");
    const std::string window = std::to_string(form.hWnd());
    EXPECT_TRUE(saver.system.Called("MakeChild " + window));
    EXPECT_TRUE(saver.system.Called("SetParent " + window + " 1234"));
    EXPECT_EQ(form.Caption.get(), "ScreenSaver Preview");
    EXPECT_EQ(Bounds(form), (std::array<float, 4>{0, 0, 152 * 15, 112 * 15}));
    for (const char* call :
         {"MakeTopmost", "Monitors", "WatchDisplays", "SetScreenSaverRunning", "ShowCursor"}) {
        EXPECT_FALSE(saver.system.Called(call)) << call;
    }

    saver.system.calls.clear();
    saver.backend.KeyDown(saver.app, form, 65);
    ASSERT_TRUE(saver.app.AnyFormLoaded());  // before the window is touched again
    saver.backend.MouseDown(saver.app, form.Imager, 1, 1);
    ASSERT_TRUE(saver.app.AnyFormLoaded());
    saver.backend.MouseMove(saver.app, form.Imager, 10, 10);
    saver.backend.MouseMove(saver.app, form.Imager, 20, 20);
    ASSERT_TRUE(saver.app.AnyFormLoaded());
    EXPECT_TRUE(saver.system.calls.empty()) << "nothing ended";
    saver.backend.Close(saver.app, form);
    EXPECT_EQ(saver.system.calls,
              (std::vector<std::string>{"GetWindow owner " + window, "PostClose 99", "LetGo",
                                        "process ends"}));
    EXPECT_FALSE(saver.app.AnyFormLoaded());
}

// A bad handle or a stored setting that cannot be used shows one message naming it, and the
// program ends before any window shows. A folder found missing only when its listing fails, over
// the shown window ("late"), ends the show with the same message as when the system says so at
// once.
TEST(MainTest, BadHandleOrStoredSettingShowsOneMessageNamingItAndEnds) {
    // clang-format off
    const std::vector<std::array<std::string, 4>> cases = {
        {"/p 1e300", "",                         "1e300",       ""},
        {"/s",       settings::kFolderKey,       "C:\\nowhere", ""},
        {"/s",       settings::kFolderKey,       "C:\\nowhere", "late"},
        {"/s",       settings::kShowFileNameKey, "yes",         ""},
        {"/s",       settings::kIntervalKey,     "abc",         ""},
        {"/s",       settings::kIntervalKey,     "-5",          ""}};
    // clang-format on
    std::string previous;
    for (const auto& [arguments, key, value, late] : cases) {
        SCOPED_TRACE(value + " " + late);
        SaverHarness saver;
        if (!key.empty()) {
            saver.Store(key.c_str(), value);
        }
        if (!late.empty()) {
            saver.backend.background().Hold(false);  // not even a quick answer
        }
        saver.Start(arguments);
        const frmScreenSaver* form = saver.Loaded<frmScreenSaver>();
        EXPECT_EQ(form != nullptr && form->shown(), !late.empty()) << "shown only if no answer";
        saver.backend.background().Release();
        const auto& boxes = saver.backend.message_boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_NE(boxes[0].prompt.find(key), std::string::npos) << boxes[0].prompt;
        EXPECT_NE(boxes[0].prompt.find(value), std::string::npos) << boxes[0].prompt;
        EXPECT_TRUE(late.empty() || boxes[0].prompt == previous) << previous;
        const auto& calls = saver.system.calls;  // the error path lets go too, before the end
        ASSERT_GE(calls.size(), 2u);
        EXPECT_EQ(std::vector<std::string>(calls.end() - 2, calls.end()),
                  (std::vector<std::string>{"LetGo", "process ends"}));
        previous = boxes[0].prompt;
    }
}

// The dialog is 8025 + 90 by 4635 + 315 twips.
TEST(MainTest, SettingsDialogOpensModalUpAndLeftOfThePointerWithinTheScreen) {
    using Pointer = std::optional<startup::PixelPoint>;
    // clang-format off
    const std::vector<std::pair<Pointer, std::array<float, 2>>> places = {
        {startup::PixelPoint{500, 400},  {4800, 3300}},
        {startup::PixelPoint{100, 50},   {0,    0}},     // never beyond the top or left edge
        {startup::PixelPoint{1000, 800}, {7245, 6570}},  // nor the right or bottom one
        {startup::PixelPoint{663, 510},  {7245, 4950}},  // exactly the last place that fits
        {std::nullopt,                   {7245, 6570}}}; // as if the pointer stood at 1500
    // clang-format on
    for (const auto& [pointer, place] : places) {
        SCOPED_TRACE(pointer ? pointer->x : -1);
        SaverHarness saver;
        saver.system.cursor = pointer;
        frmSetting& dialog = saver.Open<frmSetting>("/c");
        EXPECT_EQ((std::array{dialog.Left.get(), dialog.Top.get()}), place);
        EXPECT_EQ(dialog.Caption.get(), kSaverTitle);
        EXPECT_TRUE(dialog.modal());
    }
}

TEST(DialogPlacementTest, ADialogWiderThanTheScreenStandsBeyondItsLeftAndHalvesGoToEven) {
    EXPECT_EQ(startup::DialogEdge(180, 15, 15360, 20000), -4640);
    EXPECT_EQ(startup::DialogEdge(181, 1.5f, 15360, 6000), 2);  // 1.5 twips
    EXPECT_EQ(startup::DialogEdge(183, 1.5f, 15360, 6000), 4);  // 4.5 twips
    EXPECT_EQ(startup::DialogEdge(-220, 15, 15360, 20000), 0) << "the right edge rule first";
}

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

// Seconds to milliseconds; the rounding is CLng's (ConversionsTest).
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
    // Kept beyond 16 bits, rounded half to even: 40000, then 40002.
    ASSERT_TRUE(move(40000, 900));     // vertical only
    ASSERT_TRUE(move(40001.5f, 900));  // horizontal only
    ASSERT_TRUE(move(40002, 950));     // vertical only
    ASSERT_TRUE(move(40002, 950));     // unchanged
    EXPECT_FALSE(move(150, 960));
}

// A key, or a button; with a password in use whose service is missing, that dismisses too. The
// stored password flag says a password is in use unless it is 0 or absent, or beyond 16 bits
// either way. Over another monitor's window the same input ends the whole show, with one check.
TEST(SaverLifeTest, KeyOrButtonShowsThePointerClearsTheFlagAndUnloads) {
    const std::vector<std::tuple<bool, std::optional<std::int32_t>, bool>> cases = {
        {true, std::nullopt, false},
        {false, 0, false},
        {true, -5, false},
        {true, 70000, false},
        {false, -70000, true}};
    for (const auto& [key, flag, other_monitor] : cases) {
        SCOPED_TRACE(::testing::Message() << "key " << key << ", flag " << flag.value_or(-1)
                                          << ", other monitor " << other_monitor);
        SaverHarness saver;
        saver.module.UsePassword = 3;  // no flag stored: none, whatever was there
        saver.system.use_password_value = flag;
        saver.system.monitors.push_back({{1024, 0, 2048, 768}, 96, false});
        saver.Open<frmScreenSaver>("/s");
        auto& form = dynamic_cast<frmScreenSaver&>(*saver.app.forms().at(other_monitor ? 1 : 0));
        const std::string window = std::to_string(form.hWnd());
        saver.system.calls.clear();
        if (key) {
            saver.backend.KeyDown(saver.app, form, 16);  // a modifier alone counts too
        } else {
            saver.backend.MouseDown(saver.app, form.Imager, 5, 5);
        }
        const auto& calls = saver.system.calls;
        EXPECT_GE(saver.system.cursor_count, 0);
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "VerifyScreenSavePwd " + window),
                  flag.value_or(0) != 0 ? 1 : 0);
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
