// The camera data's orientation, read from a JPEG file's first bytes: one of the eight, or none.
#include <cstdint>
#include <string_view>

#include "forms_runtime/pixels/exif_orientation.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view head(reinterpret_cast<const char*>(data), size);
    const int orientation = kivo::forms::JpegExifOrientation(head);
    FUZZ_CHECK(orientation >= 0 && orientation <= 8);
    return 0;
}
