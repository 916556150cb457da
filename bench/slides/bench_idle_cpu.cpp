// The processor time the real saver uses between its ticks. Stores the folder and the interval
// as the saver's settings, starts `Kivo.scr /s`, reads its processor time every 50 ms over
// `ticks` intervals and one more, then ends it.
//   bench_idle_cpu.exe <Kivo.scr> <folder> [--interval S] [--ticks N]
// A tick is a burst of processor time; between two bursts the saver should sleep. Prints
//   tick <n> <at s> <cpu ms>                  each burst after the start-up's
//   between <n> <from s> <to s> <cpu ms> <percent of one core>
//   summary between_percent <all gaps together> <worst gap> gaps <count>
//   memory peak_ws <bytes>                    the saver's own
//   source process_times | thread_times       where the processor time was read
// With KIVO_BENCH_TRACE set, every sample goes to the standard error too.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/slides/bench_stats.h"

namespace {

constexpr wchar_t kSettingsKey[] = L"Software\\スライドショー(スクリーンセーバー）\\設定";
constexpr double kSampleMs = 50;
// A sample with more processor time than this (of its 50 ms) is part of a burst.
constexpr double kBusyMs = 5.0;
// Busy samples closer than this belong to one burst.
constexpr double kBurstGapMs = 500;

bool StoreSetting(const wchar_t* name, const std::wstring& value) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const LSTATUS status =
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

struct Sample {
    double at_ms;
    double cpu_ms;
};

struct Burst {
    std::size_t first;  // sample indexes, inclusive
    std::size_t last;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: bench_idle_cpu.exe <Kivo.scr> <folder> [--interval S] [--ticks N]\n");
        return 2;
    }
    const std::wstring saver = argv[1];
    const std::wstring folder = argv[2];
    int interval_s = 10;
    int ticks = 3;
    for (int i = 3; i + 1 < argc; ++i) {
        const std::wstring option = argv[i];
        if (option == L"--interval") {
            interval_s = std::max(1, _wtoi(argv[++i]));
        } else if (option == L"--ticks") {
            ticks = std::max(2, _wtoi(argv[++i]));
        }
    }
    if (!StoreSetting(L"パス", folder) ||
        !StoreSetting(L"切り替え時間", std::to_wstring(interval_s)) ||
        !StoreSetting(L"ファイル名", L"True")) {
        std::fprintf(stderr, "bench_idle_cpu: cannot store the settings\n");
        return 1;
    }

    std::wstring command = L"\"" + saver + L"\" /s";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(saver.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "bench_idle_cpu: cannot start the saver\n");
        return 1;
    }
    CloseHandle(process.hThread);

    std::vector<Sample> samples;
    const double started = kivo::bench::NowMs();
    const double length = (ticks + 1.0) * interval_s * 1000.0 + 1500.0;
    bool ended_early = false;
    while (kivo::bench::NowMs() - started < length) {
        const double cpu = kivo::bench::ProcessCpuMs(process.hProcess, process.dwProcessId);
        samples.push_back({kivo::bench::NowMs() - started, cpu});
        if (WaitForSingleObject(process.hProcess, static_cast<DWORD>(kSampleMs)) == WAIT_OBJECT_0) {
            ended_early = true;
            break;
        }
    }
    const kivo::bench::WorkingSet memory = kivo::bench::WorkingSetOf(process.hProcess);
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hProcess);
    if (ended_early) {
        std::fprintf(stderr, "bench_idle_cpu: the saver ended by itself\n");
        return 1;
    }
    if (samples.empty() || samples.back().cpu_ms < 0) {
        std::fprintf(stderr, "bench_idle_cpu: the saver's process times cannot be read\n");
        return 1;
    }

    if (std::getenv("KIVO_BENCH_TRACE") != nullptr) {
        for (const Sample& sample : samples) {
            std::fprintf(stderr, "sample %.1f %.1f\n", sample.at_ms, sample.cpu_ms);
        }
    }
    std::vector<Burst> bursts;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        if (samples[i].cpu_ms - samples[i - 1].cpu_ms <= kBusyMs) {
            continue;
        }
        if (!bursts.empty() &&
            samples[i].at_ms - samples[bursts.back().last].at_ms <= kBurstGapMs) {
            bursts.back().last = i;
        } else {
            bursts.push_back({i - 1, i});
        }
    }
    // The first burst is the start-up; the ticks follow, one interval apart.
    double between_cpu = 0;
    double between_ms = 0;
    double worst = 0;
    int gaps = 0;
    for (std::size_t b = 1; b < bursts.size(); ++b) {
        const Burst& burst = bursts[b];
        std::printf("tick %zu %.2f %.1f\n", b, samples[burst.first].at_ms / 1000.0,
                    samples[burst.last].cpu_ms - samples[burst.first].cpu_ms);
        if (b + 1 >= bursts.size()) {
            break;
        }
        const Sample& from = samples[burst.last];
        const Sample& to = samples[bursts[b + 1].first];
        const double cpu = to.cpu_ms - from.cpu_ms;
        const double percent = 100.0 * cpu / (to.at_ms - from.at_ms);
        std::printf("between %zu %.2f %.2f %.1f %.3f\n", b, from.at_ms / 1000.0, to.at_ms / 1000.0,
                    cpu, percent);
        between_cpu += cpu;
        between_ms += to.at_ms - from.at_ms;
        worst = std::max(worst, percent);
        ++gaps;
    }
    if (gaps == 0) {
        std::fprintf(stderr, "bench_idle_cpu: no quiet time between two ticks was seen\n");
        return 1;
    }
    std::printf("summary between_percent %.3f %.3f gaps %d\n", 100.0 * between_cpu / between_ms,
                worst, gaps);
    std::printf("memory peak_ws %llu\n", static_cast<unsigned long long>(memory.peak));
    std::printf("source %s\n", kivo::bench::UnderWine() ? "thread_times" : "process_times");
    return 0;
}
