#include <optional>

#include "kivo_test.h"
#include "support/slow_folder.h"

namespace kivo::e2e {
namespace {

class SlowFolderTest : public KivoTest {
  protected:
    // The slow folder, with a picture, is Kivo's picture folder.
    SlowFolderTest() {
        slow_.Write(L"赤.bmp", test::SolidBmp(640, 480, 0xDC1E1E));
        WriteValue(kSettingsKey, kFolderValue, slow_.path().wstring() + L"\\");
    }

    // The slide show's window covers the screen (stands topmost) and goes on a key.
    void CoversAndGoesOnAKey() const {
        const HWND window = saverWindow_;
        EXPECT_TRUE(WaitUntil([&] { return Topmost(window); }, 5s)) << "not topmost";
        PressKey(VK_SPACE);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window); }, 5s)) << "the key left it";
    }

    SlowFolder slow_{SlowFolder::Listing::kHeld};
};

// A saver ends at once on a key although a thread of it waits on a share that does not answer,
// and lets go of all that tells another saver that it runs (the lock, its titled window), though
// its process cannot finish ending while that thread waits: a second saver covers the screen and
// ends on a key in turn. Once the share comes back both processes end, leaving no decoder helper.
TEST_F(SlowFolderTest, ASaverEndedWhileItsShareDoesNotAnswerLetsTheNextOneCoverTheScreen) {
    ScopedProcess first = StartSaver(nullptr);
    std::optional<ScopedProcess> second;
    const ReleasedAtTheEnd released(slow_);
    ASSERT_TRUE(WaitUntil([&] { return slow_.ListingBegun(); }, 10s)) << "no listing began";
    CoversAndGoesOnAKey();
    // Its thread still waits on the share: else this test would show nothing.
    ASSERT_TRUE(first.running()) << "the first saver's process ended while the listing is held";

    second.emplace(StartSaver(nullptr));
    CoversAndGoesOnAKey();

    slow_.Release();
    EXPECT_TRUE(first.WaitForExit(10s)) << "the first saver stayed after the share came back";
    EXPECT_TRUE(second->WaitForExit(10s)) << "the second saver stayed after the share came back";
    std::set<DWORD> helpers = HelpersOf(first.id());
    helpers.merge(HelpersOf(second->id()));
    EXPECT_TRUE(AllEnd(helpers)) << "a decoder helper outlived its saver";
}

}  // namespace
}  // namespace kivo::e2e
