#!/usr/bin/env python3
"""Draws balanced eight-ply openings for scripts/match.py with the help of a strong UCI engine.

Usage:
  scripts/make_openings.py --engine /usr/games/stockfish --count 200 --seed 1 [--plies 8]
                           [--spread 40] [--limit 60] [--known scripts/openings.txt] > new.txt

Each line starts from the initial position. At every ply the engine names its best few moves
(MultiPV at a shallow depth) and one of those within --spread centipawns of the best is drawn
at random, so the lines stay ones a sound player could choose. The line's end is then scored
deeper; it is kept when White's view lies within --limit centipawns of equality and its
position is new (neither drawn before nor reached by a line of --known). Written in the
openings file's own form: the moves, then "# +N", the deep score from White's view.
A tool run by hand; its output is checked in, so the matches never need the engine that made it.
"""
import argparse
import random
import subprocess
import sys

PICK_DEPTH = 10  # shallow: enough to tell sound moves from blunders in the opening
PICK_LINES = 5
CHECK_DEPTH = 18  # the depth the file's scores were always given at


class Uci:
    def __init__(self, command):
        self.process = subprocess.Popen([command], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        text=True, bufsize=1)
        self.send("uci")
        self.wait_for("uciok")
        self.send("setoption name Threads value 1")
        self.send("setoption name Hash value 64")

    def send(self, line):
        self.process.stdin.write(line + "\n")

    def wait_for(self, prefix):
        lines = []
        for line in self.process.stdout:
            line = line.strip()
            lines.append(line)
            if line.startswith(prefix):
                return lines
        raise SystemExit("the engine ended before '" + prefix + "'")

    def scored_moves(self, moves, depth, multipv):
        """The engine's first moves of its best lines with their scores, side to move's view."""
        self.send(f"setoption name MultiPV value {multipv}")
        self.send("position startpos moves " + " ".join(moves))
        self.send(f"go depth {depth}")
        best = {}
        for line in self.wait_for("bestmove"):
            words = line.split()
            if words[:1] != ["info"] or "pv" not in words or "multipv" not in words:
                continue
            if int(words[words.index("depth") + 1]) != depth or "cp" not in words:
                continue  # a shallower iteration, or a mate score: no quiet opening
            rank = int(words[words.index("multipv") + 1])
            best[rank] = (words[words.index("pv") + 1], int(words[words.index("cp") + 1]))
        return [best[rank] for rank in sorted(best)]

    def position_key(self, moves):
        """The FEN without its move counters: two lines reaching it are the same opening."""
        self.send("position startpos moves " + " ".join(moves))
        self.send("d")
        self.send("isready")
        for line in self.wait_for("readyok"):
            if line.startswith("Fen:"):
                return " ".join(line.split()[1:5])
        raise SystemExit("the engine's 'd' printed no FEN")


def draw_line(engine, rng, plies, spread):
    moves = []
    for _ in range(plies):
        scored = engine.scored_moves(moves, PICK_DEPTH, PICK_LINES)
        if not scored:
            return None
        sound = [move for move, score in scored if score >= scored[0][1] - spread]
        moves.append(rng.choice(sound))
    return moves


def white_score(engine, moves):
    scored = engine.scored_moves(moves, CHECK_DEPTH, 1)
    if not scored:
        return None
    score = scored[0][1]
    return score if len(moves) % 2 == 0 else -score


def known_moves(path):
    with open(path, encoding="utf-8") as source:
        for line in source:
            line = line.split("#")[0].split()
            if line and "/" not in line[0]:
                yield line


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--engine", required=True)
    parser.add_argument("--count", type=int, required=True)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--plies", type=int, default=8)
    parser.add_argument("--spread", type=int, default=40)
    parser.add_argument("--limit", type=int, default=60)
    parser.add_argument("--known", action="append", default=[])
    args = parser.parse_args()

    rng = random.Random(args.seed)
    engine = Uci(args.engine)
    seen = {engine.position_key(moves) for path in args.known for moves in known_moves(path)}
    kept = 0
    while kept < args.count:
        moves = draw_line(engine, rng, args.plies, args.spread)
        if moves is None:
            continue
        key = engine.position_key(moves)
        if key in seen:
            continue
        seen.add(key)
        score = white_score(engine, moves)
        if score is None or abs(score) > args.limit:
            continue
        print(f"{' '.join(moves)}   # {score:+d}", flush=True)
        kept += 1
    engine.send("quit")


if __name__ == "__main__":
    sys.exit(main())
