// The settings dialog refusing an interval: its message box holds the process until it is read,
// then the process ends having stored nothing. What OK stores is tested in slow_folder_test.cpp,
// with the folder's listing held.
#include "setting_dialog_test.h"

namespace kivo::e2e {
namespace {

TEST_F(SettingDialogTest, ABadIntervalShowsItsMessageThenEndsWithoutStoring) {
    ScopedProcess process = OpenDialog();
    SetInterval(L"0");
    Click(Control(L"Button", L"OK"));
    HWND box = WaitForWindowOf(process.id(), kApplicationTitle);
    ASSERT_NE(box, nullptr) << "no message box";
    EXPECT_NE(FindWindowExW(box, nullptr, L"Static", L"0.001以上でお願いします."), nullptr)
        << "not its message";
    EXPECT_TRUE(process.running()) << "the process waits for the message to be read";
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(process.WaitForExit(15s)) << "the process went on after the message";
    for (const wchar_t* name : {kIntervalValue, kFolderValue, kFileNameValue}) {
        EXPECT_EQ(ReadValue(kSettingsKey, name), std::nullopt) << name << " was stored";
    }
}

}  // namespace
}  // namespace kivo::e2e
