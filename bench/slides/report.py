"""Prints the slide benchmark's table from the outputs of its three programs.

report.py bare.txt slides.txt idle.txt   (each may hold several runs, one after the other)

The times come from bench_slides' --bare runs, where each tick is followed by the bare decode of
the same file; the memory from its run without them and from the other two programs.
"""
import math
import sys

TICK_TARGET = 1.15  # a tick costs at most this many times the codec's bare decode
MEMORY_SLACK = 64 * 1024 * 1024  # peak working set: one full decoded picture plus this
IDLE_TARGET = 0.5  # percent of one core between ticks

MIB = 1024 * 1024
KINDS = [("jpeg", "JPEG 6000x4000"), ("png", "PNG 4000x3000"), ("all", "all")]


def lines(path, word):
    with open(path, encoding="utf-8") as text:
        return [line.split() for line in text if line.startswith(word + " ")]


def median(values):
    ordered = sorted(values)
    middle = len(ordered) // 2
    if len(ordered) % 2:
        return ordered[middle]
    return (ordered[middle - 1] + ordered[middle]) / 2


def p95(values):
    ordered = sorted(values)
    return ordered[max(1, math.ceil(0.95 * len(ordered))) - 1]


def by_kind(rows, column):
    values = {"all": []}
    for row in rows:
        values.setdefault(row[1], []).append(float(row[column]))
        values["all"].append(float(row[column]))
    return values


def main(bare_path, slides_path, idle_path):
    # decode <kind> <file> <ms>; tick <kind> <file> <natural> <decoded> <load> <scale> <paint> <total>
    decodes = lines(slides_path, "decode")
    # The ticks of the runs that decoded bare beside them; the memory run's ticks are left out.
    ticks = lines(slides_path, "tick")[:len(decodes)]
    bare = by_kind(decodes, 3)
    columns = {name: by_kind(ticks, i) for i, name in
               enumerate(["load", "scale", "paint", "tick"], start=5)}

    failed = []
    print()
    print("Slide show under Wine at 1920 x 1080: %d ticks, %d bare decodes of the same files"
          % (len(ticks), len(decodes)))
    print()
    print("%-16s %-22s %9s %9s" % ("pictures", "per tick (ms)", "median", "p95"))
    for kind, title in KINDS:
        if kind not in bare or kind not in columns["tick"]:
            continue
        rows = [("load", columns["load"][kind]), ("scale", columns["scale"][kind]),
                ("paint", columns["paint"][kind]), ("tick: all three", columns["tick"][kind]),
                ("bare decode", bare[kind])]
        for i, (name, values) in enumerate(rows):
            print("%-16s %-22s %9.1f %9.1f"
                  % (title if i == 0 else "", name, median(values), p95(values)))
        # Every file is ticked and decoded equally often: the means compare like with like.
        # Over both kinds the medians do not (two heaps of values): only the means count there.
        ratio_mean = (sum(columns["tick"][kind]) / len(columns["tick"][kind])) / (
            sum(bare[kind]) / len(bare[kind]))
        if kind == "all":
            ok = ratio_mean <= TICK_TARGET
            print("%-16s %-22s %9s %9s   (means: %.2f; target <= %.2f) %s"
                  % ("", "tick / bare decode", "", "", ratio_mean, TICK_TARGET,
                     "ok" if ok else "OVER"))
        else:
            ratio_median = median(columns["tick"][kind]) / median(bare[kind])
            ok = ratio_median <= TICK_TARGET and ratio_mean <= TICK_TARGET
            print("%-16s %-22s %9.2f %9s   (means: %.2f; target <= %.2f) %s"
                  % ("", "tick / bare decode", ratio_median, "", ratio_mean, TICK_TARGET,
                     "ok" if ok else "OVER"))
        if not ok:
            failed.append("tick cost (%s)" % title)
        print()

    shown = sorted({"%s from %s" % (t[4], t[3]) for t in ticks})
    print("decoded at: " + ", ".join(shown))
    memory = lines(slides_path, "memory")
    baseline = max(int(m[2]) for m in memory)
    peak = max(int(m[4]) for m in memory)
    largest = max(int(m[6]) for m in memory)
    helper_peak = max(int(m[8]) if len(m) > 8 else 0 for m in memory)
    limit = largest + MEMORY_SLACK
    ok = peak <= limit
    print("peak working set: %.1f MiB (%.1f MiB before the first tick); target <= one full "
          "decoded picture %.1f MiB + 64 MiB = %.1f MiB %s"
          % (peak / MIB, baseline / MIB, largest / MIB, limit / MIB, "ok" if ok else "OVER"))
    if not ok:
        failed.append("peak working set")
    print("  decoder helper's peak working set: %.1f MiB; saver and helper together: %.1f MiB"
          % (helper_peak / MIB, (peak + helper_peak) / MIB))
    bare_peak = max(int(m[2]) for m in lines(bare_path, "memory"))
    idle_peak = max(int(m[2]) for m in lines(idle_path, "memory"))
    print("  (the bare decode program's own peak: %.1f MiB; the real saver's over its idle run: "
          "%.1f MiB)" % (bare_peak / MIB, idle_peak / MIB))

    idle = lines(idle_path, "summary")[-1]
    gaps = lines(idle_path, "between")
    overall, worst = float(idle[2]), float(idle[3])
    ok = worst < IDLE_TARGET
    print("processor between ticks, Kivo.scr /s every 10 s: %.3f %% of one core over %d gaps "
          "(worst gap %.3f %%); target < %.1f %% %s"
          % (overall, len(gaps), worst, IDLE_TARGET, "ok" if ok else "OVER"))
    if not ok:
        failed.append("processor between ticks")
    tick_cpu = [float(f[3]) for f in lines(idle_path, "tick")]
    if tick_cpu:
        print("  (processor time of each tick: %s ms)" % ", ".join("%.0f" % v for v in tick_cpu))
    print()
    print("targets: " + ("all met" if not failed else "missed: " + ", ".join(failed)))
    return 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:4]))
