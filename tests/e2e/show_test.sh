#!/usr/bin/env bash
# The real demo under Xvfb: it fills the screen with sky, landscape and
# panel, ignores other keys and ends on Escape with status 0.
source "$(dirname "$0")/common.sh"
startX 640x480
withData
startDemo "$work"
waitFrame "$work"
# The panel's opaque pixels stand in columns 0..149, scaled to the screen.
for p in "10 100" "40 200" "70 239" "0 60"; do
    set -- $p
    want=$(rgbAt "$work/gfx.dat" "$1" "$2")
    got=$(rgbAt "$work/frame.png" $(onScreen "$1" "$2"))
    near "$got" "$want" || fail "panel pixel $1,$2 is $got on screen, $want in gfx.dat"
done
# Somewhere along the top right is sky, (60, 80, 150) through 5-6-5.
sky=no
for x in 319 300 280 260 240 220 200 180 160; do
    near "$(rgbAt "$work/frame.png" $(onScreen $x 0))" "57,81,148" && sky=yes && break
done
[ $sky = yes ] || fail "no sky along the top right"

xdotool key a
waitFrames 3
xdotool key Escape
waitEnd 30 || fail "Escape did not end the demo"
[ "$status" -eq 0 ] || fail "exit status $status after Escape"
[ ! -s "$work/err" ] || fail "it said: $(cat "$work/err")"
echo "show_test: passed"
