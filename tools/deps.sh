# Sourced by run.sh and test.sh: installs the Debian packages that are
# missing, and says which. Plain bash, so it works before make exists.
# tools/fresh-debian.sh also takes apt's mirror from here.

# The build: compiler, CMake, SDL 1.2 (over SDL 2) with SDL_mixer, Xlib,
# the Wayland client library, ALSA's library, libpng; and the plugin that
# draws a window's decorations on Wayland, only recommended by libdecor, so
# left out by --no-install-recommends.
buildPackages=(g++ make cmake pkg-config libsdl1.2-compat-dev libsdl1.2-compat-shim
               libsdl-mixer1.2-dev libx11-dev libwayland-dev libasound2-dev libpng-dev libdecor-0-plugin-1-cairo)
# Only the tests: GoogleTest and Google Benchmark, a headless X server to
# run the real demo in, a Wayland compositor and three window managers to run
# it under, keys, window manager requests, screenshots, a PulseAudio server
# and its tools to play it through, the validators for the installed
# desktop files and man page, the package tools, lintian for the .deb,
# clang's fuzzer, clang-format for the one code style, and Unicode's data
# to check the letters' compositions against.
testPackages=(googletest libgtest-dev libbenchmark-dev xvfb weston openbox fluxbox xfwm4 dbus-daemon xdotool wmctrl x11-utils
              imagemagick pulseaudio pulseaudio-utils desktop-file-utils appstream dpkg-dev file groff-base
              lintian clang libclang-rt-14-dev clang-format unicode-data)

# aptGet ARGS...: apt-get as root (through sudo when we are not). When
# another apt holds a lock (an upgrade running, a second terminal), it says so
# once and tries again every second, for at most 20 minutes.
aptGet()
{
    local sudo=() err status said=
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    err=$(mktemp)
    local until=$((SECONDS + 1200))
    while true; do
        status=0
        "${sudo[@]}" env LC_ALL=C DEBIAN_FRONTEND=noninteractive apt-get "$@" 2>"$err" || status=$?
        if [ $status -eq 0 ] || ! grep -q '^E: Could not get lock' "$err" || [ $SECONDS -ge $until ]; then
            cat "$err" >&2
            rm -f "$err"
            return $status
        fi
        [ -n "$said" ] || echo "Waiting for another apt to finish, at most 20 minutes ($(sed -n 's/^E: Could not get lock //p' "$err" | head -n1))"
        said=yes
        sleep 1
    done
}

installMissing()
{
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    aptGet update -qq
    aptGet install -y -qq --no-install-recommends "${missing[@]}"
}

# aptMirror: the Debian mirror that apt's own sources name for bookworm
# (sources.list or the deb822 files in sources.list.d alike), as apt reads it.
aptMirror()
{
    apt-get indextargets --no-release-info --format '$(RELEASE) $(REPO_URI)' 'Identifier: Packages' |
        awk '$1 == "bookworm" || $1 == "stable" { print $2; exit }'
}

# The web build (web.sh): Debian's emscripten (it brings clang, lld,
# binaryen, node and python3), CMake, and dpkg-dev for apt-get source.
webPackages=(emscripten cmake make dpkg-dev)
# The web build's browser tests: Debian's chromium, Firefox ESR and WebKit's
# WebDriver (with its MiniBrowser), the X server WebKit's window needs, and
# the PulseAudio server Firefox and WebKit play through. Their npm comes
# with Debian's nodejs or its own package (tests/web/run.sh).
webTestPackages=(chromium firefox-esr webkit2gtk-driver xvfb x11-utils imagemagick pulseaudio pulseaudio-utils)
