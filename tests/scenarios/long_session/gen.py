#!/usr/bin/env python3
# Writes a long mixed session for quorvella-replay, the records it must leave and the files
# its exports must write.
#
#     gen.py SEEDFILE SCRIPT EXPECTED FILES [ACTIONS] [RANDOM_SEED]
#
# The session adds, edits and deletes records, undoes deletions and empties the undo list,
# deletes by range, renames categories with the records following, switches projects, rotates
# the screen and restarts the program. It creates projects from the menu and from the Projects
# book up to the limit of fifteen and past it, renames them, deletes them with their records,
# changes the View Options, and exports the time records, the Time Report and the Projects
# Balance under varying names, encodings, folders and duration types, answering the replace
# question both ways. A model of every project's records is kept alongside; EXPECTED holds the
# projects and their records, one a line, as check.py compares them with `show store`, and
# FILES receives every file the exports must leave, at its path under the device folder.
#
# Within a project no two records share a date, so the main list's order is known: a list
# loaded or filled again (start, another project, a rotation, a range deletion) is sorted by
# date; a new or undone record goes to its end, a deleted one leaves it. The time records are
# exported in the main list's order; the report and the balance list their lines by name.
import datetime
import os
import random
import sys

PROJECTS = ["Alpha", "Beta", "Gamma"]
MEMO_WORDS = ["call", "train", "review", "plan", "draft", "fix", "visit", "mail"]
UNDO_LIMIT, PROJECT_LIMIT = 12, 15
NEW_NAMES = ["Delta", "Omega", "Site", "Client", "Harbour", "Mill"]
# The export's duration types, View Options' date and separator entries, in setting order.
TIME_TYPES = ["minutes", "hours and minutes", "hours only"]
DATE_VIEWS = ["dd - mm - yyyy", "dd / mm / yyyy", "mm - dd - yyyy", "mm / dd / yyyy"]
SEPARATOR_VIEWS = [" , (comma)", " : (colon)"]
FOLDERS = ["My Documents/Business", "My Documents/Personal"]
EXPORT_NAMES = ["week %d" % n for n in range(1, 6)] + ["October", "all time", "Report 7", "x", "Q4"]
# A file there before the session, so an early export meets it.
OLDER_FILE = ("My Documents/Business/week 1.csv", "an older week")
DAY = datetime.timedelta(days=1)


def time_text(minutes, time_type, separator):
    if time_type == 1 and minutes:
        return "%d%s%02d" % (minutes // 60, separator, minutes % 60)
    return "0%s0" % separator if time_type == 1 else str(minutes // 60 if time_type else minutes)


def date_text(date, view):
    d, m, y = "%02d" % date.day, "%02d" % date.month, "%04d" % date.year
    return "-/"[view % 2].join((d, m, y) if view < 2 else (m, d, y))


class Session:
    def __init__(self, rnd):
        self.rnd, self.lines, self.shown, self.undo = rnd, [], [], []
        self.names = dict(enumerate(PROJECTS))  # project -> name; a project is a number
        self.records = {p: [] for p in self.names}  # (date, minutes, category, memo)
        self.next_project, self.new_names, self.renames, self.current = len(PROJECTS), 0, 0, 0
        self.categories = ["Work", "Travel", "Meeting"]
        self.landscape, self.date_view, self.separator_view = False, 0, 1
        self.clock = datetime.datetime(2005, 10, 29, 12, 0, 0)
        self.files = {OLDER_FILE[0]: OLDER_FILE[1].encode()}  # path under the device: bytes

    def say(self, *lines):
        self.lines.extend(lines)

    def load(self):
        self.shown = sorted(self.records[self.current], key=lambda r: r[0])

    def ok(self, button=1027):
        # In landscape the dialog's OK is hidden and the shell's Done confirms.
        self.say("click 1" if self.landscape else "click %d" % button)

    def others(self):
        return [p for p in self.names if p != self.current]

    def refresh(self):
        # The main list is filled again from the store: switching away and back sorts it.
        self.say('project "%s"' % self.names[self.rnd.choice(self.others())],
                 'project "%s"' % self.names[self.current])
        self.load()

    def choose_duration(self):
        hours = self.rnd.randrange(24)
        tens = self.rnd.randrange(1 if hours else 2, 6) if self.rnd.random() < 0.9 else 0
        tens = tens or (0 if hours else 3)
        self.say('choose 1018 "%02d"' % hours, 'choose 1019 "%d0"' % tens)
        return str(hours * 60 + tens * 10)

    def add(self):
        used = {r[0] for r in self.records[self.current]}
        date = None
        while date is None or date in used:
            date = datetime.date(2000, 1, 1) + self.rnd.randrange(3650) * DAY
        category = self.rnd.choice(self.categories)
        memo = " ".join(self.rnd.sample(MEMO_WORDS, self.rnd.randrange(3)))
        self.say("command 40003", "date 1016 " + date.isoformat())
        record = (date, self.choose_duration(), category, memo)
        self.say('choose 1021 "%s"' % category, *(['type 1025 "%s"' % memo] if memo else []))
        self.ok()
        self.records[self.current].append(record)
        self.shown.append(record)

    def edit(self):
        row = self.rnd.randrange(len(self.shown))
        old = self.shown[row]
        self.say("tap 500 %d" % row)
        new = (old[0], self.choose_duration(), self.rnd.choice(self.categories), old[3])
        self.say('choose 1021 "%s"' % new[2])
        self.ok()
        self.records[self.current][self.records[self.current].index(old)] = self.shown[row] = new

    def delete(self):
        row = self.rnd.randrange(len(self.shown))
        record = self.shown.pop(row)
        self.records[self.current].remove(record)
        self.say("tap 500 %d" % row, "click 1028", "answer yes")
        if len(self.undo) == UNDO_LIMIT:
            self.say("answer yes")  # the oldest copy may go
            self.undo.pop(0)
        self.undo.append((self.current, record))

    def undo_last(self):
        project, record = self.undo.pop()
        self.say("command 40050")
        self.records[project].append(record)
        self.shown += [record] if project == self.current else []

    def empty_undo(self):
        self.say("command 40053")
        self.undo = []

    def range_delete(self):
        dates = sorted(r[0] for r in self.shown)
        first = self.rnd.randrange(len(dates))
        start, end = dates[first], dates[min(len(dates) - 1, first + self.rnd.randrange(4))]
        self.say("command 40052", "date 1105 " + start.isoformat(),
                 "date 1106 " + end.isoformat(), "click 1107", "answer yes")
        self.records[self.current] = [
            r for r in self.records[self.current] if not start <= r[0] <= end]
        self.load()

    def rename(self):
        old = self.rnd.choice(self.categories)
        self.renames += 1
        new = "Kind %d" % self.renames
        self.say("command 40019", "check 1042", 'choose 1036 "%s"' % old, "click 1033",
                 'type 1041 "%s"' % new, "click 1037", "click 1")
        self.categories[self.categories.index(old)] = new
        for rs in self.records.values():
            rs[:] = [(d, m, new if c == old else c, memo) for d, m, c, memo in rs]
        self.refresh()

    def switch(self):
        self.current = self.rnd.choice(self.others())
        self.say('project "%s"' % self.names[self.current])
        self.load()

    def rotate(self):
        self.landscape = not self.landscape
        self.say("screen 320 240" if self.landscape else "screen 240 320")
        self.load()  # the list is filled again for the new size, sorted

    def restart(self):
        self.say("close", "start")
        self.undo = []  # the undo list lives as long as the program
        self.load()

    def view_options(self):
        self.date_view, self.separator_view = self.rnd.randrange(4), self.rnd.randrange(2)
        self.say("command 40046", 'choose 1122 "%s"' % DATE_VIEWS[self.date_view],
                 'choose 1126 "%s"' % SEPARATOR_VIEWS[self.separator_view], "click 1130")
        self.refresh()

    # Projects: the book lists them by name; a tap on a row opens the Project dialog.

    def book_row(self, project):
        return sorted(self.names.values()).index(self.names[project])

    def unused_name(self):
        self.new_names += 1
        return "%s %d" % (self.rnd.choice(NEW_NAMES), self.new_names)

    def new_project(self):
        from_book = self.rnd.random() < 0.5
        self.say(*(["command 40055", "click 1161"] if from_book else ["command 40054"]))
        back = ["click 1160"] if from_book else []  # the book opens again
        if len(self.names) >= PROJECT_LIMIT:
            return self.say(*back)  # refused with a message
        name = self.unused_name()
        self.say('type 1134 "%s"' % name)
        if self.rnd.random() < 0.5:
            self.say('type 1136 "%s"' % self.rnd.choice(MEMO_WORDS))
        self.ok(1138)
        self.say(*back)
        self.current, self.shown = self.next_project, []  # the new project, empty, is current
        self.next_project += 1
        self.names[self.current], self.records[self.current] = name, []

    def rename_project(self):
        project = self.rnd.choice(list(self.names))
        name = self.unused_name()
        self.say("command 40055", "tap 502 %d" % self.book_row(project), 'type 1134 "%s"' % name)
        self.ok(1138)
        self.say("click 1160")
        self.names[project] = name
        self.current = project  # the project just edited
        self.refresh()

    def delete_project(self):
        project = self.rnd.choice(self.others())
        if any(p == project for p, _ in self.undo):
            self.empty_undo()  # no deleted record waits to come back into it
        self.say("command 40055", "tap 502 %d" % self.book_row(project), "click 1139",
                 "answer yes", "click 1137", "click 1160")
        del self.names[project], self.records[project]
        self.refresh()

    # Exports: the Export File Options dialog of template first (1071 or 1092) after the lines
    # `before`; the file holds `head` (None: the time header) and `rows` (an int: minutes).

    def export(self, first, before, head, rows, after=()):
        self.say(*before)
        name = self.rnd.choice(EXPORT_NAMES)
        folder = self.rnd.randrange(2)
        unicode = self.rnd.random() < 0.4
        time_type = self.rnd.randrange(3)
        padded = self.rnd.choice(["%s", " %s", "%s  "]) % name  # blanks are trimmed
        self.say('choose %d "%s"' % (first + 4, TIME_TYPES[time_type]),
                 "check %d" % (first + (7 if unicode else 6)), "check %d" % (first + 9 + folder),
                 'type %d "%s"' % (first + 2, padded), "click %d" % (first + 12))
        path = "%s/%s.csv" % (FOLDERS[folder], name)
        if path in self.files and self.rnd.random() < 0.3:
            self.say("answer no", "click %d" % (first + 11))  # the file stays, the dialog too
        else:
            self.say(*(["answer yes"] if path in self.files else []))
            sep = ",:"[self.separator_view]
            text = "".join(",".join('"%s"' % (
                "Time (%s)" % TIME_TYPES[time_type] if f is None else
                time_text(f, time_type, sep) if isinstance(f, int) else f).replace('"', '""')
                for f in fields) + "\r\n" for fields in [head] + rows)
            self.files[path] = text.encode("utf-16-le" if unicode else "cp1252")
        self.say(*after)

    def export_records(self):
        self.export(1071, ["command 40045"], ["Date", "Category", None, "Memo"],
                    [[date_text(d, self.date_view), c, int(m), memo or "----"]
                     for d, m, c, memo in self.shown])

    def date_range(self, dates):
        # A range around one of the dates, so that it holds at least that one.
        middle = self.rnd.choice(dates)
        start = middle - self.rnd.choice([0, 30, 400, 4000]) * DAY
        end = middle + self.rnd.choice([0, 30, 400, 4000]) * DAY
        return max(start, datetime.date(1990, 1, 1)), end

    def export_report(self):
        start, end = self.date_range([r[0] for r in self.shown])
        self.export(1092, ["command 40021", "date 1053 %s" % start, "date 1054 %s" % end,
                           "check 1057", "click 1058", "click 1059"], ["Category", None],
                    [[c, sum(int(r[1]) for r in self.shown if r[2] == c and start <= r[0] <= end)]
                     for c in sorted(self.categories)], ["click 1"])

    def export_balance(self):
        start, end = self.date_range([r[0] for rs in self.records.values() for r in rs])
        self.export(1092, ["command 40056", "date 1182 %s" % start, "date 1184 %s" % end,
                           "click 1185", "click 1187"], ["Project", None],
                    [[self.names[p], sum(int(r[1]) for r in self.records[p]
                                         if start <= r[0] <= end)]
                     for p in sorted(self.names, key=lambda p: self.names[p])], ["click 1"])
        self.refresh()  # the balance read every project's records

    def run(self, actions):
        self.say("start")
        self.load()
        for _ in range(actions):
            self.clock += datetime.timedelta(minutes=1)
            self.say("clock " + self.clock.strftime("%Y-%m-%d %H:%M:%S"))
            choices = [(self.add, 30), (self.switch, 6), (self.rotate, 3), (self.restart, 1),
                       (self.rename, 2), (self.view_options, 0.4), (self.new_project, 0.8),
                       (self.rename_project, 0.4)]
            choices += [(self.delete_project, 0.5)] if len(self.names) > 2 else []
            if self.shown:
                choices += [(self.edit, 15), (self.delete, 18), (self.range_delete, 3),
                            (self.export_records, 0.5), (self.export_report, 0.3)]
            choices += [(self.export_balance, 0.3)] if any(self.records.values()) else []
            choices += [(self.undo_last, 10), (self.empty_undo, 1)] if self.undo else []
            self.rnd.choices([c[0] for c in choices], [c[1] for c in choices])[0]()
        self.say("close", "show store")


def main():
    if len(sys.argv) not in (5, 6, 7):
        sys.exit("gen.py SEEDFILE SCRIPT EXPECTED FILES [ACTIONS] [RANDOM_SEED]")
    seedfile, script, expected, files = sys.argv[1:5]
    actions = int(sys.argv[5]) if len(sys.argv) > 5 else 3000
    session = Session(random.Random(int(sys.argv[6]) if len(sys.argv) > 6 else 20051029))
    seed = ["clock 2005-10-29 12:00:00"]
    seed += ['project "%s" 2005-10-0%d' % (p, i + 1) for i, p in enumerate(PROJECTS)]
    seed += ['category "%s"' % c for c in session.categories]
    seed += ['sz "Software\\Brumo\\Quorvella\\Settings" LastProject "Alpha"',
             'file "%s" "%s"' % OLDER_FILE]
    session.run(actions)
    expect = []
    for p, name in sorted(session.names.items(), key=lambda item: item[1]):
        expect.append('project "%s"' % name)
        expect += ['%s %s %s "%s" "%s"' % (name, d.isoformat(), m, c, memo)
                   for d, m, c, memo in sorted(session.records[p])]
    for path, lines in ((seedfile, seed), (script, session.lines), (expected, expect)):
        with open(path, "w") as out:
            out.write("".join(line + "\n" for line in lines))
    for path, data in session.files.items():
        os.makedirs(os.path.dirname(os.path.join(files, path)), exist_ok=True)
        with open(os.path.join(files, path), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()
