// Pictures are decoded in a helper process: a picture that crashes or hangs the decoder leaves
// the saver and the dialog's preview running with the previous picture, input still ends the
// saver at once, and no helper outlives its saver. The helper is made to crash or hang on
// purpose by files it honours only when the tests set KIVO_DECODER_TEST_FILES.
#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <vector>

#include "setting_dialog_test.h"

namespace kivo::e2e {
namespace {

constexpr std::uint32_t kRed = 0xFF0000;

// The processes whose parent is `parent`: its decoder helpers.
std::set<DWORD> ChildrenOf(DWORD parent) {
    std::set<DWORD> children;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ParentProcessID == parent) {
            children.insert(entry.th32ProcessID);
        }
    }
    CloseHandle(snapshot);
    return children;
}

// Whether every one of the processes `ids` has ended within three seconds.
bool AllEnd(const std::set<DWORD>& ids) {
    const auto runs = [](DWORD id) {
        HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
        const bool running = process != nullptr && WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
        CloseHandle(process);
        return running;
    };
    return WaitUntil([&] { return std::none_of(ids.begin(), ids.end(), runs); }, 3s);
}

class DecoderHelperTest : public SettingDialogTest {
  protected:
    DecoderHelperTest() {
        SetEnvironmentVariableW(L"KIVO_DECODER_TEST_FILES", L"1");
        SetEnvironmentVariableW(L"KIVO_DECODE_LIMIT_MS", L"1500");
    }
    ~DecoderHelperTest() override {
        SetEnvironmentVariableW(L"KIVO_DECODER_TEST_FILES", nullptr);
        SetEnvironmentVariableW(L"KIVO_DECODE_LIMIT_MS", nullptr);
    }

    // The show over a red picture and `other`, alternating every 0.3 s, other first.
    ScopedProcess StartShowWith(const std::string& other) {
        AddPicture(L"a.bmp", test::SolidBmp(300, 300, kRed));
        AddPicture(L"b.bmp", other);
        ScopedProcess saver = StartSaver(L"0.3");
        if (!WaitForPixel(kScreenCentre, kRed, 10s)) {
            throw std::runtime_error("the red picture never showed");
        }
        return saver;
    }

    // Watches the centre for `duration`: true when it stayed red and the saver ran throughout;
    // notes every helper seen meanwhile.
    bool StaysRed(const ScopedProcess& saver, std::chrono::milliseconds duration) {
        bool red = true;
        WaitUntil(
            [&] {
                const std::set<DWORD> now = ChildrenOf(saver.id());
                helpers_.insert(now.begin(), now.end());
                red = red && saver.running() && ColoursClose(ScreenPixel(kScreenCentre), kRed);
                return !red;
            },
            duration);
        return red;
    }

    std::set<DWORD> helpers_;
};

TEST_F(DecoderHelperTest, ACrashingPictureLeavesThePreviousOneAndTheHelperIsStartedAgain) {
    ScopedProcess saver = StartShowWith("KIVO TEST CRASH");
    EXPECT_TRUE(StaysRed(saver, 2s)) << std::hex << ScreenPixel(kScreenCentre);
    EXPECT_GE(helpers_.size(), 2u) << "a crashed helper is replaced on the next load";
    EXPECT_LE(TimeToGo().count(), 100);
    EXPECT_TRUE(AllEnd(helpers_)) << "a helper outlived its saver";
}

TEST_F(DecoderHelperTest, AHangingPictureIsGivenUpAndAKeyDuringItEndsTheSaverAtOnce) {
    ScopedProcess saver = StartShowWith("KIVO TEST HANG");
    // Two hangs of 1.5 s each, given up: the red picture stays all along.
    EXPECT_TRUE(StaysRed(saver, 3500ms)) << std::hex << ScreenPixel(kScreenCentre);
    EXPECT_GE(helpers_.size(), 2u) << "a hanging helper is ended and replaced";
    Sleep(500);  // at most 0.3 s after red came back, the next hang has begun
    EXPECT_LE(TimeToGo().count(), 100);
    EXPECT_TRUE(AllEnd(helpers_)) << "a helper outlived its saver";
}

TEST_F(DecoderHelperTest, TheHelperEndsWithAKilledSaver) {
    std::set<DWORD> helpers;
    {
        ScopedProcess saver = StartShowWith("KIVO TEST HANG");
        ASSERT_TRUE(WaitUntil([&] { return !(helpers = ChildrenOf(saver.id())).empty(); }, 5s));
    }  // killed here
    EXPECT_TRUE(AllEnd(helpers)) << "the helper outlived its killed saver";
}

// A key pressed while the first helper is still being started: the helper must not be left
// behind, never started and never ended. The moment is hit only some of the time, so a few
// shows are tried.
TEST_F(DecoderHelperTest, AKeyWhileTheHelperStartsLeavesNoHelperBehind) {
    AddPicture(L"a.bmp", test::SolidBmp(300, 300, kRed));
    for (int attempt = 0; attempt < 6; ++attempt) {
        ScopedProcess saver = StartSaver(L"0.001");
        ASSERT_TRUE(WaitUntil([&] { return !ChildrenOf(saver.id()).empty(); }, 10s));
        PressKey(VK_SPACE);
        ASSERT_TRUE(saver.WaitForExit(3s));
        const std::set<DWORD> helpers = ChildrenOf(saver.id());
        EXPECT_TRUE(AllEnd(helpers)) << "a helper outlived its saver, attempt " << attempt;
        for (DWORD id : helpers) {  // ended here when it was left behind
            if (HANDLE helper = OpenProcess(PROCESS_TERMINATE, FALSE, id)) {
                TerminateProcess(helper, 1);
                CloseHandle(helper);
            }
        }
    }
}

TEST_F(DecoderHelperTest, ThePreviewKeepsItsPictureWhenTheHelperCrashesOrHangs) {
    AddPicture(L"a.bmp", test::SolidBmp(300, 300, kRed));
    AddPicture(L"b.bmp", "KIVO TEST CRASH");
    AddPicture(L"c.bmp", "KIVO TEST HANG");
    ScopedProcess dialog = OpenDialog();
    HWND files = FrameList(false);
    POINT preview{446, 188};  // the middle of the preview, in the dialog's client area
    ClientToScreen(dialog_, &preview);
    ClickLine(files, 0);
    ASSERT_TRUE(WaitForPixel(preview, kRed, 10s)) << std::hex << ScreenPixel(preview);
    for (LRESULT line : {1, 2}) {
        ClickLine(files, line);
        // The list answers once the click's load is over: given up, at most the 1.5 s limit.
        const auto selected = [&] {
            DWORD_PTR answer = 0;
            return SendMessageTimeoutW(files, LB_GETCURSEL, 0, 0, SMTO_BLOCK, 5000, &answer) &&
                   static_cast<LRESULT>(answer) == line;
        };
        ASSERT_TRUE(WaitUntil(selected, 5s));
        Sleep(300);
        EXPECT_TRUE(ColoursClose(ScreenPixel(preview), kRed)) << std::hex << ScreenPixel(preview);
        EXPECT_TRUE(dialog.running());
    }
}

TEST_F(DecoderHelperTest, StartedByHandTheHelperEndsAtOnceQuietly) {
    ScopedProcess helper = Launch(L"--kivo-decoder-helper 1234 5678");
    EXPECT_TRUE(EndsWithoutAWindow(helper));
    EXPECT_EQ(helper.exitCode(), 0u);
}

// Damaged pictures of every format, a bounded sample of bench/corpus (or, with KIVO_CORPUS_DIR,
// every batch folder of a whole corpus): shown at the shortest interval, none ends or freezes
// the saver, and a key still ends it.
TEST_F(DecoderHelperTest, DamagedPicturesNeitherEndNorFreezeTheSaver) {
    std::vector<std::filesystem::path> batches{
        std::filesystem::path(KIVO_E2E_CORPUS_SAMPLE).make_preferred()};
    wchar_t corpus[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"KIVO_CORPUS_DIR", corpus, MAX_PATH) > 0) {
        batches.assign(std::filesystem::directory_iterator(corpus), {});
        std::sort(batches.begin(), batches.end());
    }
    wchar_t seconds[8] = {};
    const auto shown = std::chrono::seconds(
        GetEnvironmentVariableW(L"KIVO_CORPUS_SECONDS", seconds, 8) > 0 ? _wtoi(seconds) : 3);
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
                                                         SMTO_ABORTIFHUNG, 1000, &answer) != 0;
                return !answers || !saver.running();
            },
            shown);
        EXPECT_TRUE(answers) << "the saver did not answer for a second";
        ASSERT_TRUE(saver.running()) << "the saver ended by itself";
        const std::chrono::milliseconds took = TimeToGo();
        EXPECT_LE(took.count(), 100);
        std::printf("batch %s: key to gone %lld ms\n", batch.string().c_str(),
                    static_cast<long long>(took.count()));
    }
}

}  // namespace
}  // namespace kivo::e2e
