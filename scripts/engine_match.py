#!/usr/bin/env python3
"""A match of chess-uci against Fairy-Max, or against Stockfish held to a given strength,
judged by xboard in match mode: each opening of a few random plies is played twice, once with
each colour. Prints each game, the score and the Elo difference with its 95 % interval.

Usage: scripts/engine_match.py ENGINE [--opponent fairymax|stockfish] [--elo N] [--games N]
                               [--plies N] [--seed N] [--tc MIN:SEC] [--inc SEC]
                               [--workdir DIR] [--timeout SEC] [--option NAME=VALUE]... [--ponder]

The openings come from Stockfish's move lists (`go perft 1`), so Debian's stockfish must be
installed for either opponent. The games, logs and openings stay in --workdir when one is
given (say, under the build folder); otherwise in a temporary folder that is removed at the
end. Exits with 1 when a game did not end by the rules (an illegal move, a loss on time, a
crash) or the match did not finish within --timeout.
"""
import argparse
import math
import os
import queue
import random
import shutil
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import uci_match  # noqa: E402  (the xboard harness: display, xboard's command, the games' record)

STOCKFISH = f"{uci_match.GAMES_DIR}/stockfish"
ANSWER_TIMEOUT = 30  # seconds for Stockfish to list moves or show a position


class UciProcess:
    """A UCI engine on pipes, with every answer awaited within a bound."""

    def __init__(self, command):
        self.process = subprocess.Popen(command, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL, text=True, start_new_session=True)
        self.lines = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.process.stdout:
            self.lines.put(line.strip())

    def send(self, command):
        self.process.stdin.write(command + "\n")
        self.process.stdin.flush()

    def until(self, prefix):
        """The lines up to and with the first that begins with `prefix`."""
        deadline = time.monotonic() + ANSWER_TIMEOUT
        seen = []
        while True:
            try:
                line = self.lines.get(timeout=max(0.0, deadline - time.monotonic()))
            except queue.Empty:
                raise RuntimeError(f"no line beginning with {prefix!r} within {ANSWER_TIMEOUT} s")
            seen.append(line)
            if line.startswith(prefix):
                return seen

    def close(self):
        uci_match.stop(self.process)


def random_openings(count, plies, seed):
    """`count` different positions, as FEN, each after `plies` random legal moves from the
    initial position (a line that ends the game early is drawn again)."""
    generator = random.Random(seed)
    stockfish = UciProcess([STOCKFISH])
    openings = []
    try:
        stockfish.send("uci")
        stockfish.until("uciok")
        attempts = 0
        while len(openings) < count and attempts < count * 20:
            attempts += 1
            moves = []
            for _ in range(plies):
                stockfish.send("position startpos moves " + " ".join(moves))
                stockfish.send("go perft 1")
                legal = [line.split(":")[0] for line in stockfish.until("Nodes searched") if ": 1" in line]
                if not legal:
                    break
                moves.append(generator.choice(sorted(legal)))
            if len(moves) < plies:
                continue
            stockfish.send("position startpos moves " + " ".join(moves))
            stockfish.send("d")
            fen = next(line[5:] for line in stockfish.until("Fen: ") if line.startswith("Fen: "))
            if fen not in openings:
                openings.append(fen)
    finally:
        stockfish.close()
    return openings


def opponent_command(args, workdir):
    """The second engine for xboard, with its name in the games' record."""
    if args.opponent == "fairymax":
        return f"{uci_match.GAMES_DIR}/fairymax"
    return (f"{uci_match.GAMES_DIR}/polyglot -noini -ec {STOCKFISH} -ed {workdir} "
            f"-uci UCI_LimitStrength=true -uci UCI_Elo={args.elo} -uci Threads=1 -uci Hash=16 "
            f"-log true -lf {workdir}/polyglot-opponent.log")


def match_command(engine, args, workdir, openings_file):
    command = uci_match.xboard_command(engine, args, workdir)
    command[command.index("-scp") + 1] = opponent_command(args, workdir)
    if args.option:
        # polyglot passes options given with -uci on to chess-uci as setoption
        first = command.index("-fcp") + 1
        command[first] += "".join(f" -uci {option}" for option in args.option)
    if args.ponder:
        command[command.index("-ponderNextMove") + 1] = "true"  # both engines think on the other's time
    return command + ["-loadPositionFile", openings_file, "-loadPositionIndex", "-2"]


def elo_of(score):
    return -400 * math.log10(1 / score - 1)


def elo_line(points):
    """The Elo difference that the mean score gives, with its 95 % interval from the spread
    of the games' points. A score of all or nothing has no finite Elo difference: then the
    interval's finite end comes from the Wilson interval of the score."""
    count, z = len(points), 1.96
    mean = sum(points) / count
    if mean in (0.0, 1.0):
        bound = 1 / (1 + z * z / count)  # Wilson's interval for a score of all: [bound, 1]
        return (f"Elo difference {'above' if mean else 'below'} {elo_of(bound if mean else 1 - bound):+.0f} "
                f"(95 % bound; the score is {'all' if mean else 'nothing'})")
    deviation = math.sqrt(sum((p - mean) ** 2 for p in points) / count)
    margin = z * deviation / math.sqrt(count)
    end = lambda s: f"{elo_of(s):+.0f}" if 0 < s < 1 else ("+inf" if s >= 1 else "-inf")  # noqa: E731
    return f"Elo difference {elo_of(mean):+.0f}, 95 % interval [{end(mean - margin)}, {end(mean + margin)}]"


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("engine")
    parser.add_argument("--opponent", choices=("fairymax", "stockfish"), default="fairymax")
    parser.add_argument("--elo", type=int, default=1350, help="Stockfish's UCI_Elo")
    parser.add_argument("--games", type=int, default=40, help="an even number: each opening twice")
    parser.add_argument("--plies", type=int, default=4, help="random plies of each opening")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--tc", default="0:10", help="xboard's time control per game, MIN:SEC")
    parser.add_argument("--inc", type=float, default=0.1, help="seconds added after each move")
    parser.add_argument("--workdir")
    parser.add_argument("--timeout", type=float, default=7200, help="seconds for the whole match")
    parser.add_argument("--option", action="append", help="a chess-uci option, NAME=VALUE")
    parser.add_argument("--ponder", action="store_true", help="both engines ponder (xboard's -ponderNextMove)")
    args = parser.parse_args()
    if args.games < 2 or args.games % 2:
        parser.error("--games must be an even number of at least 2")

    engine = os.path.abspath(args.engine)
    workdir = os.path.abspath(args.workdir) if args.workdir else tempfile.mkdtemp(prefix="engine-match-")
    os.makedirs(workdir, exist_ok=True)
    games_file = os.path.join(workdir, "games.pgn")
    if os.path.exists(games_file):
        os.remove(games_file)
    try:
        openings = random_openings(args.games // 2, args.plies, args.seed)
        openings_file = os.path.join(workdir, "openings.fen")
        with open(openings_file, "w") as out:
            out.write("".join(fen + "\n" for fen in openings))
        display, name = uci_match.start_display(workdir)
        started = time.monotonic()
        try:
            with open(os.path.join(workdir, "xboard.log"), "w") as log:
                xboard = subprocess.Popen(match_command(engine, args, workdir, openings_file), cwd=workdir,
                                          env=dict(os.environ, DISPLAY=name, HOME=workdir), stdout=log,
                                          stderr=subprocess.STDOUT, start_new_session=True)
                try:
                    finished = uci_match.wait_for_games(xboard, games_file, args.games, args.timeout)
                finally:
                    uci_match.stop(xboard)
        finally:
            uci_match.stop(display)
        return report(args, uci_match.read_games(games_file), finished, time.monotonic() - started, workdir)
    finally:
        if not args.workdir:
            shutil.rmtree(workdir, ignore_errors=True)


def report(args, games, finished, seconds, workdir):
    faults = 0
    for number, game in enumerate(games, 1):
        fault = uci_match.fault_of(game)
        faults += fault is not None
        print(f"game {number}: {game['white']} - {game['black']} {game['result']} {{{game['ending']}}}"
              + (f"  FAULT: {fault}" if fault else ""))
    points = [p for p in map(uci_match.engine_points, games) if p is not None]
    opponent = "Fairy-Max" if args.opponent == "fairymax" else f"Stockfish at UCI_Elo {args.elo}"
    wins, draws = points.count(1.0), points.count(0.5)
    print(f"chess-uci against {opponent}, {args.tc} + {args.inc} s, {args.games // 2} openings of {args.plies} "
          f"plies with both colours: {len(points)} games, +{wins} ={draws} -{len(points) - wins - draws}, "
          f"score {sum(points)}/{len(points)}" + (f" ({100 * sum(points) / len(points):.1f} %)" if points else ""))
    if points:
        print(elo_line(points))
    print(f"{faults} games not ended by the rules; {seconds:.0f} s" + (f"; files in {workdir}" if args.workdir else ""))
    ok = finished and len(games) == args.games and faults == 0
    if not finished:
        print(f"FAILED: the match took longer than {args.timeout} s")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
