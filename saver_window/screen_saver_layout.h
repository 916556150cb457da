#pragma once

#include "forms_runtime/basics/layout.h"

namespace kivo::saver_window {

// The slide show window as it stands when created: black, borderless, centred at its design size.
extern const forms::FormSpec kScreenSaverLayout;

}  // namespace kivo::saver_window
