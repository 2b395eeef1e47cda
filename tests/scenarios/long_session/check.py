#!/usr/bin/env python3
# Compares the projects and records of a `show store` transcript with the expected ones,
# and the exported files on the device with the expected files.
#
#     check.py TRANSCRIPT EXPECTED [FILES DEVICE]
#
# Every project is reduced to its name, every time record to its project's name, date,
# minutes, category and memo; the two multisets must be equal (identifiers are not compared).
# Every file under FILES must be on the device at the same path, byte for byte, and the
# device's My Documents must hold no other CSV file. Exit 0 when all is as expected.
import collections
import itertools
import os
import re
import sys

PROP = re.compile(r'(0x[0-9A-F]{8})=("(?:[^"\\]|\\.)*"|-|\d+)')


def props(line):
    return {int(key, 16) >> 16: re.sub(r'\\(.)', r'\1', v[1:-1]) if v.startswith('"') else v
            for key, v in PROP.findall(line)}


def csv_files(root):
    # The CSV files under root's My Documents, as paths relative to root.
    return {os.path.relpath(os.path.join(folder, name), root)
            for folder, _, names in os.walk(os.path.join(root, "My Documents"))
            for name in names if name.endswith(".csv")}


def text_lines(data):
    wide = len(data) > 1 and data[1:2] == b"\0"
    return data.decode("utf-16-le" if wide else "cp1252", "replace").split("\r\n")


def main():
    if len(sys.argv) not in (3, 5):
        sys.exit("check.py TRANSCRIPT EXPECTED [FILES DEVICE]")
    database, projects, times = None, {}, []
    lines = open(sys.argv[1]).read().splitlines()
    for line in lines[lines.index("> show store") + 1:]:  # the store as the session left it
        if line.startswith(">"):
            break
        if line.startswith("database "):
            database = line.split('"')[1]
        elif line.startswith("record ") and database == "Brumo QuorvellaPr":
            p = props(line)
            projects[p[0]] = p[4]
        elif line.startswith("record ") and database == "Brumo Quorvella":
            times.append(props(line))
    actual = collections.Counter('project "%s"' % name for name in projects.values())
    actual.update('%s %s-%02d-%02d %s "%s" "%s"' % (projects.get(p[1], "?"), p[4], int(p[3]),
                                                    int(p[2]), p[6], p[5], p[7]) for p in times)
    wanted = collections.Counter(open(sys.argv[2]).read().splitlines())
    problems = ["missing:    " + line for line in sorted((wanted - actual).elements())]
    problems += ["unexpected: " + line for line in sorted((actual - wanted).elements())]
    files, device = sys.argv[3:5] if len(sys.argv) == 5 else (None, None)
    wanted_files, device_files = (csv_files(r) if r else set() for r in (files, device))
    for path in sorted(wanted_files | device_files):
        if path not in device_files or path not in wanted_files:
            problems.append("file %s: %s" % (
                "missing" if path in wanted_files else "unexpected", path))
            continue
        want, have = (open(os.path.join(r, path), "rb").read() for r in (files, device))
        pairs = itertools.zip_longest(text_lines(want), text_lines(have), fillvalue="(end)")
        diff = next(("line %d: expected %r, found %r" % (i + 1, x, y) for i, (x, y)
                     in enumerate(pairs) if x != y), "the same lines in another encoding")
        problems += ["file differs: %s: %s" % (path, diff)] if want != have else []
    print("\n".join(problems) or "%d projects, %d records and %d files as expected" % (
        len(projects), len(times), len(wanted_files)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
