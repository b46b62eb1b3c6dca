// What the page's tests see, in any engine: the canvas as the browser shows it, its pixels of a hue
// counted, checks that wait for what they look for, and failures that name the engine and keep the
// picture they judged (failed-ENGINE-N.png in the working folder).
import fs from 'node:fs';
import {PNG} from 'pngjs';
import {sleep} from './browser.mjs';

export function checks(page, engine) {
    const the = {failed: false, png: null};
    the.fail = (what) => {
        console.log(`FAILED in ${engine}: ${what}`);
        the.failed = true;
    };
    the.saw = (what) => console.log(`${engine}: ${what}`);  // which of the engines' ways it took
    process.on('uncaughtException', (error) => {  // a driver's own error, such as a target off the page
        the.fail(error.stack);
        process.exit(1);
    });
    let pictures = 0;
    the.failWithPicture = (what) => {
        const name = `failed-${engine}-${++pictures}.png`;
        fs.writeFileSync(name, PNG.sync.write(the.png));
        the.fail(`${what} (the picture judged: ${process.cwd()}/${name})`);
    };

    // Whether the picture's pixel I is bright and of HUE (red, green, blue in 0..1).
    const of = (hue, i) => {
        const [r, g, b] = hue;
        const [R, G, B] = the.png.data.subarray(i * 4);
        const k = (R * r + G * g + B * b) / (r * r + g * g + b * b);
        const e = 0.08 * k + 4;
        const near = (v, c) => Math.abs(v - k * c) <= e;
        return k * Math.max(r, g, b) >= 24 && near(R, r) && near(G, g) && near(B, b);
    };
    // The pixels of HUE on the canvas, within [left, top, right, bottom) in canvas pixels: their
    // number, in canvas pixels, and the box around them, in the picture's.
    the.find = async (hue, [left, top, right, bottom] = [0, 0, 1024, 768]) => {
        const png = (the.png = PNG.sync.read(await page.screenshot('#canvas')));
        const scale = png.width / 1024;
        const found = {n: 0, left: Infinity, right: -Infinity, top: Infinity, bottom: -Infinity};
        for (let y = Math.round(top * scale); y < Math.round(bottom * scale); ++y) {
            for (let x = Math.round(left * scale); x < Math.round(right * scale); ++x) {
                if (of(hue, y * png.width + x)) {
                    found.n += 1;
                    Object.assign(found, {left: Math.min(found.left, x), right: Math.max(found.right, x + 1),
                                          top: Math.min(found.top, y), bottom: Math.max(found.bottom, y + 1)});
                }
            }
        }
        found.n /= scale * scale;
        return found;
    };
    the.count = async (hue, region) => (await the.find(hue, region)).n;
    // Waits up to 30 s for a picture in which COMPARE holds of the count; fails naming WHAT.
    the.shows = async (what, hue, compare, region) => {
        let n;
        for (const start = Date.now(); Date.now() - start < 30000;) {
            if (compare((n = await the.count(hue, region)))) return n;
        }
        the.failWithPicture(`${what}: ${Math.round(n)} pixels of its hue`);
        return n;
    };
    // Waits up to 30 s for the count of HUE to change by under 2 % in a second; returns it.
    the.rests = async (what, hue) => {
        let before = -100, n;
        for (const start = Date.now(); Date.now() - start < 30000; before = n) {
            n = await the.count(hue);
            if (Math.abs(n - before) < n * 0.02) return n;
            await sleep(1000);
        }
        the.failWithPicture(`${what}: never came to rest`);
        return n;
    };
    // The boxes around the patches of drawn pixels (of HUE, if given) in the last picture, in its
    // pixels, each with its number of pixels; and the largest of them.
    the.patches = (hue) => {
        const {width, height, data} = the.png;
        const seen = new Uint8Array(width * height);
        const drawn = (i) => (hue ? of(hue, i) : data[4 * i] + data[4 * i + 1] + data[4 * i + 2] > 12);
        const patches = [];
        for (let start = 0; start < width * height; ++start) {
            if (seen[start] || !drawn(start)) continue;
            const patch = {n: 0, left: width, right: 0, top: height, bottom: 0};
            const stack = [start];
            seen[start] = 1;
            while (stack.length) {
                const i = stack.pop(), x = i % width, y = (i - x) / width;
                Object.assign(patch, {n: patch.n + 1, left: Math.min(patch.left, x), right: Math.max(patch.right, x + 1),
                                      top: Math.min(patch.top, y), bottom: Math.max(patch.bottom, y + 1)});
                for (const j of [x > 0 && i - 1, x < width - 1 && i + 1, y > 0 && i - width, y < height - 1 && i + width]) {
                    if (j === false || seen[j] || !drawn(j)) continue;
                    stack.push(j);
                    seen[j] = 1;
                }
            }
            patches.push(patch);
        }
        return patches;
    };
    the.largestPatch = (hue) => the.patches(hue).reduce((a, b) => (b.n > a.n ? b : a), {n: 0});
    // Waits until the page has drawn two frames: the program's pass has run in the first.
    the.nextFrames = () => page.evaluate(() => new Promise((drawn) => requestAnimationFrame(() => requestAnimationFrame(drawn))));
    // An element's box on the page, in CSS pixels.
    the.box = (id) => page.evaluate((id) => JSON.parse(JSON.stringify(document.getElementById(id).getBoundingClientRect())), id);
    return the;
}
