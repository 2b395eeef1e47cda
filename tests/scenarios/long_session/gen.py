#!/usr/bin/env python3
"""Writes a long mixed session for quorvella-replay and the records it must leave.

    gen.py SEEDFILE SCRIPT EXPECTED [ACTIONS] [RANDOM_SEED]

The session adds, edits and deletes records, undoes deletions and empties the undo list,
deletes by range, renames categories with the records following, switches projects, rotates
the screen and restarts the program. A model of every project's records is kept alongside;
EXPECTED holds them, one record a line, as check.py compares them with `show store`.

Within a project no two records share a date, so the main list's order is known: a list
loaded or filled again (start, another project, a rotation, a range deletion) is sorted by
date; a new or undone record goes to its end, a deleted one leaves it.
"""
import datetime
import random
import sys

PROJECTS = ["Alpha", "Beta", "Gamma"]
MEMO_WORDS = ["call", "train", "review", "plan", "draft", "fix", "visit", "mail"]
UNDO_LIMIT = 12


class Session:
    def __init__(self, rnd):
        self.rnd = rnd
        self.lines = []
        self.records = {p: [] for p in PROJECTS}  # (date, minutes, category, memo)
        self.categories = ["Work", "Travel", "Meeting"]
        self.renames = 0
        self.current = "Alpha"
        self.shown = []  # the current project's records in list order
        self.undo = []  # (project, record), the last deleted at the end
        self.landscape = False
        self.clock = datetime.datetime(2005, 10, 29, 12, 0, 0)

    def say(self, line):
        self.lines.append(line)

    def tick(self):
        self.clock += datetime.timedelta(minutes=1)
        self.say("clock " + self.clock.strftime("%Y-%m-%d %H:%M:%S"))

    def load(self):
        self.shown = sorted(self.records[self.current], key=lambda r: r[0])

    def free_date(self, project):
        used = {r[0] for r in self.records[project]}
        while True:
            d = datetime.date(2000, 1, 1) + datetime.timedelta(days=self.rnd.randrange(3650))
            if d not in used:
                return d

    def ok(self):
        # In landscape the dialog's OK is hidden and the shell's Done confirms.
        self.say("click 1" if self.landscape else "click 1027")

    def duration(self):
        hours = self.rnd.randrange(24)
        tens = self.rnd.randrange(1 if hours else 2, 6) if self.rnd.random() < 0.9 else 0
        if hours == 0 and tens == 0:
            tens = 3
        return hours, tens

    def choose_duration(self, hours, tens):
        self.say('choose 1018 "%02d"' % hours)
        self.say('choose 1019 "%d0"' % tens)
        return str(hours * 60 + tens * 10)

    def add(self):
        date = self.free_date(self.current)
        category = self.rnd.choice(self.categories)
        memo = " ".join(self.rnd.sample(MEMO_WORDS, self.rnd.randrange(3)))
        self.say("command 40003")
        self.say("date 1016 " + date.isoformat())
        minutes = self.choose_duration(*self.duration())
        self.say('choose 1021 "%s"' % category)
        if memo:
            self.say('type 1025 "%s"' % memo)
        self.ok()
        record = (date, minutes, category, memo)
        self.records[self.current].append(record)
        self.shown.append(record)

    def edit(self):
        row = self.rnd.randrange(len(self.shown))
        old = self.shown[row]
        self.say("tap 500 %d" % row)
        minutes = self.choose_duration(*self.duration())
        category = self.rnd.choice(self.categories)
        self.say('choose 1021 "%s"' % category)
        self.ok()
        new = (old[0], minutes, category, old[3])
        self.records[self.current][self.records[self.current].index(old)] = new
        self.shown[row] = new

    def delete(self):
        row = self.rnd.randrange(len(self.shown))
        record = self.shown.pop(row)
        self.records[self.current].remove(record)
        self.say("tap 500 %d" % row)
        self.say("click 1028")
        self.say("answer yes")
        if len(self.undo) == UNDO_LIMIT:
            self.say("answer yes")  # the oldest copy may go
            self.undo.pop(0)
        self.undo.append((self.current, record))

    def undo_last(self):
        project, record = self.undo.pop()
        self.say("command 40050")
        self.records[project].append(record)
        if project == self.current:
            self.shown.append(record)

    def empty_undo(self):
        self.say("command 40053")
        self.undo = []

    def range_delete(self):
        dates = sorted(r[0] for r in self.shown)
        first = self.rnd.randrange(len(dates))
        last = min(len(dates) - 1, first + self.rnd.randrange(4))
        start, end = dates[first], dates[last]
        self.say("command 40052")
        self.say("date 1105 " + start.isoformat())
        self.say("date 1106 " + end.isoformat())
        self.say("click 1107")
        self.say("answer yes")
        self.records[self.current] = [
            r for r in self.records[self.current] if not start <= r[0] <= end]
        self.load()

    def rename(self):
        old = self.rnd.choice(self.categories)
        self.renames += 1
        new = "Kind %d" % self.renames
        self.say("command 40019")
        self.say("check 1042")
        self.say('choose 1036 "%s"' % old)
        self.say("click 1033")
        self.say('type 1041 "%s"' % new)
        self.say("click 1037")
        self.say("click 1")
        self.categories[self.categories.index(old)] = new
        for p in PROJECTS:
            self.records[p] = [(d, m, new if c == old else c, memo)
                               for d, m, c, memo in self.records[p]]
        # The list is filled again from the store: switching away and back sorts it.
        other = self.rnd.choice([p for p in PROJECTS if p != self.current])
        self.say('project "%s"' % other)
        self.say('project "%s"' % self.current)
        self.load()

    def switch(self):
        self.current = self.rnd.choice([p for p in PROJECTS if p != self.current])
        self.say('project "%s"' % self.current)
        self.load()

    def rotate(self):
        self.landscape = not self.landscape
        self.say("screen 320 240" if self.landscape else "screen 240 320")
        self.load()  # the list is filled again for the new size, sorted

    def restart(self):
        self.say("close")
        self.say("start")
        self.undo = []  # the undo list lives as long as the program
        self.load()

    def run(self, actions):
        self.say("start")
        self.load()
        for _ in range(actions):
            self.tick()
            choices = [(self.add, 30), (self.switch, 6), (self.rotate, 3), (self.restart, 1),
                       (self.rename, 2)]
            if self.shown:
                choices += [(self.edit, 15), (self.delete, 18), (self.range_delete, 3)]
            if self.undo:
                choices += [(self.undo_last, 10), (self.empty_undo, 1)]
            action = self.rnd.choices([c[0] for c in choices], [c[1] for c in choices])[0]
            action()
        self.say("close")
        self.say("show store")


def main():
    if len(sys.argv) not in (4, 5, 6):
        sys.exit(__doc__)
    seedfile, script, expected = sys.argv[1:4]
    actions = int(sys.argv[4]) if len(sys.argv) > 4 else 3000
    session = Session(random.Random(int(sys.argv[5]) if len(sys.argv) > 5 else 20051029))
    with open(seedfile, "w") as out:
        out.write("clock 2005-10-29 12:00:00\n")
        for i, p in enumerate(PROJECTS):
            out.write('project "%s" 2005-10-0%d\n' % (p, i + 1))
        for c in session.categories:
            out.write('category "%s"\n' % c)
        out.write('sz "Software\\Brumo\\Quorvella\\Settings" LastProject "Alpha"\n')
    session.run(actions)
    with open(script, "w") as out:
        out.write("\n".join(session.lines) + "\n")
    with open(expected, "w") as out:
        for p in PROJECTS:
            for d, m, c, memo in sorted(session.records[p]):
                out.write('%s %s %s "%s" "%s"\n' % (p, d.isoformat(), m, c, memo))


if __name__ == "__main__":
    main()
