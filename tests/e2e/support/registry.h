// Values under HKEY_CURRENT_USER, their keys named by the path below it
// (L"Software\\Example\\Section"). Failures throw std::system_error.
#pragma once

#include <windows.h>

#include <string>

namespace kivo::e2e {

// A REG_SZ's text or a REG_DWORD's number in decimal, up to 1023 characters; "" when the key or
// the value is missing.
std::wstring ReadValue(const std::wstring& key, const std::wstring& name);
// Write a REG_SZ or a REG_DWORD, creating the key when it is missing.
void WriteValue(const std::wstring& key, const std::wstring& name, const std::wstring& text);
void WriteValue(const std::wstring& key, const std::wstring& name, DWORD number);
// Deletes the key with everything below it; a missing key is no error.
void DeleteKey(const std::wstring& key);

}  // namespace kivo::e2e
