// The playing page in headless Chromium, driven as a viewer would through
// the browser's debugging protocol on a pipe: click Start, watch the picture
// at two music moments, press Escape, start again.
//   node web-play-test.js URL SCREENSHOT.png
// Prints PASS:/FAIL: lines; exit code 1 when any failed.
'use strict';
const { spawn } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const [url, screenshotFile] = process.argv.slice(2);
const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'web-play-'));
const chrome = spawn('chromium', [
  '--headless=new', '--no-sandbox', '--disable-gpu', '--autoplay-policy=no-user-gesture-required',
  '--remote-debugging-pipe', '--window-size=640,480', '--hide-scrollbars',
  `--user-data-dir=${profile}`, 'about:blank',
], { stdio: ['ignore', 'ignore', 'ignore', 'pipe', 'pipe'] });

let failures = 0;
const pass = (what) => console.log(`PASS: ${what}`);
const fail = (what) => { console.log(`FAIL: ${what}`); failures += 1; };

// ---- the protocol: JSON messages ended by a zero byte ----------------------
let nextId = 1;
const waiting = new Map();
let received = '';
chrome.stdio[4].on('data', (chunk) => {
  received += chunk.toString('utf8');
  let end;
  while ((end = received.indexOf('\0')) >= 0) {
    const message = JSON.parse(received.slice(0, end));
    received = received.slice(end + 1);
    if (message.id && waiting.has(message.id)) {
      const { resolve, reject } = waiting.get(message.id);
      waiting.delete(message.id);
      if (message.error) reject(new Error(JSON.stringify(message.error)));
      else resolve(message.result);
    }
  }
});
function send(method, params = {}, sessionId = undefined) {
  const id = nextId++;
  chrome.stdio[3].write(JSON.stringify({ id, method, params, sessionId }) + '\0');
  return new Promise((resolve, reject) => waiting.set(id, { resolve, reject }));
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
let session;
async function evaluate(expression) {
  const result = await send('Runtime.evaluate', { expression, returnByValue: true, awaitPromise: true }, session);
  if (result.exceptionDetails) throw new Error(`${expression}: ${JSON.stringify(result.exceptionDetails)}`);
  return result.result.value;
}
async function waitFor(what, expression, timeoutMs) {
  const end = Date.now() + timeoutMs;
  while (Date.now() < end) {
    if (await evaluate(expression).catch(() => false)) return true;
    await sleep(100);
  }
  fail(`timed out waiting for ${what}`);
  return false;
}
async function clickStart() {
  const box = await evaluate(`(() => { const r = document.getElementById('start').getBoundingClientRect();
    return { x: r.x + r.width / 2, y: r.y + r.height / 2 }; })()`);
  for (const type of ['mousePressed', 'mouseReleased']) {
    await send('Input.dispatchMouseEvent', { type, x: box.x, y: box.y, button: 'left', clickCount: 1 }, session);
  }
}
const musicTime = () => evaluate(`Number(document.getElementById('screen').dataset.musicTime || 0)`);
const framesShown = () => evaluate(`Number(document.getElementById('screen').dataset.frames || 0)`);
// The canvas as the viewer sees it: the share of lit pixels, and the top
// 120 rows (where the scroller runs) as grey levels.
const sample = () => evaluate(`(() => {
  const c = document.getElementById('screen');
  const d = c.getContext('2d').getImageData(0, 0, 640, 480).data;
  let lit = 0;
  const top = [];
  for (let i = 0; i < 640 * 480; ++i) {
    const grey = (d[4 * i] + d[4 * i + 1] + d[4 * i + 2]) / 3;
    if (grey > 12) ++lit;
    if (i < 640 * 120) top.push(Math.round(grey));
  }
  return { musicTime: Number(c.dataset.musicTime), lit: lit / (640 * 480), top };
})()`);

async function main() {
  const { targetInfos } = await send('Target.getTargets');
  const page = targetInfos.find((t) => t.type === 'page');
  ({ sessionId: session } = await send('Target.attachToTarget', { targetId: page.targetId, flatten: true }));
  await send('Page.enable', {}, session);
  await send('Page.navigate', { url }, session);
  if (!await waitFor('the Start button', `!document.getElementById('start').disabled`, 30000)) return;

  await clickStart();
  if (!await waitFor('music time 3000 ms', `Number(document.getElementById('screen').dataset.musicTime || 0) > 3000`, 30000)) return;
  const early = await sample();
  const target = early.musicTime + 2000;
  if (!await waitFor(`music time ${target} ms`, `Number(document.getElementById('screen').dataset.musicTime || 0) > ${target}`, 30000)) return;
  const late = await sample();
  if (late.lit > 0.05) pass(`the playing canvas shows a picture (lit share ${late.lit.toFixed(3)})`);
  else fail(`the playing canvas is blank (lit share ${late.lit.toFixed(3)})`);
  const moved = late.top.reduce((n, grey, i) => n + (Math.abs(grey - early.top[i]) > 8 ? 1 : 0), 0);
  if (moved > 500) pass(`the scroller moved between ${early.musicTime} and ${late.musicTime} ms (${moved} pixels)`);
  else fail(`the scroller did not move between ${early.musicTime} and ${late.musicTime} ms (${moved} pixels)`);
  const shot = await send('Page.captureScreenshot', { format: 'png' }, session);
  fs.writeFileSync(screenshotFile, Buffer.from(shot.data, 'base64'));

  await send('Input.dispatchKeyEvent', { type: 'keyDown', key: 'Escape', code: 'Escape', windowsVirtualKeyCode: 27 }, session);
  await send('Input.dispatchKeyEvent', { type: 'keyUp', key: 'Escape', code: 'Escape', windowsVirtualKeyCode: 27 }, session);
  await sleep(300);
  const framesAtEnd = await framesShown();
  await sleep(700);
  const status = await evaluate(`document.getElementById('panel').hidden ? '' : document.getElementById('status').textContent`);
  if (/ended/.test(status) && await framesShown() === framesAtEnd) pass(`Escape ends the show ("${status}")`);
  else fail(`Escape did not end the show (status "${status}", frames ${framesAtEnd} then ${await framesShown()})`);

  if (!await waitFor('the Start button after the end', `!document.getElementById('start').disabled`, 30000)) return;
  await clickStart();
  if (!await waitFor('the second run to play', `Number(document.getElementById('screen').dataset.frames || 0) > 5`, 30000)) return;
  const again = await musicTime();
  if (again < late.musicTime) pass(`Start plays the show again from the beginning (${again} ms)`);
  else fail(`the second run did not start from the beginning (${again} ms)`);
}

const deadline = setTimeout(() => { fail('the test took longer than 3 minutes'); finish(); }, 180000);
function finish() {
  clearTimeout(deadline);
  chrome.once('exit', () => {
    fs.rmSync(profile, { recursive: true, force: true, maxRetries: 5 });
    process.exit(failures === 0 ? 0 : 1);
  });
  if (chrome.exitCode === null) chrome.kill();
  else chrome.emit('exit');
}
main().catch((error) => fail(String(error)))
  .finally(() => Promise.race([send('Browser.close'), sleep(2000)]).catch(() => {}).finally(finish));
