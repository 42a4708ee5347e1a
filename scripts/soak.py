#!/usr/bin/env python3
"""Soak run: plays whole games by clicks against the engine at depth 2, one after another with
"Neustart", and checks after every engine move that the game file is whole. The person's moves
are random: a random figure of the side to move is picked up and one of the target squares the
board frames for it is clicked, until the rules accept one.

Usage: scripts/soak.py EXE WORKDIR [MOVES]   (default 200 moves of the person)
Prints the program's resident memory at the start and at the end.
"""
import random
import sys
import time

from chess_session import QUEEN_BUTTON, RESTART_BUTTON, Session, SessionError, all_squares, wait_for

ENGINE_TIMEOUT = 30  # depth 2 answers within a second; silence means the game is over


def whole(text):
    return (text is not None and len(text) == 65 and text[64] in "WS" and "K" in text[:64]
            and "k" in text[:64] and all(c in " BSLTDKbsltdk" for c in text[:64]))


def own_squares(text, side):
    """The squares of the figures of the side to move ('W' or 'S') in a position text."""
    return [s for s, c in zip(all_squares(), text) if c != " " and (c.isupper() == (side == "W"))]


def person_moves(session, view, text, rng):
    """Picks up random figures and clicks the targets the board frames for them until the
    rules accept a move (a target that leaves the king in check is framed but refused).
    False: no figure of the side to move has an accepted move."""
    side = text[64]
    candidates = own_squares(text, side)
    rng.shuffle(candidates)
    for number, square in enumerate(candidates):
        session.click_square(view, square)
        targets = view.framed_targets(session.screenshot("picked-up"))
        if not targets:
            # Clicking another figure of one's own is refused and drops this one.
            session.click_square(view, candidates[(number + 1) % len(candidates)])
            continue
        letter = text[all_squares().index(square)]
        promotes = letter.lower() == "b" and square[1] == ("7" if letter == "B" else "2")
        rng.shuffle(targets)
        for attempt, target in enumerate(targets):
            if attempt > 0:
                session.click_square(view, square)  # the refused move dropped the figure
            if promotes:
                session.click(QUEEN_BUTTON)
            session.click_square(view, target)
            if view.occupant(session.screenshot("after-click"), square) != side:
                return True
    return False


INITIAL_POSITION = "TSLDKLST" + "B" * 8 + " " * 32 + "b" * 8 + "tsldklst" + "W"


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
        text, played, answered, games = INITIAL_POSITION, 0, 0, 1
        started = time.monotonic()
        while played < moves:
            if not person_moves(session, view, text, rng):
                if text == INITIAL_POSITION:
                    raise SessionError("no move accepted in the initial position")
                print(f"game {games} over after {played} moves of the person; "
                      f"chess.exe uses {session.memory_kb()} KB", flush=True)
                session.click(RESTART_BUTTON)  # the game is over: the next one
                text, games = INITIAL_POSITION, games + 1
                continue
            played += 1
            try:
                wait_for(lambda n=answered + 1: session.read_game_file(n) is not None, ENGINE_TIMEOUT,
                         f"engine move {answered + 1}")
            except SessionError:
                text = None  # the person's move ended the game: the engine has no move
            else:
                answered += 1
                text = session.read_game_file()
                if not whole(text) or text != session.read_game_file(answered):
                    raise SessionError(f"damaged game file after engine move {answered}: {text!r}")
            if text is None:
                print(f"game {games} won by the person after {played} moves; "
                      f"chess.exe uses {session.memory_kb()} KB", flush=True)
                session.click(RESTART_BUTTON)
                text, games = INITIAL_POSITION, games + 1
        end_memory = session.memory_kb()
        session.close()
    print(f"{played} moves of the person and {answered} of the engine in {games} games, "
          f"{time.monotonic() - started:.0f} s; every saved position whole; resident memory of "
          f"chess.exe {start_memory} KB at the start, {end_memory} KB at the end")
    return 0


if __name__ == "__main__":
    sys.exit(main())
