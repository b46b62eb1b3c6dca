// Makes the README's picture of the page, docs/web.png: the page in headless Chromium with a few
// things dropped around the tool, its status and the controls it printed. Needs `make web` (and
// the browser tests' driver, which configuring the web preset installs):
//   node tools/screenshot-web.mjs
import fs from 'node:fs';
import {serve, open} from '../tests/web/browser.mjs';

const folder = new URL('../build-web', import.meta.url).pathname;
const page = await open('chromium');
await page.goto(await serve(folder));
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const drop = async (key, across) => {
    await page.key(key);
    await page.move(500 + across, 400);  // over the picture, the tool follows the mouse
    await sleep(1500);  // and is away before what it dropped lands
};
await page.move(500, 400);
await sleep(8000);  // the camera closes in on the tool
await drop('2', 480);   // an empty box at the tool
await drop('3', -480);  // a tube to its right
await drop('5', 0);     // a static sphere to its left
await page.key('0');  // and a bean at the tool
await sleep(8000);
fs.writeFileSync(new URL('../docs/web.png', import.meta.url).pathname, await page.screenshot());
await page.close();
console.log('wrote docs/web.png');
