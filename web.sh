#!/usr/bin/env bash
# Builds newyear for web browsers, installing what is missing:
#   build-web/site/         the page, its script, the wasm and the data files,
#                           for any static web host;
#   build-web/newyear.html  the same in one file that plays from a file
#                           manager or a mail, with no server.
# The libraries (SDL 2, libxmp, SDL 2's mixer) are built once from Debian's
# source packages into build-web/deps/; later builds take seconds.
# ./web.sh --serve builds, then serves build-web/site/ on localhost.
# ./web.sh --base-url URL gives the page's preview card, the one chat
# programs and mail show for a link, the site folder's address (http or
# https), which its picture needs: build-web/site/preview.png.
set -euo pipefail
cd "$(dirname "$0")"
usage()
{
    echo "usage: ./web.sh [--serve] [--base-url URL]" >&2
    exit 2
}
serve= base=
while [ $# -gt 0 ]; do
    case $1 in
        --serve) serve=yes ;;
        --base-url) [ $# -ge 2 ] || usage; base=$2; shift ;;
        *) usage ;;
    esac
    shift
done
if [ -n "$base" ]; then
    # It goes into the page's tags as it is.
    address='^https?://[^[:space:][:cntrl:]"'"'"'<>]+$'
    [[ $base =~ $address ]] || {
        echo "web.sh: --base-url takes an http:// or https:// address with no spaces, quotes or angle brackets" >&2
        usage
    }
    [[ $base == */ ]] || base+=/
fi
source tools/deps.sh
installMissing "${webPackages[@]}"
# Debian's emscripten finds its JavaScript modules (acorn) there, and runs
# on Debian's python: a python3 earlier in PATH (a pyenv shim) can cost
# seconds a call, and the libraries' configure scripts make hundreds.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
export EMSDK_PYTHON=/usr/bin/python3
out=$PWD/build-web
tools/web/deps.sh "$out"
# Configured once, and again for another base URL; the build configures
# again when CMakeLists.txt changes.
if ! grep -qxF "NEWYEAR_BASE_URL:STRING=$base" "$out/app/CMakeCache.txt" 2>/dev/null; then
    mkdir -p "$out/app"
    emcmake cmake -S src/platform/web -B "$out/app" -DNEWYEAR_WEB_DEPS="$out/deps/prefix" \
        -DNEWYEAR_WEB_OUT="$out" -DNEWYEAR_BASE_URL="$base" >"$out/app/configure.log" 2>&1 ||
        { cat "$out/app/configure.log"; exit 1; }
fi
cmake --build "$out/app" -j2
echo "build-web/site/ for a static host; build-web/newyear.html, $(stat -c %s "$out/newyear.html") bytes, on its own"
if [ -n "$serve" ]; then
    echo "Serving build-web/site/ at http://localhost:8000/ (Ctrl+C stops)"
    cd "$out/site"
    exec python3 -m http.server 8000 --bind 127.0.0.1
fi
