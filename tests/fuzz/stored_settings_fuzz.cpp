// Stored settings and typed text as the saver reads them, in either way of writing numbers: the
// interval is within the timer's range or refused, the name flag is read or refused, and the walk
// from a stored folder up to its drive ends.
#include <cstdint>
#include <string>

#include "forms_runtime/basics/errors.h"
#include "forms_runtime/basics/paths.h"
#include "saver_window/saver_settings.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kivo;
    const bool comma_decimal = size > 0 && (data[0] & 1) != 0;
    const forms::NumberFormat format =
        comma_decimal ? forms::NumberFormat{",", "."} : forms::NumberFormat{};
    const std::string text(reinterpret_cast<const char*>(data) + (size > 0), size - (size > 0));
    try {
        const std::int32_t interval = saver_window::IntervalMilliseconds(text, format);
        FUZZ_CHECK(interval >= 0 && interval <= saver_window::kLongestInterval);
    } catch (const forms::RuntimeError& refused) {  // the user is told which setting to mend
        // A number is refused only below zero; a long one is the longest interval.
        FUZZ_CHECK(!forms::IsNumeric(text, format) ||
                   refused.kind() == forms::ErrorKind::InvalidArgument);
    }
    try {
        saver_window::ShowFileName(text, format);
    } catch (const forms::RuntimeError& refused) {
        FUZZ_CHECK(refused.kind() == forms::ErrorKind::TypeMismatch);
    }
    std::size_t steps = 0;
    for (std::string folder = forms::NormalizeFolder(text); !folder.empty();
         folder = forms::ParentFolder(folder)) {
        FUZZ_CHECK(++steps <= text.size() + 2);
    }
    return 0;
}
