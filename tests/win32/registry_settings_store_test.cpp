// The registry store as the system's own readers see a value.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "settings_store/win32/registry_settings_store.h"

namespace kivo::settings {
namespace {

constexpr wchar_t kKey[] = L"Software\\Kivo registry test\\section";

TEST(RegistrySettingsStore, ReadsAStoredTextUpToItsFirstZero) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    const wchar_t value[] = L"C:\\pictures\0D:\\elsewhere";
    RegSetValueExW(key, L"folder", 0, REG_SZ, reinterpret_cast<const BYTE*>(value), sizeof(value));
    RegCloseKey(key);

    RegistrySettingsStore store;
    EXPECT_EQ(store.Read("Kivo registry test", "section", "folder", "fallback"), "C:\\pictures");
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Kivo registry test");
}

}  // namespace
}  // namespace kivo::settings
