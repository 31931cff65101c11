#!/usr/bin/env bash
# The browser tests: builds the web outputs with ./web.sh, with a base URL
# and without, and checks the preview card's tags; installs Debian's
# chromium, firefox-esr and WebKitWebDriver and the pinned puppeteer-core
# (npm ci into build-web/node, again only when package-lock.json changes),
# starts an X server and a PulseAudio server (servers.sh), draws the
# desktop's frames to compare with newyear-capture, with the built-in
# greeting and with words.txt, then runs page.test.js.
#   tests/web/run.sh CAPTURE      (the desktop build's newyear-capture)
set -euo pipefail
capture=$(realpath "$1")
cd "$(dirname "$0")/../.."

# The preview card: built with a base URL (an ampersand in it, and no
# trailing slash), then without, which leaves the build as the tests
# below need it; the address changes the page alone, not the program.
./web.sh --base-url 'https://example.org/a&b'
site=build-web/site
withBase=$(cat "$site/index.html")
linked=$(stat -c %.9Y "$site/index.wasm")
./web.sh
problems=()
tag() { grep -qF "<meta $2>" <<<"$1" || problems+=("no <meta $2> $3"); }
noTag() { ! grep -qF "$2" <<<"$1" || problems+=("$2 $3"); }
for page in "$withBase" "$(cat "$site/index.html")"; do
    for tag in 'property="og:title" content="newyear"' 'property="og:type" content="website"' \
        'name="twitter:title" content="newyear"'; do
        tag "$page" "$tag" "in the page"
    done
    grep -qF '<meta property="og:description" content="A new-year greeting' <<<"$page" || problems+=("no og:description")
    grep -qF '<meta name="twitter:description" content="A new-year greeting' <<<"$page" || problems+=("no twitter:description")
done
base=https://example.org/a\&amp\;b/
tag "$withBase" "property=\"og:url\" content=\"$base\"" "with the base URL"
tag "$withBase" "property=\"og:image\" content=\"${base}preview.png\"" "with the base URL"
tag "$withBase" "name=\"twitter:image\" content=\"${base}preview.png\"" "with the base URL"
tag "$withBase" 'name="twitter:card" content="summary_large_image"' "with the base URL"
tag "$(cat "$site/index.html")" 'name="twitter:card" content="summary"' "without a base URL"
for name in og:url og:image twitter:image; do noTag "$(cat "$site/index.html")" "$name" "without a base URL"; done
[ "$(stat -c %.9Y "$site/index.wasm")" = "$linked" ] || problems+=("another base URL linked the program again")
cmp -s "$site/preview.png" docs/screenshot.png || problems+=("site/preview.png is not docs/screenshot.png")
cmp -s "$site/newyear.html" build-web/newyear.html || problems+=("site/newyear.html is not the single file")
for bad in 'ftp://example.org/' 'https://example.org/"><script>' "https://example.org/a'b" 'https://example.org/a b' \
    'javascript:alert(1)'; do
    status=0
    ./web.sh --base-url "$bad" 2>/dev/null || status=$?
    [ $status -eq 2 ] || problems+=("--base-url $bad: status $status, not 2")
done
if [ ${#problems[@]} -gt 0 ]; then
    printf 'preview card: %s\n' "${problems[@]}" >&2
    exit 1
fi
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
