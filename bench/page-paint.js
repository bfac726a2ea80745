// The first paint of a menu.htm in headless Chromium, as the browser measures it (the Performance
// API's first-contentful-paint), and when its load event ends; the median of RUNS fresh loads.
//
//   NODE_PATH=build/host/tests/node/node_modules node bench/page-paint.js CHROMIUM PAGE [RUNS]
//
// Prints "first-paint-ms load-ms".
'use strict';
const path = require('path');
const { pathToFileURL } = require('url');
const { chromium } = require('playwright-core');

(async () => {
    const [executable, file, runs = '5'] = process.argv.slice(2);
    const browser = await chromium.launch({
        executablePath: executable,
        args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
               '--disable-component-update', '--disable-sync'],
    });
    const paints = [], loads = [];
    for (let i = 0; i < Number(runs); ++i) {
        const context = await browser.newContext({ viewport: { width: 1280, height: 800 } });
        const page = await context.newPage();
        await page.goto(pathToFileURL(path.resolve(file)).href, { waitUntil: 'load', timeout: 120000 });
        const [paint, load] = await page.evaluate(() => [
            performance.getEntriesByName('first-contentful-paint')[0].startTime,
            performance.getEntriesByType('navigation')[0].loadEventEnd,
        ]);
        paints.push(paint);
        loads.push(load);
        await context.close();
    }
    await browser.close();
    const median = v => v.sort((a, b) => a - b)[Math.floor(v.length / 2)];
    console.log(`${Math.round(median(paints))} ${Math.round(median(loads))}`);
})().catch(e => {
    console.error('page-paint: ' + (e && e.stack || e));
    process.exit(1);
});
