// Figures for the page, not a test: what it downloads before its first frame (raw and gzipped,
// served as .gz where the build wrote one), the time from navigation to that frame over several
// first visits, and the page's time per frame while a stage is played, each stage brought in by
// a link and played through the offer that follows.
//   node measure.js WEB_DIR OUT_DIR STAGE...
'use strict';
const fs = require('fs');
const path = require('path');
const zlib = require('zlib');
const web = require('./play.js');

const [webDir, outDir, ...stages] = process.argv.slice(2);
const FRAMES_MEASURED = 600;

const linkTo = (file) => fs.readFileSync(file).toString('base64').replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
const kb = (n) => (n / 1024).toFixed(0) + ' KiB';

async function framesWhilePlaying(page) {
  const count = () => page.evaluate(() => ({...Module.twirlstickFrames}));
  await page.mouse.click(...web.CENTRE); // the start click; play begins after the countdown
  await new Promise((r) => setTimeout(r, 4000));
  const before = await count();
  let after = before;
  while (after.count - before.count < FRAMES_MEASURED) {
    await new Promise((r) => setTimeout(r, 500));
    after = await count();
  }
  return {frames: after.count - before.count, ms: (after.busyMs - before.busyMs) / (after.count - before.count)};
}

const OPENINGS = 7;

// The first frame is the first draw call's animation frame: the frame that shows what it drew.
// Wrapped before the page's own script runs, so it times any build the same way. The time the
// browser takes to make the WebGL context is kept apart: its GPU side starts then.
function watchFirstDraw() {
  const getContext = HTMLCanvasElement.prototype.getContext;
  window.contextMs = 0;
  HTMLCanvasElement.prototype.getContext = function() {
    const start = performance.now();
    const context = getContext.apply(this, arguments);
    window.contextMs += performance.now() - start;
    return context;
  };
  const proto = WebGLRenderingContext.prototype;
  for (const name of ['drawArrays', 'drawElements']) {
    const call = proto[name];
    proto[name] = function() {
      if (window.firstDrawMs === undefined) {
        window.firstDrawMs = performance.now();
        requestAnimationFrame(() => (window.firstFrameMs = performance.now()));
      }
      return call.apply(this, arguments);
    };
  }
}

// One first visit on an empty cache: the milliseconds from navigation to the first frame, to
// the page parsed and spent making the WebGL context, and the files the page took before that
// frame.
async function firstVisit(browser, url, errors) {
  const context = await browser.createBrowserContext();
  try {
    const page = await context.newPage();
    await page.setViewport({width: 800, height: 600});
    page.on('pageerror', (e) => errors.push('script error: ' + e.message));
    await page.evaluateOnNewDocument(watchFirstDraw);
    await page.goto(url);
    const end = Date.now() + 60000;
    let shown;
    while (Date.now() < end && !(shown = await page.evaluate(() => window.firstFrameMs)))
      await new Promise((r) => setTimeout(r, 20));
    if (!shown) throw new Error('the page drew nothing within a minute');
    const files = await page.evaluate((shown) => performance.getEntriesByType('resource')
      .filter((e) => e.startTime < shown)
      .map((e) => ({name: new URL(e.name).pathname.slice(1), bytes: e.encodedBodySize})), shown);
    files.unshift({name: 'twirlstick.html', bytes: await page.evaluate(() => performance.getEntriesByType('navigation')[0].encodedBodySize)});
    const parsed = await page.evaluate(() => performance.getEntriesByType('navigation')[0].domContentLoadedEventStart);
    return {shown, parsed, context: await page.evaluate(() => window.contextMs), files};
  } finally {
    await context.close();
  }
}

async function main() {
  fs.mkdirSync(outDir, {recursive: true});
  web.useOutDir(outDir);
  const server = await web.serve(webDir, {gzip: true});
  const url = 'http://127.0.0.1:' + server.address().port + '/twirlstick.html';
  const {browser, profile} = await web.launch();
  const errors = [];
  try {
    const visits = [];
    for (let i = 0; i < OPENINGS; ++i) visits.push(await firstVisit(browser, url, errors));
    const files = visits[visits.length - 1].files;
    let raw = 0, zipped = 0, sent = 0;
    for (const {name, bytes: sentBytes} of files) {
      sent += sentBytes;
      const bytes = fs.readFileSync(path.join(webDir, name));
      const gz = zlib.gzipSync(bytes, {level: 9}).length;
      raw += bytes.length;
      zipped += gz;
      console.log('before the first frame:', name, kb(bytes.length), 'raw,', kb(gz), 'gzipped');
    }
    console.log('first download:', kb(raw), 'raw,', kb(zipped), 'gzipped,', kb(sent), 'as the server sent it');
    // Cold: the browser's first page, whose GPU process starts with it; warm: the later first
    // visits, each in a fresh context (an empty cache) of the running browser.
    const ms = (t) => t.toFixed(0) + ' ms';
    const median = (list, key) => list.map((v) => v[key]).sort((a, b) => a - b)[list.length >> 1];
    const spent = (v) => '(page parsed at ' + ms(v.parsed) + ', WebGL context made in ' + ms(v.context) + ')';
    const [cold, ...warm] = visits;
    const times = warm.map((v) => v.shown).sort((a, b) => a - b);
    console.log('first frame after navigation: cold', ms(cold.shown), spent(cold) + '; warm, ' + warm.length +
                ' first visits: median', ms(median(warm, 'shown')), 'from', ms(times[0]), 'to', ms(times[times.length - 1]),
                spent({parsed: median(warm, 'parsed'), context: median(warm, 'context')}));
    const page = await web.openGame(browser, url, errors);
    for (const stage of stages) {
      await page.goto(url + '?' + path.basename(stage) + '#stage=' + linkTo(stage));
      await web.waitFor(page, 'the offer to play ' + stage, web.isQuestion);
      await page.keyboard.press('Enter');
      await web.waitFor(page, stage + ' waiting for the start click', (p) => web.isPlay(p) && web.messageColumns(p) > 100);
      const {frames, ms} = await framesWhilePlaying(page);
      console.log(stage + ':', ms.toFixed(3), 'ms of the page\'s time per frame over', frames, 'frames of play');
      await web.picture(page, 'measure-' + path.basename(stage));
    }
    if (errors.length) console.log(errors.join('\n'));
  } finally {
    await browser.close();
    server.close();
    fs.rmSync(profile, {recursive: true, force: true});
  }
}

main().catch((e) => {
  console.error(e);
  process.exit(1);
});
