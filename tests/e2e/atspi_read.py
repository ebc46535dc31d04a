#!/usr/bin/python3
"""Reads the game window as a screen reader does, through AT-SPI, and plays
a known game on it with real keys. Run by atspi.sh, which brings the X
server, the buses and the game (its tiles seeded with NUBBO_SEED).

The seed's pieces, every one left in the spawn column (Down only moves a
piece down, so how fast the keys come changes nothing), make a chain of two
at the second landing, for 26 points, and fill the column to a game over
soon after.
Usage: atspi_read.py WINDOW_ID
"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

CAPTION = "完全NUBBO方塊版"
BOARD = "the board, 8 columns and 13 rows"
CHAIN, CHAIN_SCORE = " 2連扁", "26"

window_id = sys.argv[1]
passed = failed = 0


def check(name, ok, detail=""):
    global passed, failed
    if ok:
        passed += 1
        print(f"ok: {name}")
    else:
        failed += 1
        print(f"FAILED: {name} {detail}".rstrip())


def pump(seconds=0.0):
    """Delivers pending AT-SPI events for up to `seconds`."""
    end = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while True:
        while context.iteration(False):
            pass
        if time.monotonic() >= end:
            return
        time.sleep(0.02)


def wait_for(condition, seconds):
    """Polls `condition` (events delivered in between) until true or timed out."""
    end = time.monotonic() + seconds
    while True:
        pump()
        value = condition()
        if value or time.monotonic() >= end:
            return value
        time.sleep(0.03)


def walk(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def frame():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "nubbo":
            for i in range(app.childCount):
                child = app.getChildAtIndex(i)
                if child is not None and child.name == CAPTION:
                    return child
    return None


def text_of(node):
    if node is None:
        return None
    try:
        return node.queryText().getText(0, -1)
    except NotImplementedError:
        return None


def showing(node):
    if node is None:
        return False
    states = node.getState()
    return states.contains(pyatspi.STATE_SHOWING) and states.contains(pyatspi.STATE_VISIBLE)


def hidden(node):
    """Neither visible nor showing: a screen reader passes it over."""
    if node is None:
        return False
    states = node.getState()
    return not states.contains(pyatspi.STATE_SHOWING) and not states.contains(pyatspi.STATE_VISIBLE)


def find(root, role, name=None):
    for node in walk(root):
        if node.getRole() == role and (name is None or node.name == name):
            return node
    return None


def keys(*names, delay=40):
    subprocess.run(["xdotool", "key", "--delay", str(delay), *names], check=False)


# What the window announces: text changes and name changes, by element name.
announced = []


def heard(event):
    try:
        source = event.source.name
    except Exception:  # the element may be gone already
        source = "?"
    announced.append((event.type, source, event.any_data))


pyatspi.Registry.registerEventListener(
    heard, "object:text-changed", "object:property-change:accessible-name")

window = wait_for(frame, 20)
check("the window is on the accessibility bus", window is not None)
if window is None:
    sys.exit(1)

# The window at rest, with the prompt.
wait_for(lambda: find(window, pyatspi.ROLE_TEXT, "Score") and text_of(
    find(window, pyatspi.ROLE_TEXT, "Score")) == "0", 10)
unnamed = [f"{n.getRoleName()}" for n in walk(window)
           if n.getRole() in (pyatspi.ROLE_INVALID, pyatspi.ROLE_UNKNOWN) or
           (n.childCount == 0 and not n.name)]
check("every control has a role and a name", not unnamed, str(unnamed))
expert = find(window, pyatspi.ROLE_CHECK_BOX)
check("the check box is named 高手", expert is not None and expert.name == "高手")
level = find(window, pyatspi.ROLE_TEXT, "Level")
score = find(window, pyatspi.ROLE_TEXT, "Score")
check("a text named Level reads 1", level is not None and text_of(level) == "1")
check("a text named Score reads 0", score is not None and text_of(score) == "0")
check("both boxes are read-only",
      all(box and box.getState().contains(pyatspi.STATE_READ_ONLY) for box in (level, score)))
captions = [n.name for n in walk(window) if n.getRole() == pyatspi.ROLE_LABEL]
check("the captions are labels saying what they say",
      all(c in captions for c in ("高手", "Level:", "Score:")), str(captions))
board = find(window, pyatspi.ROLE_IMAGE, BOARD)
extents = board.queryComponent().getExtents(pyatspi.WINDOW_COORDS) if board else None
check("the board is an image of 256 x 416 pixels",
      extents is not None and (extents.width, extents.height) == (256, 416), str(extents))
check("the board shows", board is not None and showing(board))
over = find(window, pyatspi.ROLE_LABEL, "GAME OVER")
check("GAME OVER is not showing", hidden(over))
banner = find(window, pyatspi.ROLE_LABEL, "按F2")
check("the banner shows 按F2", banner is not None and showing(banner))

# F2 and the keys of the seeded game, until the chain's banner shows.
subprocess.run(["xdotool", "windowfocus", "--sync", window_id], check=False,
               stderr=subprocess.DEVNULL)
announced.clear()
keys("F2")
check("the prompt goes with F2", wait_for(lambda: hidden(banner), 5))
player = subprocess.Popen(["xdotool", "key", "--delay", "40"] + ["Down"] * 150)
chain = wait_for(lambda: showing(banner) and banner.name == CHAIN, 20)
check(f"the banner shows{CHAIN} after the chain", chain, repr(banner and banner.name))
check(f"the score box reads {CHAIN_SCORE} with it", text_of(score) == CHAIN_SCORE,
      repr(text_of(score)))
check("the level box still reads 1", text_of(level) == "1")
check("the chain was announced as the banner's new name",
      any(t.startswith("object:property-change:accessible-name") and source == CHAIN
          for t, source, _ in announced), str(announced))
check("the score was announced as a text change of Score",
      any(t.startswith("object:text-changed:insert") and source == "Score" and
          data == CHAIN_SCORE for t, source, data in announced), str(announced))

# The column fills up: the game is over.
check("GAME OVER shows when the game is over", wait_for(lambda: showing(over), 20))
player.kill()
player.wait()

print(f"{passed} passed, {failed} failed")
sys.exit(1 if failed else 0)
