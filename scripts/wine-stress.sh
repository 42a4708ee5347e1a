#!/usr/bin/env bash
# Starts a short Windows program many times, two at a time as ctest does, in a brand-new Wine
# prefix, and counts the starts that Wine failed (no output line matching PATTERN, or a non-zero
# status). With --keep the run keeps one persistent server for the prefix, as the test runs do.
# Usage: wine-stress.sh [--keep] WORK-DIR PAIRS PATTERN PROGRAM [ARGS...]
# For example: wine-stress.sh --keep build/windows/stress 100 PASSED \
#                build/windows/tests/foundation/foundation_tests.exe --gtest_filter='StringTest.*'
set -uo pipefail

keep=""
if [ "${1:-}" = "--keep" ]; then keep=1; shift; fi
[ $# -ge 4 ] || { echo "usage: wine-stress.sh [--keep] WORK-DIR PAIRS PATTERN PROGRAM [ARGS...]" >&2; exit 2; }
work="$(realpath -m "$1")"; pairs="$2"; pattern="$3"; shift 3
here="$(dirname "$0")"

rm -rf "$work"
mkdir -p "$work"
[ -z "$keep" ] || "$here/wine-servers.sh" begin "$work"
trap '"$here/wine-servers.sh" end "$work"; WINEPREFIX="$work/wineprefix" wineserver -k 2>/dev/null' EXIT

start() {
  "$here/wine-run.sh" "$work/wineprefix" "$@" >"$work/out.$slot" 2>&1
  echo "status $?" >>"$work/out.$slot"
}
failures=0
for pair in $(seq "$pairs"); do
  slot=a; start "$@" & first=$!
  slot=b; start "$@"
  wait "$first"
  for slot in a b; do
    if ! grep -q -- "$pattern" "$work/out.$slot" || ! grep -qx 'status 0' "$work/out.$slot"; then
      failures=$((failures + 1))
      echo "pair $pair: $(tr '\n' ' ' <"$work/out.$slot" | tail -c 300)"
    fi
  done
done
echo "$failures of $((2 * pairs)) starts failed"
[ "$failures" -eq 0 ]
