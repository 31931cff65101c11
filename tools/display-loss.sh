#!/usr/bin/env bash
# Takes the display away from under the demo TRIES times, at moments spread
# evenly from its first instant to SPAN seconds in (start-up and running),
# as a logout would, and counts the outcomes. Every one should be a single
# line of the demo's own and status 1. The servers are started as the tests
# start theirs (tests/xvfb.sh, tests/weston.sh).
#   tools/display-loss.sh [--wayland] [--window] [BUILD] [TRIES] [SPAN]
#                                              (default build/, 60, 4)
# With --wayland the display is a weston compositor (on an Xvfb of its own
# for an input seat) and DISPLAY is unset; otherwise an Xvfb. --window
# starts the demo in a window.
cd "$(dirname "$0")/.."
source tests/xvfb.sh
source tests/weston.sh
wayland=
args=()
while [ $# -gt 0 ]; do
    case $1 in
        --wayland) wayland=yes ;;
        --window) args+=(--window) ;;
        *) break ;;
    esac
    shift
done
newyear=$(realpath "${1:-build}")/newyear
tries=${2:-60}
span=${3:-4}
cp data/gfx.dat data/hm.dat data/music.dat "$work"/
declare -A outcomes
for ((i = 0; i < tries; i++)); do
    delay=$(awk -v i=$i -v n=$tries -v s=$span 'BEGIN { printf "%.3f", s * i / (n - 1) }')
    startX 640x480
    [ -z "$wayland" ] || startWeston x11
    startDemo "$work" "${args[@]}"
    sleep "$delay"
    if [ -n "$wayland" ]; then
        stopWeston
        export DISPLAY=$xdisplay
    fi
    stopX
    if ! waitEnd 30; then
        stopDemo
        outcome="still running 30 s after"
    elif [ "$status" -eq 1 ] && saysOneLine '^newyear: '; then
        outcome="status 1, one line: $(sed 's/^newyear: \([a-zA-Z ]*\).*/\1/' "$work/err")"
    else
        outcome="status $status, $(wc -l <"$work/err") lines: $(head -c 80 "$work/err" | tr '\n' '|')"
    fi
    outcomes[$outcome]=$((${outcomes[$outcome]:-0} + 1))
    echo "$delay s: $outcome"
done
echo "== $tries tries over $span s"
for o in "${!outcomes[@]}"; do echo "${outcomes[$o]}  $o"; done
