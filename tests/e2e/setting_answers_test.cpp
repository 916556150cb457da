// How the settings dialog ends: OK stores what it shows, a bad interval is refused with a message
// and stores nothing, Esc and the close box cancel, Enter in the interval box is OK. And what it
// shows on the way: a stored folder that has gone, a picture picked in the file list.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

#include "setting_dialog.h"

namespace kivo::e2e {
namespace {

constexpr COLORREF kRed = RGB(220, 30, 30);

class SettingAnswersTest : public SettingDialogTest {
  protected:
    // The working folder's own picture folder, as the settings name it.
    std::wstring DefaultFolder() const { return folder_.path() + L"\\sample\\"; }

    // The point in the middle of the preview image, on the screen.
    POINT PreviewCentre() const {
        const RECT preview = LayoutPixels(5580, 1350, 2235, 1635, true);
        POINT centre{(preview.left + preview.right) / 2, (preview.top + preview.bottom) / 2};
        ClientToScreen(dialog_, &centre);
        return centre;
    }
};

TEST_F(SettingAnswersTest, OkOnAFreshProfileStoresTheShownSettingsAndEnds) {
    ASSERT_FALSE(RegistryKeyExists(kSettingsKey));
    ScopedProcess process = OpenDialog();
    EXPECT_EQ(ControlText(windows_.interval), L"3") << "the interval shown by default";
    EXPECT_EQ(SendMessageW(windows_.showName, BM_GETCHECK, 0, 0), BST_CHECKED)
        << "the file name is shown by default";

    ClickOn(windows_.ok);
    ASSERT_TRUE(process.WaitForExit(5s)) << "the dialog stayed after OK";
    EXPECT_EQ(process.exitCode(), std::optional<DWORD>(0));
    const Stored stored = ReadStored();  // throws for a value that is not REG_SZ
    EXPECT_EQ(stored.interval, std::optional<std::wstring>(L"3"));
    EXPECT_EQ(stored.folder, std::optional<std::wstring>(DefaultFolder()));
    EXPECT_EQ(stored.showName, std::optional<std::wstring>(L"1"));
}

TEST_F(SettingAnswersTest, TheCheckBoxAndTheIntervalBoxAreStoredAsTyped) {
    ScopedProcess process = OpenDialog();
    ClickOn(windows_.showName);
    ASSERT_TRUE(WaitUntil(
        [&] { return SendMessageW(windows_.showName, BM_GETCHECK, 0, 0) == BST_UNCHECKED; }, 3s));
    ASSERT_TRUE(TypeIntoBox(windows_.interval, L"12.5"));
    ClickOn(windows_.ok);
    ASSERT_TRUE(process.WaitForExit(5s));
    const Stored stored = ReadStored();
    EXPECT_EQ(stored.interval, std::optional<std::wstring>(L"12.5"));
    EXPECT_EQ(stored.showName, std::optional<std::wstring>(L"0"));
}

struct Refusal {
    const char* name;
    const wchar_t* typed;
    const wchar_t* message;
};

void PrintTo(const Refusal& refusal, std::ostream* out) {
    *out << refusal.name;
}

class SettingRefusalTest : public SettingAnswersTest,
                           public ::testing::WithParamInterface<Refusal> {};

TEST_P(SettingRefusalTest, ABadIntervalShowsItsMessageThenEndsWithoutStoring) {
    StoreSetting(kIntervalValue, L"5");
    StoreSetting(kFolderValue, DefaultFolder());
    StoreSetting(kFileNameValue, L"0");
    ScopedProcess process = OpenDialog();
    ASSERT_TRUE(TypeIntoBox(windows_.interval, GetParam().typed));
    ClickOn(windows_.ok);

    HWND box = WaitForMessageBox(process);
    ASSERT_NE(box, nullptr) << "no message box titled " << Narrow(kApplicationTitle);
    EXPECT_EQ(WindowTitle(box), kApplicationTitle);
    EXPECT_EQ(MessageBoxText(box), GetParam().message) << Narrow(MessageBoxText(box));
    EXPECT_TRUE(process.running()) << "the process waits for the message to be read";

    BringToForeground(box);
    PressKey(VK_RETURN);
    ASSERT_TRUE(process.WaitForExit(5s)) << "the process went on after the message";
    const Stored stored = ReadStored();
    EXPECT_EQ(stored.interval, std::optional<std::wstring>(L"5"));
    EXPECT_EQ(stored.folder, std::optional<std::wstring>(DefaultFolder()));
    EXPECT_EQ(stored.showName, std::optional<std::wstring>(L"0"));
}

INSTANTIATE_TEST_SUITE_P(Intervals, SettingRefusalTest,
                         ::testing::Values(Refusal{"NotANumber", L"abc",
                                                   L"数字を入力してください。"},
                                           Refusal{"TooShort", L"0", L"0.001以上でお願いします."}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingAnswersTest, EscCancelsWithoutStoringFromTheDriveListAndTheIntervalBox) {
    {
        ScopedProcess process = OpenDialog();  // the drive list has the keyboard
        PressKey(VK_ESCAPE);
        ASSERT_TRUE(process.WaitForExit(5s)) << "Esc in the drive list did not end the dialog";
    }
    WaitForNoSaverTitle();
    {
        ScopedProcess process = OpenDialog();
        ASSERT_TRUE(TypeIntoBox(windows_.interval, L"9"));
        PressKey(VK_ESCAPE);
        ASSERT_TRUE(process.WaitForExit(5s)) << "Esc in the interval box did not end the dialog";
    }
    EXPECT_FALSE(RegistryKeyExists(kSettingsKey));
}

TEST_F(SettingAnswersTest, TheCancelButtonAndTheCloseBoxEndWithoutStoring) {
    {
        ScopedProcess process = OpenDialog();
        ClickOn(windows_.cancel);
        ASSERT_TRUE(process.WaitForExit(5s)) << "キャンセル did not end the dialog";
    }
    WaitForNoSaverTitle();
    {
        ScopedProcess process = OpenDialog();
        PostMessageW(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);  // the close box
        ASSERT_TRUE(process.WaitForExit(5s)) << "closing the window did not end the dialog";
    }
    EXPECT_FALSE(RegistryKeyExists(kSettingsKey));
}

TEST_F(SettingAnswersTest, EnterOnTheFocusedCancelButtonCancels) {
    ScopedProcess process = OpenDialog();
    for (int i = 0; i < 5; ++i) {  // drive list, folder list, file list, interval, OK, キャンセル
        PressKey(VK_TAB);
    }
    ASSERT_TRUE(WaitUntil([&] { return FocusOfThreadOf(dialog_) == windows_.cancel; }, 3s));
    PressKey(VK_RETURN);
    ASSERT_TRUE(process.WaitForExit(5s));
    EXPECT_FALSE(RegistryKeyExists(kSettingsKey)) << "Enter pressed OK, not the focused キャンセル";
}

TEST_F(SettingAnswersTest, SpaceTogglesTheFocusedCheckBoxAndEnterThereIsOk) {
    ScopedProcess process = OpenDialog();
    KeyDown(VK_SHIFT);
    PressKey(VK_TAB);  // back from the drive list to the check box
    KeyUp(VK_SHIFT);
    ASSERT_TRUE(WaitUntil([&] { return FocusOfThreadOf(dialog_) == windows_.showName; }, 3s));
    PressKey(VK_SPACE);
    ASSERT_TRUE(WaitUntil(
        [&] { return SendMessageW(windows_.showName, BM_GETCHECK, 0, 0) == BST_UNCHECKED; }, 3s));
    PressKey(VK_RETURN);
    ASSERT_TRUE(process.WaitForExit(5s)) << "Enter on the check box did not press OK";
    EXPECT_EQ(ReadStored().showName, std::optional<std::wstring>(L"0"));
}

TEST_F(SettingAnswersTest, EnterInTheIntervalBoxIsOk) {
    ScopedProcess process = OpenDialog();
    ASSERT_TRUE(TypeIntoBox(windows_.interval, L"7"));
    PressKey(VK_RETURN);
    ASSERT_TRUE(process.WaitForExit(5s)) << "Enter did not press OK";
    EXPECT_EQ(ReadStored().interval, std::optional<std::wstring>(L"7"));
}

TEST_F(SettingAnswersTest, AStoredFolderThatIsGoneStillOpensTheDialogAndShowsItsText) {
    const std::wstring gone = L"C:\\kivo-e2e-gone\\写真\\";
    StoreSetting(kFolderValue, gone);
    ScopedProcess process = OpenDialog();
    EXPECT_TRUE(process.running());
    // The path label, white on black, at (600, 330) twips in the frame.
    RECT label = LayoutPixels(600, 330, 2835, 180, true);
    MapWindowPoints(dialog_, nullptr, reinterpret_cast<POINT*>(&label), 2);
    EXPECT_TRUE(WaitUntil(
        [&] {
            const auto pixels = ScreenPixels(label);
            return std::count_if(pixels.begin(), pixels.end(), [](COLORREF c) {
                       return GetRValue(c) > 160 && GetGValue(c) > 160 && GetBValue(c) > 160;
                   }) > 20;
        },
        3s))
        << "no text where the path stands";
    // OK stores the path as the label shows it: the stored text, untouched.
    ClickOn(windows_.ok);
    ASSERT_TRUE(process.WaitForExit(5s));
    EXPECT_EQ(ReadStored().folder, std::optional<std::wstring>(gone));
}

TEST_F(SettingAnswersTest, APictureClickedInTheFileListShowsInThePreview) {
    folder_.AddPicture(L"赤.bmp", 64, 48, kRed);
    ScopedProcess process = OpenDialog();
    ASSERT_TRUE(WaitUntil([&] { return ListLines(windows_.files).size() == 1; }, 3s));
    EXPECT_EQ(ListLines(windows_.files)[0], L"赤.bmp");
    const POINT preview = PreviewCentre();
    EXPECT_FALSE(ColoursClose(ScreenPixel(preview), kRed)) << "red before any click";

    const POINT line = LineCentre(windows_.files, 0);
    Click(line);
    EXPECT_TRUE(WaitForPixel(preview, kRed, 5s)) << ColourText(ScreenPixel(preview));
    // Stretched over the whole preview: near each corner inside the border too.
    RECT inside = LayoutPixels(5580, 1350, 2235, 1635, true);
    MapWindowPoints(dialog_, nullptr, reinterpret_cast<POINT*>(&inside), 2);
    InflateRect(&inside, -4, -4);
    EXPECT_TRUE(ColoursClose(ScreenPixel(inside.left, inside.top), kRed, 24));
    EXPECT_TRUE(ColoursClose(ScreenPixel(inside.right - 1, inside.bottom - 1), kRed, 24));
    EXPECT_TRUE(process.running());
}

TEST_F(SettingAnswersTest, PickingADriveOpensItsRootInTheFolderList) {
    ScopedProcess process = OpenDialog();  // the drive list has the keyboard
    const auto root_line = [&] {
        const auto lines = ListLines(windows_.folders);
        return lines.empty() ? std::wstring() : lines.front();
    };
    ASSERT_EQ(root_line(), L"C:\\");
    PressKey(VK_END);  // the last drive: Wine's Z:
    EXPECT_TRUE(WaitUntil([&] { return root_line() == L"Z:\\"; }, 3s)) << Narrow(root_line());
    PressKey(VK_HOME);
    EXPECT_TRUE(WaitUntil([&] { return root_line() == L"C:\\"; }, 3s)) << Narrow(root_line());
    ClickOn(windows_.ok);
    ASSERT_TRUE(process.WaitForExit(5s));
    EXPECT_EQ(ReadStored().folder, std::optional<std::wstring>(L"C:\\"));
}

TEST_F(SettingAnswersTest, EnterInTheFolderListOpensTheFolderNotOk) {
    const std::wstring sub = folder_.folder().MakeFolder(L"sample\\夏");
    WriteSolidBmp(sub + L"\\海.bmp", 40, 40, RGB(0, 0, 200));
    ScopedProcess process = OpenDialog();
    PressKey(VK_TAB);  // from the drive list to the folder list
    ASSERT_TRUE(WaitUntil([&] { return FocusOfThreadOf(dialog_) == windows_.folders; }, 3s));
    const auto lines = ListLines(windows_.folders);
    ASSERT_FALSE(lines.empty());
    ASSERT_EQ(lines.back(), L"夏") << "the subfolder is the last line";
    PressKey(VK_END);
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil(
        [&] {
            const auto files = ListLines(windows_.files);
            return files.size() == 1 && files[0] == L"海.bmp";
        },
        3s))
        << "the file list does not show the opened folder";
    EXPECT_FALSE(process.WaitForExit(500ms)) << "Enter pressed OK";

    ClickOn(windows_.ok);
    ASSERT_TRUE(process.WaitForExit(5s));
    EXPECT_EQ(ReadStored().folder, std::optional<std::wstring>(sub));
}

}  // namespace
}  // namespace kivo::e2e
