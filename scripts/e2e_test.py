#!/usr/bin/env python3
"""End-to-end test of chess.exe: started under Wine on a virtual display, with a fresh Wine prefix
and its own temporary folder, and driven with clicks and keys as a person would.

Usage: scripts/e2e_test.py EXE WORKDIR
Screenshots stay in WORKDIR/screens; the closing lines print the measured Stop latency and say
"N passed, N failed".

Each wait's time-out is six times or more the longest that wait took on two shared cores, so it
holds on a machine twice as slow and twice as loaded, and no longer. A window title the program
does not give, a message nobody expects or an ended program stops the run at once: every later
step would only wait out its time-outs.
"""
import os
import sys
import time
import traceback

from chess_session import (BOARD_LEFT, DARK_SQUARE, LIGHT_SQUARE, RESTART_BUTTON, STOP_BUTTON,
                           TURN_BUTTON, WHITE_FIGURE, Session, SessionError, all_squares,
                           differing_pixels, near, occupants_of_position, run, wait_for)

INITIAL_OCCUPANTS = {s: ("W" if s[1] in "12" else "S" if s[1] in "78" else " ") for s in all_squares()}
# Seconds. On two shared cores each of these waits ended within half a second, a start or close
# of the program within two and a half.
ENGINE_TIMEOUT = 10  # an engine move at depth 1 or 2, or the move after "Stop"
START_TIMEOUT = 20  # the program's window after its start, a second start's end
CLOSE_TIMEOUT = 15  # the program's end after Alt+F4
SETTING_TIMEOUT = 10  # a typed depth in the registry (each look is a "wine reg" run)
WINDOW_TITLE = "Chess"
THINKING_TITLE = "Chess - Rechner denkt: Zug "
# The window as the README shows it: at 96 DPI a new start must look so, pixel for pixel, but
# for the blinking caret in the depth field and the running clocks.
DOCUMENTED_SCREENSHOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "docs", "screenshot.png")
CHANGING_PARTS = ((81, 9, 158, 30), (8, 64, 176, 88))


class ProgramStuck(Exception):
    """The program shows a wrong text, a message nobody expects, or has ended: no later step can
    drive it, so the run stops here instead of waiting out every step's time-outs. Not a
    SessionError, which a step may catch to say more about a time-out."""


class CheckedSession(Session):
    """A session that looks at the program's windows whenever it waits: the main window's title
    must be one the program gives it, and no other window of the program may show unless a step
    expects a message."""

    def __init__(self, exe, workdir):
        super().__init__(exe, workdir)
        self.class_name = os.path.basename(exe).lower()  # Wine names a program's windows' class so
        self.messages_expected = False

    def program_windows(self):
        """The ids of the program's visible top-level windows, its message boxes among them."""
        out = run(["xdotool", "search", "--onlyvisible", "--classname", f"^{self.class_name}$"],
                  env=self.env, check=False)
        return out.split()

    def titles(self, windows):
        return [run(["xdotool", "getwindowname", w], env=self.env, check=False).strip() for w in windows]

    def _find_window(self):
        """The main window, once it shows; a window of the program titled otherwise stops the run
        at once rather than when the start's time-out has passed."""
        windows = self.program_windows()
        titles = self.titles(windows)
        if WINDOW_TITLE in titles:
            return windows[titles.index(WINDOW_TITLE)]
        if titles and all(titles):  # Wine may name a window only a moment after showing it
            raise ProgramStuck(f"the program's window is titled {titles!r}, not {WINDOW_TITLE!r}")
        return None

    def start(self, timeout=START_TIMEOUT):
        super().start(timeout)

    def start_again(self, timeout=START_TIMEOUT):
        return super().start_again(timeout)

    def close(self, timeout=CLOSE_TIMEOUT):
        super().close(timeout)

    def check_program(self):
        """Raises ProgramStuck when the running program can no longer be driven."""
        if self.program is None:
            return
        if self.program.poll() is not None:
            raise ProgramStuck(f"the program ended with exit code {self.program.returncode}")
        title = self.window_name()
        if title != WINDOW_TITLE and not title.startswith(THINKING_TITLE):
            raise ProgramStuck(f"the window's title reads {title!r}, not {WINDOW_TITLE!r}")
        others = [w for w in self.program_windows() if w != self.window]
        if others and not self.messages_expected:
            raise ProgramStuck(f"an unexpected window blocks the program: {self.titles(others)!r}")

    def wait(self, predicate, timeout, what, interval=0.2):
        """wait_for, with a look at the program at each round that finds the predicate unmet."""
        def met_or_program_checked():
            result = predicate()
            if not result:
                self.check_program()
            return result
        return wait_for(met_or_program_checked, timeout, what, interval)


class Check:
    """Collects the results of the scenario's steps; a failed step does not hide the next ones,
    unless the program can no longer be driven (ProgramStuck)."""

    def __init__(self, session):
        self.session = session
        self.passed = 0
        self.failed = 0
        self.stuck = False

    def step(self, name, function):
        try:
            function()
        except Exception as error:  # report every failure, then go on with the next step
            self.failed += 1
            self.stuck = isinstance(error, ProgramStuck)
            print(f"FAILED: {name}: {error}")
            if self.stuck:
                print("        the run stops: the program cannot be driven any further")
            traceback.print_exc(limit=3)
            print(f"        screenshots are in {self.session.screens}")
            return False
        self.passed += 1
        print(f"ok: {name}")
        return True


def expect(condition, message):
    if not condition:
        raise SessionError(message)


REPAINT_TIMEOUT = 5  # seconds for the window to show a change


def shows_occupants(session, view, expected, name):
    """Screenshots until the board shows `expected` (square -> 'W', 'S' or ' '), within a bound;
    returns the last screenshot, or raises with the squares that differ."""
    last = {}

    def matches():
        image = session.screenshot(name)
        last["image"] = image
        last["wrong"] = [f"{s}: {view.occupant(image, s)!r} not {expected[s]!r}"
                         for s in all_squares() if view.occupant(image, s) != expected[s]]
        return not last["wrong"]

    try:
        session.wait(matches, REPAINT_TIMEOUT, f"the board of {name}", interval=0.5)
    except SessionError as error:
        raise SessionError(f"{name}: " + ", ".join(last["wrong"][:8])) from error
    return last["image"]


def expect_whole_position(text, side):
    expect(text is not None and len(text) == 65, f"game file holds {len(text or '')} characters, not 65")
    expect(text[64] == side, f"side letter {text[64]!r}, expected {side!r}")
    expect("K" in text[:64] and "k" in text[:64], "a king is missing from the saved position")


def wait_for_engine_move(session, number):
    """Waits until the engine's move number `number` of this run has been saved."""
    session.wait(lambda: session.read_game_file(number) is not None and len(session.read_game_file(number)) == 65,
                 ENGINE_TIMEOUT, f"the numbered copy chess{number}.txt")


def move_list_text_width(image, line):
    """The width covered by dark text pixels in a line of the move list (a 13-pixel line height)."""
    left, top, right = 128 + 3, 136 + 3 + 13 * line, 128 + 152 - 20
    xs = [x for x in range(left, right) for y in range(top, top + 13)
          if sum(image.pixel(x, y)) < 200]
    return (max(xs) - min(xs)) if xs else 0


LONG_GAME_MOVES = 30  # more lines than the move list's 27 rows show
SCROLL_BAR_X = 270  # the middle of the move list's vertical scroll bar
SCROLL_TRACK = (245, 245, 245)  # the bar's track, where the thumb is not


def newest_line_shown(image):
    """Whether a list longer than its box is scrolled to its end, so that the newest line shows on
    its last row: the scroll bar's track shows only between the upper arrow and the thumb, and none
    of it below the thumb, as there would be in a list scrolled one line short."""
    track = [y for y in range(137, 435) if near(image.pixel(SCROLL_BAR_X, y), SCROLL_TRACK, 4)]
    runs = sum(1 for y in track if y - 1 not in track)
    return runs == 1 and track[0] < 137 + 20


def scenario(session, check):
    state = {}

    def first_start():
        session.start()
        view = session.board()
        expect(view.square >= 20, f"square size {view.square} is too small")
        image = shows_occupants(session, view, INITIAL_OCCUPANTS, "initial")
        expect(near(view.square_colour(image, "a8"), LIGHT_SQUARE), "a8 (top left) is not light")
        expect(near(view.square_colour(image, "b8"), DARK_SQUARE), "b8 is not dark")
        # The panel's white background below the (hidden) promotion choice, left of the move list.
        expect(near(image.pixel(60, 400), (255, 255, 255)), "the side panel is not at the left")
        panel_text = sum(1 for x in range(8, 72) for y in range(8, 56) if sum(image.pixel(x, y)) < 200)
        expect(panel_text > 20, "the panel's labels are not drawn")
        differing = differing_pixels(image.path, DOCUMENTED_SCREENSHOT, CHANGING_PARTS)
        expect(differing == 0, f"{differing} pixels differ from docs/screenshot.png")
        state["view"] = view
        state["empty_list"] = move_list_text_width(image, 0)

    def player_move_and_engine_answer():
        view = state["view"]
        session.click_square(view, "e2")
        session.wait(lambda: set(view.framed_targets(session.screenshot("e2-picked-up"))) == {"e3", "e4"},
                     REPAINT_TIMEOUT, "e3 and e4 framed as the targets of e2", interval=0.5)
        session.click_square(view, "e4")
        wait_for_engine_move(session, 1)
        text, copy = session.read_game_file(), session.read_game_file(1)
        expect(text == copy, f"game file {text!r} and first copy {copy!r} differ")
        expect_whole_position(text, "W")
        expect(text[28] == "B", f"e4 holds {text[28]!r}, not the White pawn")
        shows_occupants(session, view, occupants_of_position(text), "after-engine-answer")
        # "1. e2-e4" alone is about 40 pixels wide; with the engine's answer the line is longer.
        session.wait(lambda: move_list_text_width(session.screenshot("move-list"), 0) > 55, REPAINT_TIMEOUT,
                     "the engine's answer in the move list's first line", interval=0.5)

    def second_start_shows_the_first():
        saved = session.read_game_file()
        windows = session.visible_windows("Chess")
        session.start_again()
        expect(session.program.poll() is None, "the first run ended")
        expect(session.visible_windows("Chess") == windows, "a second window appeared")
        expect(session.read_game_file() == saved and session.read_game_file(2) is None,
               "the second start wrote a game file")

    def depth_lands_in_registry():
        session.set_depth(2)
        depth = session.wait(lambda: session.stored_depth(), SETTING_TIMEOUT, "the depth in the registry")
        expect(depth == 2, f"the registry holds depth {depth}, not 2")

    def turn_board():
        session.click(TURN_BUTTON)
        wait_for_engine_move(session, 2)
        text = session.read_game_file()
        expect_whole_position(text, "S")
        view = session.board(turned=True)
        x, y = view.cell("a1")
        expect(x == BOARD_LEFT + 7 * view.square and y == 0, "a1 is not the top-right cell when turned")
        image = shows_occupants(session, view, occupants_of_position(text), "turned")
        expect(near(image.pixel(*view.figure_point("a1")), WHITE_FIGURE), "no White rook drawn top right")
        state["view"] = view

    def stop_deep_search():
        view = state["view"]
        session.set_depth(6)
        expect(session.wait(lambda: session.stored_depth() == 6, SETTING_TIMEOUT, "depth 6 stored"),
               "depth 6 not stored")
        text = session.read_game_file()
        move = next(((f, t) for f, t in (("a7", "a6"), ("h7", "h6"), ("b7", "b6"), ("g7", "g6"))
                     if text[all_squares().index(f)] == "b" and text[all_squares().index(t)] == " "))
        session.click_square(view, move[0])
        session.click_square(view, move[1])
        time.sleep(1.5)  # the engine is now deep in its search
        expect(session.read_game_file(3) is None, "the depth-6 search ended before Stop was pressed")
        clicked = time.monotonic()
        session.click(STOP_BUTTON, settle=0)
        # No look at the program between the rounds here: it would blur the measured latency.
        wait_for(lambda: session.read_game_file(3) is not None, ENGINE_TIMEOUT, "the engine's move after Stop", 0.02)
        state["stop_latency"] = time.monotonic() - clicked
        expect_whole_position(session.read_game_file(), "S")
        print(f"Stop latency: {state['stop_latency'] * 1000:.0f} ms from the click to the saved move")

    def restart():
        session.set_depth(1)
        session.click(RESTART_BUTTON)
        view = session.board(turned=True)
        image = shows_occupants(session, view, INITIAL_OCCUPANTS, "restarted")
        width = move_list_text_width(image, 0)
        expect(width == state["empty_list"], "the move list was not emptied")

    def restore_after_restart():
        saved = session.read_game_file()
        session.close()
        expect(session.read_game_file() == saved, "closing the window changed the game file")
        session.start()
        view = session.board()
        shows_occupants(session, view, occupants_of_position(saved), "restored")
        session.close()

    def newest_move_in_view():
        # White's rook shuttles between g1 and g2 beside its king, where Black's lone king can
        # neither take it nor be stalemated; the engine answers at depth 1.
        for name in os.listdir(session.temp):
            os.remove(os.path.join(session.temp, name))
        position = [" "] * 64
        for square, letter in (("h1", "K"), ("g1", "T"), ("a8", "k")):
            position[all_squares().index(square)] = letter
        with open(session.game_file(), "wb") as saved:
            saved.write(("".join(position) + "W").encode("latin-1"))
        session.start()
        view = session.board()
        for move in range(1, LONG_GAME_MOVES + 1):
            session.click_square(view, "g1" if move % 2 else "g2")
            session.click_square(view, "g2" if move % 2 else "g1")
            wait_for_engine_move(session, move)
        session.wait(lambda: newest_line_shown(session.screenshot("long-move-list")), REPAINT_TIMEOUT,
                     "the newest line on the last row of the move list", interval=0.5)

    def close_while_thinking():
        saved = session.read_game_file()
        session.set_depth(10)
        expect(session.wait(lambda: session.stored_depth() == 10, SETTING_TIMEOUT, "depth 10 stored"),
               "depth 10 not stored")
        view = session.board()
        rook = "g2" if LONG_GAME_MOVES % 2 else "g1"
        session.click_square(view, rook)
        session.click_square(view, "g1" if rook == "g2" else "g2")
        session.wait(lambda: session.window_name().startswith(THINKING_TITLE), REPAINT_TIMEOUT,
                     "the thinking state in the caption")
        time.sleep(1.0)
        expect(session.read_game_file() == saved, "the depth-10 search ended before the window was closed")
        numbered = sorted(os.listdir(session.temp))
        session.close()
        expect(session.read_game_file() == saved, "closing during the search changed the game file")
        expect(sorted(os.listdir(session.temp)) == numbered, "closing during the search wrote a numbered copy")

    def unwritable_save_folder():
        for name in os.listdir(session.temp):
            os.remove(os.path.join(session.temp, name))
        with session.unwritable_temp():
            session.start()
            session.set_depth(1)
            view = session.board()

            def engine_answers(line, start, target):
                session.click_square(view, start)
                session.click_square(view, target)
                # The engine's answer completes the move list's line (see above).
                session.wait(lambda: move_list_text_width(session.screenshot("unsaved"), line) > 55, ENGINE_TIMEOUT,
                             f"the engine's answer in line {line + 1} of the move list", interval=0.5)

            session.messages_expected = True  # the failed save is told in a message box
            try:
                engine_answers(0, "e2", "e4")
                boxes = session.wait(lambda: session.visible_windows("Schach"), REPAINT_TIMEOUT, "the message box")
                time.sleep(1.0)
                expect(len(session.visible_windows("Schach")) == 1, "more than one message box")
                session.close_message(boxes[0])
                engine_answers(1, "d2", "d4")
                time.sleep(3.0)  # time for a second message to appear, which it must not
                expect(session.visible_windows("Schach") == [], "a second message after the next engine move")
                expect(os.listdir(session.temp) == [], "a file was written to the unwritable folder")
                session.close()
            finally:
                session.messages_expected = False

    steps = [("the board is drawn where the geometry puts it", first_start),
             ("e2-e4 by two clicks, the engine answers, both files hold the position",
              player_move_and_engine_answer),
             ("a second start for the same folder shows the first window and ends",
              second_start_shows_the_first),
             ("a depth typed into the field lands in the registry", depth_lands_in_registry),
             ('"Drehen" turns the board and the engine moves for White', turn_board),
             ('"Stop" ends a depth-6 search promptly with a move', stop_deep_search),
             ('"Neustart" sets up the initial position', restart),
             ("a new start restores the last saved position", restore_after_restart),
             ("after more moves than the list shows, its newest line is in view", newest_move_in_view),
             ("closing while the engine thinks stops it and saves nothing", close_while_thinking),
             ("with an unwritable save folder the player is told once and plays on", unwritable_save_folder)]
    for name, function in steps:
        if not check.step(name, function) and (check.stuck or name.startswith("the board is drawn")):
            break  # nothing else can work without a window, or with a program that is stuck
    return state


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    exe, workdir = sys.argv[1], sys.argv[2]
    with CheckedSession(exe, workdir) as session:
        check = Check(session)
        scenario(session, check)
    print(f"{check.passed} passed, {check.failed} failed")
    return 1 if check.failed else 0


if __name__ == "__main__":
    sys.exit(main())
