#include "support/errors.h"

#include <windows.h>

#include <stdexcept>

namespace kivo::e2e {

void ThrowError(const std::string& what, unsigned long code) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message;
    message.append(what).append(" failed: ");
    if (length != 0 && text != nullptr) {
        // Narrowed by hand: text.h reports its own failures through this file.
        const int size = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0,
                                             nullptr, nullptr);
        std::string narrow(static_cast<size_t>(size), '\0');
        WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), narrow.data(), size,
                            nullptr, nullptr);
        while (!narrow.empty() && (narrow.back() == '\n' || narrow.back() == '\r')) {
            narrow.pop_back();
        }
        message.append(narrow).append(" ");
    }
    LocalFree(text);
    message.append("(").append(std::to_string(code)).append(")");
    throw std::runtime_error(message);
}

void ThrowLastError(const std::string& what) {
    ThrowError(what, GetLastError());
}

}  // namespace kivo::e2e
