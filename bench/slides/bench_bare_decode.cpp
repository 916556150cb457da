// The codec's own decode of each picture of a folder, and nothing else: the imaging component
// decodes the whole first frame, in the pixel format it decodes to, into memory.
//   bench_bare_decode.exe <folder> [--rounds N]
// Prints "decode <kind> <file> <ms>" per picture and decode, then per kind
// "summary <kind> <count> <median ms> <p95 ms> <total ms>" and "memory peak_ws <bytes>".
#include <windows.h>

#include <objbase.h>
#include <wincodec.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/slides/bench_stats.h"

namespace {

using kivo::bench::NowMs;

template <typename T>
void Release(T*& object) {
    if (object != nullptr) {
        object->Release();
        object = nullptr;
    }
}

UINT BitsPerPixel(IWICImagingFactory* factory, const WICPixelFormatGUID& format) {
    IWICComponentInfo* info = nullptr;
    IWICPixelFormatInfo* pixel_info = nullptr;
    UINT bits = 32;
    if (SUCCEEDED(factory->CreateComponentInfo(format, &info)) &&
        SUCCEEDED(
            info->QueryInterface(IID_IWICPixelFormatInfo, reinterpret_cast<void**>(&pixel_info)))) {
        pixel_info->GetBitsPerPixel(&bits);
    }
    Release(pixel_info);
    Release(info);
    return bits;
}

// Decodes one file; false when the codec refuses it.
bool Decode(IWICImagingFactory* factory, const std::wstring& path) {
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    bool decoded = false;
    UINT width = 0;
    UINT height = 0;
    WICPixelFormatGUID format = {};
    if (SUCCEEDED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                     WICDecodeMetadataCacheOnDemand, &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(&width, &height)) &&
        SUCCEEDED(frame->GetPixelFormat(&format))) {
        const UINT stride = (width * BitsPerPixel(factory, format) + 7) / 8;
        const std::size_t size = static_cast<std::size_t>(stride) * height;
        // Left as the system gives it: the decode writes every byte.
        const std::unique_ptr<BYTE[]> pixels(new BYTE[size]);
        decoded =
            SUCCEEDED(frame->CopyPixels(nullptr, stride, static_cast<UINT>(size), pixels.get()));
    }
    Release(frame);
    Release(decoder);
    return decoded;
}

}  // namespace

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
    IWICImagingFactory* factory = nullptr;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(&factory)))) {
        std::fprintf(stderr, "bench_bare_decode: no imaging component\n");
        return 1;
    }
    Decode(factory, folder + L"\\" + files.front());  // the codec's first use, not counted

    std::map<std::string, std::vector<double>> times;
    for (int round = 0; round < rounds; ++round) {
        for (const std::wstring& name : files) {
            const double started = NowMs();
            if (!Decode(factory, folder + L"\\" + name)) {
                std::fprintf(stderr, "bench_bare_decode: %s did not decode\n",
                             kivo::bench::Narrow(name).c_str());
                return 1;
            }
            const double took = NowMs() - started;
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
    Release(factory);
    CoUninitialize();
    return 0;
}
