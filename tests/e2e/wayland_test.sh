#!/usr/bin/env bash
# On Wayland (WAYLAND_DISPLAY set, DISPLAY not): no compositor, or one with
# no input seat, gives one line naming the display and status 1, where SDL
# would run on where nobody sees it, or crash. The compositor going away
# while the demo starts or runs, full screen or in a window, gives one line
# and status 1, never a hang, a signal or status 0. A window's decorations
# print nothing.
source "$(dirname "$0")/common.sh"
source "$(dirname "$0")/../weston.sh"
withData

(
    unset DISPLAY
    export XDG_RUNTIME_DIR=$work
    WAYLAND_DISPLAY=nothing expectError "cannot open the Wayland display \"nothing\": no compositor at $work/nothing"
)

startWeston headless
expectError 'cannot use the Wayland display "wl": its compositor has no input seat'
stopWeston

startX 320x240
# Full screen (muted, as an option must be given) and in a window.
for mode in --mute --window; do
    # Running: a frame on screen, nothing said, then the compositor goes.
    startWeston x11
    startDemo "$work" "$mode"
    waitFrame "$work"
    [ ! -s "$work/err" ] || fail "$mode on weston said: $(cat "$work/err")"
    stopWeston
    expectLoss "the Wayland display"
    grep -q 'the display went away' "$work/err" || fail "running $mode: $(cat "$work/err")"

    # Starting: as soon as SDL has its connection to the compositor (the
    # window decorations' plugin is loaded then), the compositor freezes and
    # dies; SDL would wait for its window's first configure for ever. When
    # the loss comes inside SDL's EGL set-up, SDL fails the video mode and
    # leaks on its way out, in code it has unloaded by then: no leak check
    # for this start (the demo's own failed starts are checked in
    # startup_test).
    startWeston x11
    ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0 startDemo "$work" "$mode"
    for _ in $(seq 2000); do
        grep -q libdecor-cairo "/proc/$pid/maps" 2>/dev/null && break
        running || break
        sleep 0.01
    done
    kill -STOP "$weston"
    kill -KILL "$weston"
    stopWeston
    expectLoss "the Wayland display"
done
echo "wayland_test: passed"
