// Bramblewick's page in each browser engine that Debian ships: Chromium (headless; SwiftShader draws
// its WebGL) and Firefox ESR through puppeteer-core, WebKitGTK's MiniBrowser through its WebDriver and
// selenium-webdriver. A test speaks to the page through the few verbs of the object open() returns,
// whichever engine is behind them. Firefox and WebKit draw WebGL on an X server: run them on a private
// one (tools/private-display.sh).
import http from 'node:http';
import fs from 'node:fs';
import net from 'node:net';
import path from 'node:path';
import {execFileSync, spawn} from 'node:child_process';
import puppeteer from 'puppeteer-core';
import {Builder, Button, By, Key, Origin} from 'selenium-webdriver';

export const engines = ['chromium', 'firefox', 'webkit'];
const programs = {  // what each engine needs: Debian's chromium, firefox-esr and webkit2gtk-driver
    chromium: ['/usr/bin/chromium'],
    firefox: ['/usr/bin/firefox-esr'],
    webkit: ['/usr/bin/WebKitWebDriver', '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser'],
};
const types = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm', '.png': 'image/png',
               '.webmanifest': 'application/manifest+json'};
export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// What a browser in some condition makes of the page, for engines that cannot be put in it by a
// switch: scripts that run before the page's own.
const conditions = {
    'without-webassembly': 'delete window.WebAssembly;',
    'without-webgl': `HTMLCanvasElement.prototype.getContext = ((own) => function (type, ...options) {
        return /webgl/.test(type) ? null : own.call(this, type, ...options);
    })(HTMLCanvasElement.prototype.getContext);`,
};

// Serves FOLDER on PORT (or a free one); returns the page's address. Below /CONDITION/ the page is
// served as a browser in that condition has it (above), or, below /without-wasm/, with its .wasm
// missing. unserve(address) cuts it off, as a network that is gone.
const servers = new Map();
export async function serve(folder, port = 0) {
    const server = http.createServer((request, response) => {
        let name = path.normalize(new URL(request.url, 'http://x').pathname);
        const condition = name.match(/^\/(without-[a-z]+)\//)?.[1];
        if (condition) name = name.slice(condition.length + 1);
        fs.readFile(path.join(folder, name), (error, data) => {
            if (error || (condition === 'without-wasm' && name.endsWith('.wasm'))) {
                response.writeHead(404, {'Content-Type': 'text/plain'});
                return response.end('not found');
            }
            if (conditions[condition] && name.endsWith('.html')) {
                data = String(data).replace('<head>', `<head><script>${conditions[condition]}</script>`);
            }
            response.writeHead(200, {'Content-Type': types[path.extname(name)] || 'text/plain'});
            response.end(data);
        });
    });
    await new Promise((resolve) => server.listen(port, '127.0.0.1', resolve));
    server.unref();
    const address = `http://127.0.0.1:${server.address().port}/index.html`;
    servers.set(address, server);
    return address;
}
export async function unserve(address) {
    const server = servers.get(address);
    servers.delete(address);
    server.closeAllConnections();
    await new Promise((resolve) => server.close(resolve));
}

// A browser of ENGINE that ends with this process, showing one page of WIDTH × HEIGHT CSS pixels;
// with webgl false, one that cannot draw with WebGL (where a switch can say so: `webglSwitch`).
// With echo, what the page writes to its console goes to standard output; page.warnings() gives
// what the browser or the page warned of.
export async function open(engine, {webgl = true, echo = true, width = 1100, height = 1000} = {}) {
    for (const program of programs[engine] || [`an engine called ${engine}`]) {
        if (!fs.existsSync(program)) throw new Error(`${engine} is missing: there is no ${program}`);
    }
    const page = engine === 'webkit' ? await openWebKit() : await openPuppeteer(engine, webgl, echo);
    page.engine = engine;
    page.webglSwitch = engine !== 'webkit';
    for (const signal of ['SIGINT', 'SIGTERM']) process.on(signal, () => page.close().then(() => process.exit(1)));
    await page.resize(width, height);
    return page;
}

// Page coordinates are CSS pixels from the top left of the window's viewport; KEY is one character
// or Escape or F5; BUTTON left or right; a screenshot is a PNG of the element the selector names, or
// of the whole viewport.
async function openPuppeteer(engine, webgl, echo) {
    const firefox = engine === 'firefox';
    const browser = await puppeteer.launch({
        browser: engine === 'firefox' ? 'firefox' : 'chrome',
        executablePath: programs[engine][0],
        headless: !firefox,  // headless, Firefox has no WebGL
        args: firefox ? [] : ['--no-sandbox', '--enable-unsafe-swiftshader', '--use-angle=swiftshader',
                              ...(webgl ? [] : ['--disable-webgl'])],
        extraPrefsFirefox: webgl ? {} : {'webgl.disabled': true},
        protocolTimeout: 3600000,  // a test program holds the page for as long as it runs
    });
    const page = (await browser.pages())[0];
    // Firefox on X keeps the X server's own pointer beside the one its driver moves, and places the
    // events it makes up itself (the pointer over the page again after a tab) where the X pointer
    // is: that pointer waits in the screen's corner, over the browser's tab strip, not the page.
    if (firefox) execFileSync('xdotool', ['mousemove', '0', '0']);
    const warnings = [];
    page.on('console', (message) => {
        if (echo) console.log(message.text());
        if (message.type() !== 'log') warnings.push(`${message.type()}: ${message.text()}`);
    });
    page.on('pageerror', (error) => warnings.push(`page error: ${error.message}`));
    const devtools = firefox ? null : await page.createCDPSession();
    return {
        warnings: async () => warnings,
        goto: (url) => page.goto(url),
        evaluate: (fn, ...args) => page.evaluate(fn, ...args),
        key: (key) => page.keyboard.press(key),
        move: (x, y, steps = 1) => page.mouse.move(x, y, {steps}),
        click: (x, y, button = 'left') => page.mouse.click(x, y, {button}),
        wheel: (deltaY) => page.mouse.wheel({deltaY}),
        clickElement: (selector) => page.click(selector),
        screenshot: async (selector) => Buffer.from(await (selector ? await page.$(selector) : page).screenshot()),
        resize: (width, height) => page.setViewport({width, height}),
        // Chromium's alone: a phone's or tablet's screen of WIDTH × HEIGHT, touched (TYPE start, move,
        // end or cancel) with fingers at POINTS, [x, y] each, the ones down after the change; the
        // DevTools protocol.
        emulate: (width, height) => page.setViewport({width, height, isMobile: true, hasTouch: true, deviceScaleFactor: 2}),
        touch: (type, points) => devtools.send('Input.dispatchTouchEvent', {
            type: `touch${type[0].toUpperCase()}${type.slice(1)}`,
            touchPoints: points.map(([x, y], id) => ({x, y, id})),
        }),
        devtools: (method, parameters) => devtools.send(method, parameters),
        reload: () => page.reload(),
        async hideFor(ms) {  // behind another tab
            const other = await browser.newPage();
            await other.bringToFront();
            await sleep(ms);
            await page.bringToFront();
            await other.close();
        },
        close: () => browser.close(),
    };
}

// WebKitGTK's WebDriver starts its MiniBrowser for each session. It has no console to listen to:
// the page's warnings and errors are caught in the page from the moment it has loaded. And it
// presses no mouse button on a page that holds the pointer (the release of the very click that
// took it is lost too): after a click that took the pointer, the page is made to give it back, as
// the browser does on Escape. Its wheel takes each action's distance as counted from the start of
// the session, so the distances handed to it add up.
async function openWebKit() {
    const port = await new Promise((resolve) => {
        const probe = http.createServer().listen(0, '127.0.0.1', () => {
            const {port} = probe.address();
            probe.close(() => resolve(port));
        });
    });
    const server = spawn(programs.webkit[0], [`--port=${port}`], {stdio: 'ignore'});
    for (const start = Date.now(); ; await sleep(50)) {  // until the driver listens
        const listening = await new Promise((resolve) => {
            const socket = net.connect(port, '127.0.0.1', () => socket.end(() => resolve(true)));
            socket.on('error', () => resolve(false));
        });
        if (listening) break;
        if (Date.now() - start > 30000) throw new Error('WebKitWebDriver did not listen within 30 s');
    }
    const driver = await new Builder().usingServer(`http://127.0.0.1:${port}`).withCapabilities({
        browserName: 'MiniBrowser',
        'webkitgtk:browserOptions': {
            binary: programs.webkit[1],
            args: ['--automation'],
        },
    }).build();
    let pointer = [0, 0], wheeled = 0;
    const keys = {Escape: Key.ESCAPE, F5: Key.F5};
    const actions = () => driver.actions({async: true});
    const page = {
        warnings: () => page.evaluate(() => window.pageWarnings || []).catch(() => []),
        async goto(url) {
            await driver.get(url);
            await page.evaluate(() => {
                window.pageWarnings = [];
                for (const type of ['warn', 'error']) {
                    const own = console[type];
                    console[type] = (...words) => window.pageWarnings.push(`${type}: ${words.join(' ')}`) && own(...words);
                }
                window.addEventListener('error', (event) => window.pageWarnings.push(`page error: ${event.message}`));
            });
        },
        async evaluate(fn, ...args) {
            const script = `const done = arguments[arguments.length - 1];
                Promise.resolve((${fn}).apply(null, Array.from(arguments).slice(0, -1))).then(
                    (value) => done({value, undefined: value === undefined}), (error) => done({error: String(error)}));`;
            const result = await driver.executeAsyncScript(script, ...args);
            if (result.error) throw new Error(result.error);
            return result.undefined ? undefined : result.value;
        },
        key: (key) => actions().sendKeys(keys[key] || key).perform(),
        async move(x, y, steps = 1) {
            const [x0, y0] = pointer;
            for (let i = 1; i <= steps; ++i) {
                const at = {x: Math.round(x0 + ((x - x0) * i) / steps), y: Math.round(y0 + ((y - y0) * i) / steps)};
                await actions().move({...at, origin: Origin.VIEWPORT, duration: 0}).perform();
            }
            pointer = [Math.round(x), Math.round(y)];
        },
        async click(x, y, button = 'left') {
            await page.move(x, y);
            const which = button === 'right' ? Button.RIGHT : Button.LEFT;
            await actions().press(which).release(which).perform();
            await page.evaluate(() => document.pointerLockElement && document.exitPointerLock());
        },
        wheel: (deltaY) => actions().scroll(...pointer, 0, (wheeled += deltaY)).perform(),
        clickElement: async (selector) => (await driver.findElement(By.css(selector))).click(),
        screenshot: async (selector) => Buffer.from(
            await (selector ? await driver.findElement(By.css(selector)) : driver).takeScreenshot(), 'base64'),
        async resize(width, height) {  // the window, so that its viewport has this size
            await driver.manage().window().setRect({width, height});
            const [w, h] = await page.evaluate(() => [innerWidth, innerHeight]);
            await driver.manage().window().setRect({width: 2 * width - w, height: 2 * height - h});
        },
        async hideFor(ms) {  // behind another tab
            const own = await driver.getWindowHandle();
            await driver.switchTo().newWindow('tab');
            await sleep(ms);
            await driver.close();
            await driver.switchTo().window(own);
        },
        async close() {
            await driver.quit().catch(() => {});
            server.kill();
        },
    };
    return page;
}

// Waits up to SECONDS for FN, evaluated in PAGE, to give something other than undefined; returns it.
export async function waitFor(page, fn, seconds = 30, ...args) {
    for (const start = Date.now(); Date.now() - start < seconds * 1000; await sleep(100)) {
        const value = await page.evaluate(fn, ...args);
        if (value !== undefined && value !== false) return value;
    }
    throw new Error(`nothing came of ${fn} in ${seconds} s`);
}

// Waits for the program in PAGE to end; returns its exit status.
export function ended(page, seconds = 280) {
    return waitFor(page, () => window.exitStatus, seconds);
}
