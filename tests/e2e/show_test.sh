#!/usr/bin/env bash
# The real demo under Xvfb: it shows the sky and the panel, ignores other
# keys and ends on Escape with status 0.
source "$(dirname "$0")/common.sh"
startScreen
withData
startDemo
# A slow start (a sanitized build) may take a while to show its first frame.
for _ in $(seq 20); do
    sleep 0.5
    running || fail "the demo ended by itself: $(cat "$work/err")"
    import -window root "$work/shot.png"
    # The top right corner is sky, (60, 80, 150) through 5-6-5.
    sky=$(rgbAt "$work/shot.png" 319 0)
    near "$sky" "60,80,150" && break
done
near "$sky" "60,80,150" || fail "top right corner is $sky, not the sky"
# The panel's opaque pixels stand in columns 0..149.
for p in "10 100" "40 200" "70 239" "0 60"; do
    set -- $p
    want=$(rgbAt "$work/gfx.dat" "$1" "$2")
    got=$(rgbAt "$work/shot.png" "$1" "$2")
    near "$got" "$want" || fail "panel pixel $1,$2 is $got on screen, $want in gfx.dat"
done

xdotool key a
sleep 1
running || fail "the key 'a' ended the demo"
xdotool key Escape
waitEnd 1 || fail "Escape did not end the demo within a second"
[ "$status" -eq 0 ] || fail "exit status $status after Escape"
echo "show_test: passed"
