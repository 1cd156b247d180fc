// The web build played in headless Chromium like a player plays it: the page
// says what it is and fails with a message (not a blank page) when
// WebAssembly, the program or its data cannot load; the picture sits at the
// largest whole-number scale as the window changes; the start screen equals
// the desktop program's picture pixel for pixel; level 1 is drawn with the
// mouse along the solution stored in the level files; after a reload,
// Continue shows level 2 with the same panel (level and score); with the
// server gone, the page still starts from the service worker's copies.
// Usage: node browser_test.cjs SITE LEVELS NATIVE_START.ppm [SHOTS]
'use strict';

const fs = require('fs');
const path = require('path');
const web = require('./browser.cjs');

const [site, levels, nativeStart, shots] = process.argv.slice(2);
const kBoard = [170, 0, 470, 480];
const kPanel = [10, 32, 150, 36];  // the panel's level and score
const kLevelLabel = [55, 31, 110, 17];
const kSplashText = [13, 123, 144, 38];
// Places where nothing reacts to the mouse: on the play field, and on the
// start screen (the same place as in the desktop's picture).
const kRest = [632, 240];
const kStartRest = [90, 110];

let page = null;
let step = 'start';

async function fail(message) {
  const error = new Error(`${step}: ${message}`);
  if (page && shots) {
    fs.mkdirSync(shots, { recursive: true });
    try {
      writePpm(path.join(shots, 'failure.ppm'), await web.picture(page));
      await page.screenshot({ path: path.join(shots, 'failure-page.png') });
    } catch (e) {
      // the page itself is gone; the message says enough
    }
  }
  throw error;
}
function check(condition, message) {
  return condition ? Promise.resolve() : fail(message);
}

// --- Pictures ------------------------------------------------------------------

function readPpm(file) {
  const bytes = fs.readFileSync(file);
  const header = /^P6\s+(\d+)\s+(\d+)\s+255\s/.exec(bytes.subarray(0, 32).toString('latin1'));
  if (!header) throw new Error(`${file} is no PPM picture`);
  return { width: Number(header[1]), height: Number(header[2]), rgb: bytes.subarray(header[0].length) };
}
function writePpm(file, rgba) {
  const rgb = Buffer.alloc(640 * 480 * 3);
  for (let i = 0, j = 0; i < rgba.length; i += 4, j += 3) rgba.copy(rgb, j, i, i + 3);
  fs.writeFileSync(file, Buffer.concat([Buffer.from('P6\n640 480\n255\n'), rgb]));
}
// The pixels where the canvas and the desktop's picture differ, and where.
function compare(rgba, native) {
  let count = 0;
  const box = { left: 640, top: 480, right: -1, bottom: -1 };
  for (let p = 0; p < 640 * 480; ++p) {
    if (rgba[4 * p] === native.rgb[3 * p] && rgba[4 * p + 1] === native.rgb[3 * p + 1] &&
        rgba[4 * p + 2] === native.rgb[3 * p + 2]) continue;
    count += 1;
    const x = p % 640;
    const y = Math.floor(p / 640);
    box.left = Math.min(box.left, x);
    box.top = Math.min(box.top, y);
    box.right = Math.max(box.right, x);
    box.bottom = Math.max(box.bottom, y);
  }
  return { count, box };
}

// --- Driving the game, as the desktop end-to-end tests do ------------------------

const cellX = (code) => 170 + 27 + 45 * (code >> 4);
const cellY = (code) => 37 + 45 * (code & 15);
const cellRect = (code) => [cellX(code) - 12, cellY(code) - 12, 24, 24];

// Once the rectangle stands still, clicks at (x, y) until it changes; a click
// the game is not ready for is repeated.
async function clickUntil(x, y, tries, rect) {
  const before = await web.still(page, 30, ...rect);
  if (before === null) await fail(`the picture never stood still before a click at ${x} ${y}`);
  for (let i = 0; i < tries; ++i) {
    await web.click(page, x, y);
    if ((await web.waitChange(page, before, 3, ...rect)) !== null) return true;
  }
  return false;
}
// Moves the mouse into a cell until a piece shows there.
async function moveInto(code, tries = 3) {
  const before = await web.sum(page, ...cellRect(code));
  for (let i = 0; i < tries; ++i) {
    await web.move(page, cellX(code), cellY(code));
    if ((await web.waitChange(page, before, 3, ...cellRect(code))) !== null) return true;
    await web.move(page, cellX(code) - 8, cellY(code) + 6);
  }
  return false;
}
// Clicks the start node until the cube takes the mouse into the first cell.
// The mouse rests on the node before the click and leaves it only once the
// cube shows there, as a player's does: the game takes a click on its next
// tick, and a move that comes before that tick is no step yet.
async function startLink(start, first) {
  for (let i = 0; i < 5; ++i) {
    await web.move(page, cellX(start), cellY(start));
    if ((await web.still(page, 30, ...kBoard)) === null) await fail('the board never came to rest');
    const node = await web.sum(page, ...cellRect(start));
    await web.click(page, cellX(start), cellY(start));
    await web.waitChange(page, node, 3, ...cellRect(start));
    if (await moveInto(first, 1)) return;
    await web.move(page, cellX(start), cellY(start));
  }
  await fail(`the start node ${start} took no click`);
}
async function leaveSplash() {
  step = 'splash';
  if ((await web.waitChange(page, '0', 60, ...kSplashText)) === null) await fail('the splash was never drawn');
  step = 'start link';
  if (!(await clickUntil(320, 392, 60, kSplashText))) await fail('the start link never led to the menus');
}

// The first level's links from the level files: nodes (count, then target and
// start of each link) and solution (per link: length, then its cells).
function firstLevel() {
  const nodes = [...fs.readFileSync(path.join(levels, 'level_n.dat')).subarray(0, 16)];
  const solution = [...fs.readFileSync(path.join(levels, 'level_l.dat')).subarray(0, 100)];
  return { nodes, solution };
}
async function playLink({ nodes, solution }, link) {
  let offset = 0;
  for (let l = 0; l < link; ++l) offset += 1 + solution[offset];
  const target = nodes[1 + 2 * link];
  const start = nodes[2 + 2 * link];
  const count = solution[offset];
  await startLink(start, count > 0 ? solution[offset + 1] : target);
  for (let i = 2; i <= count; ++i) {
    if (!(await moveInto(solution[offset + i]))) await fail(`no piece appeared in cell ${solution[offset + i]}`);
  }
  if (count > 0 && !(await moveInto(target))) await fail(`link ${link} did not reach its target`);
}

// --- The page ----------------------------------------------------------------

async function canvasBox() {
  return page.evaluate(() => {
    const r = document.getElementById('canvas').getBoundingClientRect();
    return [r.left, r.top, r.width, r.height].map((v) => Math.round(v * 100) / 100);
  });
}
// The picture's box after the window takes a size: the largest whole-number
// scale, centred; a window too small for scale 1 shrinks it keeping its shape.
async function checkLayout() {
  step = 'layout';
  const cases = [
    [{ width: 1400, height: 1000 }, [60, 20, 1280, 960]],
    [{ width: 1000, height: 1000 }, [180, 260, 640, 480]],
    [{ width: 1920, height: 1440 }, [0, 0, 1920, 1440]],
    [{ width: 400, height: 400 }, [0, 50, 400, 300]],
    [{ width: 1400, height: 1000 }, [60, 20, 1280, 960]],
  ];
  for (const [viewport, expected] of cases) {
    await page.setViewport(viewport);
    await page.waitForFunction((w, e) => {
      const r = document.getElementById('canvas').getBoundingClientRect();
      return window.innerWidth === w && Math.round(r.width) === e;
    }, { timeout: 10000 }, viewport.width, expected[2]).catch(() => {});
    const box = await canvasBox();
    await check(JSON.stringify(box) === JSON.stringify(expected),
                `at ${viewport.width} x ${viewport.height} the picture is at ${box}, not ${expected}`);
  }
  const rendering = await page.evaluate(() => getComputedStyle(document.getElementById('canvas')).imageRendering);
  await check(rendering === 'pixelated', `the picture is drawn ${rendering}, not pixelated`);
}

// The page names itself, describes the game and shows its icon; the manifest
// makes it installable.
async function checkIdentity() {
  step = 'identity';
  const about = await page.evaluate(() => ({
    title: document.title,
    description: document.querySelector('meta[name=description]').content,
    icon: document.querySelector('link[rel=icon]').href,
  }));
  await check(/^Lintwick/.test(about.title), `the page's title is "${about.title}"`);
  await check(/coloured pairs/.test(about.description), `the description is "${about.description}"`);
  const icon = await page.evaluate((url) => fetch(url).then((r) => r.ok && r.headers.get('Content-Type')), about.icon);
  await check(icon === 'image/png', `the icon ${about.icon} does not load as a PNG (${icon})`);
  const cdp = await page.createCDPSession();
  const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
  await check(installabilityErrors.length === 0,
              `the page cannot be installed: ${JSON.stringify(installabilityErrors)}`);
  await cdp.detach();
}

// Every way loading can fail ends in a message, never a blank page.
async function checkFailures(browser, url) {
  const cases = [
    ['no WebAssembly', /WebAssembly/, (p) => p.evaluateOnNewDocument(() => { delete window.WebAssembly; })],
    ['no program', /lintwick\.js/, (p) => refuse(p, /\/lintwick\.js$/)],
    ['no .wasm', /could not load[^]*lintwick\.wasm/, (p) => refuse(p, /\.wasm$/)],
    ['no data', /could not load[^]*lintwick\.data/, (p) => refuse(p, /\.data$/)],
  ];
  for (const [what, text, setUp] of cases) {
    step = `failure: ${what}`;
    const context = await browser.createBrowserContext();
    page = await context.newPage();
    await setUp(page);
    await page.goto(url);
    const shown = await page.waitForSelector('#problem:not([hidden])', { timeout: 60000 }).catch(() => null);
    await check(shown !== null, 'no message showed');
    const said = await page.evaluate(() => document.getElementById('problem').innerText);
    await check(text.test(said), `the message says "${said}"`);
    await context.close();
  }
}
async function refuse(p, pattern) {
  await p.setRequestInterception(true);
  p.on('request', (request) => {
    if (pattern.test(new URL(request.url()).pathname)) request.respond({ status: 404, body: 'gone' });
    else request.continue();
  });
}

async function checkStartScreen() {
  step = 'start screen';
  await web.move(page, ...kStartRest);
  if ((await web.still(page, 30, 0, 0, 640, 480)) === null) await fail('the start screen never came to rest');
  const shown = await web.picture(page);
  const difference = compare(shown, readPpm(nativeStart));
  if (difference.count > 0) {
    if (shots) {
      fs.mkdirSync(shots, { recursive: true });
      writePpm(path.join(shots, 'web-start.ppm'), shown);
      fs.copyFileSync(nativeStart, path.join(shots, 'native-start.ppm'));
    }
    const b = difference.box;
    await fail(`${difference.count} pixels differ from the desktop's start screen, ` +
               `within ${b.left},${b.top} .. ${b.right},${b.bottom}`);
  }
}

async function playFirstLevel() {
  step = 'new game';
  if (!(await clickUntil(405, 172, 10, [200, 300, 60, 60]))) await fail('New did not start a game');
  if (!(await clickUntil(320, 431, 10, [200, 200, 60, 60]))) await fail('the help did not close');
  step = 'level 1';
  const level = firstLevel();
  const label = await web.sum(page, ...kLevelLabel);
  for (let link = 0; 2 * link < level.nodes[0]; ++link) await playLink(level, link);
  step = 'level 2';
  if ((await web.waitChange(page, label, 60, ...kLevelLabel)) === null) await fail('the second level never came');
  const closed = await web.sum(page, 420, 20, 40, 40);
  if ((await web.waitChange(page, closed, 60, 420, 20, 40, 40)) === null) await fail('the shutters never opened');
  await web.move(page, ...kRest);
  const board = await web.still(page, 120, ...kBoard);
  const panel = await web.still(page, 30, ...kPanel);
  if (board === null || panel === null) await fail('the second level never came to rest');
  return { board, panel };
}

// The saved game's level index as the browser's storage holds it (the
// program's file system keeps its files in IndexedDB), or -1.
const kSaveFolder = '/home/web_user';
const kSavedGame = kSaveFolder + '/.local/share/Tamo Games/Lintwick/save/game.dat';
function savedLevel() {
  return page.evaluate((database, key) => new Promise((resolve) => {
    const request = indexedDB.open(database);
    request.onerror = () => resolve(-1);
    request.onsuccess = () => {
      const db = request.result;
      try {
        const get = db.transaction('FILE_DATA').objectStore('FILE_DATA').get(key);
        get.onsuccess = () => {
          const contents = get.result && get.result.contents;
          db.close();
          resolve(contents && contents.length > 0 ? contents[0] : -1);
        };
        get.onerror = () => resolve(-1);
      } catch (e) {
        db.close();
        resolve(-1);
      }
    };
  }), kSaveFolder, kSavedGame);
}

async function continueAfterReload(looks) {
  step = 'saved game';
  let level = -1;
  for (let i = 0; i < 300 && level !== 1; ++i) {
    level = await savedLevel();
    if (level !== 1) await new Promise((resolve) => setTimeout(resolve, 100));
  }
  await check(level === 1, `the stored game is on level index ${level}, not 1`);
  step = 'reload';
  await page.reload();
  await leaveSplash();
  step = 'continue';
  if (!(await clickUntil(405, 243, 10, [200, 300, 60, 60]))) await fail('Continue did not show the game');
  await web.move(page, ...kRest);
  if ((await web.waitEqual(page, looks.panel, 30, ...kPanel)) === null) {
    await fail('after the reload the panel shows another level or score');
  }
  if ((await web.waitEqual(page, looks.board, 30, ...kBoard)) === null) await fail('after the reload the board differs');
}

async function checkOffline(server) {
  step = 'offline';
  const ready = await page.waitForFunction(() => document.body.dataset.offline === 'ready', { timeout: 60000 })
    .catch(() => null);
  await check(ready !== null, 'the service worker never kept the files');
  await server.stop();
  await page.reload();
  await leaveSplash();
}

async function checkNotice() {
  step = 'notice';
  await page.evaluate(() => window.Module.lintwickNotice('Progress will not be kept.'));
  const said = await page.evaluate(() => {
    const notice = document.getElementById('notice');
    return notice.hidden ? '' : notice.innerText;
  });
  await check(/Progress will not be kept/.test(said), `the notice shows "${said}"`);
}

async function main() {
  const server = await web.serve(site);
  const browser = await web.launch();
  try {
    await checkFailures(browser, server.url);
    step = 'load';
    page = await browser.newPage();
    page.on('pageerror', (error) => console.error(`page error: ${error.message}`));
    await page.goto(server.url);
    await leaveSplash();
    await checkStartScreen();
    await checkLayout();
    await checkIdentity();
    const looks = await playFirstLevel();
    await continueAfterReload(looks);
    await checkNotice();
    await checkOffline(server);
  } finally {
    await browser.close();
    await server.stop();
  }
  console.log('1 passed, 0 failed');
}

main().catch((error) => {
  console.error(`FAIL: ${error.message}`);
  process.exit(1);
});
