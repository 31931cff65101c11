// The page's own script, which the build writes into shell.html: the title
// card, the lines under the picture, full screen, keeping the screen awake,
// the sender's own words, and what the program reports. Nothing is loaded
// from anywhere but the page's own folder (or from the page itself, in the
// single-file build).
//
// Until the click the program only loads: the title card asks for a click
// or a tap, which starts the show and its sound together (browsers let
// sound start only from such a gesture). The card says "starting…" until
// the program puts its first frame on the canvas, which waits for the sound
// for at most 2 s (main.cpp). Escape ends the show and the card offers it
// again. Where WebAssembly is missing nothing can run, and a line says so.
//
// While the show runs:
// - the full-screen button hides after 2 s without pointer movement where
//   it would cover the picture, and comes back on movement or a tap; a
//   double click on the picture and the F key toggle full screen too;
// - the screen is kept awake (the Screen Wake Lock API, where there is one),
//   asked for again when the page is shown again after being hidden.
//
// The sender's words come from the address's fragment, #text= and the
// words' UTF-8 bytes in base64url without padding, or from a file made for
// someone, <meta name="newyear-text" content="BASE64URL">; the fragment
// wins. They are untrusted: capped in length before they are decoded, and
// only ever handed to the program as bytes, never put into the page. The
// program alone cleans and counts them (newyearText). The editor ("write
// your own", beside the card) asks it on each edit, and makes the link or
// the file: the single file is made from a copy of this document taken
// before anything here changed it, or, in the site folder, from the
// newyear.html beside the page.
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
    // The document as it came, for the single file; the program's script
    // element comes after this one, and is added to the copy when needed.
    var pristine = document.documentElement.cloneNode(true), ownScript = document.currentScript;
    var body = document.body, card = document.getElementById('card'), canvas = document.getElementById('canvas');
    var prompt = document.getElementById('prompt'), lines = document.getElementById('lines');
    var stage = document.getElementById('stage'), screen = document.getElementById('screen');
    var full = document.getElementById('full'), write = document.getElementById('write');
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
        write.hidden = card.disabled;
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

    // The words the card plays: UTF-8 bytes, or null for the built-in
    // greeting.
    var words = null;
    // What the program said of the words last checked (newyearText).
    var told = {};
    function check(bytes) {
        told.problem = told.replaced = undefined;
        Module.FS.writeFile('/text', bytes);
        told.count = Module._newyearText();
        return told;
    }
    function replacedLine(list) { return 'With no letter here, these show as a box: ' + list + '.'; }

    // base64url without padding, as the link and the file carry the words.
    function toBase64url(bytes) {
        var binary = '';
        for (var i = 0; i < bytes.length; i += 0x8000)
            binary += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
        return btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
    }
    function fromBase64url(text) {
        if (!/^[A-Za-z0-9_-]*$/.test(text) || text.length % 4 === 1)
            return null;
        var binary = atob(text.replace(/-/g, '+').replace(/_/g, '/'));
        return Uint8Array.from(binary, function (c) { return c.charCodeAt(0); });
    }
    // The longest base64url of the program's byte cap (65536 bytes): no
    // text the program takes is longer, and nothing longer is decoded.
    var longestWords = 87382;
    var given = document.querySelector('meta[name="newyear-text"]');

    // The words of the fragment, or of the file, checked by the program: the
    // card plays them, or the line says what is wrong and the card offers
    // the built-in greeting.
    function takeWords() {
        lines.querySelectorAll('.words').forEach(function (p) { p.remove(); });
        fitLines();
        words = null;
        var link = /^#text=/.test(location.hash), text = link ? location.hash.slice(6) : given && given.content;
        if (typeof text !== 'string')
            return;
        var bytes = null, problem;
        if (text.length > longestWords)
            problem = 'it is too long to be a greeting (' + text.length + ' characters of base64url; a greeting takes at most ' +
                      longestWords + ')';
        else if (!(bytes = fromBase64url(text)))
            problem = 'it is damaged (it is not base64url)';
        else if (check(bytes).count < 0)
            problem = 'it ' + told.problem;
        if (problem) {
            line((link ? "This link's" : "This file's") + ' greeting cannot be shown: ' + problem +
                 '. The built-in greeting plays instead.', 'error words');
            return;
        }
        words = bytes;
        if (told.replaced)
            line(replacedLine(told.replaced), 'words');
    }
    function readyPrompt() {
        return (words ? 'a greeting written for you — ' : '') + 'click or tap to start, with sound';
    }
    window.addEventListener('hashchange', function () {
        if (card.disabled)
            return;
        takeWords();
        prompt.textContent = readyPrompt();
    });

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
    // Starts the show with these words, or the card's.
    function start(these) {
        if (card.disabled)
            return;
        newyearTimes = {click: performance.now()};
        lines.querySelectorAll('.showing').forEach(function (p) { p.remove(); });
        fitLines();
        setState('starting', 'starting…');
        var args = stopAt ? ['--stop-at', stopAt] : [], shown = these || words;
        if (shown) {
            Module.FS.writeFile('/text', shown);
            args.push('--text', '/text');
        }
        Module.callMain(args);
        listenForSound();
    }
    card.addEventListener('click', function () { start(null); });

    // The editor. Its keys stop at it: they would reach the program (SDL
    // listens on the document) and the page's F.
    var editor = document.getElementById('editor'), textarea = document.getElementById('words');
    var left = document.getElementById('left'), problem = document.getElementById('problem');
    var linkField = document.getElementById('link'), sent = document.getElementById('sent');
    var sendButtons = ['preview', 'copy', 'save'].map(function (id) { return document.getElementById(id); });
    var typed = null, previewing = false;
    function edited() {
        linkField.hidden = true;
        sent.textContent = problem.textContent = '';
        problem.className = '';
        var bytes = new TextEncoder().encode(textarea.value);
        var count = bytes.length ? check(bytes).count : 0, max = Module._newyearTextMax();
        typed = count > 0 ? bytes : null;
        left.textContent = count < 0 ? '' : max - count === 1 ? '1 character left' : max - count + ' characters left';
        if (count < 0) {
            problem.textContent = 'This greeting ' + told.problem + '.';
            problem.className = 'error';
        } else if (count > 0 && told.replaced) {
            problem.textContent = replacedLine(told.replaced);
        }
        sendButtons.forEach(function (button) { button.disabled = !typed; });
    }
    function openEditor() {
        edited();
        editor.showModal();
    }
    editor.addEventListener('keydown', function (event) { event.stopPropagation(); });
    textarea.addEventListener('input', edited);
    write.addEventListener('click', openEditor);
    sendButtons[0].addEventListener('click', function () {
        editor.close();
        previewing = true;
        start(typed);
    });
    sendButtons[1].addEventListener('click', function () {
        linkField.value = location.href.split('#')[0] + '#text=' + toBase64url(typed);
        linkField.hidden = false;
        linkField.select();
        var copied = navigator.clipboard && navigator.clipboard.writeText(linkField.value);
        sent.textContent = 'Copy the link from the field above.';
        if (copied)
            copied.then(function () { sent.textContent = 'The link is copied: paste it where you send it.'; },
                        function () {});
    });
    // The single file as a document: the copy taken at the start, with what
    // was parsed after this script (the program's script and the line
    // breaks around it), or, in the site folder, where the program's script
    // is a file of its own, the single file fetched from beside the page.
    // Its body ends in one line break, where a parser would add one more
    // with every file made from a made file.
    function singleFile() {
        var made;
        if (ownScript.nextElementSibling.src) {
            made = fetch('newyear.html').then(function (response) {
                if (!response.ok)
                    throw new Error('newyear.html is not beside the page (HTTP ' + response.status + ')');
                return response.text();
            }).then(function (html) { return new DOMParser().parseFromString(html, 'text/html').documentElement; });
        } else {
            var copy = pristine.cloneNode(true);
            for (var node = ownScript.nextSibling; node; node = node.nextSibling)
                if (node.nodeType === Node.TEXT_NODE || node.nodeName === 'SCRIPT')
                    copy.querySelector('body').append(node.cloneNode(true));
            made = Promise.resolve(copy);
        }
        return made.then(function (html) {
            var end = html.querySelector('body');
            while (end.lastChild && end.lastChild.nodeType === Node.TEXT_NODE && !end.lastChild.data.trim())
                end.lastChild.remove();
            end.append('\n');
            return html;
        });
    }
    sendButtons[2].addEventListener('click', function () {
        var bytes = typed;
        singleFile().then(function (html) {
            var meta = html.querySelector('meta[name="newyear-text"]');
            if (!meta) {
                meta = html.ownerDocument.createElement('meta');
                meta.name = 'newyear-text';
                html.querySelector('meta[charset]').after(meta);
            }
            meta.content = toBase64url(bytes);
            var file = new Blob(['<!doctype html>\n' + html.outerHTML + '\n'], {type: 'text/html'});
            var save = document.createElement('a');
            save.href = URL.createObjectURL(file);
            save.download = 'newyear.html';
            save.click();
            setTimeout(function () { URL.revokeObjectURL(save.href); }, 60000);
            sent.textContent = 'Saved as newyear.html: send the file, and it plays where it is opened.';
        }).catch(function (error) { sent.textContent = 'The file cannot be made: ' + error.message + '.'; });
    });
    // After a preview, Escape comes back to the editor.
    function ended() {
        setState('ended', previewing ? readyPrompt() : 'click or tap to watch it again');
        if (previewing)
            openEditor();
        previewing = false;
    }

    if (typeof WebAssembly !== 'object') {
        setState('unsupported', 'cannot play here');
        line('This browser has no WebAssembly, which the greeting needs to run.', 'error');
        return null;
    }
    if (!window.AudioContext && !window.webkitAudioContext)
        line('This browser has no Web Audio: the greeting plays silent.');
    function ready() {
        takeWords();
        setState('ready', readyPrompt());
    }
    return {setState: setState, line: line, told: told, ready: ready, ended: ended};
})();

var Module = !page ? {} : {
    canvas: document.getElementById('canvas'),
    onRuntimeInitialized: function () {
        if (document.body.dataset.state === 'loading')
            page.ready();
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
    newyearEnded: function () { page.ended(); },
    newyearStopped: function () { page.setState('stopped'); },
    newyearTextProblem: function (text) { page.told.problem = text; },
    newyearTextReplaced: function (list) { page.told.replaced = list; },
    onAbort: function (what) {
        page.setState('error', 'cannot play');
        page.line('The greeting stopped: ' + what, 'error');
    },
    printErr: function (text) { console.warn(text); }
};
