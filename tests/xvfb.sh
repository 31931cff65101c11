# Sourced by the test scripts that run the real demo: a scratch folder that
# goes away on exit, failing with a message, and a headless X server.
set -euo pipefail

work=$(mktemp -d)
xvfb=
pid=
cleanup()
{
    [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# startX WxH: Xvfb of that size on a free display, exported as DISPLAY.
startX()
{
    local fd=$work/display
    Xvfb -displayfd 3 -screen 0 "$1"x24 -nolisten tcp 3>"$fd" 2>/dev/null &
    xvfb=$!
    for _ in $(seq 100); do
        [ -s "$fd" ] && break
        sleep 0.05
    done
    [ -s "$fd" ] || fail "Xvfb did not start"
    export DISPLAY=:$(cat "$fd")
    unset SDL_VIDEODRIVER
    export SDL_AUDIODRIVER=dummy
}
