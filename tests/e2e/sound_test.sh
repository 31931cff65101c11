#!/usr/bin/env bash
# The sound as a user meets it. With no sound server and no card the demo
# shows its frames in silence and says so in one line of its own that names
# what was tried, with none of ALSA's lines before it.
source "$(dirname "$0")/common.sh"
startX 640x480
withData
unset SDL_AUDIODRIVER PULSE_SERVER
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

echo "sound_test: passed"
