#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test, the web
# build in a real browser among them.
# With --sanitize: the same suite in build-sanitize/, built with
# AddressSanitizer and UndefinedBehaviorSanitizer, without the web tests.
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
packages=("${buildPackages[@]}" "${testPackages[@]}")
[ "${1:-}" = --sanitize ] || packages+=("${webPackages[@]}" "${webTestPackages[@]}")
installMissing "${packages[@]}"
dir=build
options=(-DCMAKE_BUILD_TYPE=Release)
if [ "${1:-}" = --sanitize ]; then
    dir=build-sanitize
    options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DNEWYEAR_SANITIZE=ON)
    # Leaks inside the system libraries are listed, with reasons, in
    # tests/lsan.supp; anything else fails the test that hit it.
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1
    export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    # Under X, SDL loads Mesa's software GL driver and unloads it at
    # SDL_Quit; the blocks the driver's globals still pointed at then look
    # leaked, from a module that can no longer be named or suppressed. Kept
    # loaded in the demo, they stay reachable and nothing is hidden.
    swrast=$(ls /usr/lib/*/dri/swrast_dri.so 2>/dev/null | head -n1)
    if [ -n "$swrast" ]; then
        export NEWYEAR_PRELOAD=$swrast
        ASAN_OPTIONS+=:verify_asan_link_order=0
    fi
fi
cmake -S . -B "$dir" "${options[@]}" -DBUILD_TESTING=ON >/dev/null
cmake --build "$dir" -j"$(nproc)"
# The web build's libraries take minutes the first time: built here, not
# inside a test's time limit.
[ "${1:-}" = --sanitize ] || ./web.sh
ctest --test-dir "$dir" --output-on-failure -j"$(nproc)"
