// The web build against the desktop build, in the same run: the time to draw
// one frame in headless chromium (the demo's own drawFrame, as newyear's
// wasm runs it) and natively (frame_bench's wholeFrame, the same function),
// and the time from opening the single file to its title card. Then, in
// each engine, from a freshly started browser and in the pages after it:
// the time from the click to the first frame and to the first sound, and
// the frames a second over the show's first 5 s. Medians; run by
// bench/web.sh:
//   bench/web.sh BUILD        (BUILD: the desktop build with frame_bench)
'use strict';
const {execFileSync} = require('node:child_process');
const {pathToFileURL} = require('node:url');
const web = require('../tests/web/browser.js');

const median = values => [...values].sort((a, b) => a - b)[values.length >> 1];
const frames = 3000;
// The first frames run while the browser still compiles the hot code to its
// optimising tier; the figure is taken from the frames after them.
const warmUp = 1000;

// frame_bench's wholeFrame, five times: the median of the medians, in µs.
function desktopFrameUs(frameBench)
{
    const out = execFileSync(frameBench, ['--benchmark_filter=^wholeFrame$', '--benchmark_repetitions=5',
                                          '--benchmark_format=json'], {env: {...process.env, SDL_VIDEODRIVER: 'dummy'}});
    const runs = JSON.parse(out).benchmarks.filter(b => b.run_type === 'iteration');
    return median(runs.map(b => b.real_time / 1000));
}

// Five showings of the single file in a fresh browser of engine: the
// first, and the medians of the four after it.
async function showings(name)
{
    const engine = await web.launch(name);
    const toFrame = [], toSound = [], pace = [];
    for (let i = 0; i < 5; i++) {
        const page = await engine.open(pathToFileURL(web.singleFile).href);
        await page.waitFor('document.body.dataset.state === "ready"');
        await page.click();
        const times = await page.waitFor('document.body.dataset.state === "running" && newyearTimes');
        toFrame.push(times.frame - times.click);
        pace.push(await page.evaluate(`new Promise(resolve => {
            const frames0 = Module._newyearFrames(), t0 = performance.now();
            (function poll() {
                const t = performance.now();
                if (t - t0 >= 5000) resolve((Module._newyearFrames() - frames0) * 1000 / (t - t0));
                else setTimeout(poll, 5);
            })();
        })`));
        // A sound that has not come 5 s into the show counts as none.
        const sound = await page.evaluate('newyearTimes.sound - newyearTimes.click');
        toSound.push(sound === null ? Infinity : sound);
        await page.close();
    }
    await engine.close();
    const ms = values => values.map(v => v.toFixed(0)).join(', ');
    const later = values => median(values.slice(1));
    console.log(`${name}: click to first frame ${toFrame[0].toFixed(0)} ms, to first sound ${toSound[0].toFixed(0)} ms ` +
                `in a fresh browser; then ${later(toFrame).toFixed(0)} and ${later(toSound).toFixed(0)} ms ` +
                `(frames ${ms(toFrame)}; sound ${ms(toSound)}); ${median(pace).toFixed(1)} frames a second`);
}

(async () => {
    const desktop = desktopFrameUs(process.argv[2]);
    const chromium = await web.launch();
    const browserUs = [], card = [];
    const url = pathToFileURL(web.singleFile).href;
    for (let i = 0; i < 5; i++) {
        const page = await chromium.open(`${url}?stopAt=${frames}`);
        card.push(await page.waitFor('document.body.dataset.state === "ready" && performance.now()'));
        await page.click();
        const counts = 'Module._newyearFrames() >= %d && [Module._newyearDrawUs(), Module._newyearFrames()]';
        const [warmUs, warmFrames] = await page.waitFor(counts.replace('%d', warmUp));
        const [allUs, allFrames] = await page.waitFor(counts.replace('%d', frames));
        browserUs.push((allUs - warmUs) / (allFrames - warmFrames));
        await page.close();
    }
    await chromium.close();
    const browser = median(browserUs);
    console.log(`drawing a frame: browser ${(browser / 1000).toFixed(2)} ms, desktop ${(desktop / 1000).toFixed(2)} ms, ` +
                `ratio ${(browser / desktop).toFixed(2)} (medians of 5; in the browser frames ${warmUp} to ${frames} of each load)`);
    console.log(`single file: opening to the title card ${median(card).toFixed(0)} ms (median of 5, file://)`);
    for (const name of ['chromium', 'firefox', 'webkit'])
        await showings(name);
})().catch(error => {
    console.error(error);
    process.exit(1);
});
