#!/usr/bin/env bash
# Installs what is missing, builds every preset and runs every test:
# natively with AddressSanitizer and UndefinedBehaviorSanitizer, the thread tests with
# ThreadSanitizer, the Windows build under Wine, and a minute of fuzzing the XML parser.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

for preset in native native-tsan windows release; do
  echo "== Building preset $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

echo "== Fuzzing the XML parser"
scripts/fuzz-xml.sh 60

for preset in native native-tsan; do
  echo "== Testing preset $preset"
  ctest --preset "$preset"
done

# The Windows programs of one build share a Wine prefix, and so Wine's desktop: they share one
# display too, as on a real Windows, rather than each bringing its own. ctest keeps one Wine
# server per prefix for the run (scripts/wine-prefix.sh says why) and ends them when it is done;
# when the run is interrupted, the exit here ends them.
echo "== Testing preset windows"
# shellcheck source=virtual-display.sh
. scripts/virtual-display.sh
start_virtual_display
trap 'scripts/wine-servers.sh end build/windows; stop_virtual_display' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
ctest --preset windows
