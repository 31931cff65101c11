# Sourced by run.sh and test.sh: installs the Debian packages that are
# missing, and says which. Plain bash, so it works before make exists.

# The build: compiler, CMake, SDL 1.2 (over SDL 2) with SDL_mixer, Xlib,
# the Wayland client library, libpng; and the plugin that draws a window's
# decorations on Wayland, only recommended by libdecor, so left out by
# --no-install-recommends.
buildPackages=(g++ make cmake pkg-config libsdl1.2-compat-dev libsdl1.2-compat-shim
               libsdl-mixer1.2-dev libx11-dev libwayland-dev libpng-dev libdecor-0-plugin-1-cairo)
# Only the tests: GoogleTest and Google Benchmark, a headless X server to
# run the real demo in, a Wayland compositor and two window managers to run
# it under, keys, window manager requests, screenshots, the validators
# for the installed desktop files and man page, the package tools, lintian
# for the .deb, clang's fuzzer and clang-format for the one code style.
testPackages=(googletest libgtest-dev libbenchmark-dev xvfb weston openbox fluxbox xdotool wmctrl x11-utils imagemagick
              desktop-file-utils appstream dpkg-dev file groff-base lintian clang libclang-rt-14-dev
              clang-format)

installMissing()
{
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
