#!/usr/bin/env bash
# Runs a fuzzer that CMake builds (tests/fuzz/build), fuzz_images or
# fuzz_text, on its committed corpus, tests/fuzz/corpus/images or text:
#   tests/fuzz/run.sh FUZZER replay        runs every input of the committed corpus once
#   tests/fuzz/run.sh FUZZER fuzz RUNS     fuzzes RUNS inputs from the corpus, seeded, so a
#                                          failure comes back on the next run
# New inputs a fuzzing run finds stay in a corpus folder beside FUZZER; copy
# the few that matter into the committed one.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
fuzzer=$1
name=${fuzzer##*/}
corpus=$here/corpus/${name#fuzz_}
out=$(dirname "$fuzzer")/${name#fuzz_}
mkdir -p "$out/corpus"
export SDL_VIDEODRIVER=dummy
export LSAN_OPTIONS=suppressions=$here/../lsan.supp
# A header may ask for terabytes; SDL checks what malloc gives back, as it
# would outside the sanitizer.
export ASAN_OPTIONS=allocator_may_return_null=1
case $2 in
replay)
    "$fuzzer" -timeout=10 -rss_limit_mb=4096 "$corpus"/* 2>"$out/replay.log" ||
        { tail -n 60 "$out/replay.log"; exit 1; }
    echo "replayed $(ls "$corpus" | wc -l) inputs"
    ;;
fuzz)
    "$fuzzer" -seed=1 -runs="$3" -max_len=4096 -timeout=10 -rss_limit_mb=4096 \
        -artifact_prefix="$out/" "$out/corpus" "$corpus" 2>"$out/fuzz.log" ||
        { tail -n 60 "$out/fuzz.log"; exit 1; }
    tail -n 3 "$out/fuzz.log"
    ;;
*)
    echo "usage: tests/fuzz/run.sh FUZZER replay|fuzz RUNS" >&2
    exit 2
    ;;
esac
