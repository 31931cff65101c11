# Sourced after xvfb.sh by the tests that run the demo on Wayland: a weston
# compositor of the test's own, which needs no GPU, with its socket in a
# runtime folder of its own (mode 700, as the client library wants).
weston=
stopWeston()
{
    [ -n "$weston" ] && kill "$weston" 2>/dev/null || true
    wait "$weston" 2>/dev/null || true
    weston=
}
trap 'stopWeston; cleanup' EXIT

# startWeston headless|x11: weston's headless backend offers no input seat;
# its x11 backend shows the compositor's output on the test's X server
# (startX first), at the size of its screen, and gives it a seat. The
# kiosk shell shows every window full screen, so the screenshot checks of
# xvfb.sh see the demo's picture in both modes. The demo, started with
# startDemo, sees only WAYLAND_DISPLAY; the checks still reach the X server.
startWeston()
{
    local backend=(--backend=headless-backend.so)
    [ "$1" = x11 ] && backend=(--backend=x11-backend.so --width="$screenW" --height="$screenH")
    xdisplay=${DISPLAY:-${xdisplay:-}}
    export XDG_RUNTIME_DIR=$work/runtime
    mkdir -p -m 700 "$XDG_RUNTIME_DIR"
    rm -f "$XDG_RUNTIME_DIR/wl"
    DISPLAY=$xdisplay weston "${backend[@]}" --use-pixman --shell=kiosk-shell.so --socket=wl >"$work/weston.log" 2>&1 &
    weston=$!
    for _ in $(seq 400); do
        [ -S "$XDG_RUNTIME_DIR/wl" ] && break
        kill -0 "$weston" 2>/dev/null || fail "weston did not start: $(cat "$work/weston.log")"
        sleep 0.05
    done
    [ -S "$XDG_RUNTIME_DIR/wl" ] || fail "weston made no socket"
    export WAYLAND_DISPLAY=wl
    unset DISPLAY
    # weston's pixman renderer shows SDL's GL-drawn full screen as black
    # here; SDL's software renderer shows the same picture.
    export SDL_RENDER_DRIVER=software
}

shot() { DISPLAY=$xdisplay import -window root "$1" 2>/dev/null; }
screenHash() { DISPLAY=$xdisplay import -window root -depth 8 rgb:- 2>/dev/null | md5sum; }
