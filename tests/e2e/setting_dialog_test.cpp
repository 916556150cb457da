// The settings dialog: what it stores when it ends: OK the shown settings as text values, a
// cancel nothing, a refused interval its message and nothing.
#include "setting_dialog_test.h"

namespace kivo::e2e {
namespace {

::testing::AssertionResult NothingStored() {
    for (const wchar_t* name : {kIntervalValue, kFolderValue, kFileNameValue}) {
        if (ReadValue(kSettingsKey, name)) {
            return ::testing::AssertionFailure() << name << " was stored";
        }
    }
    return ::testing::AssertionSuccess();
}

TEST_F(SettingDialogTest, OkOnAFreshProfileStoresTheShownSettingsAsTextValues) {
    ScopedProcess process = OpenDialog();
    Click(Control(L"Button", L"OK"));
    ASSERT_TRUE(process.WaitForExit(5s)) << "the dialog stayed after OK";
    EXPECT_EQ(process.exitCode(), 0u);
    EXPECT_EQ(ReadValue(kSettingsKey, kIntervalValue), TextValue(L"3"));
    EXPECT_EQ(ReadValue(kSettingsKey, kFolderValue),
              TextValue((folder_.path() / L"sample\\").wstring()));
    EXPECT_EQ(ReadValue(kSettingsKey, kFileNameValue), TextValue(L"1"));
}

TEST_F(SettingDialogTest, CancelAndTheCloseBoxStoreNothing) {
    const std::pair<const char*, void (*)(HWND)> cancels[] = {
        {"キャンセル",
         [](HWND dialog) { Click(FindWindowExW(dialog, nullptr, L"Button", L"キャンセル")); }},
        {"close box", [](HWND dialog) { PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const auto& [name, cancel] : cancels) {
        ScopedProcess process = OpenDialog();
        cancel(dialog_);
        EXPECT_TRUE(process.WaitForExit(5s)) << name << " left the dialog open";
    }
    EXPECT_TRUE(NothingStored());
}

TEST_F(SettingDialogTest, ABadIntervalShowsItsMessageThenEndsWithoutStoring) {
    const std::pair<const wchar_t*, const wchar_t*> refusals[] = {
        {L"abc", L"数字を入力してください。"},
        {L"0", L"0.001以上でお願いします."},
    };
    for (const auto& [typed, message] : refusals) {
        SCOPED_TRACE(::testing::Message() << "typed " << typed);
        ScopedProcess process = OpenDialog();
        SetInterval(typed);
        Click(Control(L"Button", L"OK"));
        HWND box = WaitForWindowOf(process.id(), kApplicationTitle, 10s);
        ASSERT_NE(box, nullptr) << "no message box";
        EXPECT_NE(FindWindowExW(box, nullptr, L"Static", message), nullptr) << "not its message";
        EXPECT_TRUE(process.running()) << "the process waits for the message to be read";
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(process.WaitForExit(5s)) << "the process went on after the message";
    }
    EXPECT_TRUE(NothingStored());
}

}  // namespace
}  // namespace kivo::e2e
