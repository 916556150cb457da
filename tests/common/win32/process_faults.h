// Faults injected into another process from outside, as a crash or a hang would strike it, and
// what a test needs to find and watch that process: a program's children, its working set (which
// grows as a decoder fills a large picture: Wine does not count another process's processor time
// as it goes), whether it still runs. Process ids that name no process are ignored.
#pragma once

#include <windows.h>

#include <cstddef>
#include <set>
#include <string_view>

namespace kivo::test {

// The running processes that `parent` started from the executable file named `image` (as
// "Kivo.scr"), whether or not `parent` still runs.
std::set<DWORD> ChildrenOf(DWORD parent, std::wstring_view image);
// The bytes of the process's working set; zero when it cannot be asked.
std::size_t WorkingSet(DWORD process);
bool Runs(DWORD process);

// Ends the process at once, as a crash would.
void Crash(DWORD process);
// Suspends every thread of the process: it neither works nor answers, as a hang would leave it.
// Returns how many threads it suspended.
int Hang(DWORD process);

}  // namespace kivo::test
