// Runs a program built for the browser in the page, as a command runs on a desktop: its output on
// standard output, its exit status as this one's.   node in-page.mjs build-web/PROGRAM.js [ARG...]
import path from 'node:path';
import {serve, open, ended} from './browser.mjs';

const [program, ...args] = process.argv.slice(2);
const url = new URL(await serve(path.dirname(path.resolve(program))));
url.searchParams.set('program', path.basename(program, '.js'));
for (const arg of args) url.searchParams.append('arg', arg);
const {browser, page} = await open();
await page.goto(url.href);
const status = await ended(page);
console.log(await page.$eval('#status', (element) => element.textContent));
await browser.close();
process.exit(status);
