#pragma once

#include <windows.h>

namespace kivo::forms::win32 {

// Delivers one message to its window, through the dialog keyboard of the form that holds it.
void DeliverMessage(MSG& message);

}  // namespace kivo::forms::win32
