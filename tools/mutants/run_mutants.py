#!/usr/bin/env python3
"""Applies each fault of mutants.txt in turn to a scratch copy of the tree, builds it, runs the
test suite and says whether the suite caught the fault. The real tree is never written."""

import argparse
import os
import shutil
import subprocess
import sys
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
FIELDS = ("id", "file", "find", "replace", "what")


def parse_list(path):
    entries, current = [], {}
    for number, raw in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        if raw.startswith("#"):
            continue
        if not raw.strip():
            if current:
                entries.append(current)
                current = {}
            continue
        key, sep, value = raw.partition(": ")
        if not sep or key not in FIELDS:
            sys.exit(f"{path}:{number}: not a field: {raw!r}")
        if key in current:
            sys.exit(f"{path}:{number}: {key} given twice")
        current[key] = value
        current.setdefault("line", number)
    if current:
        entries.append(current)
    seen = set()
    for e in entries:
        missing = [f for f in FIELDS if f not in e]
        if missing:
            sys.exit(f"{path}:{e['line']}: missing {', '.join(missing)}")
        if e["id"] in seen:
            sys.exit(f"{path}:{e['line']}: id {e['id']} used twice")
        if e["find"] == e["replace"]:
            sys.exit(f"{path}:{e['line']}: the replacement changes nothing")
        seen.add(e["id"])
    return entries


def folder_of(file):
    parts = Path(file).parts
    if parts[:2] == ("src", "platform") and len(parts) > 3:
        return parts[2]
    return parts[1] if parts[0] == "src" and len(parts) > 2 else parts[0]


def occurrences(tree, entry):
    path = tree / entry["file"]
    if not path.is_file():
        return -1
    return path.read_text(encoding="utf-8").count(entry["find"])


def run(cmd, cwd, log):
    with open(log, "w") as out:
        return subprocess.run(["nice", "-n", "19", *cmd], cwd=cwd, stdout=out,
                              stderr=subprocess.STDOUT).returncode


def sync_tree(repo, tree):
    """Copies the tracked files (as they are in the working tree) into the scratch copy, writing
    only those that differ so the scratch build stays incremental, and removes what is no longer
    tracked: a deleted scenario must not run on."""
    names = subprocess.run(["git", "ls-files", "-z"], cwd=repo, check=True,
                           capture_output=True).stdout.decode().split("\0")
    tracked = set(filter(None, names))
    changed = 0
    for path in [p for p in tree.rglob("*") if p.is_file() or p.is_symlink()]:
        name = path.relative_to(tree).as_posix()
        if not name.startswith("build/") and name not in tracked:
            path.unlink()
            changed += 1
    for name in tracked:
        src, dst = repo / name, tree / name
        if not src.is_file():
            continue
        data = src.read_bytes()
        if dst.is_file() and dst.read_bytes() == data:
            continue
        dst.parent.mkdir(parents=True, exist_ok=True)
        dst.write_bytes(data)
        shutil.copymode(src, dst)
        changed += 1
    return changed


def failed_tests(log):
    """The tests that failed, and those of them that only ran out of time."""
    names, slow, listing = [], [], False
    for line in Path(log).read_text(errors="replace").splitlines():
        if line.startswith("The following tests FAILED"):
            listing = True
        elif listing and " - " in line:
            name, sep, why = line.split(" - ", 1)[1].rpartition(" (")
            if not sep:
                name, why = why, ""
            names.append(name.strip())
            if why.startswith("Timeout"):
                slow.append(name.strip())
    return names, slow


def main():
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("ids", nargs="*", help="only these faults (default: all)")
    ap.add_argument("--list", type=Path, default=HERE / "mutants.txt")
    ap.add_argument("--scratch", type=Path,
                    help="scratch folder (default: build-mutants at the top of the tree)")
    ap.add_argument("--check", action="store_true",
                    help="only check that every fault applies to exactly one place")
    ap.add_argument("--no-baseline", action="store_true",
                    help="skip running the suite on the unchanged scratch copy first")
    ap.add_argument("--jobs", type=int, default=os.cpu_count() or 1)
    ap.add_argument("--timeout", type=int, default=300, help="seconds a test may take")
    args = ap.parse_args()

    repo = Path(subprocess.run(["git", "rev-parse", "--show-toplevel"], cwd=HERE, check=True,
                               capture_output=True, text=True).stdout.strip())
    entries = parse_list(args.list)
    if args.ids:
        unknown = set(args.ids) - {e["id"] for e in entries}
        if unknown:
            sys.exit(f"unknown ids: {', '.join(sorted(unknown))}")
        entries = [e for e in entries if e["id"] in args.ids]

    if args.check:
        bad = 0
        for e in entries:
            n = occurrences(repo, e)
            if n != 1:
                bad += 1
                print(f"{e['id']}: the original text is found {max(n, 0)} times in {e['file']}")
        print(f"{len(entries) - bad} of {len(entries)} faults apply to exactly one place")
        return 1 if bad else 0

    scratch = (args.scratch or repo / "build-mutants").resolve()
    tree, logs = scratch / "tree", scratch / "logs"
    build = tree / "build"
    if scratch == repo or repo in scratch.parents and not scratch.name.startswith("build"):
        sys.exit("the scratch folder must not be part of the tracked tree")
    logs.mkdir(parents=True, exist_ok=True)
    print(f"scratch copy: {tree} ({sync_tree(repo, tree)} files copied)", flush=True)

    if not (build / "build.ninja").exists():
        launcher = []
        if shutil.which("ccache"):
            launcher = ["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache", "-DCMAKE_C_COMPILER_LAUNCHER=ccache"]
        if run(["cmake", "-S", ".", "-B", "build", "-G", "Ninja",
                "-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DQV_BENCH=OFF", *launcher],
               tree, logs / "configure.log"):
            sys.exit(f"configure failed, see {logs / 'configure.log'}")
    ctest = ["ctest", "--test-dir", "build", "-j", str(args.jobs), "--timeout",
             str(args.timeout)]
    t0 = time.monotonic()
    if run(["cmake", "--build", "build"], tree, logs / "baseline-build.log"):
        sys.exit(f"the unchanged copy does not build, see {logs / 'baseline-build.log'}")
    print(f"baseline build: {time.monotonic() - t0:.0f} s", flush=True)
    if not args.no_baseline:
        t0 = time.monotonic()
        if run(ctest, tree, logs / "baseline-test.log"):
            names = ", ".join(failed_tests(logs / "baseline-test.log")[0][:5])
            sys.exit(f"the suite fails without any fault ({names}); nothing can be measured")
        print(f"baseline suite: {time.monotonic() - t0:.0f} s", flush=True)

    results = []
    table = scratch / "results.tsv"
    with open(table, "w") as out:
        out.write("id\tfolder\tresult\tseconds\tfailed tests\n")
    for e in entries:
        path = tree / e["file"]
        started = time.monotonic()
        original = path.read_bytes() if path.is_file() else None
        text = original.decode("utf-8") if original is not None else ""
        count = text.count(e["find"])
        failed = []
        if count != 1:
            result = f"refused: text found {count} times"
        else:
            path.write_text(text.replace(e["find"], e["replace"]), encoding="utf-8")
            try:
                if run(["cmake", "--build", "build"], tree, logs / f"{e['id']}.build.log"):
                    result = "did not build"
                elif run(ctest, tree, logs / f"{e['id']}.test.log"):
                    failed, slow = failed_tests(logs / f"{e['id']}.test.log")
                    # A test that only ran out of time says more about the machine's load than
                    # about the fault: such a run proves nothing either way.
                    result = "caught" if len(slow) < len(failed) else "timed out"
                    failed = [name for name in failed if name not in slow]
                else:
                    result = "survived"
            finally:
                path.write_bytes(original)
        seconds = time.monotonic() - started
        results.append((e, result, failed, seconds))
        shown = ", ".join(failed[:3]) + (f" (+{len(failed) - 3})" if len(failed) > 3 else "")
        print(f"{e['id']:32} {result:14} {seconds:5.0f} s  {shown}", flush=True)
        with open(table, "a") as out:
            out.write(f"{e['id']}\t{folder_of(e['file'])}\t{result}\t{seconds:.0f}\t"
                      f"{' '.join(failed)}\n")

    print()
    print(f"{'id':32} {'folder':12} {'result':14} failed tests (first three)")
    for e, result, failed, _ in results:
        print(f"{e['id']:32} {folder_of(e['file']):12} {result:14} {', '.join(failed[:3])}")
    counts = {}
    for _, result, _, _ in results:
        key = result if not result.startswith("refused") else "refused"
        counts[key] = counts.get(key, 0) + 1
    summary = ", ".join(f"{counts.get(k, 0)} {k}" for k in
                        ("caught", "survived", "timed out", "did not build", "refused"))
    print(f"\n{len(results)} faults: {summary}")
    survivors = [e for e, result, _, _ in results if result == "survived"]
    for e in survivors:
        print(f"  survived {e['id']}: {e['what']}")
    print(f"results also in {table}; logs in {logs}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
