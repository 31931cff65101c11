#!/usr/bin/env bash
# Installs what is missing, builds newyear into build-run/ and starts it on
# the committed data files. Options go to the demo as typed, relative to
# where they were typed: ./run.sh --window, ./run.sh -w -d ../mydata.
# (build/ is left to test.sh and the README's steps by hand, whose build
# has the tests.)
set -euo pipefail
repo=$(cd "$(dirname "$0")" && pwd)
source "$repo/tools/deps.sh"
installMissing "${buildPackages[@]}"
cmake -S "$repo" -B "$repo/build-run" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$repo/build-run" -j"$(nproc)" --target newyear

# namesData OPTIONS...: true when the options, as getopt normalised them,
# name a data folder. Read with the demo's own options, so -wd DIR,
# --data=DIR and --da DIR count too.
namesData()
{
    while [ "$1" != -- ]; do
        case $1 in
            -d | --data) return 0 ;;
            -s | --scale | -t | --text) shift ;;
        esac
        shift
    done
    return 1
}

# The committed data unless the user names a folder. Options the demo would
# refuse go to it as they are, for it to say so.
data=(--data "$repo/data")
if options=$(getopt -q -o ws:d:mt:h -l window,scale:,data:,mute,text:,help,version -n newyear -- "$@") &&
    eval "namesData $options"; then
    data=()
fi
exec "$repo/build-run/newyear" "${data[@]}" "$@"
