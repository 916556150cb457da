#include "forms_runtime/pixels/metafile_records.h"

#include <cstdint>

namespace kivo::forms {

namespace {

std::uint32_t Le(std::string_view bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

constexpr std::uint32_t kEnhancedHeader = 1;
constexpr std::uint32_t kEnhancedEnd = 14;
constexpr std::size_t kWindowsHeaderBytes = 18;

}  // namespace

bool EnhancedRecordsFit(std::string_view file) {
    std::size_t at = 0;
    while (file.size() - at >= 8) {
        const std::uint32_t type = Le(file, at, 4);
        const std::uint32_t size = Le(file, at + 4, 4);
        if (size < 8 || size % 4 != 0 || size > file.size() - at ||
            (at == 0) != (type == kEnhancedHeader)) {
            return false;
        }
        if (type == kEnhancedEnd) {
            return true;
        }
        at += size;
    }
    return false;  // no end record
}

bool WindowsRecordsFit(std::string_view records) {
    if (records.size() < kWindowsHeaderBytes || Le(records, 2, 2) != 9) {
        return false;
    }
    std::size_t at = kWindowsHeaderBytes;
    while (records.size() - at >= 6) {
        const std::uint64_t bytes = 2ULL * Le(records, at, 4);
        const std::uint32_t function = Le(records, at + 4, 2);
        if (bytes < 6 || bytes > records.size() - at) {
            return false;
        }
        if (function == 0) {
            return true;  // the end record
        }
        at += static_cast<std::size_t>(bytes);
    }
    return at == records.size();
}

}  // namespace kivo::forms
