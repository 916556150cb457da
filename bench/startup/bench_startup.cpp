// Measures how long a program takes from CreateProcessW to showing its window:
//   bench_startup.exe [--runs N] [--folder <path>] [--yardstick <program>] --title <window title>
//                     -- <program> [args...]
// Each run starts the program in its own folder, polls every millisecond for a visible
// window of that process with that title, then ends the process. Prints each run and the
// median in milliseconds ("median_ms <value>"); exits 1 if a window never appeared.
// --yardstick runs the minimal window's program (its window titled "Kivo bench minimal window")
// just before each run, so that both meet the machine alike however loaded it is; prints its
// median too ("yardstick_median_ms") and the program's median as a multiple of it ("ratio").
// --folder stores <path> as Kivo's picture folder for the runs, ending in a backslash as the
// settings dialog stores it, and puts back what was stored before.
#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr DWORD kTimeoutMs = 60000;  // a folder that takes long to list may hold the window

std::string Narrow(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), narrow.data(),
                        size, nullptr, nullptr);
    return narrow;
}

std::wstring Quoted(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) {
        return argument;
    }
    std::wstring quoted = L"\"";
    for (wchar_t c : argument) {
        if (c == L'"') {
            quoted += L'\\';
        }
        quoted += c;
    }
    return quoted + L"\"";
}

struct Options {
    int runs = 10;
    std::wstring title;
    std::wstring program;
    std::wstring commandLine;
    std::wstring folder;
    std::optional<std::wstring> pictureFolder;
    std::optional<std::wstring> yardstick;
};

std::wstring FolderOf(const std::wstring& program) {
    const size_t slash = program.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"." : program.substr(0, slash);
}

bool Parse(int count, wchar_t** arguments, Options& options) {
    int i = 1;
    for (; i < count; ++i) {
        const std::wstring argument = arguments[i];
        if (argument == L"--runs" && i + 1 < count) {
            options.runs = std::max(1, _wtoi(arguments[++i]));
        } else if (argument == L"--folder" && i + 1 < count) {
            options.pictureFolder = arguments[++i];
            if (!options.pictureFolder->ends_with(L'\\')) {
                *options.pictureFolder += L'\\';
            }
        } else if (argument == L"--yardstick" && i + 1 < count) {
            options.yardstick = arguments[++i];
        } else if (argument == L"--title" && i + 1 < count) {
            options.title = arguments[++i];
        } else if (argument == L"--") {
            ++i;
            break;
        } else {
            return false;
        }
    }
    if (i >= count || options.title.empty()) {
        return false;
    }
    options.program = arguments[i];
    options.commandLine = Quoted(options.program);
    for (++i; i < count; ++i) {
        options.commandLine += L" " + Quoted(arguments[i]);
    }
    options.folder = FolderOf(options.program);
    return true;
}

// Kivo's picture folder, stored for as long as the object lives; then what was stored before
// (or nothing) is put back.
class StoredPictureFolder {
  public:
    explicit StoredPictureFolder(const std::wstring& folder) {
        wchar_t old[1024];
        DWORD size = sizeof old;
        if (RegGetValueW(HKEY_CURRENT_USER, kKey, kValue, RRF_RT_REG_SZ, nullptr, old, &size) ==
            ERROR_SUCCESS) {
            old_ = old;
        }
        Store(folder);
    }
    ~StoredPictureFolder() {
        if (old_) {
            Store(*old_);
        } else {
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, kValue);
        }
    }
    StoredPictureFolder(const StoredPictureFolder&) = delete;
    StoredPictureFolder& operator=(const StoredPictureFolder&) = delete;

  private:
    static constexpr wchar_t kKey[] = L"Software\\スライドショー(スクリーンセーバー）\\設定";
    static constexpr wchar_t kValue[] = L"パス";

    static void Store(const std::wstring& folder) {
        const LSTATUS status =
            RegSetKeyValueW(HKEY_CURRENT_USER, kKey, kValue, REG_SZ, folder.c_str(),
                            static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
        if (status != ERROR_SUCCESS) {
            std::fprintf(stderr, "bench_startup: cannot store the picture folder (error %ld)\n",
                         static_cast<long>(status));
        }
    }

    std::optional<std::wstring> old_;
};

struct WindowSearch {
    DWORD processId;
    const std::wstring* title;
    bool found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window)) {
        return TRUE;
    }
    wchar_t title[256];
    const int length = GetWindowTextW(window, title, 256);
    if (std::wstring(title, static_cast<size_t>(length)) == *search->title) {
        search->found = true;
        return FALSE;
    }
    return TRUE;
}

bool WindowShown(DWORD processId, const std::wstring& title) {
    // FindWindowW first: cheap, and usually the window is the only one with that title.
    HWND window = FindWindowW(nullptr, title.c_str());
    if (window != nullptr && IsWindowVisible(window)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId) {
            return true;
        }
    }
    WindowSearch search{processId, &title, false};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// One run: milliseconds until the window was shown, or a negative value on failure.
double MeasureOnce(const Options& options) {
    std::vector<wchar_t> commandLine(options.commandLine.begin(), options.commandLine.end());
    commandLine.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};

    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(options.program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, options.folder.c_str(), &startup, &process)) {
        std::fprintf(stderr, "bench_startup: cannot start %s (error %lu)\n",
                     Narrow(options.program).c_str(), GetLastError());
        return -1.0;
    }
    CloseHandle(process.hThread);

    double elapsed = -1.0;
    for (;;) {
        QueryPerformanceCounter(&now);
        const double ms = 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
                          static_cast<double>(frequency.QuadPart);
        if (WindowShown(process.dwProcessId, options.title)) {
            elapsed = ms;
            break;
        }
        if (ms > kTimeoutMs || WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
            break;
        }
        Sleep(1);
    }

    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hProcess);
    // A screen saver that was ended this way leaves the system's flag set.
    SystemParametersInfoW(SPI_SETSCREENSAVERRUNNING, FALSE, nullptr, 0);
    return elapsed;
}

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    const size_t middle = times.size() / 2;
    return times.size() % 2 == 1 ? times[middle] : (times[middle - 1] + times[middle]) / 2.0;
}

}  // namespace

int main() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    Options options;
    if (arguments == nullptr || !Parse(count, arguments, options)) {
        std::fprintf(stderr,
                     "usage: bench_startup.exe [--runs N] [--folder <path>] [--yardstick "
                     "<program>] --title <window title> -- <program> [arguments...]\n");
        return 2;
    }
    LocalFree(arguments);

    std::printf("program %s\ntitle   %s\n", Narrow(options.commandLine).c_str(),
                Narrow(options.title).c_str());
    std::optional<StoredPictureFolder> stored;
    if (options.pictureFolder) {
        std::printf("folder  %s\n", Narrow(*options.pictureFolder).c_str());
        stored.emplace(*options.pictureFolder);
    }
    std::optional<Options> yardstick;
    if (options.yardstick) {
        yardstick.emplace();
        yardstick->title = L"Kivo bench minimal window";
        yardstick->program = *options.yardstick;
        yardstick->commandLine = Quoted(yardstick->program);
        yardstick->folder = FolderOf(yardstick->program);
    }
    std::vector<double> times;
    std::vector<double> yardstick_times;
    for (int run = 1; run <= options.runs; ++run) {
        if (yardstick) {
            const double ms = MeasureOnce(*yardstick);
            if (ms < 0) {
                std::printf("run %d: the yardstick showed no window within %lu ms\n", run,
                            kTimeoutMs);
                return 1;
            }
            std::printf("run %d: yardstick %.1f ms\n", run, ms);
            yardstick_times.push_back(ms);
        }
        const double ms = MeasureOnce(options);
        if (ms < 0) {
            std::printf("run %d: no window within %lu ms\n", run, kTimeoutMs);
            return 1;
        }
        std::printf("run %d: %.1f ms\n", run, ms);
        std::fflush(stdout);
        times.push_back(ms);
    }
    const double median = Median(times);
    std::printf("median_ms %.1f\n", median);
    if (yardstick) {
        const double yardstick_median = Median(yardstick_times);
        std::printf("yardstick_median_ms %.1f\nratio %.2f\n", yardstick_median,
                    median / yardstick_median);
    }
    return 0;
}
