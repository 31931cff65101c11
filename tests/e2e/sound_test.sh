#!/usr/bin/env bash
# The sound as a user meets it. With no sound server and no card the demo
# shows its frames in silence and says so in one line of its own that names
# what was tried, with none of ALSA's lines before it. Through a PulseAudio
# server the stream holds more sound ahead than SDL's one buffer, which left
# gaps of silence on a busy machine (tools/sound-gaps.sh measures them).
source "$(dirname "$0")/common.sh"
startX 640x480
withData
unset SDL_AUDIODRIVER PULSE_SERVER PULSE_LATENCY_MSEC
# No server's socket where PulseAudio looks, none started on demand, and an
# ALSA card that no machine has.
mkdir -m 700 "$work/run" "$work/home"
export XDG_RUNTIME_DIR=$work/run HOME=$work/home ALSA_CARD=newyear-no-such-card
printf 'autospawn = no\n' >"$work/client.conf"
export PULSE_CLIENTCONFIG=$work/client.conf

# expectSilence LINE: the demo runs and says LINE, and only that.
expectSilence()
{
    startDemo "$work"
    waitFrame "$work"
    waitFrames 2
    [ "$(cat "$work/err")" = "$1" ] || fail "expected '$1', got: $(cat "$work/err")"
    stopDemo
}
alsa="ALSA: Couldn't open audio device: No such device"
expectSilence "newyear: playing without music: no sound: no PulseAudio server, and $alsa"
PULSE_SERVER=unix:$work/nowhere expectSilence \
    "newyear: playing without music: no sound: no PulseAudio server at \"unix:$work/nowhere\" (PULSE_SERVER), and $alsa"

pulseaudio -n --daemonize=no --exit-idle-time=-1 -L module-null-sink -L module-native-protocol-unix \
    -L module-cli-protocol-unix 2>"$work/pulseaudio.log" &
server=$!
trap 'kill $server 2>/dev/null || true; cleanup' EXIT
for _ in $(seq 400); do pactl info >/dev/null 2>&1 && break; sleep 0.05; done
pactl info >/dev/null || fail "pulseaudio did not start: $(cat "$work/pulseaudio.log")"

# expectLatency MS: the demo's stream asks the server for MS of latency in
# the sink. The server gives the sink half of the stream's whole latency
# less two 20 ms requests: (400 - 40) / 2 = 180 for the demo's 400 ms.
expectLatency()
{
    local got=
    startDemo "$work"
    waitFrame "$work"
    for _ in $(seq 400); do
        got=$(pacmd list-sink-inputs | sed -n 's/^\s*requested latency: //p')
        [ -n "$got" ] && break
        sleep 0.05
    done
    [ "$got" = "$1" ] || fail "the stream asked for '$got' of latency, expected $1"
    [ ! -s "$work/err" ] || fail "it said: $(cat "$work/err")"
    stopDemo
}
expectLatency "180.00 ms"
# The user's own setting is kept: (100 - 40) / 2.
PULSE_LATENCY_MSEC=100 expectLatency "30.00 ms"
echo "sound_test: passed"
