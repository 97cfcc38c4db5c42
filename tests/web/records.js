// The page served by twirlstick-server reads that server's records without being asked: with a
// run of stage 1 on the server, the stage select shows its time and holder.
//   node records.js WEB_DIR SOLUTION OUT_DIR   (TWIRLSTICK_SERVER: the server's executable)
'use strict';
const {spawn} = require('child_process');
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const play = require('./play.js');

const [webDir, solutionPath, outDir] = process.argv.slice(2);
const SELECT_ITEM = [400, 387];
const WORLD_TEXT = [96, 224, 255];

function call(port, method, route, body, token) {
  return new Promise((resolve, reject) => {
    const headers = token ? {Authorization: 'Bearer ' + token} : {};
    const request = http.request({host: '127.0.0.1', port, method, path: route, headers}, (response) => {
      const parts = [];
      response.on('data', (part) => parts.push(part));
      response.on('end', () => resolve(JSON.parse(Buffer.concat(parts).toString() || 'null')));
    });
    request.on('error', reject);
    request.end(body);
  });
}

// Starts the server on a free port with the page's folder; resolves with the process and port.
function startServer(folder) {
  const server = spawn(process.env.TWIRLSTICK_SERVER, ['--db', 'sqlite:' + path.join(folder, 'records.db'),
    '--listen', '127.0.0.1:0', '--web', webDir, '--data', path.join(path.dirname(solutionPath), '..')]);
  return new Promise((resolve, reject) => {
    let said = '';
    server.stdout.on('data', (part) => {
      said += part;
      const port = /listening on http:\/\/127\.0\.0\.1:(\d+)/.exec(said);
      if (port) resolve({server, port: Number(port[1])});
    });
    server.on('exit', (code) => reject(new Error('the server ended with ' + code)));
  });
}

function worldTextPixels(pic) {
  let n = 0;
  for (let x = 380; x < 600; ++x)
    for (let y = 88; y < 110; ++y) n += WORLD_TEXT.every((v, i) => Math.abs(pic.rgb(x, y)[i] - v) <= 40);
  return n;
}

async function main() {
  play.useOutDir(outDir);
  fs.mkdirSync(outDir, {recursive: true});
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'twirlstick-records-'));
  const {server, port} = await startServer(folder);
  const {browser, profile} = await play.launch();
  try {
    const {token} = await call(port, 'POST', '/api/v1/players', JSON.stringify({name: 'Ann'}));
    const {stages} = await call(port, 'GET', '/api/v1/stages');
    const kept = await call(port, 'POST', '/api/v1/stages/' + stages.find((s) => s.number === 1).id + '/runs',
                            fs.readFileSync(solutionPath), token);
    if (kept.rank !== 1) throw new Error('the server did not keep the route: ' + JSON.stringify(kept));
    const errors = [];
    const page = await play.openGame(browser, 'http://127.0.0.1:' + port + '/twirlstick.html', errors);
    await play.waitFor(page, 'the opening grid', play.isGrid);
    await page.mouse.click(...play.CENTRE);
    await play.waitFor(page, 'the title', play.isTitle);
    await page.mouse.click(...SELECT_ITEM);
    await play.waitFor(page, 'the stage select', (p) => !play.isTitle(p));
    await page.keyboard.press('ArrowDown'); // stage 1's row unlit: its world best in its own colour
    await play.waitFor(page, 'stage 1\'s world best on the stage select', (p) => worldTextPixels(p) > 40,
                       {save: 'web-world-best'});
    if (errors.length) throw new Error(errors.join('\n')); // the late sounds and font are served too
    console.log('the page served by the records server shows the world best on the stage select');
  } finally {
    await browser.close();
    server.kill();
    fs.rmSync(profile, {recursive: true, force: true});
    fs.rmSync(folder, {recursive: true, force: true});
  }
}

main().catch((e) => {
  console.error('FAILED:', e.message || e);
  process.exit(1);
});
