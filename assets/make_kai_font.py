#!/usr/bin/python3
"""Makes the window's Kai face: a subset of Debian's AR PL UKai TW holding
only the glyphs the window shows in it (the banner and 高手, the same text
as the page's face, and the printable ASCII and Latin-1 letters, as the
banner's Latin letters and digits come from the Kai face too), as a TrueType file
that the program carries compiled in. Outlines, metrics and hinting are
kept, so that the glyphs are drawn exactly as from the installed file; the
face is renamed, as its licence asks of a modified font, and keeps the
copyright and licence records.

Usage: make_kai_font.py OUT.ttf
"""
import sys
from pathlib import Path

from fontTools import subset
from fontTools.ttLib import TTCollection

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "web"))
from make_fonts import KAI_TEXT, UKAI, UKAI_TW, rename  # noqa: E402

FAMILY = "Nubbo Kai"
# FreeType's automatic hinter, which draws the glyphs at the window's
# "slight" hinting, measures the face's heights and stem widths on these
# ideographs (its blue zones and standard character, 田); without them the
# subset's glyphs would snap to other pixels than the installed face's.
HINTER_TEXT = (
    "田他们你來們到和地对對就席我时時會来為能舰說说这這齊军同已愿既星是景民照现現理用置要軍那配里開雷露面顾"
    "个为人以個大有主些因它想意生當看着者自著裡过还进進過道還"
    "她将將年得情最样樣通即吗吧听呢品响嗎师師收断斷明眼間间际陈限除陳随際隨"
    "事前學或政斯新沒没然特球第經谁起例別别制动動增指朝期构物确种調调費费都")
# The letters of Latin-1 as well: with ASCII alone fontconfig finds no
# language the face covers, and Qt files it as a symbol face and loads it
# twice at each size, once for the ideographs and once for the digits and
# Latin letters. As a face for English, one load serves both.
LATIN_TEXT = "".join(chr(c) for c in (*range(0x20, 0x7F), *range(0xC0, 0x100)))
TEXT = KAI_TEXT + HINTER_TEXT + LATIN_TEXT


def main():
    out = Path(sys.argv[1])
    font = TTCollection(UKAI, lazy=False).fonts[UKAI_TW]
    head = font["head"]
    kept = {name: getattr(head, name) for name in ("flags", "xMin", "yMin", "xMax", "yMax")}
    options = subset.Options()
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.notdef_outline = True
    options.layout_features = ["*"]
    options.hinting = True
    options.legacy_kern = True
    options.prune_unicode_ranges = False  # Qt reads the writing systems from these
    subsetter = subset.Subsetter(options)
    subsetter.populate(text=TEXT)
    subsetter.subset(font)
    rename(font, FAMILY)
    # The header as it was: the bounds of the whole face, not of the subset.
    for name, value in kept.items():
        setattr(font["head"], name, value)
    font.recalcBBoxes = False
    font.recalcTimestamp = False  # the same file on every build
    out.parent.mkdir(parents=True, exist_ok=True)
    font.save(out)


if __name__ == "__main__":
    main()
