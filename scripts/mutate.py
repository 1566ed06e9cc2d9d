#!/usr/bin/env python3
"""Plants one fault at a time and asks the tests whether they notice.

Usage: scripts/mutate.py [--build DIR] [--only ID,ID] [--timeout S] [MUTANTS]

MUTANTS (default scripts/mutants.tsv) holds one mutant a line, tab-separated:
    id  file  text-to-find  replacement  test-programs (regex alternatives, e.g. a|b)
The text must occur exactly once in the file; "↵" stands for a line feed.
Each mutant is written into the tree, its test programs are rebuilt incrementally and run
with a time-out, and the file is put back whatever happens. A mutant that does not build is
reported as stillborn and not counted. Not run by CI: it takes about a minute a mutant.
"""
import argparse
import pathlib
import subprocess
import sys
import time

ROOT = pathlib.Path(__file__).resolve().parent.parent


def unescape(text):
    return text.replace("↵", "\n")


def read_mutants(path):
    mutants = []
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        if not line.strip() or line.startswith("#"):
            continue
        fields = line.split("\t")
        if len(fields) != 5:
            sys.exit(f"{path}:{number}: expected 5 tab-separated fields, found {len(fields)}")
        ident, file, find, replace, tests = fields
        mutants.append((ident, file, unescape(find), unescape(replace), tests.split("|")))
    return mutants


def run(command, timeout):
    try:
        done = subprocess.run(command, cwd=ROOT, capture_output=True, timeout=timeout)
        return done.returncode
    except subprocess.TimeoutExpired:
        return "timeout"


def judge(mutant, build, timeout):
    ident, file, find, replace, tests = mutant
    path = ROOT / file
    if not path.is_file():
        return "invalid (no such file)"
    original = path.read_text(encoding="utf-8")
    if original.count(find) != 1:
        return f"invalid (the text occurs {original.count(find)} times)"
    try:
        path.write_text(original.replace(find, replace), encoding="utf-8")
        targets = [arg for t in tests for arg in ("--target", t)]
        if run(["cmake", "--build", build, "-j2", *targets], None) != 0:
            return "stillborn"
        pattern = "^(" + "|".join(tests) + ")$"
        outcome = run(["ctest", "--test-dir", build, "-R", pattern,
                       "--timeout", str(timeout)], timeout * len(tests) + 60)
        return "survived" if outcome == 0 else "caught"
    finally:
        path.write_text(original, encoding="utf-8")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("mutants", nargs="?", default=str(ROOT / "scripts/mutants.tsv"))
    parser.add_argument("--build", default="build/release")
    parser.add_argument("--only", default="")
    parser.add_argument("--timeout", type=int, default=300)
    args = parser.parse_args()
    chosen = set(filter(None, args.only.split(",")))
    mutants = [m for m in read_mutants(pathlib.Path(args.mutants)) if not chosen or m[0] in chosen]
    tally = {}
    for mutant in mutants:
        started = time.monotonic()
        verdict = judge(mutant, args.build, args.timeout)
        tally[verdict.split(" ")[0]] = tally.get(verdict.split(" ")[0], 0) + 1
        print(f"{mutant[0]:<10} {verdict:<10} {time.monotonic() - started:6.1f} s  {mutant[1]}",
              flush=True)
    counted = tally.get("caught", 0) + tally.get("survived", 0)
    print(f"caught {tally.get('caught', 0)} of {counted}"
          f" ({tally.get('stillborn', 0)} stillborn, {tally.get('invalid', 0)} invalid)")
    subprocess.run(["cmake", "--build", args.build, "-j2"], cwd=ROOT, capture_output=True)


if __name__ == "__main__":
    main()
