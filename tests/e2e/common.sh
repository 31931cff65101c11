# Sourced by the end-to-end tests: the real newyear executable, run in a
# scratch folder, under its own headless X server when it needs a screen.
newyear=$1
data=$2
source "$(dirname "${BASH_SOURCE[0]}")/../xvfb.sh"

# Copies the committed data files into the scratch folder.
withData() { cp "$data"/gfx.dat "$data"/hm.dat "$data"/music.dat "$work"/; }

# ourWindow: the demo's top-level window, named newyear, once mapped, in win.
ourWindow()
{
    for _ in $(seq 600); do
        running || fail "the demo ended: $(cat "$work/err")"
        win=$(xdotool search --onlyvisible --name '^newyear$' 2>/dev/null | head -1) || true
        [ -n "$win" ] && return 0
        sleep 0.05
    done
    fail "no window named newyear"
}

# windowSize: the size of window win as WxH; nothing, and no failure, when
# there is none or it is gone. (Given no window, xwininfo waits for a click.)
windowSize()
{
    [ -n "$win" ] || return 0
    xwininfo -id "$win" 2>/dev/null | awk '/-geometry/ { sub(/[-+].*/, "", $2); print $2 }' || true
}

# key KEY: presses and releases KEY in the demo's window. The window found
# can be gone by the time the key is pressed (SDL replaces its first window
# before the first frame, and makes a new one as full screen comes and
# goes); then nothing was sent, and the press goes to the new one. The demo
# acts on the press, which can itself end the window; the release goes
# through the server's own keyboard, where xdotool presses a key for the
# window that has the focus: left pressed, it would reach the next demo as
# it starts.
key()
{
    for _ in $(seq 100); do
        ourWindow
        if xdotool keydown --window "$win" "$1" 2>/dev/null; then
            xdotool keyup "$1"
            return 0
        fi
        sleep 0.05
    done
    fail "cannot send $1 to the demo: $(cat "$work/err")"
}

# expectLoss DISPLAY: the demo, its display taken away, has ended with
# status 1 and one line of ours: the display went away, or DISPLAY (as the
# line names it) could not be opened.
expectLoss()
{
    waitEnd 30 || fail "the demo runs on without its display"
    [ "$status" -eq 1 ] || fail "status $status: $(cat "$work/err")"
    oneLine "^newyear: \(the display went away\|cannot open $1\)"
}

# expectError PATTERN [ARGS...]: the demo, started in the scratch folder,
# fails with status 1 and one line that matches PATTERN.
expectError()
{
    local want=$1
    shift
    startDemo "$work" "$@"
    waitEnd 30 || fail "still running, expected an error containing '$want'"
    [ "$status" -eq 1 ] || fail "status $status, expected 1 for '$want': $(cat "$work/err")"
    oneLine "$want"
}
