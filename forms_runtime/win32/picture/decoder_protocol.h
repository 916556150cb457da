#pragma once

#include <cstdint>

#include "forms_runtime/pixels/helper_answer.h"

namespace kivo::forms::win32 {

// What the saver and its decoder helper say to each other over their pipe, in order:
//   client: Load (with the path's UTF-16 bytes after it)
//   helper: Ask (the picture's natural upright size), any number of times
//   client: Answer (the scale it is shown at) after each Ask
//   helper: Done (the error kind, or the pixels' size and the section that holds them)
// The helper trusts nothing but the message sizes; the client trusts nothing of the helper's
// (AnswerError checks its Done).
enum class DecoderMessage : std::uint32_t { Load = 0x4B4C4431, Ask, Answer, Done };

struct ClientMessage {
    DecoderMessage type;
    std::uint32_t path_bytes;  // Load: the UTF-16 path that follows, at most kLongestPathBytes
    float twips_per_pixel_x;   // Load: the screen's, for the natural size in twips
    float twips_per_pixel_y;
    double scale;  // Answer: shown pixels over natural pixels; 0 or less: natural size
};

struct HelperMessage {
    DecoderMessage type;
    std::int32_t kind;    // Done: kDecodedFine, or the ErrorKind that the load raised
    std::int32_t width;   // Ask: natural upright size; Done: the pixels' size
    std::int32_t height;  //
    float width_twips;    // Done: the natural size
    float height_twips;
    std::uint32_t opaque;   // Done: 1 when every pixel is opaque
    std::uint32_t unused;   //
    std::uint64_t section;  // Done: the helper's handle of a mapping of width x height BGRA
                            // premultiplied top-down pixels, for the client to take over
};

inline constexpr std::uint32_t kLongestPathBytes = 32767 * 2;

// The private argument that starts Kivo.scr as a decoder helper, followed by the pipe's and the
// parent process's handle values, in decimal.
inline constexpr wchar_t kDecoderArgument[] = L"--kivo-decoder-helper";

}  // namespace kivo::forms::win32
