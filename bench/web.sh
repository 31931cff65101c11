#!/usr/bin/env bash
# The browser's figures beside the desktop's (bench/web.js), after the web
# build and its test harness are in place (./web.sh, tests/web/run.sh).
#   bench/web.sh BUILD      (the desktop build, for BUILD/bench/frame_bench)
set -euo pipefail
build=$(realpath "$1")
cd "$(dirname "$0")/.."
NODE_PATH=$PWD/build-web/node/node_modules exec node bench/web.js "$build/bench/frame_bench"
