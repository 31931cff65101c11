// What the browser tests share: Debian's chromium, headless, driven by
// puppeteer-core; a static server on localhost for build-web/site; and a
// view of a page through the DevTools protocol.
//
// Everything a test reads goes through a raw Runtime.evaluate, which is no
// user gesture: puppeteer's page.evaluate counts as one, and would let the
// page start its sound without the click that a test means to check. The
// only gestures are the harness's mouse clicks and key presses.
'use strict';
const fs = require('node:fs');
const http = require('node:http');
const os = require('node:os');
const path = require('node:path');
const puppeteer = require('puppeteer-core');

const buildDir = process.env.NEWYEAR_WEB_BUILD || path.join(__dirname, '..', '..', 'build-web');
const siteDir = path.join(buildDir, 'site');
const singleFile = path.join(buildDir, 'newyear.html');

// A fresh profile each time, removed again by close().
async function launch(extraArgs = [])
{
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'newyear-chromium-'));
    const browser = await puppeteer.launch({
        executablePath: '/usr/bin/chromium',
        ignoreDefaultArgs: true,
        args: [
            '--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
            '--disable-component-update', '--disable-sync', '--no-first-run', '--user-data-dir=' + profile,
            '--allow-file-access-from-files',
            // As a browser on a desktop is: sound only after a gesture.
            '--autoplay-policy=user-gesture-required', ...extraArgs, 'about:blank'
        ],
    });
    return {
        browser,
        close: async () => {
            await browser.close();
            fs.rmSync(profile, {recursive: true, force: true});
        },
    };
}

const types = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm'};

// Serves dir on 127.0.0.1 at a free port.
async function serve(dir)
{
    const server = http.createServer((request, response) => {
        const name = path.basename(new URL(request.url, 'http://localhost').pathname) || 'index.html';
        fs.readFile(path.join(dir, name), (error, bytes) => {
            if (error) {
                response.writeHead(404).end();
                return;
            }
            response.writeHead(200, {'Content-Type': types[path.extname(name)] || 'application/octet-stream'});
            response.end(bytes);
        });
    });
    await new Promise(resolve => server.listen(0, '127.0.0.1', resolve));
    return {url: `http://127.0.0.1:${server.address().port}/`, close: () => new Promise(r => server.close(r))};
}

// Opens url in a fresh browser context. options.respond(url) may answer a
// request instead of the network: {status, body}, or null to let it pass.
// options.beforeLoad is a script run in the page before its own.
async function open(browser, url, options = {})
{
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    await page.setViewport({width: 800, height: 600});
    const problems = [];
    page.on('pageerror', error => problems.push(error.message));
    if (options.respond) {
        await page.setRequestInterception(true);
        page.on('request', request => {
            const answer = options.respond(request.url());
            if (answer)
                request.respond({status: answer.status, body: answer.body || ''});
            else
                request.continue();
        });
    }
    if (options.beforeLoad)
        await page.evaluateOnNewDocument(options.beforeLoad);
    const cdp = await page.createCDPSession();

    async function evaluate(expression)
    {
        const reply = await cdp.send('Runtime.evaluate', {expression, returnByValue: true, awaitPromise: true});
        if (reply.exceptionDetails)
            throw new Error(`${expression}: ${reply.exceptionDetails.exception?.description}`);
        return reply.result.value;
    }

    await page.goto(url);
    return {
        page,
        problems,
        evaluate,
        // Waits in the page until expression is truthy, and returns it; the
        // test's own timeout ends a wait that never comes true.
        waitFor: expression => evaluate(`new Promise(resolve => {
            (function poll() {
                const value = (${expression});
                if (value) resolve(value); else setTimeout(poll, 5);
            })();
        })`),
        state: () => evaluate('document.body.dataset.state'),
        lines: () => evaluate('document.getElementById("lines").innerText'),
        frames: () => evaluate('Module._newyearFrames()'),
        // A real click in the middle of the picture, where the card lies.
        click: async () => {
            const box = await (await page.$('#screen')).boundingBox();
            await page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
        },
        // The canvas's pixels in 5-6-5, row by row: the 8-bit channels the
        // page shows are SDL's expansion of the program's 5-6-5 pixels.
        canvas565: async () => new Uint16Array(await evaluate(`(() => {
            const canvas = document.getElementById('canvas');
            const rgba = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
            const out = [];
            for (let i = 0; i < rgba.length; i += 4)
                out.push((rgba[i] >> 3) << 11 | (rgba[i + 1] >> 2) << 5 | rgba[i + 2] >> 3);
            return out;
        })()`)),
        close: () => context.close(),
    };
}

// The level of the sound the program sends to the speakers, tapped
// behind SDL's audio node: resolves once a buffer of it is not silent.
const soundHeard = `new Promise(resolve => {
    const audio = Module.SDL2.audioContext, analyser = audio.createAnalyser();
    Module.SDL2.audio.scriptProcessorNode.connect(analyser);
    const samples = new Float32Array(analyser.fftSize);
    (function listen() {
        analyser.getFloatTimeDomainData(samples);
        const peak = samples.reduce((max, s) => Math.max(max, Math.abs(s)), 0);
        if (peak > 0.01) resolve(peak); else setTimeout(listen, 10);
    })();
})`;

module.exports = {buildDir, siteDir, singleFile, launch, serve, open, soundHeard};
