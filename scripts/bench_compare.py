#!/usr/bin/env python3
"""Compares two builds of chess_bench benchmark by benchmark:

    scripts/bench_compare.py BEFORE AFTER [--rounds N] [--filter REGEX]

BEFORE and AFTER are chess_bench programs (say, a release build of an older commit and of this
one). Each benchmark runs in both, one right after the other (the first alternating), N rounds,
so that a drift of the machine's speed meets both alike. The table gives each benchmark's median time per iteration
for both, the median of the round-by-round ratios (above 1: AFTER is faster) and the trial
moves of a search, which two builds that decide alike must share.
"""
import argparse
import json
import statistics
import subprocess


def run(bench, name):
    output = subprocess.run([bench, f"--benchmark_filter=^{name}$", "--benchmark_format=json"],
                            check=True, capture_output=True, text=True).stdout
    return json.loads(output)["benchmarks"][0]


def names(bench, pattern):
    output = subprocess.run([bench, f"--benchmark_filter={pattern}", "--benchmark_list_tests"],
                            check=True, capture_output=True, text=True).stdout
    return output.split()


def nanoseconds(result):
    scale = {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[result["time_unit"]]
    return result["real_time"] * scale


def readable(ns):
    for unit, scale in (("s", 1e9), ("ms", 1e6), ("us", 1e3)):
        if ns >= scale:
            return f"{ns / scale:.3g} {unit}"
    return f"{ns:.3g} ns"


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("before")
    parser.add_argument("after")
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--filter", default=".")
    args = parser.parse_args()

    known = set(names(args.before, args.filter))
    benchmarks = [name for name in names(args.after, args.filter) if name in known]
    times = {name: {"before": [], "after": []} for name in benchmarks}
    trials = {name: set() for name in benchmarks}
    for round in range(args.rounds):
        # Which runs first alternates, so that neither gains from the other warming the machine.
        sides = ("before", "after") if round % 2 == 0 else ("after", "before")
        for name in benchmarks:
            for side in sides:
                result = run(getattr(args, side), name)
                times[name][side].append(nanoseconds(result))
                if "trial_moves" in result:
                    trials[name].add(int(result["trial_moves"]))

    print("| benchmark | before | after | before/after | trial moves |")
    print("|---|---|---|---|---|")
    for name in benchmarks:
        before, after = times[name]["before"], times[name]["after"]
        ratio = statistics.median(b / a for b, a in zip(before, after))
        counts = trials[name]
        moves = "" if not counts else (str(counts.pop()) if len(counts) == 1 else "DIFFER")
        print(f"| {name.removesuffix('/real_time')} | {readable(statistics.median(before))} | "
              f"{readable(statistics.median(after))} | {ratio:.2f} | {moves} |")


if __name__ == "__main__":
    main()
