#!/usr/bin/env bash
# Missing or broken data files and a display that cannot be opened: one line
# on standard error naming the file or the cause, and status 1. Broken music
# or no sound device only silences the demo, which says so once.
source "$(dirname "$0")/common.sh"
startX 320x240

expectError '"gfx.dat" in '
withData
rm "$work/hm.dat"
expectError '"hm.dat" in '
withData
head -c 30 "$data/hm.dat" >"$work/hm.dat"
expectError '"hm.dat" is not a readable BMP'
withData
echo "not a picture" >"$work/gfx.dat"
expectError '"gfx.dat" is not a readable BMP'
withData
cp "$data/gfx.dat" "$work/hm.dat"
expectError '"hm.dat" must be an 8-bit 300x300 height map'
withData
SDL_VIDEODRIVER=nosuchdriver expectError 'cannot open the display'

# expectSilence SUBSTRING: the demo draws its frames, and says once why it
# plays without music.
expectSilence()
{
    startDemo "$work"
    waitFrame "$work"
    stopDemo
    oneLine "^newyear: playing without music: .*$1"
}
withData
rm "$work/music.dat"
expectSilence '"music.dat" in .*: No such file'
head -c 4000 /dev/urandom >"$work/music.dat"
expectSilence 'cannot be played'
rm "$work/music.dat"
mkfifo "$work/music.dat"
expectSilence 'is not a regular file'
rm "$work/music.dat"
withData
SDL_AUDIODRIVER=nosuchdriver expectSilence 'no sound'
echo "badinput_test: passed"
