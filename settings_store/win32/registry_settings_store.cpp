#include "settings_store/win32/registry_settings_store.h"

#include <windows.h>

#include <vector>

#include "forms_runtime/basics/errors.h"
#include "forms_runtime/win32/wide.h"

namespace kivo::settings {

namespace {

using forms::win32::Narrow;
using forms::win32::Widen;

std::wstring KeyPath(const std::string& application, const std::string& section) {
    return L"Software\\" + Widen(application) + L"\\" + Widen(section);
}

// A string value's text up to its first zero, as the system's own readers take it: whatever a
// value holds after an embedded zero is not part of the text.
std::string ValueText(const std::vector<wchar_t>& data) {
    const std::wstring_view text(data.data(), data.size());
    return Narrow(text.substr(0, text.find(L'\0')));
}

}  // namespace

std::string RegistrySettingsStore::Read(const std::string& application, const std::string& section,
                                        const std::string& key, const std::string& fallback) {
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, KeyPath(application, section).c_str(), 0, KEY_QUERY_VALUE,
                      &handle) != ERROR_SUCCESS) {
        return fallback;
    }
    const std::wstring name = Widen(key);
    std::string text = fallback;
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExW(handle, name.c_str(), nullptr, &type, nullptr, &size) !=
                ERROR_SUCCESS ||
            (type != REG_SZ && type != REG_EXPAND_SZ)) {
            break;
        }
        std::vector<wchar_t> data(size / sizeof(wchar_t) + 1, L'\0');
        DWORD filled = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        const LSTATUS status = RegQueryValueExW(handle, name.c_str(), nullptr, &type,
                                                reinterpret_cast<BYTE*>(data.data()), &filled);
        if (status == ERROR_MORE_DATA) {
            continue;  // the value grew between the two queries
        }
        if (status == ERROR_SUCCESS) {
            data.resize(filled / sizeof(wchar_t));
            text = ValueText(data);
        }
        break;
    }
    RegCloseKey(handle);
    return text;
}

void RegistrySettingsStore::Write(const std::string& application, const std::string& section,
                                  const std::string& key, const std::string& value) {
    const std::wstring path = KeyPath(application, section);
    HKEY handle = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &handle, nullptr) != ERROR_SUCCESS) {
        throw forms::RuntimeError(forms::ErrorKind::InvalidArgument,
                                  "HKEY_CURRENT_USER\\" + Narrow(path));
    }
    const std::wstring text = Widen(value);
    const LSTATUS status = RegSetValueExW(handle, Widen(key).c_str(), 0, REG_SZ,
                                          reinterpret_cast<const BYTE*>(text.c_str()),
                                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
    if (status != ERROR_SUCCESS) {
        throw forms::RuntimeError(forms::ErrorKind::InvalidArgument,
                                  "HKEY_CURRENT_USER\\" + Narrow(path) + "\\" + key);
    }
}

}  // namespace kivo::settings
