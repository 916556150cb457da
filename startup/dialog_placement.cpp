#include "startup/dialog_placement.h"

#include "forms_runtime/basics/conversions.h"

namespace kivo::startup {

namespace {
constexpr std::int32_t kDialogOffsetPixels = 180;
}

float DialogEdge(std::int32_t pointer_pixels, float twips_per_pixel, float screen_size,
                 float dialog_size) {
    const double wanted = static_cast<double>(twips_per_pixel) *
                          static_cast<double>(pointer_pixels - kDialogOffsetPixels);
    const std::int32_t edge = forms::CLng(wanted);
    const float last = screen_size - dialog_size;
    if (last < static_cast<float>(edge)) {
        return last;
    }
    return edge < 0 ? 0.0f : static_cast<float>(edge);
}

}  // namespace kivo::startup
