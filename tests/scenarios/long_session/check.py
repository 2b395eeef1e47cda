#!/usr/bin/env python3
"""Compares the projects and records of a `show store` transcript with the expected ones,
and the exported files on the device with the expected files.

    check.py TRANSCRIPT EXPECTED [FILES DEVICE]

Every project is reduced to its name, every time record to its project's name, date,
minutes, category and memo; the two multisets must be equal (identifiers are not compared).
Every file under FILES must be on the device at the same path, byte for byte, and the
device's My Documents must hold no other CSV file. Exit 0 when all is as expected.
"""
import collections
import itertools
import os
import re
import sys

PROP = re.compile(r'(0x[0-9A-F]{8})=("(?:[^"\\]|\\.)*"|-|\d+)')


def props(line):
    out = {}
    for key, value in PROP.findall(line):
        if value.startswith('"'):
            value = re.sub(r'\\(.)', r'\1', value[1:-1])
        out[int(key, 16) >> 16] = value
    return out


def main():
    if len(sys.argv) not in (3, 5):
        sys.exit(__doc__)
    transcript, expected = sys.argv[1:3]
    database, projects, times = None, {}, []
    lines = open(transcript).read().splitlines()
    shown = lines.index("> show store")  # the store as the session left it
    for line in lines[shown + 1:]:
        if line.startswith("database "):
            database = line.split('"')[1]
        elif line.startswith("record ") and database == "Brumo QuorvellaPr":
            p = props(line)
            projects[p[0]] = p[4]
        elif line.startswith("record ") and database == "Brumo Quorvella":
            times.append(props(line))
        elif line.startswith(">"):
            break
    actual = collections.Counter('project "%s"' % name for name in projects.values())
    for p in times:
        date = "%s-%02d-%02d" % (p[4], int(p[3]), int(p[2]))
        actual['%s %s %s "%s" "%s"' % (projects.get(p[1], "?"), date, p[6], p[5], p[7])] += 1
    wanted = collections.Counter(open(expected).read().splitlines())
    failed = actual != wanted
    for line in sorted((wanted - actual).elements()):
        print("missing:    " + line)
    for line in sorted((actual - wanted).elements()):
        print("unexpected: " + line)
    exported = 0
    if len(sys.argv) == 5:
        files, device = sys.argv[3:5]
        wanted_files, device_files = csv_files(files), csv_files(device)
        for path in sorted(wanted_files | device_files):
            if path not in device_files:
                print("file missing:    " + path)
            elif path not in wanted_files:
                print("file unexpected: " + path)
            else:
                want, have = (open(os.path.join(r, path), "rb").read() for r in (files, device))
                if have == want:
                    exported += 1
                    continue
                print("file differs:    %s: %s" % (path, first_difference(want, have)))
            failed = True
    if failed:
        return 1
    print("%d projects, %d records and %d files as expected" % (
        len(projects), sum(wanted.values()) - len(projects), exported))
    return 0


def first_difference(want, have):
    """The first line where two exported files part, as text."""
    def lines(data):
        wide = len(data) > 1 and data[1:2] == b"\0"
        return data.decode("utf-16-le" if wide else "cp1252", "replace").split("\r\n")
    for i, (x, y) in enumerate(itertools.zip_longest(lines(want), lines(have), fillvalue="(end)")):
        if x != y:
            return "line %d: expected %r, found %r" % (i + 1, x, y)
    return "the same lines in another encoding"


def csv_files(root):
    """The CSV files under root's My Documents, as paths relative to root."""
    return {os.path.relpath(os.path.join(folder, name), root)
            for folder, _, names in os.walk(os.path.join(root, "My Documents"))
            for name in names if name.endswith(".csv")}


if __name__ == "__main__":
    sys.exit(main())
