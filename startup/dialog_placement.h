#pragma once

#include <cstdint>

namespace kivo::startup {

// Where one edge (left or top) of the settings dialog goes: 180 pixels before the pointer, in
// twips, rounded with halves to even; past the far edge of the screen it is pulled back so the
// dialog ends there, and otherwise it is kept from going below 0.
float DialogEdge(std::int32_t pointer_pixels, float twips_per_pixel, float screen_size,
                 float dialog_size);

}  // namespace kivo::startup
