#!/usr/bin/env bash
# Takes the display away from under the demo TRIES times, at moments spread
# evenly from its first instant to SPAN seconds in (start-up and running),
# as a logout would, and counts the outcomes. Every one should be a single
# line of the demo's own and status 1.
#   tools/display-loss.sh [--wayland] [--window] [BUILD] [TRIES] [SPAN]
#                                              (default build/, 60, 4)
# With --wayland the display is a weston compositor (on an Xvfb of its own
# for an input seat) and DISPLAY is unset; otherwise an Xvfb. --window
# starts the demo in a window.
set -euo pipefail
cd "$(dirname "$0")/.."
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
work=$(mktemp -d)
xvfb=
trap '[ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
cp data/gfx.dat data/hm.dat data/music.dat "$work"/

# startServer: an Xvfb, and on it weston when --wayland. Its pid goes into
# server, and env into display.
startServer()
{
    : >"$work/display"
    Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
    xvfb=$!
    for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.05; done
    server=$xvfb
    display=(DISPLAY=:$(cat "$work/display"))
    [ -n "$wayland" ] || return 0
    rm -f "$work/wl"
    DISPLAY=:$(cat "$work/display") XDG_RUNTIME_DIR=$work weston --backend=x11-backend.so --use-pixman \
        --socket=wl --width=640 --height=480 >/dev/null 2>&1 &
    server=$!
    for _ in $(seq 200); do [ -S "$work/wl" ] && break; sleep 0.05; done
    display=(-u DISPLAY XDG_RUNTIME_DIR=$work WAYLAND_DISPLAY=wl)
}

declare -A outcomes
for ((i = 0; i < tries; i++)); do
    delay=$(awk -v i=$i -v n=$tries -v s=$span 'BEGIN { printf "%.3f", s * i / (n - 1) }')
    startServer
    (cd "$work" && exec env "${display[@]}" SDL_AUDIODRIVER=dummy "$newyear" "${args[@]}") 2>"$work/err" &
    demo=$!
    sleep "$delay"
    kill "$server"
    wait "$server" 2>/dev/null || true
    status=0
    wait "$demo" || status=$?
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    xvfb=
    if [ "$status" -eq 1 ] && [ "$(wc -l <"$work/err")" -eq 1 ] && grep -q '^newyear: ' "$work/err"; then
        outcome="status 1, one line: $(sed 's/^newyear: \([a-zA-Z ]*\).*/\1/' "$work/err")"
    else
        outcome="status $status, $(wc -l <"$work/err") lines: $(head -c 80 "$work/err" | tr '\n' '|')"
    fi
    outcomes[$outcome]=$((${outcomes[$outcome]:-0} + 1))
    echo "$delay s: $outcome"
done
echo "== $tries tries over $span s"
for o in "${!outcomes[@]}"; do echo "${outcomes[$o]}  $o"; done
