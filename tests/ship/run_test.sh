#!/usr/bin/env bash
# ./run.sh as a newcomer uses it, in a scratch tree of the sources: options
# reach the demo as typed, paths relative to where they were typed; without
# a data folder it shows the committed data from anywhere; and it leaves
# build/ to the README's steps by hand, whose configure then has the tests.
source "$(dirname "$0")/common.sh"
source=$1
tree=$work/tree
mkdir "$tree"
for f in "$source"/*; do
    case ${f##*/} in build*) ;; *) ln -s "$f" "$tree/" ;; esac
done
newyear=$tree/run.sh

# The first run builds the demo.
"$newyear" --version >"$work/stdout" 2>"$work/err" || fail "./run.sh --version: $(cat "$work/err")"
[ "$(tail -1 "$work/stdout")" = "newyear 1.0.0" ] || fail "./run.sh --version said: $(tail -3 "$work/stdout")"

mkdir -p "$work/home/sub" "$work/home/mydata"
for option in "-w -d ../nowhere" "-wd../nowhere" "--data=../nowhere" "--da ../nowhere"; do
    startDemo "$work/home/sub" $option
    waitEnd 30 || fail "./run.sh $option runs on without its data"
    [ "$status" -eq 1 ] || fail "./run.sh $option: status $status"
    oneLine "^newyear: cannot open \"gfx.dat\" in \\.\\./nowhere: No such file or directory\$"
done

# ../mydata from home/sub, with a panel of plain blue.
convert -size 150x240 xc:'rgb(0,0,255)' -type TrueColor BMP3:"$work/home/mydata/gfx.dat"
cp "$source/data/hm.dat" "$work/home/mydata/"
startX 320x240
startDemo "$work/home/sub" -w -d ../mydata --mute
waitFrame "$work/home/mydata"
stopDemo
startDemo "$work/home/sub"
waitFrame "$source/data"
stopDemo
[ ! -s "$work/err" ] || fail "./run.sh said: $(cat "$work/err")"

cmake -S "$tree" -B "$tree/build" -DCMAKE_BUILD_TYPE=Release >"$work/log" 2>&1 || fail "cmake: $(cat "$work/log")"
grep -qx 'BUILD_TESTING:BOOL=ON' "$tree/build/CMakeCache.txt" || fail "after ./run.sh, build/ is configured without the tests"
echo "run_test: passed"
