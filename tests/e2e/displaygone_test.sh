#!/usr/bin/env bash
# The X server going away under the demo, as at logout: while it starts, and
# while it runs. Either way one line of ours and status 1, never a signal.
# The server closing the connection is told apart.
# (tools/display-loss.sh measures this over many more moments.)
source "$(dirname "$0")/common.sh"
withData

for i in 1 2 3; do
    startX 320x240
    startDemo "$work"
    waitFrame "$work"
    stopX
    expectLoss "the display"
    grep -q 'the display went away' "$work/err" || fail "running: $(cat "$work/err")"

    startX 320x240
    startDemo "$work"
    stopX
    expectLoss "the display"
done

# The X server closing the demo's connection while the server goes on, as
# xkill does, is not the display's loss: the line says what happened.
startX 320x240
startDemo "$work"
waitFrame "$work"
xdotool search --onlyvisible --name '^newyear$' windowkill
waitEnd 30 || fail "the demo runs on without its connection"
[ "$status" -eq 1 ] || fail "status $status: $(cat "$work/err")"
[ "$(cat "$work/err")" = "newyear: the X server closed the demo's connection (the server still runs)" ] ||
    fail "killed, it said: $(cat "$work/err")"
stopX
echo "displaygone_test: passed"
