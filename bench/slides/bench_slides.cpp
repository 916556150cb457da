// The slide show's own ticks, timed: the real forms runtime on Windows and the real slide show
// window, full screen, over a folder of pictures. Every file is shown once per round, in order;
// each tick goes through the window's timer message as the system would send it.
//   bench_slides.exe <folder> [--rounds N] [--bare] [--helper Kivo.scr]
// With --helper, pictures are decoded in Kivo.scr's decoder helper process, as the saver does;
// the working set printed is then the saver's and the helper's, each at its peak.
// With --bare, each tick is followed by the codec's bare decode of the same file, so that the
// two are timed side by side, whatever else the machine does meanwhile; the working set then
// holds the bare decodes too and is not printed.
// Per tick: the load (the backend's LoadPicture, decoding included), the scaling (the first
// paint of the new slide less a repaint of it: the scaled copy is made once per slide), the
// paint (a repaint) and the whole tick (the timer event and its first paint). Prints
//   tick <kind> <file> <natural w>x<h> <decoded w>x<h> <load> <scale> <paint> <total>
//   summary <kind> <count> <load med> <load p95> <scale med> <scale p95> <paint med>
//           <paint p95> <total med> <total p95> <total sum>      (milliseconds, one line)
//   decode <kind> <file> <ms>                        (with --bare)
//   memory baseline_ws <bytes> peak_ws <bytes> largest_full_picture <bytes> helper_peak_ws <bytes>
//                                                                                 (without)
#include <windows.h>

#include <tlhelp32.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/slides/bare_decode.h"
#include "bench/slides/bench_stats.h"
#include "bench/slides/in_process_saver.h"
#include "forms_runtime/application.h"
#include "forms_runtime/win32/picture/bitmap_picture.h"
#include "forms_runtime/win32/window/win32_backend.h"

namespace {

using kivo::bench::NowMs;
namespace forms = kivo::forms;

// The Windows backend, with each picture load timed.
class TimedBackend : public forms::win32::Win32Backend {
  public:
    // Decodes in `helper` when one is named, else on this process's decode thread.
    explicit TimedBackend(const std::wstring& helper)
        : Win32Backend(helper.empty() ? forms::win32::Decoding::InThisProcess
                                      : forms::win32::Decoding::InHelper,
                       helper) {}
    forms::Picture LoadPicture(const std::string& path, const forms::DecodeHint& hint) override {
        const double started = NowMs();
        forms::Picture picture = Win32Backend::LoadPicture(path, hint);
        last_load_ms = NowMs() - started;
        return picture;
    }
    double last_load_ms = 0;
};

// Draws that show the files in order from the second on, each once per round.
class InOrder : public forms::RandomSource {
  public:
    explicit InOrder(int count) : count_(count) {}
    void Seed(std::uint32_t) override {}
    float Next() override {
        next_ = (next_ + 1) % count_;
        return (static_cast<float>(next_) + 0.5f) / static_cast<float>(count_);
    }

  private:
    int count_;
    int next_ = 0;
};

// The peak working set of this process's children (its decoder helper), 0 without one.
std::uint64_t ChildrenPeakWorkingSet() {
    std::uint64_t peak = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ParentProcessID != GetCurrentProcessId()) {
            continue;
        }
        HANDLE child =
            OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, entry.th32ProcessID);
        if (child != nullptr) {
            peak += kivo::bench::WorkingSetOf(child).peak;
            CloseHandle(child);
        }
    }
    CloseHandle(snapshot);
    return peak;
}

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

struct Series {
    std::vector<double> load, scale, paint, total;
};

void PrintSummary(const std::string& kind, const Series& s) {
    using kivo::bench::Median;
    using kivo::bench::Percentile;
    double sum = 0;
    for (double value : s.total) {
        sum += value;
    }
    std::printf("summary %s %zu %.1f %.1f %.1f %.1f %.1f %.1f %.1f %.1f %.1f\n", kind.c_str(),
                s.total.size(), Median(s.load), Percentile(s.load, 0.95), Median(s.scale),
                Percentile(s.scale, 0.95), Median(s.paint), Percentile(s.paint, 0.95),
                Median(s.total), Percentile(s.total, 0.95), sum);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_slides.exe <folder> [--rounds N]\n");
        return 2;
    }
    const std::wstring folder = argv[1];
    int rounds = 1;
    bool bare = false;
    std::wstring helper;
    for (int i = 2; i < argc; ++i) {
        const std::wstring option = argv[i];
        if (option == L"--rounds" && i + 1 < argc) {
            rounds = std::max(1, _wtoi(argv[++i]));
        } else if (option == L"--bare") {
            bare = true;
        } else if (option == L"--helper" && i + 1 < argc) {
            helper = argv[++i];
        }
    }
    const std::vector<std::wstring> files = kivo::bench::PictureFiles(folder);
    if (files.size() < 2) {
        std::fprintf(stderr, "bench_slides: the folder needs two pictures or more\n");
        return 1;
    }
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);

    TimedBackend backend(helper);
    // The timer never fires by itself: the benchmark sends each tick.
    kivo::bench::InProcessSaver saver(backend, folder, "1000000", "Kivo bench slides");
    forms::Application& app = saver.app;
    kivo::saver_window::frmScreenSaver& form = *saver.form;
    const forms::ScreenMetrics screen = app.Screen();
    app.SetRandomSource(std::make_unique<InOrder>(form.File1.ListCount()));
    HWND window = reinterpret_cast<HWND>(form.hWnd());
    UINT_PTR timer_id = 0;
    for (std::size_t i = 0; i < form.controls().size(); ++i) {
        if (form.controls()[i].get() == &form.Timer) {
            timer_id = i + 1;
        }
    }
    PumpMessages();
    UpdateWindow(window);
    IWICImagingFactory* factory = bare ? kivo::bench::ImagingFactory() : nullptr;
    if (bare && factory == nullptr) {
        std::fprintf(stderr, "bench_slides: no imaging component\n");
        return 1;
    }
    const std::uint64_t baseline = kivo::bench::WorkingSetOf(GetCurrentProcess()).now;

    std::map<std::string, Series> series;
    std::uint64_t largest_full = 0;
    const int ticks = rounds * form.File1.ListCount();
    for (int tick = -1; tick < ticks; ++tick) {  // the first tick warms up, uncounted
        const double started = NowMs();
        SendMessageW(window, WM_TIMER, timer_id, 0);
        const double ticked = NowMs();
        UpdateWindow(window);
        const double first_paint = NowMs() - ticked;
        const double total = NowMs() - started;
        InvalidateRect(window, nullptr, FALSE);
        const double repaint_started = NowMs();
        UpdateWindow(window);
        GdiFlush();
        const double repaint = NowMs() - repaint_started;
        PumpMessages();
        if (tick < 0) {
            continue;
        }
        const std::string name = form.File1.List(form.CurrentIndex);
        const std::string kind = kivo::bench::KindOf(std::wstring(name.begin(), name.end()));
        const auto* bitmap =
            dynamic_cast<const forms::win32::BitmapPicture*>(form.Imager.Picture.get().get());
        const int natural_width =
            static_cast<int>(form.Imager.Picture.get()->width_twips() / screen.twips_per_pixel_x);
        const int natural_height =
            static_cast<int>(form.Imager.Picture.get()->height_twips() / screen.twips_per_pixel_y);
        largest_full = std::max<std::uint64_t>(
            largest_full, static_cast<std::uint64_t>(natural_width) * natural_height * 4);
        const double scale = std::max(0.0, first_paint - repaint);
        for (const std::string& key : {kind, std::string("all")}) {
            Series& s = series[key];
            s.load.push_back(backend.last_load_ms);
            s.scale.push_back(scale);
            s.paint.push_back(repaint);
            s.total.push_back(total);
        }
        std::printf("tick %s %s %dx%d %dx%d %.1f %.1f %.1f %.1f\n", kind.c_str(), name.c_str(),
                    natural_width, natural_height, bitmap ? bitmap->pixels().width() : 0,
                    bitmap ? bitmap->pixels().height() : 0, backend.last_load_ms, scale, repaint,
                    total);
        if (bare) {
            const std::wstring path = folder + L"\\" + std::wstring(name.begin(), name.end());
            const double decode_started = NowMs();
            if (!kivo::bench::BareDecode(factory, path)) {
                std::fprintf(stderr, "bench_slides: %s did not decode\n", name.c_str());
                return 1;
            }
            std::printf("decode %s %s %.1f\n", kind.c_str(), name.c_str(),
                        NowMs() - decode_started);
        }
        std::fflush(stdout);
    }
    kivo::bench::Release(factory);
    for (const auto& [kind, s] : series) {
        PrintSummary(kind, s);
    }
    if (bare) {
        return 0;
    }
    std::printf(
        "memory baseline_ws %llu peak_ws %llu largest_full_picture %llu helper_peak_ws %llu\n",
        static_cast<unsigned long long>(baseline),
        static_cast<unsigned long long>(kivo::bench::WorkingSetOf(GetCurrentProcess()).peak),
        static_cast<unsigned long long>(largest_full),
        static_cast<unsigned long long>(ChildrenPeakWorkingSet()));
    std::fflush(stdout);
    return 0;
}
