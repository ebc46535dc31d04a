#!/usr/bin/env bash
# A short real-window session under valgrind's memcheck: start, New, keys,
# Pause, Exit. No memory errors, no bytes definitely lost.
# Usage: memcheck_window.sh NUBBO
set -u
game=$1
source "$(dirname "$0")/xvfb.sh"
start_xvfb || exit 1
log=$(mktemp)
valgrind --error-exitcode=3 --leak-check=full --errors-for-leak-kinds=definite \
  --show-leak-kinds=definite --suppressions="$(dirname "$0")/valgrind.supp" --log-file="$log" \
  "$game" &
GAME_PID=$!
WIN=$(xdotool search --sync --onlyvisible --name '完全NUBBO方塊版' | head -1)
xdotool windowfocus --sync "$WIN" 2>/dev/null
xdotool key --delay 200 F2 Left Left space Down Right F3 a F2 space Down Down 2>/dev/null
sleep 2
xdotool key F4
wait "$GAME_PID"
status=$?
GAME_PID=
grep -E "ERROR SUMMARY|definitely lost" "$log"
[[ $status -eq 0 ]] || { echo "memcheck failed (status $status)"; grep -A12 'definitely lost in' "$log" | head -60; }
rm -f "$log"
exit $status
