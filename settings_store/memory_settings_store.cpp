#include "settings_store/memory_settings_store.h"

namespace kivo::settings {

std::string MemorySettingsStore::Read(const std::string& application, const std::string& section,
                                      const std::string& key, const std::string& fallback) {
    const auto found = values_.find({application, section, key});
    return found == values_.end() ? fallback : found->second;
}

void MemorySettingsStore::Write(const std::string& application, const std::string& section,
                                const std::string& key, const std::string& value) {
    values_[{application, section, key}] = value;
    writes_.push_back({application, section, key, value});
}

bool MemorySettingsStore::Contains(const std::string& application, const std::string& section,
                                   const std::string& key) const {
    return values_.contains({application, section, key});
}

}  // namespace kivo::settings
