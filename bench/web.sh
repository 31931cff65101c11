#!/usr/bin/env bash
# The browsers' figures beside the desktop's (bench/web.js), after the web
# build and its test harness are in place (./web.sh, tests/web/run.sh), with
# the X and sound servers the browsers need (tests/web/servers.sh).
#   bench/web.sh BUILD      (the desktop build, for BUILD/bench/frame_bench)
set -euo pipefail
build=$(realpath "$1")
cd "$(dirname "$0")/.."
modules=$PWD/build-web/node/node_modules
source tests/web/servers.sh
NODE_PATH=$modules node bench/web.js "$build/bench/frame_bench"
