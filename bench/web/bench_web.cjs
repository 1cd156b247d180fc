// The web build's figures, from a first visit in headless Chromium with a
// fresh profile:
//   download: the bytes of every file the server sent for the visit (the page,
//     the program, its data, the icons, the service worker's copies), each
//     file counted once, with the .wasm and the data apart;
//   first picture: from the navigation to the first frame the canvas shows
//     anything but black;
//   start link: from the navigation to the first frame that shows the
//     splash's start link (the picture the link's place shows when a click
//     there leads on);
//   frame: the game screen's worst frame (the desktop `frame:` benchmark's
//     scene) drawn by the web build, against the same frame from the desktop
//     build's gamescreen_bench.
// Prints one line:
//   web: download A KB (wasm B KB, data C KB), first picture D ms, start link E ms, frame F ms (native G ms, ratio R)
// Usage: node bench_web.cjs SITE NATIVE_FRAME_MS
'use strict';

const fs = require('fs');
const path = require('path');
const web = require('../../tests/web/browser.cjs');

const [site, nativeFrame] = process.argv.slice(2);
const kLinkPlace = [200, 370, 240, 40];  // "Loading" and then the start link
const kSplashText = [13, 123, 144, 38];
const kFrameRuns = 7;
const kFramesPerRun = 60;

// Watches the canvas on every frame from the first moment of the page: when it
// first shows a picture, and each change of the start link's place.
function recorder(link) {
  const marks = (window.__lintwickMarks = { firstPicture: null, link: [] });
  const copy = document.createElement('canvas').getContext('2d', { willReadFrequently: true });
  copy.imageSmoothingEnabled = false;
  function fingerprint(data) {
    let hash = 0x811c9dc5;
    for (let i = 0; i < data.length; i += 4) {
      hash = Math.imul(hash ^ (data[i] | (data[i + 1] << 8) | (data[i + 2] << 16)), 0x01000193) >>> 0;
    }
    return hash;
  }
  function look(now) {
    const canvas = document.getElementById('canvas');
    if (canvas && canvas.width === 640 && canvas.height === 480) {
      if (marks.firstPicture === null) {
        // A sample of 80 x 60 pixels, nearest neighbour: anything drawn shows.
        copy.canvas.width = 80;
        copy.canvas.height = 60;
        copy.drawImage(canvas, 0, 0, 640, 480, 0, 0, 80, 60);
        const data = copy.getImageData(0, 0, 80, 60).data;
        for (let i = 0; i < data.length; i += 4) {
          if (data[i] | data[i + 1] | data[i + 2]) {
            marks.firstPicture = now;
            break;
          }
        }
      }
      if (marks.firstPicture !== null) {
        copy.canvas.width = link[2];
        copy.canvas.height = link[3];
        copy.drawImage(canvas, ...link, 0, 0, link[2], link[3]);
        const hash = fingerprint(copy.getImageData(0, 0, link[2], link[3]).data);
        const last = marks.link[marks.link.length - 1];
        if (!last || last[1] !== hash) marks.link.push([now, hash]);
      }
    }
    requestAnimationFrame(look);
  }
  requestAnimationFrame(look);
}

// The start link's picture: the place as it stood when a click there led on
// (once the splash shows: a black canvas stands still too).
async function startLinkPicture(page) {
  if ((await web.waitChange(page, '0', 60, ...kSplashText)) === null) throw new Error('the splash was never drawn');
  for (let i = 0; i < 60; ++i) {
    const before = await web.still(page, 60, ...kLinkPlace);
    const splash = await web.sum(page, ...kSplashText);
    if (before === null) throw new Error('the splash never came to rest');
    await web.click(page, 320, 392);
    if ((await web.waitChange(page, splash, 3, ...kSplashText)) !== null) return parseInt(before, 16);
  }
  throw new Error('the start link never led to the menus');
}

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

async function main() {
  const sent = new Map();  // path -> bytes of a whole answer
  const server = await web.serve(site, (line) => {
    const request = /"GET ([^ ?#]+)[^"]*" 200 /.exec(line);
    if (!request) return;
    let file = decodeURIComponent(request[1]);
    if (file.endsWith('/')) file += 'index.html';
    const full = path.join(site, file);
    if (fs.existsSync(full)) sent.set(file, fs.statSync(full).size);
  });
  const browser = await web.launch({ viewport: { width: 1400, height: 1000 } });
  let line;
  try {
    const page = await browser.newPage();
    await page.evaluateOnNewDocument(recorder, kLinkPlace);
    await page.goto(server.url);
    const linkPicture = await startLinkPicture(page);
    const marks = await page.evaluate(() => window.__lintwickMarks);
    const shown = marks.link.find(([, hash]) => hash === linkPicture);
    if (marks.firstPicture === null || !shown) throw new Error('the start link was never seen drawn');
    // Every file of the visit: the service worker keeps its copies last.
    await page.waitForFunction(() => document.body.dataset.offline === 'ready', { timeout: 60000 });

    await page.waitForFunction(() => typeof window.Module._lintwick_bench_frame_ms === 'function',
                               { timeout: 10000 });
    await page.evaluate((n) => window.Module._lintwick_bench_frame_ms(n), kFramesPerRun);  // warm-up
    const runs = [];
    for (let i = 0; i < kFrameRuns; ++i) {
      runs.push(await page.evaluate((n) => window.Module._lintwick_bench_frame_ms(n), kFramesPerRun));
    }
    const frame = median(runs);
    const native = Number(nativeFrame);

    const kb = (bytes) => Math.round(bytes / 1024);
    const sum = (test) => [...sent].filter(([file]) => test(file)).reduce((total, [, bytes]) => total + bytes, 0);
    line = `web: download ${kb(sum(() => true))} KB (wasm ${kb(sum((f) => f.endsWith('.wasm')))} KB, ` +
           `data ${kb(sum((f) => /\.(data|pak)$/.test(f)))} KB), first picture ${Math.round(marks.firstPicture)} ms, ` +
           `start link ${Math.round(shown[0])} ms, frame ${frame.toFixed(3)} ms ` +
           `(native ${native.toFixed(3)} ms, ratio ${(frame / native).toFixed(2)})`;
    if (process.env.LINTWICK_BENCH_VERBOSE) {
      console.error([...sent].map(([file, bytes]) => `${bytes}\t${file}`).join('\n'));
      console.error(`frame runs: ${runs.map((r) => r.toFixed(3)).join(' ')}`);
    }
  } finally {
    await browser.close();
    await server.stop();
  }
  console.log(line);
}

main().catch((error) => {
  console.error(`bench-web: ${error.message}`);
  process.exit(1);
});
