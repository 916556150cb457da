// The decoder helper measured from the saver's side, with the product's own DecoderClient:
//   bench_decoder.exe classify <Kivo.scr> <corpus folder>
//     Every file of the damaged-picture corpus (bench/corpus: batch folders of files named
//     <damage><n>-<seed size>.<format>) is checked by the header reader and then loaded in the
//     helper at the size a 1920 x 1080 screen shows it. Per file, which defence stopped it:
//       header   the header check refused it before any codec saw it
//       crash    the helper ended while decoding it (the client starts a new one)
//       timeout  the helper ran past the time limit and was ended (likewise)
//       codec    the codec refused it with an error, the helper lived on
//       shown    it decoded: the damage left a picture
//     Prints "file <class> <format> <defence> <ms> <name>" per file, the helpers started, and
//     "defence <class> header <n> crash <n> timeout <n> codec <n> shown <n>" per class.
//   bench_decoder.exe time <Kivo.scr> <small picture> [<picture>...] [--runs N]
//     The helper's cost at start: the first load of a small picture by a new client (the helper
//     started and the picture decoded) less a second load of it; then each picture loaded at
//     screen scale in the helper and in this process, side by side. Medians of N runs:
//       start first_ms <> second_ms <> start_ms <>
//       picture <name> helper_ms <> in_process_ms <> ratio <>
//       picture <name> helper FAILED <ms>        (given up, or not a picture)
#include <windows.h>

#include <objbase.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "bench/slides/bench_stats.h"
#include "forms_runtime/basics/errors.h"
#include "forms_runtime/pixels/picture_header.h"
#include "forms_runtime/win32/picture/decoder_client.h"
#include "forms_runtime/win32/picture/picture_files.h"
#include "forms_runtime/win32/picture/wic_loader.h"

namespace {

namespace forms = kivo::forms;
namespace fs = std::filesystem;
using kivo::bench::Median;
using kivo::bench::Narrow;
using kivo::bench::NowMs;

const forms::PixelScale kScale{15.0f, 15.0f};

// Fitted inside a 1920 x 1080 screen, never enlarged: what the saver asks for.
forms::DecodeHint ScreenHint() {
    forms::DecodeHint hint;
    hint.shown_scale = [](int width, int height) {
        return std::min({1.0, 1920.0 / width, 1080.0 / height});
    };
    return hint;
}

// "head" of "head12-96x64.png", "record" of "record0-...", "random" of "random.jpg".
std::string DamageClass(const std::string& name) {
    std::size_t end = 0;
    while (end < name.size() && std::isalpha(static_cast<unsigned char>(name[end]))) {
        ++end;
    }
    const std::string word = name.substr(0, end);
    if (word == "cut")
        return "truncation";
    if (word == "head")
        return "header-flips";
    if (word == "body")
        return "body-flips";
    if (word == "huge")
        return "size-claim";
    if (word == "record") {
        return name.rfind("record0-", 0) == 0 ? "record-size-0" : "record-oversized";
    }
    if (word == "loop")
        return "tiff-loop";
    return word;
}

std::string Format(const std::string& name) {
    const std::size_t dash = name.find('-');
    const std::size_t dot = name.find('.', dash == std::string::npos ? 0 : dash);
    return dot == std::string::npos ? "" : name.substr(dot + 1);
}

int Classify(const std::wstring& program, const fs::path& corpus) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(corpus)) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    forms::win32::DecoderClient client(program, forms::win32::kShippedTimeLimitMs);
    std::printf("limit_ms %lu files %zu\n", client.time_limit_ms(), files.size());
    const char* kDefences[] = {"header", "crash", "timeout", "codec", "shown"};
    std::map<std::string, std::map<std::string, int>> table;
    int helpers = 0;
    DWORD helper = 0;
    for (const fs::path& file : files) {
        const std::string name = Narrow(file.filename().wstring());
        std::ifstream in(file, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), {});
        forms::MemoryBytes source(bytes);
        const forms::PictureHeader header = forms::ReadPictureHeader(source);
        const bool refused =
            bytes.empty() || (header.format != forms::PictureFormat::Unknown && !header.sound);
        std::string defence = "shown";
        const double started = NowMs();
        try {
            client.Load(Narrow(file.wstring()), ScreenHint(), kScale);
        } catch (const forms::RuntimeError&) {
            if (client.helper_process_id() == 0) {
                defence = NowMs() - started >= client.time_limit_ms() - 50 ? "timeout" : "crash";
            } else {
                defence = refused ? "header" : "codec";
            }
        }
        const double took = NowMs() - started;
        if (client.helper_process_id() != 0 && client.helper_process_id() != helper) {
            ++helpers;
        }
        helper = client.helper_process_id();
        if (refused && defence == "shown") {
            defence = "header-but-shown";  // would be a fault of the helper's own check
        }
        table[DamageClass(name)][defence]++;
        std::printf("file %s %s %s %.0f %s\n", DamageClass(name).c_str(), Format(name).c_str(),
                    defence.c_str(), took, name.c_str());
        std::fflush(stdout);
    }
    std::printf("helpers_started %d\n", helpers);
    for (const auto& [damage, counts] : table) {
        std::printf("defence %-16s", damage.c_str());
        for (const char* defence : kDefences) {
            const auto found = counts.find(defence);
            std::printf(" %s %d", defence, found == counts.end() ? 0 : found->second);
        }
        const auto odd = counts.find("header-but-shown");
        if (odd != counts.end()) {
            std::printf(" header-but-shown %d", odd->second);
        }
        std::printf("\n");
    }
    return 0;
}

// Milliseconds for one load in the helper, negative when it failed.
double HelperLoad(forms::win32::DecoderClient& client, const std::wstring& path) {
    const double started = NowMs();
    try {
        client.Load(Narrow(path), ScreenHint(), kScale);
    } catch (const forms::RuntimeError&) {
        return -(NowMs() - started);
    }
    return NowMs() - started;
}

int Time(const std::wstring& program, const std::wstring& small,
         const std::vector<std::wstring>& pictures, int runs) {
    std::vector<double> first, second, start;
    for (int run = 0; run < runs; ++run) {
        forms::win32::DecoderClient client(program, forms::win32::kShippedTimeLimitMs);
        const double a = HelperLoad(client, small);
        const double b = HelperLoad(client, small);
        if (a < 0 || b < 0) {
            std::fprintf(stderr, "bench_decoder: %s did not load\n", Narrow(small).c_str());
            return 1;
        }
        first.push_back(a);
        second.push_back(b);
        start.push_back(a - b);
    }
    std::printf("start first_ms %.1f second_ms %.1f start_ms %.1f (median of %d)\n", Median(first),
                Median(second), Median(start), runs);
    std::fflush(stdout);

    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    forms::win32::WicLoader wic;
    forms::win32::DecoderClient client(program, forms::win32::kShippedTimeLimitMs);
    HelperLoad(client, small);  // the helper started beforehand, as after the first tick
    for (const std::wstring& picture : pictures) {
        std::vector<double> helper, own;
        bool failed = false;
        for (int run = 0; run < runs && !failed; ++run) {
            const double took = HelperLoad(client, picture);
            if (took < 0) {
                std::printf("picture %s helper FAILED %.0f\n", Narrow(picture).c_str(), -took);
                failed = true;
                break;
            }
            helper.push_back(took);
            const double started = NowMs();
            try {
                forms::win32::LoadPictureFile(wic, Narrow(picture), ScreenHint(), kScale);
            } catch (const forms::RuntimeError&) {
                std::printf("picture %s in_process FAILED\n", Narrow(picture).c_str());
                failed = true;
                break;
            }
            own.push_back(NowMs() - started);
        }
        if (!failed) {
            std::printf("picture %s helper_ms %.1f in_process_ms %.1f ratio %.3f (median of %d)\n",
                        Narrow(fs::path(picture).filename().wstring()).c_str(), Median(helper),
                        Median(own), Median(helper) / Median(own), runs);
        }
        std::fflush(stdout);
    }
    if (com) {
        CoUninitialize();
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"classify" && argc == 4) {
        return Classify(argv[2], argv[3]);
    }
    if (mode == L"time" && argc >= 4) {
        int runs = 3;
        std::vector<std::wstring> pictures;
        for (int i = 4; i < argc; ++i) {
            if (std::wstring(argv[i]) == L"--runs" && i + 1 < argc) {
                runs = std::max(1, _wtoi(argv[++i]));
            } else {
                pictures.push_back(argv[i]);
            }
        }
        return Time(argv[2], argv[3], pictures, runs);
    }
    std::fprintf(stderr,
                 "usage: bench_decoder.exe classify <Kivo.scr> <corpus folder>\n"
                 "       bench_decoder.exe time <Kivo.scr> <small picture> [<picture>...] "
                 "[--runs N]\n");
    return 2;
}
