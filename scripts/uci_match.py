#!/usr/bin/env python3
"""Games of chess-uci against Fairy-Max, played by xboard in match mode on a virtual display,
with polyglot between xboard and the UCI engine.

Usage: scripts/uci_match.py ENGINE [--games N] [--tc MIN:SEC] [--inc SEC] [--workdir DIR]
                            [--timeout SEC] [--check]

Prints one line per game and the engine's score. With --check it exits with 1 when chess-uci
did something wrong: a game without a result, or one it lost other than by being mated (an
illegal move, a loss on time, a crash or a disconnection). How well it played is no fault:
a loss by mate, a draw however xboard words it ("Xboard adjudication: long game" at the move
limit, say) and a win however the opponent lost it all pass, so the check holds however slowly
a loaded machine or a sanitizer build searches. The whole run is bounded by --timeout (by
default what the clocks of the games can take at most, and as much again for the programs'
own work); the games, polyglot's log and xboard's debug output stay in the work folder
(default: a new temporary one).

xboard reads the user's settings file through its system-wide configuration, from the home
directory of the account rather than from HOME. Every option the match depends on is given on
the command line, which xboard reads last, and it saves no settings. The harness does not wait
for xboard to leave: once the games it asked for are recorded, it ends xboard, polyglot and the
engines itself.
"""
import argparse
import os
import re
import select
import signal
import subprocess
import sys
import tempfile
import time

GAMES_DIR = "/usr/games"  # where Debian puts xboard, polyglot and fairymax
ENGINE_NAME = "vek chess-uci"
# The one way to lose by the rules, as xboard words it in the game's last comment; every other
# loss (an illegal move, the flag, a crash, a disconnection) is the engine's fault.
LOST_BY_MATE = re.compile(r"checkmate|mates", re.IGNORECASE)
MOVE_LIMIT = 120  # moves after which xboard calls a game drawn


def start_display(workdir):
    """A virtual X display of its own; Xvfb picks a free number itself (-displayfd), so that
    runs side by side never race for one. Returns the process and the display name."""
    read_end, write_end = os.pipe()
    display = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                                "-nolisten", "tcp"], pass_fds=(write_end,),
                               stdout=open(os.path.join(workdir, "xvfb.log"), "w"), stderr=subprocess.STDOUT,
                               start_new_session=True)
    os.close(write_end)
    number = read_line(read_end, 10)  # up to 10 s for the server to listen
    os.close(read_end)
    if not number:
        stop(display)
        raise RuntimeError("no virtual X display could be started")
    return display, ":" + number


def read_line(fd, timeout):
    """The first line written to a pipe, without its end; empty when none comes in time (the
    writer may send it in pieces, and fails if the pipe closes before the line is whole)."""
    deadline = time.monotonic() + timeout
    text = b""
    while not text.endswith(b"\n") and time.monotonic() < deadline:
        ready, _, _ = select.select([fd], [], [], max(0.0, deadline - time.monotonic()))
        piece = os.read(fd, 64) if ready else b""
        if not piece:
            break
        text += piece
    return text.decode().strip() if text.endswith(b"\n") else ""


def stop(process):
    """Ends a process and everything it started (it leads a session of its own)."""
    if process.poll() is None:
        try:
            os.killpg(process.pid, signal.SIGTERM)
            process.wait(10)
        except (ProcessLookupError, subprocess.TimeoutExpired):
            try:
                os.killpg(process.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            process.wait()


def xboard_command(engine, args, workdir):
    polyglot = (f"{GAMES_DIR}/polyglot -noini -ec {engine} -ed {os.path.dirname(engine)} "
                f"-log true -lf {workdir}/polyglot.log")
    return [f"{GAMES_DIR}/xboard",
            "-fcp", polyglot, "-fd", workdir,
            "-scp", f"{GAMES_DIR}/fairymax", "-sd", workdir,
            "-matchMode", "true", "-matchGames", str(args.games),
            "-tc", args.tc, "-inc", str(args.inc), "-autoCallFlag", "true",
            "-adjudicateDrawMoves", str(MOVE_LIMIT),
            # What a settings file could otherwise change: no pop-up waits for a click, neither
            # engine thinks on the other's time, and xboard judges by the rules alone.
            "-popupExitMessage", "false", "-popupMoveErrors", "false", "-ponderNextMove", "false",
            "-testLegality", "true", "-checkMates", "true", "-testClaims", "true",
            "-adjudicateLossThreshold", "0", "-trivialDraws", "false",
            "-saveSettingsOnExit", "false", "-saveSettingsFile", os.path.join(workdir, "xboard.settings"),
            "-saveGameFile", os.path.join(workdir, "games.pgn"),
            "-debug", "-nameOfDebugFile", os.path.join(workdir, "xboard.debug")]


def read_games(path):
    """Each game's players, result and closing comment, in order."""
    if not os.path.exists(path):
        return []
    text = open(path, encoding="latin-1").read()
    games = []
    for chunk in re.split(r"(?=\[Event )", text):
        tags = dict(re.findall(r'\[(\w+) "([^"]*)"\]', chunk))
        if not tags:
            continue
        if not chunk.rstrip().endswith(tags.get("Result", "*")):
            continue  # still being written
        comments = re.findall(r"\{([^}]*)\}", chunk)
        games.append({"white": tags.get("White", "?"), "black": tags.get("Black", "?"),
                      "result": tags.get("Result", "*"), "ending": comments[-1] if comments else ""})
    return games


def wait_for_games(xboard, path, count, timeout):
    """Waits until `count` games are recorded or xboard has left; False when `timeout` seconds
    pass first."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if xboard.poll() is not None or len(read_games(path)) >= count:
            return True
        time.sleep(0.5)
    return False


def engine_points(game):
    """The points chess-uci scored in a game, or None for an unfinished one."""
    points = {"1-0": 1.0, "0-1": 0.0, "1/2-1/2": 0.5}.get(game["result"])
    if points is None:
        return None
    return points if game["white"] == ENGINE_NAME else 1.0 - points


def fault_of(game):
    """What chess-uci did wrong in a game, or None."""
    points = engine_points(game)
    if points is None:
        return "no result"
    if points == 0.0 and not LOST_BY_MATE.search(game["ending"]):
        return f"lost by: {game['ending']!r}"
    return None


def longest_match(args):
    """Seconds the games can take by their clocks: each side's time and an increment a move up
    to the move limit. The programs' own work (the display, xboard, the engines' starts)
    comes on top and grows with the machine's load."""
    minutes, _, seconds = args.tc.partition(":")
    base = float(minutes) * 60 + float(seconds or 0)
    return args.games * 2 * (base + MOVE_LIMIT * args.inc)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("engine")
    parser.add_argument("--games", type=int, default=10)
    parser.add_argument("--tc", default="1:00", help="xboard's time control per game, MIN:SEC")
    parser.add_argument("--inc", type=float, default=0, help="seconds added after each move")
    parser.add_argument("--workdir")
    parser.add_argument("--timeout", type=float, help="seconds for the whole match")
    parser.add_argument("--check", action="store_true")
    args = parser.parse_args()
    if args.timeout is None:
        args.timeout = 2 * longest_match(args) + 60

    engine = os.path.abspath(args.engine)
    workdir = os.path.abspath(args.workdir or tempfile.mkdtemp(prefix="uci-match-"))
    os.makedirs(workdir, exist_ok=True)
    for stale in ("games.pgn", "polyglot.log", "xboard.debug"):
        if os.path.exists(os.path.join(workdir, stale)):
            os.remove(os.path.join(workdir, stale))

    display, name = start_display(workdir)
    environment = dict(os.environ, DISPLAY=name, HOME=workdir)
    started = time.monotonic()
    timed_out = False
    try:
        with open(os.path.join(workdir, "xboard.log"), "w") as log:
            xboard = subprocess.Popen(xboard_command(engine, args, workdir), cwd=workdir, env=environment,
                                      stdout=log, stderr=subprocess.STDOUT, start_new_session=True)
            try:
                timed_out = not wait_for_games(xboard, os.path.join(workdir, "games.pgn"), args.games, args.timeout)
            finally:
                stop(xboard)
    finally:
        stop(display)

    games = read_games(os.path.join(workdir, "games.pgn"))
    faults = 0
    for number, game in enumerate(games, 1):
        fault = fault_of(game)
        faults += fault is not None
        print(f"game {number}: {game['white']} - {game['black']} {game['result']} {{{game['ending']}}}"
              + (f"  FAULT: {fault}" if fault else ""))
    finished = [points for points in map(engine_points, games) if points is not None]
    wins, draws = finished.count(1.0), finished.count(0.5)
    print(f"chess-uci against Fairy-Max, {args.tc} + {args.inc} s: {len(finished)} games, "
          f"+{wins} ={draws} -{len(finished) - wins - draws}, score {sum(finished)}/{len(finished)} "
          f"({time.monotonic() - started:.0f} s; files in {workdir})")
    if not args.check:
        return 0
    if timed_out:
        print(f"FAILED: the match took longer than {args.timeout} s")
    if len(games) != args.games:
        print(f"FAILED: {len(games)} of {args.games} games were played")
    ok = not timed_out and len(games) == args.games and faults == 0
    print("match check passed" if ok else "match check FAILED")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
