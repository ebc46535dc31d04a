#!/usr/bin/python3
"""Reads the game window as a screen reader does, through AT-SPI, and plays
a known game on it with real keys. Run by atspi.sh, which brings the X
server, the buses and the game (its tiles seeded with NUBBO_SEED=274).

That seed's pieces, each left in the spawn column (Down only moves a piece
down, so how fast the keys come changes nothing), make a chain of two at the
second landing, for 26 points, and fill the column to a game over soon after.
The game window has the focus, so that keys reach it.
"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

BOARD = "the board, 8 columns and 13 rows"
CHAIN, CHAIN_SCORE = " 2連扁", "26"
failed = 0


def check(name, ok, detail=""):
    global failed
    failed += not ok
    print(f"ok: {name}" if ok else f"FAILED: {name} {detail}")


def wait_for(condition, seconds):
    """Polls `condition`, delivering AT-SPI events in between, until it
    holds or the time is up; returns its last value."""
    end = time.monotonic() + seconds
    while True:
        while GLib.MainContext.default().iteration(False):
            pass
        value = condition()
        if value or time.monotonic() >= end:
            return value
        time.sleep(0.03)


def walk(node):
    yield node
    for child in node:
        if child is not None:
            yield from walk(child)


def find(role, name=None):
    return next((n for n in walk(window) if n.getRole() == role and
                 (name is None or n.name == name)), None)


def text_of(node):
    return node.queryText().getText(0, -1) if node else None


def shown(node):
    """(visible, showing): both for a label on screen, neither for a hidden one."""
    states = node.getState() if node else None
    return (states.contains(pyatspi.STATE_VISIBLE), states.contains(pyatspi.STATE_SHOWING)) \
        if states else None


def game_window():
    apps = [a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.name == "nubbo"]
    return next((w for a in apps for w in a if w is not None and w.name == "完全NUBBO方塊版"), None)


# What the window announces: text and name changes, with the element's name.
announced = []
pyatspi.Registry.registerEventListener(
    lambda e: announced.append((e.type, e.source.name, e.any_data)),
    "object:text-changed", "object:property-change:accessible-name")

window = wait_for(game_window, 20)
check("the window is on the accessibility bus", window is not None)
if window is None:
    sys.exit(1)

# At rest, the prompt showing.
wait_for(lambda: text_of(find(pyatspi.ROLE_TEXT, "Score")) == "0", 10)
unnamed = [n.getRoleName() for n in walk(window)
           if n.getRole() in (pyatspi.ROLE_INVALID, pyatspi.ROLE_UNKNOWN) or
           (n.childCount == 0 and not n.name)]
check("every control has a role and a name", not unnamed, unnamed)
check("the check box is named 高手", getattr(find(pyatspi.ROLE_CHECK_BOX), "name", None) == "高手")
level, score = find(pyatspi.ROLE_TEXT, "Level"), find(pyatspi.ROLE_TEXT, "Score")
check("texts named Level and Score read 1 and 0", (text_of(level), text_of(score)) == ("1", "0"))
check("both are read-only",
      all(box and box.getState().contains(pyatspi.STATE_READ_ONLY) for box in (level, score)))
labels = [n.name for n in walk(window) if n.getRole() == pyatspi.ROLE_LABEL]
check("the captions are labels saying what they say",
      {"高手", "Level:", "Score:"} <= set(labels), labels)
board = find(pyatspi.ROLE_IMAGE, BOARD)
extents = board.queryComponent().getExtents(pyatspi.WINDOW_COORDS) if board else None
check("the board is an image of its 256 x 416 pixels, showing",
      extents and (extents.width, extents.height) == (256, 416) and shown(board) == (True, True),
      extents)
over, banner = find(pyatspi.ROLE_LABEL, "GAME OVER"), find(pyatspi.ROLE_LABEL, "按F2")
check("GAME OVER is neither visible nor showing", shown(over) == (False, False), shown(over))
check("the banner shows 按F2", shown(banner) == (True, True))

# F2, then Down until the seeded chain shows.
announced.clear()
subprocess.run(["xdotool", "key", "F2"])
check("F2 hides the prompt", wait_for(lambda: shown(banner) == (False, False), 5))
player = subprocess.Popen(["xdotool", "key", "--delay", "40"] + ["Down"] * 150)
check(f"the banner shows{CHAIN} after the chain",
      wait_for(lambda: shown(banner) == (True, True) and banner.name == CHAIN, 20),
      repr(banner and banner.name))
check(f"the score box reads {CHAIN_SCORE}, the level box 1, with it",
      (text_of(score), text_of(level)) == (CHAIN_SCORE, "1"), (text_of(score), text_of(level)))
check("the chain was announced as the banner's new name",
      ("object:property-change:accessible-name", CHAIN) in [a[:2] for a in announced], announced)
check("the score was announced as a text change of Score",
      ("object:text-changed:insert", "Score", CHAIN_SCORE) in announced, announced)

# The column fills up.
check("GAME OVER shows when the game is over",
      wait_for(lambda: shown(over) == (True, True), 20))
player.kill()
player.wait()
sys.exit(1 if failed else 0)
