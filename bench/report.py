#!/usr/bin/env python3
"""Gathers the timing rounds of bench/run.sh into one Markdown table.

    report.py OUT.md HEADING GROUPDIR...

Each GROUPDIR holds title.txt (the measure and the data set, tab-separated),
round-N.json files exported by hyperfine (every program of the group ran in
every round, in turn) and, optionally, peak-rss.tsv (program TAB KiB). The
first program named "dictionary-tool" is the one the ratios are taken for:
the ratio to a peer is the median, over the rounds, of the tool's median in
a round divided by the peer's median in the same round, so that a machine
whose speed drifts moves both sides of every ratio alike.
"""
import glob
import json
import os
import statistics
import sys

TOOL = "dictionary-tool"


def percentile(values, fraction):
    ordered = sorted(values)
    position = fraction * (len(ordered) - 1)
    low = int(position)
    high = min(low + 1, len(ordered) - 1)
    return ordered[low] + (ordered[high] - ordered[low]) * (position - low)


def shown_time(seconds):
    if seconds >= 1:
        return f"{seconds:.2f} s"
    milliseconds = seconds * 1000
    return f"{milliseconds:.3g} ms" if milliseconds >= 1 else f"{milliseconds:.2f} ms"


def read_group(folder):
    with open(os.path.join(folder, "title.txt"), encoding="utf-8") as title:
        measure, data = title.read().strip().split("\t")
    rounds = []  # one {program: [seconds]} per round
    paths = glob.glob(os.path.join(folder, "round-*.json"))
    for path in sorted(paths, key=lambda p: int(p.rsplit("-", 1)[1].split(".")[0])):
        with open(path, encoding="utf-8") as exported:
            results = json.load(exported)["results"]
        rounds.append({result["command"]: result["times"] for result in results})
    rss = {}
    rss_path = os.path.join(folder, "peak-rss.tsv")
    if os.path.exists(rss_path):
        with open(rss_path, encoding="utf-8") as table:
            for line in table:
                name, kib = line.rstrip("\n").split("\t")
                rss[name] = int(kib)
    return measure, data, rounds, rss


def group_rows(folder):
    measure, data, rounds, rss = read_group(folder)
    programs = []
    for round_times in rounds:
        for name in round_times:
            if name not in programs:
                programs.append(name)
    programs.sort(key=lambda name: name != TOOL)
    rows = []
    for name in programs:
        times = [t for round_times in rounds for t in round_times.get(name, [])]
        ratio = ""
        if name != TOOL:
            per_round = [statistics.median(r[TOOL]) / statistics.median(r[name])
                         for r in rounds if r.get(TOOL) and r.get(name)]
            if per_round:
                ratio = (f"{statistics.median(per_round):.2f}× "
                         f"({min(per_round):.2f}–{max(per_round):.2f})")
        peak = f"{rss[name] / 1024:.1f} MiB" if name in rss else ""
        rows.append([measure, data, name, shown_time(statistics.median(times)),
                     shown_time(percentile(times, 0.1)), shown_time(percentile(times, 0.9)),
                     str(len(times)), ratio, peak])
    return rows


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    out, heading, folders = sys.argv[1], sys.argv[2], sys.argv[3:]
    header = ["Measure", "Data", "Program", "Median", "p10", "p90", "Runs",
              "dictionary-tool / program (rounds: min–max)", "Peak RSS"]
    lines = [f"## {heading}", "",
             "| " + " | ".join(header) + " |",
             "|" + "|".join(["---"] * len(header)) + "|"]
    for folder in folders:
        for row in group_rows(folder):
            lines.append("| " + " | ".join(row) + " |")
    with open(out, "w", encoding="utf-8") as table:
        table.write("\n".join(lines) + "\n")
    print("\n".join(lines))


if __name__ == "__main__":
    main()
