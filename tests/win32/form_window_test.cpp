// A borderless form's window: its frame, its painting, its mouse, keys and timers, its end.
#include <gtest/gtest.h>

#include "forms_runtime/win32/window/display.h"
#include "tests/win32/test_files.h"
#include "tests/win32/test_forms.h"

namespace kivo::forms::win32::test {
namespace {

constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kGreen = 0x00FF00;

class CanvasTest : public FormTest {
  protected:
    CanvasTest() {
        pictures.Write("back.bmp", SolidBmp(10, 5, kGreen));
        pictures.Write("photo.bmp", SolidBmp(40, 20, kRed));
    }

    CanvasForm& LoadCanvas() {
        CanvasForm& form = app.Load<CanvasForm>();
        form.Find<Image>("imgBack").Picture = backend.LoadPicture(pictures.Join("back.bmp"), {});
        form.Find<Image>("imgPhoto").Picture = backend.LoadPicture(pictures.Join("photo.bmp"), {});
        return form;
    }
    static HWND WindowOf(const Form& form) { return reinterpret_cast<HWND>(form.hWnd()); }
    // A point in client pixels, as the mouse messages carry it.
    static LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

    TempFolder pictures;
    PixelScale scale = ScreenScale();
};

TEST_F(CanvasTest, ABorderlessFormIsAPopupWhoseClientAreaIsTheWholeWindow) {
    CanvasForm& form = LoadCanvas();
    HWND window = WindowOf(form);
    ASSERT_TRUE(IsWindow(window));
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    EXPECT_NE(style & WS_POPUP, 0u);
    EXPECT_EQ(style & WS_CAPTION, 0u);
    EXPECT_EQ(style & WS_VISIBLE, 0u);  // created hidden
    const FrameInsets insets = form.peer()->Insets();
    EXPECT_EQ(insets.left + insets.top + insets.right + insets.bottom, 0.0f);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, scale.X(6000));
    EXPECT_EQ(client.bottom, scale.Y(4500));
    EXPECT_EQ(WindowText(window), "キャンバス");
}

TEST_F(CanvasTest, CaptionAndGeometryFollowTheForm) {
    CanvasForm& form = LoadCanvas();
    HWND window = WindowOf(form);
    form.Caption = "スライド";
    form.Move(scale.TwipsX(10), scale.TwipsY(20), scale.TwipsX(200), scale.TwipsY(100));
    EXPECT_EQ(WindowText(window), "スライド");
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 10);
    EXPECT_EQ(rect.top, 20);
    EXPECT_EQ(rect.right - rect.left, 200);
    EXPECT_EQ(rect.bottom - rect.top, 100);
}

TEST_F(CanvasTest, PaintsTheWindowlessControlsInCreationOrder) {
    CanvasForm& form = LoadCanvas();
    const ClientPicture painted(WindowOf(form));
    EXPECT_EQ(painted.At(350, 250), 0x000000u);  // the form's own colour
    EXPECT_EQ(painted.At(150, 80), kGreen);      // the first image, stretched to 200 x 100
    EXPECT_EQ(painted.At(108, 28), 0x0000C8u);   // the label's own colour, over that image
    EXPECT_EQ(painted.At(110, 110), kRed);       // the second image at its natural size
    EXPECT_EQ(painted.At(139, 119), kRed);
    EXPECT_EQ(painted.At(141, 110), 0x000000u);
}

TEST_F(CanvasTest, HiddenControlsAreNotPaintedAndPicturesAreCutAtTheEdges) {
    CanvasForm& form = LoadCanvas();
    Image& photo = form.Find<Image>("imgPhoto");
    photo.Visible = false;
    EXPECT_EQ(ClientPicture(WindowOf(form)).At(110, 110), 0x000000u);
    photo.Visible = true;
    photo.Move(scale.TwipsX(-20), scale.TwipsY(150));  // half of it left of the window
    const ClientPicture painted(WindowOf(form));
    EXPECT_EQ(painted.At(0, 155), kRed);
    EXPECT_EQ(painted.At(19, 169), kRed);
    EXPECT_EQ(painted.At(21, 155), 0x000000u);
}

TEST_F(CanvasTest, ChangesDuringAnEventOnlyMarkTheWindowForRepainting) {
    CanvasForm& form = LoadCanvas();
    HWND window = WindowOf(form);
    form.Show();
    Pump(std::chrono::milliseconds(50));
    ASSERT_FALSE(GetUpdateRect(window, nullptr, FALSE));
    Event([&] {
        Image& photo = form.Find<Image>("imgPhoto");
        photo.Visible = false;
        photo.Move(scale.TwipsX(300), scale.TwipsY(200));
        photo.Visible = true;
        RECT dirty;
        EXPECT_TRUE(GetUpdateRect(window, &dirty, FALSE));
        // Where it was and where it is now, both waiting.
        EXPECT_LE(dirty.left, 100);
        EXPECT_LE(dirty.top, 100);
        EXPECT_GE(dirty.right, 340);
        EXPECT_GE(dirty.bottom, 220);
    });
    Pump(std::chrono::milliseconds(50));
    EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE));
}

TEST_F(CanvasTest, TheImageUnderThePointerGetsTheMouseInTwipsOfItsOwn) {
    CanvasForm& form = LoadCanvas();
    HWND window = WindowOf(form);
    SendMessageW(window, WM_MOUSEMOVE, 0, At(110, 105));
    SendMessageW(window, WM_MOUSEMOVE, 0, At(110, 105));  // a repeat at the same place, too
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, At(20, 15));  // under the label
    SendMessageW(window, WM_MOUSEMOVE, 0, At(300, 250));                    // over no image
    ASSERT_EQ(form.mouse.size(), 3u);
    EXPECT_EQ(form.mouse[0].what, "imgPhoto move");
    EXPECT_FLOAT_EQ(form.mouse[0].x, scale.TwipsX(10));
    EXPECT_FLOAT_EQ(form.mouse[0].y, scale.TwipsY(5));
    EXPECT_EQ(form.mouse[1].what, "imgPhoto move");
    EXPECT_EQ(form.mouse[2].what, "imgBack move");
    EXPECT_EQ(form.mouse[2].button, 1);
    EXPECT_EQ(form.mouse[2].shift, 1);
    EXPECT_FLOAT_EQ(form.mouse[2].x, scale.TwipsX(20));
}

TEST_F(CanvasTest, AClickIsTheLeftButtonGoingDownAndUpOnTheSameImage) {
    CanvasForm& form = LoadCanvas();
    HWND window = WindowOf(form);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(110, 105));
    SendMessageW(window, WM_LBUTTONUP, 0, At(112, 106));
    SendMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, At(110, 105));
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(110, 105));
    SendMessageW(window, WM_LBUTTONUP, 0, At(50, 50));  // released over the other image
    std::vector<std::string> seen;
    for (const auto& event : form.mouse) {
        seen.push_back(event.what + " " + std::to_string(event.button));
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"imgPhoto down 1", "imgPhoto click 0",
                                              "imgPhoto down 2", "imgPhoto down 1"}));
}

TEST_F(CanvasTest, AFormWithoutControlsGetsEveryKey) {
    CanvasForm& form = LoadCanvas();
    HWND window = WindowOf(form);
    for (UINT key : {UINT{'A'}, UINT{VK_ESCAPE}, UINT{VK_TAB}, UINT{VK_RETURN}}) {
        PostMessageW(window, WM_KEYDOWN, key, 0);
    }
    Pump();
    ASSERT_EQ(form.keys.size(), 4u);
    EXPECT_EQ(form.keys[0], std::make_pair(int{'A'}, 0));
    EXPECT_EQ(form.keys[1].first, VK_ESCAPE);
    EXPECT_EQ(form.keys[2].first, VK_TAB);
    EXPECT_EQ(form.keys[3].first, VK_RETURN);
}

TEST_F(CanvasTest, TimersTickOnlyOnceTheFormHasLoadedAndWhileEnabled) {
    CanvasForm& form = LoadCanvas();
    EXPECT_EQ(form.ticks_during_load, 0);
    Pump(std::chrono::milliseconds(300));
    EXPECT_GT(form.ticks, 0);
    Timer& timer = form.Find<Timer>("tmrTick");
    timer.Enabled = false;
    Pump();
    const int stopped_at = form.ticks;
    Pump(std::chrono::milliseconds(150));
    EXPECT_EQ(form.ticks, stopped_at);
    timer.Enabled = true;
    timer.Interval = 0;
    Pump(std::chrono::milliseconds(150));
    EXPECT_EQ(form.ticks, stopped_at);
    timer.Interval = 20;
    Pump(std::chrono::milliseconds(300));
    EXPECT_GT(form.ticks, stopped_at);
}

TEST_F(CanvasTest, TheCloseRequestUnloadsTheFormUnlessItRefuses) {
    CanvasForm& form = LoadCanvas();
    HWND window = WindowOf(form);
    form.refuse_unload = true;
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(form.unloads, 1);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(form.loaded());
    form.refuse_unload = false;
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(app.AnyFormLoaded());
}

TEST_F(CanvasTest, AWindowDestroyedFromOutsideUnloadsItsForm) {
    CanvasForm& form = LoadCanvas();
    int unloads = 0;
    form.unloads_seen_outside = &unloads;
    DestroyWindow(WindowOf(form));  // as a host ends the preview it holds
    EXPECT_EQ(unloads, 1);
    EXPECT_FALSE(app.AnyFormLoaded());
    EXPECT_TRUE(app.forms().empty());  // released once the event was over
}

TEST_F(CanvasTest, DestroyingTwiceIsHarmless) {
    CanvasForm& form = LoadCanvas();
    HWND window = WindowOf(form);
    Event([&] {
        app.Unload(form);
        EXPECT_EQ(form.unloads, 1);
        form.peer()->Destroy();
        EXPECT_FALSE(IsWindow(window));
    });
}

TEST_F(CanvasTest, AModalShowReturnsOnceTheFormHasUnloaded) {
    CanvasForm& form = LoadCanvas();
    bool returned = false;
    Event([&] {
        PostMessageW(WindowOf(form), WM_CLOSE, 0, 0);
        form.Show(true);
        returned = true;
        EXPECT_EQ(form.unloads, 1);
    });
    EXPECT_TRUE(returned);
    EXPECT_FALSE(app.AnyFormLoaded());
}

TEST_F(CanvasTest, TextIsMeasuredInTheControlsFont) {
    CanvasForm& form = LoadCanvas();
    const Label& label = form.Find<Label>("lblTitle");
    const TextExtent one = form.peer()->MeasureText(label, "あ");
    const TextExtent four = form.peer()->MeasureText(label, "ああああ");
    EXPECT_GT(one.width, 0.0f);
    EXPECT_GT(one.height, 0.0f);
    EXPECT_NEAR(four.width, 4 * one.width, 2 * scale.twips_per_pixel_x);
    EXPECT_FLOAT_EQ(four.height, one.height);
}

}  // namespace
}  // namespace kivo::forms::win32::test
