// The web build in real browsers: the page from a local server and the
// single file from file://, in chromium, Firefox and WebKit for what a viewer
// sees and hears, and in chromium alone for the rest. Run by
// tests/web/run.sh (node --test).
'use strict';
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const {after, before, test} = require('node:test');
const {pathToFileURL} = require('node:url');
const web = require('./browser.js');

let chromium, server;
before(async () => {
    chromium = await web.launch('chromium');
    server = await web.serve(web.siteDir);
});
after(async () => {
    await chromium?.close();
    await server?.close();
});

const singleFileUrl = pathToFileURL(web.singleFile).href;

// Opens url in engine, waits for the card and clicks it.
async function clicked(engine, url, options)
{
    const page = await engine.open(url, options);
    await page.waitFor('document.body.dataset.state === "ready"');
    await page.click();
    return page;
}

// The same, and waits for the first frame.
async function started(url, options)
{
    const page = await clicked(chromium, url, options);
    await page.waitFor('document.body.dataset.state === "running"');
    return page;
}

// The desktop's frames, as newyear-capture drew them (run.sh makes them),
// in 5-6-5: SDL widens the program's pixels to the canvas's 8 bits with its
// own rounding, but the top bits of each channel always survive.
function captured(n, withWords)
{
    const rgb = fs.readFileSync(path.join(process.env.NEWYEAR_WEB_FRAMES, `${withWords ? 'words' : 'frame'}-${n}.rgb`));
    const out = new Uint16Array(320 * 240);
    for (let i = 0; i < out.length; i++)
        out[i] = (rgb[3 * i] >> 3) << 11 | (rgb[3 * i + 1] >> 2) << 5 | rgb[3 * i + 2] >> 3;
    return out;
}

// The sender's words of the tests (run.sh draws the desktop's frames with
// them), and a link's fragment for them.
const words = fs.readFileSync(path.join(__dirname, 'words.txt'));
const link = bytes => '#text=' + Buffer.from(bytes).toString('base64url');

// Frame n of the page at url, the show stopped there, against the desktop's.
async function sameFrame(page, url, n, withWords)
{
    await page.waitFor('document.body.dataset.state === "stopped"');
    assert.equal(await page.frames(), n);
    const shown = await page.canvas565(), expected = captured(n, withWords);
    const wrong = shown.reduce((count, pixel, i) => count + (pixel !== expected[i]), 0);
    assert.equal(wrong, 0, `frame ${n} from ${url}: ${wrong} of 76800 pixels differ from the desktop's`);
}

// With words, through a link, whose card says so.
async function frameMatches(engine, url, n, withWords)
{
    const page = await engine.open(`${url}?stopAt=${n}${withWords ? link(words) : ''}`);
    await page.waitFor('document.body.dataset.state === "ready"');
    assert.equal(await page.evaluate('document.getElementById("prompt").textContent'),
                 (withWords ? 'a greeting written for you — ' : '') + 'click or tap to start, with sound');
    await page.click();
    await sameFrame(page, `${url} in ${engine.name}`, n, withWords);
    assert.deepEqual(page.problems, []);
    await page.close();
}

// Frames drawn over 10 s of the page's clock. emulatedHz replaces the
// display's refresh (which drives the main loop) with a timer at that rate.
async function pace(emulatedHz)
{
    const beforeLoad = emulatedHz ? `window.requestAnimationFrame = callback =>
        setTimeout(() => callback(performance.now()), 1000 / ${emulatedHz});` : undefined;
    const page = await started(server.url, {beforeLoad});
    const [frames, ms] = await page.evaluate(`new Promise(resolve => {
        const frames0 = Module._newyearFrames(), t0 = performance.now();
        (function poll() {
            const t = performance.now();
            if (t - t0 >= 10000) resolve([Module._newyearFrames() - frames0, t - t0]);
            else setTimeout(poll, 5);
        })();
    })`);
    await page.close();
    return frames * 1000 / ms;
}

// First, before the browser has shown anything else. The three pages run
// side by side, so a busy machine slows them alike: what must not change
// their pace is the refresh rate (one frame a display callback would give
// 144 and 30 frames a second). Never faster than one frame per 20 ms.
test('one frame per 20 ms plus drawing time, at any refresh rate', {timeout: 60000}, async () => {
    const rates = await Promise.all([pace(), pace(144), pace(30)]);
    const what = `frames a second at 60, 144 and 30 Hz: ${rates.map(r => r.toFixed(1)).join(', ')}`;
    for (const rate of rates) {
        assert.ok(rate >= 25 && rate <= 50.5, what);
        assert.ok(Math.abs(rate - rates[0]) <= 0.15 * rates[0], what);
    }
});

// Keeps the screen wake locks the page is given in wakeLocks. The page looks
// navigator.wakeLock.request up when it asks, so this may come after its load.
const watchWakeLocks = `(() => {
    window.wakeLocks = [];
    const ask = navigator.wakeLock.request.bind(navigator.wakeLock);
    navigator.wakeLock.request = type => ask(type).then(lock => (wakeLocks.push(lock), lock));
})()`;

// One showing, from a click on the card to Escape. Either the first frame
// and the first sound come within 300 ms of each other, or the sound has
// not come 2 s after the click: the show then starts without it, says so,
// and the sound is heard when the browser starts it. True for the first.
// Either way the sound goes on. The screen is kept awake while it runs,
// and let go after (watchWakeLocks).
async function oneShowing(page, what)
{
    await page.click();
    // The times of this showing, once it has its first frame and its sound
    // or its line saying the sound is late: the click has taken the page out
    // of "ended", and start() has made newyearTimes anew. A sound a second
    // behind the first frame fails below rather than at the test's time limit.
    const times = await page.waitFor('document.body.dataset.state !== "ended" && newyearTimes.frame && ' +
                                     '(newyearTimes.sound || /sound is late/.test(document.getElementById("lines").innerText) ' +
                                     '|| performance.now() - newyearTimes.frame > 1000) && newyearTimes');
    what += `: click at ${times.click.toFixed(0)} ms, first frame at ${times.frame.toFixed(0)}, ` +
            `first sound at ${times.sound?.toFixed(0)}; lines: ${await page.lines()}`;
    assert.equal(await page.state(), 'running', what);
    await page.waitFor('wakeLocks.filter(lock => !lock.released).length === 1');
    // A late showing's line goes with it.
    const late = /sound is late/.test(await page.lines());
    if (late) {
        assert.ok(times.frame - times.click >= 2000, what);
        assert.match(await page.lines(), /^The sound is late: the greeting starts without waiting for it\.$/m, what);
        await page.waitFor('newyearTimes.sound');
    } else {
        assert.ok(times.sound !== undefined && Math.abs(times.sound - times.frame) <= 300, what);
    }
    assert.equal(await page.evaluate('Module.SDL2.audioContext.state'), 'running');
    assert.ok(await page.evaluate(web.soundHeard) > 0.01);
    // The module plays on: its position moves by the half second waited for.
    const position = await page.evaluate('Module._newyearMusicMs()');
    assert.ok(position >= 0);
    await page.waitFor(`Module._newyearMusicMs() >= ${position + 500}`);
    await page.press('Escape');
    await page.waitFor('document.body.dataset.state === "ended"');
    assert.equal(await page.evaluate('document.getElementById("prompt").textContent'),
                 'click or tap to watch it again');
    assert.equal(await page.evaluate('Module.SDL2.audioContext'), undefined);
    await page.waitFor('wakeLocks.every(lock => lock.released)');
    return !late;
}

// Nothing before the click; then two showings, and more while none has had
// its sound with its first frame: a browser on a busy machine can take past
// 2 s to start it, and that showing rightly starts without it, but not every
// time.
async function showsWithSound(engine, url)
{
    const page = await engine.open(url);
    await page.waitFor('document.body.dataset.state === "ready"');
    assert.equal(await page.evaluate('document.getElementById("prompt").textContent'),
                 'click or tap to start, with sound');
    // No gesture has reached the page, no frame is drawn and no audio
    // context exists: SDL makes one when the program opens the audio.
    assert.deepEqual(await page.evaluate('[navigator.userActivation.hasBeenActive, Module._newyearFrames(), ' +
                                         'typeof Module.SDL2]'),
                     [false, 0, 'undefined']);
    await page.evaluate(watchWakeLocks);
    let heard = 0, showings = 0;
    while (showings < 2 || (heard === 0 && showings < 5))
        heard += await oneShowing(page, `showing ${++showings} of ${url} in ${engine.name}`);
    assert.ok(heard > 0, `no sound with the first frame in ${showings} showings of ${url} in ${engine.name}`);
    assert.deepEqual(page.problems, []);
    await page.close();
}

// Every engine: a few of the desktop's frames, some with the sender's
// words through a link, then the sound with the picture from the single
// file and from the server. The frames come first: a fresh browser is the
// slowest to start its sound.
const frameChecks = {
    chromium: [[singleFileUrl, 1], [singleFileUrl, 2], [singleFileUrl, 100], [singleFileUrl, 1000],
               [singleFileUrl, 2760], ['server', 1000], [singleFileUrl, 150, 'words'], ['server', 1000, 'words']],
    firefox: [[singleFileUrl, 1], ['server', 1000], [singleFileUrl, 150, 'words']],
    webkit: [[singleFileUrl, 2], ['server', 1000]],
};
for (const name of Object.keys(frameChecks)) {
    test(`${name}: the desktop's frames, with the built-in greeting and with words from a link; the sound starts ` +
         'with the picture, from file:// and a server; Escape ends the show and it plays again', {timeout: 300000}, async () => {
        const engine = name === 'chromium' ? chromium : await web.launch(name);
        try {
            for (const [url, n, withWords] of frameChecks[name])
                await frameMatches(engine, url === 'server' ? server.url : url, n, withWords);
            for (const url of [singleFileUrl, server.url])
                await showsWithSound(engine, url);
        } finally {
            if (engine !== chromium)
                await engine.close();
        }
    });
}

test('a missing or broken data file gives the page a clear line', {timeout: 60000}, async () => {
    for (const [status, body] of [[404, ''], [200, 'not a picture']]) {
        const page = await chromium.open(server.url, {respond: url => url.endsWith('/gfx.dat') ? {status, body} : null});
        await page.waitFor('document.body.dataset.state === "ready"');
        await page.click();
        await page.waitFor('document.body.dataset.state === "error"');
        assert.match(await page.lines(), /^The greeting cannot start: .*gfx\.dat.*\.$/m, `HTTP ${status}`);
        assert.equal(await page.frames(), 0);
        await page.close();
    }
});

test('what the browser lacks gives a clear line; without Web Audio the show runs silent; a late sound is waited ' +
     'for 2 s at most, and heard when it comes', {timeout: 60000}, async () => {
    let page = await chromium.open(server.url, {beforeLoad: 'delete window.WebAssembly'});
    await page.waitFor('document.body.dataset.state === "unsupported"');
    assert.match(await page.lines(), /no WebAssembly/);
    await page.close();

    // The single file's data is packed; a browser that cannot unpack it
    // says so instead of offering a show that cannot start.
    page = await chromium.open(singleFileUrl, {beforeLoad: 'delete window.DecompressionStream'});
    await page.waitFor('document.body.dataset.state === "error"');
    assert.match(await page.lines(), /cannot unpack the data files/);
    await page.close();

    // Without Web Audio there is no sound to wait for: the show starts at once.
    page = await started(server.url, {beforeLoad: 'delete window.AudioContext; delete window.webkitAudioContext'});
    assert.match(await page.lines(), /no Web Audio: the greeting plays silent/);
    await page.waitFor('/No sound \\(.*\\): the greeting plays silent/.test(document.getElementById("lines").innerText)');
    assert.equal(await page.evaluate('Module._newyearMusicMs()'), -1);
    assert.ok(await page.evaluate('newyearTimes.frame - newyearTimes.click') < 2000);
    await page.waitFor('Module._newyearFrames() > 10');
    await page.close();

    // A browser that starts its sound late, when the test says: the card
    // says it is starting, and after 2 s the show starts without it, and
    // says so. The music is kept, at its start, and is heard once the
    // browser takes it; the picture goes on by the clock, with no frames
    // made up for the wait.
    page = await clicked(chromium, server.url, {beforeLoad: `{
        const make = AudioContext.prototype.createScriptProcessor;
        const real = Object.getOwnPropertyDescriptor(ScriptProcessorNode.prototype, 'onaudioprocess');
        AudioContext.prototype.createScriptProcessor = function (...args) {
            const node = make.apply(this, args);
            let fill = null;
            window.startSound = () => real.set.call(node, fill);
            return Object.defineProperty(node, 'onaudioprocess', {set(f) { fill = f; }, get() { return fill; }});
        };
    }`});
    assert.deepEqual(await page.evaluate('[document.body.dataset.state, document.getElementById("prompt").textContent]'),
                     ['starting', 'starting…']);
    await page.waitFor('document.body.dataset.state === "running"');
    assert.ok(await page.evaluate('newyearTimes.frame - newyearTimes.click') >= 2000);
    assert.match(await page.lines(), /^The sound is late: the greeting starts without waiting for it\.$/m);
    assert.deepEqual(await page.evaluate('[Module._newyearMusicMs(), Module.SDL2.audioContext.state]'), [0, 'running']);
    await page.waitFor('Module._newyearFrames() > 10');
    await page.evaluate('startSound()');
    assert.ok(await page.evaluate(web.soundHeard) > 0.01);
    await page.waitFor('Module._newyearMusicMs() >= 500');
    assert.ok(await page.evaluate('Module._newyearFrames() <= 1 + (performance.now() - newyearTimes.frame) / 20'));
    assert.deepEqual(page.problems, []);
    await page.close();
});

// Where the full-screen button is, and whether it shows.
const button = `(() => {
    const full = document.getElementById('full'), at = full.getBoundingClientRect();
    const picture = document.getElementById('screen').getBoundingClientRect();
    return {shown: getComputedStyle(full).visibility === 'visible',
            over: at.left < picture.right && picture.left < at.right && at.top < picture.bottom && picture.top < at.bottom};
})()`;

test('while the show runs the full-screen button leaves the picture to a resting pointer; a page shown again ' +
     'asks again to keep the screen awake', {timeout: 60000}, async () => {
    const page = await started(server.url, {beforeLoad: watchWakeLocks});
    await page.waitFor('wakeLocks.length === 1');
    // Hidden behind another tab, the page loses its lock; shown again, it
    // asks for another.
    const other = await page.page.browserContext().newPage();
    await other.bringToFront();
    await page.waitFor('document.visibilityState === "hidden" && wakeLocks[0].released');
    await page.page.bringToFront();
    await page.waitFor('wakeLocks.length === 2');
    assert.deepEqual(await page.evaluate('wakeLocks.map(lock => lock.released)'), [true, false]);
    await other.close();

    // A 4:3 page: the picture fills it, and the button lies over it; it
    // goes when the pointer rests, and comes back when it moves.
    await page.movePointer();
    assert.equal(await page.evaluate(`${button}.over`), true);
    await page.waitFor(`!${button}.shown`);
    // A phone's page: the button stands on the black band over the picture.
    await page.page.setViewport({width: 390, height: 844});
    assert.deepEqual(await page.waitFor(`${button}.shown && ${button}`), {shown: true, over: false});
    await page.page.setViewport({width: 800, height: 600});
    await page.waitFor(`!${button}.shown`);
    await page.movePointer();
    await page.waitFor(`${button}.shown`);

    // F and a double click on the picture toggle full screen.
    await page.press('f');
    await page.waitFor('document.fullscreenElement === document.getElementById("stage")');
    await page.press('f');
    await page.waitFor('document.fullscreenElement === null');
    const box = await (await page.page.$('#canvas')).boundingBox();
    await page.page.mouse.click(box.x + box.width / 2, box.y + box.height / 2, {count: 2});
    await page.waitFor('document.fullscreenElement !== null');
    await page.page.mouse.click(box.x + box.width / 2, box.y + box.height / 2, {count: 2});
    await page.waitFor('document.fullscreenElement === null');

    assert.deepEqual(page.problems, []);
    await page.close();
});

// The words of a link are the sender's, untrusted. Each link opened fresh:
// the card and the one line, and in the end the show.
test('a link is untrusted: markup plays as letters, and a damaged link says what is wrong in one line and offers ' +
     'the built-in greeting', {timeout: 120000}, async () => {
    const state = page => page.evaluate(`[document.getElementById("prompt").textContent,
        document.getElementById("lines").innerText.trim(), document.querySelectorAll("img, iframe, object").length,
        document.scripts.length, window.ran === undefined]`);
    const own = 'click or tap to start, with sound', builtIn = `${server.url}?stopAt=100`;
    let page = await chromium.open(builtIn);
    await page.waitFor('document.body.dataset.state === "ready"');
    const scripts = (await state(page))[3];
    await page.close();
    const damaged = why => `This link's greeting cannot be shown: it ${why}. The built-in greeting plays instead.`;
    const cases = [
        [link('<img src=x onerror="ran=1"><script>ran=2</script><b onmouseover="ran=3">&lt;'), ''],
        [link('Hi\0there \u202Eevil\u202C \u2066and\u2069 more'), ''],
        ['#text=' + 'A'.repeat(1 << 20),
         damaged('is too long to be a greeting (1048576 characters of base64url; a greeting takes at most 87382)')],
        ['#text=SGk+dGhlcmU', damaged('is damaged (it is not base64url)')],
        ['#text=SGkgdGhlc', damaged('is damaged (it is not base64url)')],
        [link([0x48, 0x69, 0xC3, 0x28]), damaged('is not UTF-8 text: byte 3 is not valid UTF-8')],
        [link([0, 0, 0]), damaged('has nothing to show: only spaces, line breaks or control characters')],
        [link('x'.repeat(2001)), damaged('is too long: 2001 characters, and the scroller takes at most 2000')],
    ];
    for (const [fragment, line] of cases) {
        page = await chromium.open(builtIn + fragment);
        await page.waitFor('document.body.dataset.state === "ready"');
        assert.deepEqual(await state(page), [(line ? '' : 'a greeting written for you — ') + own, line, 0, scripts, true],
                         fragment.slice(0, 100));
        if (fragment !== cases[2][0]) {
            await page.close();
            continue;
        }
        // A new fragment is read while no show runs; back to a damaged
        // one, the built-in greeting plays: frame 100 is the desktop's.
        await page.evaluate(`location.hash = "${cases[0][0]}"`);
        await page.waitFor(`document.getElementById("prompt").textContent === "a greeting written for you — ${own}"`);
        assert.equal(await page.lines(), '');
        await page.evaluate(`location.hash = "${cases[3][0]}"`);
        await page.waitFor(`document.getElementById("prompt").textContent === "${own}"`);
        assert.equal((await state(page))[1], cases[3][1]);
        await page.click();
        await sameFrame(page, builtIn, 100);
        assert.deepEqual(page.problems, []);
        await page.close();
    }
    // Markup plays, as letters on the canvas, and nothing of it runs.
    page = await clicked(chromium, builtIn + cases[0][0]);
    await page.waitFor('document.body.dataset.state === "stopped"');
    assert.deepEqual((await state(page)).slice(2), [0, scripts, true]);
    assert.deepEqual(page.problems, []);
    await page.close();
});

// As a sender would: words typed into the editor, the count going down,
// a link that carries them, a file that plays them from file:// and makes
// files of its own, and the preview.
test('the editor: the words typed, the characters left, a link with them, one file that plays them, the preview',
     {timeout: 120000}, async () => {
    const typed = words.toString().trim();
    const downloads = fs.mkdtempSync(path.join(process.env.NEWYEAR_WEB_FRAMES, 'downloads-'));
    // Counts the page's asks for full screen.
    const beforeLoad = `window.fullScreens = 0;
        const ask = Element.prototype.requestFullscreen;
        Element.prototype.requestFullscreen = function () { fullScreens++; return ask.call(this); };`;
    let page = await chromium.open(`${server.url}?stopAt=150`, {downloads, beforeLoad});
    await page.waitFor('document.body.dataset.state === "ready"');
    await page.page.click('#write');
    const editor = () => page.evaluate(`['left', 'problem', 'sent'].map(id => document.getElementById(id).textContent)
        .concat(fullScreens, [...document.querySelectorAll('#editor .buttons button')].map(button => button.disabled))`);
    assert.deepEqual(await editor(), ['2000 characters left', '', '', 0, true, true, true, false]);
    // An F typed in the text box is a letter, not the page's full screen.
    await page.page.keyboard.type('F');
    assert.deepEqual((await editor()).slice(0, 4), ['1999 characters left', '', '', 0]);
    await page.page.keyboard.press('Backspace');
    await page.page.keyboard.type(typed);
    // The words are NFC and hold nothing the program drops.
    assert.deepEqual(await editor(),
                     [`${2000 - [...typed].length} characters left`, '', '', 0, false, false, false, false]);
    await page.page.click('#copy');
    const sent = await page.evaluate('document.getElementById("link").value');
    assert.equal(sent.split('#')[0], `${server.url}?stopAt=150`);
    assert.equal(Buffer.from(sent.split('#text=')[1], 'base64url').toString(), typed);
    let download = page.download();
    await page.page.click('#save');
    const made = await download;
    assert.equal(made.name, 'newyear.html');
    await page.page.click('#preview');
    await sameFrame(page, 'the preview', 150, true);
    assert.deepEqual(page.problems, []);
    await page.close();

    // The file, from file://: the card says it is for the viewer, and the
    // words play.
    const file = path.join(downloads, 'newyear.html');
    fs.renameSync(made.file, file);
    page = await clicked(chromium, `${pathToFileURL(file).href}?stopAt=150`);
    await sameFrame(page, file, 150, true);
    await page.close();
    page = await chromium.open(pathToFileURL(file).href, {downloads});
    await page.waitFor('document.body.dataset.state === "ready"');
    assert.equal(await page.evaluate('document.getElementById("prompt").textContent'),
                 'a greeting written for you — click or tap to start, with sound');
    // It makes files too, from itself as it came: the same file but for
    // the words.
    await page.page.click('#write');
    await page.page.keyboard.type('★');
    download = page.download();
    await page.page.click('#save');
    const again = fs.readFileSync((await download).file, 'utf8'), first = fs.readFileSync(file, 'utf8');
    const meta = text => `<meta name="newyear-text" content="${Buffer.from(text).toString('base64url')}">`;
    assert.ok(first.includes(meta(typed)) && again.includes(meta('★')));
    const [a, b] = [again.replace(meta('★'), ''), first.replace(meta(typed), '')];
    const differs = [...a].findIndex((c, i) => c !== b[i]);
    assert.ok(a === b, `the second file differs from the first at ${differs}: ${a.slice(differs - 100, differs + 100)}`);
    assert.deepEqual(page.problems, []);
    await page.close();
});
