#include "tests/common/win32/process_faults.h"

#include <tlhelp32.h>

#include <memory>

namespace kivo::test {

namespace {

using Handle = std::unique_ptr<void, decltype(&CloseHandle)>;  // null or invalid: harmless

Handle Open(DWORD access, DWORD process) {
    return Handle(OpenProcess(access, FALSE, process), &CloseHandle);
}

// Calls `act` on every thread of the process; returns how many it succeeded on.
int EachThread(DWORD process, DWORD (*act)(HANDLE)) {
    int acted = 0;
    const Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0), &CloseHandle);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot.get(), &entry); more;
         more = Thread32Next(snapshot.get(), &entry)) {
        const Handle thread(entry.th32OwnerProcessID == process
                                ? OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID)
                                : nullptr,
                            &CloseHandle);
        acted += thread && act(thread.get()) != static_cast<DWORD>(-1);
    }
    return acted;
}

}  // namespace

std::set<DWORD> ChildrenOf(DWORD parent, std::wstring_view image) {
    std::set<DWORD> children;
    const Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0), &CloseHandle);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        if (entry.th32ParentProcessID == parent && image == entry.szExeFile) {
            children.insert(entry.th32ProcessID);
        }
    }
    return children;
}

bool Runs(DWORD process) {
    const Handle opened = Open(SYNCHRONIZE, process);
    return opened && WaitForSingleObject(opened.get(), 0) == WAIT_TIMEOUT;
}

void Crash(DWORD process) {
    TerminateProcess(Open(PROCESS_TERMINATE, process).get(), EXCEPTION_ACCESS_VIOLATION);
}

int Hang(DWORD process) {
    return EachThread(process, [](HANDLE thread) { return SuspendThread(thread); });
}

void Resume(DWORD process) {
    EachThread(process, [](HANDLE thread) { return ResumeThread(thread); });
}

}  // namespace kivo::test
