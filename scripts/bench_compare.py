#!/usr/bin/env python3
"""Compares two builds of chess_bench benchmark by benchmark:

    scripts/bench_compare.py BEFORE AFTER [--rounds N] [--filter REGEX]

BEFORE and AFTER are chess_bench programs (say, a release build of an older commit and of this
one). They run in turn, N rounds, so that a drift of the machine's speed meets both alike. The
table gives each benchmark's median time per iteration for both, their ratio (above 1: AFTER is
faster) and the trial moves of a search, which two builds that decide alike must share.
"""
import argparse
import json
import statistics
import subprocess


def run(bench, pattern):
    output = subprocess.run([bench, f"--benchmark_filter={pattern}", "--benchmark_format=json"],
                            check=True, capture_output=True, text=True).stdout
    return {b["name"]: b for b in json.loads(output)["benchmarks"]}


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

    times = {"before": {}, "after": {}}
    trials = {"before": {}, "after": {}}
    for _ in range(args.rounds):
        for side in ("before", "after"):
            for name, result in run(getattr(args, side), args.filter).items():
                times[side].setdefault(name, []).append(nanoseconds(result))
                if "trial_moves" in result and "/s" not in name:
                    trials[side][name] = int(result["trial_moves"])

    print("| benchmark | before | after | before/after | trial moves |")
    print("|---|---|---|---|---|")
    for name, before in times["before"].items():
        after = times["after"].get(name)
        if not after:
            continue
        b, a = statistics.median(before), statistics.median(after)
        counts = {trials["before"].get(name), trials["after"].get(name)}
        moves = "" if counts == {None} else (str(counts.pop()) if len(counts) == 1 else "DIFFER")
        print(f"| {name.removesuffix('/real_time')} | {readable(b)} | {readable(a)} | {b / a:.2f} | {moves} |")


if __name__ == "__main__":
    main()
