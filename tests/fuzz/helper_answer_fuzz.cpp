// The decoder helper's answer, every field of it a lie: an accepted one never asks for more bytes
// than its section holds, nor more pixels than the limit, and its natural size converts to screen
// pixels; a refused one fails the load as no picture or as a missing file.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "forms_runtime/pixels/decode_size.h"
#include "forms_runtime/pixels/helper_answer.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kivo::forms;
    struct {
        HelperAnswer answer;
        std::uint64_t section_bytes = 0;
        std::uint8_t twips_per_pixel[2] = {15, 15};  // the screen's, as the saver knows it
    } in;
    std::memcpy(&in, data, std::min(size, sizeof(in)));
    const HelperAnswer& answer = in.answer;
    const PixelScale scale{1.0f + in.twips_per_pixel[0] % 32, 1.0f + in.twips_per_pixel[1] % 32};
    const auto error = AnswerError(answer, in.section_bytes, scale);
    if (error) {
        FUZZ_CHECK(*error == ErrorKind::InvalidPicture || *error == ErrorKind::FileNotFound);
        return 0;
    }
    FUZZ_CHECK(answer.width > 0 && answer.height > 0 && PixelBytes(answer) <= in.section_bytes);
    FUZZ_CHECK(std::int64_t{answer.width} * answer.height <= kMostPicturePixels);
    FUZZ_CHECK(std::isfinite(answer.width_twips) && std::isfinite(answer.height_twips));
    const double most = static_cast<double>(kMostPicturePixels);
    FUZZ_CHECK(scale.X(answer.width_twips) >= 0 && scale.X(answer.width_twips) <= most);
    FUZZ_CHECK(scale.Y(answer.height_twips) >= 0 && scale.Y(answer.height_twips) <= most);
    return 0;
}
