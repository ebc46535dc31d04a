#!/usr/bin/env bash
# The real window under Xvfb for SECONDS (default 600), driven with random
# real key events, New (F2) and Pause (F3), and Exit (F4) at the end. The
# process must stay alive throughout, its resident memory after the first
# minute (or fifth, on short runs) must grow by less than 1 MB, and it must
# write nothing to standard error. Usage: window_soak.sh NUBBO [SECONDS]
set -u
game=$1 seconds=${2:-600}
source "$(dirname "$0")/xvfb.sh"
start_xvfb || exit 1
err=$(mktemp)
GAME_ERR=$err start_game "$game"
xdotool windowfocus --sync "$WIN" 2>/dev/null

rss() { awk '/VmRSS/ {print $2}' "/proc/$GAME_PID/status" 2>/dev/null; }
keys=(Left Right space Down Left Right space Down Up Return a z 5 Escape Tab)
settle=$((seconds >= 120 ? 60 : seconds / 5))
start=$SECONDS rss_start= alive=1 batches=0
xdotool key F2
while ((SECONDS - start < seconds)); do
  batch=()
  for _ in $(seq 20); do
    case $((RANDOM % 60)) in
      0) batch+=(F2) ;; 1) batch+=(F3) ;; *) batch+=("${keys[RANDOM % ${#keys[@]}]}") ;;
    esac
  done
  xdotool key --delay $((RANDOM % 80 + 10)) "${batch[@]}" 2>/dev/null
  batches=$((batches + 1))
  kill -0 "$GAME_PID" 2>/dev/null || { alive=0; break; }
  [[ -z $rss_start ]] && ((SECONDS - start >= settle)) && rss_start=$(rss)
done
rss_end=$(rss)
xdotool key F4
for _ in $(seq 50); do kill -0 "$GAME_PID" 2>/dev/null || break; sleep 0.1; done
exited=1
kill -0 "$GAME_PID" 2>/dev/null && exited=0
GAME_PID=

passed=0 failed=0
result() { if [[ $2 == 1 ]]; then passed=$((passed + 1)); echo "ok: $1"; else failed=$((failed + 1)); echo "FAILED: $1"; fi; }
result "alive for ${seconds}s (${batches} batches of 20 keys)" "$alive"
growth=$(( ${rss_end:-0} - ${rss_start:-0} ))
if [[ ${SOAK_MEMORY_CHECK:-1} == 0 ]]; then
  # The address sanitizer holds freed memory in quarantine: growth says nothing.
  echo "skipped: resident memory (${rss_start:-?} kB -> ${rss_end:-?} kB) under the sanitizers"
else
  result "resident memory ${rss_start:-?} kB after ${settle}s, ${rss_end:-?} kB at the end (+${growth} kB)" \
    "$([[ -n $rss_start && -n $rss_end && $growth -lt 1024 ]] && echo 1)"
fi
result "F4 ends the process" "$exited"
result "nothing on standard error" "$([[ ! -s $err ]] && echo 1)"
[[ -s $err ]] && head -5 "$err"
rm -f "$err"
echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
