#include "support/registry.h"

#include <system_error>

namespace kivo::e2e {

namespace {

void Check(LSTATUS status, const char* what, bool missingIsFine = false) {
    if (status != ERROR_SUCCESS && !(missingIsFine && status == ERROR_FILE_NOT_FOUND)) {
        throw std::system_error(static_cast<int>(status), std::system_category(), what);
    }
}

void Write(const std::wstring& key, const std::wstring& name, DWORD type, const void* data,
           std::size_t size) {
    Check(RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), type, data,
                          static_cast<DWORD>(size)),
          "RegSetKeyValueW");
}

}  // namespace

std::wstring ReadValue(const std::wstring& key, const std::wstring& name) {
    union {
        wchar_t text[1024];
        DWORD number;
    } data = {};
    DWORD type = 0;
    DWORD size = sizeof data - sizeof(wchar_t);  // a string ends even if stored without its zero
    const LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(),
                                        RRF_RT_REG_SZ | RRF_RT_REG_DWORD, &type, &data, &size);
    if (status == ERROR_FILE_NOT_FOUND) {
        return L"";
    }
    Check(status, "RegGetValueW");
    return type == REG_DWORD ? std::to_wstring(data.number) : std::wstring(data.text);
}

void WriteValue(const std::wstring& key, const std::wstring& name, const std::wstring& text) {
    Write(key, name, REG_SZ, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

void WriteValue(const std::wstring& key, const std::wstring& name, DWORD number) {
    Write(key, name, REG_DWORD, &number, sizeof number);
}

void DeleteKey(const std::wstring& key) {
    Check(RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str()), "RegDeleteTreeW", true);
}

}  // namespace kivo::e2e
