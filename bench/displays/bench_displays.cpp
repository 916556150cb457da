// The full-screen slide show while the displays are on, then while the system reports them off:
// the processor time of the saver and of its decoder helper, and their memory, side by side in
// one run. The real runtime and slide show window run in this process over the Win32 backend,
// decoding in Kivo.scr's helper as the saver does, with the window's own timer; the displays'
// state reaches the window as the system sends it (WM_POWERBROADCAST, whose setting is a pointer
// and so cannot come from another process).
//   bench_displays.exe <folder> --helper <Kivo.scr> [--seconds N] [--interval S]
// Prints, for each state in turn:
//   state <on|off> seconds <s> ticks <n> slides <n> saver_cpu_ms <ms> helper_cpu_ms <ms>
//         cpu_percent <% of one core> saver_ws <bytes> helpers <n> helper_ws <bytes>
//         helper_peak_ws <bytes>
// (slides: the times the label's caption changed; memory as the state ends), then
//   ratio off_to_on_cpu_percent <%>
#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "bench/slides/bench_stats.h"
#include "bench/slides/in_process_saver.h"
#include "forms_runtime/application.h"
#include "forms_runtime/win32/window/message_loop.h"
#include "forms_runtime/win32/window/win32_backend.h"
#include "tests/common/win32/process_faults.h"

namespace {

namespace forms = kivo::forms;
using kivo::bench::NowMs;

// How often the helpers' processor time is read: a helper that ends takes its count with it,
// and reading costs this process a little, which counts as the saver's.
constexpr double kHelperSampleMs = 5000;

// The file name of the helper's program ("Kivo.scr"): this process's children of that name are
// its decoder helpers (under Wine it has a console host too).
std::wstring helper_image;

// This process's decoder helpers now, by process id.
std::set<DWORD> Helpers() {
    return kivo::test::ChildrenOf(GetCurrentProcessId(), helper_image);
}

// The helpers' processor time over one state: each helper's last reading less its reading as
// the state began (nothing for one started since).
class HelperTimes {
  public:
    HelperTimes() { start_ = Read(); }
    void Sample() {
        for (const auto& [id, ms] : Read()) {
            last_[id] = ms;
        }
    }
    double Total() const {
        double total = 0;
        for (const auto& [id, ms] : last_) {
            const auto at_start = start_.find(id);
            total += ms - (at_start != start_.end() ? at_start->second : 0);
        }
        return total;
    }

  private:
    static std::map<DWORD, double> Read() {
        std::map<DWORD, double> times;
        for (const DWORD id : Helpers()) {
            HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
            if (process == nullptr) {
                continue;
            }
            DWORD exit_code = 0;
            if (GetExitCodeProcess(process, &exit_code) && exit_code == STILL_ACTIVE) {
                times[id] = kivo::bench::ProcessCpuMs(process, id);
            }
            CloseHandle(process);
        }
        return times;
    }

    std::map<DWORD, double> start_;
    std::map<DWORD, double> last_;
};

struct Memory {
    int helpers = 0;
    std::uint64_t helper_now = 0;
    std::uint64_t helper_peak = 0;
};

Memory HelpersMemory() {
    Memory memory;
    for (const DWORD id : Helpers()) {
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id);
        DWORD exit_code = 0;
        if (process != nullptr && GetExitCodeProcess(process, &exit_code) &&
            exit_code == STILL_ACTIVE) {
            const kivo::bench::WorkingSet set = kivo::bench::WorkingSetOf(process);
            ++memory.helpers;
            memory.helper_now += set.now;
            memory.helper_peak += set.peak;
        }
        if (process != nullptr) {
            CloseHandle(process);
        }
    }
    return memory;
}

// Tells the window, as the system would, the console's displays' state (0 off, 1 on).
void ReportDisplays(HWND window, DWORD state) {
    alignas(POWERBROADCAST_SETTING) unsigned char bytes[sizeof(POWERBROADCAST_SETTING) + 4] = {};
    auto* setting = reinterpret_cast<POWERBROADCAST_SETTING*>(bytes);
    setting->PowerSetting = GUID_CONSOLE_DISPLAY_STATE;
    setting->DataLength = sizeof(DWORD);
    std::memcpy(setting->Data, &state, sizeof state);
    SendMessageW(window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE,
                 reinterpret_cast<LPARAM>(bytes));
}

double OwnCpuMs() {
    return kivo::bench::ProcessCpuMs(GetCurrentProcess(), GetCurrentProcessId());
}

// Runs the program's message loop for `seconds`, and prints what the state cost. Returns the
// processor time of the saver and its helpers together.
double MeasureState(const char* name, double seconds, const int& ticks,
                    const kivo::saver_window::frmScreenSaver& form) {
    const int ticks_before = ticks;
    int slides = 0;
    std::string caption = form.Label.Caption.get();
    HelperTimes helper_times;
    const double cpu_before = OwnCpuMs();
    const double started = NowMs();
    double sampled = started;
    for (;;) {
        const double now = NowMs();
        if (now - started >= seconds * 1000) {
            break;
        }
        if (now - sampled >= kHelperSampleMs) {
            helper_times.Sample();
            sampled = now;
        }
        const double wait = std::min(seconds * 1000 - (now - started), kHelperSampleMs);
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(wait) + 1, QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            forms::win32::DeliverMessage(message);
            if (form.Label.Caption.get() != caption) {
                caption = form.Label.Caption.get();
                ++slides;
            }
        }
    }
    helper_times.Sample();
    const double elapsed = (NowMs() - started) / 1000;
    const double saver_cpu = OwnCpuMs() - cpu_before;
    const double helper_cpu = helper_times.Total();
    const Memory memory = HelpersMemory();
    std::printf(
        "state %s seconds %.1f ticks %d slides %d saver_cpu_ms %.1f helper_cpu_ms %.1f "
        "cpu_percent %.3f saver_ws %llu helpers %d helper_ws %llu helper_peak_ws %llu\n",
        name, elapsed, ticks - ticks_before, slides, saver_cpu, helper_cpu,
        (saver_cpu + helper_cpu) / (elapsed * 10),
        static_cast<unsigned long long>(kivo::bench::WorkingSetOf(GetCurrentProcess()).now),
        memory.helpers, static_cast<unsigned long long>(memory.helper_now),
        static_cast<unsigned long long>(memory.helper_peak));
    std::fflush(stdout);
    return saver_cpu + helper_cpu;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: bench_displays.exe <folder> --helper <Kivo.scr> [--seconds N] "
                     "[--interval S]\n");
        return 2;
    }
    const std::wstring folder = argv[1];
    std::wstring helper;
    double seconds = 60;
    std::string interval = "0.5";
    for (int i = 2; i + 1 < argc; ++i) {
        const std::wstring option = argv[i];
        if (option == L"--helper") {
            helper = argv[++i];
        } else if (option == L"--seconds") {
            seconds = std::max(1.0, _wtof(argv[++i]));
        } else if (option == L"--interval") {
            interval = kivo::bench::Narrow(argv[++i]);
        }
    }
    if (helper.empty() || kivo::bench::PictureFiles(folder).size() < 2) {
        std::fprintf(stderr, "bench_displays: needs --helper and a folder of two pictures\n");
        return 1;
    }
    helper_image = helper.substr(helper.find_last_of(L"\\/") + 1);
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);

    forms::win32::Win32Backend backend(forms::win32::Decoding::InHelper, helper);
    kivo::bench::InProcessSaver saver(backend, folder, interval, "Kivo bench displays");
    kivo::saver_window::frmScreenSaver& form = *saver.form;
    int ticks = 0;
    form.Timer.on_timer = [&ticks, tick = form.Timer.on_timer] {
        ++ticks;
        tick();
    };
    const HWND window = reinterpret_cast<HWND>(form.hWnd());

    ReportDisplays(window, 1);
    const double on = MeasureState("on", seconds, ticks, form);
    ReportDisplays(window, 0);
    const double off = MeasureState("off", seconds, ticks, form);
    std::printf("ratio off_to_on_cpu_percent %.3f\n", on > 0 ? 100 * off / on : 0.0);
    std::fflush(stdout);
    // Ends at once, as the program does: no window or helper is left behind.
    TerminateProcess(GetCurrentProcess(), 0);
    return 0;
}
