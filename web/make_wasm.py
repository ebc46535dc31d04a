#!/usr/bin/python3
"""Writes the game's WebAssembly into a module, game_wasm.js, as base64, so
that the game's worker has it in its own file and compiles it there: no
request of its own on a first visit, and no wait for the page's main thread,
which is busy laying the page out while the worker starts.

Usage: make_wasm.py OUT GAME.wasm
"""
import base64
import sys
from pathlib import Path

if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    text = base64.b64encode(Path(sys.argv[2]).read_bytes()).decode("ascii")
    Path(sys.argv[1]).write_text(
        "// The game's WebAssembly as base64, made by web/make_wasm.py from nubbo-game.wasm.\n"
        f'export const GAME_WASM = "{text}";\n', encoding="utf-8")
