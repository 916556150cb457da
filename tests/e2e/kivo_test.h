// The ground every end-to-end test of Kivo stands on: a working folder with its own copy of
// Kivo.scr and an empty sample\ folder beside it, no settings stored and the screen-saver flag
// clear. The harness's Wine prefix is the tests' own, so what a test stores is simply deleted.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
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

namespace kivo::e2e {

// Kivo's texts: the title of its windows, of its preview and of its messages.
inline constexpr wchar_t kSaverTitle[] = L"ScreenSaver ボール(Sample)";
inline constexpr wchar_t kPreviewTitle[] = L"ScreenSaver Preview";
inline constexpr wchar_t kApplicationTitle[] = L"Ostra'sSlideShowScreenSaver";

// Where Kivo keeps its settings, below HKEY_CURRENT_USER.
inline constexpr wchar_t kSettingsKey[] = L"Software\\スライドショー(スクリーンセーバー）\\設定";
inline constexpr wchar_t kFolderValue[] = L"パス";
inline constexpr wchar_t kFileNameValue[] = L"ファイル名";
inline constexpr wchar_t kIntervalValue[] = L"切り替え時間";

inline constexpr POINT kScreenCentre = {512, 384};

// The Kivo.scr that the build made, as Wine sees it.
inline std::filesystem::path KivoScrPath() {
    return std::filesystem::path(KIVO_SCR_PATH).make_preferred();
}

// Whether `process` ends by itself, having shown no window with Kivo's title. It takes a second
// or so under Wine, several on a busy machine; one that does not step aside shows its window and
// stays, which thirty seconds tell.
inline bool EndsWithoutAWindow(const ScopedProcess& process) {
    bool shown = false;
    const auto ended = [&] {
        shown = shown || FindWindowOf(process.id(), kSaverTitle) != nullptr;
        return shown || !process.running();
    };
    return WaitUntil(ended, 30s) && !shown;
}

class KivoTest : public ::testing::Test {
  protected:
    KivoTest() {
        WaitForNoKivoWindow();
        DeleteKey(L"Software\\スライドショー(スクリーンセーバー）");
        ClearScreenSaverFlag();
        std::filesystem::copy_file(KivoScrPath(), folder_ / L"Kivo.scr");
    }
    ~KivoTest() override { ClearScreenSaverFlag(); }

    // A copy just ended may leave its titled window for a moment; a new copy would take it for a
    // running one and step aside.
    static void WaitForNoKivoWindow() {
        WaitUntil([] { return FindWindowW(nullptr, kSaverTitle) == nullptr; }, 15s);
    }

    // Writes a picture file into sample\, the folder Kivo shows when no other is stored.
    void AddPicture(const std::wstring& name, std::string_view bytes) const {
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
    const std::filesystem::path samples_ = folder_.MakeFolder(L"sample");
    HWND saverWindow_ = nullptr;
};

}  // namespace kivo::e2e
