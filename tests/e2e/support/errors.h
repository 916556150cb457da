// Failures of the helpers are thrown, so that GoogleTest reports them on the test that
// called the helper, with the Win32 error that caused them.
#pragma once

#include <string>

namespace kivo::e2e {

// Throws std::runtime_error "<what> failed: <GetLastError() text> (<code>)".
[[noreturn]] void ThrowLastError(const std::string& what);

// The same for an API that returns its error code instead of setting the last error.
[[noreturn]] void ThrowError(const std::string& what, unsigned long code);

}  // namespace kivo::e2e
