// Small helpers shared by the slide benchmark's programs (and bench/displays): order statistics,
// a clock, a process's working set and processor time, and the picture files of a folder.
#pragma once

#include <windows.h>

#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace kivo::bench {

// The value below which `share` of the values lie (nearest rank); 0 for none.
inline double Percentile(std::vector<double> values, double share) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const auto rank =
        static_cast<std::size_t>(std::ceil(share * static_cast<double>(values.size())));
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

inline double Median(const std::vector<double>& values) {
    if (values.empty()) {
        return 0;
    }
    std::vector<double> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    const std::size_t middle = sorted.size() / 2;
    return sorted.size() % 2 == 1 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

// Milliseconds since an arbitrary start, from the performance counter.
inline double NowMs() {
    static const double per_ms = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / per_ms;
}

struct WorkingSet {
    std::uint64_t now = 0;
    std::uint64_t peak = 0;
};

inline WorkingSet WorkingSetOf(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(process, &counters, sizeof(counters))) {
        return {};
    }
    return {counters.WorkingSetSize, counters.PeakWorkingSetSize};
}

inline double FileTimeMs(const FILETIME& time) {
    return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) |
                               time.dwLowDateTime) /
           10000.0;
}

// The sum of the processor times of the threads the process has now, thread by thread.
inline double ThreadsCpuMs(DWORD id) {
    double total = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return -1;
    }
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != id) {
            continue;
        }
        HANDLE thread = OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ThreadID);
        FILETIME created, exited, kernel, user;
        if (thread != nullptr && GetThreadTimes(thread, &created, &exited, &kernel, &user)) {
            total += FileTimeMs(kernel) + FileTimeMs(user);
        }
        if (thread != nullptr) {
            CloseHandle(thread);
        }
    }
    CloseHandle(snapshot);
    return total;
}

inline bool UnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// A process's processor time, threads that have ended included where the system counts them.
// Wine answers GetProcessTimes for another process with the caller's own times (for the caller
// itself it is right): there, another process's is the sum of its threads' times now.
inline double ProcessCpuMs(HANDLE process, DWORD id) {
    static const bool wine = UnderWine();
    if (wine && id != GetCurrentProcessId()) {
        return ThreadsCpuMs(id);
    }
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) {
        return -1;
    }
    return FileTimeMs(kernel) + FileTimeMs(user);
}

inline std::string Narrow(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), narrow.data(),
                        size, nullptr, nullptr);
    return narrow;
}

// "jpeg" or "png" by the file's extension, else empty.
inline std::string KindOf(const std::wstring& name) {
    const std::size_t dot = name.find_last_of(L'.');
    std::wstring extension = dot == std::wstring::npos ? L"" : name.substr(dot + 1);
    for (wchar_t& c : extension) {
        c = static_cast<wchar_t>(towlower(c));
    }
    if (extension == L"jpg" || extension == L"jpeg") {
        return "jpeg";
    }
    if (extension == L"png") {
        return "png";
    }
    return {};
}

// The JPEG and PNG files of a folder, sorted by name.
inline std::vector<std::wstring> PictureFiles(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
            !KindOf(found.cFileName).empty()) {
            names.emplace_back(found.cFileName);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace kivo::bench
