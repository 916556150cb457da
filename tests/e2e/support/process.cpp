#include "support/process.h"

#include <iostream>
#include <vector>

#include "support/errors.h"
#include "support/text.h"
#include "support/wait.h"

namespace kivo::e2e {

ScopedProcess::ScopedProcess(const std::wstring& program, const std::wstring& arguments,
                             const std::wstring& workingFolder) {
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty()) {
        commandLine += L" " + arguments;
    }
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &info)) {
        ThrowLastError("CreateProcessW " + Narrow(commandLine));
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
}

ScopedProcess::~ScopedProcess() {
    if (process_ == nullptr) {
        return;
    }
    try {
        Terminate();
    } catch (const std::exception& e) {
        std::cerr << "kivo e2e: could not end process " << id_ << ": " << e.what() << "\n";
    }
    CloseHandle(process_);
}

ScopedProcess::ScopedProcess(ScopedProcess&& other) noexcept
    : process_(other.process_), id_(other.id_) {
    other.process_ = nullptr;
    other.id_ = 0;
}

bool ScopedProcess::running() const {
    return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> ScopedProcess::exitCode() const {
    if (running()) {
        return std::nullopt;
    }
    DWORD code = 0;
    if (!GetExitCodeProcess(process_, &code)) {
        ThrowLastError("GetExitCodeProcess");
    }
    return code;
}

bool ScopedProcess::WaitForExit(std::chrono::milliseconds timeout) const {
    return WaitUntil([this] { return !running(); }, timeout);
}

void ScopedProcess::Terminate() {
    if (!running()) {
        return;
    }
    if (!TerminateProcess(process_, 1) && running()) {
        ThrowLastError("TerminateProcess");
    }
    if (WaitForSingleObject(process_, 10000) != WAIT_OBJECT_0) {
        ThrowLastError("WaitForSingleObject after TerminateProcess");
    }
}

}  // namespace kivo::e2e
