// The codec's own decode of each picture of a folder, and nothing else: the imaging component
// decodes the whole first frame, in the pixel format it decodes to, into memory.
//   bench_bare_decode.exe <folder> [--rounds N]
// Prints "decode <kind> <file> <ms>" per picture and decode, then per kind
// "summary <kind> <count> <median ms> <p95 ms> <total ms>" and "memory peak_ws <bytes>".
#include <windows.h>

#include <objbase.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench/slides/bare_decode.h"
#include "bench/slides/bench_stats.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_bare_decode.exe <folder> [--rounds N]\n");
        return 2;
    }
    const std::wstring folder = argv[1];
    int rounds = 1;
    for (int i = 2; i + 1 < argc; ++i) {
        if (std::wstring(argv[i]) == L"--rounds") {
            rounds = std::max(1, _wtoi(argv[++i]));
        }
    }
    const std::vector<std::wstring> files = kivo::bench::PictureFiles(folder);
    if (files.empty()) {
        std::fprintf(stderr, "bench_bare_decode: no pictures in the folder\n");
        return 1;
    }
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    IWICImagingFactory* factory = kivo::bench::ImagingFactory();
    if (factory == nullptr) {
        std::fprintf(stderr, "bench_bare_decode: no imaging component\n");
        return 1;
    }
    kivo::bench::BareDecode(factory,
                            folder + L"\\" + files.front());  // the codec's first use, not counted

    std::map<std::string, std::vector<double>> times;
    for (int round = 0; round < rounds; ++round) {
        for (const std::wstring& name : files) {
            const double started = kivo::bench::NowMs();
            if (!kivo::bench::BareDecode(factory, folder + L"\\" + name)) {
                std::fprintf(stderr, "bench_bare_decode: %s did not decode\n",
                             kivo::bench::Narrow(name).c_str());
                return 1;
            }
            const double took = kivo::bench::NowMs() - started;
            const std::string kind = kivo::bench::KindOf(name);
            times[kind].push_back(took);
            times["all"].push_back(took);
            std::printf("decode %s %s %.1f\n", kind.c_str(), kivo::bench::Narrow(name).c_str(),
                        took);
        }
    }
    for (const auto& [kind, values] : times) {
        double total = 0;
        for (double value : values) {
            total += value;
        }
        std::printf("summary %s %zu %.1f %.1f %.1f\n", kind.c_str(), values.size(),
                    kivo::bench::Median(values), kivo::bench::Percentile(values, 0.95), total);
    }
    std::printf("memory peak_ws %llu\n", static_cast<unsigned long long>(
                                             kivo::bench::WorkingSetOf(GetCurrentProcess()).peak));
    kivo::bench::Release(factory);
    CoUninitialize();
    return 0;
}
