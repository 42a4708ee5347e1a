#!/usr/bin/env bash
# Compares the engine's trial moves per second with Fairy-Max's nodes per second on the same
# middlegame, ROUNDS times:
#   scripts/engine_speed.sh [ROUNDS] [in-turn]
# By default both run at once, each on a core of its own (the machine needs two), so that a
# change of the machine's speed meets both alike; with in-turn, one after the other.
# The engine: chess_bench's one-thread depth-4 search of position 2 (release build). Fairy-Max
# (Debian's fairymax) reaches the position by its 16 moves from the start and thinks to depth 8;
# its rate is the node count of its last thinking line over that line's time.
set -euo pipefail
cd "$(dirname "$0")/.."

rounds=${1:-3}
inTurn=${2:-}
bench=build/release/bench/chess_bench
fairymax=/usr/games/fairymax
if [ ! -x "$bench" ]; then
  cmake --preset release >/dev/null && cmake --build --preset release --target chess_bench >/dev/null
fi
[ -x "$fairymax" ] || { echo "fairymax is missing: apt-get install fairymax" >&2; exit 1; }

# 1.d4 Nf6 2.c4 g6 3.Nc3 Bg7 4.e4 d6 5.Nf3 O-O 6.Be2 e5 7.O-O Nc6 8.d5 Ne7
opening="d2d4 g8f6 c2c4 g7g6 b1c3 f8g7 e2e4 d7d6 g1f3 e8g8 f1e2 e7e5 e1g1 b8c6 d4d5 c6e7"

# Nodes per second of Fairy-Max's last thinking line (columns: depth, score, centiseconds,
# nodes, moves). Its time control is set wide, so that depth 8 is reached.
fairymaxRate() {
  python3 - "$fairymax" $opening <<'PY'
import subprocess, sys
engine = subprocess.Popen([sys.argv[1]], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
commands = ["xboard", "protover 2", "new", "force", *sys.argv[2:], "post", "level 0 60 0", "sd 8", "go"]
engine.stdin.write("\n".join(commands) + "\n")
engine.stdin.flush()
centiseconds = nodes = 0
for line in engine.stdout:
    fields = line.split()
    if line.startswith("move "):
        break
    if len(fields) >= 5 and fields[0].isdigit() and fields[2].isdigit() and fields[3].isdigit():
        centiseconds, nodes = int(fields[2]), int(fields[3])
engine.stdin.write("quit\n")
engine.stdin.close()
engine.wait(timeout=10)
print(round(nodes * 100 / centiseconds) if centiseconds else 0)
PY
}

# The search is repeated for about as long as Fairy-Max thinks, so that the two run beside each
# other, each on its own core, under the same conditions of the machine.
engineRate() {
  "$bench" --benchmark_filter='findBestMove/position:2/depth:4/threads:1' --benchmark_min_time=2.5 2>/dev/null |
    grep -o 'trial_moves/s=[0-9.]*[kMG]*' | sed 's/trial_moves\/s=//' |
    awk '{ v = $1; if (v ~ /M$/) v *= 1e6; else if (v ~ /k$/) v *= 1e3; else if (v ~ /G$/) v *= 1e9; printf "%.0f\n", v }'
}

fmFile=$(mktemp)
trap 'rm -f "$fmFile"' EXIT
for round in $(seq "$rounds"); do
  if [ "$inTurn" = in-turn ]; then
    fairymaxRate >"$fmFile"
    engine=$(engineRate)
  else
    fairymaxRate >"$fmFile" &
    engine=$(engineRate)
    wait
  fi
  fm=$(cat "$fmFile")
  awk -v r="$round" -v e="$engine" -v f="$fm" \
    'BEGIN { printf "round %d: engine %.2f M trial moves/s, Fairy-Max %.2f M nodes/s, ratio %.2f\n", r, e / 1e6, f / 1e6, e / f }'
done
