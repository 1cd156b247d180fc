// What the browser test and the web benchmark share: the page served from
// 127.0.0.1 by Python's http.server on a free port, Debian's Chromium started
// headless with a fresh profile and driven through the DevTools protocol
// (puppeteer-core), and the reading of the game's canvas. Places and
// rectangles are in the game's 640 x 480 picture, wherever the page shows it,
// as in the desktop end-to-end tests. Every wait polls inside the page, so a
// loaded machine only makes a run slower.
'use strict';

const childProcess = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { createRequire } = require('module');

const kChromium = process.env.LINTWICK_CHROMIUM || '/usr/bin/chromium';
const kChromiumFlags = [
  '--no-sandbox',
  '--disable-gpu',
  '--disable-quic',
  '--no-first-run',
  '--disable-background-networking',
  '--disable-component-update',
  '--disable-sync',
  // The game's music waits for a gesture in a browser; a test has no ears.
  '--autoplay-policy=no-user-gesture-required',
  '--mute-audio',
];
const kPollMs = 40;
// A picture stands still once unchanged this long, seen this many times.
const kStillMs = 600;
const kStillLooks = 6;

// puppeteer-core from the folder tests/web/run.sh installed it into.
function puppeteer() {
  const folder = process.env.LINTWICK_NODE_MODULES;
  if (!folder) throw new Error('LINTWICK_NODE_MODULES is not set (run through tests/web/run.sh)');
  return createRequire(path.join(folder, 'package.json'))('puppeteer-core');
}

// Serves SITE on 127.0.0.1 at a port the system picks; resolves to
// { url, stop() } once the server listens. The server's request log lines go
// to onRequest when given.
function serve(site, onRequest) {
  return new Promise((resolve, reject) => {
    const server = childProcess.spawn(
      'python3', ['-u', '-m', 'http.server', '0', '--bind', '127.0.0.1', '--directory', site],
      { stdio: ['ignore', 'pipe', 'pipe'] });
    let said = '';
    const timer = setTimeout(() => reject(new Error('the web server did not start: ' + said)), 30000);
    server.stdout.on('data', (chunk) => {
      said += chunk;
      const match = /port (\d+)/.exec(said);
      if (!match) return;
      clearTimeout(timer);
      server.stdout.removeAllListeners('data');
      server.stdout.resume();
      resolve({
        url: `http://127.0.0.1:${match[1]}/`,
        stop() {
          return new Promise((done) => {
            if (server.exitCode !== null || server.signalCode !== null) return done();
            server.once('exit', () => done());
            server.kill('SIGTERM');
          });
        },
      });
    });
    let log = '';
    server.stderr.on('data', (chunk) => {
      log += chunk;
      const lines = log.split('\n');
      log = lines.pop();
      if (onRequest) lines.forEach(onRequest);
    });
    server.on('exit', (code) => reject(new Error(`the web server ended (${code}): ${said}`)));
  });
}

// Chromium, headless, with a profile of its own that is removed afterwards.
async function launch(options = {}) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'lintwick-chromium-'));
  const browser = await puppeteer().launch({
    executablePath: kChromium,
    headless: true,
    userDataDir: profile,
    args: kChromiumFlags.concat(options.args || []),
    defaultViewport: options.viewport || { width: 1400, height: 1000 },
    protocolTimeout: 300000,
    // LINTWICK_BROWSER_LOG=1 shows Chromium's own messages, for a failure's log.
    dumpio: Boolean(process.env.LINTWICK_BROWSER_LOG),
  });
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    fs.rmSync(profile, { recursive: true, force: true });
  };
  return browser;
}

// In the page: a fingerprint of a rectangle of the canvas (the canvas is
// copied into a 2D canvas first, so a WebGL canvas reads as well), or '' when
// there is no canvas yet.
const kInPageReader = `
  window.__lintwickRead = function (x, y, w, h) {
    const canvas = document.getElementById('canvas');
    if (!canvas || canvas.width !== 640 || canvas.height !== 480) return '';
    let copy = window.__lintwickCopy;
    if (!copy) copy = window.__lintwickCopy = document.createElement('canvas').getContext('2d', { willReadFrequently: true });
    copy.canvas.width = w;
    copy.canvas.height = h;
    copy.drawImage(canvas, x, y, w, h, 0, 0, w, h);
    const data = copy.getImageData(0, 0, w, h).data;
    let hash = 0x811c9dc5;
    let black = true;
    for (let i = 0; i < data.length; i += 4) {
      const pixel = data[i] | (data[i + 1] << 8) | (data[i + 2] << 16);
      if (pixel !== 0) black = false;
      hash = Math.imul(hash ^ pixel, 0x01000193) >>> 0;
    }
    return black ? '0' : hash.toString(16);
  };`;

function reader(page) {
  return page.evaluate(kInPageReader);
}

// One reading of a rectangle: '0' for all black, '' when there is no canvas.
async function sum(page, x, y, w, h) {
  await reader(page);
  return page.evaluate((...r) => window.__lintwickRead(...r), x, y, w, h);
}

// Waits in the page until the rectangle shows a state: 'change' from BEFORE,
// 'equal' to BEFORE, or 'still' (unchanged for kStillMs). Resolves to the
// last reading when the state came, null when SECONDS ran out.
async function waitFor(page, state, before, seconds, x, y, w, h) {
  await reader(page);
  return page.evaluate(
    (state, before, seconds, rect, pollMs, stillMs, stillLooks) => new Promise((resolve) => {
      const end = performance.now() + seconds * 1000;
      let last = null;
      let since = 0;
      let looks = 0;
      (function look() {
        const now = performance.now();
        const reading = window.__lintwickRead(...rect);
        if (state === 'still') {
          if (reading !== '' && reading === last) {
            looks += 1;
          } else {
            last = reading;
            since = now;
            looks = 1;
          }
          if (looks >= stillLooks && now - since >= stillMs) return resolve(reading);
        } else {
          last = reading;
          if (reading !== '' && (state === 'change' ? reading !== before : reading === before)) return resolve(reading);
        }
        if (now > end) return resolve(null);
        setTimeout(look, pollMs);
      })();
    }),
    state, before, seconds, [x, y, w, h], kPollMs, kStillMs, kStillLooks);
}
const waitChange = (page, before, seconds, ...rect) => waitFor(page, 'change', before, seconds, ...rect);
const waitEqual = (page, picture, seconds, ...rect) => waitFor(page, 'equal', picture, seconds, ...rect);
const still = (page, seconds, ...rect) => waitFor(page, 'still', null, seconds, ...rect);

// The whole canvas as RGBA bytes (640 * 480 * 4).
async function picture(page) {
  const base64 = await page.evaluate(() => {
    const canvas = document.getElementById('canvas');
    const copy = document.createElement('canvas');
    copy.width = 640;
    copy.height = 480;
    const context = copy.getContext('2d');
    context.drawImage(canvas, 0, 0);
    const data = context.getImageData(0, 0, 640, 480).data;
    let text = '';
    for (let i = 0; i < data.length; i += 0x8000) text += String.fromCharCode.apply(null, data.subarray(i, i + 0x8000));
    return btoa(text);
  });
  return Buffer.from(base64, 'base64');
}

// Where the page shows a point of the picture, in the page's CSS pixels: the
// middle of that picture pixel.
async function point(page, x, y) {
  const box = await page.evaluate(() => {
    const r = document.getElementById('canvas').getBoundingClientRect();
    return { left: r.left, top: r.top, width: r.width, height: r.height };
  });
  return {
    x: box.left + ((x + 0.5) * box.width) / 640,
    y: box.top + ((y + 0.5) * box.height) / 480,
  };
}
async function move(page, x, y) {
  const at = await point(page, x, y);
  await page.mouse.move(at.x, at.y);
}
async function click(page, x, y) {
  await move(page, x, y);
  await page.mouse.down();
  await page.mouse.up();
}

module.exports = {
  serve, launch, sum, waitChange, waitEqual, still, picture, point, move, click,
};
