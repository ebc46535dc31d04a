#!/usr/bin/env python3
"""Plays whole seeded games in nubbo-sim with a simple scripted player and
checks the board after every landing from what the simulator prints.

Usage: whole_game.py NUBBO_SIM [GAMES]"""
import random
import subprocess
import sys

ROWS, COLS = 13, 8


def script(seed):
    """A player that shifts, rotates and drops at random and otherwise waits."""
    rng = random.Random(seed)
    lines = [f"seed {seed}", f"check1 {seed % 2}", "new"]
    for _ in range(6000):
        lines.append(f"key {rng.choice([37, 39, 32, 40, 37, 39])}")
        lines.append(f"advance {rng.choice([10, 20, 60, 120, 250])}")
        lines.append("show")
    return "\n".join(lines) + "\n"


def runs(board):
    for r in range(ROWS):
        for c in range(COLS):
            t = board[r][c]
            if t not in "012345":
                continue
            for dr, dc in ((0, 1), (1, 0), (1, 1), (1, -1)):
                cells = [(r + k * dr, c + k * dc) for k in range(3)]
                if all(0 <= rr < ROWS and 0 <= cc < COLS and board[rr][cc] == t for rr, cc in cells):
                    return f"run at {r},{c} towards {dr},{dc}"
    return None


def gap(board):
    for c in range(COLS):
        seen_empty = False
        for r in range(ROWS - 1, -1, -1):
            if board[r][c] == ".":
                seen_empty = True
            elif seen_empty:
                return f"gap in column {c}"
    return None


def check(seed, sim):
    out = subprocess.run([sim], input=script(seed), capture_output=True, text=True, check=True).stdout
    lines = out.splitlines()
    cleared_and_bonus, landings, over, faults, k = 0, 0, False, [], 0
    while k < len(lines):
        line = lines[k]
        if line.startswith("pass "):
            combo = int(line.split()[1])
            cleared_and_bonus += sum(row.count("*") for row in lines[k + 1:k + 14])
            cleared_and_bonus += 5 * combo * combo if combo > 1 else 0
            score = int(lines[k + 14].split()[1])
            if score != cleared_and_bonus:
                faults.append(f"score {score} != {cleared_and_bonus}")
            k += 15
            continue
        if line.startswith("spawn"):
            landings += 1
        if line == "over":
            over = True
        if line == "board" and not over:
            board = [list(row) for row in lines[k + 1:k + 14]]
            words = lines[k + 14].split()
            px, py = int(words[1]), int(words[3])
            for r in range(py, py + 3):  # the falling piece is not settled
                board[r][px] = "."
            for fault in (runs(board), gap(board), "a cleared cell" if any("*" in r for r in board) else None):
                if fault:
                    faults.append(fault)
            k += 14
            continue
        k += 1
    return landings, over, faults


def main():
    sim, games = sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 4
    failed = 0
    for seed in range(1, games + 1):
        landings, over, faults = check(seed, sim)
        ok = over and landings > 4 and not faults
        failed += not ok
        print(f"game {seed}: {landings} landings, {'over' if over else 'not over'}, "
              f"{len(faults)} faults {faults[:3]}")
    print(f"{games - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
