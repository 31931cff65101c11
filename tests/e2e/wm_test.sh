#!/usr/bin/env bash
# Under real window managers (openbox, fluxbox, xfwm4): the window follows
# their full-screen request and a resize, the picture scaled into it with
# 4:3 kept and sharp pixels; F11 and Alt+Enter toggle full screen in the
# demo itself, from a window and from the full screen, and neither ends it
# or says anything.
source "$(dirname "$0")/common.sh"
withData
panel=$(rgbAt "$work/gfx.dat" 10 100)

# fillsScreen WHAT: waits until the 640x480 screen is the picture at twice
# its size: the panel where it belongs, and every 2x2 block one colour.
fillsScreen()
{
    for _ in $(seq 600); do
        running || fail "$1 ended the demo: $(cat "$work/err")"
        if shot "$work/shot.png" && near "$(rgbAt "$work/shot.png" 21 201)" "$panel"; then
            convert "$work/shot.png" -sample 320x240 -sample 640x480 "$work/blocks.png"
            [ "$(compare -metric AE "$work/shot.png" "$work/blocks.png" null: 2>&1)" = 0 ] && return 0
        fi
        sleep 0.05
    done
    fail "after $1 the picture does not fill the screen sharply"
}

# windowed W H WHAT: waits until the demo's window is WxH with the picture
# in its middle at its own size, black beside it, and the window manager
# no longer holds it full screen.
windowed()
{
    local x=$((($1 - 320) / 2)) size
    for _ in $(seq 600); do
        running || fail "$3 ended the demo: $(cat "$work/err")"
        win=$(xdotool search --onlyvisible --name '^newyear$' 2>/dev/null | head -1) || true
        size=$(windowSize)
        if [ "$size" = "$1x$2" ] && ! xprop -id "$win" _NET_WM_STATE | grep -q FULLSCREEN &&
            import -window "$win" "$work/win.png" 2>/dev/null &&
            near "$(rgbAt "$work/win.png" $((x + 10)) 100)" "$panel" &&
            { [ "$x" -eq 0 ] || [ "$(rgbAt "$work/win.png" $((x - 1)) 100)$(rgbAt "$work/win.png" $((x + 320)) 100)" = 0,0,00,0,0 ]; }; then
            return 0
        fi
        sleep 0.05
    done
    fail "after $3 the window is $size, not $1x$2 with the picture in its middle: $(rgbAt "$work/win.png" $((x + 10)) 100) at $((x + 10)),100"
}

# The window managers keep their files in a home of their own; fluxbox gets
# a style that sets no wallpaper: setting one fails here, and a message box
# about it can come up over the demo's window. The style goes into its own
# init file in that home; a file named with -rc, fluxbox overwrites with
# Debian's defaults, whose style sets a wallpaper. xfwm4 reads its settings
# from xfconf over a session bus of its own.
mkdir -p "$work/home/.fluxbox"
echo "session.styleFile: /usr/share/fluxbox/styles/BlueFlux" >"$work/home/.fluxbox/init"
declare -A start=([openbox]="openbox" [fluxbox]="fluxbox"
                  [xfwm4]="dbus-run-session -- xfwm4 --compositor=off")

for wm in openbox fluxbox xfwm4; do
    startX 640x480
    # In a session of its own, so that the bus and whatever it started end
    # with the window manager.
    HOME=$work/home NO_AT_BRIDGE=1 setsid ${start[$wm]} >/dev/null 2>&1 &
    wmPid=$!
    for _ in $(seq 400); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.05
    done

    startDemo "$work" --scale 1 --mute
    windowed 320 240 "$wm's start"
    wmctrl -r newyear -b add,fullscreen
    fillsScreen "$wm's full-screen request"
    key F11
    windowed 320 240 "F11 in $wm's full screen"
    xdotool windowmove "$win" 0 0 windowsize "$win" 600 240
    windowed 600 240 "resizing it in $wm"
    key alt+Return
    fillsScreen "Alt+Enter in $wm"
    key F11
    windowed 600 240 "F11 in $wm"
    key Escape
    waitEnd 30 || fail "Escape did not end the demo under $wm"
    [ "$status" -eq 0 ] || fail "status $status under $wm"
    [ ! -s "$work/err" ] || fail "under $wm it said: $(cat "$work/err")"

    # Full screen from the start: F11 gives a window of the largest scale
    # that leaves room, 1 here, and F11 the full screen again.
    startDemo "$work" --mute
    fillsScreen "the full-screen start under $wm"
    key F11
    windowed 320 240 "F11 in the full screen under $wm"
    key F11
    fillsScreen "F11 in a window under $wm"
    waitFrames 2
    stopDemo
    [ ! -s "$work/err" ] || fail "under $wm it said: $(cat "$work/err")"
    # fluxbox can lock up in its own SIGTERM handler.
    kill -KILL -- -"$wmPid"
    wait "$wmPid" 2>/dev/null || true
    stopX
done
echo "wm_test: passed"
