#!/usr/bin/env bash
# The real game window under Xvfb, driven with real key events (XTEST) and
# read back from the X server. Usage: e2e.sh NUBBO XSHOT
set -u
game=$1 xshot=$2
source "$(dirname "$0")/xvfb.sh"
start_xvfb || exit 1
start_game "$game"

passed=0 failed=0
check() {  # check NAME CONDITION...
  local name=$1
  shift
  if "$@"; then passed=$((passed + 1)); echo "ok: $name"; else failed=$((failed + 1)); echo "FAILED: $name"; fi
}
count() { "$xshot" "$WIN" count "$1" $(($2 + TOP)) "$3" "$4" "$5"; }
# The board as 13 rows of 8 counts of non-white pixels.
cells() { "$xshot" "$WIN" cells 13 $((67 + TOP)); }
# Column and top row of the topmost tile on the board, then the non-white
# counts of the piece's three cells, top first, all from one read:
# e.g. "3 0 450 378 216".
piece() {
  cells | awk '{for (c = 1; c <= 8; c++) n[NR, c] = $c}
    END {for (r = 1; r <= 13; r++) for (c = 1; c <= 8; c++) if (n[r, c] > 0) {
      print c - 1, r - 1, n[r, c], n[r + 1, c], n[r + 2, c]; exit}}'
}

# The first frame: the prompt drawn over the white board.
for _ in $(seq 50); do [[ $(count 8 200 273 81 0000FF) -gt 300 ]] && break; sleep 0.1; done

check "caption" test "$(xdotool getwindowname "$WIN")" = "完全NUBBO方塊版"
check "width 289" test "$(xwininfo -id "$WIN" | awk '/Width:/ {print $2}')" = 289
check "a menu bar above a 508 px client area" test "$TOP" -ge 15 -a "$TOP" -le 40
hints=$(xprop -id "$WIN" WM_NORMAL_HINTS)
size="$(xwininfo -id "$WIN" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w " by " h}')"
check "not resizable: minimum and maximum size are its size" \
  bash -c "grep -q 'minimum size: $size' <<<'$hints' && grep -q 'maximum size: $size' <<<'$hints'"
# The game acts on presses alone, so the window asks the X server for no
# key releases (each would wake the process for nothing) and lets none
# reach a window manager's frame.
events=$(xwininfo -id "$WIN" -events)
wanted=$(sed -n '/wants these events/,/propagate/p' <<<"$events")
check "the window takes key presses, not releases" \
  bash -c "grep -qw KeyPress <<<'$wanted' && ! grep -qw KeyRelease <<<'$wanted'"
check "key releases stop at the window" \
  bash -c "sed -n '/not propagate/,\$p' <<<'$events' | grep -qw KeyRelease"
check "pink background" test "$(count 0 20 10 10 FFC0C0)" -eq 100
check "white board" test "$(count 13 67 256 416 FFFFFF)" -gt 90000
check "blue prompt in the banner" test "$(count 8 200 273 81 0000FF)" -gt 300
# What starting costs: no image plugin of Qt's (the pictures are read as the
# PNG they are), no input method (the game takes no text), no SDL without a
# pad, and not the 17 MB Kai file (the banner's glyphs are compiled in); the
# icon is set by now.
sleep 0.3
check "the start loads no image or input plugin, SDL or installed Kai face" \
  bash -c "! grep -E 'imageformats/|platforminputcontexts/|libSDL2|ukai' /proc/$GAME_PID/maps"
check "the window system has the icon, 16 to 128 pixels" test \
  "$(xprop -id "$WIN" _NET_WM_ICON | grep -o 'Icon ([0-9]* x' | tr -dc '0-9 ')" = \
  " 16  24  32  48  64  128 "

xdotool windowfocus --sync "$WIN" 2>/dev/null
xdotool key F2
sleep 0.2
check "F2 deals a piece into column 3" test "$(piece | cut -d' ' -f1-2)" = "3 0"
xdotool key Left
sleep 0.1
read -r col _ a b c <<<"$(piece)"
check "left arrow moves it to column 2" test "$col" = 2
xdotool key space
sleep 0.1
read -r _ _ x y z <<<"$(piece)"
check "space rotates it ($a $b $c -> $x $y $z)" test "$x $y $z" = "$b $c $a"

read -r _ first _ <<<"$(piece)"
sleep 2
read -r _ second _ <<<"$(piece)"
check "it falls a row per 500 ms ($first -> $second in 2 s)" test $((second - first)) -ge 3 -a $((second - first)) -le 5

xdotool key F3
sleep 0.3
check "F3 shows PAUSE" test "$(count 8 200 273 81 0000FF)" -gt 300
read -r _ first _ <<<"$(piece)"
sleep 1.2
read -r _ second _ <<<"$(piece)"
check "nothing falls while paused" test "$first" = "$second"

xdotool key F4
for _ in $(seq 100); do kill -0 "$GAME_PID" 2>/dev/null || break; sleep 0.1; done
check "F4 ends the process" bash -c "! kill -0 $GAME_PID 2>/dev/null"

# The close box (the window manager's close request) ends it too.
start_game "$game"
sleep 1  # let it take its first frame (slower in the sanitizer build)
"$xshot" "$WIN" close
for _ in $(seq 100); do kill -0 "$GAME_PID" 2>/dev/null || break; sleep 0.1; done
check "the close box ends the process" bash -c "! kill -0 $GAME_PID 2>/dev/null"

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
