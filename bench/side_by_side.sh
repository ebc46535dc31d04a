#!/usr/bin/env bash
# CPU and peak memory of two builds of the game, played in turn under one
# Xvfb with the same random keys, so that a shared machine's drift falls on
# both alike. Prints each build's medians and the ratio of the second to the
# first. Usage: side_by_side.sh OLD_NUBBO NEW_NUBBO   (RUNS, PLAY_SECONDS)
set -euo pipefail
old=$1 new=$2
runs=${RUNS:-5}
play=${PLAY_SECONDS:-20}

source "$(dirname "$0")/../tests/e2e/xvfb.sh"
source "$(dirname "$0")/random_keys.sh"
start_xvfb

cpu_ns() { cat /proc/"$1"/task/*/schedstat | awk '{n += $1} END {print n}'; }
median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2 ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2)}'; }

# One play: a key every 150 ms, the same mix as process_bench.sh.
measure() {  # measure NUBBO SEED -> "cpu_percent peak_mb"
  start_game "$1"
  sleep 1
  RANDOM=$2
  random_keys "$play"
  xdotool windowfocus --sync "$WIN" 2>/dev/null
  xdotool key F2
  local t0 t1 s0 s1
  t0=$(cpu_ns "$GAME_PID"); s0=$(date +%s.%N)
  xdotool key --delay 150 "${keys[@]}" 2>/dev/null
  t1=$(cpu_ns "$GAME_PID"); s1=$(date +%s.%N)
  awk -v t0="$t0" -v t1="$t1" -v s0="$s0" -v s1="$s1" -v kb="$(awk '/VmHWM/ {print $2}' "/proc/$GAME_PID/status")" \
    'BEGIN {printf "%f %f\n", (t1 - t0) / 1e9 / (s1 - s0) * 100, kb / 1024}'
  kill "$GAME_PID"; wait "$GAME_PID" 2>/dev/null || true
  GAME_PID=
}

declare -a old_cpu old_mem new_cpu new_mem
for run in $(seq "$runs"); do
  read -r c m <<<"$(measure "$old" "$run")"; old_cpu+=("$c"); old_mem+=("$m")
  read -r c m <<<"$(measure "$new" "$run")"; new_cpu+=("$c"); new_mem+=("$m")
done
oc=$(printf '%s\n' "${old_cpu[@]}" | median) nc=$(printf '%s\n' "${new_cpu[@]}" | median)
om=$(printf '%s\n' "${old_mem[@]}" | median) nm=$(printf '%s\n' "${new_mem[@]}" | median)
printf '| build | CPU while a game runs | peak resident memory |\n|---|---|---|\n'
printf '| %s | %.3f %% | %.1f MB |\n' "$old" "$oc" "$om"
printf '| %s | %.3f %% | %.1f MB |\n' "$new" "$nc" "$nm"
awk -v a="$oc" -v b="$nc" -v c="$om" -v d="$nm" 'BEGIN {printf "| ratio, second to first | %.2f | %.2f |\n", b / a, d / c}'
