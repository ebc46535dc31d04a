#!/usr/bin/env bash
# Whole-process costs of the real game under Xvfb: start-up to the first frame
# (seen from the X server), CPU while idle before the first game, CPU and peak
# memory while a game is played with random keys. Medians of RUNS runs.
# Usage: process_bench.sh BUILD_DIR   (RUNS, PLAY_SECONDS, IDLE_SECONDS)
set -euo pipefail
build=${1:-build/release}
runs=${RUNS:-5}
play=${PLAY_SECONDS:-30}
idle=${IDLE_SECONDS:-30}
game=$build/ui/nubbo

source "$(dirname "$0")/../tests/e2e/xvfb.sh"
source "$(dirname "$0")/measure.sh"
start_xvfb

startups=() idles=() plays=() peaks=()
for run in $(seq "$runs"); do
  startups+=("$("$build/bench/first_frame" "$game")")

  "$game" 2>/dev/null &
  pid=$!
  GAME_PID=$pid
  win=$(xdotool search --sync --onlyvisible --name '完全NUBBO方塊版' | head -1)
  sleep 2
  idles+=("$(cpu_percent_during $pid sleep "$idle")")
  plays+=("$(play_game $pid "$win" "$play")")
  peaks+=("$(peak_mb $pid)")
  kill $pid; wait $pid 2>/dev/null || true
  GAME_PID=
done

# Each run's figures, for the spread behind the medians.
echo "runs: start-up ms ${startups[*]}; idle % ${idles[*]}; play % ${plays[*]}; peak MB ${peaks[*]}" >&2
printf '| figure | median of %s runs | goal |\n|---|---|---|\n' "$runs"
printf '| start-up, exec to first frame | %.1f ms | <= 100 ms |\n' "$(printf '%s\n' "${startups[@]}" | median)"
printf '| CPU idle before the first game | %.3f %% | <= 0.05 %% |\n' "$(printf '%s\n' "${idles[@]}" | median)"
printf '| CPU while a game runs | %.3f %% | <= 0.3 %% |\n' "$(printf '%s\n' "${plays[@]}" | median)"
printf '| peak resident memory during a game | %.1f MB | <= 40 MB |\n' "$(printf '%s\n' "${peaks[@]}" | median)"
