#!/usr/bin/env bash
# Runs a Windows program under Wine; ctest uses it as the cross-compiling emulator.
# Usage: wine-run.sh PREFIX-DIR PROGRAM [ARGS...]
# The Wine prefix is private to the build folder and prepared once; Wine's debug output is off;
# without a display the program gets a virtual X display.
set -euo pipefail

prefix="$1"
shift

export WINEPREFIX="$prefix"
export WINEDEBUG=-all
export WINEARCH=win64
# No Mono or Gecko download prompts: the programs need neither.
export WINEDLLOVERRIDES="mscoree,mshtml="

xvfb_pid=""
trap '[ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true' EXIT

# Without a display, starts a virtual one. Xvfb picks a free display number itself and writes
# it to a pipe, so that runs side by side never race for the same number.
ensure_display() {
  [ -z "${DISPLAY:-}" ] || return 0
  local fifo number=""
  fifo="$(mktemp -u "${TMPDIR:-/tmp}/wine-run-display.XXXXXX")"
  mkfifo -m 600 "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  read -r -t 10 number <"$fifo" || true
  rm -f "$fifo"
  if [ -z "$number" ]; then
    echo "wine-run.sh: the virtual display did not start" >&2
    exit 1
  fi
  export DISPLAY=":$number"
}

# Debian's wine wrapper only adds a warning about the missing 32-bit loader; call the 64-bit one.
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=wine

ensure_display
mkdir -p "$(dirname "$prefix")"
# The marker's number goes up whenever the preparation changes, so that old prefixes get it too.
prepared="$prefix/.prepared-2"
(
  flock 9
  if [ ! -f "$prepared" ]; then
    wineboot --init >/dev/null 2>&1 || true
    # A program that crashes ends with Wine's backtrace on stderr; Wine's crash dialog would
    # wait for a click that never comes and hold the test run until its time-out.
    "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
    wineserver -w || true
    touch "$prepared"
  fi
) 9>"$prefix.lock"

status=0
"$wine" "$@" || status=$?
exit "$status"
