// The command line, which anyone may write: the arguments' text is what follows the program's
// name, the mode letter one character, and a host window handle read back from its own decimal
// text is the same handle.
#include <cstdint>
#include <string>

#include "forms_runtime/basics/command_line.h"
#include "forms_runtime/basics/errors.h"
#include "startup/mode_arguments.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kivo;
    const std::string arguments(reinterpret_cast<const char*>(data), size);
    const std::wstring command_line(arguments.begin(), arguments.end());
    FUZZ_CHECK(command_line.ends_with(forms::ArgumentText(command_line)));
    FUZZ_CHECK(startup::ModeLetter(arguments).size() <= 4);  // one UTF-8 character at most
    try {
        const startup::WindowHandle host = startup::HostHandle(arguments);
        FUZZ_CHECK(startup::HostHandle("/p " + std::to_string(host)) == host);
    } catch (const forms::RuntimeError& refused) {
        FUZZ_CHECK(refused.kind() == forms::ErrorKind::Overflow);
    }
    return 0;
}
