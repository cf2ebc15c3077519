#!/usr/bin/env python3
"""Every benchmark of the app in one table: each figure as a ratio against its floor, both measured in the
same run. The Google Benchmark programs run each case several times, the figure's and the floor's runs
interleaved in random order, and the table takes the median of each; start and memory come from
start_and_memory.py, which alternates the app and the bare window itself.

Usage (scripts/bench builds the programs and brings the display, the session bus and the keyring):
    tests/bench/bench_table.py --build build-bench [--only wave] [--only frames] [--repetitions 5]
Rows: start, memory, wave, reports, live, frames, pictures, catalog.
"""
import argparse
import json
import os
import statistics
import subprocess
import sys
import tempfile
from collections import defaultdict

HERE = os.path.dirname(os.path.abspath(__file__))
ROWS = ("start", "memory", "wave", "reports", "live", "frames", "pictures", "catalog")


class Table:
    def __init__(self):
        self.lines = []

    def add(self, what, figure, floor, ratio, bound=""):
        self.lines.append((what, figure, floor, f"{ratio:.2f}x", bound))
        # As it comes, so a long run is never silent; the whole table follows at the end.
        print(f"  {what}: {ratio:.2f}x", file=sys.stderr, flush=True)

    def print(self):
        header = ("figure", "measured", "floor, same run", "ratio", "bound")
        widths = [max(len(str(row[i])) for row in [header, *self.lines]) for i in range(len(header))]
        for row in [header, tuple("-" * w for w in widths), *self.lines]:
            print("| " + " | ".join(str(cell).ljust(w) for cell, w in zip(row, widths)) + " |")


def google_benchmark(build, program, pattern, repetitions, extra=(), environment=None):
    """Runs a Google Benchmark program's cases matching `pattern`, interleaved; each case's runs by name."""
    executable = os.path.join(build, program)
    env = dict(os.environ, **(environment or {}))
    with tempfile.NamedTemporaryFile(suffix=".json") as out:
        ran = subprocess.run([executable, f"--benchmark_filter={pattern}", f"--benchmark_repetitions={repetitions}",
                              "--benchmark_enable_random_interleaving=true", f"--benchmark_out={out.name}",
                              "--benchmark_out_format=json", *extra],
                             stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, env=env)
        if ran.returncode != 0:
            raise RuntimeError(f"{program} failed ({ran.returncode}):\n{ran.stderr}")
        report = json.load(open(out.name))
    runs = defaultdict(list)
    for run in report["benchmarks"]:
        if run.get("run_type", "iteration") == "iteration":
            runs[run["run_name"]].append(run)
    return runs


def median(runs, name, field="real_time"):
    if name not in runs:
        raise RuntimeError(f"no runs of {name}; there were {sorted(runs)}")
    return statistics.median(run[field] for run in runs[name])


def unit(runs, name):
    return runs[name][0].get("time_unit", "ns")


def number(value):
    """Three significant digits, without an exponent."""
    return f"{value:.0f}" if value >= 100 else f"{value:.3g}"


def pair(table, runs, what, name, floor_name, floor_text, bound=""):
    """One row: the median real time of a case against the median of its floor's."""
    figure, floor = median(runs, name), median(runs, floor_name)
    table.add(what, f"{number(figure)} {unit(runs, name)}", f"{number(floor)} {unit(runs, floor_name)} {floor_text}",
              figure / floor, bound)


def start_and_memory(options, only):
    """Runs start_and_memory.py for one part and reads the lines it prints."""
    command = [sys.executable, os.path.join(HERE, "start_and_memory.py"), "--build", options.build, "--only", only,
               "--pairs", str(options.pairs), "--memory-pairs", str(options.memory_pairs)]
    ran = subprocess.run(command, capture_output=True, text=True)
    if ran.returncode != 0:
        raise RuntimeError(f"start_and_memory.py failed ({ran.returncode}):\n{ran.stdout}{ran.stderr}")
    printed = ran.stdout.splitlines()
    sections = {}
    title = None
    for line in printed:
        if not line.startswith(" "):
            title = line.split(",")[0]
            sections[title] = {}
        elif title:
            who, _, first, _, second = line.split()
            sections[title][who] = (float(first), float(second))
    return sections


def add_start(table, options):
    section = start_and_memory(options, "start")["start to first frame (s)"]
    app, bare, ratio = section["app"][0], section["bare"][0], section["ratio"][0]
    table.add(f"start to first frame, median of {options.pairs}", f"{app:.3f} s", f"{bare:.3f} s bare window",
              ratio)


def add_memory(table, options):
    sections = start_and_memory(options, "memory")
    for kind in ("RSS", "PSS"):
        section = sections[f"{kind} after sign-in and dashboard (MB)"]
        table.add(f"{kind} after sign-in and dashboard, median of {options.memory_pairs}",
                  f"{section['app'][0]:.1f} MB", f"{section['bare'][0]:.1f} MB bare window", section["ratio"][0])


def add_wave(table, options):
    runs = google_benchmark(options.build, "tests/bench/bench_answers", "oneDelayedRequest|dashboardWave",
                            options.repetitions, ["--delay-ms", str(options.delay_ms)])
    pair(table, runs, f"dashboard's first wave, every answer {options.delay_ms} ms late",
         "dashboardWave/iterations:10/real_time", "oneDelayedRequest/iterations:10/real_time",
         "one such request", "1.3x")


def add_reports(table, options):
    runs = google_benchmark(options.build, "tests/bench/bench_answers", "parsePireps|decodePireps",
                            options.repetitions)
    pair(table, runs, "reading 2,000 reports", "decodePireps", "parsePireps", "QJsonDocument::fromJson")


def add_live(table, options):
    runs = google_benchmark(options.build, "tests/maps/bench_live_decode", "parseOnly|decodeLiveResponse",
                            options.repetitions)
    pair(table, runs, "reading a live snapshot of 5,000 flights", "decodeLiveResponse", "parseOnly",
         "QJsonDocument::fromJson", "2x")


def add_frames(table, options):
    # Drawn through OpenGL, as on a computer with a graphics device, and by Qt Quick's software renderer, as
    # the app draws where there is none.
    for renderer, environment in (("OpenGL", None),
                                  ("software renderer", {"QT_QPA_PLATFORM": "offscreen", "QT_QUICK_BACKEND": "software"})):
        runs = google_benchmark(options.build, "tests/maps/bench_map_frames", "panFrames|zoomFrames",
                                options.repetitions, environment=environment)
        # Each run draws the empty map and the full one frame by frame in turn, so both come from one case.
        for case in ("pan", "zoom"):
            name = f"{case}Frames/3000/iterations:400/manual_time"
            full, empty = median(runs, name, "p95_ms"), median(runs, name, "empty_p95_ms")
            table.add(f"map frame p95 while {'panning' if case == 'pan' else 'zooming'}, 3,000 markers, {renderer}",
                      f"{full:.1f} ms", f"{empty:.1f} ms empty map", full / empty, "1.5x, 16.7 ms")


def add_pictures(table, options):
    runs = google_benchmark(options.build, "tests/images/bench_picture_decoding", "qtReadOnly|decodeOnThreadPool",
                            options.repetitions)
    for arg, format in ((0, "PNG"), (1, "WebP")):
        pair(table, runs, f"livery picture {format} 2400 to 2000 px, on the thread pool",
             f"decodeOnThreadPool/{arg}/real_time", f"qtReadOnly/{arg}/real_time", "Qt's read, same size")


def add_catalog(table, options):
    runs = google_benchmark(options.build, "tests/images/bench_catalog_lookup", "parseOnly|readCatalog|hashFind|lookup",
                            options.repetitions)
    for arg, size in ((0, "1,000 entries"), (1, "near 4 MiB")):
        pair(table, runs, f"reading the livery catalog, {size}", f"readCatalog/{arg}", f"parseOnly/{arg}",
             "QJsonDocument::fromJson")
        pair(table, runs, f"catalog picture lookup, {size}", f"lookup/{arg}", f"hashFind/{arg}",
             "two QHash finds")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build-bench")
    parser.add_argument("--only", action="append", choices=ROWS, help="this row only (may be given again)")
    parser.add_argument("--repetitions", type=int, default=5, help="runs of each Google Benchmark case")
    parser.add_argument("--pairs", type=int, default=15, help="start pairs")
    parser.add_argument("--memory-pairs", type=int, default=5)
    parser.add_argument("--delay-ms", type=int, default=150, help="how late each answer of the wave comes")
    options = parser.parse_args()
    options.build = os.path.abspath(options.build)

    table = Table()
    for row in options.only or ROWS:
        print(f"bench: measuring {row}", file=sys.stderr, flush=True)
        globals()[f"add_{row}"](table, options)
    table.print()


if __name__ == "__main__":
    main()
