#!/usr/bin/env bash
# The browser tests: builds the web outputs with ./web.sh, installs Debian's
# chromium and the pinned puppeteer-core (npm ci into build-web/node, again
# only when package-lock.json changes), then runs page.test.js.
set -euo pipefail
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
    (cd "$modules" && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error)
    echo "$lock" >"$modules/.stamp"
fi
NODE_PATH=$PWD/$modules/node_modules exec node --test tests/web/page.test.js
