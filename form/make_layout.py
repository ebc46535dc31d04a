#!/usr/bin/env python3
"""Writes the form's layout table (form/layout.json) out for each language
that cannot read it itself: a C++ header, a stylesheet and a JavaScript
module; and fills a text file's {{name}} marks with the table's facts (the
page, the web app manifest, the AppStream file). The board's rows and
columns and the number of tile pictures come from the core's constants, so
that they too are stated once.

Usage: make_layout.py (cpp|css|js) OUTPUT
       make_layout.py fill TEMPLATE OUTPUT
"""
import html
import json
import pathlib
import re
import sys

HERE = pathlib.Path(__file__).resolve().parent
BANNER = "Made from form/layout.json by form/make_layout.py: change the table, not this file."


def table():
    form = json.loads((HERE / "layout.json").read_text(encoding="utf-8"))
    constants = (HERE.parent / "game" / "constants.h").read_text(encoding="utf-8")
    core = lambda name: int(re.search(rf"\b{name} = (\d+);", constants).group(1))
    form["board"]["rows"] = core("kRows")
    form["board"]["columns"] = core("kCols")
    form["pictures"] = core("kPictures")
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
    lines += ["", "// The captions, in UTF-8."]
    lines += [f"inline constexpr char {const(name)}Text[] = {json.dumps(text, ensure_ascii=False)};"
              for name, text in form["captions"].items()]
    lines += ["// The text boxes' font: its family, and so many pixels high.",
              f"inline constexpr char kTextFontFamily[] = {json.dumps(form['textFont']['family'])};",
              f"inline constexpr int kTextFontPixels = {form['textFont']['pixels']};"]
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
    lines.append(f"  --text-family: {json.dumps(form['textFont']['family'])};")
    lines.append("}")
    lines.append(f".textbox {{ font-size: {px(form['textFont']['pixels'])}; }}")
    boxes = dict(board=board, **form["boxes"])
    for name, b in boxes.items():
        lines.append(f"#{name} {{ left: {px(b['left'])}; top: {px(b['top'])}; "
                     f"width: {px(b['width'])}; height: {px(b['height'])}; }}")
    return "\n".join(lines) + "\n"


def js(form):
    return (f"// {BANNER}\n"
            f"export const FORM = {json.dumps({k: v for k, v in form.items() if k != 'about'})};\n")


def facts(form):
    """The facts a filled file may name, each as plain text."""
    hex_colour = lambda c: "#" + "".join(f"{n:02x}" for n in c)
    board = form["board"]
    named = dict(form["captions"])
    named.update({f"{name}Colour": hex_colour(c) for name, c in form["colours"].items()})
    named.update(rows=board["rows"], columns=board["columns"], pictures=form["pictures"],
                 boardWidth=board["width"], boardHeight=board["height"],
                 # The window: its client area and menu bar.
                 windowWidth=form["client"]["width"],
                 windowHeight=form["menuBar"] + form["client"]["height"])
    return {name: str(value) for name, value in named.items()}


def fill(form, template):
    """The template with each {{name}} replaced by that fact, escaped for the
    file's kind. A name the table lacks is an error, not an empty text."""
    kind = pathlib.Path(template.name.removesuffix(".in")).suffix
    escape = {".html": html.escape, ".xml": html.escape,
              ".webmanifest": lambda t: json.dumps(t, ensure_ascii=False)[1:-1]}[kind]
    known = facts(form)
    text = template.read_text(encoding="utf-8")

    def value(match):
        if match.group(1) not in known:
            sys.exit(f"make_layout.py: {template.name} names {match.group(1)}, which the table lacks")
        return escape(known[match.group(1)])

    return re.sub(r"\{\{(\w+)\}\}", value, text)


def main():
    if sys.argv[1] == "fill":
        template, output = pathlib.Path(sys.argv[2]), pathlib.Path(sys.argv[3])
        text = fill(table(), template)
    else:
        kind, output = sys.argv[1], pathlib.Path(sys.argv[2])
        text = {"cpp": cpp, "css": css, "js": js}[kind](table())
    output.parent.mkdir(parents=True, exist_ok=True)
    # Rewritten only when changed, so that nothing rebuilds for nothing.
    if not output.exists() or output.read_text(encoding="utf-8") != text:
        output.write_text(text, encoding="utf-8")


if __name__ == "__main__":
    main()
