#!/usr/bin/env python3
"""Two computers (two data folders) sharing one sync folder, without a copying tool:
run_sync_family.py PROGRAM SEED_DEVICE."""
import json, os, pathlib, signal, subprocess, sys, tempfile, time

program, seed_device = sys.argv[1:3]
tmp = pathlib.Path(tempfile.mkdtemp())
shared = tmp / "shared"
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL: %s" % what, file=sys.stderr)


def computer(name):
    home = tmp / name
    for folder in (home / "config", home / "run"):
        folder.mkdir(parents=True, mode=0o700)
    return dict(os.environ, HOME=str(home), XDG_DATA_HOME=str(home / "data"),
                XDG_CONFIG_HOME=str(home / "config"), XDG_RUNTIME_DIR=str(home / "run"),
                QT_QPA_PLATFORM="offscreen")


A, B = computer("a"), computer("b")
data_a = tmp / "a" / "data" / "quorvella"


def q(env, *args):
    r = subprocess.run([program, *args], env=env, capture_output=True, timeout=60)
    return r.returncode, r.stdout.decode(), r.stderr.decode()


def memos(env):
    code, out, err = q(env, "list", "--json")
    return [r["memo"] for r in json.loads(out)] if code == 0 else err


def add(memo):
    return q(A, "add", "--time", "1:00", "--project", "Alpha", "--category", "Travel",
             "--date", "2026-12-01", "--memo", memo)[0]


seed = tmp / "seed"
seed.write_text('project "Alpha" 2026-11-01\nrecord "Alpha" 2026-11-02 60 "Travel" "seeded"\n'
                'category "Travel"\n')
subprocess.run([seed_device, str(data_a), str(seed)], check=True)
store = data_a / "objectstore.sqlite"
before = store.read_bytes()
check(q(A, "sync", "--folder", str(seed))[0] == 1 and store.read_bytes() == before and
      not shared.exists(), "a file is refused as the folder, and nothing changes")
check(q(A, "sync", "--now")[0] == 1, "sync --now while off is refused")
check(q(A, "sync")[0] == 2 and q(A, "sync", "--off", "--now")[0] == 2 and
      q(A, "sync", "--off", "--json")[0] == 2, "sync takes one of its options")
check(q(A, "sync", "--folder", str(shared))[0] == 0, "sync turned on on A")
check(q(B, "sync", "--folder", str(shared))[0] == 0, "sync turned on on a computer never used")
check(memos(B) == ["seeded"], "A's book reaches B: %s" % memos(B))
check(add("typed") == 0 and memos(B) == ["seeded", "typed"], "a booking on A reaches B")
status = json.loads(q(B, "sync", "--status", "--json")[1])
others = [c for c in status["computers"] if not c["self"]]
check(status["on"] and status["folder"] == str(shared) and len(status["computers"]) == 2 and
      len(others) == 1 and others[0]["changes"] >= 4 and others[0]["waiting"] == 0 and
      time.strptime(others[0]["last_seen"], "%Y-%m-%dT%H:%M:%SZ"), "the status: %s" % status)

# B's window follows what arrives, except while a dialog is open there.
said = tmp / "window.err"
window = subprocess.Popen([program], env=dict(B, QUORVELLA_TEST_WINDOW_ITEM=""),
                          stderr=said.open("w"))
for _ in range(150):
    if "title" in said.read_text():
        break
    time.sleep(0.1)


def arrives(memo, seconds=15, env=B):
    for _ in range(seconds * 5):
        if memo in memos(env):
            return True
        time.sleep(0.2)
    return False


check(add("live") == 0 and arrives("live"), "a booking on A reaches B's window")
q(B, "add", "--time", "0:30", "--project", "Alpha", "--category", "Travel", "--memo", "from B")
check(arrives("from B", 15, A), "the window writes out its own booking")
q(B, "timer", "start")
q(B, "timer", "stop")  # the window opens Register Time with the proposal
for _ in range(50):
    if "dialog is open" in q(B, "timer", "stop", "--discard")[2]:
        break
    time.sleep(0.1)
check(add("held") == 0 and not arrives("held", 4), "nothing arrives under an open dialog")
window.send_signal(signal.SIGTERM)
check(window.wait(timeout=30) == 0, "the window ends well")
check("held" in memos(B), "what waited arrived once the dialog closed")
check(q(B, "sync", "--off")[0] == 0 and add("while off") == 0 and "while off" not in memos(B),
      "a computer with sync off takes nothing in")
check(q(B, "sync", "--folder", str(shared))[0] == 0 and "while off" in memos(B),
      "turned on again, it goes on where it stopped")
sys.exit(1 if failures else 0)
