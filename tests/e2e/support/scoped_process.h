// A program that a test starts; it is ended when the object goes, pass or fail.
#pragma once

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>

#include "support/wait.h"

namespace kivo::e2e {

class ScopedProcess {
  public:
    // Starts `program` with the command line `"program" arguments`, in the program's folder.
    // Throws std::system_error when it cannot be started.
    ScopedProcess(const std::filesystem::path& program, const std::wstring& arguments) {
        std::wstring commandLine = L"\"" + program.wstring() + L"\" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                            nullptr, program.parent_path().c_str(), &startup, &info)) {
            throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                                    "CreateProcessW");
        }
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        id_ = info.dwProcessId;
    }
    ~ScopedProcess() {
        if (process_ != nullptr) {
            TerminateProcess(process_, 1);  // fails harmlessly when the process has ended
            WaitForSingleObject(process_, 10000);
            CloseHandle(process_);
        }
    }
    ScopedProcess(ScopedProcess&& other) noexcept
        : process_(std::exchange(other.process_, nullptr)), id_(other.id_) {}

    DWORD id() const { return id_; }
    bool running() const { return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }
    // STILL_ACTIVE while the process runs.
    DWORD exitCode() const {
        DWORD code = 0;
        GetExitCodeProcess(process_, &code);
        return code;
    }
    // Waits (pumping this thread's messages) until the process ends; false on time-out.
    bool WaitForExit(std::chrono::milliseconds timeout) const {
        return WaitUntil([this] { return !running(); }, timeout);
    }

  private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

}  // namespace kivo::e2e
