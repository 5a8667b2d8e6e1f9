#!/usr/bin/env python3
"""Runs every benchmark of orvane_bench three times, each case in a process of
its own (so that its peak memory is its own), runs the peer of the card
benchmark as often, and prints one table of medians with their spread.

    run.py BENCH_PROGRAM SCRATCH_FOLDER [REGEX]
"""

import json
import os
import re
import shutil
import statistics
import subprocess
import sys

RUNS = 3
PEER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "peer_vobject.py")

# Benchmark name -> the case as the table shows it, and n.
CASES = [
    (r"BM_CardFullEntry$", "card: full entry", "1"),
    (r"BM_CardMinimalEntry$", "card: minimal entry", "1"),
    (r"peer_vobject$", "card: peer python3-vobject", "1"),
    (r"BM_AddressBookExport/(\d+)/", "export: address book", None),
    (r"BM_MailContactsExport/", "export: mail-client contacts", "10000"),
    (r"BM_MailCalendarExport/", "export: mail-client appointments", "10000"),
    (r"BM_GetItemEveryIndex/(\d+)/", "GetItem, every index", None),
    (r"BM_ItemCount/(\d+)$", "itemcount", None),
    (r"BM_OpenAddressBook/(\d+)/", "open the address book", None),
    (r"BM_CommandLineItem/(\d+)/", "orvane item 3 n/2 (process)", None),
]


def describe(name):
    for pattern, label, n in CASES:
        match = re.search(pattern, name)
        if match:
            return label, n or match.group(1)
    return name, ""


def list_benchmarks(program, pattern):
    names = subprocess.run([program, "--benchmark_list_tests"], check=True,
                           capture_output=True, text=True).stdout.split()
    return [name for name in names if re.search(pattern, name)]


def run_case(program, scratch, name):
    env = dict(os.environ, ORVANE_BENCH_DIR=scratch)
    out = subprocess.run([program, "--benchmark_filter=^" + re.escape(name) + "$",
                          "--benchmark_format=json"], check=True, capture_output=True,
                         text=True, env=env).stdout
    shutil.rmtree(scratch, ignore_errors=True)
    for result in json.loads(out)["benchmarks"]:
        if result.get("error_occurred"):
            sys.exit(name + ": " + result.get("error_message", "failed"))
        if "per_item_us" not in result and "total_ms" not in result:
            scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}[result["time_unit"]]
            result["per_item_us"] = result["real_time"] * scale
        return result
    sys.exit(name + ": no result")


def card_instructions(program, scratch, name):
    """Instructions per card under callgrind: unlike the times, the same on every run,
    however loaded the machine. Nothing without valgrind."""
    if not (shutil.which("valgrind") and shutil.which("callgrind_annotate")):
        print("no instruction counts: valgrind is not installed", file=sys.stderr)
        return None
    os.makedirs(scratch, exist_ok=True)
    out = os.path.join(scratch, "callgrind.out")
    env = dict(os.environ, ORVANE_BENCH_DIR=scratch)
    subprocess.run(["valgrind", "--tool=callgrind", "--toggle-collect=*BuildWabVCard*",
                    "--callgrind-out-file=" + out, program,
                    "--benchmark_filter=^" + re.escape(name) + "$", "--benchmark_min_time=0.2"],
                   check=True, capture_output=True, env=env)
    tree = subprocess.run(["callgrind_annotate", "--tree=caller", out], check=True,
                          capture_output=True, text=True).stdout
    shutil.rmtree(scratch, ignore_errors=True)
    # The line of the benchmark's calls of the writer: "N (100.0%)  < ...ComposeCards... (Cx)".
    match = re.search(r"^\s*([\d,]+) \(100\.0%\)\s+<.*ComposeCards.*\(([\d,]+)x\)", tree,
                      re.MULTILINE)
    if not match:
        print("%s: callgrind saw no call of the card writer" % name, file=sys.stderr)
        return None
    total, calls = (int(group.replace(",", "")) for group in match.groups())
    return total / calls


def run_peer():
    return json.loads(subprocess.run(["/usr/bin/python3", PEER], check=True,
                                     capture_output=True, text=True).stdout)


class Measure:
    """The values of one counter over the runs."""

    def __init__(self, values):
        self.values = [v for v in values if v is not None]

    def __bool__(self):
        return bool(self.values)

    @property
    def median(self):
        return statistics.median(self.values)

    def spread(self):
        """Half the range, as a share of the median."""
        if len(self.values) < 2 or self.median == 0:
            return ""
        return " ±%.0f%%" % (50 * (max(self.values) - min(self.values)) / self.median)


def time_text(measure):
    if not measure:
        return "-"
    value = measure.median
    if value >= 1e6:
        text = "%.3g s" % (value / 1e6)
    elif value >= 1e3:
        text = "%.3g ms" % (value / 1e3)
    else:
        text = "%.3g µs" % value
    return text + measure.spread()


def judge(label, n, m, peer):
    """The target of a case and whether it is met; empty when it has none."""
    per_item, ratio, peak, total = m["per_item_us"], m["ratio"], m["peak_mb"], m["total_ms"]
    if label == "card: full entry":
        times = peer["per_item_us"].median / per_item.median
        return ("<= 2 µs, >= 100x faster than the peer (%.0fx)" % times,
                per_item.median <= 2 and times >= 100)
    if label == "export: address book":
        text, met = "ratio <= 1.15", ratio.median <= 1.15
        if n == "32767":
            limit = m["store_mb"].median + 32
            text += ", peak <= store + 32 MB = %.0f MB" % limit
            met = met and peak.median <= limit
        return text, met
    if label == "GetItem, every index":
        return "<= 100 µs a call", per_item.median <= 100
    if label == "itemcount":
        return "<= 50 µs", per_item.median <= 50
    if label == "open the address book" and n == "10000":
        return "<= 60 ms", total.median <= 60
    if label.startswith("orvane item"):
        return "< 100 ms", total.median < 100
    return "", None


def main():
    program, scratch = sys.argv[1], os.path.abspath(sys.argv[2])
    pattern = sys.argv[3] if len(sys.argv) > 3 else "."
    names = list_benchmarks(program, pattern)
    results = {name: [] for name in names}
    peers = []
    for round_number in range(1, RUNS + 1):
        for name in names:
            print("run %d/%d: %s" % (round_number, RUNS, name), file=sys.stderr, flush=True)
            results[name].append(run_case(program, scratch, name))
        if re.search(pattern, "BM_CardFullEntry"):
            peers.append(run_peer())
    if peers:
        results["peer_vobject"] = peers

    counters = ["per_item_us", "floor_per_item_us", "ratio", "cpu_ratio", "peak_mb", "total_ms",
                "store_mb"]
    peer = {key: Measure([r.get(key) for r in peers]) for key in counters}
    rows = [("case", "n", "time per item", "floor per item", "ratio", "cpu ratio", "total",
             "peak memory", "target")]
    missed = 0
    for name, runs in results.items():
        label, n = describe(name)
        m = {key: Measure([r.get(key) for r in runs]) for key in counters}
        target, met = judge(label, n, m, peer)
        if met is False:
            missed += 1
        rows.append((
            label, n, time_text(m["per_item_us"]), time_text(m["floor_per_item_us"]),
            "%.2f%s" % (m["ratio"].median, m["ratio"].spread()) if m["ratio"] else "-",
            "%.2f%s" % (m["cpu_ratio"].median, m["cpu_ratio"].spread()) if m["cpu_ratio"] else "-",
            time_text(Measure([t * 1e3 for t in m["total_ms"].values])),
            "%.0f MB%s" % (m["peak_mb"].median, m["peak_mb"].spread()) if m["peak_mb"] else "-",
            (target + (": met" if met else ": MISSED")) if target else ""))
    widths = [max(len(row[i]) for row in rows) for i in range(len(rows[0]))]
    for index, row in enumerate(rows):
        print("  ".join(cell.ljust(width) for cell, width in zip(row, widths)).rstrip())
        if index == 0:
            print("  ".join("-" * width for width in widths))
    sizes = ", ".join(
        "%s %.1f MB" % (describe(name)[1], statistics.median(r["store_mb"] for r in runs))
        for name, runs in results.items() if runs and "store_mb" in runs[0]
        and name.startswith("BM_Open"))
    print("\nMedians of %d runs, ± half their range." % RUNS +
          (" Store sizes: %s." % sizes if sizes else ""))
    cards = [(describe(name)[0].removeprefix("card: "), card_instructions(program, scratch, name))
             for name in names if name.startswith("BM_Card")]
    cards = [(label, count) for label, count in cards if count]
    if cards:
        print("Instructions per card (callgrind): " +
              ", ".join("%s %.1f k" % (label, count / 1e3) for label, count in cards) + ".")
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main())
