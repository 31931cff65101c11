#!/usr/bin/env bash
# No display to show on: one line that says so, and status 1, rather than a
# demo running where nobody sees it. A video driver named on purpose, as the
# tests and the capture tool do, is left alone.
source "$(dirname "$0")/common.sh"
withData
unset SDL_VIDEODRIVER WAYLAND_DISPLAY
export SDL_AUDIODRIVER=dummy
(
    unset DISPLAY
    expectError 'no display to show on: DISPLAY is not set'
)
# A display number nobody serves: the first free one from 90 up.
n=90
while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
DISPLAY=:$n expectError "cannot open the display \":$n\""
DISPLAY=garbage expectError 'cannot open the display "garbage"'
echo "nodisplay_test: passed"
