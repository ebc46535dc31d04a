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
source "$(dirname "$0")/measure.sh"
start_xvfb

# One play: the same game as process_bench.sh plays, from the same seed
# for both builds.
measure() {  # measure NUBBO SEED -> "cpu_percent peak_mb idle_percent"
  start_game "$1"
  sleep 1
  local idle=0
  [[ -n ${IDLE_SECONDS:-} ]] && idle=$(cpu_percent_during "$GAME_PID" sleep "$IDLE_SECONDS")
  echo "$(play_game "$GAME_PID" "$WIN" "$play" "$2") $(peak_mb "$GAME_PID") $idle"
  kill "$GAME_PID"; wait "$GAME_PID" 2>/dev/null || true
  GAME_PID=
}

declare -a old_cpu old_mem new_cpu new_mem old_idle new_idle
for run in $(seq "$runs"); do
  read -r c m i <<<"$(measure "$old" "$run")"; old_cpu+=("$c"); old_mem+=("$m"); old_idle+=("$i")
  read -r c m i <<<"$(measure "$new" "$run")"; new_cpu+=("$c"); new_mem+=("$m"); new_idle+=("$i")
done
if [[ -n ${IDLE_SECONDS:-} ]]; then
  printf '| build | CPU at rest before the first game (%s s) |\n|---|---|\n' "$IDLE_SECONDS"
  printf '| %s | %.3f %% |\n' "$old" "$(printf '%s\n' "${old_idle[@]}" | median)"
  printf '| %s | %.3f %% |\n' "$new" "$(printf '%s\n' "${new_idle[@]}" | median)"
  echo "idle runs: ${old_idle[*]} / ${new_idle[*]}" >&2
fi
oc=$(printf '%s\n' "${old_cpu[@]}" | median) nc=$(printf '%s\n' "${new_cpu[@]}" | median)
om=$(printf '%s\n' "${old_mem[@]}" | median) nm=$(printf '%s\n' "${new_mem[@]}" | median)
printf '| build | CPU while a game runs | peak resident memory |\n|---|---|---|\n'
printf '| %s | %.3f %% | %.1f MB |\n' "$old" "$oc" "$om"
printf '| %s | %.3f %% | %.1f MB |\n' "$new" "$nc" "$nm"
awk -v a="$oc" -v b="$nc" -v c="$om" -v d="$nm" 'BEGIN {printf "| ratio, second to first | %.2f | %.2f |\n", b / a, d / c}'
