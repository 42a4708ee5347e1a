#!/usr/bin/env python3
"""A match between two chess engines without a display: UCI or xboard engines over pipes,
each opening of a fixed file played once with each colour, a clock with increment kept by
this runner, and every game judged here by the rules (scripts/chess_rules.py): an illegal
move, a crash or a fallen flag loses; mate, stalemate, threefold repetition, fifty moves and
insufficient material end the game. Prints each game, W/D/L of the first engine, its Elo
difference with the 95 % interval and, with --sprt, the log-likelihood ratio; writes PGN.

Usage:
  scripts/match.py --engine "cmd=build/release/uci/chess-uci name=new" \\
                   --engine "cmd=/usr/games/toga2 name=toga option.Hash=16" \\
                   [--games N] [--tc 10+0.1] [--concurrency 1] [--openings FILE]
                   [--pgn FILE] [--sprt ELO0,ELO1] [--margin MS] [--adjudicate]

An engine is given as `key=value` words: `cmd` (the command line, quoted when it has
spaces), `name`, `proto=uci|xboard` (uci by default) and `option.NAME=VALUE` (UCI options).
--games counts games (a pair per opening, so an even number is best); the openings are used
in their file's order, again from the first when there are more games than openings.
Each game starts both engines afresh. Exit status 1 when a game was lost by an illegal move,
a crash or a protocol fault (not by time: the clock is the player's business).
"""
import argparse
import math
import os
import queue
import shlex
import subprocess
import sys
import threading
import time
from concurrent.futures import ThreadPoolExecutor

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from chess_rules import Board  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_OPENINGS = os.path.join(HERE, "openings.txt")
START_TIMEOUT = 20.0  # seconds for an engine to come up (uciok, readyok, the xboard features)


class EngineFault(Exception):
    """The engine broke the protocol, crashed or fell silent."""


class Engine:
    """One engine process; lines it writes are read by a thread and awaited with a bound."""

    def __init__(self, setup):
        self.setup = setup
        self.process = subprocess.Popen(shlex.split(setup["cmd"]), stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL, text=True, bufsize=1, start_new_session=True)
        self.lines = queue.Queue()
        self.score = None  # the last score it reported, in centipawns from its side
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.process.stdout:
            self.lines.put(line.strip())
        self.lines.put(None)  # end of output: the process is gone

    def send(self, text):
        try:
            self.process.stdin.write(text + "\n")
            self.process.stdin.flush()
        except (BrokenPipeError, OSError, ValueError):
            raise EngineFault("the engine's input is closed")

    def read(self, deadline):
        """The next line before `deadline` (time.monotonic()), None when time ran out."""
        try:
            line = self.lines.get(timeout=max(0.0, deadline - time.monotonic()))
        except queue.Empty:
            return None
        if line is None:
            raise EngineFault("the engine exited")
        return line

    def lines_before(self, deadline):
        """The engine's lines as they come, until `deadline` passes."""
        while True:
            line = self.read(deadline)
            if line is None:
                return
            yield line

    def until(self, predicate, timeout):
        deadline = time.monotonic() + timeout
        while True:
            line = self.read(deadline)
            if line is None:
                raise EngineFault(f"no answer within {timeout:.0f} s")
            if predicate(line):
                return line

    def close(self):
        try:
            self.send("quit")
        except EngineFault:
            pass
        try:
            self.process.wait(timeout=2)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()


class UciEngine(Engine):
    def start(self):
        self.send("uci")
        self.until(lambda line: line == "uciok", START_TIMEOUT)
        for name, value in self.setup["options"]:
            self.send(f"setoption name {name} value {value}")
        self.send("ucinewgame")
        self.send("isready")
        self.until(lambda line: line == "readyok", START_TIMEOUT)

    def think(self, board, opening_fen, moves, clocks, increment, deadline):
        """The engine's move text, or None when `deadline` passed first."""
        position = "startpos" if opening_fen is None else f"fen {opening_fen}"
        self.send(f"position {position}" + (" moves " + " ".join(moves) if moves else ""))
        ms = {side: max(1, int(clocks[side] * 1000)) for side in "wb"}
        inc = int(increment * 1000)
        self.send(f"go wtime {ms['w']} btime {ms['b']} winc {inc} binc {inc}")
        self.score = None
        for line in self.lines_before(deadline):
            words = line.split()
            if words[:1] == ["info"] and "score" in words:
                at = words.index("score")
                if at + 2 < len(words) and words[at + 1] in ("cp", "mate"):
                    value = int(words[at + 2])
                    self.score = value if words[at + 1] == "cp" else (100000 if value > 0 else -100000)
            if words[:1] == ["bestmove"]:
                if len(words) < 2:
                    raise EngineFault(f"bestmove without a move: {line!r}")
                return words[1]
        return None


class XboardEngine(Engine):
    def start(self):
        self.features = {}
        self.send("xboard")
        self.send("protover 2")
        deadline = time.monotonic() + 5.0
        while True:  # engines of protocol 1 send no features: they fall silent
            line = self.read(deadline)
            if line is None:
                break
            if line.startswith("feature"):
                for name, value in parse_features(line):
                    self.features[name] = value
                    self.send(f"accepted {name}")
                if self.features.get("done") == "1":
                    break
                if self.features.get("done") == "0":
                    deadline = time.monotonic() + START_TIMEOUT
        self.send("new")
        self.send("random")  # off again in most engines: `new` turns it off, `random` toggles it
        self.send("random")
        self.send("easy")    # no pondering
        self.send("post")
        self.send("force")
        self.sent = 0        # how many of the game's moves the engine knows
        self.opening_set = False

    def _move_text(self, move):
        return ("usermove " if self.features.get("usermove") == "1" else "") + move

    def think(self, board, opening_fen, moves, clocks, increment, deadline):
        if not self.opening_set:
            if opening_fen is not None:
                self.send(f"setboard {opening_fen}")
            self.opening_set = True
            base = self.setup["base"]
            self.send(f"level 0 {int(base // 60)}:{int(base % 60):02d} {increment:g}")
        for move in moves[self.sent:]:
            self.send(self._move_text(move))
        self.sent = len(moves)
        us = board.turn
        them = "b" if us == "w" else "w"
        self.send(f"time {max(1, int(clocks[us] * 100))}")
        self.send(f"otim {max(1, int(clocks[them] * 100))}")
        self.send("go")
        self.score = None
        for line in self.lines_before(deadline):
            words = line.split()
            if not words:
                continue
            if len(words) >= 4 and words[0].isdigit() and words[1].lstrip("-").isdigit():
                self.score = int(words[1])  # thinking output: depth score time nodes pv
            if words[0] == "move" and len(words) > 1:
                self.send("force")
                self.sent += 1
                return words[1]
            if words[0] == "resign" or (words[0] == "tellics" and "resign" in words):
                return "resign"
            if words[0] in ("Illegal", "Error"):
                raise EngineFault(f"the engine refused a move: {line!r}")
        return None


def parse_features(line):
    """(name, value) pairs of an xboard `feature` line, quoted values allowed."""
    try:
        words = shlex.split(line[len("feature"):])
    except ValueError:
        return []
    return [tuple(word.split("=", 1)) for word in words if "=" in word]


def parse_engine(text, base):
    setup = {"proto": "uci", "options": [], "base": base}
    for word in shlex.split(text):
        key, _, value = word.partition("=")
        if key.startswith("option."):
            setup["options"].append((key[len("option."):], value))
        else:
            setup[key] = value
    if "cmd" not in setup:
        raise SystemExit(f"engine without cmd=: {text!r}")
    setup.setdefault("name", os.path.basename(shlex.split(setup["cmd"])[0]))
    if setup["proto"] not in ("uci", "xboard"):
        raise SystemExit(f"unknown protocol {setup['proto']!r}")
    return setup


def make_engine(setup):
    return (UciEngine if setup["proto"] == "uci" else XboardEngine)(setup)


def read_openings(path):
    """Each line: a FEN, or moves from the initial position in coordinate notation; `#`
    begins a comment. Every opening is checked by the rules here."""
    openings = []
    with open(path, encoding="utf-8") as file:
        for number, raw in enumerate(file, 1):
            line = raw.split("#", 1)[0].strip()
            if not line:
                continue
            try:
                if "/" in line:
                    board = Board(line)
                    openings.append((line, []))
                else:
                    board = Board()
                    for move in line.split():
                        board.push(move)
                    openings.append((None, line.split()))
            except ValueError as error:
                raise SystemExit(f"{path}:{number}: {error}")
            if board.outcome() is not None:
                raise SystemExit(f"{path}:{number}: the opening ends the game")
    if not openings:
        raise SystemExit(f"{path}: no openings")
    return openings


class Adjudicator:
    """Ends a decided game early by the engines' own scores: a win when both agree for
    `RESIGN_PLIES` plies that one side leads by `RESIGN_CP`; a draw from ply `DRAW_FROM` on
    when both scores stay within `DRAW_CP` of zero for `DRAW_PLIES` plies."""
    RESIGN_CP, RESIGN_PLIES = 700, 8
    DRAW_CP, DRAW_PLIES, DRAW_FROM = 10, 12, 80

    def __init__(self):
        self.white_scores = []

    def add(self, side, score):
        """The mover's score; returns (result, reason) or None."""
        self.white_scores.append(None if score is None else (score if side == "w" else -score))
        recent = self.white_scores[-self.RESIGN_PLIES:]
        if len(recent) == self.RESIGN_PLIES and None not in recent:
            if all(s >= self.RESIGN_CP for s in recent):
                return "1-0", "adjudicated win by the scores"
            if all(s <= -self.RESIGN_CP for s in recent):
                return "0-1", "adjudicated win by the scores"
        recent = self.white_scores[-self.DRAW_PLIES:]
        if (len(self.white_scores) >= self.DRAW_FROM and len(recent) == self.DRAW_PLIES and None not in recent
                and all(abs(s) <= self.DRAW_CP for s in recent)):
            return "1/2-1/2", "adjudicated draw by the scores"
        return None


def play_game(white_spec, black_spec, opening, base, increment, margin, adjudicate=False):
    """Plays one game; returns a dict with result, reason, moves and the fault (if any)."""
    fen, opening_moves = opening
    board = Board(fen) if fen else Board()
    moves = []
    for move in opening_moves:
        board.push(move)
        moves.append(move)
    book = len(moves)
    specs = {"w": white_spec, "b": black_spec}
    engines = {}
    clocks = {"w": base, "b": base}
    adjudicator = Adjudicator() if adjudicate else None
    game = {"white": white_spec["name"], "black": black_spec["name"], "fen": fen, "book": book, "fault": None,
            "think": {"w": [], "b": []}}

    def lose(side, reason, fault=False):
        game["result"] = "0-1" if side == "w" else "1-0"
        game["reason"] = reason
        if fault:
            game["fault"] = f"{specs[side]['name']}: {reason}"

    try:
        for side in "wb":
            try:
                engines[side] = make_engine(specs[side])
                engines[side].start()
            except (EngineFault, OSError) as error:
                lose(side, f"failed to start ({error})", fault=True)
                return finish(game, board, moves)
        while True:
            ending = board.outcome()
            if ending:
                game["result"], game["reason"] = ending
                break
            side = board.turn
            started = time.monotonic()
            deadline = started + clocks[side] + margin
            try:
                text = engines[side].think(board, fen, moves, clocks, increment, deadline)
            except EngineFault as error:
                lose(side, f"crash or protocol fault ({error})", fault=True)
                break
            spent = time.monotonic() - started
            if text is None or spent > clocks[side] + margin:
                lose(side, "loses on time")
                break
            if text == "resign":
                lose(side, "resigns")
                break
            move = board.parse_move(text)
            if move is None:
                lose(side, f"illegal move {text!r}", fault=True)
                break
            clocks[side] = clocks[side] - spent + increment
            game["think"][side].append(spent)
            board.push(move)
            moves.append(move)
            verdict = adjudicator.add(side, engines[side].score) if adjudicator else None
            if verdict and board.outcome() is None:
                game["result"], game["reason"] = verdict
                break
    finally:
        for engine in engines.values():
            engine.close()
    return finish(game, board, moves)


def finish(game, board, moves):
    game["moves"] = moves
    game["plies"] = len(moves)
    return game


def pgn(game, index, round_name):
    board = Board(game["fen"]) if game["fen"] else Board()
    headers = [("Event", "scripts/match.py"), ("Site", "local"), ("Date", time.strftime("%Y.%m.%d")),
               ("Round", round_name), ("White", game["white"]), ("Black", game["black"]),
               ("Result", game["result"]), ("Termination", game["reason"])]
    if game["fen"]:
        headers += [("SetUp", "1"), ("FEN", game["fen"])]
    text = "".join(f'[{key} "{value}"]\n' for key, value in headers) + "\n"
    words = []
    for ply, move in enumerate(game["moves"]):
        if board.turn == "w":
            words.append(f"{board.fullmove}.")
        elif ply == 0:
            words.append(f"{board.fullmove}...")
        words.append(board.san(move))
        if ply == game["book"] - 1:
            words.append("{book}")
        board.push(move)
    words.append(f"{{{game['reason']}}} {game['result']}")
    lines, line = [], ""
    for word in words:
        if len(line) + len(word) + 1 > 79:
            lines.append(line)
            line = word
        else:
            line = f"{line} {word}" if line else word
    lines.append(line)
    return text + "\n".join(lines) + "\n\n"


def elo_of(score):
    return -400 * math.log10(1 / score - 1)


def elo_line(points):
    """The Elo difference of the mean score with its 95 % interval from the games' spread."""
    count, z = len(points), 1.96
    mean = sum(points) / count
    if mean in (0.0, 1.0):
        bound = 1 / (1 + z * z / count)  # Wilson's interval for a score of all: [bound, 1]
        return f"Elo {'above' if mean else 'below'} {elo_of(bound if mean else 1 - bound):+.0f} (95 % bound)"
    deviation = math.sqrt(sum((p - mean) ** 2 for p in points) / count)
    margin = z * deviation / math.sqrt(count)
    end = lambda s: f"{elo_of(s):+.0f}" if 0 < s < 1 else ("+inf" if s >= 1 else "-inf")  # noqa: E731
    return f"Elo {elo_of(mean):+.0f}, 95 % [{end(mean - margin)}, {end(mean + margin)}]"


def sprt_llr(points, elo0, elo1):
    """The log-likelihood ratio of H1 (Elo elo1) against H0 (Elo elo0) in the normal
    approximation of the games' score (as the usual engine-testing frameworks do)."""
    count = len(points)
    mean = sum(points) / count
    variance = sum((p - mean) ** 2 for p in points) / count
    if variance <= 0:
        return 0.0
    s0, s1 = (1 / (1 + 10 ** (-elo / 400)) for elo in (elo0, elo1))
    return count * (s1 - s0) * (2 * mean - s0 - s1) / (2 * variance)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--engine", action="append", required=True, help="key=value words; given twice")
    parser.add_argument("--games", type=int, default=20)
    parser.add_argument("--tc", default="10+0.1", help="seconds per game + increment per move")
    parser.add_argument("--concurrency", type=int, default=1)
    parser.add_argument("--openings", default=DEFAULT_OPENINGS)
    parser.add_argument("--first-opening", type=int, default=0, help="index of the first opening used")
    parser.add_argument("--pgn", help="file the games are appended to")
    parser.add_argument("--sprt", help="ELO0,ELO1: stop when the SPRT (alpha = beta = 0.05) decides")
    parser.add_argument("--margin", type=float, default=0.0, help="ms past a flag before it counts")
    parser.add_argument("--adjudicate", action="store_true",
                        help="end decided games by the engines' scores (see Adjudicator)")
    args = parser.parse_args()
    if len(args.engine) != 2:
        parser.error("give --engine twice")
    base_text, _, inc_text = args.tc.partition("+")
    base, increment = float(base_text), float(inc_text or 0)
    specs = [parse_engine(text, base) for text in args.engine]
    openings = read_openings(args.openings)
    margin = args.margin / 1000
    bounds = None
    if args.sprt:
        elo0, elo1 = (float(x) for x in args.sprt.split(","))
        bounds = (math.log(0.05 / 0.95), math.log(0.95 / 0.05))

    jobs = []
    for index in range(args.games):
        pair, second = divmod(index, 2)
        opening = openings[(args.first_opening + pair) % len(openings)]
        white, black = (specs[0], specs[1]) if second == 0 else (specs[1], specs[0])
        jobs.append((index, white, black, opening, f"{pair + 1}.{second + 1}"))

    first = specs[0]["name"]
    points, wins, draws, losses, faults = [], 0, 0, 0, []
    reasons = {}
    lock = threading.Lock()
    stop = threading.Event()
    # The SPRT's verdict when its LLR first crosses a bound: games still running then are
    # counted in the score but cannot take the verdict back.
    decision = None
    started = time.monotonic()

    def run(job):
        index, white, black, opening, round_name = job
        if stop.is_set():
            return
        game = play_game(white, black, opening, base, increment, margin, args.adjudicate)
        nonlocal wins, draws, losses, decision
        with lock:
            score = {"1-0": 1.0, "0-1": 0.0}.get(game["result"], 0.5)
            if white is not specs[0]:
                score = 1.0 - score
            points.append(score)
            wins += score == 1.0
            draws += score == 0.5
            losses += score == 0.0
            reasons[game["reason"].split(" (")[0]] = reasons.get(game["reason"].split(" (")[0], 0) + 1
            if game["fault"]:
                faults.append(f"game {round_name}: {game['fault']}")
            if args.pgn:
                with open(args.pgn, "a", encoding="utf-8") as file:
                    file.write(pgn(game, index, round_name))
            average = {side: sum(t) / len(t) if t else 0.0 for side, t in game["think"].items()}
            print(f"game {round_name:>6} {game['white']} - {game['black']}: {game['result']} ({game['reason']}, "
                  f"{game['plies']} plies, {average['w']:.2f}/{average['b']:.2f} s/move)  "
                  f"{first}: +{wins} ={draws} -{losses}", flush=True)
            if bounds:
                llr = sprt_llr(points, elo0, elo1)
                if decision is None and (llr <= bounds[0] or llr >= bounds[1]):
                    decision = ("H1 accepted" if llr >= bounds[1] else "H0 accepted", len(points), llr)
                    stop.set()

    with ThreadPoolExecutor(max_workers=max(1, args.concurrency)) as pool:
        list(pool.map(run, jobs))

    count = len(points)
    print(f"\n{first} against {specs[1]['name']}, {args.tc} per game, {count} games in "
          f"{time.monotonic() - started:.0f} s")
    if count:
        print(f"W/D/L {wins}/{draws}/{losses}, score {sum(points):g}/{count} ({100 * sum(points) / count:.1f} %), "
              f"{elo_line(points)}")
        print("endings: " + ", ".join(f"{reason} {n}" for reason, n in sorted(reasons.items())))
    if bounds and count:
        llr = sprt_llr(points, elo0, elo1)
        line = f"SPRT [{elo0:g}, {elo1:g}]: LLR {llr:.2f} (bounds {bounds[0]:.2f}, {bounds[1]:.2f}), "
        if decision:
            verdict, at, llr_then = decision
            line += f"{verdict} at game {at} (LLR {llr_then:.2f})"
        else:
            line += "undecided"
        print(line)
    for fault in faults:
        print("FAULT " + fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
