#!/usr/bin/python3
"""Writes the tile pictures into a module, tiles.js, as base64 PNG,
so that the game's worker has them in its own file: no request of their
own on a first visit, and nothing for the page to load and hand over.

Usage: make_tiles.py OUT TILE0.png TILE1.png ...
"""
import base64
import json
import sys
from pathlib import Path

if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    pictures = [base64.b64encode(Path(p).read_bytes()).decode("ascii") for p in sys.argv[2:]]
    Path(sys.argv[1]).write_text(
        "// The tile pictures, in tile code order, as base64 PNG, made by web/make_tiles.py from assets/tile*.png.\n"
        f"export const TILE_PICTURES = {json.dumps(pictures)};\n", encoding="utf-8")
