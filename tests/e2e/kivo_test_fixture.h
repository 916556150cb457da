// The ground every end-to-end test of Kivo stands on: a working folder with its own copy of
// Kivo.scr and sample\ folder, and the user's settings and password flag put back as they were.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/kivo.h"

namespace kivo::e2e {

inline constexpr wchar_t kDesktopKey[] = L"Control Panel\\desktop";
inline constexpr wchar_t kPreviewTitle[] = L"ScreenSaver Preview";
inline constexpr wchar_t kApplicationTitle[] = L"Ostra'sSlideShowScreenSaver";

class KivoTest : public ::testing::Test {
  protected:
    KivoTest() {
        WaitForNoSaverTitle();
        DeleteRegistryKey(kApplicationKey);
        DeleteRegistryValue(kDesktopKey, L"ScreenSaveUsePassword");
        ClearScreenSaverRunningFlag();
    }
    ~KivoTest() override {
        WaitForNoSaverTitle();
        ClearScreenSaverRunningFlag();
    }

    // A copy that was just ended may leave its titled window for a moment; a new copy would
    // take it for a running one and step aside.
    static void WaitForNoSaverTitle() {
        WindowQuery titled;
        titled.title = kSaverWindowTitle;
        titled.visibleOnly = false;
        WaitForNoWindow(titled, std::chrono::seconds(5));
    }

    void StoreSetting(const wchar_t* name, const std::wstring& value) {
        SetRegistryString(kSettingsKey, name, value);
    }

    // The slide show window of `process`, once it is shown.
    HWND WaitForSaverWindow(const ScopedProcess& process,
                            std::chrono::milliseconds timeout = std::chrono::seconds(15)) {
        return WaitForWindow(kSaverWindowTitle, timeout, process.id());
    }

    // Starts the preview inside `host`, as the display settings do.
    ScopedProcess LaunchPreview(const HostWindow& host) {
        return folder_.Launch(L"/p " + std::to_wstring(reinterpret_cast<UINT_PTR>(host.hwnd())));
    }

    // The preview window of `process`, a child of its host, once it is shown.
    static HWND WaitForPreviewWindow(const ScopedProcess& process) {
        WindowQuery query;
        query.title = kPreviewTitle;
        query.processId = process.id();
        query.childrenToo = true;
        return WaitForWindow(query, std::chrono::seconds(15));
    }

    ScopedRegistryKey settings_guard_{kApplicationKey};
    ScopedRegistryKey desktop_guard_{kDesktopKey};
    SaverFolder folder_;
};

}  // namespace kivo::e2e
