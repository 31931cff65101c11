#!/usr/bin/env bash
# newyear-capture: its arguments, its data errors, and that frame N of the
# capture is the very picture the real demo shows as its frame N.
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
    [ "$status" -eq "$want" ] || fail "status $status for '$*', expected $want"
    grep -q -- "$pattern" "$work/err" || fail "for '$*': '$(cat "$work/err")' lacks '$pattern'"
}

mkdir "$work/run" "$work/out"
expectStatus 2 '^usage: newyear-capture FIRST LAST OUTDIR'
expectStatus 2 '^usage:' 1 2
expectStatus 2 '^usage:' 1 2 "$work/out" extra
expectStatus 2 '^usage:' 1 x "$work/out"
expectStatus 2 '^usage:' 1 2x "$work/out"
expectStatus 2 '^usage:' 0 2 "$work/out"
expectStatus 2 '^usage:' 5 4 "$work/out"
expectStatus 2 '^usage:' 1 2 "$work/nosuchfolder"
expectStatus 1 "^newyear-capture: cannot open \"gfx.dat\" in $work/run" 1 2 "$work/out"
[ "$(wc -l <"$work/err")" -eq 1 ] || fail "expected one line, got: $(cat "$work/err")"
[ -z "$(ls "$work/out")" ] || fail "failed runs wrote files"

# Only FIRST..LAST are written, as 320x240 8-bit RGB, and frames before
# FIRST are still drawn: frame 5 is the same on its own as after 1..4.
(cd "$data" && "$capture" 3 5 "$work/out") || fail "newyear-capture 3 5 failed"
[ "$(ls "$work/out" | tr '\n' ' ')" = "frame-00003.png frame-00004.png frame-00005.png " ] ||
    fail "wrote $(ls "$work/out")"
info=$(identify -format '%m %wx%h %[channels] %z' "$work/out/frame-00003.png")
[ "$info" = "PNG 320x240 srgb 8" ] || fail "frame-00003.png is $info"
frameHashes "$capture" "$data" 500 >"$work/hashes"
[ "$(frameOf "$work/out/frame-00005.png" "$work/hashes")" = 5 ] || fail "frame 5 alone differs from frame 5 after 1..4"

# The real demo at exactly twice the size, nearest scaling: every second
# pixel of a screenshot is the frame. A shot taken while the screen was
# being updated may match nothing, so two of three must match, in order.
startX 640x480
startDemo "$newyear" "$data"
for i in 1 2 3; do
    sleep 1.5
    import -window root "$work/shot$i.png"
done
stopDemo
last=0
matched=0
for i in 1 2 3; do
    convert "$work/shot$i.png" -sample 320x240 "$work/small$i.png"
    n=$(frameOf "$work/small$i.png" "$work/hashes")
    [ -n "$n" ] || continue
    [ "$n" -gt "$last" ] || fail "screenshot $i is frame $n, not after frame $last"
    last=$n
    matched=$((matched + 1))
    good=$i
done
[ "$matched" -ge 2 ] || fail "only $matched of 3 screenshots are captured frames"

# The comparison sees the smallest change: one step of red in one pixel.
red=$(convert "$work/small$good.png" -format '%[fx:int(255*p{160,120}.r)]' info:)
convert "$work/small$good.png" -fill "rgb($((red ^ 8)),0,0)" -draw 'color 160,120 point' "$work/changed.png"
[ -z "$(frameOf "$work/changed.png" "$work/hashes")" ] || fail "a changed pixel still matched a frame"
echo "capture_test: passed ($matched of 3 screenshots matched, the last frame $last)"
