#!/usr/bin/env bash
# Fuzzes the XML parser for a bounded time with AddressSanitizer and UndefinedBehaviorSanitizer.
# Starts from the seed corpus in tests/xml/fuzz/corpus (copied, so the run adds nothing to the
# tree) and fails on any crash, leak, time-out or memory blow-up. Inputs run up to 256 KB, and
# each one may use a few hundred MB at most: enough for any input of that size that costs
# memory in proportion to it, far too little for one that the reading amplifies.
# Usage: scripts/fuzz-xml.sh [SECONDS]   (default 60; VEK_FUZZ_BUILD names the build folder)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
build="${VEK_FUZZ_BUILD:-build/fuzz}"

cmake -S . -B "$build" -G Ninja \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=Debug \
  -DVEK_BUILD_FUZZERS=ON \
  -DVEK_BUILD_TESTS=ON \
  -DVEK_SANITIZERS=address,undefined >/dev/null
cmake --build "$build" --target xml_fuzzer

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/corpus" "$scratch/artifacts"
cp tests/xml/fuzz/corpus/* "$scratch/corpus/"

log="$scratch/fuzz.log"
status=0
# A small quarantine keeps AddressSanitizer's own share of the memory limit small.
ASAN_OPTIONS=detect_leaks=1:quarantine_size_mb=64 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  "$build/tests/xml/xml_fuzzer" "$scratch/corpus" \
  -dict=tests/xml/fuzz/xml.dict \
  -max_total_time="$seconds" -timeout=10 -rss_limit_mb=512 -malloc_limit_mb=256 -max_len=262144 \
  -artifact_prefix="$scratch/artifacts/" -print_final_stats=1 >"$log" 2>&1 || status=$?

runs="$(sed -n 's/^Done \([0-9]*\) runs in \([0-9]*\) second.*/\1 runs in \2 s/p' "$log" | tail -1)"
edges="$(sed -n 's/^#[0-9].* cov: \([0-9]*\) .*/\1/p' "$log" | tail -1)"
peak="$(sed -n 's/^stat::peak_rss_mb: *\([0-9]*\).*/\1/p' "$log" | tail -1)"
if [ "$status" -ne 0 ] || compgen -G "$scratch/artifacts/*" >/dev/null; then
  tail -n 60 "$log"
  mkdir -p "$build/findings"
  cp "$scratch"/artifacts/* "$build/findings/" 2>/dev/null || true
  echo "xml fuzzing: FINDING (exit status $status); inputs kept in $build/findings"
  exit 1
fi
echo "xml fuzzing: no finding, ${runs:-an unknown number of runs}, ${edges:-?} edges covered, peak RSS ${peak:-?} MB"
