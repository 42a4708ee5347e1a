#!/usr/bin/env python3
"""How long a UCI engine takes to answer a "go" command: the time from sending it to the
"bestmove" line, over a few positions (the initial one, middlegames, an endgame), and the
depth of the last "info" line.

Usage: scripts/uci_timing.py ENGINE [--go "go movetime 1000"] [--repeat N] [--option NAME=VALUE]...

Prints each answer and the least, median and greatest time in milliseconds.
"""
import argparse
import os
import statistics
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from engine_match import UciProcess  # noqa: E402

POSITIONS = [
    "startpos",
    "fen r1bq1rk1/pppp1ppp/2n2n2/2b1p3/2B1P3/2NP1N2/PPP2PPP/R1BQ1RK1 w - - 0 7",
    "fen r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
    "fen 8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
]


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("engine")
    parser.add_argument("--go", default="go movetime 1000")
    parser.add_argument("--repeat", type=int, default=2, help="searches per position")
    parser.add_argument("--option", action="append", default=[], help="NAME=VALUE")
    args = parser.parse_args()

    engine = UciProcess([os.path.abspath(args.engine)])
    times = []
    try:
        engine.send("uci")
        engine.until("uciok")
        for option in args.option:
            name, value = option.split("=", 1)
            engine.send(f"setoption name {name} value {value}")
        for position in POSITIONS:
            for _ in range(args.repeat):
                engine.send("ucinewgame")
                engine.send("position " + position)
                engine.send("isready")
                engine.until("readyok")
                started = time.monotonic()
                engine.send(args.go)
                lines = engine.until("bestmove")
                elapsed = (time.monotonic() - started) * 1000
                times.append(elapsed)
                depth = next((line.split()[2] for line in reversed(lines) if line.startswith("info depth")), "-")
                print(f"{elapsed:7.0f} ms  depth {depth:>2}  {lines[-1]}  ({position[:40]})")
        engine.send("quit")
    finally:
        engine.close()
    print(f"{args.go}: least {min(times):.0f} ms, median {statistics.median(times):.0f} ms, "
          f"greatest {max(times):.0f} ms over {len(times)} searches")
    return 0


if __name__ == "__main__":
    sys.exit(main())
