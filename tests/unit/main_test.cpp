#include <gtest/gtest.h>

#include "saver_window/frmScreenSaver.h"
#include "settings_dialog/frmSetting.h"
#include "tests/unit/saver_harness.h"

namespace kivo::testing {
namespace {

using saver_window::frmScreenSaver;
using settings_dialog::frmSetting;

class MainTest : public ::testing::Test {
  protected:
    SaverHarness saver;
};

struct ModeCase {
    const char* arguments;
    const char* run_mode;
    const char* window;  // "saver", "dialog" or "none"
};

class MainModeTest : public ::testing::TestWithParam<ModeCase> {};

TEST_P(MainModeTest, SecondCharacterSelectsTheMode) {
    SaverHarness saver;
    const ModeCase& mode = GetParam();
    saver.Start(mode.arguments);

    EXPECT_EQ(saver.module.RunMode, mode.run_mode);
    const std::string window = mode.window;
    EXPECT_EQ(saver.Loaded<frmScreenSaver>() != nullptr, window == "saver");
    EXPECT_EQ(saver.Loaded<frmSetting>() != nullptr, window == "dialog");
    EXPECT_FALSE(saver.backend.program_ended()) << "no error path";
}

INSTANTIATE_TEST_SUITE_P(
    ArgumentTexts, MainModeTest,
    ::testing::Values(ModeCase{"/s", "S", "saver"}, ModeCase{"/S", "S", "saver"},
                      ModeCase{"-s", "S", "saver"}, ModeCase{"/p 1234", "P", "saver"},
                      ModeCase{"/P", "P", "saver"}, ModeCase{"/c", "C", "dialog"},
                      ModeCase{"/C", "C", "dialog"}, ModeCase{"/c:1234", "C", "dialog"},
                      ModeCase{"", "", "dialog"}, ModeCase{"s", "", "dialog"},
                      ModeCase{"/a 1234", "A", "none"}, ModeCase{"/x", "X", "none"},
                      ModeCase{" /s", "/", "none"}, ModeCase{"/ s", " ", "none"}));

TEST_F(MainTest, AnotherCopysWindowStopsEverything) {
    saver.system.saver_window_exists = true;
    saver.module.UsePassword = 7;
    saver.module.MouseSeen = 1;
    saver.Start("/s");

    EXPECT_EQ(saver.system.calls,
              (std::vector<std::string>{"TakeSaverLock", "FindWindow ScreenSaver ボール(Sample)"}));
    EXPECT_EQ(saver.module.RunMode, "");
    EXPECT_EQ(saver.module.UsePassword, 7) << "no global is set";
    EXPECT_EQ(saver.module.MouseSeen, 1);
    EXPECT_TRUE(saver.app.forms().empty());
}

TEST_F(MainTest, PasswordFlagTakesTheStoredBytes) {
    const std::vector<std::pair<std::optional<std::int32_t>, std::int16_t>> cases = {
        {1, 1},             // the 4-byte number 1
        {0, 0},             // the 4-byte number 0
        {'1', 49},          // the one-character text "1": its character code
        {'0', 48},          // "0" is in use too
        {std::nullopt, 0},  // absent, or longer than 4 bytes
        {70000, 1},         // out of the 16-bit range: in use, not an error
        {-70000, 1},
        {-5, -5},
    };
    for (const auto& [stored, expected] : cases) {
        SaverHarness run;
        run.module.UsePassword = 3;
        run.system.use_password_value = stored;
        run.Start("/x");
        EXPECT_EQ(run.module.UsePassword, expected) << stored.value_or(-1);
        EXPECT_TRUE(run.backend.message_boxes().empty());
    }
}

TEST_F(MainTest, FullScreenCoversTheScreenThenGoesTopmostAndHidesThePointer) {
    saver.system.cursor_count = 2;
    saver.Start("/s");

    frmScreenSaver* form = saver.Loaded<frmScreenSaver>();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Left.get(), 0);
    EXPECT_EQ(form->Top.get(), 0);
    EXPECT_EQ(form->Width.get(), 15360);
    EXPECT_EQ(form->Height.get(), 11520);
    EXPECT_EQ(form->Caption.get(), "ScreenSaver ボール(Sample)");
    EXPECT_TRUE(form->shown());
    EXPECT_FALSE(form->modal());

    const std::string window = [&] {
        char text[32];
        std::snprintf(text, sizeof text, "%llx", static_cast<long long>(form->hWnd()));
        return std::string(text);
    }();
    // The covers come once the slide show is topmost.
    const std::vector<std::string> after_password = {
        "MakeTopmost " + window,       "Monitors",
        "ShowCovers " + window + " 0", "WatchMonitors " + window,
        "SetScreenSaverRunning 1",     "ShowCursor 0 -> 1",
        "ShowCursor 0 -> 0",           "ShowCursor 0 -> -1",
    };
    const std::vector<std::string> tail(saver.system.calls.end() - 8, saver.system.calls.end());
    EXPECT_EQ(tail, after_password);
    EXPECT_TRUE(saver.system.CallsTo("SetParent").empty());
}

TEST_F(MainTest, FullScreenHidesThePointerAtLeastOnce) {
    saver.system.cursor_count = -3;  // already hidden
    saver.Start("/s");
    EXPECT_EQ(saver.system.CallsTo("ShowCursor").size(), 1u);
    EXPECT_EQ(saver.system.cursor_count, -4);
}

TEST_F(MainTest, PreviewBecomesAChildThatFillsTheHost) {
    saver.Start("/p 1234");

    frmScreenSaver* form = saver.Loaded<frmScreenSaver>();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Caption.get(), "ScreenSaver Preview");
    EXPECT_EQ(saver.system.window_style, static_cast<std::int32_t>(0xC0000000u))
        << "the child style is added, no other bit changes";
    ASSERT_EQ(saver.system.CallsTo("SetParent").size(), 1u);
    EXPECT_EQ(saver.system.CallsTo("SetParent")[0].substr(
                  saver.system.CallsTo("SetParent")[0].rfind(' ') + 1),
              "4d2");  // 1234
    EXPECT_EQ(form->Left.get(), 0);
    EXPECT_EQ(form->Top.get(), 0);
    EXPECT_EQ(form->Width.get(), 152 * 15);
    EXPECT_EQ(form->Height.get(), 112 * 15);
    EXPECT_TRUE(form->shown());
    EXPECT_TRUE(saver.system.CallsTo("MakeTopmost").empty());
    EXPECT_TRUE(saver.system.CallsTo("SetScreenSaverRunning").empty());
    EXPECT_TRUE(saver.system.CallsTo("ShowCursor").empty());
}

TEST_F(MainTest, PreviewHandleIgnoresBlanksAndMayBeZero) {
    saver.Start("/p    5678   ");
    EXPECT_EQ(saver.system.CallsTo("SetParent")[0].substr(
                  saver.system.CallsTo("SetParent")[0].rfind(' ') + 1),
              "162e");

    SaverHarness bare;
    bare.system.host_client_size.reset();  // handle 0 names no window
    bare.Start("/p");
    ASSERT_EQ(bare.system.CallsTo("SetParent").size(), 1u);
    EXPECT_EQ(bare.system.CallsTo("SetParent")[0].substr(
                  bare.system.CallsTo("SetParent")[0].rfind(' ') + 1),
              "0");
    ASSERT_NE(bare.Loaded<frmScreenSaver>(), nullptr);
    EXPECT_TRUE(bare.Loaded<frmScreenSaver>()->shown());
}

TEST_F(MainTest, PasswordChangeIsOwnedByTheHandleOrTheForegroundWindow) {
    saver.Start("/a 1234");
    EXPECT_EQ(saver.system.CallsTo("PwdChangePassword"),
              std::vector<std::string>{"PwdChangePassword 4d2"});
    EXPECT_TRUE(saver.app.forms().empty());

    for (const char* arguments : {"/a", "/a:1234", "/A   "}) {
        SaverHarness run;
        run.Start(arguments);
        EXPECT_EQ(run.system.CallsTo("PwdChangePassword"),
                  std::vector<std::string>{"PwdChangePassword 77"})
            << arguments;
    }
}

TEST_F(MainTest, MissingPasswordServiceEndsQuietly) {
    saver.system.password_change_available = false;
    saver.Start("/a 1234");
    EXPECT_TRUE(saver.backend.message_boxes().empty());
    EXPECT_TRUE(saver.app.forms().empty());
}

TEST_F(MainTest, HandleThatNoIntegerHoldsTakesTheErrorPath) {
    saver.Start("/p 1e300");
    ASSERT_EQ(saver.backend.message_boxes().size(), 1u);
    EXPECT_EQ(saver.backend.message_boxes()[0].title, "Ostra'sSlideShowScreenSaver");
    EXPECT_NE(saver.backend.message_boxes()[0].prompt.find("1e300"), std::string::npos);
    EXPECT_TRUE(saver.backend.program_ended());
    EXPECT_TRUE(saver.system.CallsTo("SetParent").empty());
}

TEST_F(MainTest, SettingsDialogOpensModalNearThePointer) {
    saver.system.cursor = startup::PixelPoint{500, 400};
    saver.Start("/c");

    frmSetting* dialog = saver.Loaded<frmSetting>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->Left.get(), 4800);
    EXPECT_EQ(dialog->Top.get(), 3300);
    EXPECT_EQ(dialog->Caption.get(), "ScreenSaver ボール(Sample)");
    EXPECT_TRUE(dialog->modal());
}

TEST_F(MainTest, SettingsDialogWithoutPointerStandsAt1500Pixels) {
    saver.Start("/c");  // the fake has no pointer position
    frmSetting* dialog = saver.Loaded<frmSetting>();
    ASSERT_NE(dialog, nullptr);
    // The dialog is 8025 + 90 by 4635 + 315 twips: both edges are pulled back onto the screen.
    EXPECT_EQ(dialog->Left.get(), 15360 - 8115);
    EXPECT_EQ(dialog->Top.get(), 11520 - 4950);
}

}  // namespace
}  // namespace kivo::testing
