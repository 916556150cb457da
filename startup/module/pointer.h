#pragma once

#include "startup/module/system.h"

namespace kivo::startup {

// The pointer shows while the system's display count is 0 or more, and each call moves the count
// by one: these bring it to just below 0 (hidden) or to 0 (shown) from wherever it stands.
void HidePointer(System& system);
void ShowPointer(System& system);

}  // namespace kivo::startup
