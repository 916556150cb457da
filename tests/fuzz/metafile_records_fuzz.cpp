// The metafiles' record walks on their own, over any bytes: they end, and a walk that fits began
// with the header its format needs.
#include <cstdint>
#include <string_view>

#include "forms_runtime/pixels/metafile_records.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (kivo::forms::EnhancedRecordsFit(bytes)) {  // a header record, then the end record
        FUZZ_CHECK(size >= 16 && data[0] == 1 && data[1] == 0 && data[2] == 0 && data[3] == 0);
    }
    if (kivo::forms::WindowsRecordsFit(bytes)) {  // a header of nine words
        FUZZ_CHECK(size >= 18 && data[2] == 9 && data[3] == 0);
    }
    return 0;
}
