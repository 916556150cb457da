// Pictures are decoded in a helper process: a picture that crashes or hangs the decoder leaves
// the saver and the dialog's preview running with the previous picture, input still ends the
// saver at once, and no helper outlives its saver. The helper is made to crash or hang on
// purpose by files it honours only when the tests set KIVO_DECODER_TEST_FILES.
#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

#include "setting_dialog.h"

namespace kivo::e2e {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr POINT kCentre = {512, 384};

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

bool AllEnded(const std::set<DWORD>& ids, std::chrono::milliseconds timeout) {
    return WaitUntil(
        [&ids] {
            for (DWORD id : ids) {
                HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
                const bool runs =
                    process != nullptr && WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
                if (process != nullptr) {
                    CloseHandle(process);
                }
                if (runs) {
                    return false;
                }
            }
            return true;
        },
        timeout, 20ms);
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

    void AddFile(const std::wstring& name, const std::string& bytes) const {
        std::ofstream(std::filesystem::path(folder_.samples()) / name, std::ios::binary) << bytes;
    }

    // The show over a red picture and `other`, alternating every 0.3 s, other first.
    ScopedProcess StartShowWith(const std::string& other) {
        folder_.AddPicture(L"a.bmp", 300, 300, kRed);
        AddFile(L"b.bmp", other);
        StoreSetting(kIntervalValue, L"0.3");
        MoveCursorTo(1023, 767);
        ScopedProcess saver = folder_.Launch(L"/s");
        HWND window = WaitForSaverWindow(saver);
        if (window == nullptr || !WaitForPixel(kCentre, kRed, 10s)) {
            throw std::runtime_error("the red picture never showed");
        }
        BringToForeground(window);
        return saver;
    }

    // Watches the centre for `duration`: true when it stayed red and the saver ran throughout;
    // notes every helper seen meanwhile.
    bool StaysRed(const ScopedProcess& saver, std::chrono::milliseconds duration) {
        const auto end = std::chrono::steady_clock::now() + duration;
        while (std::chrono::steady_clock::now() < end) {
            const std::set<DWORD> now = ChildrenOf(saver.id());
            helpers_.insert(now.begin(), now.end());
            if (!saver.running() || !ColoursClose(ScreenPixel(kCentre), kRed)) {
                return false;
            }
            Sleep(20);
        }
        return true;
    }

    static long long MillisecondsUntilGone(const ScopedProcess& saver) {
        const auto pressed = std::chrono::steady_clock::now();
        PressKey(VK_SPACE);
        WaitUntil([&saver] { return !saver.running(); }, 3s, 1ms);
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now() - pressed)
            .count();
    }

    std::set<DWORD> helpers_;
};

TEST_F(DecoderHelperTest, ACrashingPictureLeavesThePreviousOneAndTheHelperIsStartedAgain) {
    ScopedProcess saver = StartShowWith("KIVO TEST CRASH");
    EXPECT_TRUE(StaysRed(saver, 2s)) << ColourText(ScreenPixel(kCentre));
    EXPECT_GE(helpers_.size(), 2u) << "a crashed helper is replaced on the next load";
    const long long took = MillisecondsUntilGone(saver);
    EXPECT_LE(took, 100) << "the saver took " << took << " ms to go";
    EXPECT_TRUE(AllEnded(helpers_, 3s)) << "a helper outlived its saver";
}

TEST_F(DecoderHelperTest, AHangingPictureIsGivenUpAndAKeyDuringItEndsTheSaverAtOnce) {
    ScopedProcess saver = StartShowWith("KIVO TEST HANG");
    // Two hangs of 1.5 s each, given up: the red picture stays all along.
    EXPECT_TRUE(StaysRed(saver, 3500ms)) << ColourText(ScreenPixel(kCentre));
    EXPECT_GE(helpers_.size(), 2u) << "a hanging helper is ended and replaced";
    Sleep(500);  // at most 0.3 s after red came back, the next hang has begun
    const long long took = MillisecondsUntilGone(saver);
    EXPECT_LE(took, 100) << "the saver took " << took << " ms to go";
    EXPECT_TRUE(AllEnded(helpers_, 3s)) << "a helper outlived its saver";
}

TEST_F(DecoderHelperTest, TheHelperEndsWithAKilledSaver) {
    ScopedProcess saver = StartShowWith("KIVO TEST HANG");
    ASSERT_TRUE(WaitUntil([&] { return !ChildrenOf(saver.id()).empty(); }, 5s));
    const std::set<DWORD> helpers = ChildrenOf(saver.id());
    saver.Terminate();
    EXPECT_TRUE(AllEnded(helpers, 3s)) << "the helper outlived its killed saver";
}

TEST_F(DecoderHelperTest, ThePreviewKeepsItsPictureWhenTheHelperCrashesOrHangs) {
    folder_.AddPicture(L"a.bmp", 300, 300, kRed);
    AddFile(L"b.bmp", "KIVO TEST CRASH");
    AddFile(L"c.bmp", "KIVO TEST HANG");
    ScopedProcess dialog = OpenDialog();
    const int item = static_cast<int>(SendMessageW(windows_.files, LB_GETITEMHEIGHT, 0, 0));
    const auto click_file = [&](int index) {
        POINT at{20, item * index + item / 2};
        ClientToScreen(windows_.files, &at);
        ClickAt(at.x, at.y);
    };
    POINT preview{446, 188};  // the middle of the preview, in the dialog's client area
    ClientToScreen(dialog_, &preview);
    click_file(0);
    ASSERT_TRUE(WaitForPixel(preview, kRed, 10s)) << ColourText(ScreenPixel(preview));
    for (int index : {1, 2}) {
        click_file(index);
        // The list answers once the click's load is over: given up, at most the 1.5 s limit.
        ASSERT_TRUE(WaitUntil(
            [&] {
                DWORD_PTR selected = 0;
                return SendMessageTimeoutW(windows_.files, LB_GETCURSEL, 0, 0, SMTO_BLOCK, 5000,
                                           &selected) != 0 &&
                       static_cast<int>(selected) == index;
            },
            5s));
        Sleep(300);
        EXPECT_TRUE(ColoursClose(ScreenPixel(preview), kRed)) << ColourText(ScreenPixel(preview));
        EXPECT_TRUE(dialog.running());
    }
}

TEST_F(DecoderHelperTest, StartedByHandTheHelperEndsAtOnceQuietly) {
    ScopedProcess helper = folder_.Launch(L"--kivo-decoder-helper 1234 5678");
    EXPECT_TRUE(helper.WaitForExit(5s));
    EXPECT_EQ(helper.exitCode(), 0u);
    EXPECT_TRUE(WindowsOfProcess(helper.id()).empty());
}

// Damaged pictures of every format, a bounded sample of bench/corpus (or, with KIVO_CORPUS_DIR,
// every batch folder of a whole corpus): shown at the shortest interval, none ends or freezes
// the saver, and a key still ends it.
TEST_F(DecoderHelperTest, DamagedPicturesNeitherEndNorFreezeTheSaver) {
    std::vector<std::filesystem::path> batches;
    wchar_t corpus[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"KIVO_CORPUS_DIR", corpus, MAX_PATH) > 0) {
        for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
            batches.push_back(entry.path());
        }
        std::sort(batches.begin(), batches.end());
    } else {
        batches.push_back(std::filesystem::path(L"Z:" KIVO_E2E_CORPUS_SAMPLE));
    }
    wchar_t seconds[8] = {};
    const auto shown = std::chrono::seconds(
        GetEnvironmentVariableW(L"KIVO_CORPUS_SECONDS", seconds, 8) > 0 ? _wtoi(seconds) : 3);
    StoreSetting(kIntervalValue, L"0.001");
    for (const auto& batch : batches) {
        SCOPED_TRACE(batch.string());
        SaverFolder folder;
        for (const auto& file : std::filesystem::directory_iterator(batch)) {
            std::filesystem::copy_file(
                file.path(), std::filesystem::path(folder.samples()) / file.path().filename());
        }
        MoveCursorTo(1023, 767);
        ScopedProcess saver = folder.Launch(L"/s");
        HWND window = WaitForSaverWindow(saver);
        ASSERT_NE(window, nullptr);
        BringToForeground(window);
        const auto end = std::chrono::steady_clock::now() + shown;
        while (std::chrono::steady_clock::now() < end && saver.running()) {
            DWORD_PTR answer = 0;
            EXPECT_NE(SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer),
                      0)
                << "the saver did not answer for a second";
            Sleep(50);
        }
        ASSERT_TRUE(saver.running()) << "the saver ended by itself";
        const long long took = MillisecondsUntilGone(saver);
        EXPECT_LE(took, 100) << "the saver took " << took << " ms to go";
        std::printf("batch %s: key to gone %lld ms\n", batch.string().c_str(), took);
    }
}

}  // namespace
}  // namespace kivo::e2e
