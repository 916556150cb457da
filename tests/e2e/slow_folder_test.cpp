// A slow picture folder never holds the screen, a key or the dialog: the slide show's window and
// the settings dialog come at once, answer while the folder is listed or a picture is read, and
// take the folder's pictures when the listing arrives. The folder lies on the harness's slow
// mount (support/slow_folder.h); a 2 s listing stands for a minute-long one.
#include "support/slow_folder.h"
#include "setting_dialog_test.h"

namespace kivo::e2e {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr std::uint32_t kRed = 0xDC1E1E;
constexpr milliseconds kListing = 2s;

milliseconds Since(Clock::time_point start) {
    return std::chrono::duration_cast<milliseconds>(Clock::now() - start);
}

// The list's number of lines, asked as a user's click would be answered; -1 while its window
// does not answer within 100 ms.
LRESULT LineCount(HWND list) {
    DWORD_PTR count = 0;
    const bool answered =
        SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 100, &count) != 0;
    return answered ? static_cast<LRESULT>(count) : -1;
}

class SlowFolderTest : public SettingDialogTest {
  protected:
    // Stores `folder` as Kivo's picture folder, as the dialog stores one, and `interval`.
    static void StoreFolder(const SlowFolder& folder, const wchar_t* interval = L"0.5") {
        WriteValue(kSettingsKey, kFolderValue, folder.path().wstring() + L"\\");
        WriteValue(kSettingsKey, kIntervalValue, interval);
    }

    // Starts Kivo.scr /s with the pointer out of the way, at `started_`.
    ScopedProcess LaunchSaver() {
        MoveCursorTo({1023, 767});
        WaitForNoKivoWindow();
        started_ = Clock::now();
        return Launch(L"/s");
    }

    Clock::time_point started_;
};

// The window is up, topmost, before the listing ends: left alone it shows the picture at the
// first tick after the listing; a key during the listing ends the saver for good.
TEST_F(SlowFolderTest, TheSaverCoversTheScreenAtOnceAndAKeyDuringTheListingEndsIt) {
    SlowFolder slow(kListing);
    slow.Write(L"赤.bmp", test::SolidBmp(640, 480, kRed));
    StoreFolder(slow);
    for (const bool key : {false, true}) {
        SCOPED_TRACE(key ? "a key during the listing" : "left alone");
        ScopedProcess saver = LaunchSaver();
        const auto topmost = [&] {
            saverWindow_ = FindWindowOf(saver.id(), kSaverTitle);
            return saverWindow_ != nullptr &&
                   (GetWindowLongPtrW(saverWindow_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        };
        ASSERT_TRUE(WaitUntil(topmost, 10s)) << "no topmost window";
        // Start-up alone takes about a second under Wine, and the listing starts after it.
        ASSERT_LT(Since(started_), kListing) << "the window waited for the listing";
        if (!key) {
            EXPECT_TRUE(WaitForPixel(kScreenCentre, kRed, kListing + 500ms + 1s))
                << "no picture at the first tick after the listing";
            continue;
        }
        SetForegroundWindow(saverWindow_);
        WaitUntil([this] { return GetForegroundWindow() == saverWindow_; }, 500ms);
        EXPECT_LE(TimeToGo(), 100ms);
        EXPECT_TRUE(EndsWithoutAWindow(saver)) << "the saver stayed or covered the screen again";
    }
}

TEST_F(SlowFolderTest, TheDialogComesAtOnceAndFillsItsFileListWhenTheListingArrives) {
    SlowFolder slow(kListing);
    for (const wchar_t* name : {L"a.bmp", L"b.bmp", L"c.bmp"}) {
        slow.Write(name, test::SolidBmp(8, 8, kRed));
    }
    StoreFolder(slow);
    const auto started = Clock::now();
    ScopedProcess process = OpenDialog();
    EXPECT_LT(Since(started), kListing) << "the dialog waited for the listing";
    HWND files = FrameList(false);
    EXPECT_NE(LineCount(files), -1) << "the dialog does not answer";
    EXPECT_TRUE(WaitUntil([&] { return LineCount(files) == 3; }, 10s))
        << "the file list holds " << LineCount(files) << " lines";
}

TEST_F(SlowFolderTest, EscWhileAClickedPictureIsReadEndsTheDialogAtOnce) {
    SlowFolder slow(0ms, 8s);
    slow.Write(L"slow.bmp", test::SolidBmp(64, 48, kRed));
    StoreFolder(slow);
    ScopedProcess process = OpenDialog();
    HWND files = FrameList(false);
    ASSERT_TRUE(WaitUntil([&] { return LineCount(files) == 1; }, 5s)) << "the file is not listed";
    ClickLine(files, 0);
    ASSERT_TRUE(WaitUntil([&] { return slow.FirstReadBegun(L"slow.bmp"); }, 3s))
        << "the click read no picture";
    const auto pressed = Clock::now();
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(process.WaitForExit(1s)) << "still running a second after Esc";
    EXPECT_LE(Since(pressed), 100ms);
}

}  // namespace
}  // namespace kivo::e2e
