// A helper hangs here when its read of a picture on the share is held. A program that waited for
// the hung load would wait for the helper's time limit, a minute: each deadline below is far
// shorter, and far longer than a correct program takes.
#include <windows.h>

#include <algorithm>
#include <set>
#include <stdexcept>
#include <vector>

#include "setting_dialog_test.h"
#include "support/slow_folder.h"
#include "tests/common/win32/process_faults.h"

namespace kivo::e2e {
namespace {

constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kBlue = 0x0000FF;

class DecoderHelperTest : public SettingDialogTest {
  protected:
    // Makes Kivo's picture folder a share holding a red picture and one whose reads are held.
    void ShowTheShare() const {
        share_.Write(L"a.bmp", test::SolidBmp(300, 300, kRed));
        WriteValue(kSettingsKey, kFolderValue, share_.path().wstring() + L"\\");
    }
    // The dialog's file list, once it lists the share's two pictures (a.bmp first).
    HWND ShareFiles() const {
        HWND files = FrameList(false);
        const auto both = [&] { return SendMessageW(files, LB_GETCOUNT, 0, 0) == 2; };
        if (!WaitUntil(both, 15s)) {
            throw std::runtime_error("the file list does not show the share's two pictures");
        }
        return files;
    }
    // The middle of the dialog's preview, on the screen.
    POINT Preview() const {
        POINT preview{446, 188};
        ClientToScreen(dialog_, &preview);
        return preview;
    }
    // Whether `count` loads of the held picture, each in a helper of its own, have begun.
    bool HeldLoadsBegin(int count) const {
        return WaitUntil([&] { return share_.FirstReadsBegun(held_) >= count; }, 15s);
    }

    SlowFolder share_{SlowFolder::Listing::kAtOnce};
    const std::filesystem::path held_ = share_.WriteHeld(L"b.bmp", test::SolidBmp(300, 300, kBlue));
};

TEST_F(DecoderHelperTest, AHelperThatCrashesOrHangsLeavesThePictureAndHoldsNoKey) {
    ShowTheShare();
    ScopedProcess saver = StartSaver(L"0.3");
    const ReleasedAtTheEnd released(share_);
    // Whichever picture comes first, the held one's turn comes within two ticks.
    ASSERT_TRUE(HeldLoadsBegin(1)) << "no helper loaded the held picture";
    std::set<DWORD> helpers = HelpersOf(saver.id());
    ASSERT_FALSE(helpers.empty());
    std::for_each(helpers.begin(), helpers.end(), test::Crash);
    // The saver goes on: the red picture at its turn, then the held one again in a new helper.
    EXPECT_TRUE(WaitForPixel(kScreenCentre, kRed, 10s)) << std::hex << ScreenPixel(kScreenCentre);
    ASSERT_TRUE(HeldLoadsBegin(2)) << "no new helper after the crash";
    const auto lost = [&] {
        return !saver.running() || !ColoursClose(ScreenPixel(kScreenCentre), kRed);
    };
    EXPECT_FALSE(WaitUntil(lost, 1s)) << "the hung load lost the picture, or the saver";
    helpers.merge(HelpersOf(saver.id()));
    PressKey(VK_SPACE);
    EXPECT_TRUE(saver.WaitForExit(15s)) << "a key did not end the saver while its helper hangs";
    EXPECT_TRUE(AllEnd(helpers)) << "a helper outlived its saver";
}

// The preview loads off the dialog's thread: a hung helper is given up for a newer click's
// picture. A dialog ended while a thread of it waits on a share cannot finish ending until the
// share answers, and its handles, the helper's job among them, stay open meanwhile: the program
// ends its helper itself, though it hangs.
TEST_F(DecoderHelperTest, ThePreviewGivesUpAHungHelperAndTheDialogsEndEndsItsHelper) {
    ShowTheShare();
    const std::filesystem::path held_folder = L"held.list-held";
    share_.Write(held_folder / L"c.bmp", test::SolidBmp(30, 30, kBlue));
    ScopedProcess dialog = OpenDialog();
    const ReleasedAtTheEnd released(share_);
    HWND files = ShareFiles();
    ClickLine(files, 1);  // the held picture
    ASSERT_TRUE(HeldLoadsBegin(1)) << "the click loaded no picture";
    const std::set<DWORD> hung = HelpersOf(dialog.id());
    ClickLine(files, 0);  // the red one, after the hung helper is given up
    EXPECT_TRUE(WaitForPixel(Preview(), kRed, 10s)) << std::hex << ScreenPixel(Preview());
    EXPECT_TRUE(AllEnd(hung)) << "the hung helper was kept";

    ClickLine(files, 1);
    ASSERT_TRUE(HeldLoadsBegin(2)) << "the click loaded the held picture no more";
    const std::set<DWORD> helpers = HelpersOf(dialog.id());
    ASSERT_TRUE(OpenSubfolder(held_folder));
    ASSERT_TRUE(WaitUntil([&] { return share_.ListingBegun(held_folder); }, 10s));
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(AllEnd(helpers)) << "a helper outlived its dialog's end";
    EXPECT_TRUE(dialog.running()) << "nothing held the dialog's process: the test shows nothing";
}

TEST_F(DecoderHelperTest, StartedByHandTheHelperEndsAtOnceQuietly) {
    ScopedProcess helper = Launch(L"--kivo-decoder-helper 1234 5678");
    EXPECT_TRUE(helper.WaitForExit(30s));
    EXPECT_EQ(helper.exitCode(), 0u);
}

// Damaged pictures of every format, a bounded sample of bench/corpus (or, with KIVO_CORPUS_DIR,
// every batch folder of a whole corpus): shown at the shortest interval, none ends or freezes
// the saver, and a key still ends it.
TEST_F(DecoderHelperTest, DamagedPicturesNeitherEndNorFreezeTheSaver) {
    std::vector<std::filesystem::path> batches{
        std::filesystem::path(KIVO_E2E_CORPUS_SAMPLE).make_preferred()};
    if (const wchar_t* corpus = _wgetenv(L"KIVO_CORPUS_DIR")) {
        batches.assign(std::filesystem::directory_iterator(corpus), {});
        std::sort(batches.begin(), batches.end());
    }
    const wchar_t* seconds = _wgetenv(L"KIVO_CORPUS_SECONDS");
    const auto shown = std::chrono::seconds(seconds != nullptr ? _wtoi(seconds) : 3);
    for (const auto& batch : batches) {
        SCOPED_TRACE(batch.string());
        std::filesystem::remove_all(samples_);
        std::filesystem::copy(batch, samples_);
        ScopedProcess saver = StartSaver(L"0.001");
        bool answers = true;
        WaitUntil(
            [&] {
                DWORD_PTR answer = 0;
                answers = answers && SendMessageTimeoutW(saverWindow_, WM_NULL, 0, 0,
                                                         SMTO_ABORTIFHUNG, 5000, &answer) != 0;
                return !answers || !saver.running();
            },
            shown);
        EXPECT_TRUE(answers) << "the saver did not answer for five seconds";
        ASSERT_TRUE(saver.running()) << "the saver ended by itself";
        PressKey(VK_SPACE);
        EXPECT_TRUE(saver.WaitForExit(15s)) << "a key did not end the saver";
    }
}

}  // namespace
}  // namespace kivo::e2e
