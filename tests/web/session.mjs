// The page as a user meets it in one browser engine: what it shows and prints, what keys, mouse,
// wheel and clicks put on the canvas, how it ends, and what it says when it cannot run.
//   node session.mjs README FOLDER SCENARIO [ENGINE]
// SCENARIO: session, start (and Escape), no-webgl or faults; FOLDER holds the page; ENGINE is
// chromium (the default), firefox or webkit. A failed check keeps the picture it judged.
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import {serve, open, sleep, waitFor, ended} from './browser.mjs';
import {checks} from './picture.mjs';

const [readme, folder, scenario, engine = 'chromium'] = process.argv.slice(2);
const expect = (what, actual, pattern) => pattern.test(actual) || fail(`${what}: "${actual}"`);
const lines = fs.readFileSync(readme, 'utf8').split('\n');
const first = lines.indexOf('    Keyboard Controls:');
const last = lines.findIndex((line) => line.startsWith('     Moving the Mouse'));
const controls = lines.slice(first, last + 1).map((line) => line.slice(4) + '\n').join('');
const address = await serve(folder);
const page = await open(engine, {webgl: scenario !== 'no-webgl'});
const the = checks(page, engine);
const {fail, saw, find, count, shows, rests, nextFrames} = the;
const textOf = (id) => page.evaluate((id) => document.getElementById(id).textContent, id);
const loaded = () => waitFor(page, () => document.getElementById('status').textContent !== 'Loading…' || undefined)
    .catch(() => fail('the page is still loading after 30 s'));

// What a page that cannot run says, never a blank page: opened as a file, in a browser without
// WebAssembly, with its .wasm missing, and asked for a program that is no name of one: a path, a
// script of another host, a data address. None of those scripts may run.
if (scenario === 'faults') {
    let requests = 0;
    const hostile = http.createServer((request, response) => {
        requests += 1;
        response.writeHead(200, {'Content-Type': 'text/javascript'});
        response.end('window.hostile = document.currentScript.src;');
    });
    await new Promise((resolve) => hostile.listen(0, '127.0.0.1', resolve));
    const elsewhere = `127.0.0.1:${hostile.address().port}`;
    const says = async (url) => {
        await page.goto(url);
        await loaded();
        return textOf('status');
    };
    expect('the page opened as a file', await says(`file://${path.resolve(folder)}/index.html`),
           /^Bramblewick must be opened from a web server/);
    expect('the page without WebAssembly', await says(address.replace(/[^/]*$/, 'without-webassembly/index.html')),
           /^This browser cannot run WebAssembly/);
    expect('the page without its .wasm', await says(address.replace(/[^/]*$/, 'without-wasm/index.html')),
           /^Bramblewick could not be loaded .*bramblewick\.wasm/);
    for (const name of [`//${elsewhere}/bramblewick`, `http://${elsewhere}/bramblewick`, '../bramblewick',
                        'tests/bramblewick', 'data:text/javascript,window.hostile=1//']) {
        expect(`the page asked for ${name}`, await says(`${address}?program=${encodeURIComponent(name)}`),
               /^There is no program called /);
        const ran = await page.evaluate(() => window.hostile);
        if (ran !== undefined) fail(`the page asked for ${name} ran ${ran}`);
    }
    if (requests) fail(`the page fetched ${requests} scripts from another host`);
    await page.close();
    process.exit(the.failed ? 1 : 0);
}

await page.goto(scenario === 'no-webgl' && !page.webglSwitch ? address.replace(/[^/]*$/, 'without-webgl/index.html')
                                                              : address);
// Where the canvas lies on the page: the window may change size (a tab bar shown, full screen left).
let box = await the.box('canvas');
const placed = async () => (box = await the.box('canvas'));
const at = (x, y) => [box.x + (x * box.width) / 1024, box.y + (y * box.height) / 768];  // of a canvas pixel
const yellow = [1, 1, 0];

await loaded();
const status = await page.evaluate(() => window.exitStatus);
const output = await textOf('output');
if (scenario === 'no-webgl') {
    const video = 'Couldn\'t set video mode!\nThis browser cannot draw with WebGL\n';
    if (output !== controls + video) fail(`the page printed ${JSON.stringify(output)}`);
} else {
    if (status !== undefined) fail(`the program ended at once, with status ${status}`);
    if (output !== controls) fail(`the page printed other controls: ${JSON.stringify(output)}`);
    await shows('the tool', yellow, (n) => n > 100);
    await placed();  // as the running program shows it
    if (Math.abs(box.width * 3 - box.height * 4) > 4) fail(`the picture is shown ${box.width} × ${box.height}, not at 4:3`);
    const title = await page.evaluate(() => document.title);
    if (title !== 'Bramblewick') fail(`the page is titled "${title}", not "Bramblewick"`);
}
if (scenario === 'session') {
    // The program hides the cursor over the picture; the audio device opens at the first click (a
    // browser may hold it back until then).
    const cursor = await page.evaluate(() => getComputedStyle(document.getElementById('canvas')).cursor);
    if (cursor !== 'none') fail(`the cursor over the picture is "${cursor}", not hidden`);
    const audio = () => page.evaluate(() => String(SDL.audioContext && SDL.audioContext.constructor.name));
    const early = await audio();
    if (early !== 'undefined') fail(`the page opened ${early} before a click`);
    await page.evaluate(() => {
        window.pointerAnswers = [];
        for (const answer of ['pointerlockchange', 'pointerlockerror']) {
            document.addEventListener(answer, () => window.pointerAnswers.push(answer));
        }
    });
    // The pointer comes in from the page's corner: the tool stays where it was.
    await sleep(3000);  // the camera settles on the tool
    const centre = (found) => [(found.left + found.right) / 2, (found.top + found.bottom) / 2];
    const before = centre(await find(yellow));
    await page.move(0, 0);
    await page.move(...at(700, 500));
    await sleep(500);
    const after = centre(await find(yellow));
    if (Math.hypot(after[0] - before[0], after[1] - before[1]) > 20) {
        the.failWithPicture(`the pointer's entry moved the tool from ${before} to ${after} on the canvas`);
    }
    // Hidden behind another tab for 5 s, the page takes up the scene it left: the box, moved off the
    // tool to rest beside it, shows as large as before in the frames drawn once the page is back.
    const green = [0.5, 1, 0.75];
    await page.key('2');
    await shows('an empty box', green, (n) => n > 2000);
    await page.move(...at(200, 500), 5);
    const resting = await rests('the box at rest', green);
    await page.hideFor(5000);
    await nextFrames();
    await placed();
    await shows('the box after a pause', green, (n) => n > resting * 0.8 && n < resting * 1.2);
    await page.key('r');
    await shows('the empty box after a reset', green, (n) => n < 100);
    await page.move(...at(700, 500), 5);
    // The page's button puts the picture on the whole screen, or says why it cannot.
    await page.clickElement('#fullscreen');
    const refused = 'This browser does not allow full screen here';
    const whole = await waitFor(page, (refused) => (document.fullscreenElement && document.fullscreenElement.id) ||
        (document.getElementById('status').textContent === refused ? 'refused' : undefined), 10, refused)
        .catch(() => 'nothing');
    if (whole === 'canvas') {
        await page.evaluate(() => document.exitFullscreen());
        await waitFor(page, () => document.fullscreenElement === null || undefined);
    } else if (whole === 'refused') {
        saw('the browser refused full screen, and the page said so');
    } else {
        fail(`"Full screen" put ${whole} on the whole screen, and the page says "${await textOf('status')}"`);
    }
    await placed();
    // Mirror images: jaw A's yellow shows twice, and once after s.
    const images = await shows('the tool', yellow, (n) => n > 100);
    await page.key('s');
    await shows('the jaws without their images', yellow, (n) => n < images * 0.7);
    await page.key('s');
    // The right button opens no menu. The first click asks for the pointer too, which the browser
    // gives, or refuses to a click it knows is not a person's (and WebKit's driver gives back); the
    // sweeper the click fires flies off at 100 units a second.
    const orange = [1, 0.75, 0.25];
    const idle = await count(orange);  // jaw B's shading has some
    await page.evaluate(() => document.addEventListener('contextmenu', (e) => (window.menu = !e.defaultPrevented)));
    await page.click(...at(700, 500), 'right');
    if (await page.evaluate(() => window.menu !== false)) fail('the right button opened the menu');
    const opened = await audio();
    if (opened !== 'AudioContext') fail(`the click opened ${opened}, not the audio device`);
    const answers = await waitFor(page, () => window.pointerAnswers.length ? window.pointerAnswers : undefined, 5)
        .catch(() => []);
    const locked = await page.evaluate(() => document.pointerLockElement !== null);
    if (!answers.length) fail('the click did not ask for the pointer');
    else if (answers.includes('pointerlockerror')) saw('the browser refused the pointer to the click');
    else if (!locked) saw('the click took the pointer, and the driver gave it back');
    await shows('the sweeper gone', orange, (n) => n < idle + 100);
    // A ball flies off at 40 units a second, away from the eye: a third of a second after the
    // click it still covers over a thousand pixels, a second after it several hundred.
    await page.click(...at(700, 500));
    await shows('a ball', orange, (n) => n > idle + 400);
    // A tube's springs show between its rings as white lines while j has them on.
    await page.key('3');
    await sleep(2000);
    const tube = await shows('a tube', [1, 1, 0.5], (n) => n > 1000);
    const white = await count([1, 1, 1]);
    await page.key('j');
    await shows('the springs', [1, 1, 1], (n) => n > white + 150);
    await page.key('j');
    await page.key('r');  // done in a later pass than the keys pressed with it: wait
    await shows('the tube after a reset', [1, 1, 0.5], (n) => n < tube / 10);
    // Without mirror images, a static sphere where the tool stands, then another 10 to its right
    // and 10 higher: the camera turns to the second, and the first shows to the left of and below it
    // (further left while the eye, slow to follow, still lags). The wheel scrolls no page. The
    // second, near the middle of the picture, is round: the picture keeps its proportions.
    await page.move(...at(500, 500), 2);
    await page.key('s');
    await page.key('5');
    await page.move(...at(900, 500), 4);
    for (let step = 0; step < 10; ++step) await page.wheel(-100);
    await nextFrames();  // a browser may hand the wheel to the page with its next frame
    await page.key('5');
    await shows('the first static sphere', [0, 0, 1], (n) => n > 5000, [0, 590, 440, 768]);
    const second = the.largestPatch();  // of the picture in which the first showed
    const proportion = (second.right - second.left) / (second.bottom - second.top);
    if (!(Math.abs(proportion - 1) < 0.1)) the.failWithPicture(`the second static sphere is ${proportion} times as wide as high`);
    const scrolled = await page.evaluate(() => window.scrollY);
    if (scrolled !== 0) fail(`the wheel scrolled the page by ${scrolled}`);
    // Escape ends the program; where the browser takes the first to let go of the pointer, the next.
    await page.key('Escape');
    await sleep(500);
    if (await page.evaluate(() => document.pointerLockElement !== null)) fail('Escape left the pointer held');
    if (await page.evaluate(() => window.exitStatus === undefined)) {
        if (locked) saw('the first Escape let go of the pointer');
        else fail('Escape did not end the program');
        await page.key('Escape');
    }
}
if (scenario === 'start') await page.key('Escape');
const code = await ended(page, 30).catch(() => 'none');
const said = await textOf('status');
const expected = scenario === 'no-webgl' ? 1 : 0;
if (code !== expected) fail(`the program ended with status ${code}, not ${expected}: ${said}`);
if (!said.startsWith(`Bramblewick has ended (exit status ${expected}). Reload the page`)) {
    fail(`the page says "${said}"`);
}
if (scenario === 'session') {  // the keys are the browser's again: F5 reloads, or is not kept from it
    await page.evaluate(() => {
        window.beforeF5 = true;
        window.addEventListener('keydown', (e) => (window.kept = e.defaultPrevented));
    });
    await page.key('F5');
    const [reloaded, kept] = await page.evaluate(() => [!window.beforeF5, window.kept]).catch(() => [true]);
    if (!reloaded && kept !== false) fail('the ended program still keeps the keys');
}
const warnings = await page.warnings();
if (warnings.length) fail(`the browser warned: ${warnings.join('; ')}`);
await page.close();
process.exit(the.failed ? 1 : 0);
