// The header checks of every format: a header taken as sound claims a size within the limit.
#include <cstdint>
#include <string_view>

#include "forms_runtime/pixels/decode_size.h"
#include "forms_runtime/pixels/picture_header.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kivo::forms;
    MemoryBytes file(std::string_view(reinterpret_cast<const char*>(data), size));
    const PictureHeader header = ReadPictureHeader(file);
    if (header.sound) {
        const bool bare_metafile = header.format == PictureFormat::WindowsMetafile &&
                                   header.width == 0 && header.height == 0;
        FUZZ_CHECK(header.format != PictureFormat::Unknown);
        FUZZ_CHECK(bare_metafile || (header.width > 0 && header.height > 0 &&
                                     header.width * header.height <= kMostPicturePixels));
    }
    return 0;
}
