# Sourced by the test scripts that run the real demo: a scratch folder that
# goes away on exit, failing with a message, a headless X server, and the
# demo on it. Every wait here waits for something to happen on screen or to
# the process, with a generous limit, never for a fixed time.
set -euo pipefail

work=$(mktemp -d)
xvfb=
pid=
cleanup()
{
    [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail()
{
    echo "FAIL: $*" >&2
    exit 1
}

# saysOneLine PATTERN [FILE]: true when FILE (by default the demo's standard
# error, $work/err) is exactly one line and it matches PATTERN, a grep basic
# regular expression.
saysOneLine()
{
    local file=${2:-$work/err}
    [ "$(wc -l <"$file")" -eq 1 ] && grep -q -- "$1" "$file"
}

# oneLine PATTERN [FILE]: the same, or the test fails showing what was said.
oneLine() { saysOneLine "$@" || fail "expected one line matching '$1', got: $(cat "${2:-$work/err}")"; }

# startX WxH: Xvfb of that size, exported as DISPLAY. There is no window
# manager: the demo must fill the screen by itself. The display number is
# drawn at random from a wide range rather than the first free one: tests
# running side by side start and kill servers, and a server that is going
# down can take the files of a new one on its number with it. -noreset:
# the server would otherwise start over whenever its last client leaves,
# as the readiness check does, and refuse the demo meanwhile.
startX()
{
    local n
    for _ in $(seq 20); do
        n=$((100 + RANDOM % 900))
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 "$1"x24 -nolisten tcp -noreset 2>/dev/null &
        xvfb=$!
        for _ in $(seq 400); do
            if xdpyinfo -display ":$n" >/dev/null 2>&1; then
                export DISPLAY=:$n
                unset SDL_VIDEODRIVER
                export SDL_AUDIODRIVER=dummy
                screenW=${1%x*}
                screenH=${1#*x}
                return 0
            fi
            kill -0 "$xvfb" 2>/dev/null || break  # the number was taken after all
            sleep 0.05
        done
        kill "$xvfb" 2>/dev/null || true
        wait "$xvfb" 2>/dev/null || true
    done
    fail "Xvfb did not start"
}

stopX()
{
    kill "$xvfb"
    wait "$xvfb" 2>/dev/null || true
    xvfb=
}

# startDemo DIR [ARGS...]: starts $newyear in DIR; its pid goes into pid,
# its output into $work/stdout and $work/err. NEWYEAR_PRELOAD, set by the
# sanitized test run, is preloaded into the demo alone.
startDemo()
{
    local dir=$1
    shift
    (cd "$dir" && exec env ${NEWYEAR_PRELOAD:+LD_PRELOAD="$NEWYEAR_PRELOAD"} "$newyear" "$@") \
        >"$work/stdout" 2>"$work/err" &
    pid=$!
}

running() { kill -0 "$pid" 2>/dev/null; }

# waitEnd SECONDS: waits for the demo to end; its exit status goes into
# status (128 + the signal when a signal ended it). False if it runs on.
waitEnd()
{
    for _ in $(seq $(($1 * 20))); do
        running || break
        sleep 0.05
    done
    running && return 1
    status=0
    wait "$pid" || status=$?
    pid=
}

stopDemo()
{
    kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    pid=
}

# The colour of one pixel of a picture as "r,g,b".
rgbAt() { convert "$1" -format '%[fx:int(255*p{'"$2,$3"'}.r)],%[fx:int(255*p{'"$2,$3"'}.g)],%[fx:int(255*p{'"$2,$3"'}.b)]' info:; }

# True when two "r,g,b" colours differ by at most 8 in each channel, the
# most that 5-6-5 packing can lose.
near()
{
    local a b
    IFS=, read -r -a a <<<"$1"
    IFS=, read -r -a b <<<"$2"
    for i in 0 1 2; do
        local d=$((a[i] - b[i]))
        [ ${d#-} -le 8 ] || return 1
    done
}

# onScreen X Y: where the picture's pixel X,Y is on the screen. The test
# screens are all 4:3, so the picture fills them.
onScreen() { echo $(((2 * $1 + 1) * screenW / 640)) $(((2 * $2 + 1) * screenH / 480)); }

shot() { import -window root "$1" 2>/dev/null; }

# waitFrame DATADIR: waits until a frame is on screen: the panel, which
# every frame draws last, shows where it belongs. Fails if the demo ends.
waitFrame()
{
    local want got
    want=$(rgbAt "$1/gfx.dat" 10 100)
    [ "$want" != 255,0,255 ] || fail "the panel is transparent at 10,100"
    for _ in $(seq 1200); do
        running || fail "the demo ended: $(cat "$work/err")"
        if shot "$work/frame.png"; then
            got=$(rgbAt "$work/frame.png" $(onScreen 10 100))
            near "$got" "$want" && return 0
        fi
        sleep 0.05
    done
    fail "no frame on screen after a minute: $(cat "$work/err")"
}

# waitFrames N: waits until the screen has changed N times, so the demo has
# drawn N more frames, and read its input before each. Fails if it ends.
waitFrames()
{
    local changes=0 before now
    before=$(screenHash)
    for _ in $(seq 1200); do
        running || fail "the demo ended: $(cat "$work/err")"
        now=$(screenHash)
        if [ "$now" != "$before" ]; then
            before=$now
            changes=$((changes + 1))
            [ "$changes" -ge "$1" ] && return 0
        fi
        sleep 0.05
    done
    fail "the screen stood still: $(cat "$work/err")"
}

screenHash() { import -window root -depth 8 rgb:- 2>/dev/null | md5sum; }
