#!/usr/bin/env bash
# newyear-capture: its arguments, its data errors, a full disk, and that
# frame N of the capture is the very picture the real demo shows as its
# frame N.
source "$(dirname "$0")/common.sh"
newyear=$1
capture=$2
data=$3

# expectStatus STATUS LINE-PATTERN ARGS...: runs the capture in $work/run.
expectStatus()
{
    local want=$1 pattern=$2 status=0
    shift 2
    (cd "$work/run" && "$capture" "$@") >/dev/null 2>"$work/err" || status=$?
    [ "$status" -eq "$want" ] || fail "status $status for '$*', expected $want: $(cat "$work/err")"
    grep -q -- "$pattern" "$work/err" || fail "for '$*': '$(cat "$work/err")' lacks '$pattern'"
}

mkdir "$work/run" "$work/out"
expectStatus 2 '^usage: newyear-capture \[--text FILE\] FIRST LAST OUTDIR'
expectStatus 2 'expected three arguments' 1 2
expectStatus 2 '^usage:' 1 2 "$work/out" extra
expectStatus 2 'unknown option "--bogus"' --bogus
expectStatus 2 'must be whole numbers' 1 x "$work/out"
expectStatus 2 'must be whole numbers' 1 2x "$work/out"
expectStatus 2 'FIRST must be at least 1' 0 2 "$work/out"
expectStatus 2 'FIRST must be at least 1' -3 2 "$work/out"
expectStatus 2 'LAST (1) comes before FIRST (50)' 50 1 "$work/out"
# Five digits keep the names in order; 70 TB of frames help nobody.
expectStatus 2 'LAST must be at most 99999' 1 100000 "$work/out"
expectStatus 2 'LAST must be at most 99999' 1 99999999999999999999999 "$work/out"
(cd "$work/run" && "$capture" --help) >"$work/help" || fail "--help failed"
grep -q '^usage: newyear-capture \[--text FILE\] FIRST LAST OUTDIR' "$work/help" || fail "--help says: $(cat "$work/help")"
[ -z "$(ls "$work/run")" ] || fail "--help wrote: $(ls "$work/run")"
touch "$work/file"
expectStatus 1 'is not a writable folder' 1 2 "$work/file"
expectStatus 1 "^newyear-capture: cannot open \"gfx.dat\" in $work/run" 1 2 "$work/out"
oneLine "^newyear-capture: cannot open"
[ -z "$(ls "$work/out")" ] || fail "failed runs wrote files"

# A missing OUTDIR is made, parents and all. Only FIRST..LAST are written,
# as 320x240 8-bit RGB, and frames before FIRST are still drawn: frame 5 is
# the same on its own as after 1..4.
(cd "$data" && "$capture" 3 5 "$work/new/out") || fail "newyear-capture 3 5 into a new folder failed"
[ "$(ls "$work/new/out" | tr '\n' ' ')" = "frame-00003.png frame-00004.png frame-00005.png " ] ||
    fail "wrote $(ls "$work/new/out")"
info=$(identify -format '%m %wx%h %[channels] %z' "$work/new/out/frame-00003.png")
[ "$info" = "PNG 320x240 srgb 8" ] || fail "frame-00003.png is $info"
frameHashes "$capture" "$data" 500 >"$work/hashes"
[ "$(frameOf "$work/new/out/frame-00005.png" "$work/hashes")" = 5 ] || fail "frame 5 alone differs from frame 5 after 1..4"

# A full disk (here a file size limit smaller than any frame) stops it
# with one line and status 1, and leaves no cut-off picture behind.
status=0
(
    trap '' XFSZ
    ulimit -f 16
    cd "$data" && exec "$capture" 1 3 "$work/full"
) 2>"$work/err" || status=$?
[ "$status" -eq 1 ] || fail "status $status on a full disk: $(cat "$work/err")"
oneLine '^newyear-capture: cannot write ".*/frame-00001.png": File too large$'
[ -z "$(ls "$work/full")" ] || fail "left behind: $(ls -l "$work/full")"

# The real demo at exactly twice the size, nearest scaling: every second
# pixel of a screenshot is the frame. A shot taken while the screen was
# being updated may match nothing: three must match, in order, out of at
# most twelve.
startX 640x480
startDemo "$data"
waitFrame "$data"
last=0
matched=0
for i in $(seq 12); do
    shot "$work/shot.png"
    convert "$work/shot.png" -sample 320x240 "$work/small$i.png"
    n=$(frameOf "$work/small$i.png" "$work/hashes")
    [ -n "$n" ] || continue
    [ "$n" -gt "$last" ] || fail "screenshot $i is frame $n, not after frame $last"
    last=$n
    matched=$((matched + 1))
    good=$i
    [ "$matched" -ge 3 ] && break
done
stopDemo
[ "$matched" -ge 3 ] || fail "only $matched of 12 screenshots are captured frames"

# The comparison sees the smallest change: one step of red in one pixel.
red=$(convert "$work/small$good.png" -format '%[fx:int(255*p{160,120}.r)]' info:)
convert "$work/small$good.png" -fill "rgb($((red ^ 8)),0,0)" -draw 'color 160,120 point' "$work/changed.png"
[ -z "$(frameOf "$work/changed.png" "$work/hashes")" ] || fail "a changed pixel still matched a frame"
echo "capture_test: passed ($matched screenshots matched, the last frame $last)"
