#include "tests/common/win32/process_faults.h"

#include <psapi.h>
#include <tlhelp32.h>

namespace kivo::test {

namespace {

// A handle that is closed when it goes.
struct Handle {
    HANDLE handle;
    ~Handle() {
        if (handle != nullptr && handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
    }
};

}  // namespace

std::set<DWORD> ChildrenOf(DWORD parent, std::wstring_view image) {
    std::set<DWORD> children;
    const Handle snapshot{CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0)};
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.handle, &entry); more;
         more = Process32NextW(snapshot.handle, &entry)) {
        if (entry.th32ParentProcessID == parent && image == entry.szExeFile &&
            Runs(entry.th32ProcessID)) {
            children.insert(entry.th32ProcessID);
        }
    }
    return children;
}

std::size_t WorkingSet(DWORD process) {
    const Handle opened{OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process)};
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (opened.handle == nullptr ||
        !GetProcessMemoryInfo(opened.handle, &counters, sizeof counters)) {
        return 0;
    }
    return counters.WorkingSetSize;
}

bool Runs(DWORD process) {
    const Handle opened{OpenProcess(SYNCHRONIZE, FALSE, process)};
    return opened.handle != nullptr && WaitForSingleObject(opened.handle, 0) == WAIT_TIMEOUT;
}

void Crash(DWORD process) {
    const Handle opened{OpenProcess(PROCESS_TERMINATE, FALSE, process)};
    if (opened.handle != nullptr) {
        TerminateProcess(opened.handle, EXCEPTION_ACCESS_VIOLATION);
    }
}

int Hang(DWORD process) {
    int suspended = 0;
    const Handle snapshot{CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0)};
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot.handle, &entry); more;
         more = Thread32Next(snapshot.handle, &entry)) {
        if (entry.th32OwnerProcessID != process) {
            continue;
        }
        const Handle thread{OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID)};
        if (thread.handle != nullptr && SuspendThread(thread.handle) != static_cast<DWORD>(-1)) {
            ++suspended;
        }
    }
    return suspended;
}

}  // namespace kivo::test
