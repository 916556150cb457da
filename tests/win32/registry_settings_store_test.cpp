// The registry store as the system's own readers and writers see a value.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "settings_store/win32/registry_settings_store.h"

namespace kivo::settings {
namespace {

constexpr wchar_t kKey[] = L"Software\\Kivo registry test\\section";

TEST(RegistrySettingsStore, WritesATextValueAndReadsAStoredTextUpToItsFirstZero) {
    RegistrySettingsStore store;
    store.Write("Kivo registry test", "section", "written", "D:\\写真");
    wchar_t written[16] = {};
    DWORD bytes = sizeof(written);
    EXPECT_EQ(
        RegGetValueW(HKEY_CURRENT_USER, kKey, L"written", RRF_RT_REG_SZ, nullptr, written, &bytes),
        ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(written), L"D:\\写真");

    const wchar_t value[] = L"C:\\pictures\0D:\\elsewhere";
    RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"folder", REG_SZ, value, sizeof(value));
    EXPECT_EQ(store.Read("Kivo registry test", "section", "folder", "fallback"), "C:\\pictures");
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Kivo registry test");
}

}  // namespace
}  // namespace kivo::settings
