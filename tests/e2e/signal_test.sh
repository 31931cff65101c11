#!/usr/bin/env bash
# Ctrl+C and SIGTERM end the running demo promptly, as for any program.
source "$(dirname "$0")/common.sh"
startScreen
withData
for sig in TERM INT; do
    startDemo
    sleep 1
    running || fail "the demo ended by itself: $(cat "$work/err")"
    kill -s "$sig" "$pid"
    waitEnd 2 || fail "SIG$sig did not end the demo"
    [ "$status" -ne 0 ] || fail "SIG$sig gave status 0"
done
echo "signal_test: passed"
