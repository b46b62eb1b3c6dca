// Makes the README's pictures of the page in headless Chromium, a few things dropped around the
// tool: docs/web.png in a laptop's window (1366 × 657), with its status and the controls it
// printed; docs/web-phone.png and docs/web-phone-turned.png on a phone (390 × 844), upright and
// turned, with the keyboard's buttons. Needs `make web` (and the browser tests' driver, which
// configuring the web preset installs):
//   node tools/screenshot-web.mjs
import fs from 'node:fs';
import {serve, open, sleep} from '../tests/web/browser.mjs';

const folder = new URL('../build-web', import.meta.url).pathname;
const address = await serve(folder);
const shoot = async (page, name) => {
    fs.writeFileSync(new URL(`../docs/${name}`, import.meta.url).pathname, await page.screenshot());
    console.log(`wrote docs/${name}`);
};

const laptop = await open('chromium');
await laptop.resize(1366, 657);
await laptop.goto(address);
const drop = async (key, across) => {
    await laptop.key(key);
    await laptop.move(400 + across, 300);  // over the picture, the tool follows the mouse
    await sleep(1500);  // and is away before what it dropped lands
};
await laptop.move(400, 300);
await sleep(8000);  // the camera closes in on the tool
await drop('2', 380);   // an empty box at the tool
await drop('3', -380);  // a tube to its right
await drop('5', 0);     // a static sphere to its left
await laptop.key('0');  // and a bean at the tool
await sleep(8000);
await shoot(laptop, 'web.png');
await laptop.close();

const phone = await open('chromium');
await phone.emulate(390, 844);
await phone.goto(`${address}?buttons`);
await sleep(8000);
const press = async (key) => {
    await phone.clickElement(`#keys [data-key="${key}"]`);
    await sleep(300);
};
await press('2');  // an empty box at the tool, the tool dragged off to its left
await phone.touch('start', [[200, 200]]);
for (let x = 200; x <= 300; x += 20) await phone.touch('move', [[x, 200]]);
await phone.touch('end', []);
await sleep(7000);
await shoot(phone, 'web-phone.png');
await phone.emulate(844, 390);
await sleep(3000);
await shoot(phone, 'web-phone-turned.png');
await phone.close();
process.exit(0);  // the page's server
