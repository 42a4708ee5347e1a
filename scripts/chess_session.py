#!/usr/bin/env python3
"""Runs chess.exe under Wine on a virtual display and drives it as a person would: clicks with
xdotool, screenshots with ImageMagick, the game files and the registry read from outside.

Used by the end-to-end test, the soak run and `scripts/run.sh --screenshot FILE`. Every wait is
bounded; whatever a session starts (X server, Wine server, the program) it also ends.

    scripts/chess_session.py screenshot EXE FILE [DPI]    a screenshot of a fresh start (at 96 DPI
                                                          unless DPI says otherwise), then close
"""
import contextlib
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

WINE = "/usr/lib/wine/wine64" if os.path.exists("/usr/lib/wine/wine64") else "wine"
WINESERVER = "/usr/lib/wine/wineserver" if os.path.exists("/usr/lib/wine/wineserver") else "wineserver"
CONVERT = "/usr/bin/convert"  # the real ImageMagick, not a stand-in earlier on the PATH
IMPORT = "/usr/bin/import"
COMPARE = "/usr/bin/compare"

# The board's colours and geometry, as the program draws them.
LIGHT_SQUARE = (240, 239, 216)
DARK_SQUARE = (212, 187, 4)
WHITE_FIGURE = (190, 178, 118)
BLACK_FIGURE = (110, 47, 47)
TARGET_FRAME = (0, 255, 0)
BOARD_LEFT = 280  # the side panel's width
# Centres of panel controls in client coordinates.
DEPTH_FIELD = (120, 20)
RESTART_BUTTON = (48, 108)
TURN_BUTTON = (136, 108)
STOP_BUTTON = (224, 108)
QUEEN_BUTTON = (8 + 16 + 40, 136 + 128 + 12)


class SessionError(Exception):
    """A step of the session failed; the message says which."""


def wait_for(predicate, timeout, what, interval=0.2):
    """Polls predicate until it returns a true value (returned) or timeout seconds have passed."""
    deadline = time.monotonic() + timeout
    while True:
        result = predicate()
        if result:
            return result
        if time.monotonic() >= deadline:
            raise SessionError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


def run(args, env=None, timeout=60, check=True):
    """Runs a command with a bound; returns its standard output as text."""
    done = subprocess.run(args, env=env, timeout=timeout, check=check,
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    return done.stdout.decode(errors="replace")


class Image:
    """A screenshot as RGB pixels (read through ImageMagick's PPM output)."""

    def __init__(self, path):
        self.path = path
        data = subprocess.run([CONVERT, path, "ppm:-"], check=True, timeout=60,
                              stdout=subprocess.PIPE).stdout
        fields, offset = [], 0
        while len(fields) < 4:  # magic, width, height, maximum
            while data[offset:offset + 1].isspace():
                offset += 1
            end = offset
            while not data[end:end + 1].isspace():
                end += 1
            fields.append(data[offset:end])
            offset = end
        self.width, self.height = int(fields[1]), int(fields[2])
        self.pixels = data[offset + 1:]

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            raise IndexError(f"pixel ({x}, {y}) outside the {self.width}x{self.height} screenshot")
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])


def differing_pixels(path, other, masks=()):
    """The number of pixels in which two pictures differ, leaving out the masked rectangles
    (x0, y0, x1, y1) of both: the parts that change from run to run."""
    drawn = []
    for x0, y0, x1, y1 in masks:
        drawn += ["-draw", f"rectangle {x0},{y0} {x1},{y1}"]
    masked = []
    for index, picture in enumerate((path, other)):
        target = f"{path}.masked{index}.png"
        subprocess.run([CONVERT, picture, "-fill", "black"] + drawn + [target], check=True, timeout=60)
        masked.append(target)
    done = subprocess.run([COMPARE, "-metric", "AE"] + masked + ["null:"], timeout=60,
                          stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    for target in masked:
        os.remove(target)
    try:
        return int(float(done.stderr.decode().split()[0]))
    except (IndexError, ValueError) as error:
        raise SessionError(f"compare could not measure {path}: {done.stderr!r}") from error


def near(colour, expected, tolerance=12):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, expected))


class BoardView:
    """Where the board's squares are in the client area, in the normal or the turned view."""

    def __init__(self, client_width, client_height, turned=False):
        self.square = min((client_width - BOARD_LEFT) // 8, client_height // 8)
        self.turned = turned

    def cell(self, square):
        """The top-left corner of a square's cell, e.g. cell("e2")."""
        c, r = ord(square[0]) - ord("a"), 8 - int(square[1])
        if self.turned:
            c, r = 7 - c, 7 - r
        return BOARD_LEFT + c * self.square, r * self.square

    def centre(self, square):
        x, y = self.cell(square)
        return x + self.square // 2, y + self.square // 2

    def figure_point(self, square):
        """A point that every figure standing on the square fills: low, in the middle."""
        x, y = self.cell(square)
        return x + self.square // 2, y + self.square - max(2, self.square // 14)

    def occupant(self, image, square):
        """'W', 'S' (a White or Black figure), or ' ' for an empty square; None when unclear."""
        colour = image.pixel(*self.figure_point(square))
        for expected, name in ((WHITE_FIGURE, "W"), (BLACK_FIGURE, "S"),
                               (LIGHT_SQUARE, " "), (DARK_SQUARE, " ")):
            if near(colour, expected):
                return name
        return None

    def square_colour(self, image, square):
        x, y = self.cell(square)
        return image.pixel(x + 3, y + 3)

    def framed_targets(self, image):
        """The squares framed in the target colour (the picked-up figure's targets)."""
        found = []
        for square in all_squares():
            x, y = self.cell(square)
            if near(image.pixel(x + self.square // 2, y + 1), TARGET_FRAME, 40):
                found.append(square)
        return found


def all_squares():
    return [c + str(r) for r in range(1, 9) for c in "abcdefgh"]


def occupants_of_position(text):
    """What a 65-character position text puts on each square: 'W', 'S' or ' '."""
    result = {}
    for index, square in enumerate(all_squares()):
        letter = text[index]
        result[square] = " " if letter == " " else ("W" if letter.isupper() else "S")
    return result


class Session:
    """A virtual display, a fresh Wine prefix with its own temporary folder, and the program."""

    def __init__(self, exe, workdir, display=None, dpi=96):
        self.exe = os.path.abspath(exe)
        self.workdir = os.path.abspath(workdir)
        self.prefix = os.path.join(self.workdir, "wineprefix")
        self.temp = os.path.join(self.workdir, "temp")
        self.screens = os.path.join(self.workdir, "screens")
        self.env = dict(os.environ, WINEPREFIX=self.prefix, WINEDEBUG="-all", WINEARCH="win64",
                        WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
        self.xvfb = None
        self.program = None
        self.window = None
        self.shots = 0
        self.dpi = dpi
        if display:
            self.env["DISPLAY"] = display

    # ---- Set-up and tear-down

    def __enter__(self):
        if os.path.isdir(self.temp):  # an earlier run that was killed inside unwritable_temp
            if os.geteuid() == 0:
                run(["chattr", "-i", self.temp], check=False)
            os.chmod(self.temp, 0o755)
        shutil.rmtree(self.workdir, ignore_errors=True)
        for folder in (self.temp, self.screens):
            os.makedirs(folder)
        if "DISPLAY" not in self.env:
            self._start_display()
        run([WINE, "wineboot", "--init"], env=self.env, timeout=180)
        run([WINESERVER, "-w"], env=self.env, timeout=180)
        # One server for the whole session, as in the test runs (scripts/wine-prefix.sh says why),
        # and the prefix's own processes started at once on no output, since they outlive every
        # program of the session; __exit__ ends them.
        quiet = dict(stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run([WINESERVER, "-p"], env=self.env, timeout=60, check=True, **quiet)
        subprocess.run([WINE, "cmd", "/c", "exit"], env=self.env, timeout=180, check=True, **quiet)
        # A Windows program takes TMP and TEMP from the registry, not from the Unix environment.
        windows_temp = "Z:" + self.temp.replace("/", "\\")
        for name in ("TMP", "TEMP"):
            self.reg(["add", r"HKCU\Environment", "/v", name, "/t", "REG_SZ", "/d", windows_temp, "/f"])
        # The display scaling, which Wine reads at a program's start.
        self.reg(["add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(self.dpi), "/f"])
        # A crash ends the program with a backtrace; Wine's crash dialog would wait for a click.
        self.reg(["add", r"HKCU\Software\Wine\WineDbg", "/v", "ShowCrashDialog", "/t", "REG_DWORD", "/d", "0", "/f"])
        return self

    def __exit__(self, *exc):
        with contextlib.suppress(Exception):
            if self.program and self.program.poll() is None:
                self.program.kill()
        with contextlib.suppress(Exception):
            run([WINESERVER, "-k"], env=self.env, timeout=30, check=False)
        if self.xvfb:
            self.xvfb.terminate()
            with contextlib.suppress(Exception):
                self.xvfb.wait(10)
            if self.xvfb.poll() is None:
                self.xvfb.kill()
        return False

    def _start_display(self):
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                                      "-nolisten", "tcp"], pass_fds=(write_end,),
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise SessionError("the virtual display did not start")
        self.env["DISPLAY"] = ":" + number

    def reg(self, args):
        return run([WINE, "reg"] + args, env=self.env, timeout=60, check=False)

    # ---- The program

    def start(self, timeout=60):
        """Starts the program and waits for its window titled "Chess"."""
        self.program = subprocess.Popen([WINE, self.exe], env=self.env, cwd=self.workdir,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.window = wait_for(self._find_window, timeout, 'the window "Chess"')
        wait_for(lambda: self.client_size()[0] > BOARD_LEFT, 10, "the window's size")
        time.sleep(1.0)  # let the first paint finish

    def start_again(self, timeout=60):
        """Starts a second copy of the program for the same temporary folder; returns its exit code
        once it has ended by itself."""
        second = subprocess.Popen([WINE, self.exe], env=self.env, cwd=self.workdir,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            return second.wait(timeout)
        except subprocess.TimeoutExpired as error:
            second.kill()
            second.wait(10)
            raise SessionError(f"the second start did not end within {timeout} s") from error

    def visible_windows(self, title):
        """The ids of the visible windows with exactly that title."""
        out = run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"], env=self.env, check=False)
        return out.split()

    def close_message(self, window, timeout=15):
        """Answers a message box with Return and waits for it to go."""
        run(["xdotool", "key", "--window", window, "Return"], env=self.env)
        wait_for(lambda: window not in self.visible_windows("Schach"), timeout, "the message box to close")

    def _find_window(self):
        out = run(["xdotool", "search", "--onlyvisible", "--name", "^Chess$"], env=self.env, check=False)
        ids = out.split()
        return ids[-1] if ids else None

    def window_name(self):
        return run(["xdotool", "getwindowname", self.window], env=self.env, check=False).strip()

    def client_size(self):
        out = run(["xdotool", "getwindowgeometry", "--shell", self.window], env=self.env)
        values = dict(line.split("=", 1) for line in out.split() if "=" in line)
        return int(values["WIDTH"]), int(values["HEIGHT"])

    def board(self, turned=False):
        return BoardView(*self.client_size(), turned=turned)

    def click(self, point, settle=0.3):
        """Clicks a client point, then gives the program `settle` seconds to act on it."""
        x, y = point
        run(["xdotool", "mousemove", "--window", self.window, str(x), str(y), "click", "1"], env=self.env)
        time.sleep(settle)

    def click_square(self, view, square):
        self.click(view.centre(square))

    def type_text(self, text):
        run(["xdotool", "type", "--delay", "50", text], env=self.env)

    def key(self, *keys):
        run(["xdotool", "key", "--delay", "50"] + list(keys), env=self.env)

    def set_depth(self, depth):
        """Selects the depth field's text and types the new depth, as a person would."""
        self.click(DEPTH_FIELD)
        self.key("End", "shift+Home")
        self.type_text(str(depth))
        time.sleep(0.3)

    def screenshot(self, name):
        """A screenshot of the window's client area, kept in the session's folder."""
        self.shots += 1
        path = os.path.join(self.screens, f"{self.shots:04d}-{name}.png")
        run([IMPORT, "-window", self.window, path], env=self.env)
        return Image(path)

    def close(self, timeout=30):
        """Closes the window with Alt+F4 and waits for the program to end."""
        run(["xdotool", "key", "--window", self.window, "alt+F4"], env=self.env)
        try:
            self.program.wait(timeout)
        except subprocess.TimeoutExpired as error:
            raise SessionError(f"the program did not end within {timeout} s of Alt+F4") from error
        self.program = None
        self.window = None

    def memory_kb(self):
        """The resident memory of the running chess.exe, in KB (0 when not found)."""
        # Wine names the process after the Windows program; the launcher's command line names it too.
        out = run(["pgrep", "-x", "chess.exe"], check=False)
        for pid in out.split():
            with contextlib.suppress(OSError), open(f"/proc/{pid}/status") as status:
                for line in status:
                    if line.startswith("VmRSS:"):
                        return int(line.split()[1])
        return 0

    # ---- The game files and the setting

    @contextlib.contextmanager
    def unwritable_temp(self):
        """Makes the temporary folder unwritable: immutable for root, whom permissions do not
        stop, read-only for anyone else. It is writable again afterwards, whatever happens."""
        as_root = os.geteuid() == 0
        if as_root:
            run(["chattr", "+i", self.temp])
        else:
            os.chmod(self.temp, 0o555)
        try:
            yield
        finally:
            if as_root:
                run(["chattr", "-i", self.temp], check=False)
            else:
                os.chmod(self.temp, 0o755)

    def game_file(self, number=None):
        name = "chess.txt" if number is None else f"chess{number}.txt"
        return os.path.join(self.temp, name)

    def read_game_file(self, number=None):
        with contextlib.suppress(OSError), open(self.game_file(number), "rb") as f:
            return f.read().decode("latin-1")
        return None

    def stored_depth(self):
        out = self.reg(["query", r"HKCU\Software\vek\chess", "/v", "depth"])
        for line in out.splitlines():
            parts = line.split()
            if len(parts) >= 3 and parts[0] == "depth" and parts[1] == "REG_DWORD":
                return int(parts[2], 16)
        return None


def screenshot_command(exe, target, dpi=96):
    """A screenshot of a freshly started program (initial position), then the program is closed."""
    with tempfile.TemporaryDirectory(prefix="chess-shot-") as workdir:
        with Session(exe, workdir, dpi=dpi) as session:
            session.start()
            image = session.screenshot("start")
            session.close()
            shutil.copyfile(image.path, target)
    print(f"Screenshot saved to {target}")


if __name__ == "__main__":
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    if len(sys.argv) in (4, 5) and sys.argv[1] == "screenshot":
        screenshot_command(sys.argv[2], sys.argv[3], int(sys.argv[4]) if len(sys.argv) == 5 else 96)
    else:
        print(__doc__)
        sys.exit(2)
