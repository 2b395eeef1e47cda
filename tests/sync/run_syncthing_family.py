#!/usr/bin/env python3
"""Two computers keep one time book through two real Syncthing instances on this machine:
run_syncthing_family.py PROGRAM SEED_DEVICE EDIT_RECORD

Each instance has its own home, listens on loopback only and finds the other by its address (no
discovery, relays, NAT traversal or reporting). Exit status 77 (skipped, the reason said) when
syncthing is missing or cannot start, a failure instead where QV_SYNCTHING_REQUIRED is set (CI).
The whole run is bounded; both instances are stopped, and killed if need be, whatever happens."""
import ctypes, json, os, pathlib, re, secrets, shutil, signal, socket, subprocess, sys, tempfile
import time, urllib.request, zlib
import xml.etree.ElementTree as ET

SKIPPED = 77
program, seed_device, edit_record = sys.argv[1:4]
tmp = pathlib.Path(tempfile.mkdtemp(prefix="qv-syncthing-"))
instances = []


class TimeUp(Exception):
    pass


def time_up(*_):
    raise TimeUp()


signal.signal(signal.SIGALRM, time_up)
signal.signal(signal.SIGTERM, time_up)
signal.alarm(110)  # ctest's limit is beyond this, so the instances are always stopped here


def skip(why):
    print("skipped: " + why)
    raise SystemExit(1 if os.environ.get("QV_SYNCTHING_REQUIRED") else SKIPPED)


def die_with_parent():  # an instance never outlives this script, even a killed one
    ctypes.CDLL(None, use_errno=True).prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG


def free_ports(n):
    socks = [socket.socket() for _ in range(n)]
    for s in socks:
        s.bind(("127.0.0.1", 0))
    ports = [s.getsockname()[1] for s in socks]
    for s in socks:
        s.close()
    return ports


def wait_for(what, ok, seconds):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if ok():
            return time.monotonic() - (end - seconds)
        time.sleep(0.2)
    raise AssertionError("%s within %d s" % (what, seconds))


class Syncthing:
    def __init__(self, name, folder):
        self.name, self.home, self.folder = name, tmp / ("st-" + name), folder
        # STMONITORED: one process, without the monitor that would restart it.
        self.env = dict(os.environ, HOME=str(self.home), STNODEFAULTFOLDER="1", STNOUPGRADE="1",
                        STMONITORED="1")
        made = subprocess.run(["syncthing", "generate", "--home", str(self.home),
                               "--no-default-folder"], env=self.env, capture_output=True,
                              timeout=30)
        found = re.search(rb"Device ID: *([A-Z0-9-]+)", made.stdout + made.stderr)
        if made.returncode != 0 or not found:
            skip("syncthing cannot make its keys: %r" % (made.stdout + made.stderr))
        self.id = found.group(1).decode()
        self.port, self.gui = free_ports(2)
        self.key = secrets.token_hex(16)
        self.proc, self.paused = None, False

    def configure(self, peer, dials):
        path = self.home / "config.xml"
        root = ET.parse(path).getroot()
        options = root.find("options")
        for tag, value in [("listenAddress", "tcp://127.0.0.1:%d" % self.port),
                           ("globalAnnounceEnabled", "false"), ("localAnnounceEnabled", "false"),
                           ("relaysEnabled", "false"), ("natEnabled", "false"),
                           ("urAccepted", "-1"), ("crashReportingEnabled", "false"),
                           ("startBrowser", "false"), ("autoUpgradeIntervalH", "0"),
                           ("reconnectionIntervalS", "1"), ("setLowPriority", "false")]:
            found = options.find(tag)
            (ET.SubElement(options, tag) if found is None else found).text = value
        gui = root.find("gui")
        gui.find("address").text = "127.0.0.1:%d" % self.gui
        gui.find("apikey").text = self.key
        me = root.find("device")
        other = ET.fromstring(ET.tostring(me))
        other.set("id", peer.id)
        other.set("name", peer.name)
        # Only one side dials: two dialling at once can drop both connections for a while.
        other.find("address").text = "tcp://127.0.0.1:%d" % peer.port if dials else "dynamic"
        root.insert(list(root).index(me) + 1, other)
        folder = ET.SubElement(root, "folder", {
            "id": "quorvella", "label": "quorvella", "path": str(self.folder),
            "type": "sendreceive", "rescanIntervalS": "5", "fsWatcherEnabled": "true",
            "fsWatcherDelayS": "1"})
        for device in (self.id, peer.id):
            ET.SubElement(folder, "device", {"id": device})
        ET.SubElement(folder, "minDiskFree", {"unit": "%"}).text = "0"
        ET.ElementTree(root).write(path)
        (self.folder / ".stfolder").mkdir(parents=True)

    def start(self):
        self.log = (tmp / ("st-%s.log" % self.name)).open("wb")
        self.proc = subprocess.Popen(
            ["syncthing", "serve", "--home", str(self.home), "--no-browser", "--no-restart",
             "--no-upgrade", "--gui-address=http://127.0.0.1:%d" % self.gui],
            env=self.env, stdout=self.log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL,
            start_new_session=True, preexec_fn=die_with_parent)
        instances.append(self)

    def rest(self, method, path, body=None):
        request = urllib.request.Request(
            "http://127.0.0.1:%d%s" % (self.gui, path), method=method,
            data=None if body is None else json.dumps(body).encode(),
            headers={"X-API-Key": self.key, "Content-Type": "application/json"})
        with urllib.request.urlopen(request, timeout=5) as answer:
            text = answer.read()
        return json.loads(text) if text.strip() else None

    def up(self):
        try:
            return self.rest("GET", "/rest/system/ping") == {"ping": "pong"}
        except OSError:
            return False

    def connected(self, peer):
        return self.rest("GET", "/rest/system/connections")["connections"].get(
            peer.id, {}).get("connected", False)

    def scan(self):  # the folder looked at now rather than on the watcher's delay
        if not self.paused:
            self.rest("POST", "/rest/db/scan?folder=quorvella")

    def pause(self, paused):  # the folder only: the connection stays, so resuming is quick
        self.rest("PATCH", "/rest/config/folders/quorvella", {"paused": paused})
        self.paused = paused

    def stop(self):  # the whole process group, killed when it does not end in time
        try:
            os.killpg(self.proc.pid, signal.SIGTERM)
            self.proc.wait(timeout=10)
        except (ProcessLookupError, subprocess.TimeoutExpired):
            pass
        try:
            os.killpg(self.proc.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        self.proc.wait()


def the_harness():
    if shutil.which("syncthing") is None:
        skip("syncthing is not installed")
    a = Syncthing("a", tmp / "shared-a")
    b = Syncthing("b", tmp / "shared-b")
    a.configure(b, True)
    b.configure(a, False)
    for st in (b, a):  # the dialler once the other listens
        st.start()
        try:
            wait_for("the instance answers", lambda: st.proc.poll() is not None or st.up(), 30)
            assert st.proc.poll() is None
        except AssertionError:
            skip("syncthing cannot start: " + (tmp / ("st-%s.log" % st.name)).read_text(
                errors="replace")[-2000:])
    took = wait_for("the instances connect", lambda: a.connected(b) and b.connected(a), 30)
    print("connected after %.1f s" % took)
    # A plain file written on one side appears on the other (and stays there, beside the
    # journals, which the program leaves alone).
    (a.folder / "probe.txt").write_text("from a\n")
    a.scan()
    took = wait_for("a plain file copied", lambda: (b.folder / "probe.txt").exists() and
                    (b.folder / "probe.txt").read_text() == "from a\n", 30)
    print("a plain file copied in %.1f s" % took)
    return a, b


JOURNAL = re.compile(r"quorvella-[0-9a-f]{32}\.journal")


def journals(folder):
    """The journals in a folder. Syncthing brings a newer copy of a file by removing the old one
    and renaming the new one in, so a file just listed may be gone for a moment: it counts as
    not there yet."""
    found = {}
    for p in folder.iterdir():
        if JOURNAL.fullmatch(p.name):
            try:
                found[p.name] = p.read_bytes()
            except FileNotFoundError:
                pass
    return found


def merge_rule(folder):
    """The records the merge rule makes of every journal line: per record the change with the
    greatest (clock, computer) wins, and the record is there when its winner is a put."""
    unescape = {"\\": "\\", "t": "\t", "n": "\n", "r": "\r"}
    winners = {}
    for text in journals(folder).values():
        for line in text.decode().splitlines():
            fields = line.split("\t")
            assert fields[0] == "Q1" and fields[-1] == "%08x" % zlib.crc32(
                line[:line.rindex("\t")].encode()), line
            if fields[5] in ("R+", "R-"):
                order = (int(fields[3]), fields[1])
                if fields[6] not in winners or winners[fields[6]][0] < order:
                    winners[fields[6]] = (order, fields)
    return sorted((f[7], int(f[8]), f[9], f[10], re.sub(r"\\(.)", lambda m: unescape[m[1]], f[11]))
                  for _, f in winners.values() if f[5] == "R+")


class Computer:
    """A data folder of the program, its sync folder kept in step by one instance."""

    def __init__(self, name, st, records):
        root = tmp / name
        self.name, self.st, self.data = name, st, root / "data" / "quorvella"
        self.env = dict(os.environ, HOME=str(root / "home"), XDG_DATA_HOME=str(root / "data"),
                        XDG_CONFIG_HOME=str(root / "config"), XDG_RUNTIME_DIR=str(root / "run"),
                        QT_QPA_PLATFORM="offscreen")
        for folder in (root / "home", root / "config", root / "run"):
            folder.mkdir(parents=True, mode=0o700)
        (root / "seed").write_text('project "Alpha" 2005-10-01 "first"\ncategory "Travel"\n'
                                   'category "Meeting"\n' + records)
        subprocess.run([seed_device, str(self.data), str(root / "seed")], check=True, timeout=30)

    def q(self, *args, tool=None):
        r = subprocess.run([tool or program, *args], env=self.env, capture_output=True,
                           timeout=30)
        assert r.returncode == 0, "%s: %s ended %d: %s" % (self.name, args, r.returncode,
                                                            r.stderr.decode())
        self.st.scan()
        return r.stdout.decode()

    def book(self):
        return [json.loads(self.q(*what, "--json")) for what in (
            ("list", "--project", "Alpha"), ("projects",), ("categories",))]


def the_cases(a_st, b_st):
    a = Computer("a", a_st, 'record "Alpha" 2005-10-03 90 "Travel" "train"\n')
    b = Computer("b", b_st, "")
    a.q("sync", "--folder", str(a_st.folder))
    b.q("sync", "--folder", str(b_st.folder))
    a.q("add", "--time", "1:30", "--project", "Alpha", "--category", "Meeting", "--date",
        "2005-10-06", "--memo", "from a")
    took = wait_for("a booking on one computer shown on the other", lambda: "from a" in [
        r["memo"] for r in json.loads(b.q("list", "--project", "Alpha", "--json"))], 30)
    print("a booking shown on the other computer after %.1f s" % took)

    def in_step():
        ja, jb = journals(a_st.folder), journals(b_st.folder)
        return len(ja) == 2 and ja == jb

    wait_for("both journals on both computers", in_step, 30)
    # Apart, the same record is edited differently on each computer, and each books one more.
    for st in (a_st, b_st):
        st.pause(True)
    for c in (a, b):
        c.q(str(c.data), "2005-10-03", "train", "60" if c is a else "120", "edited on " + c.name,
            tool=edit_record)
        c.q("add", "--time", "0:40", "--project", "Alpha", "--category", "Travel", "--date",
            "2005-10-07", "--memo", "apart on " + c.name)
    apart = [sorted(r["memo"] for r in c.book()[0]) for c in (a, b)]
    assert apart == [["apart on a", "edited on a", "from a"],
                     ["apart on b", "edited on b", "from a"]], apart
    time.sleep(2)  # beyond the watcher's delay: nothing goes across while paused
    assert not in_step(), "the journals went across while the computers were apart"
    for st in (a_st, b_st):
        st.pause(False)

    def quiet():  # both journals on both computers, and a run on each writes nothing more
        if not in_step():
            return False
        a.q("sync", "--now")
        b.q("sync", "--now")
        return in_step()

    took = wait_for("the computers back in step", quiet, 30)
    print("back in step after %.1f s" % took)
    # The records in a sorted order: records of one day are listed in the order of their
    # identifiers, which each computer gives on its own.
    book, other = a.book(), b.book()
    shown = sorted((r["date"], r["minutes"], r["project"], r["category"], r["memo"])
                   for r in book[0])
    assert book[1:] == other[1:] and shown == sorted(
        (r["date"], r["minutes"], r["project"], r["category"], r["memo"]) for r in other[0]), \
        "the books differ:\n%s\n%s" % (book, other)
    assert shown == merge_rule(a_st.folder), "not the merge rule's book: %s" % shown
    memos = [r[4] for r in shown]
    assert len(memos) == 4 and set(memos) - {"edited on a", "edited on b"} == {
        "from a", "apart on a", "apart on b"}, memos


status = 1
started = time.monotonic()
try:
    a_st, b_st = the_harness()
    the_cases(a_st, b_st)
    status = 0
except SystemExit as e:
    status = e.code
except AssertionError as e:
    print("FAIL: %s" % e, file=sys.stderr)
except TimeUp:
    print("FAIL: the run took longer than its limit", file=sys.stderr)
finally:
    for st in instances:
        st.stop()
    signal.alarm(0)
    if status not in (0, SKIPPED):
        for st in instances:
            print("--- syncthing %s\n%s" % (st.name, (tmp / ("st-%s.log" % st.name)).read_text(
                errors="replace")[-3000:]), file=sys.stderr)
print("the run took %.1f s" % (time.monotonic() - started))
shutil.rmtree(tmp, ignore_errors=True)
sys.exit(status)
