#!/usr/bin/env bash
# The options around the demo: a window of a whole-number scale with its
# title and icon, whose close button quits; the full screen still ignores a
# close request; another data folder; help, version and bad usage.
source "$(dirname "$0")/common.sh"
wmclose=$3
withData

# expectUsage ARGS...: one line of usage on stderr and status 2.
expectUsage()
{
    local status=0
    "$newyear" "$@" >"$work/stdout" 2>"$work/err" || status=$?
    [ "$status" -eq 2 ] || fail "status $status for '$*'"
    oneLine '; usage: newyear \[-w|--window\]'
    [ ! -s "$work/stdout" ] || fail "for '$*' it wrote: $(cat "$work/stdout")"
}
expectUsage --bogus
expectUsage -x
expectUsage --scale 0
expectUsage --scale 2.5
expectUsage --scale 17
expectUsage --scale
expectUsage --window extra

"$newyear" --version >"$work/stdout" || fail "--version failed"
[ "$(cat "$work/stdout")" = "newyear 1.0.0" ] || fail "--version says $(cat "$work/stdout")"
"$newyear" --help >"$work/stdout" || fail "--help failed"
for want in --window --scale --data --mute --version Escape "working directory"; do
    grep -q -- "$want" "$work/stdout" || fail "--help does not mention $want"
done

# drawnIn WxH: waits until the demo draws into a window of that size, the
# picture scaled to fill it, and leaves that window in win. SDL maps a first
# window and replaces it before the first frame: only a window drawn into is
# the demo's for good.
panel=$(rgbAt "$work/gfx.dat" 10 100)
drawnIn()
{
    local w=${1%x*} size=
    for _ in $(seq 600); do
        ourWindow
        size=$(windowSize)
        if [ "$size" = "$1" ] && import -window "$win" "$work/win.png" 2>/dev/null &&
            near "$(rgbAt "$work/win.png" $((21 * w / 640)) $((201 * w / 640)))" "$panel"; then
            return 0
        fi
        sleep 0.05
    done
    fail "the window is $size, not $1 with the picture in it"
}

startX 1280x1024
# Scale 2 in a window: 640x480, titled newyear, with the 32x32 icon.
mkdir "$work/elsewhere"
startDemo "$work/elsewhere" --scale 2 --data "$work"
drawnIn 640x480
[ "$(xprop -id "$win" WM_NAME)" = 'WM_NAME(STRING) = "newyear"' ] ||
    [ "$(xprop -id "$win" WM_NAME)" = 'WM_NAME(UTF8_STRING) = "newyear"' ] || fail "title: $(xprop -id "$win" WM_NAME)"
icon=$(xprop -id "$win" -notype 32c _NET_WM_ICON)
[[ $icon == "_NET_WM_ICON = 32, 32,"* ]] || fail "no 32x32 icon: ${icon:0:60}"
waitFrames 2
"$wmclose" "$win"
waitEnd 30 || fail "the close button did not end the windowed demo"
[ "$status" -eq 0 ] || fail "status $status after the close button"

# Without --scale, the largest whole scale that fits: 3 on 1280x1024.
# Muted, the demo does not even look for its music, so a missing file goes
# unremarked.
mv "$work/music.dat" "$work/music.away"
startDemo "$work" --window --mute
drawnIn 960x720
key Escape
waitEnd 30 || fail "Escape did not end the windowed demo"
[ "$status" -eq 0 ] || fail "status $status after Escape"
[ ! -s "$work/err" ] || fail "muted, it said: $(cat "$work/err")"
mv "$work/music.away" "$work/music.dat"

# A scale too large for the desktop is lowered to the largest that fits,
# 4 (1280x960) on 1280x1024, and one line says so.
startDemo "$work" --scale 16 --mute
drawnIn 1280x960
key Escape
waitEnd 30 || fail "Escape did not end the demo at scale 16"
[ "$(cat "$work/err")" = "newyear: a window of scale 16 (5120x3840) does not fit the 1280x1024 desktop: using scale 4" ] ||
    fail "at scale 16 it said: $(cat "$work/err")"
stopX

# Full screen ignores the close request; Escape still ends it.
startX 640x480
startDemo "$work"
waitFrame "$work"
ourWindow
"$wmclose" "$win"
waitFrames 3
xdotool key Escape
waitEnd 30 || fail "Escape did not end the demo"
[ "$status" -eq 0 ] || fail "status $status after Escape"
echo "window_test: passed"
