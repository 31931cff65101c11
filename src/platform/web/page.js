// The page's own script, which the build writes into shell.html: the title
// card, the lines under the picture, full screen, keeping the screen awake,
// and what the program reports. Nothing is loaded from anywhere but the
// page's own folder (or from the page itself, in the single-file build).
//
// Until the click the program only loads: the title card asks for a click
// or a tap, which starts the show and its sound together (browsers let
// sound start only from such a gesture). The card says "starting…" until
// the program puts its first frame on the canvas, which waits for the sound
// for at most 2 s (main.cpp). Escape ends the show and the card offers it again. Where
// WebAssembly is missing nothing can run, and a line says so.
//
// While the show runs:
// - the full-screen button hides after 2 s without pointer movement where
//   it would cover the picture, and comes back on movement or a tap; a
//   double click on the picture and the F key toggle full screen too;
// - the screen is kept awake (the Screen Wake Lock API, where there is one),
//   asked for again when the page is shown again after being hidden.
//
// Test mode: ?stopAt=N stops the show after frame N with the picture kept.
// For the tests, body's data-state tells where the page is: loading, ready,
// starting, running, ended, stopped, error or unsupported; and
// newyearTimes holds performance.now() at the click, when the first frame
// went on the canvas and when SDL's audio node first gave out a buffer that
// is not silent.
'use strict';
var newyearTimes = {};

var page = (function () {
    var body = document.body, card = document.getElementById('card'), canvas = document.getElementById('canvas');
    var prompt = document.getElementById('prompt'), lines = document.getElementById('lines');
    var stage = document.getElementById('stage'), screen = document.getElementById('screen');
    var full = document.getElementById('full');
    var stopAt = new URLSearchParams(location.search).get('stopAt');

    function running() { return body.dataset.state === 'running'; }

    // The full-screen button, away while the pointer rests, where it would
    // cover the picture.
    var resting = false, restTimer;
    function overPicture() {
        var a = full.getBoundingClientRect(), b = screen.getBoundingClientRect();
        return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
    }
    function placeButton() {
        full.classList.toggle('away', running() && resting && overPicture());
    }
    function pointerMoved() {
        resting = false;
        placeButton();
        clearTimeout(restTimer);
        restTimer = setTimeout(function () { resting = true; placeButton(); }, 2000);
    }
    function toggleFullScreen() {
        if (document.fullscreenElement)
            document.exitFullscreen();
        else
            stage.requestFullscreen();
    }
    if (document.fullscreenEnabled) {
        full.hidden = false;
        full.addEventListener('click', toggleFullScreen);
        canvas.addEventListener('dblclick', toggleFullScreen);
        document.addEventListener('keydown', function (event) {
            if ((event.key === 'f' || event.key === 'F') && !event.repeat && !event.ctrlKey && !event.altKey &&
                !event.metaKey)
                toggleFullScreen();
        });
        document.addEventListener('pointermove', pointerMoved);
        document.addEventListener('pointerdown', pointerMoved);
        window.addEventListener('resize', placeButton);
        document.addEventListener('fullscreenchange', placeButton);
    }

    // The screen kept awake while the show is on. A hidden page loses its
    // lock, so it asks again when it is shown.
    var awake = false, asking = false, lock = null;
    function askAwake() {
        if (!awake || asking || !navigator.wakeLock || document.visibilityState !== 'visible' || (lock && !lock.released))
            return;
        asking = true;
        navigator.wakeLock.request('screen').then(function (got) {
            asking = false;
            if (awake)
                lock = got;
            else
                got.release();
        }, function () { asking = false; });
    }
    function keepAwake(on) {
        awake = on;
        if (on)
            askAwake();
        else if (lock) {
            lock.release();
            lock = null;
        }
    }
    document.addEventListener('visibilitychange', askAwake);

    function setState(state, text) {
        body.dataset.state = state;
        if (text !== undefined)
            prompt.textContent = text;
        card.hidden = state === 'running' || state === 'stopped';
        card.disabled = state !== 'ready' && state !== 'ended';
        keepAwake(state === 'starting' || state === 'running');
        placeButton();
    }
    // kind: 'error', 'showing' (a line about this showing alone, gone when
    // the next starts) or none.
    function fitLines() { body.style.setProperty('--lines', lines.offsetHeight + 'px'); }
    function line(text, kind) {
        var p = document.createElement('p');
        p.textContent = text;
        if (kind)
            p.className = kind;
        lines.appendChild(p);
        fitLines();
    }

    // Notes the first buffer of sound that SDL's audio node gives out.
    function listenForSound() {
        var audio = Module.SDL2 && Module.SDL2.audio, node = audio && audio.scriptProcessorNode;
        if (!node)
            return;
        var fill = node.onaudioprocess;
        node.onaudioprocess = function (event) {
            fill(event);
            if (newyearTimes.sound)
                return;
            var samples = event.outputBuffer.getChannelData(0);
            for (var i = 0; i < samples.length; i++)
                if (samples[i] !== 0) {
                    newyearTimes.sound = performance.now();
                    return;
                }
        };
    }
    function start() {
        if (card.disabled)
            return;
        newyearTimes = {click: performance.now()};
        lines.querySelectorAll('.showing').forEach(function (p) { p.remove(); });
        fitLines();
        setState('starting', 'starting…');
        Module.callMain(stopAt ? ['--stop-at', stopAt] : []);
        listenForSound();
    }
    card.addEventListener('click', start);

    if (typeof WebAssembly !== 'object') {
        setState('unsupported', 'cannot play here');
        line('This browser has no WebAssembly, which the greeting needs to run.', 'error');
        return null;
    }
    if (!window.AudioContext && !window.webkitAudioContext)
        line('This browser has no Web Audio: the greeting plays silent.');
    return {setState: setState, line: line};
})();

var Module = !page ? {} : {
    canvas: document.getElementById('canvas'),
    onRuntimeInitialized: function () {
        if (document.body.dataset.state === 'loading')
            page.setState('ready', 'click or tap to start, with sound');
    },
    newyearError: function (text) {
        page.setState('error', 'cannot play');
        page.line('The greeting cannot start: ' + text + '.', 'error');
    },
    newyearSilence: function (text) { page.line('No sound (' + text + '): the greeting plays silent.', 'showing'); },
    newyearSoundLate: function () {
        page.line('The sound is late: the greeting starts without waiting for it.', 'showing');
    },
    newyearShowing: function () {
        newyearTimes.frame = performance.now();
        page.setState('running');
    },
    newyearEnded: function () { page.setState('ended', 'click or tap to watch it again'); },
    newyearStopped: function () { page.setState('stopped'); },
    onAbort: function (what) {
        page.setState('error', 'cannot play');
        page.line('The greeting stopped: ' + what, 'error');
    },
    printErr: function (text) { console.warn(text); }
};
