#!/usr/bin/env python3
"""A Chess960 match between two UCI engines, every move judged by an arbiter engine that
knows Chess960: before each move the arbiter lists the legal moves of the position
(`go perft 1`), and a move not among them loses the game and makes the run fail. The arbiter
also tells check (for mate or stalemate), the position's key (for threefold repetition) and
its FEN (for the fifty-move rule). The start positions are drawn from the 960 by a seed;
half the games give their castling rights in Shredder-FEN (HAha), half in X-FEN (KQkq), and
each start is played once with each engine as White.

Usage:
  scripts/chess960_match.py [--first CMD] [--second CMD] [--arbiter CMD] [--games N]
                            [--tc SECONDS] [--inc SECONDS] [--max-plies N] [--seed N]

CMD is a command line (quoted when it has words). The defaults are two chess-uci of the
release build and Debian's Stockfish as the arbiter. Exit status 1 when a move was illegal
or an engine broke the protocol, crashed or fell silent; a game lost on time or on the board
is the engine's business.
"""
import argparse
import os
import random
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from match import START_TIMEOUT, Engine, EngineFault, UciEngine  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_ENGINE = os.path.join(HERE, "..", "build", "release", "uci", "chess-uci")
ANSWER_MARGIN = 5.0    # seconds beyond its clock before a silent engine is given up
ARBITER_TIMEOUT = 20.0


def chess960_engine(command, name):
    engine = UciEngine({"cmd": command, "name": name, "options": [("UCI_Chess960", "true")]})
    engine.name = name
    engine.start()
    return engine


class Arbiter(Engine):
    def __init__(self, command):
        super().__init__({"cmd": command})
        self.send("uci")
        self.until(lambda line: line == "uciok", START_TIMEOUT)
        self.send("setoption name UCI_Chess960 value true")

    def answer(self, fen, moves, command, last):
        """The lines of the answer to `command` in the position, up to the one beginning with `last`."""
        self.send(f"position fen {fen}" + (" moves " + " ".join(moves) if moves else ""))
        self.send(command)
        lines = []
        for line in self.lines_before(time.monotonic() + ARBITER_TIMEOUT):
            lines.append(line)
            if line.startswith(last):
                return lines
        raise EngineFault(f"the arbiter did not answer {command}")

    def legal_moves(self, fen, moves):
        lines = self.answer(fen, moves, "go perft 1", "Nodes searched")
        return {line.split(":")[0] for line in lines if ": " in line and not line.startswith("Nodes")}

    def describe(self, fen, moves):
        """The FEN, the key and whether the side to move is in check."""
        lines = self.answer(fen, moves, "d", "Checkers:")
        fields = {line.split(":", 1)[0]: line.split(":", 1)[1].strip() for line in lines if ":" in line}
        return fields["Fen"], fields["Key"], fields["Checkers"] != ""


def start_position(number):
    """The back rank of Chess960 start position `number` (0 to 959; 518 is the standard one)."""
    rank = [None] * 8
    number, light = divmod(number, 4)
    rank[2 * light + 1] = "B"
    number, dark = divmod(number, 4)
    rank[2 * dark] = "B"
    number, queen = divmod(number, 6)
    empty = [i for i in range(8) if rank[i] is None]
    rank[empty[queen]] = "Q"
    knights = [(0, 1), (0, 2), (0, 3), (0, 4), (1, 2), (1, 3), (1, 4), (2, 3), (2, 4), (3, 4)][number]
    empty = [i for i in range(8) if rank[i] is None]
    for index in knights:
        rank[empty[index]] = "N"
    for piece, square in zip("RKR", [i for i in range(8) if rank[i] is None]):
        rank[square] = piece
    return "".join(rank)


def start_fen(number, shredder):
    back = start_position(number)
    rooks = [i for i, piece in enumerate(back) if piece == "R"]
    if shredder:
        files = "".join("abcdefgh"[i] for i in reversed(rooks))
        rights = files.upper() + files
    else:
        rights = "KQkq"
    return f"{back.lower()}/pppppppp/8/8/8/8/PPPPPPPP/{back} w {rights} - 0 1"


def is_castling(fen, move):
    """Whether `move` (king takes own rook, as Chess960 writes castling) castles in `fen`."""
    squares = {}
    for row, text in enumerate(fen.split()[0].split("/")):
        column = 0
        for char in text:
            if char.isdigit():
                column += int(char)
            else:
                squares["abcdefgh"[column] + str(8 - row)] = char
                column += 1
    king, rook = squares.get(move[:2], ""), squares.get(move[2:4], "")
    return king in ("K", "k") and rook == ("R" if king == "K" else "r")


def play_game(engines, fen, arbiter, base, increment, max_plies):
    """Plays one game; returns (result, reason, moves, castlings, fault) with fault set for an
    illegal move or a protocol fault."""
    for engine in engines:
        engine.send("ucinewgame")
        engine.send("isready")
        engine.until(lambda line: line == "readyok", START_TIMEOUT)
    clocks = {"w": base, "b": base}
    moves = []
    castlings = 0
    seen = {}
    while True:
        side = len(moves) % 2
        legal = arbiter.legal_moves(fen, moves)
        current_fen, key, in_check = arbiter.describe(fen, moves)
        if not legal:
            if in_check:
                return ("0-1" if side == 0 else "1-0"), "mate", moves, castlings, False
            return "1/2-1/2", "stalemate", moves, castlings, False
        seen[key] = seen.get(key, 0) + 1
        if seen[key] >= 3:
            return "1/2-1/2", "threefold repetition", moves, castlings, False
        if int(current_fen.split()[4]) >= 100:
            return "1/2-1/2", "fifty moves", moves, castlings, False
        if len(moves) >= max_plies:
            return "1/2-1/2", f"adjudicated after {max_plies} plies", moves, castlings, False
        engine = engines[side]
        colour = "wb"[side]
        lost = "0-1" if side == 0 else "1-0"
        started = time.monotonic()
        try:
            move = engine.think(None, fen, moves, clocks, increment, started + clocks[colour] + ANSWER_MARGIN)
        except EngineFault as fault:
            return lost, f"{engine.name}: {fault}", moves, castlings, True
        if move is None:
            return lost, f"{engine.name} fell silent", moves, castlings, True
        clocks[colour] -= time.monotonic() - started
        if clocks[colour] < 0:
            return lost, f"{engine.name} lost on time", moves, castlings, False
        clocks[colour] += increment
        if move not in legal:
            return lost, f"{engine.name} played the illegal move {move}", moves, castlings, True
        castlings += is_castling(current_fen, move)
        moves.append(move)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--first", default=DEFAULT_ENGINE)
    parser.add_argument("--second", default=DEFAULT_ENGINE)
    parser.add_argument("--arbiter", default="/usr/games/stockfish")
    parser.add_argument("--games", type=int, default=6)
    parser.add_argument("--tc", type=float, default=10.0, help="seconds on each clock")
    parser.add_argument("--inc", type=float, default=0.1, help="seconds added per move")
    parser.add_argument("--max-plies", type=int, default=200)
    parser.add_argument("--seed", type=int, default=960)
    args = parser.parse_args()

    arbiter = Arbiter(args.arbiter)
    players = [chess960_engine(args.first, "first"), chess960_engine(args.second, "second")]
    chooser = random.Random(args.seed)
    numbers = [chooser.randrange(960) for _ in range((args.games + 1) // 2)]
    points = 0.0
    faults = 0
    try:
        for game in range(args.games):
            number = numbers[game // 2]
            fen = start_fen(number, shredder=(game // 2) % 2 == 0)
            white, black = (players[0], players[1]) if game % 2 == 0 else (players[1], players[0])
            result, reason, moves, castlings, fault = play_game([white, black], fen, arbiter, args.tc, args.inc,
                                                                args.max_plies)
            faults += fault
            first_white = white is players[0]
            points += {"1-0": 1.0 if first_white else 0.0, "0-1": 0.0 if first_white else 1.0}.get(result, 0.5)
            print(f"game {game + 1}: start {number} ({fen}), {white.name} as White: {result} by {reason}, "
                  f"{len(moves)} plies, {castlings} castlings", flush=True)
    finally:
        for engine in players + [arbiter]:
            engine.close()
    print(f"first engine: {points} of {args.games}; illegal moves or faults: {faults}")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
