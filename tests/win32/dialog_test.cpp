#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <string>

#include "tests/win32/form_test.h"

namespace kivo::test {
namespace {

using settings_dialog::frmSetting;
using DialogTest = FormTest;

// Samples the inside of the interval box, right of its text, after each step of its painting.
LRESULT CALLBACK SampleInside(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                              DWORD_PTR samples) {
    const LRESULT result = DefSubclassProc(window, message, wparam, lparam);
    if (message == WM_NCPAINT || message == WM_ERASEBKGND || message == WM_PAINT) {
        RECT client;
        GetClientRect(window, &client);
        HDC dc = GetDC(window);
        reinterpret_cast<std::vector<COLORREF>*>(samples)->push_back(
            GetPixel(dc, client.right - 3, client.bottom / 2));
        ReleaseDC(window, dc);
    }
    return result;
}

TEST_F(DialogTest, AFixedToolWindowInWhiteOnBlackNeverWhiteWhileItOpens) {
    frmSetting& dialog = LoadDialog();
    const HWND window = WindowOf(dialog);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const auto ex_style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
              DWORD{WS_CAPTION | WS_SYSMENU});
    EXPECT_EQ(ex_style & (WS_EX_TOOLWINDOW | WS_EX_APPWINDOW), DWORD{WS_EX_TOOLWINDOW});
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, scale.X(dialog.layout().client_width));
    EXPECT_EQ(client.bottom, scale.Y(dialog.layout().client_height));
    // The surfaces and the check box are black, their captions white.
    const Snapshot form(window);
    const Snapshot frame(WindowOf(dialog.frmFolder));
    const Snapshot check(WindowOf(dialog.chkFile));
    for (const auto& [surface, bare] : {std::pair{&form, POINT{2, form.height - 2}},
                                        std::pair{&frame, POINT{frame.width / 2, frame.height - 6}},
                                        std::pair{&check, POINT{check.width - 1, 0}}}) {
        EXPECT_EQ(surface->At(bare.x, bare.y), 0u) << "at " << bare.x << ", " << bare.y;
    }
    EXPECT_GT(check.Bright(RECT{0, 0, check.width, check.height}), 5) << "the check box's text";
    for (const auto& [surface, label] :
         {std::pair{&form, &dialog.Label1(1)}, std::pair{&form, &dialog.Label3},
          std::pair{&frame, &dialog.Label1(0)}, std::pair{&frame, &dialog.lblPath}}) {
        EXPECT_GT(surface->Bright(Bounds(*label)), 5) << label->name();
    }
    // The frame's caption rises above its border's top line.
    int border = 0;
    while (border < frame.height && frame.At(frame.width - 10, border) == 0) {
        ++border;
    }
    EXPECT_GT(frame.Bright(RECT{0, 0, frame.width / 2, border}), 5) << "the frame's caption";
    // The interval box is never white while the dialog opens.
    const HWND box = WindowOf(dialog.txtSecond);
    std::vector<COLORREF> samples;
    SetWindowSubclass(box, SampleInside, 1, reinterpret_cast<DWORD_PTR>(&samples));
    dialog.Show();
    Pump(std::chrono::milliseconds(100));
    RemoveWindowSubclass(box, SampleInside, 1);
    ASSERT_GE(samples.size(), 2u) << "the box was not painted";
    EXPECT_EQ(std::count_if(samples.begin(), samples.end(), [](COLORREF c) { return c != 0; }), 0)
        << "light in some of " << samples.size() << " looks";
}

TEST_F(DialogTest, TabGoesRoundInTabIndexOrderAndTheFocusComesBackWhenTheDialogIsActiveAgain) {
    frmSetting& dialog = ShowDialog();
    std::vector<std::string> visited{FocusName(dialog)};
    for (int i = 0; i < 7; ++i) {
        Press(VK_TAB);
        visited.push_back(FocusName(dialog));
    }
    EXPECT_EQ(visited, (std::vector<std::string>{"Drive", "Dir", "File", "txtSecond", "cmdOK",
                                                 "cmdCancel", "chkFile", "Drive"}));
    ASSERT_TRUE(TabTo(dialog, "txtSecond"));
    // The window manager hands the focus over on its own time: each step waits for it.
    HWND other = CreateWindowExW(0, L"Static", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 100, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == other; }));
    SetForegroundWindow(WindowOf(dialog));
    EXPECT_TRUE(PumpUntil([&] { return FocusName(dialog) == "txtSecond"; }))
        << "the focus is on " << FocusName(dialog);
    DestroyWindow(other);
}

struct KeyCase {
    const char* name;
    const char* focus;
    UINT key;
    const char* button;  // the button the key presses, or ""
    int check;           // the check box's value afterwards
};

// Notes in `pressed` the name of each of the dialog's buttons that is clicked.
void NotePresses(frmSetting& dialog, std::string& pressed) {
    for (forms::CommandButton* button : {&dialog.cmdOK, &dialog.cmdCancel}) {
        button->on_click = [&pressed, button, click = button->on_click] {
            pressed = button->name();
            click();
        };
    }
}

class DialogKeyTest : public FormTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(DialogKeyTest, TheKeyDoesWhatTheFocusedControlMeans) {
    frmSetting& dialog = ShowDialog();
    std::string pressed;
    NotePresses(dialog, pressed);
    ASSERT_TRUE(TabTo(dialog, GetParam().focus));
    Press(GetParam().key);
    EXPECT_EQ(pressed, GetParam().button);
    EXPECT_EQ(dialog.chkFile.Value.get(), GetParam().check);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, DialogKeyTest,
    ::testing::Values(KeyCase{"EnterInTheIntervalBoxIsOk", "txtSecond", VK_RETURN, "cmdOK", 1},
                      KeyCase{"EnterOnTheCheckBoxIsOk", "chkFile", VK_RETURN, "cmdOK", 1},
                      KeyCase{"EnterOnCancelCancels", "cmdCancel", VK_RETURN, "cmdCancel", 1},
                      KeyCase{"EnterInTheFolderListIsNotOk", "Dir", VK_RETURN, "", 1},
                      KeyCase{"EscInTheIntervalBoxCancels", "txtSecond", VK_ESCAPE, "cmdCancel", 1},
                      KeyCase{"EscInTheDriveListCancels", "Drive", VK_ESCAPE, "cmdCancel", 1},
                      KeyCase{"SpaceTogglesTheCheckBox", "chkFile", VK_SPACE, "", 0}),
    [](const auto& info) { return std::string(info.param.name); });

// The file list takes the folder's files but hidden and system ones, and goes into its window a
// slice at a time: a key that comes while it fills is answered before the last names are in.
TEST_F(DialogTest, AFileListWithoutHiddenOrSystemFilesGoesInASliceAtATimeWhileTheDialogAnswers) {
    constexpr int kNames = 2001;  // two slices and one name
    for (int i = 0; i < kNames; ++i) {
        pictures.Write(std::to_string(100000 + i) + ".bmp", "");
    }
    for (const auto& [name, attributes] : {std::pair{"Thumbs.db", DWORD{FILE_ATTRIBUTE_SYSTEM}},
                                           std::pair{"secret.jpg", DWORD{FILE_ATTRIBUTE_HIDDEN}}}) {
        const std::wstring file = pictures.Write(name, "x").wstring();
        SetFileAttributesW(file.c_str(), attributes);
        ASSERT_EQ(GetFileAttributesW(file.c_str()) & attributes, attributes)
            << name << ": the file system keeps no such attribute";
    }
    frmSetting& dialog = app.Load<frmSetting>(settings);
    dialog.Show();
    HWND list = WindowOf(dialog.File);
    const auto lines = [list] { return SendMessageW(list, LB_GETCOUNT, 0, 0); };
    // Until the names have arrived (the first slice goes in with them).
    ASSERT_TRUE(PumpUntil([&] { return dialog.File.ListCount() >= kNames; }));
    ASSERT_EQ(dialog.File.ListCount(), kNames) << "hidden or system files listed";
    EXPECT_LT(lines(), kNames) << "all in at once";
    const std::string before = FocusName(dialog);
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
    EXPECT_TRUE(PumpUntil([&] { return FocusName(dialog) != before; })) << "not answered";
    EXPECT_LT(lines(), kNames) << "the key waited for the whole list";
    Pump();
    EXPECT_EQ(lines(), kNames);
}

TEST_F(DialogTest, PickingADriveWithoutAMediumSaysSoAndKeepsTheDriveInEffect) {
    // The harness's Wine prefix has a Y: whose medium is gone (see tests/e2e/harness/lib.sh).
    frmSetting& dialog = ShowDialog();
    const std::string before = dialog.Drive.Drive;  // the drive list has the focus
    // The message box's text, answered with OK from another thread.
    auto message = std::async(std::launch::async, [owner = GetCurrentThreadId()] {
        wchar_t text[512] = {};
        for (int i = 0; i < 500 && text[0] == 0; ++i, Sleep(10)) {
            HWND box = FindWindowW(L"#32770", nullptr);
            if (box != nullptr && IsWindowVisible(box) &&
                GetWindowThreadProcessId(box, nullptr) == owner) {
                GetDlgItemTextW(box, 0xFFFF, text, 512);  // the message's static text
                PostMessageW(box, WM_COMMAND, IDOK, 0);
            }
        }
        return std::wstring(text);
    });
    Press('Y');  // the list selects the drive of that letter
    Settle();
    EXPECT_NE(message.get().find(L"ドライブ Y: の準備ができていません"), std::wstring::npos)
        << "no message, or another";
    const auto shown = SendMessageW(WindowOf(dialog.Drive), CB_GETCURSEL, 0, 0);
    EXPECT_EQ(dialog.Drive.drives().at(static_cast<std::size_t>(shown)).root, before)
        << "the list shows another drive";
}

}  // namespace
}  // namespace kivo::test
