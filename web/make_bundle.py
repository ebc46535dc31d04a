#!/usr/bin/python3
"""Joins an ES module and every module it imports statically into one file,
so that a first visit fetches it in one request rather than a round trip
per module (the page's modules in one file, the game's worker in another).

Each imported module becomes a function scope run once, in the order of the
imports, whose exports the importing module takes by name; the entry keeps
its own exports. Dynamic imports (`import("./x.js")`) stay as they are: they
load later, on their own. Only the forms of import and export these modules
use are understood, and anything else stops the build.

Style sheets are joined as they are, in the order given.

A page gets the files it marks `data-inline` inside it: its
`<link rel="stylesheet" href="NAME" data-inline>` becomes a `<style>` and its
`<script src="NAME" data-inline></script>` a classic inline `<script>`, each
with the file NAME of DIR as it stands, and the page's Content-Security-Policy
allows exactly these blocks by their SHA-256 hashes (in style-src and
script-src), so that the first paint needs no style sheet of its own and the
script runs while the page is still read, with no inline code allowed
besides. A block its element could not hold (a closing tag inside it), a
mark without its file, or a policy without those directives stops the build.

Usage: make_bundle.py js DIR ENTRY OUT   (ENTRY and the modules in DIR)
       make_bundle.py css OUT IN...
       make_bundle.py html PAGE DIR      (PAGE rewritten in place)
"""
import base64
import hashlib
import re
import sys
from pathlib import Path

IMPORT = re.compile(r'^import\s+(?:(?P<what>[\w{},\s]+?)\s+from\s+)?"\./(?P<name>[\w.-]+\.js)";[^\n]*$', re.M)
EXPORT_DECLARATION = re.compile(r"^export\s+((?:async\s+)?function\*?|class|const|let|var)\s+(\w+)", re.M)
EXPORT_LIST_NAMES = re.compile(r"^export\s+(const|let|var)\s+([^;=\n]+=[^;\n]*(?:,\s*\w+\s*=[^;\n]*)+);", re.M)
EXPORT_DEFAULT = re.compile(r"^export\s+default\s+(\w+);\s*$", re.M)


def scope_name(name):
    return "module_" + re.sub(r"\W", "_", name[:-3])


def bindings(what, name):
    """`import X from`, `import { a, b as c } from` as a destructuring of the module's scope."""
    what = what.strip()
    if what.startswith("{"):
        parts = [p.strip() for p in what.strip("{} ").split(",") if p.strip()]
        return "{ " + ", ".join(p.replace(" as ", ": ") for p in parts) + " }"
    if re.fullmatch(r"\w+", what):
        return "{ default: " + what + " }"
    sys.exit(f"make_bundle: cannot bundle the import of {name}: {what}")


def exports(text):
    """The text without its `export` keywords, and the names it exported."""
    names = [m.group(2) for m in EXPORT_DECLARATION.finditer(text)]
    for m in EXPORT_LIST_NAMES.finditer(text):  # export const A = 1, B = 2;
        names += [part.split("=")[0].strip() for part in m.group(2).split(",")[1:] if "=" in part]
    text = EXPORT_DECLARATION.sub(lambda m: m.group(1) + " " + m.group(2), text)
    default = EXPORT_DEFAULT.search(text)
    if default:
        text = EXPORT_DEFAULT.sub("", text)
        names.append(f"default: {default.group(1)}")
    if re.search(r"^export\b", text, re.M):
        sys.exit("make_bundle: an export this script does not understand")
    return text, names


def bundle(folder, entry):
    order = []  # modules in the order they must run: each after what it imports

    def imports_of(text):
        return [m.group("name") for m in IMPORT.finditer(text)]

    def visit(name, path):
        if name in path:
            sys.exit(f"make_bundle: modules import each other: {' -> '.join(path + [name])}")
        if name in order:
            return
        for dependency in imports_of((folder / name).read_text(encoding="utf-8")):
            visit(dependency, path + [name])
        order.append(name)

    visit(entry, [])

    def without_imports(text):
        return IMPORT.sub(lambda m: f"const {bindings(m.group('what'), m.group('name'))} = "
                          f"{scope_name(m.group('name'))};" if m.group("what") else "", text)

    parts = [f"// {entry} and the modules it imports, joined by web/make_bundle.py.\n"]
    for name in order[:-1]:
        text, names = exports(without_imports((folder / name).read_text(encoding="utf-8")))
        parts.append(f"const {scope_name(name)} = (() => {{\n// {name}\n{text}\n"
                     f"return {{ {', '.join(names)} }};\n}})();\n")
    parts.append(without_imports((folder / entry).read_text(encoding="utf-8")))
    return "".join(parts)


INLINE = re.compile(r'<link rel="stylesheet" href="(?P<style>[\w.-]+)" data-inline>'
                    r'|<script src="(?P<script>[\w.-]+)" data-inline></script>')
POLICY = re.compile(r'(<meta http-equiv="Content-Security-Policy" content=")([^"]*)(">)')


def inline(page, folder):
    """The page with its marked files inside it and their hashes in its policy."""
    hashes = {"script-src": [], "style-src": []}

    def block(m):
        tag, name = ("style", m.group("style")) if m.group("style") else ("script", m.group("script"))
        path = folder / name
        if not path.is_file():
            sys.exit(f"make_bundle: {name}, marked to be put inside the page, is not in {folder}")
        text = path.read_text(encoding="utf-8")
        if re.search(rf"</{tag}", text, re.I) or "<!--" in text:
            sys.exit(f"make_bundle: {name} cannot stand inside a <{tag}> element")
        digest = base64.b64encode(hashlib.sha256(text.encode("utf-8")).digest()).decode("ascii")
        hashes[f"{tag}-src"].append(f"'sha256-{digest}'")
        return f"<{tag}>{text}</{tag}>"

    page = INLINE.sub(block, page)
    if re.search(r"data-inline", page):
        sys.exit("make_bundle: a data-inline mark this script does not understand")
    policies = POLICY.findall(page)
    if len(policies) != 1:
        sys.exit("make_bundle: the page needs exactly one Content-Security-Policy")

    def allow(m):
        directives = [d.strip() for d in m.group(2).split(";")]
        for name, allowed in hashes.items():
            found = [k for k, d in enumerate(directives) if d.split()[:1] == [name]]
            if allowed and not found:
                sys.exit(f"make_bundle: the page's policy has no {name} for its inline blocks")
            for k in found:
                directives[k] = " ".join([directives[k], *allowed])
        return m.group(1) + "; ".join(directives) + m.group(3)

    return POLICY.sub(allow, page)


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[1] == "html":
        page = Path(sys.argv[2])
        page.write_text(inline(page.read_text(encoding="utf-8"), Path(sys.argv[3])), encoding="utf-8")
    elif len(sys.argv) == 5 and sys.argv[1] == "js":
        Path(sys.argv[4]).write_text(bundle(Path(sys.argv[2]), sys.argv[3]), encoding="utf-8")
    elif len(sys.argv) >= 4 and sys.argv[1] == "css":
        Path(sys.argv[2]).write_text("".join(Path(p).read_text(encoding="utf-8") for p in sys.argv[3:]),
                                     encoding="utf-8")
    else:
        sys.exit(__doc__)
