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

with_display() {
  if [ -n "${DISPLAY:-}" ]; then
    "$@"
  else
    xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
  fi
}

mkdir -p "$(dirname "$prefix")"
(
  flock 9
  if [ ! -f "$prefix/.prepared" ]; then
    with_display wineboot --init >/dev/null 2>&1 || true
    wineserver -w || true
    touch "$prefix/.prepared"
  fi
) 9>"$prefix.lock"

# Debian's wine wrapper only adds a warning about the missing 32-bit loader; call the 64-bit one.
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=wine
with_display "$wine" "$@"
