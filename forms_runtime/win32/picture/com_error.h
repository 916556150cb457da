#pragma once

#include <windows.h>

#include <string>

#include "forms_runtime/basics/errors.h"

namespace kivo::forms::win32 {

// Turns a failed COM call into the runtime's error about `subject`: a file that cannot be opened
// becomes a file-not-found error, anything else `kind`.
void ThrowIfFailed(HRESULT result, ErrorKind kind, const std::string& subject);

}  // namespace kivo::forms::win32
