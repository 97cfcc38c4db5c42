// Figures for the page, not a test: its download size (raw and gzipped), the time from opening
// it to the opening's first frame, and the page's time per frame while a stage is played, each
// stage brought in by a link and played through the offer that follows.
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

async function main() {
  fs.mkdirSync(outDir, {recursive: true});
  web.useOutDir(outDir);
  for (const name of ['twirlstick.html', 'twirlstick.js', 'twirlstick.wasm', 'twirlstick.data']) {
    const bytes = fs.readFileSync(path.join(webDir, name));
    console.log(name + ':', kb(bytes.length), 'raw,', kb(zlib.gzipSync(bytes, {level: 9}).length), 'gzipped');
  }
  const server = await web.serve(webDir);
  const url = 'http://127.0.0.1:' + server.address().port + '/twirlstick.html';
  const {browser, profile} = await web.launch();
  const errors = [];
  try {
    const page = await web.openGame(browser, url, errors);
    const opened = Date.now();
    await web.waitFor(page, 'the opening grid', web.isGrid);
    console.log('opening\'s first frame:', Date.now() - opened, 'ms after the page was opened (polled by screenshots)');
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
