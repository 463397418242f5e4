// The page in Debian's Gecko (Firefox ESR, through WebDriver BiDi with
// puppeteer-core) and WebKit (WebKitGTK's MiniBrowser, through W3C WebDriver),
// each in a window on a private Xvfb (Firefox draws no WebGL headless): the
// same checks in both, by the same helpers. Chromium has page_test.mjs.
//   node engines_test.mjs SITE_DIR WORK_DIR
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import puppeteer from 'puppeteer-core';
import { brightness, counter, greenness, native, serveSite, sleep } from './browser.mjs';

const [site, work] = process.argv.slice(2);
fs.mkdirSync(work, { recursive: true });
const { check, equals, finish } = counter();

// Firefox through puppeteer-core; pages are driven by expressions (strings).
async function firefox(display) {
  const browser = await puppeteer.launch({ browser: 'firefox', executablePath: '/usr/bin/firefox-esr',
    headless: false, env: { ...process.env, DISPLAY: display } });
  const page = await browser.newPage();
  return { name: 'Firefox ESR', version: await browser.version(), close: () => browser.close(),
    size: (width, height) => page.setViewport({ width, height }), go: (url) => page.goto(url),
    evaluate: (expression) => page.evaluate(expression), shot: (file) => page.screenshot({ path: file }),
    click: (x, y) => page.mouse.click(x, y), key: (key) => page.keyboard.press(key) };
}

// WebKitGTK through WebKitWebDriver, spoken to as plain HTTP with JSON.
async function webkit(display) {
  const port = 20000 + Math.floor(Math.random() * 20000);
  const driver = spawn('/usr/bin/WebKitWebDriver', [`--port=${port}`], { stdio: 'ignore', env: { ...process.env, DISPLAY: display } });
  const call = async (method, path, body) => {
    const answer = (await (await fetch(`http://127.0.0.1:${port}${path}`, { method, body: body && JSON.stringify(body),
      headers: { 'Content-Type': 'application/json' } })).json()).value;
    if (answer?.error) throw new Error(`${path}: ${answer.error}: ${answer.message}`);
    return answer;
  };
  for (let i = 0; i < 50 && !(await fetch(`http://127.0.0.1:${port}/status`).then(() => true, () => false)); i++)
    await sleep(100); // until the driver listens
  const session = await call('POST', '/session', { capabilities: { alwaysMatch: { 'webkitgtk:browserOptions': {
    binary: `/usr/lib/${{ x64: 'x86_64', arm64: 'aarch64' }[process.arch]}-linux-gnu/webkit2gtk-4.1/MiniBrowser`,
    args: ['--automation'] } } } })
    .catch((error) => { driver.kill(); throw error; });
  const at = `/session/${session.sessionId}`;
  const act = (actions) => call('POST', `${at}/actions`, { actions: [actions] });
  return { name: 'WebKitGTK', version: session.capabilities.browserVersion,
    close: async () => { await call('DELETE', at); driver.kill(); },
    size: (width, height) => call('POST', `${at}/window/rect`, { width, height }), // the toolbar's height less
    go: (url) => call('POST', `${at}/url`, { url }),
    evaluate: (expression) => call('POST', `${at}/execute/sync`, { script: `return (${expression});`, args: [] }),
    shot: async (file) => fs.writeFileSync(file, Buffer.from(await call('GET', `${at}/screenshot`), 'base64')),
    click: (x, y) => act({ type: 'pointer', id: 'mouse', actions: [{ type: 'pointerMove', x, y },
      { type: 'pointerDown', button: 0 }, { type: 'pointerUp', button: 0 }] }),
    key: (key) => act({ type: 'key', id: 'keys', actions: [{ type: 'keyDown', value: key }, { type: 'keyUp', value: key }] }) };
}

// The checks, the same in every engine.
async function checkEngine(engine, url) {
  const say = (what) => `${engine.name}: ${what}`;
  const until = async (expression) => {
    for (let i = 0; i < 100 && !(await engine.evaluate(expression)); i++) await sleep(100);
  };
  const canvas = () => engine.evaluate("(c => `${c.width}x${c.height}`)(document.getElementById('fern'))");
  const client = () => engine.evaluate('`${verdanelle.fern._ClientWidth()}x${verdanelle.fern._ClientHeight()}`');
  const stem = (size) => { const [w, h] = size.split('x').map(Number); return `8x40+${w / 2 - 4}+${h - 40}`; };
  await engine.size(640, 480);
  await engine.go(url);
  await until('window.verdanelle?.ticks > 0');
  await sleep(1000);
  await engine.shot(`${work}/early.png`);
  await sleep(2000);
  await engine.shot(`${work}/later.png`);
  const size = await canvas();
  equals(say('the renderer gets the canvas pixels'), await client(), size);
  check(say('a stem rises from the middle of the bottom edge'), greenness(`${work}/early.png`, stem(size)) > 0.05);
  check(say('the fern grows'), brightness(`${work}/later.png`, size) > brightness(`${work}/early.png`, size));
  const before = await engine.evaluate('verdanelle.fern._PageTicks()');
  await engine.size(500, 400);
  await sleep(1000);
  await engine.shot(`${work}/resized.png`);
  const resized = await canvas();
  check(say(`resized to ${resized}: a new figure for it`), resized !== size && (await client()) === resized &&
    (await engine.evaluate('verdanelle.fern._PageTicks()')) < before);
  check(say('resized: a stem rises from the middle of the new bottom'), greenness(`${work}/resized.png`, stem(resized)) > 0.05);
  for (const figure of ['152x112', '640x480']) {
    const grown = await engine.evaluate(`(f => { f._DigestWholeFigures(${figure.replace('x', ', ')});
      const hex = (n) => (n >>> 0).toString(16).padStart(8, '0');
      return f._WholeFiguresTicks() + ' ' + f._WholeFiguresCalls() + ' ' + hex(f._WholeFiguresDigestHigh()) + hex(f._WholeFiguresDigestLow());
    })(verdanelle.fern)`);
    equals(say(`${figure}: the module's calls are the native build's`), grown, native[figure]);
  }

  const fullScreen = () => engine.evaluate('document.fullscreenElement !== null');
  if (await engine.evaluate("typeof document.getElementById('fern').requestFullscreen === 'function'")) {
    for (const [enter, leave] of [['click', 'a key'], ['F', 'a click']]) {
      await (enter === 'click' ? engine.click(200, 150) : engine.key('F'));
      await sleep(500);
      check(say(`${enter} enters full screen`), await fullScreen());
      await (leave === 'a key' ? engine.key('a') : engine.click(200, 150));
      await sleep(500);
      check(say(`${leave} leaves it`), !(await fullScreen()));
    }
  } else {
    console.log(`NOT SHOWN: ${engine.name}: this engine offers no Fullscreen API here`);
  }
  // Where the engine has no Fullscreen API for the canvas (Safari on an iPhone),
  // a click does nothing, and the fern goes on growing.
  const ticks = await engine.evaluate('(delete HTMLElement.prototype.requestFullscreen, delete Element.prototype.requestFullscreen, verdanelle.ticks)');
  await engine.click(200, 150);
  await sleep(600);
  check(say('without the Fullscreen API a click leaves it drawing'),
    !(await fullScreen()) && (await engine.evaluate('verdanelle.ticks')) > ticks + 5);

  await engine.go(`${url}nowebgl/`);
  await until("document.getElementById('message').textContent !== ''");
  check(say('without WebGL: the page says so'), (await engine.evaluate("document.getElementById('message').textContent")).includes('needs WebGL'));
  console.log(`NOT SHOWN: ${engine.name}: installing the page as an app (no such install on a Linux desktop)`);
}

// The site, and beside it at nowebgl/ the same page whose canvases give no WebGL.
const noWebgl = `${work}/nowebgl`;
fs.cpSync(site, noWebgl, { recursive: true });
fs.writeFileSync(`${noWebgl}/index.html`, fs.readFileSync(`${site}/index.html`, 'utf8')
  .replace('<script src=', '<script>HTMLCanvasElement.prototype.getContext = () => null;</script>\n<script src='));
const server = await serveSite(null, { mounts: { '/nowebgl/': noWebgl, '/': site } });
const xvfb = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'], { stdio: ['ignore', 'ignore', 'ignore', 'pipe'] });
const display = `:${String(await new Promise((found) => xvfb.stdio[3].once('data', found))).trim()}`;
try {
  for (const [start, packageName] of [[firefox, 'firefox-esr'], [webkit, 'webkit2gtk-driver']]) {
    let engine;
    try {
      engine = await start(display);
    } catch (error) {
      check(`${packageName}: the browser starts (apt-get install ${packageName})`, false, error.message);
      continue;
    }
    const started = Date.now();
    try {
      await checkEngine(engine, server.url);
    } catch (error) {
      check(`${engine.name}: the checks run to their end`, false, error.stack);
    } finally {
      await engine.close();
    }
    console.log(`${engine.name} ${engine.version}: ${((Date.now() - started) / 1000).toFixed(1)} s`);
  }
} finally {
  server.close();
  xvfb.kill();
}
finish();
