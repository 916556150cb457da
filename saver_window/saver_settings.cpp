#include "saver_window/saver_settings.h"

#include "forms_runtime/basics/errors.h"

namespace kivo::saver_window {

bool ShowFileName(const std::string& stored, const forms::NumberFormat& format) {
    return forms::CBool(stored, format);
}

std::int32_t IntervalMilliseconds(const std::string& stored, const forms::NumberFormat& format) {
    const double milliseconds = forms::CDbl(stored, format) * 1000;
    if (milliseconds < 0) {
        throw forms::RuntimeError(forms::ErrorKind::InvalidArgument, stored);
    }
    if (milliseconds >= static_cast<double>(kLongestInterval)) {
        return kLongestInterval;
    }
    return forms::CLng(milliseconds);
}

}  // namespace kivo::saver_window
