// The slide show's own ticks, timed: the real forms runtime on Windows and the real slide show
// window, full screen, over a folder of pictures. Each window's next slide is loaded ahead of its
// tick (the product's later load); the benchmark lets every load arrive before it sends a tick.
//   bench_slides.exe <folder> [--rounds N] [--bare] [--helper Kivo.scr] [--windows 1|2]
//   bench_slides.exe <folder> --period N [--interval S] [--helper Kivo.scr]
// With --helper, pictures are decoded in Kivo.scr's decoder helper process, as the saver does;
// the working set printed is then the saver's and the helper's, each at its peak.
//
// Ticks (the default): every file is shown once per round, in order; each tick goes through the
// window's timer message as the system would send it, with the next slide of every window
// prepared before it. With --bare, the codec's bare decode of each file follows the load that
// prepared it, so that the two are timed side by side, whatever else the machine does meanwhile;
// the working set then holds the bare decodes too and is not printed. With --windows 2, a second
// window of the show, of the same size, covers the screen's right half and what lies beyond it.
// Per tick, in milliseconds: the load that prepared the leader's slide (request to arrival on the
// window's thread, decoding included; made before the tick), the scaling (the first paint of the
// new slide less a repaint of it: the scaled copy is made once per slide), the paint (a repaint)
// and the total: from the tick to the new slide on screen (the timer message and the first paint
// of every window). Prints
//   tick <kind> <file> <natural w>x<h> <decoded w>x<h> <load> <scale> <paint> <total>
//   summary <kind> <count> <load med> <load p95> <scale med> <scale p95> <paint med>
//           <paint p95> <total med> <total p95> <total sum>      (milliseconds, one line)
//   decode <kind> <file> <ms>                        (with --bare)
//   memory baseline_ws <bytes> peak_ws <bytes> largest_full_picture <bytes> helper_peak_ws <bytes>
//          windows <n>                               (without --bare; one line)
//
// Period (--period N): the window's own timer at S seconds (0.1 unless told) and the message loop
// running, over a folder whose decodes take longer than that: the time between successive slide
// changes (the label's caption changing), N of them after the first slide. Prints
//   change <kind> <file> <ms since the first change>
//   period <count> <median ms> <p95 ms> interval_ms <ms> load_median <ms>
#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/slides/bare_decode.h"
#include "bench/slides/bench_stats.h"
#include "bench/slides/in_process_saver.h"
#include "forms_runtime/application.h"
#include "forms_runtime/win32/picture/bitmap_picture.h"
#include "forms_runtime/win32/window/message_loop.h"
#include "forms_runtime/win32/window/win32_backend.h"

namespace {

using kivo::bench::NowMs;
using kivo::saver_window::frmScreenSaver;
namespace forms = kivo::forms;

// How long the benchmark waits for a slide to be prepared before it gives up.
constexpr double kPrepareTimeoutMs = 60000;

// The Windows backend, with each picture load timed from its request to its arrival.
class TimedBackend : public forms::win32::Win32Backend {
  public:
    // Decodes in `helper` when one is named, else on this process's decode thread.
    explicit TimedBackend(const std::wstring& helper)
        : Win32Backend(helper.empty() ? forms::win32::Decoding::InThisProcess
                                      : forms::win32::Decoding::InHelper,
                       helper) {}
    void LoadPictureLater(const std::string& path, const forms::DecodeHint& hint,
                          std::function<void(forms::Picture, std::exception_ptr)> arrive) override {
        ++requested;
        const double started = NowMs();
        const std::string name = path.substr(path.find_last_of('\\') + 1);
        Win32Backend::LoadPictureLater(path, hint,
                                       [this, name, started, arrive = std::move(arrive)](
                                           forms::Picture picture, std::exception_ptr error) {
                                           ++arrived;
                                           load_ms[name] = NowMs() - started;
                                           loads.push_back(load_ms[name]);
                                           prepared.push_back(name);
                                           arrive(std::move(picture), error);
                                       });
    }

    int requested = 0;
    int arrived = 0;
    std::map<std::string, double> load_ms;  // each file's last load
    std::vector<double> loads;              // every load, in order
    std::vector<std::string> prepared;      // the files loaded, in order
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

// The peak working set of this process's children named `image` (its decoder helpers), summed.
std::uint64_t ChildrenPeakWorkingSet(const std::wstring& image) {
    std::uint64_t peak = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ParentProcessID != GetCurrentProcessId() ||
            _wcsicmp(entry.szExeFile, image.c_str()) != 0) {
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
        forms::win32::DeliverMessage(message);
    }
}

// Delivers messages until every load asked for has arrived and nothing runs off the window's
// thread: every window's next slide is then prepared. False when that takes too long.
bool Settle(TimedBackend& backend) {
    const double until = NowMs() + kPrepareTimeoutMs;
    for (;;) {
        PumpMessages();
        if (!backend.Busy()) {
            PumpMessages();  // what the last piece brought
            if (!backend.Busy() && backend.arrived == backend.requested) {
                return true;
            }
        }
        if (NowMs() > until) {
            return false;
        }
        MsgWaitForMultipleObjectsEx(0, nullptr, 5, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

std::string Name(const frmScreenSaver& form) {
    return form.File1.List(form.CurrentIndex);
}

std::string KindOf(const std::string& name) {
    return kivo::bench::KindOf(std::wstring(name.begin(), name.end()));
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

// The window's timer's id: the timer's place among the form's controls, counted from 1.
UINT_PTR TimerId(frmScreenSaver& form) {
    for (std::size_t i = 0; i < form.controls().size(); ++i) {
        if (form.controls()[i].get() == &form.Timer) {
            return i + 1;
        }
    }
    return 0;
}

struct Options {
    std::wstring folder;
    int rounds = 1;
    bool bare = false;
    std::wstring helper;
    int windows = 1;
    int period = 0;
    std::string interval = "0.1";
};

int MeasureTicks(const Options& options, TimedBackend& backend,
                 kivo::bench::InProcessSaver& saver) {
    frmScreenSaver& form = *saver.form;
    const forms::ScreenMetrics screen = saver.app.Screen();
    std::vector<HWND> windows = {reinterpret_cast<HWND>(form.hWnd())};
    if (options.windows > 1) {
        // As the program places another monitor's window: loaded into the show, moved, shown.
        // The display has one screen: the second window covers its right half and reaches
        // beyond it, so that both windows are partly in sight and both paint.
        frmScreenSaver& second = saver.app.Load<frmScreenSaver>(saver.module, form.Slides());
        second.Move(screen.width / 2, 0, screen.width, screen.height);
        second.Show();
        form.Slides()->Prepare();
        windows.push_back(reinterpret_cast<HWND>(second.hWnd()));
    }
    const UINT_PTR timer_id = TimerId(form);
    if (!Settle(backend)) {
        std::fprintf(stderr, "bench_slides: the first slides were not prepared in time\n");
        return 1;
    }
    for (HWND window : windows) {
        UpdateWindow(window);
    }
    IWICImagingFactory* factory = options.bare ? kivo::bench::ImagingFactory() : nullptr;
    if (options.bare && factory == nullptr) {
        std::fprintf(stderr, "bench_slides: no imaging component\n");
        return 1;
    }
    const std::uint64_t baseline = kivo::bench::WorkingSetOf(GetCurrentProcess()).now;

    std::map<std::string, Series> series;
    std::uint64_t largest_full = 0;
    std::size_t decoded = 0;  // the loads whose bare decode has been timed
    const int ticks = options.rounds * form.File1.ListCount();
    for (int tick = -1; tick < ticks; ++tick) {  // the first tick warms up, uncounted
        if (options.bare) {
            // Each load's bare decode, right after it: the two meet the same machine.
            for (; decoded < backend.prepared.size(); ++decoded) {
                const std::string& name = backend.prepared[decoded];
                const std::wstring path =
                    options.folder + L"\\" + std::wstring(name.begin(), name.end());
                const double decode_started = NowMs();
                if (!kivo::bench::BareDecode(factory, path)) {
                    std::fprintf(stderr, "bench_slides: %s did not decode\n", name.c_str());
                    return 1;
                }
                if (tick >= 0) {
                    std::printf("decode %s %s %.1f\n", KindOf(name).c_str(), name.c_str(),
                                NowMs() - decode_started);
                }
            }
        }
        const std::string before = Name(form);
        const double started = NowMs();
        SendMessageW(windows.front(), WM_TIMER, timer_id, 0);
        const double ticked = NowMs();
        for (HWND window : windows) {
            UpdateWindow(window);
        }
        const double first_paint = NowMs() - ticked;
        const double total = NowMs() - started;

        for (HWND window : windows) {
            InvalidateRect(window, nullptr, FALSE);
            // A window wholly out of sight would paint nothing, at its tick either.
            if (!GetUpdateRect(window, nullptr, FALSE)) {
                std::fprintf(stderr, "bench_slides: a window of the show is out of sight\n");
                return 1;
            }
        }
        const double repaint_started = NowMs();
        for (HWND window : windows) {
            UpdateWindow(window);
        }
        GdiFlush();
        const double repaint = NowMs() - repaint_started;
        const std::string name = Name(form);
        if (name == before) {
            std::fprintf(stderr, "bench_slides: a tick did not change the slide (%s)\n",
                         name.c_str());
            return 1;
        }
        if (!Settle(backend)) {  // the next slides, prepared before the next tick
            std::fprintf(stderr, "bench_slides: a slide was not prepared in time\n");
            return 1;
        }
        if (tick < 0) {
            continue;
        }
        const std::string kind = KindOf(name);
        const auto* bitmap =
            dynamic_cast<const forms::win32::BitmapPicture*>(form.Imager.Picture.get().get());
        const int natural_width =
            static_cast<int>(form.Imager.Picture.get()->width_twips() / screen.twips_per_pixel_x);
        const int natural_height =
            static_cast<int>(form.Imager.Picture.get()->height_twips() / screen.twips_per_pixel_y);
        largest_full = std::max<std::uint64_t>(
            largest_full, static_cast<std::uint64_t>(natural_width) * natural_height * 4);
        const double scale = std::max(0.0, first_paint - repaint);
        const double load = backend.load_ms[name];
        for (const std::string& key : {kind, std::string("all")}) {
            Series& s = series[key];
            s.load.push_back(load);
            s.scale.push_back(scale);
            s.paint.push_back(repaint);
            s.total.push_back(total);
        }
        std::printf("tick %s %s %dx%d %dx%d %.1f %.1f %.1f %.1f\n", kind.c_str(), name.c_str(),
                    natural_width, natural_height, bitmap ? bitmap->pixels().width() : 0,
                    bitmap ? bitmap->pixels().height() : 0, load, scale, repaint, total);
        std::fflush(stdout);
    }
    kivo::bench::Release(factory);
    for (const auto& [kind, s] : series) {
        PrintSummary(kind, s);
    }
    if (options.bare) {
        return 0;
    }
    const std::wstring helper_image =
        options.helper.substr(options.helper.find_last_of(L"\\/") + 1);
    std::printf(
        "memory baseline_ws %llu peak_ws %llu largest_full_picture %llu helper_peak_ws %llu "
        "windows %zu\n",
        static_cast<unsigned long long>(baseline),
        static_cast<unsigned long long>(kivo::bench::WorkingSetOf(GetCurrentProcess()).peak),
        static_cast<unsigned long long>(largest_full),
        static_cast<unsigned long long>(
            options.helper.empty() ? 0 : ChildrenPeakWorkingSet(helper_image)),
        windows.size());
    std::fflush(stdout);
    return 0;
}

int MeasurePeriod(const Options& options, TimedBackend& backend,
                  kivo::bench::InProcessSaver& saver) {
    const frmScreenSaver& form = *saver.form;
    std::string caption = form.Label.Caption.get();
    std::vector<double> changes;
    const double until = NowMs() + kPrepareTimeoutMs * (options.period + 1);
    while (static_cast<int>(changes.size()) <= options.period) {
        if (NowMs() > until) {
            std::fprintf(stderr, "bench_slides: the slides stopped changing\n");
            return 1;
        }
        MsgWaitForMultipleObjectsEx(0, nullptr, 50, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            forms::win32::DeliverMessage(message);
            if (form.Label.Caption.get() == caption) {
                continue;
            }
            caption = form.Label.Caption.get();
            changes.push_back(NowMs());
            std::printf("change %s %s %.1f\n", KindOf(caption).c_str(), caption.c_str(),
                        changes.back() - changes.front());
        }
    }
    std::vector<double> periods;
    for (std::size_t i = 1; i < changes.size(); ++i) {
        periods.push_back(changes[i] - changes[i - 1]);
    }
    std::printf("period %zu %.1f %.1f interval_ms %d load_median %.1f\n", periods.size(),
                kivo::bench::Median(periods), kivo::bench::Percentile(periods, 0.95),
                static_cast<int>(form.Timer.Interval), kivo::bench::Median(backend.loads));
    std::fflush(stdout);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: bench_slides.exe <folder> [--rounds N] [--bare] [--helper Kivo.scr] "
                     "[--windows 1|2] | [--period N] [--interval S]\n");
        return 2;
    }
    Options options;
    options.folder = argv[1];
    for (int i = 2; i < argc; ++i) {
        const std::wstring option = argv[i];
        if (option == L"--rounds" && i + 1 < argc) {
            options.rounds = std::max(1, _wtoi(argv[++i]));
        } else if (option == L"--bare") {
            options.bare = true;
        } else if (option == L"--helper" && i + 1 < argc) {
            options.helper = argv[++i];
        } else if (option == L"--windows" && i + 1 < argc) {
            options.windows = std::clamp(_wtoi(argv[++i]), 1, 2);
        } else if (option == L"--period" && i + 1 < argc) {
            options.period = std::max(1, _wtoi(argv[++i]));
        } else if (option == L"--interval" && i + 1 < argc) {
            options.interval = kivo::bench::Narrow(argv[++i]);
        }
    }
    const std::vector<std::wstring> files = kivo::bench::PictureFiles(options.folder);
    if (files.size() < 2) {
        std::fprintf(stderr, "bench_slides: the folder needs two pictures or more\n");
        return 1;
    }
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);

    TimedBackend backend(options.helper);
    // Without --period the timer never fires by itself: the benchmark sends each tick.
    kivo::bench::InProcessSaver saver(backend, options.folder,
                                      options.period > 0 ? options.interval : "1000000",
                                      "Kivo bench slides");
    // Set before the folder's list arrives, which only a delivered message brings.
    saver.app.SetRandomSource(std::make_unique<InOrder>(static_cast<int>(files.size())));
    const int result = options.period > 0 ? MeasurePeriod(options, backend, saver)
                                          : MeasureTicks(options, backend, saver);
    if (result == 0 && saver.form->File1.ListCount() != static_cast<int>(files.size())) {
        std::fprintf(stderr, "bench_slides: the saver lists %d files, the benchmark %zu\n",
                     static_cast<int>(saver.form->File1.ListCount()), files.size());
        return 1;
    }
    // Ends at once, as the program does: no window or helper is left behind.
    std::fflush(stdout);
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(result));
    return result;
}
