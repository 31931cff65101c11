// What the browser tests share: three engines driven the same way, a static
// server on localhost for build-web/site, and a view of a page.
//   chromium  Debian's chromium, headless, through puppeteer-core and the
//             DevTools protocol;
//   firefox   Debian's firefox-esr, headless, through the same puppeteer-core
//             over WebDriver BiDi;
//   webkit    WebKitGTK's MiniBrowser through Debian's WebKitWebDriver, plain
//             W3C WebDriver over HTTP, on the X display run.sh starts.
// Firefox and WebKit play sound only through a sound server: run.sh starts
// a PulseAudio of its own and sets PULSE_SERVER.
//
// Everything a test reads goes through a call that is no user gesture: a
// raw DevTools Runtime.evaluate, BiDi's script.evaluate with
// userActivation false, WebDriver's execute/async. puppeteer's own evaluate
// counts as one, and would let the page start its sound without the click
// that a test means to check. The only gestures are the harness's clicks
// and key presses, which are real input in every engine.
'use strict';
const {spawn} = require('node:child_process');
const fs = require('node:fs');
const http = require('node:http');
const net = require('node:net');
const os = require('node:os');
const path = require('node:path');
const puppeteer = require('puppeteer-core');

const buildDir = process.env.NEWYEAR_WEB_BUILD || path.join(__dirname, '..', '..', 'build-web');
const siteDir = path.join(buildDir, 'site');
const singleFile = path.join(buildDir, 'newyear.html');

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

// The view of a page that every engine gives, from its own evaluate (a
// string of script, its value back through JSON), click(x, y), move(x, y)
// and press(key), all in CSS pixels of the page.
function view(evaluate, input, close, problems = [])
{
    const waitFor = expression => evaluate(`new Promise(resolve => {
        (function poll() {
            const value = (${expression});
            if (value) resolve(value); else setTimeout(poll, 5);
        })();
    })`);
    const middle = async () => evaluate(`(() => {
        const box = document.getElementById('screen').getBoundingClientRect();
        return [Math.round(box.x + box.width / 2), Math.round(box.y + box.height / 2)];
    })()`);
    return {
        problems,
        evaluate,
        // Waits in the page until expression is truthy, and returns it; the
        // test's own timeout ends a wait that never comes true.
        waitFor,
        state: () => evaluate('document.body.dataset.state'),
        lines: () => evaluate('document.getElementById("lines").innerText'),
        frames: () => evaluate('Module._newyearFrames()'),
        // A real click in the middle of the picture, where the card lies.
        click: async () => input.click(...await middle()),
        // The pointer moved to the middle of the picture and a little on.
        movePointer: async () => {
            const [x, y] = await middle();
            await input.move(x, y);
            await input.move(x + 10, y + 10);
        },
        press: key => input.press(key),
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
        close,
    };
}

// chromium: open(url, options) in a fresh browser context. options.respond(url)
// may answer a request instead of the network: {status, body}, or null to let
// it pass. options.beforeLoad is a script run in the page before its own.
// options.downloads is a folder for the page's downloads: the page's
// download() then resolves, once the next download is complete, to
// {name, file}, the name the page gave it and where it lies.
async function launchChromium(extraArgs = [])
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
    async function open(url, options = {})
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
        let download;
        if (options.downloads) {
            const session = await browser.target().createCDPSession();
            await session.send('Browser.setDownloadBehavior', {
                behavior: 'allowAndName',
                downloadPath: options.downloads,
                browserContextId: context.id,
                eventsEnabled: true,
            });
            const names = new Map();
            session.on('Browser.downloadWillBegin', event => names.set(event.guid, event.suggestedFilename));
            download = () => new Promise(resolve => {
                session.on('Browser.downloadProgress', function progress(event) {
                    if (event.state !== 'completed')
                        return;
                    session.off('Browser.downloadProgress', progress);
                    resolve({name: names.get(event.guid), file: path.join(options.downloads, event.guid)});
                });
            });
        }
        const cdp = await page.createCDPSession();
        async function evaluate(expression)
        {
            const reply = await cdp.send('Runtime.evaluate', {expression, returnByValue: true, awaitPromise: true});
            if (reply.exceptionDetails)
                throw new Error(`${expression}: ${reply.exceptionDetails.exception?.description}`);
            return reply.result.value;
        }
        await page.goto(url);
        const input = {
            click: (x, y) => page.mouse.click(x, y),
            move: (x, y) => page.mouse.move(x, y),
            press: key => page.keyboard.press(key),
        };
        return {...view(evaluate, input, () => context.close(), problems), page, download};
    }
    return {
        name: 'chromium',
        open,
        close: async () => {
            await browser.close();
            fs.rmSync(profile, {recursive: true, force: true});
        },
    };
}

// firefox: open(url) in a fresh browser context. puppeteer makes the
// profile and removes it.
async function launchFirefox()
{
    const browser = await puppeteer.launch({browser: 'firefox', executablePath: '/usr/bin/firefox-esr', headless: true});
    async function open(url)
    {
        const context = await browser.createBrowserContext();
        const page = await context.newPage();
        // BiDi's own viewport command: puppeteer's setViewport also overrides
        // the screen's orientation, which bookworm's first Firefox ESR (140)
        // does not know.
        await page.mainFrame().browsingContext.setViewport({viewport: {width: 800, height: 600}});
        const problems = [];
        page.on('pageerror', error => problems.push(error.message));
        async function evaluate(expression)
        {
            const reply = await page.mainFrame().browsingContext.defaultRealm.evaluate(
                `(async () => JSON.stringify(await (${expression})))()`, true, {userActivation: false});
            if (reply.type !== 'success')
                throw new Error(`${expression}: ${reply.exceptionDetails?.text}`);
            return reply.result.type === 'string' ? JSON.parse(reply.result.value) : undefined;
        }
        await page.goto(url);
        const input = {
            click: (x, y) => page.mouse.click(x, y),
            move: (x, y) => page.mouse.move(x, y),
            press: key => page.keyboard.press(key),
        };
        return {...view(evaluate, input, () => context.close(), problems), page};
    }
    return {name: 'firefox', open, close: () => browser.close()};
}

// A port that was free a moment ago.
function freePort()
{
    return new Promise(resolve => {
        const server = net.createServer().listen(0, '127.0.0.1', () => {
            const port = server.address().port;
            server.close(() => resolve(port));
        });
    });
}

const webdriverKeys = {Escape: '\uE00C'};

// webkit: one WebDriver session; open(url) loads url in its one window, at
// 800x600 CSS pixels of page (size(w, h) sets another).
async function launchWebkit()
{
    const port = await freePort();
    // In a group of its own, so that close() ends MiniBrowser with it. On an
    // X server without a GPU, WebKit's compositing through software GL
    // starves its display callback (8 to 20 a second here, against 55
    // without it), as chromium's --disable-gpu avoids for chromium.
    const driver = spawn('WebKitWebDriver', [`--port=${port}`], {
        detached: true,
        stdio: 'ignore',
        env: {...process.env, WEBKIT_DISABLE_COMPOSITING_MODE: '1'},
    });
    const ended = new Promise(resolve => driver.on('exit', resolve));
    const base = `http://127.0.0.1:${port}`;
    async function call(method, where, body)
    {
        const response = await fetch(base + where, {
            method,
            headers: {'Content-Type': 'application/json'},
            body: body && JSON.stringify(body),
        });
        const reply = await response.json();
        if (!response.ok)
            throw Object.assign(new Error(`${method} ${where}: ${reply.value.error}: ${reply.value.message}`),
                                {code: reply.value.error});
        return reply.value;
    }
    // The driver answers once it listens.
    for (;;) {
        const status = await call('GET', '/status').catch(() => null);
        if (status?.ready)
            break;
        if (driver.exitCode !== null)
            throw new Error(`WebKitWebDriver ended with status ${driver.exitCode}`);
        await new Promise(resolve => setTimeout(resolve, 20));
    }
    const session = await call('POST', '/session', {
        capabilities: {
            alwaysMatch: {
                'webkitgtk:browserOptions': {
                    binary: '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser',
                    args: ['--automation', '--autoplay-policy=allow-without-sound'],
                },
            },
        },
    });
    const at = `/session/${session.sessionId}`;
    // The tests' own timeouts end a wait, not the driver's.
    await call('POST', `${at}/timeouts`, {script: 600000});
    async function evaluate(expression)
    {
        const reply = await call('POST', `${at}/execute/async`, {
            script: `const done = arguments[0];
                     Promise.resolve(${expression}).then(v => done({value: JSON.stringify(v)}),
                                                         e => done({error: String(e)}));`,
            args: [],
        });
        if (reply.error)
            throw new Error(`${expression}: ${reply.error}`);
        return typeof reply.value === 'string' ? JSON.parse(reply.value) : undefined;
    }
    // Its driver can reject input with "unknown error" on a busy machine:
    // the same input again goes through.
    async function act(actions)
    {
        for (;;) {
            try {
                return await call('POST', `${at}/actions`, {actions});
            } catch (error) {
                if (error.code !== 'unknown error')
                    throw error;
            }
        }
    }
    const pointer = steps => act([{type: 'pointer', id: 'mouse', parameters: {pointerType: 'mouse'}, actions: steps}]);
    const input = {
        click: (x, y) => pointer([{type: 'pointerMove', origin: 'viewport', x, y}, {type: 'pointerDown', button: 0},
                                  {type: 'pointerUp', button: 0}]),
        move: (x, y) => pointer([{type: 'pointerMove', origin: 'viewport', x, y}]),
        press: key => act([{
            type: 'key',
            id: 'keyboard',
            actions: [{type: 'keyDown', value: webdriverKeys[key] || key}, {type: 'keyUp', value: webdriverKeys[key] || key}],
        }]),
    };
    // The window's size for a page of w x h.
    async function size(w, h)
    {
        await call('POST', `${at}/window/rect`, {width: w, height: h});
        const [innerW, innerH] = await evaluate('[innerWidth, innerHeight]');
        await call('POST', `${at}/window/rect`, {width: 2 * w - innerW, height: 2 * h - innerH});
    }
    async function open(url)
    {
        await call('POST', `${at}/url`, {url: 'about:blank'});
        await size(800, 600);
        await call('POST', `${at}/url`, {url});
        return {...view(evaluate, input, () => call('POST', `${at}/url`, {url: 'about:blank'})), size};
    }
    return {
        name: 'webkit',
        open,
        close: async () => {
            await call('DELETE', at).catch(() => {});
            process.kill(-driver.pid, 'SIGTERM');
            await ended;
        },
    };
}

const engines = {chromium: launchChromium, firefox: launchFirefox, webkit: launchWebkit};

// launch(name) starts that engine; launch() chromium.
function launch(name = 'chromium', ...args)
{
    return engines[name](...args);
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

module.exports = {buildDir, siteDir, singleFile, launch, serve, soundHeard};
