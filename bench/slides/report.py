"""Prints the slide benchmark's table from the outputs of its programs, this build's beside a
baseline's when there is one.

report.py <results folder> [<baseline results folder>]

A results folder holds the programs' outputs (each may hold several runs, one after the other):
  bare.txt      bench_bare_decode: the codec alone, for its own working set
  slides.txt    bench_slides --bare: per tick, the load, scaling, paint and the time from the tick
                to the slide on screen ("total"), each beside the bare decode of the same file
  memory-1.txt  bench_slides with one window: its ticks and the peak working sets
  memory-2.txt  bench_slides --windows 2: the same with a second window of the show
  period.txt    bench_slides --period: the time between slides when the decode is longer than the
                interval
  idle.txt      bench_idle_cpu: the real saver's processor time between ticks
Any of them may be missing (a baseline whose benchmark had no such run): its rows say so. All
times in milliseconds, memory in MiB (1024 x 1024 bytes).
"""
import math
import os
import sys

TICK_TO_SCREEN_TARGET = 20.0  # ms, one frame: the p95 from the tick to the slide on screen
LOAD_TARGET = 1.15  # a slide's load costs at most this many times the codec's bare decode
MEMORY_SLACK = 64 * 1024 * 1024  # one window's peak: one full decoded picture plus this
IDLE_TARGET = 0.5  # percent of one core between ticks

MIB = 1024 * 1024
KINDS = [("jpeg", "JPEG 6000x4000"), ("png", "PNG 4000x3000"), ("all", "all")]
# tick <kind> <file> <natural> <decoded> <load> <scale> <paint> <total>
TICK_COLUMNS = {"tick to slide on screen": 8, "load (decode included)": 5, "scaling": 6,
                "paint (a repaint)": 7}


def lines(folder, name, word):
    path = os.path.join(folder, name) if folder else ""
    if not path or not os.path.exists(path):
        return []
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


def mean(values):
    return sum(values) / len(values)


def by_kind(rows, column):
    values = {"all": []}
    for row in rows:
        values.setdefault(row[1], []).append(float(row[column]))
        values["all"].append(float(row[column]))
    return values


class Results:
    def __init__(self, folder):
        self.folder = folder
        ticks = lines(folder, "slides.txt", "tick")
        self.columns = {name: by_kind(ticks, column) for name, column in TICK_COLUMNS.items()}
        self.bare = by_kind(lines(folder, "slides.txt", "decode"), 3)
        self.ticks = len(ticks)
        two = lines(folder, "memory-2.txt", "tick")
        self.two_windows = by_kind(two, 8)
        self.memory = {}
        for windows in (1, 2):
            rows = lines(folder, "memory-%d.txt" % windows, "memory")
            if rows:
                self.memory[windows] = {
                    "peak": max(int(m[4]) for m in rows),
                    "largest": max(int(m[6]) for m in rows),
                    "helper": max(int(m[8]) if len(m) > 8 else 0 for m in rows)}
        period = lines(folder, "period.txt", "period")
        self.period = period[-1] if period else None
        self.idle = lines(folder, "idle.txt", "summary")
        self.idle_gaps = lines(folder, "idle.txt", "between")
        self.bare_peak = [int(m[2]) for m in lines(folder, "bare.txt", "memory")]


def events(results, kind):
    columns = results.columns
    return [total - scale - paint for total, scale, paint in zip(
        columns["tick to slide on screen"].get(kind, []), columns["scaling"].get(kind, []),
        columns["paint (a repaint)"].get(kind, []))]


def pair(values):
    if not values:
        return "%8s %8s" % ("-", "-")
    return "%8.1f %8.1f" % (median(values), p95(values))


def main(after_folder, before_folder=None):
    after = Results(after_folder)
    before = Results(before_folder) if before_folder else None
    failed = []
    print()
    print("Slide show under Wine at 1920 x 1080: %d ticks%s" % (
        after.ticks, ", beside %d of the baseline (%s)" % (before.ticks, before_folder)
        if before else ""))
    print("Each tick has its slides prepared before it; the baseline's tick loads its slide and")
    print("waits for it, so its 'tick to slide on screen' holds the load.")
    print()
    print("%-16s %-26s %17s   %17s" % ("", "per tick (ms)", "this build", "baseline"))
    print("%-16s %-26s %8s %8s   %8s %8s" % ("pictures", "", "median", "p95", "median", "p95"))
    for kind, title in KINDS:
        if not after.columns["tick to slide on screen"].get(kind):
            continue
        rows = [(name, after.columns[name].get(kind, []),
                 before.columns[name].get(kind, []) if before else [])
                for name in TICK_COLUMNS]
        # The scaling is the first paint less a repaint: the total less both is the timer event.
        rows.insert(1, ("timer event (total-s-p)",
                        events(after, kind), events(before, kind) if before else []))
        rows.append(("bare decode (codec alone)", after.bare.get(kind, []),
                     before.bare.get(kind, []) if before else []))
        for i, (name, now, then) in enumerate(rows):
            print("%-16s %-26s %s   %s" % (title if i == 0 else "", name, pair(now), pair(then)))
        screen = after.columns["tick to slide on screen"][kind]
        ok = p95(screen) <= TICK_TO_SCREEN_TARGET
        print("%-16s %-26s %s target p95 <= %.0f ms: %s" % (
            "", "", " " * 37, TICK_TO_SCREEN_TARGET, "ok" if ok else "OVER"))
        if not ok:
            failed.append("tick to screen (%s)" % title)
        # Every file is loaded and decoded equally often: the means compare like with like.
        ratios = []
        for results in (after, before):
            loads = results.columns["load (decode included)"].get(kind, []) if results else []
            bare = results.bare.get(kind, []) if results else []
            ratios.append(mean(loads) / mean(bare) if loads and bare else None)
        ok = ratios[0] is not None and ratios[0] <= LOAD_TARGET
        print("%-16s %-26s %8s %8s   %8s %8s target <= %.2f: %s" % (
            "", "load / bare decode, means", "%.2f" % ratios[0] if ratios[0] else "-", "",
            "%.2f" % ratios[1] if ratios[1] else "-", "", LOAD_TARGET, "ok" if ok else "OVER"))
        if not ok:
            failed.append("load cost (%s)" % title)
        if after.two_windows.get(kind):
            print("%-16s %-26s %s   %s" % ("", "two windows: tick to both",
                                           pair(after.two_windows[kind]), pair([])))
        print()

    print("Period between slides when the decode is longer than the interval (ms):")
    for label, results in (("this build", after), ("baseline", before)):
        if results is None:
            continue
        if results.period is None:
            print("  %-10s not measured (no period run in its results)" % label)
            continue
        count, med, high, interval, load = (results.period[1], float(results.period[2]),
                                            float(results.period[3]), results.period[5],
                                            float(results.period[7]))
        print("  %-10s median %.1f, p95 %.1f over %s periods; timer %s ms; median load %.1f"
              % (label, med, high, count, interval, load))
    print()

    print("Peak working set (MiB)            this build   baseline")
    for windows in (1, 2):
        for name, value in (("saver", lambda m: m["peak"]),
                            ("decoder helper", lambda m: m["helper"]),
                            ("together", lambda m: m["peak"] + m["helper"])):
            cells = []
            for results in (after, before):
                memory = results.memory.get(windows) if results else None
                cells.append("%10.1f" % (value(memory) / MIB) if memory else "%10s" % "-")
            print("  %-30s %s %s" % ("%s, %s" % ("one window" if windows == 1 else "two windows",
                                                  name), cells[0], cells[1] if before else ""))
    one = after.memory.get(1)
    if one:
        limit = one["largest"] + MEMORY_SLACK
        ok = one["peak"] <= limit
        print("  target, one window's saver <= one full decoded picture %.1f + 64 = %.1f: %s"
              % (one["largest"] / MIB, limit / MIB, "ok" if ok else "OVER"))
        if not ok:
            failed.append("peak working set")
    if after.bare_peak:
        print("  (the bare decode program's own peak: %.1f MiB)" % (max(after.bare_peak) / MIB))
    print()

    for label, results in (("this build", after), ("baseline", before)):
        if results is None or not results.idle:
            continue
        summary = results.idle[-1]
        overall, worst = float(summary[2]), float(summary[3])
        # Under Wine another process's time is the sum of its threads' now: a thread that ended
        # between two readings takes its time with it, and a gap reads less than nothing.
        if any(float(gap[4]) < 0 for gap in results.idle_gaps):
            print("Processor between ticks 10 s apart, %s: unreliable (a gap read below zero: "
                  "threads that ended took their time with them)" % label)
            if results is after:
                failed.append("processor between ticks (unreliable)")
            continue
        ok = worst < IDLE_TARGET
        print("Processor between ticks 10 s apart, %s: %.3f %% of one core over %d gaps "
              "(worst %.3f %%); target < %.1f %%: %s"
              % (label, overall, len(results.idle_gaps), worst, IDLE_TARGET,
                 "ok" if ok else "OVER"))
        if results is after and not ok:
            failed.append("processor between ticks")
    print()
    print("targets (this build): " + ("all met" if not failed else "missed: " + ", ".join(failed)))
    return 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:3]))
