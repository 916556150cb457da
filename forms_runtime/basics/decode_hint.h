#pragma once

#include <functional>

namespace kivo::forms {

// What the caller knows of how large a picture will be shown, so that a loader can decode a large
// picture no larger than that. `shown_scale` gives, for a picture of a natural size in pixels
// (upright), the largest scale at which it will be shown: shown pixels over natural pixels, the
// same on both sides. A loader decodes at that scale when it is below 1; empty, or 1 and above,
// is the natural size. It may be called on a loading thread while the caller waits: it must
// depend on its arguments and on values it captured by copy, nothing else.
struct DecodeHint {
    std::function<double(int width_px, int height_px)> shown_scale;
};

}  // namespace kivo::forms
