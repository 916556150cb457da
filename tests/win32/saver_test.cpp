#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

#include "tests/common/picture_bytes.h"
#include "tests/win32/form_test.h"

namespace kivo::test {
namespace {

using saver_window::frmScreenSaver;
using SaverTest = FormTest;

constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kBlue = 0x0000FF;

TEST_F(SaverTest, ABorderlessPopupOfTheWholeWindowThatIsUnloadedWhenDestroyedFromOutside) {
    frmScreenSaver& saver = LoadSaver();
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(WindowOf(saver), GWL_STYLE));
    EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_THICKFRAME), DWORD{WS_POPUP});
    RECT client;
    GetClientRect(WindowOf(saver), &client);
    EXPECT_EQ(client.right, scale.X(saver.Width));  // the outer width
    EXPECT_EQ(client.bottom, scale.Y(saver.Height));
    DestroyWindow(WindowOf(saver));  // as a host ends the preview it holds
    EXPECT_TRUE(app.forms().empty());
}

TEST_F(SaverTest, WindowlessControlsTakeTheMouseInTwipsAndPaintInCreationOrderCutAtTheirEdges) {
    pictures.Write("halves.bmp", Bmp(40, 20, [](int x, int) { return x < 20 ? kRed : kBlue; }));
    frmScreenSaver& saver = LoadSaver();
    Tick(saver);
    const HWND window = WindowOf(saver);
    const RECT picture = Bounds(saver.Imager);
    const LPARAM black = MAKELPARAM(picture.left - 5, picture.top - 5);
    module.MouseSeen = 0;  // whatever the real pointer did over the shown window
    SendMessageW(window, WM_MOUSEMOVE, 0, black);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, black);
    EXPECT_EQ(module.MouseSeen, 0) << "the black area takes nothing";
    ASSERT_TRUE(app.AnyFormLoaded());
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(picture.left + 10, picture.top + 5));
    EXPECT_EQ(module.LastMouseX, static_cast<std::int32_t>(scale.TwipsX(10)));
    EXPECT_EQ(module.LastMouseY, static_cast<std::int32_t>(scale.TwipsY(5)));

    saver.Label.Move(saver.Imager.Left, saver.Imager.Top);  // the file name under the picture
    EXPECT_EQ(Snapshot(window).Bright(picture), 0) << "the picture, created later, on top";
    saver.Imager.Move(scale.TwipsX(-20), saver.Imager.Top);  // its left half outside the window
    saver.Label.Caption = std::string(80, 'W');              // far wider than the label
    const Snapshot painted(window);
    EXPECT_EQ(painted.At(0, picture.top), kBlue);
    EXPECT_EQ(painted.At(19, picture.bottom - 1), kBlue);
    EXPECT_EQ(painted.At(20, picture.top), 0u);
    const RECT label = Bounds(saver.Label);
    EXPECT_GT(painted.Bright(label), 5);
    EXPECT_EQ(painted.Bright(RECT{label.right, label.top, painted.width, label.bottom}), 0);
}

// The screen's pixel at a point of the window, as its paints left it.
std::uint32_t OnScreen(HWND window, POINT at) {
    HDC dc = GetDC(window);
    const COLORREF pixel = GetPixel(dc, at.x, at.y);
    ReleaseDC(window, dc);
    return (GetRValue(pixel) << 16) | (GetGValue(pixel) << 8) | GetBValue(pixel);
}

// What the screen showed after each paint of the window: the picture's colour at the middle, and
// whether the label showed letters past the end of the short name.
struct PaintRecord {
    std::uint32_t middle;
    bool long_name;
};
std::vector<PaintRecord>* painted = nullptr;
WNDPROC painted_window_procedure = nullptr;

LRESULT CALLBACK RecordingProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    const LRESULT result =
        CallWindowProcW(painted_window_procedure, window, message, wparam, lparam);
    if (message == WM_PAINT && painted != nullptr) {
        RECT client;
        GetClientRect(window, &client);
        bool letters = false;
        for (int x = 60; x < 150 && !letters; ++x) {
            for (int y = 4; y < 20 && !letters; ++y) {
                letters = (OnScreen(window, {x, y}) & 0x808080) == 0x808080;
            }
        }
        painted->push_back({OnScreen(window, {client.right / 2, client.bottom / 2}), letters});
    }
    return result;
}

// The next slide is loaded before its tick, and the tick shows it, label and picture, in one paint
// of each window; every window changes at that one tick.
TEST_F(SaverTest, ATickShowsThePreparedSlidesOfEveryWindowInOnePaint) {
    pictures.Write("r.bmp", SolidBmp(40, 20, kRed));  // shown first, the second of two
    pictures.Write("long-long-long-long-name.bmp", SolidBmp(40, 20, kBlue));
    frmScreenSaver& saver = LoadSaver();
    auto& other = app.Load<frmScreenSaver>(module, saver.Slides());
    other.Move(saver.Left + saver.Width, saver.Top, saver.Width, saver.Height);  // beside it
    other.Show();
    saver.Slides()->Prepare();
    Settle();
    const HWND window = WindowOf(saver);
    const POINT middle{scale.X(saver.Width) / 2, scale.Y(saver.Height) / 2};
    Tick(saver);
    EXPECT_EQ(saver.Label.Caption.get(), "r.bmp");
    EXPECT_EQ(other.Label.Caption.get(), "long-long-long-long-name.bmp") << "not in the tick";
    ASSERT_TRUE(PumpUntil([&] { return !backend.Busy() && OnScreen(window, middle) == kRed; }));
    Pump(std::chrono::milliseconds(100));
    EXPECT_EQ(OnScreen(window, middle), kRed)
        << "the next slide, loaded meanwhile, was painted before its tick";

    std::vector<PaintRecord> records;
    painted = &records;
    painted_window_procedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingProcedure)));
    Tick(saver);
    EXPECT_EQ(other.Label.Caption.get(), "r.bmp") << "in the same tick";
    PumpUntil([&] { return !records.empty(); });
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(painted_window_procedure));
    painted = nullptr;
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records.front().middle, kBlue);
    EXPECT_TRUE(records.front().long_name) << "the picture painted before its name";
}

}  // namespace
}  // namespace kivo::test
