#!/usr/bin/env python3
"""Writes the form's layout table (form/layout.json) out for each language
that cannot read it itself: a C++ header, a stylesheet and a JavaScript
module. The board's rows and columns come from the core's constants, so that
they too are stated once.

Usage: make_layout.py (cpp|css|js) OUTPUT
"""
import json
import pathlib
import re
import sys

HERE = pathlib.Path(__file__).resolve().parent
BANNER = "Made from form/layout.json by form/make_layout.py: change the table, not this file."


def table():
    form = json.loads((HERE / "layout.json").read_text(encoding="utf-8"))
    constants = (HERE.parent / "game" / "constants.h").read_text(encoding="utf-8")
    for name, key in (("kRows", "rows"), ("kCols", "columns")):
        form["board"][key] = int(re.search(rf"\b{name} = (\d+);", constants).group(1))
    board = form["board"]
    board["width"] = board["columns"] * board["cell"]
    board["height"] = board["rows"] * board["cell"]
    return form


def cpp(form):
    def box(name, b):
        return (f"inline constexpr Box {name}{{{b['left']}, {b['top']}, "
                f"{b['width']}, {b['height']}}};")

    def const(name):
        return "k" + name[0].upper() + name[1:]

    board, client = form["board"], form["client"]
    lines = [f"// {BANNER}", "#pragma once", "", "namespace nubbo::form {", "",
             "struct Box {", "    int left, top, width, height;", "};",
             "struct Colour {", "    int red, green, blue;", "};", "",
             f"// The client area under the menu bar.",
             f"inline constexpr int kWidth = {client['width']};",
             f"inline constexpr int kHeight = {client['height']};",
             f"// The board: cell (row, col) is kCell pixels square at",
             f"// (kBoard.left + kCell * col, kBoard.top + kCell * row).",
             f"inline constexpr int kCell = {board['cell']};",
             box("kBoard", board), ""]
    lines += [box(const(name), b) for name, b in form["boxes"].items()]
    lines.append("")
    lines += [f"inline constexpr Colour {const(name)}Colour{{{r}, {g}, {b}}};"
              for name, (r, g, b) in form["colours"].items()]
    lines += ["", "}  // namespace nubbo::form", ""]
    return "\n".join(lines)


def css(form):
    px = lambda n: f"{n}px"
    rgb = lambda c: f"rgb({c[0]} {c[1]} {c[2]})"
    board, client = form["board"], form["client"]
    lines = [f"/* {BANNER} */", ":root {",
             f"  --form-width: {px(client['width'])};",
             f"  --client-height: {px(client['height'])};",
             f"  --menu-bar: {px(form['menuBar'])};"]
    lines += [f"  --{name}-colour: {rgb(c)};" for name, c in form["colours"].items()]
    lines.append("}")
    boxes = dict(board=board, **form["boxes"])
    for name, b in boxes.items():
        lines.append(f"#{name} {{ left: {px(b['left'])}; top: {px(b['top'])}; "
                     f"width: {px(b['width'])}; height: {px(b['height'])}; }}")
    return "\n".join(lines) + "\n"


def js(form):
    return (f"// {BANNER}\n"
            f"export const FORM = {json.dumps({k: v for k, v in form.items() if k != 'about'})};\n")


def main():
    kind, output = sys.argv[1], pathlib.Path(sys.argv[2])
    text = {"cpp": cpp, "css": css, "js": js}[kind](table())
    output.parent.mkdir(parents=True, exist_ok=True)
    # Rewritten only when changed, so that nothing rebuilds for nothing.
    if not output.exists() or output.read_text(encoding="utf-8") != text:
        output.write_text(text, encoding="utf-8")


if __name__ == "__main__":
    main()
