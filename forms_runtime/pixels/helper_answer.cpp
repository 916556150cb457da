#include "forms_runtime/pixels/helper_answer.h"

#include <cmath>

#include "forms_runtime/pixels/decode_size.h"

namespace kivo::forms {

namespace {

// A natural side that converts to a number of screen pixels that an int holds with room.
bool SoundSide(float twips, float twips_per_pixel) {
    return std::isfinite(twips) && twips > 0 &&
           static_cast<double>(twips) / twips_per_pixel <= static_cast<double>(kMostPicturePixels);
}

}  // namespace

std::optional<ErrorKind> AnswerError(const HelperAnswer& answer, std::uint64_t section_bytes,
                                     const PixelScale& scale) {
    if (answer.kind == static_cast<std::int32_t>(ErrorKind::FileNotFound)) {
        return ErrorKind::FileNotFound;
    }
    const bool sized =
        answer.kind == kDecodedFine && answer.width > 0 && answer.height > 0 &&
        static_cast<std::int64_t>(answer.width) * answer.height <= kMostPicturePixels &&
        PixelBytes(answer) <= section_bytes &&
        SoundSide(answer.width_twips, scale.twips_per_pixel_x) &&
        SoundSide(answer.height_twips, scale.twips_per_pixel_y);
    if (!sized) {
        return ErrorKind::InvalidPicture;
    }
    return std::nullopt;
}

}  // namespace kivo::forms
