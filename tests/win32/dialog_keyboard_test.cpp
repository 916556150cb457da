// The real settings dialog's keyboard over the Win32 backend: Tab, Enter, Esc, Space, the focus.
#include <gtest/gtest.h>

#include "settings_store/settings_names.h"
#include "tests/win32/form_test.h"

namespace kivo::test {
namespace {

using settings_dialog::frmSetting;
using DialogKeyboardTest = FormTest;

TEST_F(DialogKeyboardTest, TabVisitsTheControlsInTabIndexOrderAndComesRound) {
    frmSetting& dialog = ShowDialog();
    std::vector<std::string> visited{FocusName(dialog)};
    for (int i = 0; i < 7; ++i) {
        Press(VK_TAB);
        visited.push_back(FocusName(dialog));
    }
    EXPECT_EQ(visited, (std::vector<std::string>{"Drive", "Dir", "File", "txtSecond", "cmdOK",
                                                 "cmdCancel", "chkFile", "Drive"}));
}

struct KeyCase {
    const char* name;
    const char* focus;
    UINT key;
    bool ends;
    bool stores;
};

void PrintTo(const KeyCase& keys, std::ostream* out) {
    *out << keys.name;
}

class DialogKeyTest : public FormTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(DialogKeyTest, TheKeyDoesWhatTheFocusedControlMeans) {
    frmSetting& dialog = ShowDialog();
    ASSERT_TRUE(TabTo(dialog, GetParam().focus));
    Press(GetParam().key);
    EXPECT_EQ(app.ended(), GetParam().ends);
    EXPECT_EQ(Stored(settings::kIntervalKey), GetParam().stores);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, DialogKeyTest,
    ::testing::Values(KeyCase{"EnterInTheIntervalBoxIsOk", "txtSecond", VK_RETURN, true, true},
                      KeyCase{"EnterOnOkIsOk", "cmdOK", VK_RETURN, true, true},
                      KeyCase{"EnterOnTheCheckBoxIsOk", "chkFile", VK_RETURN, true, true},
                      KeyCase{"EnterOnCancelCancels", "cmdCancel", VK_RETURN, true, false},
                      KeyCase{"EnterInTheFolderListIsNotOk", "Dir", VK_RETURN, false, false},
                      KeyCase{"EscInTheDriveListCancels", "Drive", VK_ESCAPE, true, false},
                      KeyCase{"EscInTheIntervalBoxCancels", "txtSecond", VK_ESCAPE, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogKeyboardTest, SpaceTogglesTheFocusedCheckBox) {
    frmSetting& dialog = ShowDialog();
    ASSERT_TRUE(TabTo(dialog, "chkFile"));
    const HWND check = WindowOf(dialog.chkFile);
    for (const int expected : {0, 1}) {
        Press(VK_SPACE);
        EXPECT_EQ(dialog.chkFile.Value.get(), expected);
        EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), expected != 0 ? BST_CHECKED : 0);
    }
    EXPECT_FALSE(app.ended());
}

TEST_F(DialogKeyboardTest, TheFocusComesBackToItsControlWhenTheDialogIsActiveAgain) {
    frmSetting& dialog = ShowDialog();
    ASSERT_TRUE(TabTo(dialog, "txtSecond"));
    // The window manager hands the focus over on its own time: each step waits for it.
    const auto settled = [](const auto& done) {
        for (int i = 0; i < 100 && !done(); ++i) {
            Pump(std::chrono::milliseconds(10));
        }
        return done();
    };
    HWND other = CreateWindowExW(0, L"Static", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 100, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(settled([&] { return GetForegroundWindow() == other; }));
    SetForegroundWindow(WindowOf(dialog));
    EXPECT_TRUE(settled([&] { return FocusName(dialog) == "txtSecond"; }))
        << "the focus is on " << FocusName(dialog);
    DestroyWindow(other);
}

TEST_F(DialogKeyboardTest, AModalShowReturnsOnceTheDialogHasEnded) {
    frmSetting& dialog = LoadDialog();
    PostMessageW(WindowOf(dialog.Drive), WM_KEYDOWN, VK_ESCAPE, 1);
    // Should Esc not end it, a quit message ends the wait, not the test's time.
    const UINT_PTR safety =
        SetTimer(nullptr, 0, 3000, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); });
    dialog.Show(true);
    KillTimer(nullptr, safety);
    EXPECT_TRUE(app.ended());
    EXPECT_FALSE(Stored(settings::kIntervalKey));
}

}  // namespace
}  // namespace kivo::test
