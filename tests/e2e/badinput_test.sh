#!/usr/bin/env bash
# Missing or broken data files and a display that cannot be opened: one line
# on standard error naming the file or the cause, and status 1. Broken music
# only silences the demo.
source "$(dirname "$0")/common.sh"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

# expectError SUBSTRING: the demo must fail at once with one matching line.
expectError()
{
    startDemo
    waitEnd 5 || fail "still running, expected an error containing '$1'"
    [ "$status" -eq 1 ] || fail "status $status, expected 1 for '$1'"
    [ "$(wc -l <"$work/err")" -eq 1 ] || fail "expected one line, got: $(cat "$work/err")"
    grep -qF -- "$1" "$work/err" || fail "message '$(cat "$work/err")' lacks '$1'"
}

# expectRun: the demo keeps running (its pictures are fine).
expectRun()
{
    startDemo
    sleep 1
    running || fail "the demo stopped: $(cat "$work/err")"
    kill -9 "$pid"
    wait "$pid" 2>/dev/null || true
    pid=
}

expectError '"gfx.dat" in '
withData
rm "$work/hm.dat"
expectError '"hm.dat" in '
withData
head -c 30 "$data/hm.dat" >"$work/hm.dat"
expectError '"hm.dat" is not a readable BMP'
withData
echo "not a picture" >"$work/gfx.dat"
expectError '"gfx.dat" is not a readable BMP'
withData
cp "$data/gfx.dat" "$work/hm.dat"
expectError '"hm.dat" must be an 8-bit 300x300 height map'
withData
SDL_VIDEODRIVER=nosuchdriver expectError 'cannot open the display'

withData
rm "$work/music.dat"
expectRun
head -c 4000 /dev/urandom >"$work/music.dat"
expectRun
echo "badinput_test: passed"
