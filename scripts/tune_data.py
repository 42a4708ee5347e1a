#!/usr/bin/env python3
"""Positions for the evaluation's tuner (tune/, `texel-tune`) from games in PGN, such as the
match runner (scripts/match.py) writes: each line `FEN | RESULT`, the game's result.

Usage: scripts/tune_data.py GAMES.pgn... > positions.txt

An empty line follows each game's positions, so that the tuner can hold whole games back.

Only quiet positions are kept, where a static score means something: past the opening's
first 16 plies, the side to move not in check, and neither the move that led there nor the
one played next a capture, a promotion or a check. Games that ended by a crash, an illegal
move or a fault of the runner are left out; games lost on time keep their result (the
position's value did not cause it, but such games are rare).
"""
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from chess_rules import Board, square_of  # noqa: E402

SKIP_PLIES = 16
RESULTS = ("1-0", "0-1", "1/2-1/2")


def games(text):
    """(headers, SAN moves) of each game."""
    for block in re.split(r"\n\s*\n(?=\[)", text.strip()):
        headers = dict(re.findall(r'^\[(\w+) "([^"]*)"\]', block, re.M))
        body = re.sub(r"^\[.*\]$", "", block, flags=re.M)
        body = re.sub(r"\{[^}]*\}", " ", body)
        words = [w for w in body.split() if not re.match(r"^\d+\.+$", w) and w not in RESULTS + ("*",)]
        yield headers, [re.sub(r"^\d+\.+", "", w) for w in words]


def noisy(board, move, san):
    return board.squares[square_of(move[2:4])] is not None or len(move) == 5 or "+" in san or "#" in san \
        or (board.squares[square_of(move[:2])].lower() == "p" and move[0] != move[2])


def positions(headers, sans):
    result = headers.get("Result")
    reason = headers.get("Termination", "")
    if result not in RESULTS or "illegal" in reason or "crash" in reason or "fail" in reason:
        return
    board = Board(headers["FEN"]) if "FEN" in headers else Board()
    quiet_before = False
    for ply, san in enumerate(sans):
        move = board.parse_move(san)
        if move is None:
            print(f"skipped a game: {san!r} is no move in {board.fen()}", file=sys.stderr)
            return
        quiet_next = not noisy(board, move, san)
        if ply >= SKIP_PLIES and quiet_before and quiet_next and not board.in_check():
            yield f"{board.fen()} | {result}"
        quiet_before = quiet_next
        board.push(move)


def main():
    if len(sys.argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    count = 0
    for path in sys.argv[1:]:
        with open(path, encoding="utf-8") as file:
            for headers, sans in games(file.read()):
                for line in positions(headers, sans):
                    print(line)
                    count += 1
                print()  # an empty line ends each game's positions
    print(f"{count} positions", file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main())
