// Start-up figures of the single file from file://, in headless chromium:
// from opening it to its title card (the program loaded, ready for the
// click), and from the click to the first frame drawn. Prints the median
// of 5 loads in a warm browser. Run after ./web.sh:
//   NODE_PATH=build-web/node/node_modules node tests/web/startup.js
'use strict';
const {pathToFileURL} = require('node:url');
const web = require('./browser.js');

const median = values => values.sort((a, b) => a - b)[values.length >> 1];

(async () => {
    const chromium = await web.launch();
    const card = [], firstFrame = [];
    for (let i = 0; i < 5; i++) {
        const page = await web.open(chromium.browser, pathToFileURL(web.singleFile).href, {
            beforeLoad: 'addEventListener("click", event => { window.clickedAt = event.timeStamp; }, true)',
        });
        card.push(await page.waitFor('document.body.dataset.state === "ready" && performance.now()'));
        await page.click();
        firstFrame.push(await page.waitFor('Module._newyearFrames() > 0 && performance.now() - clickedAt'));
        await page.close();
    }
    await chromium.close();
    console.log(`opening to the title card: ${median(card).toFixed(0)} ms; ` +
                `click to the first frame: ${median(firstFrame).toFixed(0)} ms (medians of 5)`);
})();
