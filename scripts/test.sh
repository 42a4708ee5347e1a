#!/usr/bin/env bash
# Installs what is missing, builds every preset and runs every test: the Windows build under
# Wine with a minute of fuzzing the XML parser beside it, then natively with AddressSanitizer
# and UndefinedBehaviorSanitizer, and the thread tests with ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

# Each step's heading, after the time the step before it took (ctest gives the last one's).
step_name=""
step() {
  [ -z "$step_name" ] || echo "== $step_name took $((SECONDS - step_started)) s"
  step_name="$*"
  step_started=$SECONDS
  echo "== $step_name"
}

step "Installing what is missing"
scripts/install-deps.sh

for preset in native native-tsan windows release; do
  step "Building preset $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

# The Windows programs of one build share a Wine prefix, and so Wine's desktop: they share one
# display too, as on a real Windows, rather than each bringing its own. ctest keeps one Wine
# server per prefix for the run (scripts/wine-prefix.sh says why) and ends them when it is done;
# when the run is interrupted, the exit here ends them. The Windows tests mostly wait on Wine
# and on the program's windows, so the fuzzer, which keeps one core busy, runs beside them.
step "Testing preset windows, fuzzing the XML parser beside it"
# shellcheck source=virtual-display.sh
. scripts/virtual-display.sh
start_virtual_display
fuzz_log="build/fuzz-xml.log"
# A session of its own, so that an interrupted run ends the fuzzer with its script.
setsid scripts/fuzz-xml.sh 60 >"$fuzz_log" 2>&1 &
fuzzer=$!
trap 'kill -- "-$fuzzer" 2>/dev/null || true; scripts/wine-servers.sh end build/windows; stop_virtual_display' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
windows_status=0
ctest --preset windows || windows_status=$?
fuzz_status=0
wait "$fuzzer" || fuzz_status=$?
cat "$fuzz_log"

for preset in native-tsan native; do
  step "Testing preset $preset"
  ctest --preset "$preset"
done

[ "$windows_status" -eq 0 ] || { echo "The Windows tests failed (ctest exit status $windows_status)"; exit 1; }
[ "$fuzz_status" -eq 0 ] || { echo "Fuzzing the XML parser found a fault"; exit 1; }
