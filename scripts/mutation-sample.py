#!/usr/bin/env python3
"""scripts/mutation-sample.py [-n N] [--seed S] FILE ...: how many small
faults planted in the library's sources the test suite catches (run by hand,
not in CI).

For each FILE (a library source, relative to the top of the tree) the script
lists every place where one of these mutations applies: a relational or
equality operator negated (== !=, < >=, > <=), a "+ 1" or "- 1" removed, a
"+ 1" added to an index or to the right side of a comparison, a returned
0/1 (true/false) swapped, a one-line statement replaced by {}.  A seeded
shuffle orders them, so a run repeats exactly on the same sources; the first
N that compile are tried one at a time: the file is rewritten in place, only
the library is rebuilt (build-mutation, unoptimised, ccache when present),
and the tests that executed the mutated line run one by one, quickest first,
each with a time limit, until one fails (killed) or none does (survived).
Which test executes which line comes from
scripts/coverage.sh --per-test (build-coverage/per-test, made when missing:
delete it when the tests change); a test that failed there alone is run
once on the unmutated build first, and kept if it passes.  The sources are
restored after each mutant, also on an interrupt; to keep working while it
runs, run it in a copy of the tree.

Prints each mutant as it is judged, then killed/total per file and the
surviving mutants.

With --against LOG (the output of an earlier run with the same seed and N,
for instance before a change of the tests), a mutant LOG says survived is
not run again and counts as surviving; one LOG says was killed runs the test
that killed it first.  The run then shows that every mutant the earlier
suite killed, this suite kills too, at the cost of the killed mutants alone.
"""
import argparse
import os
import random
import re
import shutil
import signal
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
NEGATED = {"==": "!=", "!=": "==", "<": ">=", ">=": "<", ">": "<=", "<=": ">"}
RELATIONAL = re.compile(r"(?<=\s)(==|!=|<=|>=|<|>)(?=\s)")
PLUS_MINUS_ONE = re.compile(r"\s[+-] 1(?![\w.])")
INDEX = re.compile(r"\[([a-z_]\w*)\]")
COMPARED = re.compile(r"(?<=\s)(?:<=|>=|<|>|==|!=) ([A-Za-z_]\w*|\d+)(?=\)|;| &&| \|\|)")
RETURNED = re.compile(r"\breturn (0|1|true|false);")
SWAPPED = {"0": "1", "1": "0", "true": "false", "false": "true"}
DECLARATION = re.compile(
    r"^(?:(?:const|static|unsigned|struct)\s+)*[A-Za-z_][\w:]*(?:<[^;]*>)?[\s*&]+(?:const\s+)?[A-Za-z_]\w*\s*(?:=|\(|\[|;|\{|,)")
NOT_DECLARATION = ("return", "delete", "throw", "goto", "else")
NO_STATEMENT = ("if", "for", "while", "switch", "case", "default", "do", "else", "static_assert", "}", "{")


def code_only(lines):
    """Each line with comments, string and character literals blanked, and
    preprocessor lines blanked whole, so that patterns only meet code."""
    out, in_comment = [], False
    for line in lines:
        chars, i, n = list(line), 0, len(line)
        if not in_comment and line.lstrip().startswith("#"):
            out.append(" " * n)
            continue
        while i < n:
            if in_comment:
                end = line.find("*/", i)
                stop = n if end < 0 else end + 2
                chars[i:stop] = " " * (stop - i)
                in_comment, i = end < 0, stop
            elif line.startswith("//", i):
                chars[i:] = " " * (n - i)
                i = n
            elif line.startswith("/*", i):
                in_comment = True
            elif line[i] in "\"'":
                j = i + 1
                while j < n and line[j] != line[i]:
                    j += 2 if line[j] == "\\" else 1
                chars[i + 1:min(j, n)] = " " * (min(j, n) - i - 1)
                i = j + 1
            else:
                i += 1
        out.append("".join(chars))
    return out


def statement(code, previous):
    """Is this line one whole statement that can be replaced by {}?"""
    s = code.strip()
    if not s.endswith(";") or s.count(";") != 1 or s.count("(") != s.count(")"):
        return False
    head = s.split("(")[0].split()
    if s.startswith(NO_STATEMENT) or (head and head[0] in NO_STATEMENT):
        return False
    if DECLARATION.match(s) and not s.startswith(NOT_DECLARATION):
        return False
    return previous == "" or previous[-1] in ";{}:)" or previous.endswith("else")


def mutants(path):
    """Every mutation of the file: (line number, new line, description)."""
    with open(os.path.join(ROOT, path)) as f:
        lines = f.read().split("\n")
    found, previous = [], ""
    for number, (line, code) in enumerate(zip(lines, code_only(lines)), 1):
        def add(start, end, text, kind):
            found.append((number, line[:start] + text + line[end:],
                          f"{kind}: `{line[start:end].strip()}` -> `{text.strip()}`"))
        for m in RELATIONAL.finditer(code):
            add(m.start(), m.end(), NEGATED[m.group(1)], "negated")
        for m in PLUS_MINUS_ONE.finditer(code):
            add(m.start(), m.end(), "", "removed")
        for m in INDEX.finditer(code):
            add(m.start(1), m.end(1), m.group(1) + " + 1", "added")
        for m in COMPARED.finditer(code):
            add(m.start(1), m.end(1), m.group(1) + " + 1", "added")
        for m in RETURNED.finditer(code):
            add(m.start(1), m.end(1), SWAPPED[m.group(1)], "returned")
        if statement(code, previous):
            start = len(line) - len(line.lstrip())
            add(start, len(line.rstrip()), "{}", "deleted")
        if code.strip():
            previous = code.strip()
    return lines, found


def run(command, limit=None, **kw):
    """Runs a command in its own process group; its status, or None when it
    outlived the limit (the whole group is killed)."""
    p = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                         start_new_session=True, **kw)
    try:
        return p.wait(timeout=limit)
    except subprocess.TimeoutExpired:
        os.killpg(p.pid, signal.SIGKILL)
        p.wait()
        return None


def coverage_map(directory, passes_unmutated):
    """(line tests by file, tests by file, seconds by test) from the
    per-test coverage lists.  A test that failed under the coverage build
    only (an instrumented program run under a small file size limit cannot
    write its counts, and says so) is kept when passes_unmutated(name)."""
    per_test = os.path.join(directory, "per-test")
    if not os.path.exists(os.path.join(per_test, "times")):
        subprocess.run(["bash", os.path.join(ROOT, "scripts/coverage.sh"), "--per-test", directory],
                       check=True)
    seconds, lines, files = {}, {}, {}
    with open(os.path.join(per_test, "times")) as f:
        for name, spent, status in (row.split() for row in f):
            if status == "passed" or passes_unmutated(name):
                seconds[name] = float(spent)
            else:
                print(f"{name}: left out, it fails on the unmutated build too", file=sys.stderr)
    for name in seconds:
        with open(os.path.join(per_test, name)) as f:
            for row in f:
                path, line = row.strip().rsplit(":", 1)
                lines.setdefault(path, {}).setdefault(int(line), set()).add(name)
                files.setdefault(path, set()).add(name)
    # No line run by any test means lists made wrong, not a suite that runs
    # nothing: every mutant would "survive".
    if not lines:
        sys.exit("%s: the per-test lists name no line: remake them (delete %s)" % (per_test, per_test))
    return lines, files, seconds


def earlier_verdicts(path):
    """{(file, line, description): [killer test, or None for a survivor, in
    the order judged]} of an earlier run's output (a line may hold two
    mutants of the same description: the shuffle judges them in the same
    order each run)."""
    verdicts = {}
    with open(path) as f:
        for row in f:
            m = re.match(r"^(\S+):(\d+): (.*): (killed by (\S+)( \(time limit\))?|SURVIVED .*)$",
                         row.rstrip("\n"))
            if m:
                verdicts.setdefault((m.group(1), int(m.group(2)), m.group(3)), []).append(m.group(5))
    return verdicts


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("-n", type=int, default=30, help="mutants per file (30)")
    parser.add_argument("--seed", default="1", help="seed of the shuffle (1)")
    parser.add_argument("--build", default=os.path.join(ROOT, "build-mutation"))
    parser.add_argument("--coverage", default=os.path.join(ROOT, "build-coverage"))
    parser.add_argument("--against", help="an earlier run's output: re-run only what it killed")
    parser.add_argument("files", nargs="+")
    args = parser.parse_args()
    earlier = earlier_verdicts(args.against) if args.against else {}
    launcher = []
    if shutil.which("ccache"):
        launcher = ["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache", "-DCMAKE_C_COMPILER_LAUNCHER=ccache"]
    subprocess.run(["bash", os.path.join(ROOT, "scripts/build.sh"), args.build, "-DCMAKE_BUILD_TYPE=Debug",
                    "-DCMAKE_CXX_FLAGS_DEBUG=-O0", "-DCMAKE_C_FLAGS_DEBUG=-O0", *launcher],
                   check=True, stdout=subprocess.DEVNULL)
    def run_test(test, limit):
        return run(["ctest", "--test-dir", args.build, "-R", "^" + re.escape(test) + "$"], limit=limit)

    by_line, by_file, seconds = coverage_map(args.coverage, lambda test: run_test(test, 600) == 0)
    rebuild = ["cmake", "--build", args.build, "--target", "QORZbServices"]
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))

    results, survivors = {}, []
    for path in args.files:
        source = os.path.join(ROOT, path)
        with open(source) as f:
            original = f.read()
        lines, found = mutants(path)
        random.Random(f"{args.seed}:{path}").shuffle(found)
        killed = total = 0
        try:
            for number, text, what in found:
                if total == args.n:
                    break
                judged = earlier.get((path, number, what), [])
                killer = judged.pop(0) if judged else ""
                if killer is None:
                    total += 1
                    survivors.append(f"{path}:{number}: {what}  (earlier too, not run again)")
                    print(f"{path}:{number}: {what}: SURVIVED (earlier too, not run again)", flush=True)
                    continue
                with open(source, "w") as f:
                    f.write("\n".join(lines[:number - 1] + [text] + lines[number:]))
                if run(rebuild) != 0:
                    continue
                total += 1
                tests = by_line.get(path, {}).get(number)
                if tests is None and any(n in by_line.get(path, {}) for n in range(number - 3, number)):
                    tests = by_file.get(path, set())
                tests = set(tests or ()) | ({killer} if killer in seconds else set())
                verdict = "SURVIVED (not reached)"
                for test in sorted(tests, key=lambda t: (t != killer, seconds[t], t)):
                    status = run_test(test, max(30.0, seconds[test]))
                    if status != 0:
                        verdict = f"killed by {test}" + (" (time limit)" if status is None else "")
                        killed += 1
                        break
                else:
                    if tests:
                        verdict = f"SURVIVED ({len(tests)} tests)"
                if verdict.startswith("SURVIVED"):
                    survivors.append(f"{path}:{number}: {what}  {verdict[9:]}")
                print(f"{path}:{number}: {what}: {verdict}", flush=True)
        finally:
            with open(source, "w") as f:
                f.write(original)
            run(rebuild)
        results[path] = (killed, total)

    print("\nkilled/total per file")
    for path, (killed, total) in results.items():
        print(f"{killed:4d}/{total:<4d} {path}")
    print(f"{sum(k for k, _ in results.values()):4d}/{sum(t for _, t in results.values()):<4d} all")
    print(f"\nsurviving mutants ({len(survivors)})")
    for s in survivors:
        print(s)


if __name__ == "__main__":
    main()
