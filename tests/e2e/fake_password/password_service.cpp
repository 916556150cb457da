// A stand-in for the system's screen-saver password service, planted by the tests in the Wine
// prefix's system directory as password.cpl. It answers as the test said in
// HKCU\Software\KivoE2ePassword "Answer" and counts its calls in "Calls".
#include <windows.h>

namespace {

constexpr wchar_t kKey[] = L"Software\\KivoE2ePassword";

DWORD ReadDword(HKEY key, const wchar_t* name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    return value;
}

}  // namespace

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return FALSE;
    }
    const DWORD answer = ReadDword(key, L"Answer");
    const DWORD calls = ReadDword(key, L"Calls") + 1;
    RegSetValueExW(key, L"Calls", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&calls),
                   sizeof calls);
    RegCloseKey(key);
    return static_cast<BOOL>(answer);
}
