// The page on every screen: laptop and desktop windows in any engine, a phone's and a tablet's touch
// screen both ways up (Chromium's device emulation), and the page installed and started offline.
//   node screens.mjs README FOLDER SCENARIO [ENGINE]
// SCENARIO: sizes, touch or offline; FOLDER holds the page; ENGINE is chromium (the default),
// firefox or webkit, for sizes.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {execFileSync} from 'node:child_process';
import {serve, unserve, open, sleep, waitFor} from './browser.mjs';
import {checks} from './picture.mjs';

const [readme, folder, scenario, engine = 'chromium'] = process.argv.slice(2);
const page = await open(engine);
const the = checks(page, engine);
const {fail, shows, count} = the;
const running = () => waitFor(page, () => document.getElementById('status').textContent === 'Running' || undefined)
    .catch(async () => fail(`the page says "${await page.evaluate(() => document.getElementById('status').textContent)}"`));

// Every element named (by selector) lies whole in the window, the picture at 4:3, and nothing
// scrolls or zooms: waits up to 10 s for the page to fit itself to its window, then fails naming
// what is still wrong.
async function inView(where, selectors) {
    let wrong;
    for (const start = Date.now(); Date.now() - start < 10000; await sleep(100)) {
        const seen = await page.evaluate((selectors) => {
            const inside = (box) => box.width > 0 && box.left >= 0 && box.top >= 0 && box.right <= innerWidth + 0.5 &&
                box.bottom <= innerHeight + 0.5;
            const canvas = document.getElementById('canvas');
            const scroller = document.scrollingElement;
            return {
                outside: selectors.filter((name) => !inside(document.querySelector(name).getBoundingClientRect())),
                proportion: canvas.clientWidth / canvas.clientHeight,
                buffer: `${canvas.width} × ${canvas.height}`,
                scrolls: scroller.scrollWidth > innerWidth || scroller.scrollHeight > innerHeight || scrollX || scrollY,
                zoom: window.visualViewport ? visualViewport.scale : 1,
            };
        }, selectors);
        wrong = [
            seen.outside.length && `${seen.outside.join(', ')} not in the window`,
            Math.abs(seen.proportion - 4 / 3) > 0.01 && `the picture is ${seen.proportion} times as wide as high`,
            seen.buffer !== '1024 × 768' && `the drawing buffer is ${seen.buffer}`,
            seen.scrolls && 'the page scrolls',
            seen.zoom !== 1 && `the page is zoomed by ${seen.zoom}`,
        ].filter(Boolean);
        if (!wrong.length) return;
    }
    for (const what of wrong) fail(`${where}: ${what}`);
}

// A laptop's, a small and a large desktop window, the window resized each time with the program
// running: the picture, the bar and the controls text in view, or the text one click away.
if (scenario === 'sizes') {
    await page.goto(await serve(folder));
    await running();
    for (const [width, height] of [[1366, 657], [1280, 720], [1920, 1080]]) {
        await page.resize(width, height);
        const where = `${width} × ${height}`;
        await inView(where, ['#canvas', '#bar', '#fullscreen', '#status']);
        const shown = await page.evaluate(() => getComputedStyle(document.getElementById('output')).visibility);
        if (shown !== 'visible') {
            await page.clickElement('#controls');
            await inView(`${where}, the controls opened`, ['#output']);
            await page.clickElement('#controls');
        } else {
            await inView(where, ['#output']);
        }
    }
    await shows('the tool', [1, 1, 0], (n) => n > 100);
}

// A phone and a tablet, upright and turned while the program runs: the picture and the twelve buttons
// in view; touches and the buttons do what mouse and keys do.
if (scenario === 'touch') {
    const lines = fs.readFileSync(readme, 'utf8').split('\n');
    const keys = lines.slice(lines.indexOf('    Keyboard Controls:') + 1).slice(0, 12).map((line) => line.trim());
    const buttons = keys.map((line) => line[0]);
    await page.emulate(390, 844);
    await page.goto(await serve(folder));
    await running();
    const labels = await page.evaluate(() => [...document.querySelectorAll('#keys button')].map((b) =>
        `${b.getAttribute('data-key')}  -  ${b.lastChild.textContent}`));
    if (labels.join('\n') !== keys.join('\n')) fail(`the buttons read ${JSON.stringify(labels)}`);
    const finger = async (type, ...points) => page.touch(type, points);
    const centre = (box) => [box.x + box.width / 2, box.y + box.height / 2];
    const tapButton = async (key) => {
        const at = centre(await page.evaluate((key) => JSON.parse(JSON.stringify(
            document.querySelector(`#keys [data-key="${key}"]`).getBoundingClientRect())), key));
        await finger('start', at);
        await finger('end');
    };
    const orange = [1, 0.75, 0.25], green = [0.5, 1, 0.75];
    for (const [name, width, height] of [['a phone', 390, 844], ['a phone turned', 844, 390],
                                         ['a tablet', 820, 1180], ['a tablet turned', 1180, 820]]) {
        console.log(`on ${name}, ${width} × ${height}`);
        await page.emulate(width, height);
        await inView(name, ['#canvas', '#bar', ...buttons.map((key) => `#keys [data-key="${key}"]`)]);
        const canvas = await the.box('canvas');
        const at = (x, y) => [canvas.x + (x * canvas.width) / 1024, canvas.y + (y * canvas.height) / 768];
        // Without mirror images, a static sphere where the tool stands; a finger across half the
        // picture, two fingers up by eleven steps, another: the first shows left of and below it.
        await tapButton('s');
        await tapButton('5');
        await finger('start', at(250, 600));
        for (let x = 300; x <= 762; x += 66) await finger('move', at(x, 600));
        await finger('end');
        const up = (11 * 24 * 768) / canvas.height;  // eleven wheel steps of 24 CSS pixels
        await finger('start', at(400, 760), at(600, 760));
        for (let y = 760; y >= 760 - up; y -= up / 8) await finger('move', at(400, y), at(600, y));
        await finger('end');
        await tapButton('5');
        await shows(`on ${name}, the first static sphere`, [0, 0, 1], (n) => n > 5000, [0, 590, 440, 768]);
        await tapButton('r');
        await shows(`on ${name}, the spheres after a reset`, [0, 0, 1], (n) => n < 100);
        // A tap fires a ball; two fingers tapped fire a capsule, which flies off lying across the view:
        // a patch of its orange several times as wide as high.
        const idle = await count(orange);
        await finger('start', at(512, 300));
        await finger('end');
        await shows(`on ${name}, a ball`, orange, (n) => n > idle + 400);
        await finger('start', at(400, 300), at(600, 300));
        await finger('end');
        let capsule;
        for (const start = Date.now(); !capsule && Date.now() - start < 10000;) {
            await count(orange);
            const scale = the.png.width / 1024;
            capsule = the.patches(orange).find((patch) => patch.n > 60 * scale * scale &&
                patch.right - patch.left > 2.5 * (patch.bottom - patch.top));
        }
        if (!capsule) the.failWithPicture(`on ${name}, no capsule`);
        await tapButton('r');
        // The buttons 2, j and r drop the box, show its springs and clear it.
        const white = await count([1, 1, 1]);
        await tapButton('2');
        await shows(`on ${name}, an empty box`, green, (n) => n > 2000);
        await tapButton('j');
        await shows(`on ${name}, its springs`, [1, 1, 1], (n) => n > white + 150);
        await tapButton('j');
        await tapButton('r');
        await shows(`on ${name}, the box after a reset`, green, (n) => n < 100);
        await tapButton('s');
        await inView(`after the touches on ${name}`, ['#canvas']);
    }
    // A finger that leaves the picture, a third finger, a touch the browser cancels: none leaves a
    // button held or fires on its own, and a tap after them fires one ball.
    const canvas = await the.box('canvas');
    const at = (x, y) => [canvas.x + (x * canvas.width) / 1024, canvas.y + (y * canvas.height) / 768];
    const idle = await count(orange);
    await finger('start', at(500, 400));
    await finger('move', at(500, 1200));
    await finger('end');
    await finger('start', at(300, 300));
    await finger('start', at(300, 300), at(500, 300));
    await finger('start', at(300, 300), at(500, 300), at(700, 300));
    await finger('end');
    await finger('start', at(500, 300));
    await finger('cancel');
    await sleep(1000);
    if ((await count(orange)) > idle + 100) the.failWithPicture('a drag off the picture, three fingers or a cancel fired');
    await finger('start', at(500, 300));
    await finger('end');
    await shows('a ball after them', orange, (n) => n > idle + 400);
}

// Offline: after one visit the page starts with no network; a new build put on the host runs within
// two visits, and one that cannot be fetched whole leaves the old one running. The build is a copy.
if (scenario === 'offline') {
    const host = fs.mkdtempSync(path.join(os.tmpdir(), 'bramblewick-host-'));
    const files = ['index.html', 'bramblewick.js', 'bramblewick.wasm', 'manifest.webmanifest', 'service-worker.js',
                   'icon-192.png', 'icon-512.png'];
    for (const file of files) fs.copyFileSync(path.join(folder, file), path.join(host, file));
    let address = await serve(host);
    const port = Number(new URL(address).port);
    await page.goto(address);
    await running();
    await waitFor(page, () => navigator.serviceWorker.controller !== null || undefined)
        .catch(() => fail('no service worker keeps the page'));
    const {installabilityErrors} = await page.devtools('Page.getInstallabilityErrors');
    if (installabilityErrors.length) fail(`not installable: ${JSON.stringify(installabilityErrors)}`);
    await unserve(address);
    await page.reload();
    await running();
    const printed = await page.evaluate(() => document.getElementById('output').textContent);
    if (!printed.startsWith('Keyboard Controls:')) fail(`offline, the page printed ${JSON.stringify(printed)}`);
    // Build a changed program; the first host has it all but its .wasm, the second all of it.
    fs.appendFileSync(path.join(host, 'bramblewick.js'), '\nwindow.build = "changed";\n');
    execFileSync('cmake', [`-DPAGE=${host}`, '-P', path.join(path.dirname(process.argv[1]), '../../src/platform/web/stamp_build.cmake')]);
    const wasm = fs.readFileSync(path.join(host, 'bramblewick.wasm'));
    fs.rmSync(path.join(host, 'bramblewick.wasm'));
    address = await serve(host, port);
    const visits = async (what) => {
        for (const visit of [1, 2]) {
            await page.reload();
            await running();
            // The look for a new build that the browser makes on a visit, waited for to its end: a new
            // build kept and in charge, or given up.
            await page.evaluate(async () => {
                const registration = await navigator.serviceWorker.getRegistration();
                await registration.update().catch(() => {});
                const busy = () => registration.installing || registration.waiting ||
                    (registration.active && registration.active.state !== 'activated');
                for (let waited = 0; busy() && waited < 30000; waited += 100) {
                    await new Promise((resolve) => setTimeout(resolve, 100));
                }
            });
            const build = await page.evaluate(() => window.build);
            if (visit === 2 || build === 'changed') return build;
        }
    };
    if ((await visits('a build with no .wasm')) !== undefined) fail('a build that could not be fetched whole runs');
    fs.writeFileSync(path.join(host, 'bramblewick.wasm'), wasm);
    if ((await visits('the changed build')) !== 'changed') fail('the changed build does not run within two visits');
    await unserve(address);
    fs.rmSync(host, {recursive: true});
}
await page.close();
process.exit(the.failed ? 1 : 0);
