#include "support/registry.h"

#include <cstring>
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

std::optional<StoredValue> ReadValue(const std::wstring& key, const std::wstring& name) {
    StoredValue value;
    wchar_t data[1024] = {};
    DWORD size = sizeof data - sizeof(wchar_t);  // a string ends even if stored without its zero
    const LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(),
                                        RRF_RT_ANY | RRF_NOEXPAND, &value.first, data, &size);
    if (status == ERROR_FILE_NOT_FOUND) {
        return std::nullopt;
    }
    Check(status, "RegGetValueW");
    if (value.first == REG_DWORD) {
        DWORD number = 0;
        std::memcpy(&number, data, sizeof number);
        value.second = std::to_wstring(number);
    } else if (value.first == REG_SZ || value.first == REG_EXPAND_SZ) {
        value.second = data;
    }
    return value;
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
