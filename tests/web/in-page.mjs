// Runs a program built for the browser in the page, as a command runs on a desktop: what it prints on
// standard output as it prints it, its exit status as this one's.
//   node in-page.mjs [--engine ENGINE] build-web/PROGRAM.js [ARG...]
import path from 'node:path';
import {serve, open, sleep} from './browser.mjs';

const chosen = process.argv[2] === '--engine';
const engine = chosen ? process.argv[3] : 'chromium';
const [program, ...args] = process.argv.slice(chosen ? 4 : 2);
const url = new URL(await serve(path.dirname(path.resolve(program))));
url.searchParams.set('program', path.basename(program, '.js'));
for (const arg of args) url.searchParams.append('arg', arg);
const page = await open(engine, {echo: false});
await page.goto(url.href);
for (let shown = 0; ;) {  // the program's output so far: the new part goes out now
    const [text, running, status] = await page.evaluate(() => [
        document.getElementById('output').textContent, window.exitStatus === undefined, window.exitStatus]);
    process.stdout.write(text.slice(shown));
    shown = text.length;
    if (!running) {
        console.log(await page.evaluate(() => document.getElementById('status').textContent));
        await page.close();
        process.exit(status);
    }
    await sleep(200);
}
