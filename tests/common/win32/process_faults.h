// Faults injected into another process from outside, as a crash or a hang would strike it, and
// what a test needs to find and watch that process. Ids that name no process are ignored.
#pragma once

#include <windows.h>

#include <set>
#include <string_view>

namespace kivo::test {

// The processes that `parent` started from the executable file named `image` (as "Kivo.scr"),
// whether or not `parent` still runs.
std::set<DWORD> ChildrenOf(DWORD parent, std::wstring_view image);
bool Runs(DWORD process);

// Ends the process at once, as a crash would.
void Crash(DWORD process);
// Suspends every thread of the process, as a hang would leave it; returns how many.
int Hang(DWORD process);
// Resumes every thread of the process once: undoes Hang.
void Resume(DWORD process);

}  // namespace kivo::test
