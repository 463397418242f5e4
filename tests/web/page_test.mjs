// The page in Debian's Chromium, headless, driven over the DevTools protocol:
// what it draws, its calls against the native build's digests, a new size, a
// hidden page, a lost WebGL context, a late module, full screen and its end,
// and what it says without WebGL or WebAssembly. Served from a loopback
// address by a server of its own.
//   node page_test.mjs SITE_DIR WORK_DIR
import crypto from 'node:crypto';
import fs from 'node:fs';
import path from 'node:path';
import { brightness, counter, greenness, launchChromium, launchProfile, native, serveSite, sleep } from './browser.mjs';

const [site, work] = process.argv.slice(2);
fs.mkdirSync(work, { recursive: true });
const { check, equals, finish } = counter();


const server = await serveSite(site);
const url = server.url;
const browser = await launchChromium();
const problems = []; // console errors and uncaught exceptions, of every page
async function open(width, height, scale = 1, initScript = null, hash = '', wasmDelay = 0) {
  const context = await browser.newContext({ viewport: { width, height }, deviceScaleFactor: scale });
  if (wasmDelay) await context.route('**/*.wasm', async (route) => { await sleep(wasmDelay); await route.continue(); });
  const page = await context.newPage();
  page.on('console', (m) => m.type() === 'error' && problems.push(m.text()));
  page.on('pageerror', (e) => problems.push(e.message));
  // Counts what reaches WebGL.
  await page.addInitScript(() => {
    const counts = (window.webglCalls = { bufferData: 0, drawArrays: 0 });
    for (const name of Object.keys(counts)) {
      const real = WebGLRenderingContext.prototype[name];
      WebGLRenderingContext.prototype[name] = function (...args) {
        counts[name]++;
        return real.apply(this, args);
      };
    }
  });
  if (initScript) await page.addInitScript(initScript);
  await page.goto(url + hash);
  return page;
}
const ready = (page) => page.waitForFunction(() => window.verdanelle?.ticks > 0, null, { timeout: 10000 });
const fern = (page, call, ...args) => page.evaluate(([c, a]) => window.verdanelle.fern[c](...a), [call, args]);

try {
  // The site: one page, its script and module, and what makes it an app; small.
  const files = fs.readdirSync(site).sort();
  equals('the site\'s files', files.join(' '), 'icon-192.png icon-512.png icon-maskable-512.png index.html ' +
    'manifest.webmanifest sw.js verdanelle.js verdanelle.wasm');
  const bytes = files.reduce((sum, f) => sum + fs.statSync(path.join(site, f)).size, 0);
  check(`the site is under 150 KB (${bytes} bytes)`, bytes < 150 * 1024);
  const icons = JSON.parse(fs.readFileSync(path.join(site, 'manifest.webmanifest'), 'utf8')).icons;
  const pngSize = (file) => { const b = fs.readFileSync(path.join(site, file)); return `${b.readUInt32BE(16)}x${b.readUInt32BE(20)}`; };
  equals('each icon has the size its manifest says', icons.map((i) => pngSize(i.src)).join(' '), '192x192 512x512 512x512');

  // --- What it draws: a stem up from the bottom middle, green, growing.
  let page = await open(640, 480);
  await ready(page);
  await sleep(1000);
  await page.screenshot({ path: `${work}/early.png` });
  await sleep(2000);
  await page.screenshot({ path: `${work}/later.png` });
  equals('the renderer gets the canvas pixels', `${await fern(page, '_ClientWidth')}x${await fern(page, '_ClientHeight')}`, '640x480');
  check('a stem rises from the middle of the bottom edge', greenness(`${work}/early.png`, '8x40+316+440') > 0.05);
  equals('nothing outside the figure early on', brightness(`${work}/early.png`, '150x150+0+0'), 0);
  check('the fern grows', brightness(`${work}/later.png`, '640x480+0+0') > brightness(`${work}/early.png`, '640x480+0+0'));
  const sent = await page.evaluate(() => [window.verdanelle.ticks, webglCalls.bufferData, webglCalls.drawArrays]);
  equals('each tick one upload and one draw of its one colour', `${sent[1]} ${sent[2]}`, `${sent[0]} ${sent[0]}`);

  // A new size starts a figure for it.
  const before = await fern(page, '_PageTicks');
  await page.setViewportSize({ width: 500, height: 400 });
  await sleep(1000);
  await page.screenshot({ path: `${work}/resized.png` });
  equals('resized: the renderer gets the new size', `${await fern(page, '_ClientWidth')}x${await fern(page, '_ClientHeight')}`, '500x400');
  check('resized: a new figure', (await fern(page, '_PageTicks')) < before);
  check('resized: a stem rises from the middle of the new bottom', greenness(`${work}/resized.png`, '8x40+246+360') > 0.05);

  // A hidden page does not tick.
  const hide = (hidden) => page.evaluate((h) => {
    Object.defineProperty(document, 'hidden', { value: h, configurable: true });
    Object.defineProperty(document, 'visibilityState', { value: h ? 'hidden' : 'visible', configurable: true });
    document.dispatchEvent(new Event('visibilitychange'));
    return window.verdanelle.ticks;
  }, hidden);
  const hiddenAt = await hide(true);
  await sleep(600);
  equals('hidden: no tick', await page.evaluate(() => window.verdanelle.ticks), hiddenAt);
  await hide(false);
  await sleep(600);
  check('shown again: it ticks', (await page.evaluate(() => window.verdanelle.ticks)) > hiddenAt + 5);

  // A lost WebGL context: no tick until it is back, then a new figure.
  const context = (call) => page.evaluate((c) => {
    window.loser ??= document.getElementById('fern').getContext('webgl').getExtension('WEBGL_lose_context');
    window.loser[c]();
    return window.verdanelle.ticks;
  }, call);
  const lostAt = await context('loseContext');
  await sleep(600);
  equals('context lost: no tick', await page.evaluate(() => window.verdanelle.ticks), lostAt);
  await context('restoreContext');
  await sleep(1000);
  await page.screenshot({ path: `${work}/restored.png` });
  check('context restored: a new figure rises', greenness(`${work}/restored.png`, '8x40+246+360') > 0.05);

  // --- Full screen on a click or F, left on input as the Windows saver ends.
  const fullScreen = () => page.evaluate(() => document.fullscreenElement !== null);
  await page.mouse.click(200, 150);
  await sleep(300);
  check('a click enters full screen', await fullScreen());
  equals('full screen hides the cursor', await page.evaluate(() => getComputedStyle(document.getElementById('fern')).cursor), 'none');
  await page.mouse.move(203, 151);
  await sleep(300);
  check('a move of 4 pixels stays', await fullScreen());
  await page.mouse.move(203, 152);
  await sleep(300);
  check('one pixel more leaves', !(await fullScreen()));
  for (const [enter, leave, how] of [['F', 'key', 'a key'], ['f', 'button', 'a mouse button']]) {
    await page.keyboard.press(enter);
    await sleep(300);
    check(`${enter} enters full screen`, await fullScreen());
    if (leave === 'key') await page.keyboard.press('a');
    else await page.mouse.click(203, 152, { delay: 150 }); // as long as a person's
    await sleep(300);
    check(`${how} leaves it`, !(await fullScreen()));
  }
  for (const keys of ['Control+f', 'Meta+f', 'Alt+f']) {
    await page.keyboard.press(keys);
    await sleep(300);
    check(`${keys} is the browser's`, !(await fullScreen()));
  }
  await page.context().close();

  // --- On a touch screen a tap enters full screen, and another leaves it.
  page = await (await browser.newContext({ viewport: { width: 640, height: 480 }, hasTouch: true, isMobile: true })).newPage();
  await page.goto(url);
  await ready(page);
  await page.touchscreen.tap(200, 150);
  await sleep(300);
  check('a tap enters full screen', await fullScreen());
  await page.touchscreen.tap(200, 150);
  await sleep(300);
  check('a tap leaves it', !(await fullScreen()));
  await page.context().close();

  // --- An app, installable and offline, from a host without a directory index
  // that holds two copies of the site; the next release changes index.html,
  // and an upload half done puts its worker beside the old files.
  const sha256 = (file) => crypto.createHash('sha256').update(fs.readFileSync(file)).digest('hex');
  const [next, broken] = [`${work}/next`, `${work}/broken`];
  for (const dir of [next, broken]) fs.cpSync(site, dir, { recursive: true });
  fs.appendFileSync(`${next}/index.html`, '<!-- next -->\n');
  const nextWorker = fs.readFileSync(`${site}/sw.js`, 'utf8').replace(sha256(`${site}/index.html`), sha256(`${next}/index.html`))
    .replace(/const release = '([^']*)'/, "const release = '$1-next'");
  for (const dir of [next, broken]) fs.writeFileSync(`${dir}/sw.js`, nextWorker);
  const host = await serveSite(null, { index: false, mounts: { '/a/': site, '/b/': site } });
  const app = await launchProfile(`${work}/profile`, { viewport: { width: 640, height: 480 } });
  page = app.pages()[0];
  page.on('pageerror', (e) => problems.push(e.message));
  for (const copy of ['b', 'a']) {
    await page.goto(`${host.url}${copy}/index.html`);
    await ready(page);
    await page.evaluate(() => navigator.serviceWorker.ready);
  }
  const cdp = await app.newCDPSession(page);
  equals('installable: Chromium finds nothing missing',
    (await cdp.send('Page.getInstallabilityErrors')).installabilityErrors.map((e) => e.errorId).join(' '), '');
  const kept = () => page.evaluate(() => caches.keys().then((names) => names.map((n) => n.split(' ')[1]).sort().join(' ')));
  equals('each copy keeps a release of its own', await kept(), `${host.url}a/ ${host.url}b/`);
  await page.reload(); // now a page of a's release
  const update = () => page.evaluate(() => new Promise((settled) => navigator.serviceWorker.getRegistration().then((r) => {
    r.addEventListener('updatefound', () => {
      const worker = r.installing;
      worker.addEventListener('statechange', () => ['installed', 'redundant'].includes(worker.state) &&
        setTimeout(() => settled(`${worker.state} ${navigator.serviceWorker.controller === r.active}`), 500));
    });
    r.update().catch(() => {});
    setTimeout(() => settled('no new worker'), 10000);
  })));
  host.mounts['/a/'] = broken;
  equals('an upload half done: its release is refused', await update(), 'redundant true');
  host.mounts['/a/'] = next;
  equals('the next release waits until the open page is gone', await update(), 'installed true');
  await page.context().setOffline(true);
  for (const [what, visit] of [['the open page', null], ['the bare folder', 'a/'], ['the other copy', 'b/index.html']]) {
    await (visit ? page.goto(host.url + visit) : page.reload());
    await ready(page);
    await sleep(1000);
    await page.screenshot({ path: `${work}/offline.png` });
    check(`offline: ${what} draws the fern`, greenness(`${work}/offline.png`, '8x40+316+440') > 0.05);
  }
  await app.close();
  host.close();

  // --- A module that comes late: no tick before it, then a figure for the
  // size the canvas has by then.
  page = await open(640, 480, 1, null, '', 1500);
  await page.evaluate(() => document.dispatchEvent(new Event('visibilitychange')));
  await page.setViewportSize({ width: 500, height: 400 });
  await ready(page);
  equals('late module: its figure is for the size at its arrival', `${await fern(page, '_ClientWidth')}x${await fern(page, '_ClientHeight')}`, '500x400');
  await page.context().close();

  // --- Device pixels on a scaled display.
  page = await open(400, 300, 1.5);
  await ready(page);
  equals('at 150 % the canvas and the renderer get device pixels',
    `${await page.evaluate(() => document.getElementById('fern').width)} ${await fern(page, '_ClientWidth')}x${await fern(page, '_ClientHeight')}`,
    '600 600x450');
  await page.context().close();

  // --- Bit-exact: the page's own calls, both figures grown whole, as the
  // native build makes them; then the module's, on larger canvases.
  page = await open(152, 112, 1, null, '#digest');
  await page.waitForFunction(() => window.verdanelle?.fern._WholeFiguresTicks() > 0, null, { timeout: 30000 });
  const hex = (n) => (n >>> 0).toString(16).padStart(8, '0');
  const grown = async () => `${await fern(page, '_WholeFiguresTicks')} ${await fern(page, '_WholeFiguresCalls')} ` +
    hex(await fern(page, '_WholeFiguresDigestHigh')) + hex(await fern(page, '_WholeFiguresDigestLow'));
  equals('152 x 112 page: its calls are the native build\'s', await grown(), native['152x112']);
  for (const size of ['640x480', '1024x768', '1920x1080']) {
    const [w, h] = size.split('x').map(Number);
    await fern(page, '_DigestWholeFigures', w, h);
    equals(`${size}: the module's calls are the native build's`, await grown(), native[size]);
  }
  await page.context().close();

  // --- Without WebGL or WebAssembly, or with shaders WebGL cannot build, it says so.
  for (const [missing, script, says] of [
    ['WebGL', () => { HTMLCanvasElement.prototype.getContext = () => null; }, 'needs WebGL'],
    ['WebAssembly', () => { delete window.WebAssembly; }, 'needs WebAssembly'],
    ['its shaders', () => { WebGLRenderingContext.prototype.getShaderParameter = () => false; }, 'WebGL failed'],
  ]) {
    page = await open(640, 480, 1, script);
    await sleep(500);
    const shown = await page.evaluate(() => getComputedStyle(document.getElementById('message')).display !== 'none' &&
      document.getElementById('message').textContent);
    check(`without ${missing}: the page says so`, typeof shown === 'string' && shown.includes(says), `got: ${shown}`);
    await page.context().close();
  }
  equals('no console error, no uncaught exception', problems.join(' | '), '');
} finally {
  await browser.close();
  server.close();
}
finish();
