#!/usr/bin/env bash
# --text FILE, in newyear and newyear-capture alike: a text that cannot be
# used ends either at once with one line and status 2, before anything
# starts; the sender's words scroll on the real demo exactly as the capture
# draws them; and characters with no letter are named once.
source "$(dirname "$0")/common.sh"
newyear=$1
capture=$2
data=$3
mkdir "$work/out"

# refused PATTERN FILE: both tools, given --text FILE and no display, say
# one line matching PATTERN and end with status 2 (without a display, going
# on would end with status 1). For "-", standard input holds $work/stdin.
refused()
{
    local status=0 input=/dev/null
    [ "$2" = - ] && input=$work/stdin
    env -u DISPLAY -u WAYLAND_DISPLAY "$newyear" --text "$2" <"$input" >/dev/null 2>"$work/err" || status=$?
    [ "$status" -eq 2 ] || fail "newyear --text $2: status $status, expected 2: $(cat "$work/err")"
    oneLine "^newyear: the text .*$1"
    status=0
    (cd "$data" && "$capture" --text "$2" 1 1 "$work/out") <"$input" >/dev/null 2>"$work/err" || status=$?
    [ "$status" -eq 2 ] || fail "newyear-capture --text $2: status $status, expected 2: $(cat "$work/err")"
    oneLine "^newyear-capture: the text .*$1"
    [ -z "$(ls "$work/out")" ] || fail "newyear-capture --text $2 wrote frames"
}
refused '"[^"]*/none.txt" cannot be read: No such file or directory$' "$work/none.txt"
refused 'is a folder, not a file$' "$work/out"
printf 'ok \303' >"$work/cut.txt"
refused 'is not UTF-8 text: byte 4 is not valid UTF-8$' "$work/cut.txt"
printf '\377' >"$work/stdin"
refused 'on standard input is not UTF-8 text: byte 1 ' -
printf ' \r\n\t\001\342\200\256 \n' >"$work/empty.txt"
refused 'has nothing to show' "$work/empty.txt"
head -c 2001 /dev/zero | tr '\0' x >"$work/long.txt"
refused 'is too long: 2001 characters, and the scroller takes at most 2000$' "$work/long.txt"
head -c 65537 /dev/zero >"$work/huge.txt"
refused 'is too long: more than 65536 bytes' "$work/huge.txt"

# The words on screen from frame 95 or so, after the lead-in of spaces:
# three screenshots of the real demo from frame 100 on, in order, are the
# capture's frames, which a screenshot of the built-in text is not. The
# one character with no letter is named once.
printf 'Καλή χρονιά! З Новим роком! ŞĞİ ÁÉÍ ŐŰ ☺ 😀\n' >"$work/words.txt"
frameHashes "$capture" "$data" 700 --text "$work/words.txt" >"$work/hashes"
startX 640x480
startDemo "$data" --text "$work/words.txt" --mute
waitFrame "$data"
last=99
matched=0
for i in $(seq 100); do
    shot "$work/shot.png"
    convert "$work/shot.png" -sample 320x240 "$work/small.png"
    n=$(frameOf "$work/small.png" "$work/hashes")
    [ -n "$n" ] && [ "$n" -gt "$last" ] || continue
    last=$n
    matched=$((matched + 1))
    [ "$matched" -ge 3 ] && break
done
stopDemo
[ "$matched" -ge 3 ] || fail "only $matched screenshots from frame 100 on are the capture's frames (the last $last)"
oneLine '^newyear: with no letter here, these show as a box: 😀 (U+1F600)$'
frameHashes "$capture" "$data" "$last" >"$work/builtin"
[ -z "$(frameOf "$work/small.png" "$work/builtin")" ] || fail "frame $last with the words is the built-in text's"
echo "text_test: passed (frames up to $last)"
