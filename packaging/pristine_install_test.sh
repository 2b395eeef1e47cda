#!/usr/bin/env bash
# Installs the Debian package on a pristine Debian 12 and checks it there, as root:
#
#   packaging/pristine_install_test.sh [--base DIR] [--keep] [PACKAGE.deb]
#
# NOT run by CI: it takes several minutes and needs the network (debootstrap and apt fetch
# from the Debian mirror). Run it by hand before a release.
#
# A minimal Debian 12 (debootstrap --variant=minbase) is made in a scratch folder, entered with
# chroot, and there:
#   1. `apt install ./quorvella_*.deb` on the bare system must pull every library it needs;
#   2. `quorvella --version` and `--help` answer, `man -w quorvella` finds the manual page and
#      man renders it without a warning;
#   3. an ordinary user starts the program from the Exec line of its desktop entry on a virtual
#      X server (Xvfb); it must still run after a few seconds, a picture of the screen is taken
#      (left as screen.png in the scratch folder, to be looked at), SIGTERM ends it with status
#      0, and its data folder, store, settings and document folders have been made;
#   4. `apt remove quorvella` takes every file of the package from /usr and /etc and adds none,
#      and purging it (dpkg --purge) leaves nothing behind either (find /usr /etc, before and
#      after).
#
# PACKAGE.deb defaults to build-release/quorvella_*.deb (./quorvella.sh package makes it).
# --base DIR copies an earlier debootstrap result instead of fetching a new one (DIR is only
# read); --keep leaves the scratch folder for a look afterwards. The mirror is the one this
# machine's apt uses for Debian, else deb.debian.org.
set -euo pipefail
cd "$(dirname "$0")/.."

base="" keep=0 deb=""
while [ $# -gt 0 ]; do
    case "$1" in
        --base) base=$2; shift 2 ;;
        --keep) keep=1; shift ;;
        -*) echo "usage: $0 [--base DIR] [--keep] [PACKAGE.deb]" >&2; exit 2 ;;
        *) deb=$1; shift ;;
    esac
done
if [ "$(id -u)" -ne 0 ]; then
    echo "$0: run it as root (debootstrap and chroot need it)" >&2
    exit 2
fi
if [ -z "$deb" ]; then
    deb=$(ls build-release/quorvella_*_amd64.deb 2>/dev/null | tail -n 1 || true)
fi
if [ -z "$deb" ] || [ ! -f "$deb" ]; then
    echo "$0: no package; make it with ./quorvella.sh package" >&2
    exit 2
fi
deb=$(realpath "$deb")

step() { printf '\n=== %s\n' "$*"; }
fail() { printf 'FAILED: %s\n' "$*" >&2; exit 1; }

work=$(mktemp -d /tmp/quorvella-pristine.XXXXXX)
root=$work/root
# Nothing is removed while anything is still mounted inside: a bound /dev would go with it.
cleanup() {
    local m
    for m in dev proc; do
        if mountpoint -q "$root/$m"; then umount -R "$root/$m" || umount -lR "$root/$m"; fi
    done
    if grep -q " $root/" /proc/mounts; then
        echo "still mounted under $root; left in place" >&2
    elif [ "$keep" -eq 0 ]; then
        rm -rf "$work"
    else
        echo "scratch folder kept: $work"
    fi
}
trap cleanup EXIT

in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
                LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"; }

step "a minimal Debian 12 in $root"
if [ -n "$base" ]; then
    cp -a "$base" "$root"
else
    mirror=$(grep -rhoE 'https?://[^ ]*/debian/?( |$)' /etc/apt/sources.list /etc/apt/sources.list.d/ \
                 2>/dev/null | head -n 1 | tr -d ' ' || true)
    mirror=${mirror:-http://deb.debian.org/debian}
    command -v debootstrap >/dev/null ||
        DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends debootstrap
    debootstrap --variant=minbase bookworm "$root" "$mirror"
fi
mount -t proc proc "$root/proc"
mount --rbind /dev "$root/dev"
mount --make-rslave "$root/dev"
cp /etc/resolv.conf "$root/etc/resolv.conf"
# No service starts inside the chroot.
printf '#!/bin/sh\nexit 101\n' > "$root/usr/sbin/policy-rc.d"
chmod 755 "$root/usr/sbin/policy-rc.d"
cp "$deb" "$root/tmp/"
pkg=/tmp/$(basename "$deb")

step "apt install $(basename "$deb") on the bare system"
in_root apt-get update -q
in_root apt-get install -y -q "$pkg"
in_root dpkg -s quorvella | grep -E '^(Status|Version|Depends|Recommends):'
in_root dpkg -L quorvella > "$work/package-files"
in_root dpkg-query -W -f='${Installed-Size} KiB installed\n' quorvella
ls -l "$deb" | awk '{print $5 " bytes in the package file"}'

step "quorvella --version, --help"
in_root quorvella --version
in_root quorvella --help

step "the manual page"
in_root apt-get install -y -q --no-install-recommends man-db >/dev/null
in_root man -w quorvella
warnings=$(in_root sh -c 'MANWIDTH=80 man --warnings -E UTF-8 quorvella 2>&1 >/dev/null')
[ -z "$warnings" ] || fail "man reports: $warnings"
in_root sh -c 'MANWIDTH=80 man quorvella 2>/dev/null | head -n 12'

step "the desktop entry's Exec line, started by an ordinary user on Xvfb"
in_root apt-get install -y -q --no-install-recommends xvfb xauth x11-apps netpbm >/dev/null
desktop=$(grep -E '^/usr/share/applications/[^/]+[.]desktop$' "$work/package-files" | head -n 1)
[ -n "$desktop" ] || fail "the package has no desktop entry in /usr/share/applications"
exec_line=$(sed -n 's/^Exec=//p' "$root$desktop" | head -n 1 | sed -E 's/ +%[a-zA-Z]//g')
echo "Exec=$exec_line (from $desktop)"
[ -n "$exec_line" ] || fail "no Exec line in the desktop entry"
in_root useradd -m -s /bin/sh tester
cat > "$root/tmp/session.sh" <<EOF
#!/bin/sh
# Inside the X session: start the program, give it time to draw, photograph the screen.
$exec_line > /tmp/program.log 2>&1 &
pid=\$!
sleep 8
if ! kill -0 \$pid 2>/dev/null; then
    wait \$pid; echo "program ended early with status \$?"; exit 1
fi
xwd -root -silent > /tmp/screen.xwd
kill -TERM \$pid
wait \$pid
echo "program ended with status \$?"
EOF
chmod 755 "$root/tmp/session.sh"
# The chroot shares this machine's abstract sockets, where an X server running out here would
# answer for the same display number: a number no server here uses is taken.
display=90
while grep -q "/tmp/.X11-unix/X$display\$" /proc/net/unix || [ -e "/tmp/.X$display-lock" ]; do
    display=$((display + 1))
done
session=$(in_root runuser -u tester -- env HOME=/home/tester USER=tester \
              xvfb-run -n "$display" -s '-screen 0 1280x1024x24' /tmp/session.sh) || true
echo "$session"
echo "--- what the program printed:"
cat "$root/tmp/program.log"
[ "$session" = "program ended with status 0" ] || fail "the program did not run and end cleanly"
in_root sh -c 'xwdtopnm /tmp/screen.xwd 2>/dev/null | pnmtopng > /tmp/screen.png'
cp "$root/tmp/screen.png" "$work/screen.png"
echo "picture of the screen: $work/screen.png (kept with --keep)"
data=$root/home/tester/.local/share/quorvella
for made in "$data/objectstore.sqlite" "$data/registry.hive"; do
    [ -s "$made" ] || fail "the program made no ${made#"$root"}"
done
ls -d "$root"/home/tester/Documents/Quorvella/* | sed "s|^$root||"
# Everything the program made belongs to the user who ran it.
foreign=$(in_root find /home/tester ! -user tester)
[ -z "$foreign" ] || fail "not the user's own: $foreign"

step "apt remove and dpkg --purge leave nothing of the package in /usr and /etc"
snapshot() { (cd "$root" && find usr etc | sort); }
snapshot > "$work/installed"
in_root apt-get remove -y -q quorvella
snapshot > "$work/removed"
# A package of no repository: apt no longer knows it once removed, dpkg still purges it.
in_root dpkg --purge quorvella
snapshot > "$work/purged"
in_root dpkg -s quorvella >/dev/null 2>&1 && fail "dpkg still knows quorvella after the purge"
added=$(comm -13 "$work/installed" "$work/removed")
[ -z "$added" ] || fail "the removal made: $added"
# Every file and link of the package is gone; only folders other packages share may stay.
left=""
while IFS= read -r path; do
    [ "$path" = "/." ] && continue
    if [ -e "$root$path" ] || [ -L "$root$path" ]; then
        [ -d "$root$path" ] && [ ! -L "$root$path" ] && continue
        left+="$path "
    fi
done < "$work/package-files"
[ -z "$left" ] || fail "left behind: $left"
gone=$(comm -23 "$work/installed" "$work/removed" | wc -l)
echo "$gone paths removed; nothing of the package left"
purged=$(comm -3 "$work/removed" "$work/purged")
[ -z "$purged" ] || fail "the purge changed: $purged"
in_root sh -c 'find /usr /etc -iname "*quorvella*"' | sed 's/^/still there: /'
[ -z "$(in_root sh -c 'find /usr /etc -iname "*quorvella*"')" ] || fail "files named quorvella remain"

step "all checks passed"
