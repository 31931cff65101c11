#!/usr/bin/env bash
# Builds the image fuzzer with clang and runs it for a bounded number of
# inputs, starting from the committed corpus.
#   tests/fuzz/run.sh OUTDIR [RUNS]
# New inputs it finds stay in OUTDIR/corpus; copy the few that matter into
# tests/fuzz/corpus/.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
src=$here/../../src
out=$1
runs=${2:-20000}
mkdir -p "$out/corpus"
sources=$(find "$src" -name '*.cpp' ! -path '*/demo/main.cpp' ! -path '*/demo/frame.cpp' | sort)
# Rebuild only when a source is newer than the fuzzer.
if [ ! -x "$out/fuzz_images" ] || [ -n "$(find "$src" "$here/fuzz_images.cpp" -newer "$out/fuzz_images" -name '*.[ch]*' | head -n1)" ]; then
    # shellcheck disable=SC2046,SC2086
    clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
        -I"$src" $(pkg-config --cflags sdl) "$here/fuzz_images.cpp" $sources \
        $(pkg-config --libs sdl) -o "$out/fuzz_images"
fi
export SDL_VIDEODRIVER=dummy
export LSAN_OPTIONS=suppressions=$here/../lsan.supp
# A header may ask for terabytes; SDL checks what malloc gives back, as it
# would outside the sanitizer.
export ASAN_OPTIONS=allocator_may_return_null=1
"$out/fuzz_images" -runs="$runs" -max_len=4096 -timeout=10 -rss_limit_mb=4096 -artifact_prefix="$out/" \
    "$out/corpus" "$here/corpus" 2>"$out/fuzz.log" || { tail -n 60 "$out/fuzz.log"; exit 1; }
tail -n 3 "$out/fuzz.log"
