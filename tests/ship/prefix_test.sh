#!/usr/bin/env bash
# Installed under a prefix of its own, newyear started from any folder finds
# its data in the installed data folder, unless the working directory has
# its own; --data names another folder.
source "$(dirname "$0")/common.sh"
source=$1
prefix=$work/prefix
data=$prefix/share/games/newyear

cmake -S "$source" -B "$work/build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DBUILD_TESTING=OFF -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >"$work/log" 2>&1 || fail "cmake: $(cat "$work/log")"
cmake --build "$work/build" -j2 --target newyear newyear-docs >"$work/log" 2>&1 || fail "build: $(cat "$work/log")"
cmake --install "$work/build" >"$work/log" 2>&1 || fail "install: $(cat "$work/log")"
newyear=$prefix/games/newyear

startX 320x240
mkdir "$work/home"
startDemo "$work/home"
waitFrame "$data"
stopDemo
[ ! -s "$work/err" ] || fail "it said: $(cat "$work/err")"

# A working directory with its own gfx.dat comes first, and all three files
# come from there: a panel of plain blue shows, and its missing music is
# missed there.
convert -size 150x240 xc:'rgb(0,0,255)' -type TrueColor BMP3:"$work/home/gfx.dat"
cp "$data/hm.dat" "$work/home/"
startDemo "$work/home"
waitFrame "$work/home"
stopDemo
grep -qF "\"music.dat\" in $work/home" "$work/err" || fail "music not looked for beside gfx.dat: $(cat "$work/err")"

# --data names the folder, and only that one is looked in.
mkdir "$work/other"
startDemo "$work/home" --data "$work/other"
waitEnd 30 || fail "still running without data"
[ "$status" -eq 1 ] || fail "status $status"
oneLine "^newyear: cannot open \"gfx.dat\" in $work/other: No such file or directory\$"
echo "prefix_test: passed"
