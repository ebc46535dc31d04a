#!/usr/bin/python3
"""Makes the page's two web fonts: subsets of Debian's AR PL UKai (the Kai
face of the banner, of 高手 and of the help message's Chinese) and of
Liberation Sans (Arial's metrics, for "GAME OVER" and every other text),
holding only the glyphs the game shows, as WOFF2. Each is renamed, as its
licence asks of a modified font, and its licence is put beside it.

Usage: make_fonts.py OUTDIR
"""
import gzip
import sys
from pathlib import Path

from fontTools import subset
from fontTools.ttLib import TTCollection, TTFont

UKAI = Path("/usr/share/fonts/truetype/arphic/ukai.ttc")
UKAI_TW = 2  # "AR PL UKai TW" in the collection: the Traditional Chinese forms
LIBERATION = Path("/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf")

# The Kai face shows the banner ("按F2", "PAUSE", " 3連扁", "第 2關"), 高手
# and the Chinese of the help box: its title, the caption, and its message.
KAI_TEXT = "按連扁第關高手完全方塊版有問題請至 0123456789FPAUSE"
# The sans face shows Latin text only: every printable ASCII character.
SANS_TEXT = "".join(chr(c) for c in range(0x20, 0x7F))


def rename(font, family):
    """Gives the subset a name of its own; copyright and licence records stay."""
    names = font["name"]
    for record in list(names.names):
        if record.nameID in (1, 3, 4, 6, 16, 17, 18, 21, 22):
            names.removeNames(nameID=record.nameID)
    for name_id, text in ((1, family), (2, "Regular"), (3, family + " subset"), (4, family),
                          (6, family.replace(" ", ""))):
        names.setName(text, name_id, 3, 1, 0x409)
        names.setName(text, name_id, 1, 0, 0)


def make(font, text, family, out):
    options = subset.Options()
    options.flavor = "woff2"
    options.hinting = False  # the browser draws the outlines unhinted anyway
    options.layout_features = ["kern"]
    options.name_IDs = ["*"]
    options.notdef_outline = True
    options.drop_tables += ["FFTM"]
    subsetter = subset.Subsetter(options)
    subsetter.populate(text=text)
    subsetter.subset(font)
    rename(font, family)
    font.flavor = "woff2"
    # The source's own date, not the time of the build: the same fonts on
    # every build, so that the service worker's version changes only when
    # the site does.
    font.recalcTimestamp = False
    font.save(out)


def licence(out, *sources):
    with open(out, "w", encoding="utf-8") as f:
        for source in sources:
            opener = gzip.open if source.suffix == ".gz" else open
            with opener(source, "rt", encoding="utf-8", errors="replace") as s:
                f.write(s.read().rstrip() + "\n\n")


def main():
    outdir = Path(sys.argv[1])
    outdir.mkdir(parents=True, exist_ok=True)
    kai = TTCollection(UKAI, lazy=False).fonts[UKAI_TW]
    make(kai, KAI_TEXT, "Nubbo Kai", outdir / "nubbo-kai.woff2")
    make(TTFont(LIBERATION), SANS_TEXT, "Nubbo Sans", outdir / "nubbo-sans.woff2")
    doc = Path("/usr/share/doc")
    licence(outdir / "nubbo-kai.LICENSE.txt", doc / "fonts-arphic-ukai/copyright",
            doc / "fonts-arphic-ukai/license/english/ARPHICPL.TXT.gz")
    licence(outdir / "nubbo-sans.LICENSE.txt", doc / "fonts-liberation2/copyright")


if __name__ == "__main__":
    main()
