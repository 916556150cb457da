#pragma once

#include <string>

namespace kivo::settings {

// Per-user settings kept as text by application, section and key.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // The stored text, or `fallback` when the section or key is absent. Never creates anything.
    virtual std::string Read(const std::string& application, const std::string& section,
                             const std::string& key, const std::string& fallback) = 0;
    // Creates the section and key when absent and stores the text; a runtime error when the
    // system refuses.
    virtual void Write(const std::string& application, const std::string& section,
                       const std::string& key, const std::string& value) = 0;
};

}  // namespace kivo::settings
