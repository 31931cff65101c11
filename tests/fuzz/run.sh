#!/usr/bin/env bash
# The image fuzzer, built with clang from the demo's own sources.
#   tests/fuzz/run.sh OUTDIR build         builds OUTDIR/fuzz_images when a source is newer
#   tests/fuzz/run.sh OUTDIR replay        runs every input of the committed corpus once
#   tests/fuzz/run.sh OUTDIR fuzz RUNS     fuzzes RUNS inputs from the corpus, seeded, so a
#                                          failure comes back on the next run
# New inputs a fuzzing run finds stay in OUTDIR/corpus; copy the few that
# matter into tests/fuzz/corpus/.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
src=$here/../../src
out=$1
mkdir -p "$out/corpus"
export SDL_VIDEODRIVER=dummy
export LSAN_OPTIONS=suppressions=$here/../lsan.supp
# A header may ask for terabytes; SDL checks what malloc gives back, as it
# would outside the sanitizer.
export ASAN_OPTIONS=allocator_may_return_null=1
case $2 in
build)
    sources=$(find "$src" -name '*.cpp' ! -path '*/demo/main.cpp' | sort)
    if [ ! -x "$out/fuzz_images" ] ||
        [ -n "$(find "$src" "$here/fuzz_images.cpp" -newer "$out/fuzz_images" -name '*.[ch]*' | head -n1)" ]; then
        # shellcheck disable=SC2046,SC2086
        clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
            -I"$src" -DNEWYEAR_DATA_DIR="\"$here/../../data\"" $(pkg-config --cflags sdl SDL_mixer x11) \
            "$here/fuzz_images.cpp" $sources $(pkg-config --libs sdl SDL_mixer x11) -o "$out/fuzz_images.new"
        mv "$out/fuzz_images.new" "$out/fuzz_images"
    fi
    ;;
replay)
    "$out/fuzz_images" -timeout=10 -rss_limit_mb=4096 "$here"/corpus/* 2>"$out/replay.log" ||
        { tail -n 60 "$out/replay.log"; exit 1; }
    echo "replayed $(ls "$here/corpus" | wc -l) inputs"
    ;;
fuzz)
    "$out/fuzz_images" -seed=1 -runs="$3" -max_len=4096 -timeout=10 -rss_limit_mb=4096 \
        -artifact_prefix="$out/" "$out/corpus" "$here/corpus" 2>"$out/fuzz.log" ||
        { tail -n 60 "$out/fuzz.log"; exit 1; }
    tail -n 3 "$out/fuzz.log"
    ;;
*)
    echo "usage: tests/fuzz/run.sh OUTDIR build|replay|fuzz RUNS" >&2
    exit 2
    ;;
esac
