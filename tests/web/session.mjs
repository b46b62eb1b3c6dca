// The page as a user meets it in Chromium: what it shows and prints, what keys, mouse, wheel and
// clicks put on the canvas, how it ends, and what it says when it cannot run.
//   node session.mjs README FOLDER SCENARIO
// SCENARIO: session, start (and Escape), no-webgl or faults; FOLDER holds the page.
import fs from 'node:fs';
import {PNG} from 'pngjs';
import {serve, open, ended} from './browser.mjs';

const [readme, folder, scenario] = process.argv.slice(2);
let failed = false;
const fail = (what) => {
    console.log(`FAILED: ${what}`);
    failed = true;
};
const expect = (what, actual, pattern) => pattern.test(actual) || fail(`${what}: "${actual}"`);
const lines = fs.readFileSync(readme, 'utf8').split('\n');
const first = lines.indexOf('    Keyboard Controls:');
const last = lines.findIndex((line) => line.startsWith('     Moving the Mouse'));
const controls = lines.slice(first, last + 1).map((line) => line.slice(4) + '\n').join('');
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const address = await serve(folder);
const {browser, page, warnings} = await open(scenario === 'no-webgl' ? ['--disable-webgl'] : []);
const textOf = (tab, id) => tab.$eval(id, (element) => element.textContent);
const loaded = (tab) => tab.waitForFunction(() => document.getElementById('status').textContent !== 'Loading…');

// What a page that cannot run says, never a blank page: opened as a file, in a browser without
// WebAssembly, and with its .wasm missing.
if (scenario === 'faults') {
    const says = async (setUp, url) => {
        const tab = await browser.newPage();
        await setUp(tab);
        await tab.goto(url);
        await loaded(tab);
        return textOf(tab, '#status');
    };
    expect('the page opened as a file', await says(async () => {}, `file://${folder}/index.html`),
           /^Bramblewick must be opened from a web server/);
    const withoutWebAssembly = (tab) => tab.evaluateOnNewDocument(() => delete window.WebAssembly);
    expect('the page without WebAssembly', await says(withoutWebAssembly, address),
           /^This browser cannot run WebAssembly/);
    const withoutWasm = async (tab) => {
        await tab.setRequestInterception(true);
        tab.on('request', (r) => r.url().endsWith('.wasm') ? r.respond({status: 404}) : r.continue());
    };
    expect('the page without its .wasm', await says(withoutWasm, address),
           /^Bramblewick could not be loaded .*bramblewick\.wasm/);
    await browser.close();
    process.exit(failed ? 1 : 0);
}

await page.goto(address);
const canvas = await page.$('#canvas');
const box = await canvas.boundingBox();
const at = (x, y) => [box.x + x, box.y + y];  // page coordinates of a canvas pixel
const yellow = [1, 1, 0];

// The pixels of HUE (red, green, blue in 0..1) on the canvas, within [left, top, right, bottom):
// their number and their centre.
async function find(hue, [left, top, right, bottom] = [0, 0, 1024, 768]) {
    const png = PNG.sync.read(await canvas.screenshot());
    const [r, g, b] = hue;
    let n = 0, sx = 0, sy = 0;
    for (let y = top; y < bottom; ++y) {
        for (let x = left; x < right; ++x) {
            const [R, G, B] = png.data.subarray((y * png.width + x) * 4);
            const k = (R * r + G * g + B * b) / (r * r + g * g + b * b);
            const e = 0.08 * k + 4;
            const near = (v, c) => Math.abs(v - k * c) <= e;
            if (k * Math.max(r, g, b) >= 24 && near(R, r) && near(G, g) && near(B, b)) {
                n += 1, sx += x, sy += y;
            }
        }
    }
    return {n, centre: [sx / n, sy / n]};
}
const count = async (hue, region) => (await find(hue, region)).n;
// Waits up to 30 s for a frame in which COMPARE holds of the count; fails naming WHAT.
async function shows(what, hue, compare, region) {
    let n;
    for (const start = Date.now(); Date.now() - start < 30000;) {
        if (compare((n = await count(hue, region)))) return n;
    }
    fail(`${what}: ${n} pixels of its hue`);
    return n;
}

// Waits until the page has drawn two frames: the program's pass has run in the first.
const nextFrames = () => page.evaluate(() => new Promise((drawn) => requestAnimationFrame(() => requestAnimationFrame(drawn))));
// Waits up to 30 s for the count of HUE to change by under 2 % in a second; returns it.
async function rests(what, hue) {
    let before = -100, n;
    for (const start = Date.now(); Date.now() - start < 30000; before = n) {
        n = await count(hue);
        if (Math.abs(n - before) < n * 0.02) return n;
        await sleep(1000);
    }
    fail(`${what}: never came to rest`);
    return n;
}

await loaded(page);
const status = await page.evaluate(() => window.exitStatus);
const output = await textOf(page, '#output');
if (scenario === 'no-webgl') {
    const video = 'Couldn\'t set video mode!\nThis browser cannot draw with WebGL\n';
    if (output !== controls + video) fail(`the page printed ${JSON.stringify(output)}`);
} else {
    if (status !== undefined) fail(`the program ended at once, with status ${status}`);
    if (output !== controls) fail(`the page printed other controls: ${JSON.stringify(output)}`);
    await shows('the tool', yellow, (n) => n > 100);
    const title = await page.title();
    if (title !== 'Bramblewick') fail(`the page is titled "${title}", not "Bramblewick"`);
}
if (scenario === 'session') {
    // The audio device opens at the first click: a browser may hold it back until then.
    const audio = () => page.evaluate(() => String(SDL.audioContext && SDL.audioContext.constructor.name));
    const early = await audio();
    if (early !== 'undefined') fail(`the page opened ${early} before a click`);
    // The pointer comes in from the page's corner: the tool stays where it was.
    await sleep(3000);  // the camera settles on the tool
    const before = (await find(yellow)).centre;
    await page.mouse.move(0, 0);
    await page.mouse.move(...at(700, 500));
    await sleep(500);
    const after = (await find(yellow)).centre;
    if (Math.hypot(after[0] - before[0], after[1] - before[1]) > 20) {
        fail(`the pointer's entry moved the tool from ${before} to ${after} on the canvas`);
    }
    // Hidden behind another tab for 5 s, the page takes up the scene it left: the box, moved off the
    // tool to rest beside it, shows as large as before in the frames drawn once the page is back.
    const green = [0.5, 1, 0.75];
    await page.keyboard.press('2');
    await shows('an empty box', green, (n) => n > 2000);
    await page.mouse.move(...at(200, 500), {steps: 5});
    const resting = await rests('the box at rest', green);
    const other = await browser.newPage();
    await other.bringToFront();
    await sleep(5000);
    await page.bringToFront();
    await other.close();
    await nextFrames();
    await shows('the box after a pause', green, (n) => n > resting * 0.8 && n < resting * 1.2);
    await page.keyboard.press('r');
    await shows('the empty box after a reset', green, (n) => n < 100);
    await page.mouse.move(...at(700, 500), {steps: 5});
    // The page's button puts the picture on the whole screen.
    await page.click('#fullscreen');
    const whole = await page.evaluate(() => document.fullscreenElement && document.fullscreenElement.id);
    if (whole !== 'canvas') fail(`"Full screen" put ${whole} on the whole screen`);
    await page.evaluate(() => document.exitFullscreen());
    // Mirror images: jaw A's yellow shows twice, and once after s.
    const images = await shows('the tool', yellow, (n) => n > 100);
    await page.keyboard.press('s');
    await shows('the jaws without their images', yellow, (n) => n < images * 0.7);
    await page.keyboard.press('s');
    // The right button opens no menu. The first click takes the pointer too, where the browser lets
    // it; the sweeper it fires flies off at 100 units a second.
    const orange = [1, 0.75, 0.25];
    const idle = await count(orange);  // jaw B's shading has some
    await page.evaluate(() => document.addEventListener('contextmenu', (e) => (window.menu = !e.defaultPrevented)));
    await page.mouse.click(...at(700, 500), {button: 'right'});
    if (await page.evaluate(() => window.menu !== false)) fail('the right button opened the menu');
    const opened = await audio();
    if (opened !== 'AudioContext') fail(`the click opened ${opened}, not the audio device`);
    const locked = await page.evaluate(() => document.pointerLockElement !== null);
    if (!locked) fail('the click left the pointer free');
    await shows('the sweeper gone', orange, (n) => n < idle + 100);
    // A ball flies off at 40 units a second.
    await page.mouse.click(...at(700, 500));
    await shows('a ball', orange, (n) => n > idle + 1000);
    // A tube's springs show between its rings as white lines while j has them on.
    await page.keyboard.press('3');
    await sleep(2000);
    const tube = await shows('a tube', [1, 1, 0.5], (n) => n > 1000);
    const white = await count([1, 1, 1]);
    await page.keyboard.press('j');
    await shows('the springs', [1, 1, 1], (n) => n > white + 150);
    await page.keyboard.press('j');
    await page.keyboard.press('r');  // done in a later pass than the keys pressed with it: wait
    await shows('the tube after a reset', [1, 1, 0.5], (n) => n < tube / 10);
    // Without mirror images, a static sphere where the tool stands, then another 10 to its right
    // and 10 higher: the camera turns to the second, and the first shows to the left of and below it
    // (further left while the eye, slow to follow, still lags). The wheel scrolls no page.
    await page.keyboard.press('s');
    await page.keyboard.press('5');
    const [x, y] = at(700, 500);
    await page.mouse.move(x + 400, y, {steps: 4});
    for (let step = 0; step < 10; ++step) await page.mouse.wheel({deltaY: -100});
    await page.keyboard.press('5');
    await shows('the first static sphere', [0, 0, 1], (n) => n > 5000, [0, 590, 440, 768]);
    const scrolled = await page.evaluate(() => window.scrollY);
    if (scrolled !== 0) fail(`the wheel scrolled the page by ${scrolled}`);
    // Escape ends the program; where the browser takes the first to let go of the pointer, the next.
    await page.keyboard.press('Escape');
    await sleep(500);
    if (await page.evaluate(() => document.pointerLockElement !== null)) fail('Escape left the pointer held');
    if (locked && (await page.evaluate(() => window.exitStatus === undefined))) {
        await page.keyboard.press('Escape');
    }
}
if (scenario === 'start') await page.keyboard.press('Escape');
const code = await ended(page, 30).catch(() => 'none');
const said = await textOf(page, '#status');
const expected = scenario === 'no-webgl' ? 1 : 0;
if (code !== expected) fail(`the program ended with status ${code}, not ${expected}: ${said}`);
if (!said.startsWith(`Bramblewick has ended (exit status ${expected}). Reload the page`)) {
    fail(`the page says "${said}"`);
}
if (scenario === 'session') {  // the keys are the browser's again (F5 reloads, say)
    await page.evaluate(() => window.addEventListener('keydown', (e) => (window.kept = e.defaultPrevented)));
    await page.keyboard.press('F5');
    if (await page.evaluate(() => window.kept !== false)) fail('the ended program still keeps the keys');
}
if (warnings.length) fail(`the browser warned: ${warnings.join('; ')}`);
await browser.close();
process.exit(failed ? 1 : 0);
