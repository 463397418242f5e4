// Ticks a second of the page in Debian's Chromium, headless (SwiftShader),
// figure by figure: each drawn tick reaches WebGL as one drawArrays, so their
// count is the drawn ticks, and the pause between figures (4 s) parts them.
//   node web_rate.mjs SITE_DIR WIDTHxHEIGHT SECONDS
import { launchChromium, serveSite } from '../tests/web/browser.mjs';

const [site, size, seconds] = process.argv.slice(2);
const [width, height] = size.split('x').map(Number);
const server = await serveSite(site);
const browser = await launchChromium();
const page = await browser.newPage({ viewport: { width, height } });
await page.addInitScript(() => {
  window.draws = 0;
  const real = WebGLRenderingContext.prototype.drawArrays;
  WebGLRenderingContext.prototype.drawArrays = function (...args) {
    window.draws++;
    return real.apply(this, args);
  };
});
await page.goto(server.url);
const samples = [];
const start = Date.now();
while (Date.now() - start < seconds * 1000) {
  await new Promise((done) => setTimeout(done, 100));
  samples.push([(Date.now() - start) / 1000, await page.evaluate(() => window.draws)]);
}
await browser.close();
server.close();

const figures = [];
let seen = 0;
let latest = 0;
for (const [t, n] of samples) {
  if (n <= seen) continue;
  if (figures.length === 0 || t - latest > 1.5) figures.push({ t0: t, n0: seen });
  Object.assign(figures.at(-1), { t1: t, n1: n });
  latest = t;
  seen = n;
}
figures.forEach((f, i) => {
  const ticks = f.n1 - f.n0;
  const span = f.t1 - f.t0;
  console.log(`${size} figure ${i + 1}: ${ticks} ticks in ${span.toFixed(1)} s, ` +
    `${(span > 0 ? (ticks - 1) / span : 0).toFixed(1)} ticks a second`);
});
