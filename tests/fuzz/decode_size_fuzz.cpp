// The decode size for a claimed natural size and any scale the caller's hint gives (NaN, infinite,
// negative, tiny): at least a pixel, never larger than the natural size, which a scale that is not
// a reduction leaves as it is.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "forms_runtime/pixels/decode_size.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kivo::forms;
    struct {
        PictureSize natural;
        double scale = 1;
    } in;
    std::memcpy(&in, data, std::min(size, sizeof(in)));
    DecodeHint hint;
    hint.shown_scale = [scale = in.scale](int, int) { return scale; };
    const PictureSize decoded = DecodeSize(in.natural, hint);
    const PictureSize& natural = in.natural;
    if (natural.width > 0 && natural.height > 0 && in.scale > 0 && in.scale < 1) {
        FUZZ_CHECK(decoded.width >= 1 && decoded.width <= natural.width);
        FUZZ_CHECK(decoded.height >= 1 && decoded.height <= natural.height);
    } else {
        FUZZ_CHECK(decoded == natural);
    }
    return 0;
}
