// A tick that waits for its picture: the user's input still ends the slide show meanwhile, on the
// picture as the screen still shows it.
#include <gtest/gtest.h>

#include <thread>

#include "forms_runtime/win32/window/message_loop.h"
#include "tests/win32/form_test.h"
#include "tests/win32/picture_writers.h"

namespace kivo::test {
namespace {

using SuspendedTickTest = FormTest;

// A load on another thread: the user's input comes 100 ms into it, the load ends 400 ms later.
class SlowLoad {
  public:
    explicit SlowLoad(std::vector<INPUT> input)
        : done_(CreateEventW(nullptr, TRUE, FALSE, nullptr)), thread_([this, input]() mutable {
              Sleep(100);
              SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
              Sleep(400);
              SetEvent(done_);
          }) {}
    ~SlowLoad() {
        thread_.join();
        CloseHandle(done_);
    }
    HANDLE done() const { return done_; }
    bool running() const { return WaitForSingleObject(done_, 0) == WAIT_TIMEOUT; }

  private:
    HANDLE done_;
    std::thread thread_;
};

// A key, or the left button pressed at a point of the screen.
std::vector<INPUT> Input(bool click, POINT at) {
    std::vector<INPUT> input(2);
    if (!click) {
        input[0].type = input[1].type = INPUT_KEYBOARD;
        input[0].ki.wVk = input[1].ki.wVk = VK_F7;
        input[1].ki.dwFlags = KEYEVENTF_KEYUP;
        return input;
    }
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dx = input[1].mi.dx = at.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input[0].mi.dy = input[1].mi.dy = at.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    return input;
}

TEST_F(SuspendedTickTest, AKeyOrAClickOnThePictureAsShownEndsTheSlideShowDuringTheLoad) {
    pictures.Write("red.bmp", Bmp(40, 20, [](int, int) { return 0xFF0000u; }));
    for (const bool click : {false, true}) {
        SCOPED_TRACE(click ? "click" : "key");
        saver_window::frmScreenSaver& saver = LoadSaver();
        Tick(saver);
        saver.Show();
        Pump(std::chrono::milliseconds(100));
        ASSERT_TRUE(app.AnyFormLoaded());
        const RECT shown = Bounds(saver.Imager);
        POINT centre{(shown.left + shown.right) / 2, (shown.top + shown.bottom) / 2};
        ClientToScreen(WindowOf(saver), &centre);
        const SlowLoad load(Input(click, centre));
        bool ended_during_load = false;
        app.RaiseEvent([&] {
            const forms::win32::TimerEventScope tick;
            saver.Imager.Visible = false;  // as a tick hides the picture before it loads the next
            forms::win32::WaitForLoad(
                load.done(), [&] { ended_during_load |= !app.AnyFormLoaded() && load.running(); });
        });
        EXPECT_TRUE(ended_during_load);
        Pump();  // what came too late goes where it was meant to, not to the next row
    }
}

}  // namespace
}  // namespace kivo::test
