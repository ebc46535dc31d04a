#!/usr/bin/env python3
"""Mutation testing of the rules: plants one small fault at a time in
game/*.cpp, rebuilds, runs the fast tests (ctest label `fast`: the core
tests and the simulator cases) and counts the faults they catch.

Faults: a comparison flipped (< <=, > >=, == !=), && and || swapped, ++ and
-- swapped, + and - swapped (so + 1 becomes - 1), += and -=, * and /, true and
false, and a ! dropped. Each is one change at one place in the code, never in
a comment, a string or a preprocessor line. Binary operators are found with
the spaces clang-format puts around them, which keeps template brackets,
pointers and references out.

The work happens on a copy of the sources in build/mutants/src, built in
build/mutants/build from the `mutants` preset (the core build: no Qt, no
sanitizers). The working tree is never written to; the copy is put back after
each fault, on Ctrl-C or kill, and brought up to date with the working tree at
the start of every run, so only the mutated file recompiles.

Settings, from the environment or the command line:
  SEED            --seed     which faults are drawn (default 1)
  MUTANTS         --count    how many faults are tried (default 60)
  MUTANT_SECONDS  --timeout  seconds the tests may take on one fault; a fault
                             that makes them run longer counts as caught
                             (default 30)
  MUTANT_BUDGET   --budget   seconds for the whole run; no fault is started
                             after it is spent (default 1800)
  MUTANT_MIN      --min      fail (exit 1) when the score, in per cent, is
                             below this (default: never fail)
Files other than game/*.cpp may be named as arguments, relative to the top of
the repository. --list shows every place a fault could go, and plants none.

Exit status: 0 after a run (or 1 under --min), 2 when the tool itself cannot
work: the unmutated sources do not build or do not pass the fast tests; 130
when interrupted, after the summary of what was tried.
"""

import argparse
import dataclasses
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
WORK = ROOT / "build" / "mutants"
SRC = WORK / "src"
BUILD = WORK / "build"
LOG = WORK / "last.log"
REPORT = WORK / "report.txt"

# (pattern, replacement) pairs; every match of a pattern in code is one fault.
# Spaced patterns match binary operators only, as formatted by clang-format.
OPERATORS = [
    (r" < ", " <= "),
    (r" <= ", " < "),
    (r" > ", " >= "),
    (r" >= ", " > "),
    (r" == ", " != "),
    (r" != ", " == "),
    (r" && ", " || "),
    (r" \|\| ", " && "),
    (r"\+\+", "--"),
    (r"--", "++"),
    (r" \+ ", " - "),
    (r" - ", " + "),
    (r" \+= ", " -= "),
    (r" -= ", " += "),
    (r" \* ", " / "),
    (r" / ", " * "),
    (r"\btrue\b", "false"),
    (r"\bfalse\b", "true"),
    (r"!(?=[\w(])", ""),
]


@dataclasses.dataclass
class Mutant:
    path: str  # relative to the repository top
    line: int  # 1-based
    start: int  # offset in the file
    end: int
    replacement: str
    original_line: str = ""
    mutated_line: str = ""
    outcome: str = ""  # unbuilt, caught, timeout, survived
    seconds: float = 0.0

    def where(self):
        return f"{self.path}:{self.line}"

    def describe(self):
        return f"{self.where()}: {self.original_line.strip()} -> {self.mutated_line.strip()}"


def code_mask(text):
    """Marks each character that is code: not in a comment, a string or
    character literal, or a preprocessor line."""
    mask = bytearray(len(text))
    i, n = 0, len(text)
    line_start = True
    while i < n:
        c = text[i]
        if line_start and c in " \t":
            mask[i] = 1
            i += 1
            continue
        if line_start and c == "#":  # preprocessor line, with continuations
            while i < n and not (text[i] == "\n" and text[i - 1] != "\\"):
                i += 1
            continue
        line_start = c == "\n"
        if text.startswith("//", i):
            i = text.find("\n", i)
            i = n if i < 0 else i
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            i = n if j < 0 else j + 2
        elif text.startswith('R"', i) and not (i and (text[i - 1].isalnum() or text[i - 1] == "_")):
            m = re.match(r'R"([^(\s]*)\(', text[i:])
            if m:
                j = text.find(")" + m.group(1) + '"', i)
                i = n if j < 0 else j + len(m.group(1)) + 2
            else:
                i += 1
        elif c in "\"'":
            if c == "'" and i > 0 and text[i - 1].isalnum():  # digit separator: 1'000
                mask[i] = 1
                i += 1
                continue
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            i = j + 1
        else:
            mask[i] = 1
            i += 1
    return mask


def find_mutants(rel):
    text = (SRC / rel).read_text()
    mask = code_mask(text)
    found = []
    for pattern, replacement in OPERATORS:
        for m in re.finditer(pattern, text):
            if not all(mask[m.start() : m.end()]):
                continue
            line = text.count("\n", 0, m.start()) + 1
            found.append(Mutant(rel, line, m.start(), m.end(), replacement))
    found.sort(key=lambda mu: (mu.path, mu.start, mu.replacement))
    return found


def apply(mutant, text):
    mutated = text[: mutant.start] + mutant.replacement + text[mutant.end :]
    begin = text.rfind("\n", 0, mutant.start) + 1
    mutant.original_line = text[begin : text.find("\n", begin)]
    end = mutated.find("\n", begin)
    mutant.mutated_line = mutated[begin : end if end >= 0 else len(mutated)]
    return mutated


# --- the copy of the sources -------------------------------------------------


def source_files():
    """The files of the working tree: git's tracked and new files, or every
    file outside build/ when this is not a git checkout."""
    try:
        out = subprocess.run(
            ["git", "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
            cwd=ROOT, check=True, capture_output=True).stdout
        return sorted({p for p in out.decode().split("\0") if p and (ROOT / p).is_file()})
    except (OSError, subprocess.CalledProcessError):
        return sorted(str(p.relative_to(ROOT)) for p in ROOT.rglob("*")
                      if p.is_file() and p.relative_to(ROOT).parts[0] not in ("build", ".git"))


def write_if_changed(path, data):
    """Writes only when the bytes differ, so that the build sees no change in
    an untouched file."""
    if path.is_file() and path.read_bytes() == data:
        return
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(data)


def sync_copy():
    files = source_files()
    for rel in files:
        src = ROOT / rel
        write_if_changed(SRC / rel, src.read_bytes())
        shutil.copymode(src, SRC / rel)
    keep = set(files)
    for p in SRC.rglob("*"):
        if p.is_file() and str(p.relative_to(SRC)) not in keep:
            p.unlink()


# --- building and testing -----------------------------------------------------

current = None  # the running child process, killed with its group on exit


def run(cmd, timeout=None, **kwargs):
    """Runs cmd in a process group of its own, its output appended to LOG.
    Returns its exit status, or None when it ran out of time."""
    global current
    with open(LOG, "a") as log:
        log.write(f"$ {' '.join(map(str, cmd))}\n")
        log.flush()
        current = subprocess.Popen(cmd, stdout=log, stderr=subprocess.STDOUT,
                                   start_new_session=True, **kwargs)
        try:
            return current.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            kill_current()
            return None
        except BaseException:  # Ctrl-C or a signal: take the build or test down too
            kill_current()
            raise
        finally:
            current = None


def kill_current():
    if current and current.poll() is None:
        try:
            os.killpg(current.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        current.wait()


def configure():
    return run(["cmake", "--preset", "mutants", "-S", SRC, "-B", BUILD], cwd=SRC) == 0


def build(timeout=None):
    return run(["cmake", "--build", BUILD, "-j2"], timeout=timeout) == 0


def fast_tests(timeout):
    """0 when every fast test passes, 1 when one fails, None when one runs
    out of time (ctest stops it) or ctest itself does."""
    start = LOG.stat().st_size
    status = run(["ctest", "--test-dir", BUILD, "-L", "fast", "--no-tests=error", "-j2",
                  "--stop-on-failure", "--timeout", str(timeout)], timeout=timeout + 10)
    with open(LOG) as log:
        log.seek(start)
        timed_out = "***Timeout" in log.read()
    return None if status is None or timed_out else int(status != 0)


# --- the run ------------------------------------------------------------------


def settings():
    env = os.environ.get
    p = argparse.ArgumentParser(description=__doc__.split("\n\n")[0],
                                formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("--seed", type=int, default=int(env("SEED", 1)))
    p.add_argument("--count", type=int, default=int(env("MUTANTS", 60)))
    p.add_argument("--timeout", type=float, default=float(env("MUTANT_SECONDS", 30)))
    p.add_argument("--budget", type=float, default=float(env("MUTANT_BUDGET", 1800)))
    p.add_argument("--min", type=float,
                   default=float(env("MUTANT_MIN")) if env("MUTANT_MIN") else None)
    p.add_argument("--list", action="store_true", help="list the places a fault could go, and stop")
    p.add_argument("files", nargs="*", help="sources to mutate (default game/*.cpp)")
    return p.parse_args()


def on_signal(signum, frame):
    raise KeyboardInterrupt(f"signal {signum}")


def main():
    args = settings()
    for s in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(s, on_signal)
    WORK.mkdir(parents=True, exist_ok=True)
    LOG.write_text("")
    sync_copy()

    files = args.files or sorted(str(p.relative_to(ROOT)) for p in (ROOT / "game").glob("*.cpp"))
    candidates = [m for rel in files for m in find_mutants(rel)]
    if args.list:
        for m in candidates:
            apply(m, (SRC / m.path).read_text())
            print(m.describe())
        print(f"{len(candidates)} places in {len(files)} files")
        return 0

    rng = random.Random(args.seed)
    chosen = rng.sample(candidates, min(args.count, len(candidates)))
    # One file after another, so that each fault recompiles one file.
    chosen.sort(key=lambda m: (m.path, m.start, m.replacement))
    print(f"mutants: seed {args.seed}, {len(chosen)} of {len(candidates)} places in "
          f"{len(files)} files; log in {LOG.relative_to(ROOT)}", flush=True)

    started = time.monotonic()
    if not (configure() and build()):
        print(f"mutants: the unmutated sources do not build; see {LOG}", file=sys.stderr)
        return 2
    t = time.monotonic()
    if fast_tests(args.timeout) != 0:
        print(f"mutants: the fast tests fail without any fault; see {LOG}", file=sys.stderr)
        return 2
    print(f"mutants: baseline built and passed the fast tests ({time.monotonic() - t:.1f}s)",
          flush=True)

    originals = {}
    tried = []
    interrupted = None
    try:
        for i, m in enumerate(chosen, 1):
            if time.monotonic() - started > args.budget:
                interrupted = f"the budget of {args.budget:.0f}s is spent"
                break
            for rel, text in originals.items():
                if rel != m.path:
                    write_if_changed(SRC / rel, text.encode())
            original = originals.setdefault(m.path, (SRC / m.path).read_text())
            (SRC / m.path).write_text(apply(m, original))
            t = time.monotonic()
            if not build(timeout=600):
                m.outcome = "unbuilt"
            else:
                result = fast_tests(args.timeout)
                m.outcome = {0: "survived", 1: "caught", None: "timeout"}[result]
            m.seconds = time.monotonic() - t
            tried.append(m)
            print(f"[{i:3}/{len(chosen)}] {m.outcome:8} {m.seconds:5.1f}s  {m.describe()}",
                  flush=True)
    except KeyboardInterrupt as e:
        kill_current()
        interrupted = f"interrupted ({e or 'Ctrl-C'})"
    finally:
        for rel, text in originals.items():
            write_if_changed(SRC / rel, text.encode())

    status = summary(args, candidates, chosen, tried, interrupted, time.monotonic() - started)
    return 130 if interrupted and interrupted.startswith("interrupted") else status


def summary(args, candidates, chosen, tried, interrupted, seconds):
    kinds = ("unbuilt", "caught", "timeout", "survived")
    count = {k: sum(m.outcome == k for m in tried) for k in kinds}
    built = len(tried) - count["unbuilt"]
    caught = count["caught"] + count["timeout"]
    score = 100.0 * caught / built if built else 0.0
    lines = [
        f"seed {args.seed}: {len(tried)} of {len(chosen)} mutants tried "
        f"({len(candidates)} places) in {seconds / 60:.1f} min"
        + (f"; stopped: {interrupted}" if interrupted else ""),
        f"  failed to build (excluded): {count['unbuilt']}",
        f"  built:                      {built}",
        f"  caught:                     {caught} ({count['timeout']} of them by the timeout)",
        f"  survived:                   {count['survived']}",
        f"  score (caught / built):     {score:.1f}%",
    ]
    survivors = [m.describe() for m in tried if m.outcome == "survived"]
    if survivors:
        lines += ["survivors:"] + ["  " + s for s in survivors]
    text = "\n".join(lines)
    print("\n" + text)
    REPORT.write_text(text + "\n" + "\nevery mutant:\n"
                      + "".join(f"  {m.outcome:8} {m.describe()}\n" for m in tried))
    print(f"(written to {REPORT.relative_to(ROOT)})")
    if args.min is not None and score < args.min:
        print(f"mutants: score {score:.1f}% is below MUTANT_MIN={args.min:g}%", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
