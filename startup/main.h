#pragma once

#include "startup/module/saversample.h"

namespace kivo::startup {

// The start-up procedure: reads the command line and opens the window of the requested mode.
void Main(SaverSample& module);

}  // namespace kivo::startup
