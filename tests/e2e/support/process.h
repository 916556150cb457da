// A program the test starts; it is ended when the object goes out of scope, pass or fail.
#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>

namespace kivo::e2e {

class ScopedProcess {
  public:
    // Starts `program` with the command line `"program" arguments` in `workingFolder`.
    ScopedProcess(const std::wstring& program, const std::wstring& arguments,
                  const std::wstring& workingFolder);
    ~ScopedProcess();
    ScopedProcess(ScopedProcess&& other) noexcept;
    ScopedProcess& operator=(ScopedProcess&&) = delete;
    ScopedProcess(const ScopedProcess&) = delete;
    ScopedProcess& operator=(const ScopedProcess&) = delete;

    DWORD id() const { return id_; }
    HANDLE handle() const { return process_; }
    bool running() const;
    // The exit code once the process has ended.
    std::optional<DWORD> exitCode() const;
    // Waits (pumping this thread's messages) until the process ends; false on time-out.
    bool WaitForExit(std::chrono::milliseconds timeout) const;
    // Ends the process now if it still runs, and waits until it has.
    void Terminate();

  private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

}  // namespace kivo::e2e
