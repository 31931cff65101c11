#!/usr/bin/env bash
# tools/deps.sh against an apt of its own (APT_CONFIG, a scratch folder):
# installMissing waits, saying so, while another apt holds the package
# lists' lock and then dpkg's, and goes on when each is let go; aptMirror
# reads the mirror from both forms of apt's sources.
source "$(dirname "$0")/common.sh"
source "$1/tools/deps.sh"
[ "$(id -u)" -eq 0 ] || { echo "deps_test: skipped: without root, installMissing asks sudo"; exit 77; }
apt=$work/apt
mkdir -p "$apt"/{lists/partial,cache/archives/partial,dpkg,parts,prefs}
touch "$apt/dpkg/status" "$apt/sources.list"
cat >"$apt/apt.conf" <<END
Dir::State::lists "$apt/lists";
Dir::State::status "$apt/dpkg/status";
Dir::Cache "$apt/cache";
Dir::Etc::sourcelist "$apt/sources.list";
Dir::Etc::sourceparts "$apt/parts";
Dir::Etc::preferencesparts "$apt/prefs";
END
export APT_CONFIG=$apt/apt.conf

# hold FILE: another apt's lock on FILE, an fcntl write lock as apt and dpkg
# take theirs (struct flock as 64-bit Linux lays it out), held by a process
# whose pid goes into holder until it is killed.
hold()
{
    perl -MFcntl -e 'open(my $f, ">>", $ARGV[0]) or die; my $lock = pack("s s x4 q q i x4", F_WRLCK, 0, 0, 0, 0);
                     fcntl($f, F_SETLK, $lock) or die; print "held\n"; $| = 1; sleep' "$1" >"$work/held" &
    holder=$!
    for _ in $(seq 200); do
        [ -s "$work/held" ] && rm "$work/held" && return 0
        sleep 0.05
    done
    fail "could not take $1"
}
release() { kill "$1" && wait "$1" 2>/dev/null || true; }

# waitFor LINES: until installMissing has said LINES lines that it waits.
waitFor()
{
    for _ in $(seq 400); do
        [ "$(grep -c '^Waiting for another apt to finish' "$work/out")" -ge "$1" ] && return 0
        kill -0 "$pid" 2>/dev/null || fail "installMissing ended without waiting: $(cat "$work/out" "$work/err")"
        sleep 0.05
    done
    fail "installMissing did not say it waits: $(cat "$work/out" "$work/err")"
}

hold "$apt/lists/lock"
lists=$holder
hold "$apt/dpkg/lock-frontend"
frontend=$holder
trap 'kill "$lists" "$frontend" 2>/dev/null || true; cleanup' EXIT
installMissing newyear-no-such-package >"$work/out" 2>"$work/err" &
pid=$!
waitFor 1
release "$lists"
waitFor 2
release "$frontend"
status=0
wait "$pid" || status=$?
pid=
[ "$status" -eq 100 ] && grep -q '^E: Unable to locate package newyear-no-such-package' "$work/err" ||
    fail "after waiting, status $status: $(cat "$work/out" "$work/err")"

# Security and updates come first, and one-line sources after deb822 ones.
cat >"$apt/parts/debian.sources" <<END
Types: deb
URIs: http://security.mirror.invalid/debian-security
Suites: bookworm-security
Components: main

Types: deb-src deb
URIs: http://mirror.invalid/debian
Suites: bookworm-updates bookworm
Components: main
END
[ "$(aptMirror)" = http://mirror.invalid/debian/ ] || fail "aptMirror said '$(aptMirror)' from deb822 sources"
rm "$apt/parts/debian.sources"
printf '%s\n' 'deb http://security.mirror.invalid/debian-security bookworm-security main' \
    'deb [arch=amd64] http://other.mirror.invalid/debian bookworm main' >"$apt/sources.list"
[ "$(aptMirror)" = http://other.mirror.invalid/debian/ ] || fail "aptMirror said '$(aptMirror)' from sources.list"
echo "deps_test: passed"
