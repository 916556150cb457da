#include "forms_runtime/headless/headless_form_peer.h"

#include "forms_runtime/basics/text.h"

namespace kivo::forms::headless {

TextExtent HeadlessFormPeer::MeasureText(const Control&, const std::string& text) {
    // A fixed metric: 90 twips for an ASCII character, 180 for any other, one line 180 high.
    float width = 0;
    for (char32_t c : ToUtf32(text)) {
        width += c < 0x80 ? 90.0f : 180.0f;
    }
    return {width, 180};
}

}  // namespace kivo::forms::headless
