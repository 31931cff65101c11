#!/usr/bin/env bash
# The browser tests: builds the web outputs with ./web.sh, installs Debian's
# chromium, firefox-esr and WebKitWebDriver and the pinned puppeteer-core
# (npm ci into build-web/node, again only when package-lock.json changes),
# draws the desktop's frames to compare with newyear-capture, starts an X
# server (WebKit's window) and a PulseAudio server with a null sink (Firefox
# and WebKit play only through a sound server), then runs page.test.js.
#   tests/web/run.sh CAPTURE      (the desktop build's newyear-capture)
set -euo pipefail
capture=$(realpath "$1")
cd "$(dirname "$0")/../.."
./web.sh
source tests/xvfb.sh
frames=$work/frames
for n in 1 2 100 1000 2760; do
    (cd data && "$capture" "$n" "$n" "$frames")
    convert "$frames/frame-$(printf %05d "$n").png" -depth 8 "rgb:$frames/frame-$n.rgb"
done
export NEWYEAR_WEB_FRAMES=$frames
source tools/deps.sh
installMissing "${webTestPackages[@]}"
# Debian's npm, unless the node installed brings its own.
command -v npm >/dev/null || installMissing npm
modules=build-web/node
lock=$(sha256sum tests/web/package-lock.json | cut -c1-16)
if [ "$(cat "$modules/.stamp" 2>/dev/null)" != "$lock" ]; then
    rm -rf "$modules"
    mkdir -p "$modules"
    cp tests/web/package.json tests/web/package-lock.json "$modules"
    # npm trusts the certificates the system trusts, as apt and git do, on
    # top of node's own: a proxy's authority installed on the system counts.
    systemCas=/etc/ssl/certs/ca-certificates.crt
    [ -n "${NODE_EXTRA_CA_CERTS:-}" ] || [ ! -f "$systemCas" ] || export NODE_EXTRA_CA_CERTS=$systemCas
    (cd "$modules" && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error)
    echo "$lock" >"$modules/.stamp"
fi
startX 1280x1024
# The browsers' caches and the sound server's files go in the scratch folder.
mkdir -p -m 700 "$work/run"
mkdir -p "$work/home"
export XDG_RUNTIME_DIR=$work/run HOME=$work/home PULSE_SERVER=unix:$work/run/pulse/native
pulseaudio -n --daemonize=no --exit-idle-time=-1 -L module-null-sink -L module-native-protocol-unix \
    2>"$work/pulseaudio.log" &
sound=$!
trap 'kill "$sound" 2>/dev/null; cleanup' EXIT
for _ in $(seq 200); do pactl info >/dev/null 2>&1 && break; sleep 0.05; done
pactl info >/dev/null || fail "pulseaudio did not start: $(cat "$work/pulseaudio.log")"
NODE_PATH=$PWD/$modules/node_modules node --test tests/web/page.test.js
