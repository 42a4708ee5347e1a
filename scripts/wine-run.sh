#!/usr/bin/env bash
# Runs a Windows program under Wine; ctest uses it as the cross-compiling emulator.
# Usage: [VEK_WINE_DPI=144] wine-run.sh PREFIX-DIR PROGRAM [ARGS...]
# The Wine prefix is private to the build folder and prepared once; during a test run its server
# is kept for the whole run (scripts/wine-prefix.sh says why). Wine's debug output is off; without
# a display the program gets a virtual X display. When Wine itself fails (it cannot start the
# program, or its client loses the server) this says so and fails, whatever the exit status.
set -euo pipefail

prefix="$1"
shift

here="$(dirname "$0")"
# shellcheck source=wine-prefix.sh
. "$here/wine-prefix.sh"
# shellcheck source=virtual-display.sh
. "$here/virtual-display.sh"

wine_environment "$prefix"
start_virtual_display
prepare_wine_prefix "$prefix"
# A display scaling other than 96 DPI, which Wine reads when a program starts; set before the
# prefix's kept server and its processes start.
if [ -n "${VEK_WINE_DPI:-}" ]; then
  "$(wine_loader)" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$VEK_WINE_DPI" /f \
    </dev/null >/dev/null 2>&1
fi
keep_wine_server "$prefix"

# Wine's own fatal messages, as opposed to the program's output.
wine_failure='^(wine client error|wine: (could not|cannot|failed|Unhandled))'

# The program's standard error passes through a filter that notes Wine's fatal messages; its
# standard input and output are left alone (a console program may be talked to through them).
exec 3>&1
set +e
"$(wine_loader)" "$@" 2>&1 1>&3 3>&- | awk -v pattern="$wine_failure" -v program="$1" '
  { print; fflush() }
  $0 ~ pattern && !seen { seen = $0 }
  END { if (seen) { print "wine-run.sh: Wine failed to run " program ": " seen; exit 1 } }' >&2
statuses=("${PIPESTATUS[@]}")
set -e
exec 3>&-

# A program that Wine failed, but whose status says success, fails all the same.
if [ "${statuses[1]}" -ne 0 ] && [ "${statuses[0]}" -eq 0 ]; then
  exit 125
fi
exit "${statuses[0]}"
