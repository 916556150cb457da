#include "support/registry.h"

#include <iostream>

#include "support/errors.h"
#include "support/text.h"

namespace kivo::e2e {

namespace {

// An open HKCU key, closed when it goes out of scope; empty when the key is missing.
class Key {
  public:
    static Key Open(const std::wstring& path, REGSAM access) {
        Key key;
        const LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, access, &key.key_);
        if (status == ERROR_FILE_NOT_FOUND) {
            key.key_ = nullptr;
        } else if (status != ERROR_SUCCESS) {
            ThrowError("RegOpenKeyExW HKCU\\" + Narrow(path), static_cast<DWORD>(status));
        }
        return key;
    }
    static Key Create(const std::wstring& path) {
        Key key;
        const LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                                               KEY_ALL_ACCESS, nullptr, &key.key_, nullptr);
        if (status != ERROR_SUCCESS) {
            ThrowError("RegCreateKeyExW HKCU\\" + Narrow(path), static_cast<DWORD>(status));
        }
        return key;
    }
    Key() = default;
    Key(Key&& other) noexcept : key_(other.key_) { other.key_ = nullptr; }
    Key& operator=(Key&&) = delete;
    ~Key() {
        if (key_ != nullptr) {
            RegCloseKey(key_);
        }
    }
    explicit operator bool() const { return key_ != nullptr; }
    HKEY get() const { return key_; }

  private:
    HKEY key_ = nullptr;
};

void SetValue(const std::wstring& key, const std::wstring& name, DWORD type, const void* data,
              DWORD size) {
    Key opened = Key::Create(key);
    const LSTATUS status =
        RegSetValueExW(opened.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    if (status != ERROR_SUCCESS) {
        ThrowError("RegSetValueExW " + Narrow(key) + " " + Narrow(name),
                   static_cast<DWORD>(status));
    }
}

std::optional<ScopedRegistryKey::Value> GetValue(const std::wstring& key,
                                                 const std::wstring& name) {
    Key opened = Key::Open(key, KEY_READ);
    if (!opened) {
        return std::nullopt;
    }
    ScopedRegistryKey::Value value;
    DWORD size = 0;
    LSTATUS status =
        RegQueryValueExW(opened.get(), name.c_str(), nullptr, &value.type, nullptr, &size);
    if (status == ERROR_FILE_NOT_FOUND) {
        return std::nullopt;
    }
    if (status != ERROR_SUCCESS) {
        ThrowError("RegQueryValueExW " + Narrow(name), static_cast<DWORD>(status));
    }
    value.data.resize(size);
    status = RegQueryValueExW(opened.get(), name.c_str(), nullptr, &value.type, value.data.data(),
                              &size);
    if (status != ERROR_SUCCESS) {
        ThrowError("RegQueryValueExW " + Narrow(name), static_cast<DWORD>(status));
    }
    value.data.resize(size);
    return value;
}

ScopedRegistryKey::Snapshot Save(HKEY key) {
    ScopedRegistryKey::Snapshot snapshot;
    DWORD subkeyCount = 0, longestSubkey = 0, valueCount = 0, longestName = 0, longestData = 0;
    const LSTATUS info =
        RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeyCount, &longestSubkey, nullptr,
                         &valueCount, &longestName, &longestData, nullptr, nullptr);
    if (info != ERROR_SUCCESS) {
        ThrowError("RegQueryInfoKeyW", static_cast<DWORD>(info));
    }
    for (DWORD i = 0; i < valueCount; ++i) {
        std::wstring name(longestName + 1, L'\0');
        DWORD nameLength = longestName + 1;
        ScopedRegistryKey::Value value;
        value.data.resize(longestData);
        DWORD dataSize = longestData;
        const LSTATUS status = RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &value.type,
                                             value.data.data(), &dataSize);
        if (status != ERROR_SUCCESS) {
            ThrowError("RegEnumValueW", static_cast<DWORD>(status));
        }
        name.resize(nameLength);
        value.data.resize(dataSize);
        snapshot.values.emplace(name, std::move(value));
    }
    for (DWORD i = 0; i < subkeyCount; ++i) {
        std::wstring name(longestSubkey + 1, L'\0');
        DWORD nameLength = longestSubkey + 1;
        const LSTATUS status =
            RegEnumKeyExW(key, i, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr);
        if (status != ERROR_SUCCESS) {
            ThrowError("RegEnumKeyExW", static_cast<DWORD>(status));
        }
        name.resize(nameLength);
        HKEY subkey = nullptr;
        const LSTATUS opened = RegOpenKeyExW(key, name.c_str(), 0, KEY_READ, &subkey);
        if (opened != ERROR_SUCCESS) {
            ThrowError("RegOpenKeyExW " + Narrow(name), static_cast<DWORD>(opened));
        }
        try {
            snapshot.subkeys.emplace(name, Save(subkey));
        } catch (...) {
            RegCloseKey(subkey);
            throw;
        }
        RegCloseKey(subkey);
    }
    return snapshot;
}

void Restore(const std::wstring& path, const ScopedRegistryKey::Snapshot& snapshot) {
    Key::Create(path);
    for (const auto& [name, value] : snapshot.values) {
        SetValue(path, name, value.type, value.data.data(), static_cast<DWORD>(value.data.size()));
    }
    for (const auto& [name, subkey] : snapshot.subkeys) {
        Restore(path + L"\\" + name, subkey);
    }
}

}  // namespace

void SetRegistryString(const std::wstring& key, const std::wstring& name,
                       const std::wstring& value) {
    SetValue(key, name, REG_SZ, value.c_str(),
             static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void SetRegistryDword(const std::wstring& key, const std::wstring& name, DWORD value) {
    SetValue(key, name, REG_DWORD, &value, sizeof value);
}

std::optional<std::wstring> GetRegistryString(const std::wstring& key, const std::wstring& name) {
    const auto value = GetValue(key, name);
    if (!value) {
        return std::nullopt;
    }
    if (value->type != REG_SZ && value->type != REG_EXPAND_SZ) {
        throw std::runtime_error(Narrow(name) + " is not a string value");
    }
    std::wstring text(value->data.size() / sizeof(wchar_t), L'\0');
    std::copy(value->data.begin(), value->data.begin() + text.size() * sizeof(wchar_t),
              reinterpret_cast<BYTE*>(text.data()));
    while (!text.empty() && text.back() == L'\0') {
        text.pop_back();
    }
    return text;
}

std::optional<DWORD> GetRegistryDword(const std::wstring& key, const std::wstring& name) {
    const auto value = GetValue(key, name);
    if (!value) {
        return std::nullopt;
    }
    if (value->type != REG_DWORD || value->data.size() != sizeof(DWORD)) {
        throw std::runtime_error(Narrow(name) + " is not a DWORD value");
    }
    DWORD number = 0;
    std::copy(value->data.begin(), value->data.end(), reinterpret_cast<BYTE*>(&number));
    return number;
}

bool RegistryKeyExists(const std::wstring& key) {
    return static_cast<bool>(Key::Open(key, KEY_READ));
}

bool RegistryValueExists(const std::wstring& key, const std::wstring& name) {
    return GetValue(key, name).has_value();
}

void DeleteRegistryValue(const std::wstring& key, const std::wstring& name) {
    Key opened = Key::Open(key, KEY_SET_VALUE);
    if (!opened) {
        return;
    }
    const LSTATUS status = RegDeleteValueW(opened.get(), name.c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
        ThrowError("RegDeleteValueW " + Narrow(name), static_cast<DWORD>(status));
    }
}

void DeleteRegistryKey(const std::wstring& key) {
    const LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
        ThrowError("RegDeleteTreeW HKCU\\" + Narrow(key), static_cast<DWORD>(status));
    }
}

ScopedRegistryKey::ScopedRegistryKey(std::wstring key) : key_(std::move(key)) {
    Key opened = Key::Open(key_, KEY_READ);
    if (opened) {
        saved_ = Save(opened.get());
    }
}

ScopedRegistryKey::~ScopedRegistryKey() {
    try {
        DeleteRegistryKey(key_);
        if (saved_) {
            Restore(key_, *saved_);
        }
    } catch (const std::exception& e) {
        std::cerr << "kivo e2e: could not restore HKCU\\" << Narrow(key_) << ": " << e.what()
                  << "\n";
    }
}

}  // namespace kivo::e2e
