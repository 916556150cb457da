// The time a key takes to end the real saver while its helper decodes a large picture:
//   bench_dismiss.exe <Kivo.scr> <folder> [--runs N] [--at-start]
// Each run stores the folder (which holds the one large picture) and the shortest interval in
// the saver's settings, starts Kivo.scr /s, waits for its window and its decoder helper, waits
// a moment (0.5 to 1.5 s, varied from run to run) after the helper has appeared, so that it is
// inside a decode (at the shortest interval it decodes the picture again and again); with
// --at-start as soon as the helper process exists, while it is still being started. Presses a key
// (SendInput to the foreground saver) and times until the saver process has ended, then until its
// helper has. Every helper the saver started must end with it: one still running 10 s later is
// counted (outlived_saver) and ended here. Prints per run
//   run <n> key_to_saver_gone_ms <> key_to_helper_gone_ms <> delay_ms <>
//       helpers <> outlived_saver <>
// and "median key_to_saver_gone_ms <> key_to_helper_gone_ms <>". Exits 1 when a run failed.
#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/slides/bench_stats.h"
#include "startup/module/settings_names.h"

namespace {

using kivo::bench::Median;
using kivo::bench::NowMs;

std::wstring Wide(const std::string& text) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide.data(), size);
    wide.resize(static_cast<std::size_t>(size > 0 ? size - 1 : 0));
    return wide;
}

bool Store(const char* key, const std::wstring& value) {
    namespace names = kivo::settings;
    const std::wstring path =
        L"Software\\" + Wide(names::kApplication) + L"\\" + Wide(names::kSection);
    HKEY handle = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &handle, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const LONG set = RegSetValueExW(handle, Wide(key).c_str(), 0, REG_SZ,
                                    reinterpret_cast<const BYTE*>(value.c_str()),
                                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
    return set == ERROR_SUCCESS;
}

// The processes started by `parent` (its decoder helpers), also after it has ended.
std::vector<DWORD> ChildrenOf(DWORD parent) {
    std::vector<DWORD> children;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ParentProcessID == parent) {
            children.push_back(entry.th32ProcessID);
        }
    }
    CloseHandle(snapshot);
    return children;
}

DWORD ChildOf(DWORD parent) {
    const std::vector<DWORD> children = ChildrenOf(parent);
    return children.empty() ? 0 : children.front();
}

struct Found {
    DWORD process;
    HWND window;
};

BOOL CALLBACK VisibleWindowOf(HWND window, LPARAM param) {
    auto* found = reinterpret_cast<Found*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == found->process && IsWindowVisible(window)) {
        found->window = window;
        return FALSE;
    }
    return TRUE;
}

template <typename Condition>
bool WaitFor(Condition condition, double timeout_ms) {
    const double end = NowMs() + timeout_ms;
    while (!condition()) {
        if (NowMs() > end) {
            return false;
        }
        Sleep(1);
    }
    return true;
}

void SendKey(WORD key, DWORD flags) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = flags;
    SendInput(1, &input, sizeof(input));
}

struct Run {
    double saver_gone = -1;
    double helper_gone = -1;
    double delay = 0;
    int helpers = 0;   // helpers the saver started, as seen after it ended
    int leftover = 0;  // of those, still running 10 s after the saver ended (ended here)
};

Run Once(const std::wstring& program, double delay_ms) {
    Run result;
    std::wstring command = L"\"" + program + L"\" /s";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION saver = {};
    SetCursorPos(1919, 1079);
    if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &saver)) {
        std::fprintf(stderr, "bench_dismiss: cannot start the saver (error %lu)\n", GetLastError());
        return result;
    }
    CloseHandle(saver.hThread);
    Found found = {saver.dwProcessId, nullptr};
    DWORD helper_id = 0;
    HANDLE helper = nullptr;
    const bool ready =
        WaitFor(
            [&] {
                EnumWindows(VisibleWindowOf, reinterpret_cast<LPARAM>(&found));
                return found.window != nullptr;
            },
            20000) &&
        WaitFor([&] { return (helper_id = ChildOf(saver.dwProcessId)) != 0; }, 20000) &&
        (helper = OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, helper_id)) !=
            nullptr &&
        (Sleep(static_cast<DWORD>(delay_ms)), true);
    if (ready) {
        SetForegroundWindow(found.window);
        WaitFor([&] { return GetForegroundWindow() == found.window; }, 3000);
        result.delay = delay_ms;
        const double pressed = NowMs();
        SendKey(VK_SPACE, 0);
        SendKey(VK_SPACE, KEYEVENTF_KEYUP);
        if (WaitForSingleObject(saver.hProcess, 10000) == WAIT_OBJECT_0) {
            result.saver_gone = NowMs() - pressed;
        }
        if (WaitForSingleObject(helper, 10000) == WAIT_OBJECT_0) {
            result.helper_gone = NowMs() - pressed;
        }
        for (DWORD id : ChildrenOf(saver.dwProcessId)) {
            ++result.helpers;
            HANDLE child = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
            if (child != nullptr && WaitForSingleObject(child, 10000) != WAIT_OBJECT_0) {
                ++result.leftover;
                TerminateProcess(child, 1);
            }
            if (child != nullptr) {
                CloseHandle(child);
            }
        }
    } else {
        std::fprintf(stderr, "bench_dismiss: no window, no helper or no decode in time\n");
    }
    TerminateProcess(saver.hProcess, 1);
    WaitForSingleObject(saver.hProcess, 5000);
    CloseHandle(saver.hProcess);
    if (helper != nullptr) {
        CloseHandle(helper);
    }
    // A saver that did not end by itself leaves the system's flag set.
    SystemParametersInfoW(SPI_SETSCREENSAVERRUNNING, FALSE, nullptr, 0);
    return result;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_dismiss.exe <Kivo.scr> <folder> [--runs N]\n");
        return 2;
    }
    int runs = 5;
    bool at_start = false;
    for (int i = 3; i < argc; ++i) {
        if (std::wstring(argv[i]) == L"--runs" && i + 1 < argc) {
            runs = std::max(1, _wtoi(argv[i + 1]));
        } else if (std::wstring(argv[i]) == L"--at-start") {
            at_start = true;
        }
    }
    namespace names = kivo::settings;
    if (!Store(names::kFolderKey, argv[2]) || !Store(names::kIntervalKey, L"0.001")) {
        std::fprintf(stderr, "bench_dismiss: cannot store the settings\n");
        return 1;
    }
    std::vector<double> saver, helper;
    int status = 0;
    for (int run = 1; run <= runs; ++run) {
        const Run r = Once(argv[1], at_start ? 0 : 500 + (run * 337) % 1000);
        std::printf(
            "run %d key_to_saver_gone_ms %.1f key_to_helper_gone_ms %.1f "
            "delay_ms %.0f helpers %d outlived_saver %d\n",
            run, r.saver_gone, r.helper_gone, r.delay, r.helpers, r.leftover);
        std::fflush(stdout);
        if (r.saver_gone < 0 || r.helper_gone < 0 || r.leftover > 0) {
            status = 1;
            continue;
        }
        saver.push_back(r.saver_gone);
        helper.push_back(r.helper_gone);
    }
    std::printf("median key_to_saver_gone_ms %.1f key_to_helper_gone_ms %.1f (%zu runs)\n",
                Median(saver), Median(helper), saver.size());
    return status;
}
