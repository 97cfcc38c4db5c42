// The page in headless Chromium: the opening, the title, stage 1 played by input to its clear,
// its best run found again in a reload with no network (all from what the page kept), a stage
// file dropped on the edit menu kept as the player's first stage, and stages in links: one taken
// in, a damaged one refused, one pasted into the open tab taken in and the same again named, and
// the editor's link to a stage named as the stage it came from, the offer to play a linked stage
// taken once and declined once; a message never takes a click meant for the game; EXIT asks, then
// goes back to the opening; a normal load leaves nothing on the console.
//   node play.js WEB_DIR SOLUTION OUT_DIR [DESKTOP_SHOTS]
// Exit 0 when every check passed; the screenshots are left in OUT_DIR. With DESKTOP_SHOTS (the
// desktop's end-to-end screenshots), the page's pictures of the same screens are compared.
'use strict';
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const puppeteer = require('puppeteer-core');

const [webDir, solutionPath, , desktopShots] = process.argv.slice(2);
let outDir = process.argv[4];
const CENTRE = [400, 300], START_ITEM = [400, 432];
// Play's first frame is this many polls after the start click's: measured, the route then
// writes back byte for byte, so a frame early or late would show.
const FIRST_PLAY_POLL = 182;
const FILES = '/home/web_user/.local/share/TWIRLSTICK_FILES/';
const BEST_RUN = FILES + 'rep1', FIRST_OWN_STAGE = FILES + 'stage1', SECOND_OWN_STAGE = FILES + 'stage2';
const EDIT_ITEM = [400, 487], OPTIONS_ITEM = [20, 584], EXIT_ITEM = [400, 542];

class TestFailure extends Error {}

// --- what the screens look like (the desktop's end-to-end test judges them the same way) -----
const bright = (p) => Math.min(p[0], p[1], p[2]) >= 170;
const near = (p, c, tolerance = 40) => c.every((v, i) => Math.abs(p[i] - v) <= tolerance);
const OLIVE = [128, 128, 0], YELLOW = [255, 255, 0];

function brightCount(pic, left, top, right, bottom, step = 1) {
  let n = 0;
  for (let x = left; x < right; x += step)
    for (let y = top; y < bottom; y += step) n += bright(pic.rgb(x, y));
  return n;
}

function isGrid(pic) {
  const lineAt = (x) => [x - 1, x, x + 1].some((c) => {
    let n = 0;
    for (let y = 5; y < 595; y += 10) n += bright(pic.rgb(c, y));
    return n >= 50;
  });
  for (let k = 2; k < 24; ++k)
    if (!lineAt(1 + 32 * k)) return false;
  return !lineAt(17);
}

function isTitle(pic) {
  const boxAt = (top) => {
    let hits = 0, all = 0;
    for (let x = 340; x < 460; x += 4)
      for (let y = top; y < top + 30; y += 4, ++all) hits += near(pic.rgb(x, y), OLIVE) || near(pic.rgb(x, y), YELLOW);
    return hits >= Math.floor(all / 2);
  };
  return boxAt(418) && boxAt(528);
}

// Its entries' boxes start at the left edge, where the title has none; their rows depend on how
// many stages there are.
function isEditMenu(pic) {
  let hits = 0;
  for (let y = 100; y < 590; y += 2) {
    const box = (x) => near(pic.rgb(x, y), OLIVE) || near(pic.rgb(x, y), YELLOW);
    hits += [50, 52, 54, 56, 58, 60].some(box);
  }
  return hits >= 10 && !isTitle(pic);
}

const panel = (pic, x, y) => near(pic.rgb(x, y), OLIVE) || near(pic.rgb(x, y), YELLOW);
const isOptions = (pic) => panel(pic, 70, 162) && panel(pic, 70, 330) && panel(pic, 400, 526);

const isEditor = (pic) => near(pic.rgb(20, 20), [112, 80, 64], 24) && near(pic.rgb(780, 60), [112, 80, 64], 24);

// The question box: its olive caption bar over the dimmed screen behind it.
function isQuestion(pic) {
  let n = 0;
  for (let x = 100; x < 700; x += 2)
    for (let y = 150; y < 450; y += 2) n += near(pic.rgb(x, y), OLIVE, 8);
  return n > 200 && !isTitle(pic);
}

const isDemo = (pic) => brightCount(pic, 100, 75, 250, 100, 2) > 20 && !isTitle(pic);
const isPlay = (pic) => brightCount(pic, 545, 92, 690, 118, 2) > 20;
function messageColumns(pic) {
  let n = 0;
  for (let x = 300; x < 500; ++x)
    for (let y = 205; y < 237; y += 2)
      if (bright(pic.rgb(x, y))) {
        ++n;
        break;
      }
  return n;
}

// --- the page -----------------------------------------------------------------------------
// The page and the files it fetches after its first frame, each as its .gz with
// Content-Encoding when `gzip` is set, the browser asks for it and the build wrote one; plain
// otherwise, as a server that sends no compressed files would. `hold(name)` may answer a
// promise that the reply waits for (a slow network), or 'refuse' (no network).
const SERVED = /^(twirlstick\.(html|js|wasm|data)|offline\.js|IPAfont00203\/ipagp\.ttf|sound\/[a-z_]+\.wav)$/;
function serve(folder, {gzip = false, hold = () => null} = {}) {
  const types = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm'};
  const server = http.createServer(async (request, response) => {
    const name = decodeURIComponent(request.url.split(/[?#]/)[0]).replace(/^\//, '');
    const file = path.join(folder, name);
    const held = SERVED.test(name) ? hold(name) : null;
    if (held === 'refuse' || !SERVED.test(name) || !fs.existsSync(file)) {
      if (held === 'refuse') request.socket.destroy();
      else {
        response.writeHead(404);
        response.end();
      }
      return;
    }
    await held;
    const headers = {'Content-Type': types[path.extname(name)] || 'application/octet-stream'};
    const zipped = gzip && /\bgzip\b/.test(request.headers['accept-encoding'] || '') && fs.existsSync(file + '.gz');
    if (zipped) headers['Content-Encoding'] = 'gzip';
    response.writeHead(200, headers);
    fs.createReadStream(zipped ? file + '.gz' : file).pipe(response);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// RGBA pixels of an 800 x 600 PNG, decoded by the page's own image decoder.
async function decode(page, png) {
  const rgba = Buffer.from(await page.evaluate(async (png) => {
    const bitmap = await createImageBitmap(await (await fetch('data:image/png;base64,' + png)).blob());
    const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
    const context = canvas.getContext('2d');
    context.drawImage(bitmap, 0, 0);
    const data = context.getImageData(0, 0, bitmap.width, bitmap.height).data;
    let text = '';
    for (let i = 0; i < data.length; i += 0x8000) text += String.fromCharCode.apply(null, data.subarray(i, i + 0x8000));
    return btoa(text);
  }, png), 'base64');
  return {rgba, rgb: (x, y) => {
    const i = (y * 800 + x) * 4;
    return [rgba[i], rgba[i + 1], rgba[i + 2]];
  }};
}

// The page's picture as the player sees it, composited.
async function picture(page, save) {
  const png = await page.screenshot({encoding: 'base64'});
  if (save) fs.writeFileSync(path.join(outDir, save + '.png'), Buffer.from(png, 'base64'));
  return decode(page, png);
}

// The share of pixels that differ by more than a quarter of the range in some channel: text
// rasterised by stb_truetype instead of FreeType, and lines drawn by another GL, move a few.
async function differingShare(page, webShot, desktopShot) {
  const web = await decode(page, fs.readFileSync(path.join(outDir, webShot)).toString('base64'));
  const desktop = await decode(page, fs.readFileSync(desktopShot).toString('base64'));
  if (web.rgba.length !== desktop.rgba.length) return 1;
  let off = 0;
  for (let i = 0; i < web.rgba.length; i += 4)
    if ([0, 1, 2].some((c) => Math.abs(web.rgba[i + c] - desktop.rgba[i + c]) > 64)) ++off;
  return off / (web.rgba.length / 4);
}

async function compareWithDesktop(page) {
  if (!desktopShots) return;
  const pairs = [['web-opening-grid.png', 'play/01-opening-grid.png'],
                 ['web-how-to-play.png', 'english/01-how-to-play.png'],
                 ['web-stage1-wait-start.png', 'english/03-stage1-wait-start.png']];
  for (const [web, desktop] of pairs) {
    const desktopShot = path.join(desktopShots, desktop);
    if (!fs.existsSync(desktopShot)) {
      console.log('no desktop picture', desktopShot, 'to compare', web, 'with');
      continue;
    }
    const share = await differingShare(page, web, desktopShot);
    console.log(web, 'differs from the desktop\'s in', (share * 100).toFixed(2), '% of its pixels');
    // The how-to-play bar turns, so that picture is never quite the same moment.
    if (share > 0.01) throw new TestFailure(web + ' is not the desktop\'s picture of ' + desktop);
  }
}

async function waitFor(page, what, test, {seconds = 60, save} = {}) {
  const end = Date.now() + seconds * 1000;
  while (Date.now() < end) {
    const pic = await picture(page);
    if (test(pic)) {
      if (save) await picture(page, save);
      return pic;
    }
    await new Promise((r) => setTimeout(r, 200));
  }
  await picture(page, 'timeout');
  throw new TestFailure('timed out waiting for ' + what);
}

// The route as per-frame input: [switch, fast] for each frame of play.
function routeFrames(text) {
  const lines = text.replace(/^\uFEFF/, '').split(/\r?\n/).filter((l) => l.trim());
  const frames = [];
  let fast = false;
  for (const line of lines.slice(1)) {
    const [kind, gap] = line.trim().split(/\s+/).map(Number);
    for (let i = 1; i < gap; ++i) frames.push([false, fast]);
    if (kind === 1) fast = true;
    if (kind === 2) fast = false;
    if (kind !== 3) frames.push([kind === 0, fast]);
  }
  return frames;
}

// Plays from the start click to the end of the route, each frame's mouse events dispatched on
// the canvas as the game polls that frame: the start click, the countdown, then the route.
function playByInput(page, frames) {
  return page.evaluate((frames, firstPlayPoll, centre) => new Promise((resolve) => {
    const canvas = document.getElementById('canvas');
    const mouse = (type, button) => canvas.dispatchEvent(new MouseEvent(type, {
      bubbles: true, button, clientX: centre[0], clientY: centre[1]}));
    let poll = 0, fast = false;
    Module.onInputPoll = () => {
      const frame = poll - firstPlayPoll;
      if (poll === 0 || (frame >= 0 && frame < frames.length && frames[frame][0])) {
        mouse('mousedown', 0);
        mouse('mouseup', 0);
      }
      const wantFast = frame >= 0 && frame < frames.length && frames[frame][1];
      if (wantFast !== fast) mouse(wantFast ? 'mousedown' : 'mouseup', 2);
      fast = wantFast;
      if (++poll > firstPlayPoll + frames.length + 120) {
        Module.onInputPoll = null;
        resolve();
      }
    };
  }), frames, FIRST_PLAY_POLL, CENTRE);
}

const pageFile = (page, name) => page.evaluate((name) => {
  try {
    return Array.from(FS.readFile(name));
  } catch (e) {
    return null;
  }
}, name);

// A file dropped on the canvas as a file manager drops one.
const dropFile = (page, name, content) => page.evaluate((name, base64) => {
  const bytes = Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
  const transfer = new DataTransfer();
  transfer.items.add(new File([bytes], name));
  document.getElementById('canvas').dispatchEvent(new DragEvent('drop', {bubbles: true, dataTransfer: transfer}));
}, name, content.toString('base64'));

async function waitForFile(page, name) {
  const end = Date.now() + 30000;
  while (Date.now() < end && !(await pageFile(page, name))) await new Promise((r) => setTimeout(r, 100));
}

async function waitForSaved(page) {
  const end = Date.now() + 30000;
  while (Date.now() < end && await page.evaluate(() => !!Module.twirlstickSaving))
    await new Promise((r) => setTimeout(r, 100));
}

// Saved as the game saves, a temporary file renamed over the working folder's file, and synced.
const saveAsTheGame = (page, name, text) => page.evaluate((folder, name, text) => {
  FS.writeFile(folder + '.twirlstick-0123456789.tmp', text);
  FS.rename(folder + '.twirlstick-0123456789.tmp', folder + name);
}, FILES, name, text).then(() => waitForSaved(page));

// --- what the first download leaves out -------------------------------------------------------
const FULL_FONT = 'IPAfont00203/ipagp.ttf';
const lateFiles = () => [FULL_FONT, ...fs.readdirSync(path.join(webDir, 'sound')).filter((n) => n.endsWith('.wav')).map((n) => 'sound/' + n)];
const arrived = (page, name) => page.evaluate((name) => FS.analyzePath(name).object?.usedBytes ?? -1, name)
  .then((size) => size === fs.statSync(path.join(webDir, name)).size);

// Waits for the full font and the sounds; with `shown`, checks they were asked for only after
// the first frame.
async function waitForLateFiles(page, shown = false) {
  for (const name of lateFiles())
    for (const end = Date.now() + 60000; !(await arrived(page, name));)
      if (Date.now() > end) throw new TestFailure(name + ' never came after the first frame');
      else await new Promise((r) => setTimeout(r, 100));
  const {first, late} = await page.evaluate(() => ({first: Module.twirlstickFirstFrameMs,
    late: performance.getEntriesByType('resource').filter((e) => /ipagp\.ttf|\.wav$/.test(e.name)).map((e) => e.startTime)}));
  if (shown && (!first || late.length !== lateFiles().length || late.some((t) => t < first)))
    throw new TestFailure('the late files were not fetched after the first frame (' + first + ' ms): ' + late);
}

// Pixels of the play screen's title band that differ by more than a quarter of the range.
function titleChange(a, b) {
  let n = 0;
  for (let x = 100; x < 700; ++x)
    for (let y = 50; y < 100; ++y) n += [0, 1, 2].some((c) => Math.abs(a.rgb(x, y)[c] - b.rgb(x, y)[c]) > 64);
  return n;
}

// The page opened offline after a first visit: the full font cannot be fetched. A title in
// characters its subset lacks shows boxes and the game plays on; back online, the full font
// comes and the title is drawn again, as a page that had the font from the start draws it.
// These servers send no compressed files.
async function titleBeforeTheFullFont(browser, errors) {
  const stage = fs.readFileSync(path.join(path.dirname(solutionPath), '..', 'stage3'), 'utf8')
    .replace(/^(\uFEFF?)TITLE [^\r\n]*/, '$1TITLE 鬱蒼と鸚鵡');
  const link = Buffer.from(stage).toString('base64').replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
  let offline = true;
  const servers = [await serve(webDir, {hold: (name) => (offline && name === FULL_FONT ? 'refuse' : null)}),
                   await serve(webDir)];
  const [away, home] = servers.map((s) => 'http://127.0.0.1:' + s.address().port + '/twirlstick.html');
  try {
    const page = await openGame(browser, away + '#stage=' + link, errors);
    await waitFor(page, 'the offer to play the stage with a rare title', isQuestion);
    await page.keyboard.press('Enter');
    const playing = (p) => isPlay(p) && messageColumns(p) > 100;
    const boxed = await waitFor(page, 'the rare title waiting for the start click', playing, {save: 'web-title-boxes'});
    if (await arrived(page, FULL_FONT)) throw new TestFailure('the full font came although the server refused it');
    offline = false;
    await page.setOfflineMode(true);
    await page.setOfflineMode(false); // the browser says it is back online: the page tries again
    const redrawn = await waitFor(page, 'the rare title drawn again with the full font',
                                  (p) => playing(p) && titleChange(boxed, p) > 200, {save: 'web-title-redrawn'});

    const fresh = await openGame(browser, home + '#stage=' + link, errors);
    await waitFor(fresh, 'the offer to play the rare title once more', isQuestion);
    await waitForLateFiles(fresh);
    await new Promise((r) => setTimeout(r, 500)); // frames for the game to take the font in before the label is made
    await fresh.keyboard.press('Enter');
    const whole = await waitFor(fresh, 'the rare title drawn with the full font from the start', playing,
                                {save: 'web-title-whole'});
    const off = titleChange(redrawn, whole);
    if (off > 20) throw new TestFailure('the title drawn again is not the full font\'s: ' + off + ' pixels differ');
    // The browser itself logs each refused fetch; the page adds nothing of its own.
    const refused = errors.filter((e) => e.includes('net::ERR_EMPTY_RESPONSE'));
    if (!refused.length) throw new TestFailure('the full font was never asked for while the server refused it');
    errors.splice(0, errors.length, ...errors.filter((e) => !refused.includes(e)));
  } finally {
    servers.forEach((s) => s.close());
  }
}

// Errors go to `errors`; warnings (the browser's about WebGL or deprecated calls among them) to
// `warnings`, but for the software GPU's notes on its own performance, which no page causes.
async function openGame(browser, url, errors, warnings = []) {
  const page = await browser.newPage();
  await page.setViewport({width: 800, height: 600});
  page.on('pageerror', (e) => errors.push('script error: ' + e.message));
  page.on('console', (m) => {
    if (m.type() === 'error') errors.push('console error: ' + m.text());
    else if (m.type().startsWith('warn') && !/GL Driver Message \(OpenGL, Performance/.test(m.text()))
      warnings.push(m.text());
  });
  await page.goto(url);
  return page;
}

// Debian's headless Chromium on a fresh profile; the caller removes `profile` after closing it.
async function launch() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'twirlstick-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: profile,
    args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--window-size=800,600',
           '--autoplay-policy=no-user-gesture-required', '--lang=en-US'],
  });
  return {browser, profile};
}

// All the page said since it loaded where `keepSaid` kept it: a message fades before a busy test looks.
const said = (page) => page.$eval('#status', (e) => (window.said || '') + e.textContent);
const keepSaid = (page) => page.evaluateOnNewDocument(() => new MutationObserver(() => {
  window.said = (window.said || '') + (document.getElementById('status')?.textContent || '');
}).observe(document, {subtree: true, childList: true, characterData: true}));

async function saysSoon(page, part) {
  for (const end = Date.now() + 30000; Date.now() < end; await new Promise((r) => setTimeout(r, 200)))
    if ((await said(page)).includes(part)) return;
  throw new TestFailure('the page did not say "' + part + '": ' + await page.$eval('#status', (e) => e.textContent));
}

// A store over the site's quota or held open at an older version by another page of the site,
// a second tab of the page, a drop of more files than are taken at once, a phone, no WebGL: each
// is said, and play goes on. Each page in a context of its own, so with a store of its own;
// `before` runs before it loads.
const HOSTILE = [[async (page, url) => {
  await waitFor(page, 'the opening grid', isGrid);
  await page.evaluate(() => {
    const transfer = new DataTransfer();
    for (let i = 0; i < 150; ++i) transfer.items.add(new File(['TITLE ' + i], 'stage-' + i));
    document.getElementById('canvas').dispatchEvent(new DragEvent('drop', {bubbles: true, dataTransfer: transfer}));
  });
  await saysSoon(page, 'the other 50 (stage-100');
  await (await page.createCDPSession()).send('Storage.overrideQuotaForOrigin', {origin: new URL(url).origin, quotaSize: 1});
  const frames = await page.evaluate(() => Module.twirlstickFrames.count);
  await saveAsTheGame(page, 'stage9', 'x'.repeat(20000));
  await saysSoon(page, 'Saving in the browser failed');
  const goesOn = () => page.evaluate((frames) => Module.twirlstickFrames.count > frames && !Module.twirlstickSaving, frames);
  for (const end = Date.now() + 30000; !(await goesOn()); await new Promise((r) => setTimeout(r, 200)))
    if (Date.now() > end) throw new TestFailure('the page stopped, or still says it saves, once the store was full');
}], [async (page) => {
  const [other] = (await page.browserContext().pages()).filter((p) => p !== page);
  try {
    await saysSoon(page, 'another page of this site holds the store open');
  } catch (e) {
    e.message += ' (the other page ' + ((await other.evaluate(() => !!window.held)) ? 'still holds the store)' : 'lost its hold)');
    throw e;
  }
  await waitFor(page, 'the opening grid beside a page that holds the store', isGrid);
}, async (page, url) => {
  const other = await page.browserContext().newPage();
  await other.goto(new URL(url).origin + '/twirlstick.js');
  await other.evaluate((name) => new Promise((resolve) => {
    const request = indexedDB.open(name, 1);
    request.onsuccess = () => {
      // Kept, and listened to: a connection nothing refers to is collected and closed with it,
      // which let the game's page through at times on a loaded machine.
      window.held = request.result;
      window.held.onclose = () => (window.held = null); // closed by the browser, not by this page
      resolve();
    };
  }), FILES.slice(0, -1));
}], [async (page) => { // a second tab: said in the browser's language; the first's saves stay stored
  await saysSoon(page, 'ゲームは別のタブでも開いていて');
  const [first] = (await page.browserContext().pages()).filter((p) => p !== page);
  await saveAsTheGame(first, 'rep7', 'first tab');
  await saveAsTheGame(page, 'rep8', 'second tab');
  await first.reload();
  await waitFor(first, 'the first tab reloaded', isGrid);
  if (!(await pageFile(first, FILES + 'rep7'))) throw new TestFailure('the second tab deleted what the first saved');
}, async (page, url) => {
  await page.evaluateOnNewDocument(() => Object.defineProperty(navigator, 'language', {get: () => 'ja-JP'}));
  const first = await page.browserContext().newPage();
  await first.goto(url);
  await waitFor(first, 'the opening grid in the first tab', isGrid);
}], [async (page) => { // a phone: held upright, told to turn it; the how-to-play names fingers; taps play
  await saysSoon(page, 'sideways');
  await page.setViewport({width: 800, height: 600, hasTouch: true, isMobile: true});
  await waitFor(page, 'the title on a touch screen', isTitle);
  await page.touchscreen.tap(...START_ITEM);
  await waitFor(page, 'the how-to-play with the fingers\' line', (p) => isDemo(p) && brightCount(p, 100, 282, 700, 298) > 100);
  await page.touchscreen.tap(...CENTRE);
  await waitFor(page, 'stage 1 after a tap', (p) => isPlay(p) && messageColumns(p) > 100);
}, (page) => page.setViewport({width: 360, height: 640, hasTouch: true, isMobile: true})], [(page) => saysSoon(page, 'no WebGL'), (page) => page.evaluateOnNewDocument(() => {
  const getContext = HTMLCanvasElement.prototype.getContext;
  HTMLCanvasElement.prototype.getContext = function(kind, ...rest) {
    return /webgl/.test(kind) ? null : getContext.call(this, kind, ...rest);
  };
})]];

async function hostile(browser, url) {
  for (const [check, before = async () => {}] of HOSTILE) {
    const page = await (await browser.createBrowserContext()).newPage();
    await page.setViewport({width: 800, height: 600});
    await keepSaid(page);
    await before(page, url);
    await page.goto(url);
    await check(page, url);
  }
}

async function main() {
  fs.mkdirSync(outDir, {recursive: true});
  const solution = fs.readFileSync(solutionPath);
  let offline = false;
  const server = await serve(webDir, {gzip: true, hold: () => (offline ? 'refuse' : null)});
  const url = 'http://127.0.0.1:' + server.address().port + '/twirlstick.html';
  const {browser, profile} = await launch();
  const errors = [], warnings = [];
  try {
    let page = await openGame(browser, url, errors, warnings);
    const loaded = Date.now();
    await waitFor(page, 'the opening grid', isGrid, {save: 'web-opening-grid'});
    console.log('first frame of the opening', Date.now() - loaded, 'ms after the page was opened');
    await waitForLateFiles(page, true);
    await waitFor(page, 'the title after the opening', isTitle, {save: 'web-title'});
    await page.mouse.click(...START_ITEM);
    await waitFor(page, 'the how-to-play screen', isDemo, {save: 'web-how-to-play'});
    await page.mouse.click(...CENTRE);
    await waitFor(page, 'stage 1 waiting for the start click', (p) => isPlay(p) && messageColumns(p) > 100,
                  {save: 'web-stage1-wait-start'});
    await compareWithDesktop(page);
    const frames = routeFrames(solution.toString('latin1'));
    const played = playByInput(page, frames);
    await new Promise((r) => setTimeout(r, (FIRST_PLAY_POLL + frames.length / 2) * 1000 / 60));
    const before = await page.evaluate(() => ({...Module.twirlstickFrames}));
    await picture(page, 'web-play');
    await played;
    const after = await page.evaluate(() => ({...Module.twirlstickFrames}));
    console.log('stage 1 in play:', ((after.busyMs - before.busyMs) / (after.count - before.count)).toFixed(2),
                'ms of the page\'s time per frame over', after.count - before.count, 'frames');
    await waitForSaved(page);
    if (warnings.length) throw new TestFailure('a normal load left this on the console:\n' + warnings.join('\n'));
    const best = await pageFile(page, BEST_RUN);
    if (!best) throw new TestFailure('no best run was written: stage 1 was not cleared by its route');
    if (!Buffer.from(best).equals(solution))
      throw new TestFailure('the best run is not the route that was played: ' + JSON.stringify(Buffer.from(best).toString()));

    // Reloaded with no network: the page, the full font and the sounds come from what it kept.
    await page.waitForFunction(async (n) => (await navigator.serviceWorker.ready) &&
                               (await (await caches.open('twirlstick')).keys()).length === n, {}, 4 + lateFiles().length);
    offline = true;
    await page.reload();
    await waitFor(page, 'the opening grid after the reload with no network', isGrid);
    const kept = await pageFile(page, BEST_RUN);
    if (!kept || !Buffer.from(kept).equals(solution))
      throw new TestFailure('the best run did not come back from IndexedDB after the reload');
    await waitForLateFiles(page);
    offline = false;

    await waitFor(page, 'the title after the reload', isTitle);
    await page.mouse.click(...EDIT_ITEM);
    await waitFor(page, 'the edit menu', isEditMenu, {save: 'web-edit-menu'});
    await dropFile(page, 'friends-stage', fs.readFileSync(path.join(path.dirname(solutionPath), '..', 'stage2')));
    await waitForFile(page, FIRST_OWN_STAGE);
    await waitForSaved(page);
    await picture(page, 'web-edit-menu-after-drop');
    await page.reload();
    await waitFor(page, 'the opening grid after the second reload', isGrid);
    if (!(await pageFile(page, FIRST_OWN_STAGE)))
      throw new TestFailure('the dropped stage was not kept as stage1 over a reload');

    const stage3 = fs.readFileSync(path.join(path.dirname(solutionPath), '..', 'stage3'));
    const link = stage3.toString('base64').replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
    await page.goto(url + '?linked#stage=' + link);
    await waitForFile(page, SECOND_OWN_STAGE);
    const said = await page.$eval('#status', (e) => e.textContent);
    if (!said.includes('now stage2')) throw new TestFailure('the page did not say where the linked stage went: ' + said);
    if (await page.evaluate(() => window.location.hash)) throw new TestFailure('the link kept its stage for the next reload');
    await waitFor(page, 'the offer to play the linked stage', isQuestion, {save: 'web-link-offer'});
    await page.keyboard.press('Enter');
    await waitFor(page, 'the linked stage waiting for the start click', (p) => isPlay(p) && messageColumns(p) > 100,
                  {save: 'web-link-play'});
    await page.goto(url + '?damaged#stage=' + link.slice(0, 101) + '!');
    await waitFor(page, 'the opening grid with a damaged link', isGrid);
    const refused = await page.$eval('#status', (e) => e.textContent);
    if (!refused.includes('was not added') || await pageFile(page, FILES + 'stage3'))
      throw new TestFailure('a damaged link was not refused: ' + refused);

    // A message lies over the Options item, and the click goes through it to the game.
    await page.mouse.click(...CENTRE);
    await waitFor(page, 'the title under a message', isTitle);
    await page.evaluate(() => Module.setStatus('test', 'A message over the bottom of the game'));
    await page.mouse.click(...OPTIONS_ITEM);
    await waitFor(page, 'the options, clicked through the message', isOptions, {save: 'web-options-under-message'});
    await page.keyboard.press('Backspace');
    await waitFor(page, 'the title after the options', isTitle);

    // A link pasted into the open tab is taken in; the same link again is named, not copied.
    const stage4 = fs.readFileSync(path.join(path.dirname(solutionPath), '..', 'stage4'));
    const pasted = stage4.toString('base64').replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
    for (const expected of ['now stage3 “Zigzag”', 'You already have this stage as stage3']) {
      await page.evaluate((link) => (window.location.hash = '#stage=' + link), pasted);
      await saysSoon(page, expected);
    }
    if (await pageFile(page, FILES + 'stage4')) throw new TestFailure('the same link pasted twice made two stages');

    // The editor's Ctrl+Shift+S: the first own stage as a link, opened again as the next stage.
    await browser.defaultBrowserContext().overridePermissions(new URL(url).origin, ['clipboard-read', 'clipboard-sanitized-write',
                                                                                   'clipboard-write']);
    await page.goto(url);
    await waitFor(page, 'the title before the editor', isTitle);
    await page.mouse.click(...EDIT_ITEM);
    await waitFor(page, 'the edit menu with two stages', isEditMenu);
    await page.keyboard.press('Home');
    await page.keyboard.press('Enter');
    await waitFor(page, 'the editor', isEditor, {save: 'web-editor'});
    await page.bringToFront(); // the clipboard is only for the page that has the focus
    await page.focus('#canvas');
    await page.keyboard.down('Control');
    await page.keyboard.down('Shift');
    await page.keyboard.press('KeyS');
    await page.keyboard.up('Shift');
    await page.keyboard.up('Control');
    let copied = '';
    for (const end = Date.now() + 10000; Date.now() < end && !copied.includes('#stage=');)
      copied = await page.evaluate(() => navigator.clipboard.readText().catch(() => ''));
    if (!copied.startsWith(url + '#stage='))
      throw new TestFailure('the editor copied no link: "' + copied + '"; the page said: ' +
                            await page.$eval('#status', (e) => e.textContent));
    await page.goto(copied.replace('#', '?copied#'));
    await saysSoon(page, 'You already have this stage as stage1'); // the very bytes it was made from
    if (await pageFile(page, FILES + 'stage4')) throw new TestFailure('the editor\'s link to stage1 was copied again');
    await waitFor(page, 'the offer to play the linked stage one has', isQuestion);
    await page.keyboard.press('Escape');
    await waitFor(page, 'the title after the offer was declined', isTitle);
    await page.mouse.click(...EXIT_ITEM);
    await waitFor(page, 'the question before EXIT', isQuestion, {save: 'web-exit-question'});
    await page.keyboard.press('Enter');
    await waitFor(page, 'the opening again after EXIT', isGrid);
    await hostile(browser, url);
    await titleBeforeTheFullFont(browser, errors);
    if (errors.length) throw new TestFailure(errors.join('\n'));
    console.log('stage 1 cleared by input in the browser; its best run survived the reload');
  } finally {
    await browser.close();
    server.close();
    fs.rmSync(profile, {recursive: true, force: true});
  }
}

module.exports = {useOutDir: (dir) => (outDir = dir), hostile, serve, launch, openGame, picture, waitFor, isGrid, isTitle, isQuestion, isPlay, messageColumns, CENTRE};

if (require.main === module)
  main().catch((e) => {
    console.error(e instanceof TestFailure ? 'FAILED: ' + e.message : e);
    process.exit(1);
  });
