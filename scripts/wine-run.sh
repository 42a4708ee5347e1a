#!/usr/bin/env bash
# Runs a Windows program under Wine; ctest uses it as the cross-compiling emulator.
# Usage: [VEK_WINE_DPI=144] wine-run.sh PREFIX-DIR PROGRAM [ARGS...]
# The Wine prefix is private to the build folder and prepared once; Wine's debug output is off;
# without a display the program gets a virtual X display.
set -euo pipefail

prefix="$1"
shift

export WINEPREFIX="$prefix"
export WINEDEBUG=-all
export WINEARCH=win64
# No Mono or Gecko download prompts, since the programs need neither, and no desktop menu
# entries under the user's home folder (winemenubuilder).
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# Without a display the program gets a virtual one.
# shellcheck source=virtual-display.sh
. "$(dirname "$0")/virtual-display.sh"

# Debian's wine wrapper only adds a warning about the missing 32-bit loader; call the 64-bit one.
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=wine

start_virtual_display
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

# A display scaling other than 96 DPI, which Wine reads when a program starts.
if [ -n "${VEK_WINE_DPI:-}" ]; then
  "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$VEK_WINE_DPI" /f >/dev/null 2>&1
fi

status=0
"$wine" "$@" || status=$?
exit "$status"
