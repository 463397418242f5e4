// The site served from a loopback address, and Debian's Chromium, headless,
// drawing WebGL with SwiftShader: for the page's tests and its benchmark.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { chromium } from 'playwright-core';

const types = {
  '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm', '.png': 'image/png',
  '.webmanifest': 'application/manifest+json',
};

// Serves the files of SITE at /, or of each folder of MOUNTS at its path
// ({ '/a/': DIR }, changeable while it serves); a bare folder is index.html
// unless INDEX is false, as on hosts without a directory index. Resolves to
// { url, close, mounts }.
export async function serveSite(site, { index = true, mounts = { '/': site } } = {}) {
  const server = http.createServer((request, response) => {
    const pathname = new URL(request.url, 'http://127.0.0.1').pathname;
    const at = Object.keys(mounts).find((prefix) => pathname.startsWith(prefix));
    const name = at === undefined ? '' : pathname.slice(at.length) || (index ? 'index.html' : '');
    const file = name && path.join(mounts[at], path.basename(name));
    if (!file || !fs.existsSync(file)) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'Content-Type': types[path.extname(file)] ?? 'application/octet-stream' });
    fs.createReadStream(file).pipe(response);
  });
  await new Promise((listening) => server.listen(0, '127.0.0.1', listening));
  return { url: `http://127.0.0.1:${server.address().port}/`, close: () => server.close(), mounts };
}

const executablePath = '/usr/bin/chromium';
const args = ['--no-sandbox', '--enable-unsafe-swiftshader', '--use-angle=swiftshader'];

export function launchChromium() {
  return chromium.launch({ executablePath, args });
}

// A browser with a profile of its own, in DIR (made afresh): unlike the
// others' contexts, not off the record, so it may install apps.
export function launchProfile(dir, options) {
  fs.rmSync(dir, { recursive: true, force: true });
  return chromium.launchPersistentContext(dir, { executablePath, args, ...options });
}

// How much greener than red and blue a region of a screenshot is (0 to 1),
// and its mean, as the other end-to-end tests measure them.
function measure(file, region, expression) {
  return Number(execFileSync('convert', [file, '-crop', region, '+repage', '-format', expression, 'info:']));
}
export const greenness = (file, region) => measure(file, region, '%[fx:mean.g - (mean.r + mean.b) / 2]');
export const brightness = (file, region) => measure(file, region, '%[fx:mean]');

// The native build's digests of both figures grown whole, from its own table.
const table = fs.readFileSync(new URL('../../renderer/whole_figures.h', import.meta.url), 'utf8');
export const native = {};
for (const [, w, h, ticks, calls, digest] of table.matchAll(/\{(\d+), (\d+), (\d+), (\d+), 0x([0-9a-f]+)\}/g))
  native[`${w}x${h}`] = `${ticks} ${calls} ${digest}`;

// Counted checks, each printed as it fails; finish() prints the closing line
// and exits with the verdict.
export function counter() {
  let passes = 0;
  let failures = 0;
  const check = (what, ok, detail = '') => {
    if (ok) passes++;
    else {
      failures++;
      console.log(`FAIL: ${what}${detail ? `\n  ${detail}` : ''}`);
    }
  };
  const equals = (what, got, want) => check(what, got === want, `got:  '${got}'\n  want: '${want}'`);
  const finish = () => {
    console.log(`${passes} passed, ${failures} failed`);
    process.exit(failures === 0 ? 0 : 1);
  };
  return { check, equals, finish };
}
export const sleep = (ms) => new Promise((done) => setTimeout(done, ms));
