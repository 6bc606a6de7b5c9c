// The playing page in headless Chromium, driven as a viewer would through
// the browser's debugging protocol: the loading bar while the files arrive
// (on a throttled network), click Start, watch the picture at two music
// moments, press Escape, start again; a stand-in for the screen wake lock
// records what the page asks of it.
//   node web-play-test.js URL SCREENSHOT.png
// Prints PASS:/FAIL: lines; exit code 1 when any failed.
'use strict';
const fs = require('fs');
const path = require('path');
const {
  pass, fail, sleep, run, clickStart, sampleCanvas, movedPixels, musicTimeAbove,
} = require('./web-devtools');

const [url, screenshotFile] = process.argv.slice(2);

// Installed before the page's own script: a stand-in for navigator.wakeLock
// that logs requests and releases (and lets the test drop the lock as the
// browser does when the page is hidden), and a record of the loading bar's
// values and of where it stood when Start was first enabled.
const kWatchPage = `(() => {
  const wakeLog = [];
  let held = null;
  class Sentinel extends EventTarget {
    constructor() { super(); this.type = 'screen'; this.released = false; }
    release() {
      if (!this.released) this.end('release');
      return Promise.resolve();
    }
    end(why) {
      this.released = true;
      wakeLog.push(why);
      this.dispatchEvent(new Event('release'));
    }
  }
  const wakeLock = {
    request(type) {
      wakeLog.push('request ' + type);
      held = new Sentinel();
      return Promise.resolve(held);
    },
  };
  Object.defineProperty(Navigator.prototype, 'wakeLock', { configurable: true, get: () => wakeLock });
  window.testWakeLog = wakeLog;
  window.testDropWakeLock = () => { if (held && !held.released) held.end('dropped'); };

  const loading = { values: [], atStart: null };
  window.testLoading = loading;
  const value = Object.getOwnPropertyDescriptor(HTMLProgressElement.prototype, 'value');
  Object.defineProperty(HTMLProgressElement.prototype, 'value', {
    configurable: true,
    get: value.get,
    set(v) { value.set.call(this, v); loading.values.push(this.value); },
  });
  const disabled = Object.getOwnPropertyDescriptor(HTMLButtonElement.prototype, 'disabled');
  Object.defineProperty(HTMLButtonElement.prototype, 'disabled', {
    configurable: true,
    get: disabled.get,
    set(v) {
      if (this.id === 'start' && !v && loading.atStart === null) {
        const bar = document.getElementById('loading');
        loading.atStart = { value: bar.value, max: bar.max, determinate: bar.hasAttribute('value') };
      }
      disabled.set.call(this, v);
    },
  });
})()`;

const wakeLog = (page) => page.evaluate('window.testWakeLog.join(", ")');
const framesShown = (page) => page.evaluate(`Number(document.getElementById('screen').dataset.frames || 0)`);

// The sizes the server announces for demo.wasm and demo.data.
const announcedSizes = (page) => page.evaluate(`Promise.all(['demo.wasm', 'demo.data'].map((file) =>
  fetch(file, { method: 'HEAD', cache: 'no-store' }).then((r) => Number(r.headers.get('Content-Length')))))`);

async function checkLoading(page) {
  const loading = await page.evaluate('window.testLoading');
  const [wasmBytes, dataBytes] = await announcedSizes(page);
  const total = wasmBytes + dataBytes;
  const at = loading.atStart;
  if (at && at.determinate && at.value === total && at.max === total) {
    pass(`the loading bar is full (${total} bytes of demo.wasm and demo.data) when Start is enabled`);
  } else {
    fail(`the loading bar when Start was enabled: ${JSON.stringify(at)}, expected ${total} of ${total}`);
  }
  const partial = new Set(loading.values.filter((v) => v > 0 && v < total));
  const rising = loading.values.every((v, i) => i === 0 || v >= loading.values[i - 1]);
  if (partial.size >= 3 && rising) pass(`the loading bar rose through ${partial.size} values as the bytes arrived`);
  else fail(`the loading bar did not show the bytes arriving: ${JSON.stringify(loading.values.slice(0, 40))}`);
}

async function playAndEnd(page) {
  await clickStart(page);
  if (!await page.waitFor('music time 3000 ms', musicTimeAbove(3000), 30000)) return null;
  const early = await sampleCanvas(page);
  const target = early.musicTime + 2000;
  if (!await page.waitFor(`music time ${target} ms`, musicTimeAbove(target), 30000)) return null;
  const late = await sampleCanvas(page);
  if (late.lit > 0.05) pass(`the playing canvas shows a picture (lit share ${late.lit.toFixed(3)})`);
  else fail(`the playing canvas is blank (lit share ${late.lit.toFixed(3)})`);
  const moved = movedPixels(early, late);
  if (moved > 500) pass(`the scroller moved between ${early.musicTime} and ${late.musicTime} ms (${moved} pixels)`);
  else fail(`the scroller did not move between ${early.musicTime} and ${late.musicTime} ms (${moved} pixels)`);
  const shot = await page.send('Page.captureScreenshot', { format: 'png' });
  fs.writeFileSync(screenshotFile, Buffer.from(shot.data, 'base64'));

  // The browser drops the lock when the page is hidden; back in view the
  // page asks again.
  await page.evaluate(`window.testDropWakeLock(); document.dispatchEvent(new Event('visibilitychange'))`);
  await sleep(200);
  const beforeEnd = await wakeLog(page);

  await page.send('Input.dispatchKeyEvent', { type: 'keyDown', key: 'Escape', code: 'Escape', windowsVirtualKeyCode: 27 });
  await page.send('Input.dispatchKeyEvent', { type: 'keyUp', key: 'Escape', code: 'Escape', windowsVirtualKeyCode: 27 });
  await sleep(300);
  const framesAtEnd = await framesShown(page);
  await sleep(700);
  const status = await page.evaluate(`document.getElementById('panel').hidden ? '' : document.getElementById('status').textContent`);
  if (/ended/.test(status) && await framesShown(page) === framesAtEnd) pass(`Escape ends the show ("${status}")`);
  else fail(`Escape did not end the show (status "${status}", frames ${framesAtEnd} then ${await framesShown(page)})`);

  const expected = 'request screen, dropped, request screen';
  if (beforeEnd === expected) pass(`the wake lock is asked for at the start and again when the page is seen (${beforeEnd})`);
  else fail(`the wake lock during the show: "${beforeEnd}", expected "${expected}"`);
  const afterEnd = await wakeLog(page);
  if (afterEnd === `${expected}, release`) pass('the wake lock is released when the show ends');
  else fail(`the wake lock after the show: "${afterEnd}"`);
  return late;
}

// The version of the file VERSION, shown under the Start button.
async function checkVersion(page) {
  const version = fs.readFileSync(path.join(__dirname, '..', '..', 'VERSION'), 'utf8').trim();
  const shown = await page.evaluate(`(() => {
    const text = document.getElementById('version'), start = document.getElementById('start');
    const box = text.getBoundingClientRect();
    return box.height > 0 && box.top >= start.getBoundingClientRect().bottom ? text.textContent : '';
  })()`);
  if (shown === `version ${version}`) pass(`"${shown}" under the Start button`);
  else fail(`the version under the Start button: "${shown}", expected "version ${version}"`);
}

run(['--window-size=640,480', '--autoplay-policy=no-user-gesture-required'], 180000, async (browser) => {
  const page = await browser.attachPage();
  await page.send('Page.addScriptToEvaluateOnNewDocument', { source: kWatchPage });
  // About 4 MB/s: the 3 MB arrive in pieces the bar can show.
  await page.send('Network.enable');
  await page.send('Network.emulateNetworkConditions',
    { offline: false, latency: 0, downloadThroughput: 4 * 1024 * 1024, uploadThroughput: -1 });
  await page.send('Page.navigate', { url });
  if (!await page.waitFor('the Start button', `!document.getElementById('start').disabled`, 60000)) return;
  await page.send('Network.emulateNetworkConditions',
    { offline: false, latency: 0, downloadThroughput: -1, uploadThroughput: -1 });
  await checkLoading(page);
  await checkVersion(page);

  const late = await playAndEnd(page);
  if (late === null) return;
  if (!await page.waitFor('the Start button after the end', `!document.getElementById('start').disabled`, 30000)) return;
  await clickStart(page);
  if (!await page.waitFor('the second run to play', `Number(document.getElementById('screen').dataset.frames || 0) > 5`, 30000)) return;
  const again = await page.evaluate(`Number(document.getElementById('screen').dataset.musicTime || 0)`);
  if (again < late.musicTime) pass(`Start plays the show again from the beginning (${again} ms)`);
  else fail(`the second run did not start from the beginning (${again} ms)`);
});
