// The web build against the desktop build, in the same run: the time to draw
// one frame in headless chromium (the demo's own drawFrame, as newyear's
// wasm runs it) and natively (frame_bench's wholeFrame, the same function),
// and the time from opening the single file to its first frame (to the
// title card, then from the click). Medians; run by bench/web.sh:
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

(async () => {
    const desktop = desktopFrameUs(process.argv[2]);
    const chromium = await web.launch();
    const browserUs = [], card = [], firstFrame = [];
    const url = pathToFileURL(web.singleFile).href;
    for (let i = 0; i < 5; i++) {
        const page = await web.open(chromium.browser, `${url}?stopAt=${frames}`, {
            beforeLoad: 'addEventListener("click", event => { window.clickedAt = event.timeStamp; }, true)',
        });
        card.push(await page.waitFor('document.body.dataset.state === "ready" && performance.now()'));
        await page.click();
        firstFrame.push(await page.waitFor('Module._newyearFrames() > 0 && performance.now() - clickedAt'));
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
    console.log(`single file: opening to the title card ${median(card).toFixed(0)} ms, click to the first frame ` +
                `${median(firstFrame).toFixed(0)} ms, together ${(median(card) + median(firstFrame)).toFixed(0)} ms ` +
                `(medians of 5, file://, a warm browser)`);
})();
