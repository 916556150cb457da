// A share that does not answer holds neither a key, nor OK, nor the next saver: the slide show's
// window and the settings dialog come while their folder's listing is held, and go on a key or
// on OK while it is still held, letting the next saver cover the screen. The folder lies on the
// harness's slow mount (support/slow_folder.h), its listings held until the test releases it.
#include <algorithm>
#include <optional>
#include <set>

#include "setting_dialog_test.h"
#include "support/slow_folder.h"
#include "tests/common/win32/process_faults.h"

namespace kivo::e2e {
namespace {

constexpr std::uint32_t kRed = 0xDC1E1E;

bool Topmost(HWND window) {
    return window != nullptr && (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

class SlowFolderTest : public SettingDialogTest {
  protected:
    // The slow folder, with a red picture, is Kivo's picture folder.
    SlowFolderTest() {
        slow_.Write(L"赤.bmp", test::SolidBmp(640, 480, kRed));
        WriteValue(kSettingsKey, kFolderValue, slow_.path().wstring() + L"\\");
        WriteValue(kSettingsKey, kIntervalValue, L"0.5");
    }

    // The saver's titled window once it is topmost; null when the saver ends first, or after
    // fifteen seconds.
    static HWND CoverOf(const ScopedProcess& saver) {
        HWND window = nullptr;
        WaitUntil(
            [&] {
                return Topmost(window = FindWindowOf(saver.id(), kSaverTitle)) || !saver.running();
            },
            15s);
        return Topmost(window) ? window : nullptr;
    }
    // Starts Kivo.scr /s with the pointer out of the way.
    ScopedProcess LaunchSaver() {
        MoveCursorTo({1023, 767});
        WaitForNoKivoWindow();
        return Launch(L"/s");
    }

    SlowFolder slow_{SlowFolder::Listing::kHeld};
};

// Whether a key pressed on `window` makes it go.
bool KeyEnds(HWND window) {
    SetForegroundWindow(window);
    WaitUntil([&] { return GetForegroundWindow() == window; }, 3s);
    PressKey(VK_SPACE);
    return WaitUntil([&] { return !IsWindow(window); }, 5s);
}

// A saver ends at once on a key although a thread of it waits on a share that does not answer,
// and lets go of all that tells another saver that it runs (the lock, its titled window), though
// its process cannot finish ending while that thread waits: a second saver covers the screen and
// ends on a key in turn. Once the share comes back both processes end, leaving no decoder helper.
TEST_F(SlowFolderTest, ASaverEndedWhileItsShareDoesNotAnswerLetsTheNextOneCoverTheScreen) {
    ScopedProcess first = LaunchSaver();
    std::optional<ScopedProcess> second;
    const ReleasedAtTheEnd released(slow_);
    HWND window = CoverOf(first);
    ASSERT_NE(window, nullptr) << "no topmost window while the listing is held";
    ASSERT_TRUE(WaitUntil([&] { return slow_.ListingBegun(); }, 10s)) << "no listing began";
    ASSERT_TRUE(KeyEnds(window)) << "the key left the window";
    // Its thread still waits on the share: else this test would show nothing.
    ASSERT_TRUE(first.running()) << "the first saver's process ended while the listing is held";

    second.emplace(LaunchSaver());
    window = CoverOf(*second);
    ASSERT_NE(window, nullptr) << "the second saver did not cover the screen";
    EXPECT_TRUE(KeyEnds(window)) << "the key left the second saver's window";

    slow_.Release();
    EXPECT_TRUE(first.WaitForExit(10s)) << "the first saver stayed after the share came back";
    EXPECT_TRUE(second->WaitForExit(10s)) << "the second saver stayed after the share came back";
    std::set<DWORD> helpers = test::ChildrenOf(first.id(), L"Kivo.scr");
    helpers.merge(test::ChildrenOf(second->id(), L"Kivo.scr"));
    EXPECT_TRUE(
        WaitUntil([&] { return std::none_of(helpers.begin(), helpers.end(), test::Runs); }, 5s))
        << "a decoder helper outlived its saver";
    std::for_each(helpers.begin(), helpers.end(), test::Crash);  // ended here when it did
}

// OK stores what the dialog shows, as text, and ends its window while the listing is held.
TEST_F(SlowFolderTest, OkWhileTheListingIsHeldStoresTheSettingsAndEndsTheDialog) {
    ScopedProcess dialog = OpenDialog();
    const ReleasedAtTheEnd released(slow_);
    ASSERT_TRUE(WaitUntil([&] { return slow_.ListingBegun(); }, 10s)) << "no listing began";
    SetInterval(L"7.5");
    Click(Control(L"Button", L"OK"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog_); }, 10s)) << "the dialog stayed";
    EXPECT_EQ(ReadValue(kSettingsKey, kIntervalValue), TextValue(L"7.5"));
    EXPECT_EQ(ReadValue(kSettingsKey, kFolderValue), TextValue(slow_.path().wstring() + L"\\"));
    EXPECT_EQ(ReadValue(kSettingsKey, kFileNameValue), TextValue(L"1"));
    slow_.Release();
    EXPECT_TRUE(dialog.WaitForExit(10s)) << "the dialog's process did not end";
    EXPECT_EQ(dialog.exitCode(), 0u);
}

}  // namespace
}  // namespace kivo::e2e
