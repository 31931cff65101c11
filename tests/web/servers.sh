# Sourced by the browser tests and the browsers' benchmark: the scratch
# folder of tests/xvfb.sh with an X server (WebKit's window) and a
# PulseAudio server with a null sink (Firefox and WebKit play sound only
# through a sound server), both ended on exit. The browsers' caches go in
# the scratch folder too.
source "$(dirname "${BASH_SOURCE[0]}")/../xvfb.sh"
startX 1280x1024
mkdir -p -m 700 "$work/run"
mkdir -p "$work/home"
export XDG_RUNTIME_DIR=$work/run HOME=$work/home PULSE_SERVER=unix:$work/run/pulse/native
pulseaudio -n --daemonize=no --exit-idle-time=-1 -L module-null-sink -L module-native-protocol-unix \
    2>"$work/pulseaudio.log" &
sound=$!
trap 'kill "$sound" 2>/dev/null; cleanup' EXIT
for _ in $(seq 200); do pactl info >/dev/null 2>&1 && break; sleep 0.05; done
pactl info >/dev/null || fail "pulseaudio did not start: $(cat "$work/pulseaudio.log")"
