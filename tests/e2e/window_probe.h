// Reads what Wine lets only a window's own process read, through a hook planted on the window's
// thread (window_probe/window_probe_hook.cpp): the icons the window carries.
#pragma once

#include <windows.h>

#include <optional>
#include <stdexcept>
#include <string>

#include "support/kivo.h"

namespace kivo::e2e {

class WindowProbe {
  public:
    struct Icons {
        DWORD big = 0;  // width in pixels, 0 for none
        DWORD small = 0;
    };

    explicit WindowProbe(HWND window) : window_(window) {
        DeleteRegistryKey(kKey);
        const std::wstring path = WindowsPathFromBuild(KIVO_E2E_WINDOW_PROBE);
        module_ = LoadLibraryW(path.c_str());
        if (module_ == nullptr) {
            ThrowLastError("LoadLibraryW " + Narrow(path));
        }
        // Through void*: a FARPROC is cast to the function type it really has.
        const auto hook = reinterpret_cast<HOOKPROC>(
            reinterpret_cast<void*>(GetProcAddress(module_, "WindowProbeHook")));
        hook_ = hook != nullptr ? SetWindowsHookExW(WH_CALLWNDPROC, hook, module_,
                                                    GetWindowThreadProcessId(window, nullptr))
                                : nullptr;
        if (hook_ == nullptr) {
            const DWORD error = GetLastError();
            FreeLibrary(module_);
            ThrowError("SetWindowsHookExW", error);
        }
    }
    ~WindowProbe() {
        UnhookWindowsHookEx(hook_);
        FreeLibrary(module_);
        DeleteRegistryKey(kKey);
    }
    WindowProbe(const WindowProbe&) = delete;
    WindowProbe& operator=(const WindowProbe&) = delete;

    // The window's icons as its own process sees them; nullopt when the probe did not answer.
    std::optional<Icons> ReadIcons() {
        DeleteRegistryKey(kKey);
        DWORD_PTR ignored = 0;
        if (!SendMessageTimeoutW(window_, RegisterWindowMessageW(L"KivoE2eWindowProbe"), 0, 0,
                                 SMTO_NORMAL, 5000, &ignored)) {
            return std::nullopt;
        }
        const auto big = GetRegistryDword(kKey, L"BigIcon");
        const auto small = GetRegistryDword(kKey, L"SmallIcon");
        if (!big || !small) {
            return std::nullopt;
        }
        return Icons{*big, *small};
    }

  private:
    static constexpr wchar_t kKey[] = L"Software\\KivoE2eWindowProbe";

    HWND window_;
    HMODULE module_ = nullptr;
    HHOOK hook_ = nullptr;
};

}  // namespace kivo::e2e
