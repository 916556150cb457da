// A stand-in for the system's screen-saver password service, planted by the tests in the Wine
// prefix's system directory as password.cpl. It answers as the test said in
// HKCU\Software\KivoE2ePassword "Answer", counts its calls in "Calls" and notes in "PointerShown"
// whether the caller showed the pointer before asking.
#include <windows.h>

namespace {

constexpr wchar_t kKey[] = L"Software\\KivoE2ePassword";

DWORD Read(HKEY key, const wchar_t* name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    return value;
}

void Write(HKEY key, const wchar_t* name, DWORD value) {
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

}  // namespace

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return FALSE;
    }
    CURSORINFO cursor{};
    cursor.cbSize = sizeof cursor;
    Write(key, L"PointerShown", GetCursorInfo(&cursor) && (cursor.flags & CURSOR_SHOWING) != 0);
    const DWORD answer = Read(key, L"Answer");  // before the call is counted, which the test sees
    Write(key, L"Calls", Read(key, L"Calls") + 1);
    RegCloseKey(key);
    return static_cast<BOOL>(answer);
}
