#!/usr/bin/env python3
"""Compares the records of a `show store` transcript with the expected ones.

    check.py TRANSCRIPT EXPECTED

Every time record is reduced to its project's name, date, minutes, category and memo; the
two multisets must be equal (identifiers are not compared). Exit 0 when they are.
"""
import collections
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
    transcript, expected = sys.argv[1:3]
    database, projects, times = None, {}, []
    with open(transcript) as f:
        lines = f.read().splitlines()
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
    actual = collections.Counter()
    for p in times:
        date = "%s-%02d-%02d" % (p[4], int(p[3]), int(p[2]))
        actual['%s %s %s "%s" "%s"' % (projects.get(p[1], "?"), date, p[6], p[5], p[7])] += 1
    with open(expected) as f:
        wanted = collections.Counter(f.read().splitlines())
    if actual == wanted:
        print("%d records as expected" % sum(wanted.values()))
        return 0
    for line in sorted((wanted - actual).elements()):
        print("missing:    " + line)
    for line in sorted((actual - wanted).elements()):
        print("unexpected: " + line)
    return 1


if __name__ == "__main__":
    sys.exit(main())
