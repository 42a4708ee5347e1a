#!/usr/bin/env python3
"""Soak run: plays whole games by clicks against the engine at depth 2 and checks after every
engine move that the game file is whole. The person's moves are random: a random figure of the
side to move is picked up and one of the target squares the board frames for it is clicked.

Usage: scripts/soak.py EXE WORKDIR [MOVES]   (default 200 moves of the person)
Prints the program's resident memory at the start and at the end.
"""
import random
import sys
import time

from chess_session import QUEEN_BUTTON, Session, SessionError, all_squares, wait_for

ENGINE_TIMEOUT = 120


def whole(text):
    return (text is not None and len(text) == 65 and text[64] in "WS" and "K" in text[:64]
            and "k" in text[:64] and all(c in " BSLTDKbsltdk" for c in text[:64]))


def own_squares(text, side):
    """The squares of the figures of the side to move ('W' or 'S') in a position text."""
    return [s for s, c in zip(all_squares(), text) if c != " " and (c.isupper() == (side == "W"))]


def person_moves(session, view, text, rng):
    """Picks up random figures until one has targets, then clicks one of them. False: no move."""
    candidates = own_squares(text, text[64])
    rng.shuffle(candidates)
    for square in candidates:
        session.click_square(view, square)
        targets = view.framed_targets(session.screenshot("picked-up"))
        if not targets:
            session.click_square(view, "a1" if square != "a1" else "h8")  # drops the figure
            continue
        letter = text[all_squares().index(square)]
        if letter.lower() == "b" and square[1] in ("7" if letter == "B" else "2"):
            session.click(QUEEN_BUTTON)
        session.click_square(view, rng.choice(targets))
        return True
    return False


def main():
    if len(sys.argv) not in (3, 4):
        print(__doc__)
        return 2
    exe, workdir = sys.argv[1], sys.argv[2]
    moves = int(sys.argv[3]) if len(sys.argv) == 4 else 200
    rng = random.Random(7)
    with Session(exe, workdir) as session:
        session.start()
        session.set_depth(2)
        start_memory = session.memory_kb()
        view = session.board()
        text = "TSLDKLST" + "B" * 8 + " " * 32 + "b" * 8 + "tsldklst" + "W"
        started = time.monotonic()
        played = 0
        for played in range(1, moves + 1):
            if not person_moves(session, view, text, rng):
                print(f"game over after {played - 1} moves of the person")
                break
            try:
                wait_for(lambda n=played: session.read_game_file(n) is not None, ENGINE_TIMEOUT,
                         f"engine move {played}")
            except SessionError:
                print(f"no engine answer after move {played}: the game is over")
                break
            text = session.read_game_file()
            if not whole(text) or text != session.read_game_file(played):
                raise SessionError(f"damaged game file after engine move {played}: {text!r}")
        end_memory = session.memory_kb()
        session.close()
    print(f"{played} moves in {time.monotonic() - started:.0f} s; resident memory "
          f"{start_memory} KB at the start, {end_memory} KB at the end")
    return 0


if __name__ == "__main__":
    sys.exit(main())
