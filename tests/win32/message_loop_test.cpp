// A tick that waits for its picture: the user's input goes through meanwhile, as the screen
// shows it; timer events and paints wait until the load is over; elsewhere a load only waits.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "forms_runtime/win32/window/display.h"
#include "forms_runtime/win32/window/message_loop.h"
#include "tests/win32/test_files.h"
#include "tests/win32/test_forms.h"

namespace kivo::forms::win32::test {
namespace {

// A load on another thread: the user presses a key while it runs, then it is done.
class SlowLoad {
  public:
    SlowLoad() : done_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        thread_ = std::thread([this] {
            Sleep(150);
            INPUT keys[2] = {};
            keys[0].type = INPUT_KEYBOARD;
            keys[0].ki.wVk = VK_F7;
            keys[1] = keys[0];
            keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
            SendInput(2, keys, sizeof(INPUT));
            Sleep(350);
            SetEvent(done_);
        });
    }
    ~SlowLoad() {
        thread_.join();
        CloseHandle(done_);
    }
    HANDLE done() const { return done_; }

  private:
    HANDLE done_;
    std::thread thread_;
};

class SuspendedTickTest : public FormTest {
  protected:
    SuspendedTickTest() {
        pictures.Write("photo.bmp", SolidBmp(40, 20, 0xFF0000));
        form.Find<Image>("imgPhoto").Picture = backend.LoadPicture(pictures.Join("photo.bmp"), {});
        form.Show();
        window = reinterpret_cast<HWND>(form.hWnd());
        SetForegroundWindow(window);
        Pump(std::chrono::milliseconds(100));            // shown and painted
        form.Find<Timer>("tmrTick").Interval = 1000000;  // ticks below come from the test only
        form.keys.clear();
    }

    // The timer message's identifier of tmrTick: its position among the controls, plus one.
    WPARAM TimerId() const {
        const auto& controls = form.controls();
        for (std::size_t i = 0; i < controls.size(); ++i) {
            if (controls[i]->name() == "tmrTick") {
                return i + 1;
            }
        }
        return 0;
    }

    TempFolder pictures;
    CanvasForm& form = app.Load<CanvasForm>();
    HWND window = nullptr;
    PixelScale scale = ScreenScale();
};

TEST_F(SuspendedTickTest, InsideATimerEventTheKeyArrivesWhileTheLoadRuns) {
    SlowLoad load;
    bool suspended_at_input = false;
    std::size_t keys_at_input = 0;
    {
        const TimerEventScope tick;
        WaitForLoad(load.done(), [&] {
            suspended_at_input = TickSuspended();
            keys_at_input = std::max(keys_at_input, form.keys.size());
        });
        EXPECT_EQ(WaitForSingleObject(load.done(), 0), WAIT_OBJECT_0) << "returned before the load";
    }
    ASSERT_GE(keys_at_input, 1u) << "no key during the load";
    EXPECT_EQ(form.keys[0].first, VK_F7);
    EXPECT_TRUE(suspended_at_input);
    EXPECT_FALSE(TickSuspended());
}

TEST_F(SuspendedTickTest, ElsewhereTheKeyWaitsForTheLoad) {
    SlowLoad load;
    int inputs = 0;
    WaitForLoad(load.done(), [&] { ++inputs; });
    EXPECT_EQ(inputs, 0);
    EXPECT_TRUE(form.keys.empty());
    Pump(std::chrono::milliseconds(100));
    ASSERT_EQ(form.keys.size(), 1u) << "the key was lost";
    EXPECT_EQ(form.keys[0].first, VK_F7);
}

TEST_F(SuspendedTickTest, TimerEventsAndPaintsWaitUntilTheLoadIsOver) {
    SlowLoad load;
    int ticks_at_input = -1;
    bool paint_left_pending = true;
    const int ticks_before = form.ticks;
    {
        const TimerEventScope tick;
        WaitForLoad(load.done(), [&] {
            // As a loop that an input event opens (a password box) would deliver them.
            SendMessageW(window, WM_TIMER, TimerId(), 0);
            InvalidateRect(window, nullptr, FALSE);
            UpdateWindow(window);
            paint_left_pending = GetUpdateRect(window, nullptr, FALSE) != FALSE;
            ticks_at_input = form.ticks;
        });
    }
    EXPECT_EQ(ticks_at_input, ticks_before) << "a tick ran inside the tick";
    EXPECT_FALSE(paint_left_pending) << "the paint was neither done nor put aside";
    EXPECT_TRUE(GetUpdateRect(window, nullptr, FALSE)) << "the paint put aside was forgotten";
    SendMessageW(window, WM_TIMER, TimerId(), 0);
    EXPECT_EQ(form.ticks, ticks_before + 1) << "timer events stayed held";
}

TEST_F(SuspendedTickTest, TheMouseActsOnThePictureAsTheScreenStillShowsIt) {
    SlowLoad load;
    Image& photo = form.Find<Image>("imgPhoto");
    {
        const TimerEventScope tick;
        photo.Visible = false;  // as a tick hides the picture before it loads the next one
        bool clicked = false;   // once, after the first of the key's messages
        WaitForLoad(load.done(), [&] {
            if (!std::exchange(clicked, true)) {
                SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(110, 105));
            }
        });
        photo.Visible = true;
    }
    const auto downs = [this] {
        std::vector<std::string> seen;
        for (const auto& event : form.mouse) {
            if (event.what.ends_with(" down")) {
                seen.push_back(event.what);
            }
        }
        return seen;
    };
    ASSERT_EQ(downs(), std::vector<std::string>{"imgPhoto down"});
    const auto& down = form.mouse.back();
    EXPECT_FLOAT_EQ(down.x, scale.TwipsX(110 - scale.X(1500)));
    // Once the load is over, what the form holds counts again: a hidden picture takes nothing.
    photo.Visible = false;
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(110, 105));
    EXPECT_EQ(downs().size(), 1u);
}

}  // namespace
}  // namespace kivo::forms::win32::test
