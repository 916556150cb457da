#pragma once

#include "settings_store/settings_store.h"

namespace kivo::settings {

// Settings in the registry: HKEY_CURRENT_USER\Software\<application>\<section>, one REG_SZ value
// per key, names and texts through the wide-character API.
class RegistrySettingsStore : public SettingsStore {
  public:
    std::string Read(const std::string& application, const std::string& section,
                     const std::string& key, const std::string& fallback) override;
    void Write(const std::string& application, const std::string& section, const std::string& key,
               const std::string& value) override;
};

}  // namespace kivo::settings
