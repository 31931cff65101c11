// The web build in a real browser: the page from a local server and the
// single file from file://. Run by tests/web/run.sh (node --test).
'use strict';
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const {after, before, test} = require('node:test');
const {pathToFileURL} = require('node:url');
const web = require('./browser.js');

let chromium, server;
before(async () => {
    chromium = await web.launch();
    server = await web.serve(web.siteDir);
});
after(async () => {
    await chromium?.close();
    await server?.close();
});

const singleFileUrl = pathToFileURL(web.singleFile).href;

// Opens url, waits for the card and clicks it.
async function started(url, options)
{
    const page = await web.open(chromium.browser, url, options);
    await page.waitFor('document.body.dataset.state === "ready"');
    await page.click();
    await page.waitFor('Module._newyearFrames() > 0');
    return page;
}

test('nothing starts before the click; the click starts the show and its music', {timeout: 60000}, async () => {
    const page = await web.open(chromium.browser, server.url);
    await page.waitFor('document.body.dataset.state === "ready"');
    assert.equal(await page.evaluate('document.getElementById("prompt").textContent'),
                 'click or tap to start, with sound');
    // No gesture has reached the page, no frame is drawn and no audio
    // context exists: SDL makes one when the program opens the audio.
    assert.deepEqual(await page.evaluate('[navigator.userActivation.hasBeenActive, Module._newyearFrames(), ' +
                                         'typeof Module.SDL2]'),
                     [false, 0, 'undefined']);

    await page.click();
    await page.waitFor('Module._newyearFrames() > 0');
    assert.equal(await page.state(), 'running');
    assert.equal(await page.evaluate('Module.SDL2.audioContext.state'), 'running');
    assert.ok(await page.evaluate(web.soundHeard) > 0.01);
    // The module plays on: its position moves by the half second waited for.
    const position = await page.evaluate('Module._newyearMusicMs()');
    assert.ok(position >= 0);
    await page.waitFor(`Module._newyearMusicMs() >= ${position + 500}`);
    assert.deepEqual(page.problems, []);
    await page.close();
});

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

test('one frame per 20 ms plus drawing time, at any refresh rate', {timeout: 60000}, async () => {
    const rates = await Promise.all([pace(), pace(144), pace(30)]);
    for (const rate of rates)
        assert.ok(rate >= 40 && rate <= 50, `frames a second: ${rates.map(r => r.toFixed(1)).join(', ')}`);
});

test('Escape ends the show, sound included, and the card offers it again', {timeout: 60000}, async () => {
    const page = await started(server.url);
    await page.page.keyboard.press('Escape');
    await page.waitFor('document.body.dataset.state === "ended"');
    assert.equal(await page.evaluate('document.getElementById("prompt").textContent'),
                 'click or tap to watch it again');
    assert.equal(await page.evaluate('Module.SDL2.audioContext'), undefined);

    await page.click();
    await page.waitFor('document.body.dataset.state === "running" && Module._newyearFrames() > 0');
    await page.waitFor('Module._newyearMusicMs() > 0');
    assert.deepEqual(page.problems, []);
    await page.close();
});

// The desktop's frames, as newyear-capture drew them (run.sh makes them),
// in 5-6-5: SDL widens the program's pixels to the canvas's 8 bits with its
// own rounding, but the top bits of each channel always survive.
function captured(n)
{
    const rgb = fs.readFileSync(path.join(process.env.NEWYEAR_WEB_FRAMES, `frame-${n}.rgb`));
    const out = new Uint16Array(320 * 240);
    for (let i = 0; i < out.length; i++)
        out[i] = (rgb[3 * i] >> 3) << 11 | (rgb[3 * i + 1] >> 2) << 5 | rgb[3 * i + 2] >> 3;
    return out;
}

async function frameMatches(url, n)
{
    const page = await started(`${url}?stopAt=${n}`);
    await page.waitFor('document.body.dataset.state === "stopped"');
    assert.equal(await page.frames(), n);
    const shown = await page.canvas565(), expected = captured(n);
    const wrong = shown.reduce((count, pixel, i) => count + (pixel !== expected[i]), 0);
    assert.equal(wrong, 0, `frame ${n} from ${url}: ${wrong} of 76800 pixels differ from the desktop's`);
    assert.deepEqual(page.problems, []);
    await page.close();
}

test('frames 1, 2, 100, 1000 and 2760 are the desktop demo\'s, from file:// and from a server',
     {timeout: 240000}, async () => {
    for (const n of [1, 2, 100, 1000, 2760])
        await frameMatches(singleFileUrl, n);
    await frameMatches(server.url, 1000);
});

test('a missing or broken data file gives the page a clear line', {timeout: 60000}, async () => {
    for (const [status, body] of [[404, ''], [200, 'not a picture']]) {
        const page = await web.open(chromium.browser, server.url,
                                    {respond: url => url.endsWith('/gfx.dat') ? {status, body} : null});
        await page.waitFor('document.body.dataset.state === "ready"');
        await page.click();
        await page.waitFor('document.body.dataset.state === "error"');
        assert.match(await page.lines(), /^The greeting cannot start: .*gfx\.dat.*\.$/m, `HTTP ${status}`);
        assert.equal(await page.frames(), 0);
        await page.close();
    }
});

test('what the browser lacks gives a clear line; without Web Audio the show runs silent', {timeout: 60000}, async () => {
    let page = await web.open(chromium.browser, server.url, {beforeLoad: 'delete window.WebAssembly'});
    await page.waitFor('document.body.dataset.state === "unsupported"');
    assert.match(await page.lines(), /no WebAssembly/);
    await page.close();

    // The single file's data is packed; a browser that cannot unpack it
    // says so instead of offering a show that cannot start.
    page = await web.open(chromium.browser, singleFileUrl, {beforeLoad: 'delete window.DecompressionStream'});
    await page.waitFor('document.body.dataset.state === "error"');
    assert.match(await page.lines(), /cannot unpack the data files/);
    await page.close();

    page = await started(server.url, {beforeLoad: 'delete window.AudioContext; delete window.webkitAudioContext'});
    assert.match(await page.lines(), /no Web Audio: the greeting plays silent/);
    await page.waitFor('/No sound \\(.*\\): the greeting plays silent/.test(document.getElementById("lines").innerText)');
    assert.equal(await page.evaluate('Module._newyearMusicMs()'), -1);
    await page.waitFor('Module._newyearFrames() > 10');
    await page.close();
});
