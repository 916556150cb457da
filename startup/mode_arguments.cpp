#include "startup/mode_arguments.h"

#include <cmath>
#include <limits>

#include "forms_runtime/basics/conversions.h"
#include "forms_runtime/basics/errors.h"
#include "forms_runtime/basics/text.h"

namespace kivo::startup {

std::string ModeLetter(const std::string& arguments) {
    return forms::UCase(forms::Mid(arguments, 2, 1));
}

WindowHandle HostHandle(const std::string& arguments) {
    const double number = forms::Val(forms::Trim(forms::Mid(arguments, 3)));
    const double rounded = std::nearbyint(number);
    if (!(rounded >= static_cast<double>(std::numeric_limits<WindowHandle>::min()) &&
          rounded < static_cast<double>(std::numeric_limits<WindowHandle>::max()))) {
        throw forms::RuntimeError(forms::ErrorKind::Overflow, forms::Mid(arguments, 3));
    }
    return static_cast<WindowHandle>(rounded);
}

}  // namespace kivo::startup
