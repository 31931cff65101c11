# Sourced by the end-to-end tests: the real newyear executable, run in a
# scratch folder, under its own headless X server when it needs a screen.
newyear=$1
data=$2
source "$(dirname "${BASH_SOURCE[0]}")/../xvfb.sh"

# With no window manager to place it, a full-screen window keeps its first
# size and position, so only a screen of the demo's own size shows it whole.
startScreen() { startX 320x240; }

# Copies the committed data files into the scratch folder.
withData() { cp "$data"/gfx.dat "$data"/hm.dat "$data"/music.dat "$work"/; }

# Starts the demo in the scratch folder; its pid goes into pid.
# NEWYEAR_PRELOAD, set by the sanitized test run, is preloaded into the
# demo alone.
startDemo()
{
    (cd "$work" && exec env ${NEWYEAR_PRELOAD:+LD_PRELOAD="$NEWYEAR_PRELOAD"} "$newyear") \
        >"$work/out" 2>"$work/err" &
    pid=$!
}

# Waits up to $1 seconds for the demo to end; its status goes into status.
waitEnd()
{
    local tenths=$(($1 * 10))
    for _ in $(seq "$tenths"); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && return 1
    status=0
    wait "$pid" || status=$?
    pid=
}

running() { kill -0 "$pid" 2>/dev/null; }

# The colour of one pixel of a PNG as "r,g,b".
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
