// Bramblewick's page, served from 127.0.0.1, in Debian's headless Chromium: SwiftShader draws its WebGL.
import http from 'node:http';
import fs from 'node:fs';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const types = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm'};

// Serves FOLDER's files on a free port; returns the page's address.
export async function serve(folder) {
    const server = http.createServer((request, response) => {
        const name = path.join(folder, path.normalize(new URL(request.url, 'http://x').pathname));
        fs.readFile(name, (error, data) => {
            response.writeHead(error ? 404 : 200, {'Content-Type': types[path.extname(name)] || 'text/plain'});
            response.end(error ? 'not found' : data);
        });
    });
    await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
    server.unref();
    return `http://127.0.0.1:${server.address().port}/index.html`;
}

// A browser that ends with this process, and its one page, whose console goes to standard output;
// what the browser itself warns of there is also kept in `warnings`.
export async function open(flags = []) {
    const browser = await puppeteer.launch({
        executablePath: '/usr/bin/chromium',
        args: ['--no-sandbox', '--enable-unsafe-swiftshader', '--use-angle=swiftshader', ...flags],
        protocolTimeout: 3600000,  // a test program holds the page for as long as it runs
    });
    for (const signal of ['SIGINT', 'SIGTERM']) process.on(signal, () => browser.close().then(() => process.exit(1)));
    const page = (await browser.pages())[0];
    const warnings = [];
    page.on('console', (message) => {
        console.log(message.text());
        if (message.type() !== 'log') warnings.push(`${message.type()}: ${message.text()}`);
    });
    page.on('pageerror', (error) => warnings.push(`page error: ${error.message}`) && console.log(error.message));
    await page.setViewport({width: 1100, height: 1000});
    return {browser, page, warnings};
}

// Waits for the program in PAGE to end; returns its exit status.
export async function ended(page, seconds = 280) {
    await page.waitForFunction(() => window.exitStatus !== undefined, {timeout: seconds * 1000, polling: 100});
    return page.evaluate(() => window.exitStatus);
}
