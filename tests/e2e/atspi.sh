#!/usr/bin/env bash
# The real game window read as a screen reader reads it: under its own Xvfb,
# on a private session bus with the accessibility bus started as a desktop
# with a screen reader starts it (org.a11y.Status IsEnabled), read and played
# through AT-SPI by atspi_read.py. Usage: atspi.sh NUBBO
set -u
game=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xvfb.sh"
start_xvfb || exit 1
# Nothing of the caller's accessibility setup: its bus, or a forced bridge.
unset AT_SPI_BUS_ADDRESS QT_ACCESSIBILITY QT_LINUX_ACCESSIBILITY_ALWAYS_ON NO_AT_BRIDGE

# Inside the private session bus; it ends with it.
session() {
  local launcher status
  /usr/libexec/at-spi-bus-launcher --launch-immediately --a11y=1 >/dev/null 2>&1 &
  launcher=$!
  NUBBO_SEED=274 "$game" 2>"$XDG_RUNTIME_DIR/game.err" &
  GAME_PID=$!
  WIN=$(timeout 30 xdotool search --sync --onlyvisible --name '完全NUBBO方塊版' | head -1)
  # The keys go to the window with the focus (with no window manager, none
  # has it until given it), so the focus is checked before a key is sent.
  for _ in $(seq 50); do
    [[ -n $WIN ]] && xdotool windowfocus "$WIN" 2>/dev/null
    [[ -n $WIN && $(xdotool getwindowfocus 2>/dev/null) == "$WIN" ]] && break
    sleep 0.1
  done
  if [[ -z $WIN || $(xdotool getwindowfocus 2>/dev/null) != "$WIN" ]]; then
    echo "FAILED: the game window did not show or take the focus"
    status=1
  else
    timeout 90 /usr/bin/python3 "$here/atspi_read.py"
    status=$?
  fi
  # Game > Exit ends it cleanly, the bridge still connected (in the
  # sanitizer build, its leak check runs then).
  xdotool key F4
  local ended
  for _ in $(seq 100); do kill -0 "$GAME_PID" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$GAME_PID" 2>/dev/null; then
    echo "FAILED: F4 did not end the game"
    status=1
  else
    wait "$GAME_PID"
    ended=$?
    [[ $ended -eq 0 ]] || {
      echo "FAILED: the game ended with status $ended"
      head -40 "$XDG_RUNTIME_DIR/game.err"
      status=1
    }
  fi
  kill "$GAME_PID" "$launcher" 2>/dev/null
  wait
  return $status
}
export -f session
export game here
# dbus-daemon says so where it may not raise its file limit (a container);
# that line is all it prints.
dbus-run-session -- bash -c session 2> >(grep -v 'fd limit' >&2)
