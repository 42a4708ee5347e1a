#!/usr/bin/env bash
# Builds chess.exe and starts it under Wine. Installs what is missing on the first run and
# prepares a Wine prefix of its own (quietly: no Mono or Gecko prompts).
# Usage: scripts/run.sh                    start the program on this display
#        scripts/run.sh --screenshot FILE  run it on a virtual display, save a screenshot of its
#                                          window (a fresh game) to FILE and close it again
set -euo pipefail
cd "$(dirname "$0")/.."

screenshot=""
case "${1:-}" in
  "") ;;
  --screenshot)
    [ -n "${2:-}" ] || { echo "usage: scripts/run.sh [--screenshot FILE]" >&2; exit 2; }
    screenshot="$(realpath -m "$2")" ;;
  *) echo "usage: scripts/run.sh [--screenshot FILE]" >&2; exit 2 ;;
esac

scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target chess
exe="$PWD/build/windows/app/chess.exe"

if [ -n "$screenshot" ]; then
  exec python3 scripts/chess_session.py screenshot "$exe" "$screenshot"
fi

if [ -z "${DISPLAY:-}" ]; then
  echo "There is no display to show the window on; run 'scripts/run.sh --screenshot FILE' to run it on a virtual display and save a screenshot instead." >&2
  exit 1
fi

# The same private-prefix runner as the tests use, with the user's own prefix (prepared once).
exec scripts/wine-run.sh "${VEK_CHESS_WINEPREFIX:-$HOME/.local/share/vek-chess/wineprefix}" "$exe"
