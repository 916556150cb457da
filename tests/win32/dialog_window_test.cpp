// The real settings dialog's windows over the Win32 backend: frame, icon, font, colours.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "forms_runtime/win32/wide.h"
#include "tests/win32/form_test.h"

namespace kivo::test {
namespace {

using settings_dialog::frmSetting;
using DialogWindowTest = FormTest;

TEST_F(DialogWindowTest, AToolWindowWithAFixedFrameAroundTheDesignSize) {
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
}

TEST_F(DialogWindowTest, TheWindowCarriesTheProgramsIconInBothSizes) {
    frmSetting& dialog = LoadDialog();
    for (const auto& [which, size] : {std::pair{ICON_BIG, 32L}, std::pair{ICON_SMALL, 16L}}) {
        SCOPED_TRACE(which);
        const auto icon = reinterpret_cast<HICON>(
            SendMessageW(WindowOf(dialog), WM_GETICON, static_cast<WPARAM>(which), 0));
        ICONINFO info = {};
        ASSERT_TRUE(icon != nullptr && GetIconInfo(icon, &info));
        BITMAP bitmap = {};
        GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        EXPECT_EQ(bitmap.bmWidth, size);
        EXPECT_EQ(bitmap.bmHeight, size);
    }
}

TEST_F(DialogWindowTest, AutoSizedLabelsTakeTheWidthOfTheirTextInTheControlsFont) {
    frmSetting& dialog = LoadDialog();
    const std::wstring text = L"WWWWWWWWWW";
    const auto width_in = [&text](HGDIOBJ font) {
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, font);
        SIZE size = {};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        return size.cx;
    };
    const LONG width = width_in(
        reinterpret_cast<HGDIOBJ>(SendMessageW(WindowOf(dialog.chkFile), WM_GETFONT, 0, 0)));
    ASSERT_NE(width, width_in(GetStockObject(SYSTEM_FONT))) << "a text that tells fonts apart";
    dialog.lblPath.Caption = forms::win32::Narrow(text);
    EXPECT_FLOAT_EQ(dialog.lblPath.Width, scale.TwipsX(width));
}

TEST_F(DialogWindowTest, TheSurfacesAndTheCheckBoxAreBlackWithWhiteCaptions) {
    frmSetting& dialog = LoadDialog();
    const Snapshot form(WindowOf(dialog));
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
}

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

TEST_F(DialogWindowTest, TheIntervalBoxIsNeverWhiteWhileTheDialogOpens) {
    frmSetting& dialog = LoadDialog();
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

}  // namespace
}  // namespace kivo::test
