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
# display too, as on a real Windows, rather than each bringing its own.
echo "== Testing preset windows"
# shellcheck source=virtual-display.sh
. scripts/virtual-display.sh
start_virtual_display
ctest --preset windows
