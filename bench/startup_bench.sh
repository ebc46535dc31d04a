#!/usr/bin/env bash
# Start-up of the game beside its yardstick, a bare Qt window
# (bench/bare_window), from the same run: each run starts every program in
# turn under one Xvfb, so that a shared machine's drift falls on all alike.
# bench/first_frame gives, for each start:
#   the wall time from exec to the board on screen, seen from the X server;
#   the CPU time the program took up to then, which a loaded machine
#   disturbs far less;
#   its peak resident memory (VmHWM) 1 s after that frame;
# and, in a start of its own, the time from F2 pressed the moment the
# game's window is mapped (the first instant a player could press it) to
# the frame that shows the new game's piece.
# Prints the medians and the game's ratio to the yardstick (memory: the
# difference). Usage: startup_bench.sh BUILD_DIR [OTHER_NUBBO...]   (RUNS,
# default 21: on a shared 2-core machine the ratio of medians of 9 moved by
# 0.05 x between runs of the same two programs, as much as the margin it is
# read against)
set -euo pipefail
build=${1:-build/release}
shift || true
runs=${RUNS:-21}
programs=("$build/bench/bare_window" "$build/ui/nubbo" "$@")

source "$(dirname "$0")/../tests/e2e/xvfb.sh"
source "$(dirname "$0")/measure.sh"
start_xvfb

declare -A walls cpus peaks keys lost
for run in $(seq "$runs"); do
  for k in "${!programs[@]}"; do
    read -r wall cpu peak <<<"$(FIRST_FRAME_CPU=1 FIRST_FRAME_HOLD_MS=1000 \
      "$build/bench/first_frame" "${programs[$k]}")"
    walls[$k]+="$wall " cpus[$k]+="$cpu " peaks[$k]+="$peak "
    [[ $k == 0 ]] && continue
    if key=$(FIRST_FRAME_KEY=1 "$build/bench/first_frame" "${programs[$k]}" 2>/dev/null); then
      keys[$k]+="$key "
    else
      lost[$k]=$((${lost[$k]:-0} + 1))
    fi
  done
done

for k in "${!programs[@]}"; do
  echo "runs of ${programs[$k]}: first frame ms ${walls[$k]}; CPU ms ${cpus[$k]}; peak MB ${peaks[$k]}; first key ms ${keys[$k]:-}" >&2
done
med() { tr ' ' '\n' <<<"$1" | grep . | median; }
w0=$(med "${walls[0]}") c0=$(med "${cpus[0]}") p0=$(med "${peaks[0]}")
printf '| start-up (median of %s alternating runs) | measured | a bare Qt window, same run | goal |\n' "$runs"
echo "|---|---|---|---|"
for k in "${!programs[@]}"; do
  [[ $k == 0 ]] && continue
  w=$(med "${walls[$k]}") c=$(med "${cpus[$k]}") p=$(med "${peaks[$k]}")
  name=${programs[$k]}
  printf '| %s: exec to first frame | %.1f ms | %.1f ms: **%.2f x** | <= 1.05 x |\n' \
    "$name" "$w" "$w0" "$(awk -v a="$w" -v b="$w0" 'BEGIN {print a / b}')"
  printf '| %s: its CPU time to first frame | %.1f ms | %.1f ms: **%.2f x** | - |\n' \
    "$name" "$c" "$c0" "$(awk -v a="$c" -v b="$c0" 'BEGIN {print a / b}')"
  printf '| %s: peak resident memory 1 s after | %.1f MB | %.1f MB: **%+.1f MB** | <= +2 MB |\n' \
    "$name" "$p" "$p0" "$(awk -v a="$p" -v b="$p0" 'BEGIN {print a - b}')"
  printf '| %s: F2 pressed as the window maps, to its piece on screen | %s ms (%s of %s presses not acted on) | - | <= 16.7 ms |\n' \
    "$name" "$( [[ -n ${keys[$k]:-} ]] && printf '%.1f' "$(med "${keys[$k]}")" || echo none)" "${lost[$k]:-0}" "$runs"
done
