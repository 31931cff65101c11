#!/usr/bin/env bash
# Installs what is missing, builds newyear and starts it on the committed
# data files. Options go to the demo: ./run.sh --window, ./run.sh --help.
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
installMissing "${buildPackages[@]}"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build -j"$(nproc)" --target newyear
# The demo reads its three files from the working directory.
cd data
exec ../build/newyear "$@"
