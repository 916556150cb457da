#pragma once

#include <string>

#include "forms_runtime/basics/msg_box_style.h"

namespace kivo::forms::headless {

// One message box that the headless backend showed (and answered OK), as the test reads it.
struct MessageBoxCall {
    std::string prompt;
    MsgBoxStyle style = MsgBoxStyle::kOkOnly;
    std::string title;
};

}  // namespace kivo::forms::headless
