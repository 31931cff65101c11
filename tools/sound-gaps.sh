#!/usr/bin/env bash
# Records the demo's music through a PulseAudio server of its own, with the
# machine kept busy, and counts the gaps of exact silence in each recording:
# the sound server plays zeros whenever the demo's mixing thread is late.
# The music then lasts longer than it should, or shorter where the server
# dropped sound that came too late.
#   tools/sound-gaps.sh [BUILD] [RECORDINGS] [LOAD]     (default build/, 3, 3)
# LOAD busy processes run beside the demo, started without options (full
# screen on a 1280x1024 Xvfb). The server has only a null sink; parec
# records its monitor from before the demo starts until the music's length
# and 5 s more have passed since its first frame. Each recording gives the stream's rate and
# latencies as the server reported them after the first frame (pactl's,
# and the sink latency the stream asked for, from pacmd), the gaps of
# 5 ms or more inside the music, and how late the music ended: its length
# from first to last sound against a rendering of the same music by SDL's
# disk audio driver (negative: sound was lost).
# Needs the test packages (Xvfb, xdotool, x11-utils, imagemagick) and
# pulseaudio and pulseaudio-utils.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
newyear=$build/newyear
gaps=$build/newyear-soundgaps
recordings=${2:-3}
load=${3:-3}
source tests/xvfb.sh
busy=()
server=
recorder=
stopAll()
{
    local p
    for p in "${busy[@]}" $recorder $server; do kill "$p" 2>/dev/null || true; done
    cleanup
}
trap stopAll EXIT
cp data/gfx.dat data/hm.dat data/music.dat "$work"/

# The music's own length: the disk driver writes it as fast as it is mixed.
(cd "$work" && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/reference.raw" \
    SDL_DISKAUDIODELAY=0 exec "$newyear") 2>"$work/err" &
pid=$!
# Five minutes of sound, more than the music holds.
until [ "$(stat -c %s "$work/reference.raw" 2>/dev/null || echo 0)" -ge $((300 * 44100 * 4)) ]; do
    running || fail "the reference rendering ended: $(cat "$work/err")"
    sleep 0.1
done
stopDemo
reference=$("$gaps" "$work/reference.raw")
echo "reference: $reference"
musicLength=$(sed -n 's/.*length \([0-9.]*\) s.*/\1/p' <<<"$reference")

mkdir -m 700 "$work/run" "$work/home"
export XDG_RUNTIME_DIR=$work/run HOME=$work/home PULSE_SERVER=unix:$work/run/pulse/native
pulseaudio -n --daemonize=no --exit-idle-time=-1 -L module-null-sink -L module-native-protocol-unix \
    -L module-cli-protocol-unix 2>"$work/pulseaudio.log" &
server=$!
for _ in $(seq 200); do pactl info >/dev/null 2>&1 && break; sleep 0.05; done
pactl info >/dev/null || fail "pulseaudio did not start: $(cat "$work/pulseaudio.log")"
sink=$(pactl get-default-sink)

startX 1280x1024
unset SDL_AUDIODRIVER
for ((r = 1; r <= recordings; r++)); do
    busy=()
    for ((j = 0; j < load; j++)); do
        bash -c 'while :; do :; done' &
        busy+=($!)
    done
    wav=$work/recording-$r.wav
    parec --device="$sink.monitor" --file-format=wav "$wav" &
    recorder=$!
    # Recording already: on a busy machine parec can take seconds to start.
    until [ "$(stat -c %s "$wav" 2>/dev/null || echo 0)" -gt 44100 ]; do
        kill -0 "$recorder" || fail "parec ended"
        sleep 0.1
    done
    startDemo "$work"
    waitFrame "$work"
    started=$(stat -c %s "$wav")
    stream=$(pactl list sink-inputs | sed -n 's/^\s*\(Sample Specification\|Buffer Latency\|Sink Latency\): //p' |
        paste -sd, | sed 's/,/, /g')
    stream+=", requested sink latency $(pacmd list-sink-inputs | sed -n 's/^\s*requested latency: //p')"
    # The music's length and 5 s more from the first frame, when it is
    # already playing, in the recording's bytes.
    until [ "$(stat -c %s "$wav")" -ge $((started + (${musicLength%.*} + 6) * 44100 * 4)) ]; do
        running || fail "the demo ended: $(cat "$work/err")"
        sleep 0.5
    done
    loadNow=$(cut -d' ' -f1 /proc/loadavg)
    stopDemo
    kill "$recorder" "${busy[@]}"
    wait "$recorder" "${busy[@]}" 2>/dev/null || true
    recorder=
    busy=()
    result=$("$gaps" "$wav")
    length=$(sed -n 's/.*length \([0-9.]*\) s.*/\1/p' <<<"$result")
    late=$(awk -v a="$length" -v b="$musicLength" 'BEGIN { printf "%.0f", (a - b) * 1000 }')
    echo "recording $r (load average $loadNow): $result; ended $late ms late; stream: $stream"
    [ ! -s "$work/err" ] || echo "  the demo said: $(cat "$work/err")"
done
