#!/usr/bin/env bash
# Ctrl+C and SIGTERM end the running demo, as for any program: the signal
# is sent once a frame is on screen, so the demo is past its start-up.
source "$(dirname "$0")/common.sh"
startX 320x240
withData
for sig in TERM INT; do
    startDemo "$work"
    waitFrame "$work"
    kill -s "$sig" "$pid"
    waitEnd 30 || fail "SIG$sig did not end the demo"
    [ "$status" -eq $((128 + $(kill -l "$sig"))) ] || fail "SIG$sig gave status $status"
done
echo "signal_test: passed"
