// The real slide show window over the Win32 backend: its frame, its windowless painting, the
// mouse by hit test in twips, the keys, its end from outside, and input during a tick that waits
// for its picture.
#include <gtest/gtest.h>

#include <thread>

#include "tests/common/picture_bytes.h"
#include "tests/win32/form_test.h"

namespace kivo::test {
namespace {

using saver_window::frmScreenSaver;
using SaverTest = FormTest;

constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kBlue = 0x0000FF;

TEST_F(SaverTest, ABorderlessPopupWhoseClientAreaIsTheWholeWindow) {
    frmScreenSaver& saver = LoadSaver();
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(WindowOf(saver), GWL_STYLE));
    EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_VISIBLE), DWORD{WS_POPUP});
    RECT client;
    GetClientRect(WindowOf(saver), &client);
    EXPECT_EQ(client.right, scale.X(saver.Width));  // the outer width
    EXPECT_EQ(client.bottom, scale.Y(saver.Height));
}

TEST_F(SaverTest, WindowlessControlsPaintInCreationOrderCutAtTheirEdges) {
    pictures.Write("halves.bmp", Bmp(40, 20, [](int x, int) { return x < 20 ? kRed : kBlue; }));
    frmScreenSaver& saver = LoadSaver();
    Tick(saver);
    saver.Label.Move(saver.Imager.Left, saver.Imager.Top);  // the file name under the picture
    const RECT picture = Bounds(saver.Imager);
    EXPECT_EQ(Snapshot(WindowOf(saver)).Bright(picture), 0) << "the picture, created later, on top";
    saver.Imager.Move(scale.TwipsX(-20), saver.Imager.Top);  // its left half outside the window
    saver.Label.Caption = std::string(80, 'W');              // far wider than the label
    const Snapshot painted(WindowOf(saver));
    EXPECT_EQ(painted.At(0, picture.top), kBlue);
    EXPECT_EQ(painted.At(19, picture.bottom - 1), kBlue);
    EXPECT_EQ(painted.At(20, picture.top), 0u);
    const RECT label = Bounds(saver.Label);
    EXPECT_GT(painted.Bright(label), 5);
    EXPECT_EQ(painted.Bright(RECT{label.right, label.top, painted.width, label.bottom}), 0);
}

TEST_F(SaverTest, TheMouseReachesThePictureInTwipsOfItsOwnAndTheBlackAreaTakesNothing) {
    pictures.Write("red.bmp", SolidBmp(40, 20, kRed));
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

TEST_F(SaverTest, EveryKeyReachesTheWindowAndEndsTheSlideShow) {
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

TEST_F(SaverTest, AWindowDestroyedFromOutsideUnloadsItsForm) {
    frmScreenSaver& saver = LoadSaver();
    DestroyWindow(WindowOf(saver));  // as a host ends the preview it holds
    EXPECT_FALSE(app.AnyFormLoaded());
    EXPECT_TRUE(app.forms().empty());
}

class SlowLoadTest : public FormTest, public ::testing::WithParamInterface<bool> {};

TEST_P(SlowLoadTest, InputOnTheSlideShowAsShownEndsTheProgramBeforeTheLoadIsDone) {
    pictures.Write("slow.png", SlowSolidPng(8000, 6000, kRed));
    frmScreenSaver& saver = LoadSaver();
    saver.Show();
    Pump(std::chrono::milliseconds(100));
    ASSERT_TRUE(app.AnyFormLoaded());
    POINT centre{scale.X(saver.Width) / 2, scale.Y(saver.Height) / 2};
    ClientToScreen(WindowOf(saver), &centre);
    std::thread user([click = GetParam(), centre] {  // the user, 100 ms into the load
        Sleep(100);
        if (click) {
            SetCursorPos(centre.x, centre.y);
            mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
            mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
        } else {
            keybd_event(VK_F7, 0, 0, 0);
            keybd_event(VK_F7, 0, KEYEVENTF_KEYUP, 0);
        }
    });
    Tick(saver);  // it hides the picture, then loads the slow one: half a second or more
    user.join();
    EXPECT_TRUE(app.ended()) << "the input waited for the load";
}

INSTANTIATE_TEST_SUITE_P(KeyAndClick, SlowLoadTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Click" : "Key"; });

}  // namespace
}  // namespace kivo::test
