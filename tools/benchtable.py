#!/usr/bin/env python3
"""Gathers the figures of `make bench` into one Markdown table.

    benchtable.py RESULTS_DIR

RESULTS_DIR holds the Google Benchmark JSON files of the native benchmarks (lngbench.json,
image_bench.json, checkbench.json) and the standard output of the timing programs run under Wine (*.txt), whose
"@bench" lines carry: operation, size, median ms, compared with, compared ms, target.

Each row compares a median with a figure: a budget, or what a reference takes for the same work
(the memchr line scan, giflib). The ratio is that figure over the median, so above 1 is faster
than the figure; the target says what the row must reach.
"""
import json
import os
import platform
import re
import subprocess
import sys


def fmt_ms(ms):
    if ms is None:
        return "-"
    if ms < 0:
        return "failed"  # the timing program could not measure it
    if ms < 1:
        return "%.0f µs" % (ms * 1000)
    if ms < 10:
        return "%.2f ms" % ms
    return "%.1f ms" % ms


class Row:
    def __init__(self, operation, size, median, compared_with="-", compared=None, target="-", where="Wine"):
        self.operation = operation
        self.size = size
        self.median = median
        self.compared_with = compared_with
        self.compared = compared if compared else None
        self.target = target
        self.where = where

    def ratio(self):
        if self.compared is None or not self.median or self.median <= 0:
            return None
        return self.compared / self.median

    def met(self):
        m = re.match(r"<=\s*([\d.]+)\s*ms", self.target)
        if m and self.median is not None and self.median >= 0:
            return "yes" if self.median <= float(m.group(1)) else "no"
        m = re.match(r">=\s*([\d.]+)", self.target)
        if m and self.ratio() is not None:
            return "yes" if self.ratio() >= float(m.group(1)) else "no"
        return "-"

    def cells(self):
        ratio = self.ratio()
        compared = "-" if self.compared is None else "%s %s" % (self.compared_with, fmt_ms(self.compared))
        return [self.where, self.operation, self.size, fmt_ms(self.median), compared,
                "-" if ratio is None else "%.2f" % ratio, self.target, self.met()]


def to_ms(entry):
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1000.0}[entry.get("time_unit", "ns")]
    return entry["real_time"] * scale


def medians(path):
    """run name (and label) -> median real time in ms of a Google Benchmark JSON file."""
    with open(path) as f:
        data = json.load(f)
    found = {}
    for b in data.get("benchmarks", []):
        if b.get("error_occurred"):
            continue
        name = b.get("run_name", b["name"])
        if b.get("run_type") == "aggregate":
            if b.get("aggregate_name") != "median":
                continue
        elif name in found:
            continue
        found[name] = (to_ms(b), b.get("label", ""), b.get("bytes_per_second"))
    return found


def lngbench_rows(path):
    runs = medians(path)
    rows = []
    scan = runs.get("BM_MemchrLineScan")
    # The generated file lists its IDs in order, as the module does; the shuffled one is a
    # harder case shown for comparison.
    for name, what, target in (("BM_ReadSorted", "Read .lng: parse + sort (generated file)", ">= 0.35"),
                               ("BM_ReadShuffled", "Read .lng: parse + sort (IDs shuffled)", "-")):
        if name in runs:
            rows.append(Row(what, "65,000 records", runs[name][0], "memchr line scan",
                            scan[0] if scan else None, target, "native"))
    if "BM_Write" in runs:
        rows.append(Row("Write .lng: format into one buffer", "65,000 records", runs["BM_Write"][0],
                        "memchr line scan", scan[0] if scan else None, "-", "native"))
    return rows


def image_rows(path):
    runs = medians(path)
    ours, giflib, order = {}, {}, {}
    for name, (ms, label, _) in runs.items():
        arg = name.split("/", 1)[-1]
        stream = label or arg
        order[stream] = int(arg) if arg.isdigit() else 0
        (ours if name.startswith("BM_Parlevo") else giflib)[stream] = ms
    rows = []
    for stream, ms in sorted(ours.items(), key=lambda item: order[item[0]]):
        single = not re.search(r"anim", stream)
        rows.append(Row("Decode GIF " + stream, "1 image" if single else "animation", ms, "giflib",
                        giflib.get(stream), ">= 1.0" if single else "-", "native"))
    return rows


def checkbench_rows(path):
    runs = medians(path)
    if "BM_CheckGeneratedModule" not in runs:
        return []
    floor = runs.get("BM_LengthFloor")
    rows = [Row("Check translations: the generated module and language file", "65,000 rows",
                runs["BM_CheckGeneratedModule"][0], "strlen of every text", floor[0] if floor else None,
                target="<= 10 ms", where="native")]
    if "BM_CheckDenseMix" in runs:
        rows.append(Row("Check translations: a denser made-up mix", "65,000 rows", runs["BM_CheckDenseMix"][0],
                        "-", None, "-", "native"))
    return rows


def wine_rows(path):
    rows = []
    with open(path, errors="replace") as f:
        for line in f:
            if not line.startswith("@bench\t"):
                continue
            parts = line.rstrip("\n").split("\t")
            if len(parts) != 7:
                continue
            _, operation, size, median, compared_with, compared, target = parts
            rows.append(Row(operation, size, float(median), compared_with, float(compared), target))
    return rows


def machine():
    cpu = "unknown CPU"
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    cpu = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    wine = ""
    for exe in ("/usr/lib/wine/wine64", "wine"):
        try:
            wine = subprocess.run([exe, "--version"], capture_output=True, text=True, timeout=10).stdout.strip()
            if wine:
                break
        except (OSError, subprocess.TimeoutExpired):
            pass
    return "%s, %d cores, %s %s, %s" % (cpu, os.cpu_count() or 0, platform.system(), platform.release(),
                                       wine or "Wine not found")


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    results = sys.argv[1]
    rows = []
    for name, reader in (("lngbench.json", lngbench_rows), ("image_bench.json", image_rows),
                         ("checkbench.json", checkbench_rows)):
        path = os.path.join(results, name)
        if os.path.exists(path):
            rows += reader(path)
    for name in sorted(os.listdir(results)):
        if name.endswith(".txt"):
            rows += wine_rows(os.path.join(results, name))
    header = ["Where", "Operation", "Size", "Median", "Compared with", "Ratio", "Target", "Met"]
    print("Machine: " + machine())
    print()
    print("| " + " | ".join(header) + " |")
    print("|" + "|".join("---" for _ in header) + "|")
    for row in rows:
        print("| " + " | ".join(row.cells()) + " |")
    print()
    print("Ratio: the compared figure over the median (a budget, or a reference's time for the same work); "
          "above 1 is better.")


if __name__ == "__main__":
    main()
