#!/usr/bin/env bash
# tools/web/deps.sh BUILDDIR: the libraries the web build links, built with
# emscripten from Debian's own source packages, into BUILDDIR/deps/prefix
# (include/, lib/libSDL2.a, lib/libxmp.a, lib/libSDL2_mixer.a):
#   - SDL 2, static, without threads (they would need pthreads in the
#     browser) and without the parts the demo does not use;
#   - libxmp, the tracker-module player;
#   - SDL 2's mixer, playing modules through libxmp and nothing else.
# The sources come from `apt-get source`, through a private apt
# configuration in BUILDDIR/deps/apt whose deb-src entries are copied from
# apt's own sources: the system's apt setup is not changed. Once fetched,
# the sources are kept, so a rebuild needs no network. Each library's stamp
# holds a key made of this script, emcc's version and the source versions;
# when the key still matches, nothing is rebuilt. Run by web.sh, which sets
# up Debian's emscripten for it.
set -euo pipefail

deps=$(realpath -m "$1")/deps
script=$(realpath "$0")
packages=(libsdl2 libxmp libsdl2-mixer)
jobs=2

# The sources, fetched once; their stamp names the packages.
fetchSources()
{
    local src=$deps/src apt=$deps/apt
    [ "$(cat "$src/.fetched" 2>/dev/null)" = "${packages[*]}" ] && return 0
    echo "Fetching the sources of ${packages[*]} with apt-get source"
    rm -rf "$src" "$apt"
    mkdir -p "$src" "$apt/sources.list.d" "$apt/lists/partial" "$apt/cache/archives/partial"
    # apt's own sources, with every binary entry turned into a source entry.
    local list parts f
    eval "$(apt-config shell list Dir::Etc::sourcelist/f parts Dir::Etc::sourceparts/d)"
    if [ -f "$list" ]; then
        sed -nE 's/^[[:space:]]*deb([[:space:]])/deb-src\1/p' "$list" >"$apt/sources.list"
    else
        : >"$apt/sources.list"
    fi
    for f in "$parts"*.list; do
        [ -f "$f" ] && sed -nE 's/^[[:space:]]*deb([[:space:]])/deb-src\1/p' "$f" >"$apt/sources.list.d/$(basename "$f")"
    done
    for f in "$parts"*.sources; do
        [ -f "$f" ] && sed -E 's/^Types:.*/Types: deb-src/' "$f" >"$apt/sources.list.d/$(basename "$f")"
    done
    local options=(-o "Dir::Etc::SourceList=$apt/sources.list" -o "Dir::Etc::SourceParts=$apt/sources.list.d"
                   -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache" -o APT::Sandbox::User="$(id -un)")
    apt-get "${options[@]}" -qq update
    (cd "$src" && apt-get "${options[@]}" -qq source "${packages[@]}" >/dev/null)
    echo "${packages[*]}" >"$src/.fetched"
}

# sourceDir PACKAGE: the unpacked source of PACKAGE, named from its .dsc.
sourceDir()
{
    local version
    version=$(sed -n 's/^Version: //p' "$deps/src/$1"_*.dsc)
    version=${version#*:}
    echo "$deps/src/$1-${version%-*}"
}

# built NAME: true when NAME was built with the current key.
built() { [ "$(cat "$deps/stamps/$1" 2>/dev/null)" = "$key" ]; }
stamp() { echo "$key" >"$deps/stamps/$1"; }
# logged NAME COMMAND...: runs COMMAND with its output in NAME's log, shown
# when it fails.
logged()
{
    local log=$deps/build/$1.log
    shift
    "$@" >>"$log" 2>&1 || { tail -n 40 "$log"; echo "failed: $*; the whole log is $log"; return 1; }
}

fetchSources
prefix=$deps/prefix
key=$( (cat "$script"; emcc --version | sed -n 1p; cat "$deps/src/"*.dsc) | sha256sum | cut -c1-16)
if [ "$(cat "$deps/stamps/key" 2>/dev/null)" != "$key" ]; then
    rm -rf "$prefix" "$deps/build" "$deps/stamps"
    mkdir -p "$prefix" "$deps/build" "$deps/stamps"
    stamp key
fi
# Optimised for speed: the blits and fills run thousands of times a frame.
cflags="-O2 -DNDEBUG"

if ! built sdl2; then
    echo "Building SDL 2 with emscripten"
    logged sdl2 emcmake cmake -S "$(sourceDir libsdl2)" -B "$deps/build/sdl2" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_C_FLAGS_RELEASE="$cflags" -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL2_DISABLE_SDL2MAIN=ON -DSDL_CCACHE=OFF \
        -DSDL_THREADS=OFF -DSDL_JOYSTICK=OFF -DSDL_HAPTIC=OFF -DSDL_HIDAPI=OFF -DSDL_SENSOR=OFF \
        -DSDL_POWER=OFF -DSDL_LOCALE=OFF -DSDL_MISC=OFF -DSDL_FILESYSTEM=OFF -DSDL_LOADSO=OFF \
        -DSDL_CPUINFO=OFF -DSDL_RENDER=OFF -DSDL_OPENGL=OFF -DSDL_OPENGLES=OFF \
        -DSDL_DISKAUDIO=OFF -DSDL_DUMMYAUDIO=OFF -DSDL_DUMMYVIDEO=OFF -DSDL_OFFSCREEN=OFF
    logged sdl2 cmake --build "$deps/build/sdl2" -j"$jobs"
    logged sdl2 cmake --install "$deps/build/sdl2"
    stamp sdl2
fi

if ! built xmp; then
    echo "Building libxmp with emscripten"
    # configure writes into the tree: build a copy.
    cp -a "$(sourceDir libxmp)/." "$deps/build/xmp"
    cd "$deps/build/xmp"
    logged xmp emconfigure ./configure --host=wasm32-unknown-emscripten --prefix="$prefix" \
        --disable-shared --enable-static --disable-depackers --disable-prowizard CFLAGS="$cflags"
    logged xmp emmake make -j"$jobs"
    logged xmp emmake make install
    cd - >/dev/null
    stamp xmp
fi

if ! built mixer; then
    echo "Building SDL 2's mixer with emscripten"
    # The mixer's Findlibxmp.cmake calls find_package_handle_standard_args
    # without including the module that defines it.
    echo 'include(FindPackageHandleStandardArgs)' >"$deps/build/mixer-prelude.cmake"
    logged mixer emcmake cmake -S "$(sourceDir libsdl2-mixer)" -B "$deps/build/mixer" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_C_FLAGS_RELEASE="$cflags" -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DCMAKE_PROJECT_INCLUDE_BEFORE="$deps/build/mixer-prelude.cmake" \
        -DSDL2_DIR="$prefix/lib/cmake/SDL2" \
        -Dlibxmp_LIBRARY="$prefix/lib/libxmp.a" -Dlibxmp_INCLUDE_PATH="$prefix/include" \
        -DBUILD_SHARED_LIBS=OFF -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_DEPS_SHARED=OFF \
        -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_CMD=OFF -DSDL2MIXER_WAVE=OFF -DSDL2MIXER_FLAC=OFF \
        -DSDL2MIXER_MP3=OFF -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_VORBIS=OFF \
        -DSDL2MIXER_MOD=ON -DSDL2MIXER_MOD_MODPLUG=OFF -DSDL2MIXER_MOD_XMP=ON \
        -DSDL2MIXER_MOD_XMP_SHARED=OFF
    logged mixer cmake --build "$deps/build/mixer" -j"$jobs"
    logged mixer cmake --install "$deps/build/mixer"
    stamp mixer
fi
