# Sourced by the end-to-end scripts: starts a private Xvfb on a free display
# and stops it on exit. Needs no display of its own.
start_xvfb() {
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  local number
  read -r -t 10 number <"$fifo" || { echo "Xvfb did not start" >&2; rm -f "$fifo"; return 1; }
  rm -f "$fifo"
  export DISPLAY=:$number
  # A runtime directory of its own, as a desktop session gives (without it
  # Qt warns on standard error).
  XDG_RUNTIME_DIR=$(mktemp -d)
  chmod 700 "$XDG_RUNTIME_DIR"
  export XDG_RUNTIME_DIR
  # The same Qt on every machine: X11 on this server, whatever desktop the
  # tests are started from (a Wayland session, a Qt theme or style, scaling),
  # and no session bus (an address where none listens, so that libdbus does
  # not start one either).
  unset WAYLAND_DISPLAY XDG_SESSION_TYPE QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE \
    QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR QT_FONT_DPI
  export QT_QPA_PLATFORM=xcb DBUS_SESSION_BUS_ADDRESS=unix:path=$XDG_RUNTIME_DIR/no-bus
  # Qt needs a UTF-8 locale (in the C locale it writes the caption into the
  # legacy WM_NAME as Latin-1, where xdotool cannot find it); a UTF-8 locale
  # of the caller's stands.
  [[ $(locale charmap 2>/dev/null) == UTF-8 ]] || export LC_ALL=C.UTF-8
  trap 'stop_xvfb' EXIT
}

stop_xvfb() {
  [[ -n ${GAME_PID:-} ]] && kill "$GAME_PID" 2>/dev/null
  [[ -n ${XVFB_PID:-} ]] && kill "$XVFB_PID" 2>/dev/null
  wait 2>/dev/null || true
  [[ -n ${XDG_RUNTIME_DIR:-} ]] && rm -rf "$XDG_RUNTIME_DIR"
  return 0
}

# Starts the game and sets GAME_PID, WIN (its window) and TOP (the height of
# the menu bar, where the client area starts).
start_game() {
  "$1" 2>"${GAME_ERR:-/dev/null}" &
  GAME_PID=$!
  WIN=$(xdotool search --sync --onlyvisible --name '完全NUBBO方塊版' | head -1)
  local height
  height=$(xwininfo -id "$WIN" | awk '/Height:/ {print $2}')
  TOP=$((height - 508))
}
