#!/usr/bin/python3
"""Writes fit.css, the stylesheet that fits the form to the window before
the first paint, with no script: the largest whole number k of device pixels
per picture pixel at which the form (and on a touch screen its New and Pause
buttons, under it or, when that leaves the form larger, beside it) fits, the
form scaled by k / ratio and placed on whole device pixels.

CSS cannot read the device pixel ratio as a number, only match it: for each
ratio of RATIOS a block of media queries on the window's width and height
sets the most picture pixels that fit across (--kw, and --kwb beside the
buttons) and down (--kh, and --khu over the buttons); the formulas at the
end take the rest from there. For any other ratio (a browser zoom, an odd
screen) web/fit.js sets the same properties itself. The form's size comes
from the form's table (form/layout.json).

Usage: make_fit.py OUTPUT
"""
import importlib.util
import math
import pathlib
import sys

HERE = pathlib.Path(__file__).resolve().parent
layout_source = importlib.util.spec_from_file_location("make_layout", HERE.parent / "form" / "make_layout.py")
make_layout = importlib.util.module_from_spec(layout_source)
layout_source.loader.exec_module(make_layout)

# The device pixel ratios of common screens.
RATIOS = (1, 1.25, 1.5, 1.75, 2, 2.25, 2.5, 2.625, 2.75, 3, 3.5, 4)
EDGE = 2      # CSS pixels kept free around the form, at the least
TOP = 32      # above the form, when the window has room for it
BAR = 56      # the touch buttons under the form, with their gap
SIDE = 96     # the touch buttons beside the form, with their gap
TALLEST = 2600  # CSS pixels: windows taller than this get no larger form


def number(x):
    return f"{x:.4f}".rstrip("0").rstrip(".")


def at_least(x):
    """A threshold rounded up to a ten-thousandth, never below the exact one."""
    return number(math.ceil(x * 10000 - 1e-6) / 10000)


def step(ratio):
    """The fewest CSS pixels that make whole device pixels (2 at 1.5)."""
    return next(s for s in range(1, 9) if abs(s * ratio - round(s * ratio)) < 1e-6)


def block(ratio, width, height):
    most = int((TALLEST - 2 * EDGE) * ratio // height)
    lines = [f"@media (resolution: {number(ratio)}dppx) {{",
             f"  :root {{ --ratio: {number(ratio)}; --step: {step(ratio)}px; }}"]
    for k in range(2, most + 1):
        for name, feature, size, room in (("kw", "width", width, 2 * EDGE), ("kh", "height", height, 2 * EDGE),
                                          ("kwb", "width", width, 2 * EDGE + SIDE),
                                          ("khu", "height", height, 2 * EDGE + BAR)):
            lines.append(f"  @media (min-{feature}: {at_least(size * k / ratio + room)}px) "
                         f"{{ :root {{ --{name}: {k}; }} }}")
    lines.append("}")
    return lines


def main(output):
    form = make_layout.table()
    width, height = form["client"]["width"], form["menuBar"] + form["client"]["height"]
    lines = [f"/* Made by web/make_fit.py from form/layout.json: change those, not this file. */",
             "@property --k { syntax: '<number>'; inherits: true; initial-value: 1; }",
             "@property --side { syntax: '<number>'; inherits: true; initial-value: 0; }",
             "@property --scale { syntax: '<number>'; inherits: true; initial-value: 1; }",
             "@property --fit-left { syntax: '<length>'; inherits: true; initial-value: 0px; }",
             "@property --fit-top { syntax: '<length>'; inherits: true; initial-value: 0px; }",
             f":root {{ --kw: 1; --kh: 1; --kwb: 1; --khu: 1; --fit-edge: {EDGE}; --fit-bar: {BAR}; "
             f"--fit-side: {SIDE}; }}"]
    for ratio in RATIOS:
        lines += block(ratio, width, height)
    lines += [
        "/* Without touch, the most that fits; with it, the buttons under the form or",
        "   beside it, whichever leaves the form larger (under on a tie). */",
        ":root { --k: min(var(--kw), var(--kh)); --side: 0; --under: 0; }",
        "@media (any-pointer: coarse) {",
        "  :root {",
        "    --k: max(min(var(--kw), var(--khu)), min(var(--kwb), var(--kh)));",
        "    --side: clamp(0, min(var(--kwb), var(--kh)) - min(var(--kw), var(--khu)), 1);",
        "    --under: calc(1 - var(--side));",
        "  }",
        "}",
        "/* Centred across, at most TOP pixels down, the corner on whole device pixels. */",
        ":root {",
        "  --scale: calc(var(--k) / var(--ratio));",
        f"  --fit-left: max(0px, round(down, (100vw - {width}px * var(--scale) - var(--side) * {SIDE}px) / 2, "
        "var(--step)));",
        f"  --fit-top: max(0px, round(down, min({TOP}px, (100vh - {height}px * var(--scale) - var(--under) * {BAR}px) / 2), "
        "var(--step)));",
        "}",
    ]
    text = "\n".join(lines) + "\n"
    output = pathlib.Path(output)
    if not output.exists() or output.read_text(encoding="utf-8") != text:
        output.write_text(text, encoding="utf-8")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
