// A hook that the tests set on the thread of a window in another process, to learn what only
// that process can read of its own windows: Wine answers WM_GETICON and the class icons only
// within the window's process. Sent the registered message "KivoE2eWindowProbe", the hook writes
// the width in pixels of the window's large and small icons (0 for none) to
// HKCU\Software\KivoE2eWindowProbe as "BigIcon" and "SmallIcon".
#include <windows.h>

namespace {

constexpr wchar_t kKey[] = L"Software\\KivoE2eWindowProbe";

DWORD IconWidth(HICON icon) {
    if (icon == nullptr) {
        return 0;
    }
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info)) {
        return 0;
    }
    BITMAP bitmap = {};
    DWORD width = 0;
    if (info.hbmColor != nullptr && GetObjectW(info.hbmColor, sizeof bitmap, &bitmap) != 0) {
        width = static_cast<DWORD>(bitmap.bmWidth);
    } else if (info.hbmMask != nullptr && GetObjectW(info.hbmMask, sizeof bitmap, &bitmap) != 0) {
        width = static_cast<DWORD>(bitmap.bmWidth);
    }
    if (info.hbmColor != nullptr) {
        DeleteObject(info.hbmColor);
    }
    if (info.hbmMask != nullptr) {
        DeleteObject(info.hbmMask);
    }
    return width;
}

void Write(HKEY key, const wchar_t* name, DWORD value) {
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

void RecordIcons(HWND window) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return;
    }
    const auto icon = [window](WPARAM which) {
        return reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0));
    };
    Write(key, L"BigIcon", IconWidth(icon(ICON_BIG)));
    Write(key, L"SmallIcon", IconWidth(icon(ICON_SMALL)));
    RegCloseKey(key);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    WindowProbeHook(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HC_ACTION) {
        const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lparam);
        if (sent->message >= 0xC000 &&
            sent->message == RegisterWindowMessageW(L"KivoE2eWindowProbe")) {
            RecordIcons(sent->hwnd);
        }
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}
