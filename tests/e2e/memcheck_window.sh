#!/usr/bin/env bash
# A short real-window session under valgrind's memcheck: start, New, keys,
# Pause, Exit. No memory errors, no bytes definitely lost. It runs twice, with
# no session bus and with a private one (as on a desktop, where Qt's
# accessibility bridge and menu bar connect to it), so that the result does
# not depend on the bus of the machine it runs on.
# Usage: memcheck_window.sh NUBBO
set -u
game=$1
here=$(dirname "$0")
source "$here/xvfb.sh"
start_xvfb || exit 1

# One session; the environment chooses the bus. Prints the summary lines.
session() {
  local log status
  log=$(mktemp)
  valgrind --error-exitcode=3 --leak-check=full --errors-for-leak-kinds=definite \
    --show-leak-kinds=definite --suppressions="$here/valgrind.supp" --log-file="$log" \
    "$game" &
  GAME_PID=$!
  WIN=$(timeout 60 xdotool search --sync --onlyvisible --name '完全NUBBO方塊版' | head -1)
  xdotool windowfocus --sync "$WIN" 2>/dev/null
  xdotool key --delay 200 F2 Left Left space Down Right F3 a F2 space Down Down 2>/dev/null
  sleep 2
  xdotool key F4
  wait "$GAME_PID"
  status=$?
  GAME_PID=
  grep -E "ERROR SUMMARY|definitely lost" "$log"
  [[ $status -eq 0 ]] || { echo "memcheck failed (status $status)"; grep -A14 'definitely lost in' "$log" | head -60; }
  rm -f "$log"
  return $status
}

failed=0
echo "without a session bus:"
session || failed=1
echo "with a private session bus:"
export -f session
export game here
dbus-run-session -- bash -c session 2>/dev/null || failed=1
exit $failed
