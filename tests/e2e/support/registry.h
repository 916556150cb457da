// Values and keys under HKEY_CURRENT_USER, named by their path below it
// (L"Software\\Example\\Section").
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kivo::e2e {

void SetRegistryString(const std::wstring& key, const std::wstring& name,
                       const std::wstring& value);
void SetRegistryDword(const std::wstring& key, const std::wstring& name, DWORD value);
// nullopt when the key or value is missing; throws when the value has another type.
std::optional<std::wstring> GetRegistryString(const std::wstring& key, const std::wstring& name);
std::optional<DWORD> GetRegistryDword(const std::wstring& key, const std::wstring& name);
bool RegistryKeyExists(const std::wstring& key);
bool RegistryValueExists(const std::wstring& key, const std::wstring& name);
// Deleting what is not there is not an error.
void DeleteRegistryValue(const std::wstring& key, const std::wstring& name);
void DeleteRegistryKey(const std::wstring& key);  // with everything below it

// Remembers a key with all its values and subkeys (or that it is missing) and puts it back
// exactly so when destroyed, whatever the test did to it in between.
class ScopedRegistryKey {
  public:
    explicit ScopedRegistryKey(std::wstring key);
    ~ScopedRegistryKey();
    ScopedRegistryKey(const ScopedRegistryKey&) = delete;
    ScopedRegistryKey& operator=(const ScopedRegistryKey&) = delete;

    const std::wstring& key() const { return key_; }

    struct Value {
        DWORD type = 0;
        std::vector<BYTE> data;
    };
    struct Snapshot {
        std::map<std::wstring, Value> values;
        std::map<std::wstring, Snapshot> subkeys;
    };

  private:
    std::wstring key_;
    std::optional<Snapshot> saved_;  // nullopt: the key did not exist
};

}  // namespace kivo::e2e
