#!/usr/bin/env bash
# Fall-step timing and key latency, from the timing build of the game under
# Xvfb on an otherwise idle machine. Prints table rows.
# Usage: timing_bench.sh TIMING_BUILD_DIR   (PIECES, default 11)
set -euo pipefail
build=$1
pieces=${PIECES:-11}
source "$(dirname "$0")/../tests/e2e/xvfb.sh"
start_xvfb
log=$(mktemp)
GAME_ERR=$log start_game "$build/ui/nubbo"
xdotool windowfocus --sync "$WIN" 2>/dev/null
# Each round: a new game, a few shifts and rotations, then the piece is left
# to fall its ten steps undisturbed.
for _ in $(seq "$pieces"); do
  xdotool key F2
  sleep 0.2
  xdotool key --delay 60 Left Right space Left space Right
  sleep 5.6
done
xdotool key F4
wait "$GAME_PID" 2>/dev/null || true
GAME_PID=
awk '/^timing fall-steps/ {printf "| fall step, mean of %d steps at 500 ms | %.2f ms (max %.2f ms) | 500 +- 0.5 ms, max <= 503 ms |\n", $3, $5, $7}
     /^timing keys/ {printf "| key to piece painted, repaint requested (%d keys) | median %.3f ms, max %.3f ms | <= 1 ms |\n", $3, $5, $7}' "$log"
rm -f "$log"
