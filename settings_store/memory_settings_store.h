#pragma once

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "settings_store/settings_store.h"

namespace kivo::settings {

// Settings held in memory, for tests: it also records every write in order.
class MemorySettingsStore : public SettingsStore {
  public:
    struct Entry {
        std::string application;
        std::string section;
        std::string key;
        std::string value;
    };

    std::string Read(const std::string& application, const std::string& section,
                     const std::string& key, const std::string& fallback) override;
    void Write(const std::string& application, const std::string& section, const std::string& key,
               const std::string& value) override;

    const std::vector<Entry>& writes() const { return writes_; }
    bool Contains(const std::string& application, const std::string& section,
                  const std::string& key) const;

  private:
    std::map<std::tuple<std::string, std::string, std::string>, std::string> values_;
    std::vector<Entry> writes_;
};

}  // namespace kivo::settings
