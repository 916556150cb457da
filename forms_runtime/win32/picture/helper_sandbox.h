#pragma once

#include <windows.h>

#include <span>
#include <string>

namespace kivo::forms::win32 {

// One decoder helper process in its sandbox: born in a job of its own that ends it with the last
// handle to the job (this process's, also when this process is killed), lets it start no process
// of its own, ends it on a crash without a report box and caps its memory; and run with this
// process's token stripped of its privileges at low integrity, where the system grants one.
// Systems that refuse a limit or the token get the rest. Errors: a process that could not be
// started leaves started() false.
//
// Create and destroy it on one thread; End may be called from any thread meanwhile.
class HelperSandbox {
  public:
    // The most memory the helper may commit, in bytes, where the system enforces it: room for a
    // codec's whole frame of the largest picture allowed, and its own working memory.
    static constexpr SIZE_T kMemoryLimit = SIZE_T{3} << 30;

    // Starts `command_line` of `program` with only the inheritable handles `handed` handed down,
    // suspended until it is in its job.
    HelperSandbox(const std::wstring& program, std::wstring command_line, std::span<HANDLE> handed);
    // Closes the job, which ends the process if it still runs, without waiting for it.
    ~HelperSandbox();
    HelperSandbox(const HelperSandbox&) = delete;
    HelperSandbox& operator=(const HelperSandbox&) = delete;

    bool started() const { return process_ != nullptr; }
    // Set once the process has ended; owned by this object.
    HANDLE process() const { return process_; }
    DWORD process_id() const { return process_id_; }
    // Ends the process at once, without waiting for it to go.
    void End();

  private:
    HANDLE job_ = nullptr;
    HANDLE process_ = nullptr;
    DWORD process_id_ = 0;
};

}  // namespace kivo::forms::win32
