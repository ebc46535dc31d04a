#!/usr/bin/python3
"""Writes the site's service worker, SITE_DIR/sw.js, from web/sw.js: its
version is a hash of every file of the site, so that any change makes a new
worker; its list is every file a visit needs, cached on install. The script
hook and the fonts' licences are left to be cached on first use, which keeps
the first visit small.

Usage: make_sw.py SITE_DIR
"""
import hashlib
import json
import sys
from pathlib import Path

LATER = ("nubbo-script.js", "nubbo-script.wasm")


def main(site):
    files = sorted(p for p in site.rglob("*") if p.is_file() and p.name != "sw.js")
    digest = hashlib.sha256()
    for path in files:
        digest.update(path.relative_to(site).as_posix().encode() + b"\0" + path.read_bytes())
    needed = ["./"] + [p.relative_to(site).as_posix() for p in files
                       if p.name not in LATER and p.suffix != ".txt" and p.name != "index.html"]
    template = (Path(__file__).parent / "sw.js").read_text(encoding="utf-8")
    worker = (template.replace("@VERSION@", digest.hexdigest()[:16])
              .replace('"@SITE@"', json.dumps(needed)))
    (site / "sw.js").write_text(worker, encoding="utf-8")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(Path(sys.argv[1]))
