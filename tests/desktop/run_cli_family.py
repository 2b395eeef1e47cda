#!/usr/bin/env python3
"""The command line as a whole process: run_cli_family.py PROGRAM SEED_DEVICE CASE.

standalone: no window; window: the same commands handed to a running window (offscreen)."""
import calendar, fcntl, json, os, pathlib, signal, subprocess, sys, tempfile, threading, time

program, seed_device, case = sys.argv[1:4]
tmp = pathlib.Path(tempfile.mkdtemp())
data = tmp / "data" / "quorvella"
personal = tmp / "home" / "Documents" / "Quorvella" / "Personal"
env = dict(os.environ, HOME=str(tmp / "home"), XDG_DATA_HOME=str(tmp / "data"),
           XDG_CONFIG_HOME=str(tmp / "config"), XDG_RUNTIME_DIR=str(tmp / "run"),
           QT_QPA_PLATFORM="offscreen")
for folder in (personal, tmp / "config", tmp / "run"):
    folder.mkdir(parents=True, mode=0o700)
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL [%s]: %s" % (case, what), file=sys.stderr)


def q(*args):
    r = subprocess.run([program, *args], env=env, capture_output=True, timeout=60)
    return r.returncode, r.stdout.decode(), r.stderr.decode()


def store_bytes():
    return b"".join(p.read_bytes() for p in sorted(data.glob("objectstore.sqlite*")))


# A first command on a data folder that has nothing yet: refused, and nothing made.
check(q("add", "--time", "1:00", "--project", "Alpha", "--category", "Travel")[0] == 1,
      "a booking without any project is refused")
check(not data.exists(), "a refused command makes no data folder")

seed = tmp / "seed"
seed.write_text('project "Alpha" 2005-10-01 "first"\nproject "Beta" 2005-10-02\n'
                'record "Alpha" 2005-10-03 90 "Travel" "train"\n'
                'record "Alpha" 2005-10-05 30 "Meeting"\nrecord "Beta" 2005-10-04 60 "Meeting"\n'
                'category "Travel"\ncategory "Meeting"\n'
                'sz "Software\\Brumo\\Quorvella\\Settings" LastProject "Alpha"\n'
                'dword "Software\\Brumo\\Quorvella\\Settings" SortOrder 1\n')
subprocess.run([seed_device, str(data), str(seed)], check=True)

window = None
if case == "window":
    said = tmp / "window.err"  # the window says each new title there
    window = subprocess.Popen([program], env=dict(env, QUORVELLA_TEST_WINDOW_ITEM=""),
                              stderr=said.open("w"))
    for _ in range(150):
        if list((tmp / "run").glob("quorvella-*")) and "title" in said.read_text():
            break
        time.sleep(0.1)
    time.sleep(0.3)
    # The window holds the data folder, so every command below goes through it.
    with open(data / "quorvella.lock", "a") as lock:
        try:
            fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
            check(False, "the window holds the data folder")
        except BlockingIOError:
            pass

memo = 'a "q" \\ é\t'
code, out, err = q("add", "--time", "2:10", "--project", "Alpha", "--category", "Travel",
                   "--date", "2005-10-04", "--memo", memo)
check(code == 0 and err == "", "a booking is made: %d %s" % (code, err))
code, out, _ = q("list", "--json")
listed = json.loads(out)
check([r["date"] for r in listed] == ["2005-10-05", "2005-10-04", "2005-10-03"],
      "the list keeps the main list's order (newest first): %s" % out)
check(listed[1] == {"date": "2005-10-04", "minutes": 130, "project": "Alpha",
                    "category": "Travel", "memo": memo}, "the booking reads back: %s" % out)
check(q("list")[1].splitlines()[1] == '04-10-2005\t2:10\tAlpha\tTravel\ta "q" \\ é ',
      "the text list shows the window's formats")
report = json.loads(q("report", "projects", "--json", "--from", "2005-10-04")[1])
check(report == {"rows": [{"name": "Alpha", "minutes": 160}, {"name": "Beta", "minutes": 60}],
                 "total": 220}, "the projects balance over a range: %s" % report)
report = json.loads(q("report", "categories", "--project", "Beta", "--json")[1])
check(report["rows"] == [{"name": "Meeting", "minutes": 60}, {"name": "Travel", "minutes": 0}]
      and report["total"] == 60, "the time report of a project named: %s" % report)

# Every refusal and every reading command leaves the store as it was.
before = store_bytes()
for status, args in [
        (1, ["add", "--time", "0:15", "--project", "Alpha", "--category", "Travel"]),
        (1, ["add", "--time", "1440", "--project", "Alpha", "--category", "Travel"]),
        (1, ["add", "--time", "1:00", "--project", "Gamma", "--category", "Travel"]),
        (1, ["add", "--time", "1:00", "--project", "Alpha", "--category", "travel"]),
        (1, ["add", "--time", "1:00", "--project", "Alpha", "--category", "Travel",
             "--memo", "x" * 30]),
        (1, ["report", "projects", "--from", "2006-01-01"]),
        (1, ["list", "--from", "2005-10-05", "--to", "2005-10-04"]),
        (1, ["export", "records", "--name", "../x"]),
        (2, ["add", "--time", "1.5", "--project", "Alpha", "--category", "Travel"]),
        (2, ["add", "--time", "1:00", "--project", "Alpha", "--category", "Travel",
             "--date", "2005-02-30"]),
        (2, ["add", "--project", "Alpha", "--category", "Travel"]),
        (2, ["list", "--bogus"]), (2, ["report"]),
        (0, ["list"]), (0, ["projects", "--json"]), (0, ["categories"]), (0, ["add", "--help"])]:
    code, _, err = q(*args)
    check(code == status and (status == 0 or err.count("\n") in (1, 2)),
          "%s: status %d, %s" % (args, code, err))
    check(store_bytes() == before, "%s leaves the store as it was" % args)
check(json.loads(q("categories", "--json")[1]) == ["Travel", "Meeting"], "the categories")

# Exports: the file is kept unless --replace; UTF-16 on --unicode.
check(q("export", "records", "--name", "out")[0] == 0, "records exported")
csv = personal / "out.csv"
first = csv.read_bytes()
check(first.startswith(b'"') and b"train" in first and b"\r\n" in first, "a CSV file: %r" % first)
check(q("export", "projects", "--name", "out", "--unicode")[0] == 1 and csv.read_bytes() == first,
      "an existing file is kept")
check(q("export", "projects", "--name", "out", "--unicode", "--replace")[0] == 0 and
      "Beta".encode("utf-16-le") in csv.read_bytes(), "--replace writes the balance in UTF-16")

# The timer: started, read back, stopped by booking or discarding; the window follows.
timer = data / "timer"


def title(shown):  # the window's title says what it shows
    return window is None or said.read_text().splitlines()[-1].endswith("title: " + shown)


check(q("timer", "start", "--memo", "m")[0] == 0, "a timer starts")
status = json.loads(q("timer", "status", "--json")[1])
start = calendar.timegm(time.strptime(status.pop("start"), "%Y-%m-%dT%H:%M:%SZ"))
check(status == {"running": True, "project": "Alpha", "category": "Meeting", "memo": "m",
                 "minutes": 0} and abs(start - time.time()) < 10, "the timer: %s" % status)
check(title("Quorvella - Alpha 0:00"), "the window shows the timer")
before = (store_bytes(), timer.read_bytes())
check(q("timer", "start", "--project", "Beta")[0] == 1 and before == (store_bytes(),
      timer.read_bytes()), "a second timer is refused and nothing changes")
if window is None:
    check(q("timer", "stop")[0] == 2, "a stop without a window needs --book or --discard")
check(q("timer", "stop", "--discard")[0] == 0 and not timer.exists() and title("Quorvella"),
      "a discarded timer is forgotten")


def write_timer(start, project):
    timer.write_text("Quorvella timer 1\nstart %s\nproject %s\ncategory Travel\nmemo late\nend\n"
                     % (time.strftime("%Y-%m-%d %H:%M:%S", time.gmtime(start)), project))


write_timer(time.time() - 3600, "Gone")
before = (store_bytes(), timer.read_bytes())
check(q("timer", "stop", "--book")[0] == 1 and before == (store_bytes(), timer.read_bytes()),
      "a timer whose project has gone is kept, nothing booked")
write_timer(time.time() - 25 * 3600, "Beta")
code, out, err = q("timer", "stop", "--book")
check(code == 0 and "1:10 of the time run is not booked" in err, "23:50 at most: " + err)
start = int(time.time()) - 95 * 60
write_timer(start, "Alpha")
code, out, err = q("timer", "stop", "--book")
check(code == 0 and not timer.exists(), "the proposal is booked: %d %s" % (code, err))
listed = json.loads(q("list", "--json")[1])
check({"date": time.strftime("%Y-%m-%d", time.localtime(start)), "minutes": 100,
       "project": "Alpha", "category": "Travel", "memo": "late"} in listed, "booked: %s" % listed)
check(q("timer", "stop", "--book")[0] == 1, "no timer to stop")
timer.write_text("junk")
code, out, err = q("timer", "status", "--json")
check(code == 0 and json.loads(out) == {"running": False} and "moved aside" in err and
      list(data.glob("timer.damaged-*")), "a damaged timer is moved aside: " + err)
if window is not None:
    q("timer", "start", "--category", "Travel")
    check(q("timer", "stop")[0] == 0, "a stop without a flag opens Register Time")
    for _ in range(50):
        if "dialog is open" in q("timer", "stop", "--discard")[2]:
            break
        time.sleep(0.1)
    else:
        check(False, "Register Time is open in the window")

if window is None:
    # Another command line holds the data folder: the command waits for it, then gives up.
    held = open(data / "quorvella.lock", "a")
    fcntl.flock(held, fcntl.LOCK_EX)
    code, _, err = q("categories")
    check(code == 1 and "holds the data folder" in err, "a held folder is given up on: " + err)
    threading.Timer(0.5, held.close).start()
    check(q("categories")[0] == 0, "a folder let go of within the wait is taken")

if window is not None:
    window.send_signal(signal.SIGTERM)
    check(window.wait(timeout=20) == 0, "the window ends well")
    # What the window stored reads the same without it.
    check(json.loads(q("list", "--json")[1]) == listed, "the window's booking is in the store")

sys.exit(1 if failures else 0)
