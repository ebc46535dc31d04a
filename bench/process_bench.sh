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
source "$(dirname "$0")/random_keys.sh"
start_xvfb

# CPU time of every thread of a process in nanoseconds, from the scheduler's
# own accounting (finer than the 10 ms ticks of /proc/PID/stat).
cpu_ns() { cat /proc/"$1"/task/*/schedstat | awk '{n += $1} END {print n}'; }
# CPU time between two readings as a share of one core.
percent() { awk -v t0="$1" -v t1="$2" -v s0="$3" -v s1="$4" \
  'BEGIN {print (t1 - t0) / 1e9 / (s1 - s0) * 100}'; }
median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2 ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2)}'; }

startups=() idles=() plays=() peaks=()
for run in $(seq "$runs"); do
  startups+=("$("$build/bench/first_frame" "$game")")

  "$game" 2>/dev/null &
  pid=$!
  GAME_PID=$pid
  win=$(xdotool search --sync --onlyvisible --name '完全NUBBO方塊版' | head -1)
  sleep 2
  t0=$(cpu_ns $pid); s0=$(date +%s.%N)
  sleep "$idle"
  t1=$(cpu_ns $pid); s1=$(date +%s.%N)
  idles+=("$(percent "$t0" "$t1" "$s0" "$s1")")

  # A game with random keys: a key about every 150 ms, New again now and then.
  random_keys "$play"
  xdotool windowfocus --sync "$win" 2>/dev/null
  xdotool key F2
  t0=$(cpu_ns $pid); s0=$(date +%s.%N)
  xdotool key --delay 150 "${keys[@]}" 2>/dev/null
  t1=$(cpu_ns $pid); s1=$(date +%s.%N)
  plays+=("$(percent "$t0" "$t1" "$s0" "$s1")")
  peaks+=("$(awk '/VmHWM/ {print $2 / 1024}' "/proc/$pid/status")")
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
