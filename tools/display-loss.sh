#!/usr/bin/env bash
# Takes the X server away from under the demo TRIES times, at moments spread
# evenly from its first instant to SPAN seconds in (start-up and running),
# as a logout would, and counts the outcomes. Every one should be a single
# line of the demo's own and status 1.
#   tools/display-loss.sh [BUILD] [TRIES] [SPAN]     (default build/, 60, 4)
set -euo pipefail
cd "$(dirname "$0")/.."
newyear=$(realpath "${1:-build}")/newyear
tries=${2:-60}
span=${3:-4}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp data/gfx.dat data/hm.dat data/music.dat "$work"/
declare -A outcomes
for ((i = 0; i < tries; i++)); do
    delay=$(awk -v i=$i -v n=$tries -v s=$span 'BEGIN { printf "%.3f", s * i / (n - 1) }')
    Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
    xvfb=$!
    for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.05; done
    (cd "$work" && DISPLAY=:$(cat "$work/display") SDL_AUDIODRIVER=dummy exec "$newyear") 2>"$work/err" &
    demo=$!
    sleep "$delay"
    kill "$xvfb"
    wait "$xvfb" 2>/dev/null || true
    : >"$work/display"
    status=0
    wait "$demo" || status=$?
    if [ "$status" -eq 1 ] && [ "$(wc -l <"$work/err")" -eq 1 ] && grep -q '^newyear: ' "$work/err"; then
        outcome="status 1, one line: $(sed 's/^newyear: \([a-z ]*\).*/\1/' "$work/err")"
    else
        outcome="status $status, $(wc -l <"$work/err") lines: $(head -c 80 "$work/err" | tr '\n' '|')"
    fi
    outcomes[$outcome]=$((${outcomes[$outcome]:-0} + 1))
    echo "$delay s: $outcome"
done
echo "== $tries tries over $span s"
for o in "${!outcomes[@]}"; do echo "${outcomes[$o]}  $o"; done
