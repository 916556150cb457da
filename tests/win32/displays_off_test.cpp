#include <windows.h>

#include <chrono>
#include <cstring>
#include <iterator>
#include <set>
#include <utility>

#include "tests/common/picture_bytes.h"
#include "tests/common/win32/process_faults.h"
#include "tests/win32/form_test.h"

namespace kivo::test {
namespace {

using saver_window::frmScreenSaver;

// A power notice as the system sends it to a window that asked for the displays' state.
struct Notice {
    DWORD state = 0;
    GUID setting = GUID_CONSOLE_DISPLAY_STATE;
    DWORD length = sizeof(DWORD);
    WPARAM event = PBT_POWERSETTINGCHANGE;
    bool without_setting = false;
};
const Notice kOff{0};
const Notice kOn{1};

void Send(HWND window, const Notice& notice) {
    alignas(POWERBROADCAST_SETTING) unsigned char bytes[sizeof(POWERBROADCAST_SETTING) + 8] = {};
    auto* setting = reinterpret_cast<POWERBROADCAST_SETTING*>(bytes);
    setting->PowerSetting = notice.setting;
    setting->DataLength = notice.length;
    std::memcpy(setting->Data, &notice.state, sizeof notice.state);
    SendMessageW(window, WM_POWERBROADCAST, notice.event,
                 notice.without_setting ? 0 : reinterpret_cast<LPARAM>(bytes));
}

std::set<DWORD> RunningHelpers() {
    std::set<DWORD> helpers = ChildrenOf(GetCurrentProcessId(), L"Kivo.scr");
    std::erase_if(helpers, [](DWORD helper) { return !Runs(helper); });
    return helpers;
}

class DisplaysOffTest : public FormTest {
  protected:
    DisplaysOffTest() : FormTest(forms::win32::Decoding::InHelper) {}
    // An ended helper is gone within milliseconds, once the load under way has arrived: polled
    // for twenty seconds at most.
    static bool NoHelperLeft() {
        return PumpUntil([] { return RunningHelpers().empty(); });
    }
};

TEST_F(DisplaysOffTest, TicksAndTheHelperRestOnlyWhileTheDisplaysAreOffAndAKeyStillEndsTheShow) {
    pictures.Write("a.bmp", SolidBmp(40, 20, 0xFF0000));
    pictures.Write("b.bmp", SolidBmp(40, 20, 0x0000FF));
    frmScreenSaver& saver = LoadSaver();
    system.WatchDisplays(saver.hWnd(), [this](bool on) { app.DisplaysChanged(on); });
    const HWND watcher = FindWindowExW(nullptr, nullptr, L"KivoSystemWatcher", nullptr);
    ASSERT_NE(watcher, nullptr);
    const std::set<DWORD> first_helpers = RunningHelpers();
    ASSERT_EQ(first_helpers.size(), 1u);
    const DWORD helper = *first_helpers.begin();

    // The next slide's load waits for the hung helper; the displays go off meanwhile.
    ASSERT_GT(Hang(helper), 0);
    Tick(saver);  // shows the slide prepared before, and asks for the next
    const forms::Picture first_picture = saver.Imager.Picture;
    ASSERT_NE(first_picture, nullptr);
    Send(watcher, kOff);
    EXPECT_TRUE(Runs(helper)) << "the helper was ended under a load";
    Resume(helper);
    EXPECT_TRUE(NoHelperLeft()) << "the helper outlived the load";
    EXPECT_EQ(saver.Imager.Picture.get(), first_picture) << "the load let go still showed";
    for (int i = 0; i < 10; ++i) {  // on and off again, many times between two ticks
        Send(watcher, kOn);
        Send(watcher, kOff);
    }
    // Each notice in turn, and whether a helper then runs: only while the displays are on, when
    // the next slide is prepared at once. Notices that are not a well-formed console display
    // state carry the state "off", so that reading one as such would stop the show.
    const std::pair<Notice, bool> notices[] = {{Notice{3}, false},  // an unknown state: still off
                                               {kOn, true},
                                               {Notice{.setting = GUID_MONITOR_POWER_ON}, true},
                                               {Notice{.length = 1}, true},
                                               {Notice{.length = 8}, true},
                                               {Notice{.without_setting = true}, true},
                                               {Notice{.event = PBT_APMRESUMEAUTOMATIC}, true},
                                               {kOff, false},
                                               {Notice{2}, true},  // dimmed
                                               {kOff, false}};
    for (std::size_t i = 0; i < std::size(notices); ++i) {
        SCOPED_TRACE(i);
        Send(watcher, notices[i].first);
        Settle();
        EXPECT_TRUE(notices[i].second ? RunningHelpers().size() == 1 : NoHelperLeft());
    }
    PostMessageW(WindowOf(saver), WM_KEYDOWN, VK_SPACE, 1);
    Pump();
    EXPECT_TRUE(app.ended()) << "the displays are off";
}

}  // namespace
}  // namespace kivo::test
