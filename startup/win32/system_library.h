#pragma once

#include <windows.h>

namespace kivo::startup {

// A library of the system directory, loaded for one call and freed afterwards. Only the system
// directory is searched, so a planted DLL beside the program is never picked up.
class SystemLibrary {
  public:
    explicit SystemLibrary(const wchar_t* name)
        : module_(LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {}
    ~SystemLibrary() {
        if (module_ != nullptr) {
            FreeLibrary(module_);
        }
    }
    SystemLibrary(const SystemLibrary&) = delete;
    SystemLibrary& operator=(const SystemLibrary&) = delete;

    // The entry point, or null when the library or the entry point is missing.
    template <typename Function>
    Function Find(const char* entry) const {
        if (module_ == nullptr) {
            return nullptr;
        }
        return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module_, entry)));
    }

  private:
    HMODULE module_;
};

}  // namespace kivo::startup
