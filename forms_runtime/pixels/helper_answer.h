#pragma once

#include <cstdint>
#include <optional>

#include "forms_runtime/basics/errors.h"
#include "forms_runtime/pixels/pixel_scale.h"

namespace kivo::forms {

// The `kind` of an answer whose picture was decoded.
inline constexpr std::int32_t kDecodedFine = -1;

// What the decoder helper answers when its load is done, as it arrived: every field may be a lie,
// for the helper runs an attacker's file.
struct HelperAnswer {
    std::int32_t kind = kDecodedFine;  // kDecodedFine, or the ErrorKind the load raised
    std::int32_t width = 0;            // the pixels' size in the section
    std::int32_t height = 0;
    float width_twips = 0;  // the picture's natural size
    float height_twips = 0;
    std::uint32_t opaque = 0;  // 1 when every pixel is opaque: a hint that no value makes unsafe
};

// The error the load fails with for this answer, or none when its pixels may be taken: the first
// PixelBytes(answer) bytes of a section of `section_bytes` (0 when no section could be taken or
// mapped). A load fails with FileNotFound when the helper says so, and otherwise as no picture:
// an error kind, sides of no pixels or of more than the picture limit, pixels beyond the section,
// or a natural size that is not a positive finite size of at most the picture limit's pixels on
// each side at the screen's `scale`. Pure arithmetic, any thread, never throws.
std::optional<ErrorKind> AnswerError(const HelperAnswer& answer, std::uint64_t section_bytes,
                                     const PixelScale& scale);

// The bytes of an accepted answer's pixels: four for each (BGRA).
inline std::uint64_t PixelBytes(const HelperAnswer& answer) {
    return 4ULL * static_cast<std::uint64_t>(answer.width) *
           static_cast<std::uint64_t>(answer.height);
}

}  // namespace kivo::forms
