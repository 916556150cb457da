// The ground every end-to-end test of Kivo stands on: a working folder with its own copy of
// Kivo.scr and an empty sample\ folder beside it, no settings stored and the screen-saver flag
// clear. The harness's Wine prefix is the tests' own, so what a test stores is simply deleted.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>

#include "support/input.h"
#include "support/registry.h"
#include "support/scoped_process.h"
#include "support/screen.h"
#include "support/wait.h"
#include "tests/common/picture_bytes.h"
#include "tests/common/temp_folder.h"
#include "tests/common/win32/process_faults.h"

namespace kivo::e2e {

// Kivo's texts: the title of its windows and of its preview.
inline constexpr wchar_t kSaverTitle[] = L"ScreenSaver ボール(Sample)";
inline constexpr wchar_t kPreviewTitle[] = L"ScreenSaver Preview";

// Where Kivo keeps its settings, below HKEY_CURRENT_USER.
inline constexpr wchar_t kSettingsKey[] = L"Software\\スライドショー(スクリーンセーバー）\\設定";
inline constexpr wchar_t kFolderValue[] = L"パス";
inline constexpr wchar_t kIntervalValue[] = L"切り替え時間";

inline constexpr POINT kScreenCentre = {512, 384};

inline bool Topmost(HWND window) {
    return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

// The decoder helpers that `program` started (not Wine's desktop process, which it may start too).
inline std::set<DWORD> HelpersOf(DWORD program) {
    return test::ChildrenOf(program, L"Kivo.scr");
}

// Whether every one of the processes `ids` ends within ten seconds; any left are ended here.
inline bool AllEnd(const std::set<DWORD>& ids) {
    const bool ended =
        WaitUntil([&] { return std::none_of(ids.begin(), ids.end(), test::Runs); }, 10s);
    std::for_each(ids.begin(), ids.end(), test::Crash);
    return ended;
}

class KivoTest : public ::testing::Test {
  protected:
    KivoTest() {
        WaitForNoKivoWindow();
        DeleteKey(L"Software\\スライドショー(スクリーンセーバー）");
        ClearScreenSaverFlag();
        std::filesystem::copy_file(std::filesystem::path(KIVO_SCR_PATH).make_preferred(),
                                   folder_ / L"Kivo.scr");
        std::filesystem::create_directory(samples_);
    }
    ~KivoTest() override { ClearScreenSaverFlag(); }

    // A copy just ended may leave its titled window for a moment; a new copy would take it for a
    // running one and step aside.
    static void WaitForNoKivoWindow() {
        WaitUntil([] { return FindWindowW(nullptr, kSaverTitle) == nullptr; }, 15s);
    }

    // Writes a picture file into sample\, the folder Kivo shows when no other is stored, or into
    // a folder in it.
    void AddPicture(const std::filesystem::path& name, std::string_view bytes) const {
        folder_.Write(samples_ / name, bytes);
    }
    ScopedProcess Launch(const std::wstring& arguments) const {
        return ScopedProcess(folder_ / L"Kivo.scr", arguments);
    }

    // Starts the slide show, with `interval` stored unless it is null and the pointer at
    // `pointer`, and waits until its window shows and has the keyboard; throws when it does not.
    ScopedProcess StartSaver(const wchar_t* interval, POINT pointer = {1023, 767}) {
        if (interval != nullptr) {
            WriteValue(kSettingsKey, kIntervalValue, interval);
        }
        MoveCursorTo(pointer);
        WaitForNoKivoWindow();
        ScopedProcess saver = Launch(L"/s");
        saverWindow_ = WaitForWindowOf(saver.id(), kSaverTitle);
        if (saverWindow_ == nullptr) {
            throw std::runtime_error("the slide show's window did not appear");
        }
        SetForegroundWindow(saverWindow_);
        WaitUntil([this] { return GetForegroundWindow() == saverWindow_; }, 3s);
        return saver;
    }

    test::TempFolder folder_;
    const std::filesystem::path samples_ = folder_ / L"sample";
    HWND saverWindow_ = nullptr;
};

}  // namespace kivo::e2e
