// Values under HKEY_CURRENT_USER, their keys named by the path below it
// (L"Software\\Example\\Section"). Failures throw std::system_error.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <utility>

namespace kivo::e2e {

// A value as the registry holds it: its type and its text, a REG_DWORD's number in decimal.
using StoredValue = std::pair<DWORD, std::wstring>;

inline StoredValue TextValue(const std::wstring& text) {
    return {REG_SZ, text};
}

// nullopt when the key or the value is missing. Values of up to 1023 characters.
std::optional<StoredValue> ReadValue(const std::wstring& key, const std::wstring& name);
// Write a REG_SZ or a REG_DWORD, creating the key when it is missing.
void WriteValue(const std::wstring& key, const std::wstring& name, const std::wstring& text);
void WriteValue(const std::wstring& key, const std::wstring& name, DWORD number);
// Deletes the key with everything below it; a missing key is no error.
void DeleteKey(const std::wstring& key);

}  // namespace kivo::e2e
