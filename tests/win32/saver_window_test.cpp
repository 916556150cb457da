// The real slide show window over the Win32 backend: its frame, its windowless painting, the
// mouse by hit test in twips, the keys, and its end from outside.
#include <gtest/gtest.h>

#include "tests/win32/form_test.h"
#include "tests/win32/picture_writers.h"

namespace kivo::test {
namespace {

using saver_window::frmScreenSaver;
using SaverWindowTest = FormTest;

constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kBlue = 0x0000FF;

PixelOf Solid(std::uint32_t rgb) {
    return [rgb](int, int) { return rgb; };
}

TEST_F(SaverWindowTest, ABorderlessPopupWhoseClientAreaIsTheWholeWindow) {
    frmScreenSaver& saver = LoadSaver();
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(WindowOf(saver), GWL_STYLE));
    EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_VISIBLE), DWORD{WS_POPUP});
    RECT client;
    GetClientRect(WindowOf(saver), &client);
    EXPECT_EQ(client.right, scale.X(saver.Width));  // the outer width
    EXPECT_EQ(client.bottom, scale.Y(saver.Height));
}

TEST_F(SaverWindowTest, ThePictureCoversTheFileNameCreatedBeforeIt) {
    pictures.Write("red.bmp", Bmp(120, 30, Solid(kRed)));
    frmScreenSaver& saver = LoadSaver();
    Tick(saver);
    saver.Label.Move(saver.Imager.Left, saver.Imager.Top);  // the name under the picture
    const RECT picture = Bounds(saver.Imager);
    const Snapshot covered(WindowOf(saver));
    EXPECT_EQ(covered.Bright(picture), 0);
    EXPECT_EQ(covered.At(picture.left + 2, picture.top + 2), kRed);
    saver.Imager.Visible = false;
    EXPECT_GT(Snapshot(WindowOf(saver)).Bright(picture), 5) << "the name, once uncovered";
}

TEST_F(SaverWindowTest, WindowlessControlsAreCutAtTheirEdgesAndTheWindows) {
    pictures.Write("halves.bmp", Bmp(40, 20, [](int x, int) { return x < 20 ? kRed : kBlue; }));
    frmScreenSaver& saver = LoadSaver();
    Tick(saver);
    saver.Imager.Move(scale.TwipsX(-20), scale.TwipsY(30));  // its left half outside
    saver.Label.Caption = std::string(80, 'W');              // far wider than the label
    const Snapshot painted(WindowOf(saver));
    EXPECT_EQ(painted.At(0, 30), kBlue);
    EXPECT_EQ(painted.At(19, 49), kBlue);
    EXPECT_EQ(painted.At(20, 30), 0u);
    const RECT label = Bounds(saver.Label);
    EXPECT_GT(painted.Bright(label), 5);
    EXPECT_EQ(painted.Bright(RECT{label.right, label.top, painted.width, label.bottom}), 0);
}

TEST_F(SaverWindowTest, TheMouseReachesThePictureInTwipsOfItsOwnAndTheBlackAreaTakesNothing) {
    pictures.Write("red.bmp", Bmp(40, 20, Solid(kRed)));
    frmScreenSaver& saver = LoadSaver();
    Tick(saver);
    const HWND window = WindowOf(saver);
    const RECT picture = Bounds(saver.Imager);
    const LPARAM black = MAKELPARAM(picture.left - 5, picture.top - 5);
    const LPARAM inside = MAKELPARAM(picture.left + 10, picture.top + 5);
    SendMessageW(window, WM_MOUSEMOVE, 0, black);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, black);
    EXPECT_EQ(module.MouseSeen, 0);
    ASSERT_TRUE(app.AnyFormLoaded());
    SendMessageW(window, WM_MOUSEMOVE, 0, inside);
    EXPECT_EQ(module.MouseSeen, 1);
    EXPECT_EQ(module.LastMouseX, static_cast<std::int32_t>(scale.TwipsX(10)));
    EXPECT_EQ(module.LastMouseY, static_cast<std::int32_t>(scale.TwipsY(5)));
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, inside);
    EXPECT_FALSE(app.AnyFormLoaded());
}

TEST_F(SaverWindowTest, EveryKeyReachesTheWindowAndEndsTheSlideShow) {
    for (const UINT key :
         {UINT{VK_ESCAPE}, UINT{VK_TAB}, UINT{VK_RETURN}, UINT{VK_SPACE}, UINT{'A'}}) {
        SCOPED_TRACE(key);
        frmScreenSaver& saver = LoadSaver();
        saver.Show();
        PostMessageW(WindowOf(saver), WM_KEYDOWN, key, 1);
        Pump();
        EXPECT_FALSE(app.AnyFormLoaded());
    }
}

TEST_F(SaverWindowTest, AWindowDestroyedFromOutsideUnloadsItsForm) {
    frmScreenSaver& saver = LoadSaver();
    DestroyWindow(WindowOf(saver));  // as a host ends the preview it holds
    EXPECT_FALSE(app.AnyFormLoaded());
    EXPECT_TRUE(app.forms().empty());
}

}  // namespace
}  // namespace kivo::test
