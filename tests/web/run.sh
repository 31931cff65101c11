#!/usr/bin/env bash
# The browser tests: builds the web outputs with ./web.sh, installs Debian's
# chromium, firefox-esr and WebKitWebDriver and the pinned puppeteer-core
# (npm ci into build-web/node, again only when package-lock.json changes),
# starts an X server and a PulseAudio server (servers.sh), draws the
# desktop's frames to compare with newyear-capture, with the built-in
# greeting and with words.txt, then runs page.test.js.
#   tests/web/run.sh CAPTURE      (the desktop build's newyear-capture)
set -euo pipefail
capture=$(realpath "$1")
cd "$(dirname "$0")/../.."
./web.sh
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
source tests/web/servers.sh
frames=$work/frames
for n in 1 2 100 1000 2760; do
    (cd data && "$capture" "$n" "$n" "$frames")
    convert "$frames/frame-$(printf %05d "$n").png" -depth 8 "rgb:$frames/frame-$n.rgb"
done
# With words.txt: frame 150 has accented capitals, Greek and Cyrillic on
# screen; 1000 has them on their second time round.
for n in 150 1000; do
    (cd data && "$capture" --text ../tests/web/words.txt "$n" "$n" "$frames/words")
    convert "$frames/words/frame-$(printf %05d "$n").png" -depth 8 "rgb:$frames/words-$n.rgb"
done
export NEWYEAR_WEB_FRAMES=$frames
NODE_PATH=$PWD/$modules/node_modules node --test tests/web/page.test.js
