#!/usr/bin/env bash
# The game on Wayland: Qt's wayland platform in a private Weston, played with
# real key events, ended with F4. Weston runs as a client of a private Xvfb
# (its X11 back end): its headless back end has no seat, so no key could
# reach the game there, whereas on X11 its seat takes the keys xdotool sends
# and its output is an X window whose pixels xshot reads.
# Usage: wayland.sh NUBBO XSHOT
set -u
game=$1 xshot=$2
source "$(dirname "$0")/xvfb.sh"
start_xvfb || exit 1
# Weston's own socket in the private runtime directory; its log records the
# protocol messages of every client, the window's title among them.
socket=nubbo-test-$$
wlog=$XDG_RUNTIME_DIR/weston.log
weston --backend=x11-backend.so --use-pixman --shell=kiosk-shell.so --no-config \
  --socket="$socket" --width=400 --height=600 --logger-scopes=log,proto --log="$wlog" \
  >/dev/null 2>&1 &
WESTON_PID=$!
trap 'kill "$WESTON_PID" 2>/dev/null; stop_xvfb' EXIT
for _ in $(seq 100); do [[ -S $XDG_RUNTIME_DIR/$socket ]] && break; sleep 0.1; done
output=$(xwininfo -root -children | awk '/"Weston Compositor/ {print $1; exit}')
[[ -S $XDG_RUNTIME_DIR/$socket && -n $output ]] || { echo "Weston did not start"; tail "$wlog"; exit 1; }

# As in a Wayland session: DISPLAY names an X server too (as Xwayland would),
# and the game must keep to Wayland all the same.
err=$(mktemp)
WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland XDG_SESSION_TYPE=wayland "$game" 2>"$err" &
GAME_PID=$!

passed=0 failed=0
check() {  # check NAME CONDITION...
  local name=$1
  shift
  if "$@"; then passed=$((passed + 1)); echo "ok: $name"; else failed=$((failed + 1)); echo "FAILED: $name"; fi
}
blue() { "$xshot" "$output" count 0 0 400 600 0000FF; }
prompt_shown() { [[ $(blue) -gt 300 ]]; }
prompt_gone() { [[ $(blue) -eq 0 ]]; }
titled() { grep -aq 'xdg_toplevel@[0-9]*\.set_title("完全NUBBO方塊版")' "$wlog"; }
until_true() {  # until_true CONDITION...: waits up to 10 s
  for _ in $(seq 100); do "$@" && return 0; sleep 0.1; done
  return 1
}

check "the window reaches Weston with its caption" until_true titled
check "the blue prompt shows" until_true prompt_shown
check "a pink window" test "$("$xshot" "$output" count 0 0 400 600 FFC0C0)" -gt 20000
check "no X11 window" test -z "$(xdotool search --name '完全NUBBO方塊版' 2>/dev/null)"

xdotool windowfocus --sync "$output" 2>/dev/null
xdotool key F2
check "F2 starts a game: the prompt goes" until_true prompt_gone
xdotool key --delay 100 Left space Down Right
xdotool key F3
check "F3 pauses: PAUSE shows" until_true prompt_shown
xdotool key F4
for _ in $(seq 100); do kill -0 "$GAME_PID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$GAME_PID" 2>/dev/null && kill "$GAME_PID"
wait "$GAME_PID"
status=$?
GAME_PID=
check "F4 ends the game with status 0 (got $status)" test "$status" -eq 0
check "nothing on standard error" test ! -s "$err"
[[ -s $err ]] && head -5 "$err"
rm -f "$err"
echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
