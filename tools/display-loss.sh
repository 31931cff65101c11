#!/usr/bin/env bash
# Takes the X server away from under the demo TRIES times, at moments spread
# evenly from its first instant to SPAN seconds in (start-up and running),
# as a logout would, and counts the outcomes. Every one should be a single
# line of the demo's own and status 1. The X server is started as the tests
# start theirs (tests/xvfb.sh).
#   tools/display-loss.sh [BUILD] [TRIES] [SPAN]     (default build/, 60, 4)
cd "$(dirname "$0")/.."
source tests/xvfb.sh
newyear=$(realpath "${1:-build}")/newyear
tries=${2:-60}
span=${3:-4}
cp data/gfx.dat data/hm.dat data/music.dat "$work"/
declare -A outcomes
for ((i = 0; i < tries; i++)); do
    delay=$(awk -v i=$i -v n=$tries -v s=$span 'BEGIN { printf "%.3f", s * i / (n - 1) }')
    startX 640x480
    startDemo "$work"
    sleep "$delay"
    stopX
    if ! waitEnd 30; then
        stopDemo
        outcome="still running 30 s after"
    elif [ "$status" -eq 1 ] && saysOneLine '^newyear: '; then
        outcome="status 1, one line: $(sed 's/^newyear: \([a-z ]*\).*/\1/' "$work/err")"
    else
        outcome="status $status, $(wc -l <"$work/err") lines: $(head -c 80 "$work/err" | tr '\n' '|')"
    fi
    outcomes[$outcome]=$((${outcomes[$outcome]:-0} + 1))
    echo "$delay s: $outcome"
done
echo "== $tries tries over $span s"
for o in "${!outcomes[@]}"; do echo "${outcomes[$o]}  $o"; done
