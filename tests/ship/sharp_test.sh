#!/usr/bin/env bash
# Sharp pixels: scaled by the non-whole ratio 2.5, the demo's screen shows
# only colours its frames have. Smoothing would mix neighbours into new
# colours; asking for it by name shows that this check sees them.
source "$(dirname "$0")/common.sh"
newyear=$1
capture=$2
data=$3

# The demo draws 50 frames a second at most, and the screenshot comes soon
# after its first frame, well inside these 500.
frameHashes "$capture" "$data" 500 >/dev/null
{ colours "$work"/frames/frame-*.png; echo 000000; } | sort -u >"$work/allowed"

# newColours: how many colours of a screenshot of the running demo no
# frame has.
newColours()
{
    startDemo "$data"
    waitFrame "$data"
    waitFrames 2
    shot "$work/shot.png"
    stopDemo
    colours "$work/shot.png" >"$work/seen"
    [ "$(wc -l <"$work/seen")" -ge 100 ] || fail "the screenshot has only $(wc -l <"$work/seen") colours"
    comm -23 "$work/seen" "$work/allowed" | wc -l
}

startX 800x600
unset SDL12COMPAT_SCALE_METHOD
n=$(newColours)
[ "$n" -eq 0 ] || fail "the scaled screen has $n colours that no frame has"
n=$(SDL12COMPAT_SCALE_METHOD=linear newColours)
[ "$n" -gt 100 ] || fail "smoothed scaling made only $n new colours: this check would not see it"
echo "sharp_test: passed"
