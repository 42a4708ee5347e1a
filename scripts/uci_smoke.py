#!/usr/bin/env python3
"""Talks UCI to the chess-uci program itself, through its standard input and output, as a GUI
would: handshake, a position with moves, a short search, quit. Every answer is awaited within
a bound. Under Wine the program's console I/O is what this checks beyond the protocol tests.

Usage: scripts/uci_smoke.py [LAUNCHER...] PROGRAM   (e.g. scripts/wine-run.sh PREFIX chess-uci.exe)
"""
import os
import queue
import re
import signal
import subprocess
import sys
import threading

# Seconds. The first answer comes after Wine's start, which is slow in a fresh prefix on a
# loaded machine; each later one takes the engine milliseconds, so that a console that stops
# passing lines fails the test soon.
START_TIMEOUT = 120
ANSWER_TIMEOUT = 20


def main():
    program = subprocess.Popen(sys.argv[1:], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                               stderr=subprocess.DEVNULL, text=True, start_new_session=True)
    lines = queue.Queue()
    threading.Thread(target=lambda: [lines.put(line.rstrip("\r\n")) for line in program.stdout], daemon=True).start()

    def send(command):
        program.stdin.write(command + "\n")
        program.stdin.flush()

    def await_line(prefix, timeout=ANSWER_TIMEOUT):
        while True:
            try:
                line = lines.get(timeout=timeout)
            except queue.Empty:
                raise SystemExit(f"FAILED: no line beginning with {prefix!r} within {timeout} s")
            print(line)
            if line.startswith(prefix):
                return line

    try:
        send("uci")
        await_line("uciok", START_TIMEOUT)
        send("isready")
        await_line("readyok")
        send("position startpos moves e2e4 e7e5 g1f3")
        send("go depth 2")
        move = await_line("bestmove ").split()[1]
        # Black's move: from a square of Black's figures, in long algebraic notation.
        if not re.fullmatch(r"([a-h][78]|e5)[a-h][1-8]", move):
            raise SystemExit(f"FAILED: {move!r} is no move of Black's")
        send("quit")
        if program.wait(ANSWER_TIMEOUT) != 0:
            raise SystemExit(f"FAILED: exit code {program.returncode}")
    finally:
        if program.poll() is None:
            os.killpg(program.pid, signal.SIGKILL)
    print("uci smoke test passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
