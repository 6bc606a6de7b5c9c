// Headless Chromium driven through its debugging protocol on a pipe (JSON
// messages ended by a zero byte), for the page's tests: one browser with a
// fresh profile, one page attached, PASS:/FAIL: lines and the exit code.
'use strict';
const { spawn } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

let failures = 0;
const pass = (what) => console.log(`PASS: ${what}`);
const fail = (what) => { console.log(`FAIL: ${what}`); failures += 1; };
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// extraArgs: more command-line switches (a window size).
function launch(extraArgs = []) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'web-test-'));
  const chrome = spawn('chromium', [
    '--headless=new', '--no-sandbox', '--disable-gpu', '--hide-scrollbars',
    '--remote-debugging-pipe', `--user-data-dir=${profile}`, ...extraArgs, 'about:blank',
  ], { stdio: ['ignore', 'ignore', 'ignore', 'pipe', 'pipe'] });

  let nextId = 1;
  const waiting = new Map();
  const listeners = [];
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
      } else if (message.method) {
        for (const listener of listeners) listener(message);
      }
    }
  });
  function send(method, params = {}, sessionId = undefined) {
    const id = nextId++;
    chrome.stdio[3].write(JSON.stringify({ id, method, params, sessionId }) + '\0');
    return new Promise((resolve, reject) => waiting.set(id, { resolve, reject }));
  }

  // The first page, attached; page.send talks to it, page.evaluate runs an
  // expression in it (awaiting a promise) and returns the value.
  async function attachPage() {
    const { targetInfos } = await send('Target.getTargets');
    const target = targetInfos.find((t) => t.type === 'page');
    const { sessionId } = await send('Target.attachToTarget', { targetId: target.targetId, flatten: true });
    const page = {
      send: (method, params = {}) => send(method, params, sessionId),
      async evaluate(expression) {
        const result = await page.send('Runtime.evaluate', { expression, returnByValue: true, awaitPromise: true });
        if (result.exceptionDetails) throw new Error(`${expression}: ${JSON.stringify(result.exceptionDetails)}`);
        return result.result.value;
      },
      // True once expression holds; a FAIL line when it does not in time.
      async waitFor(what, expression, timeoutMs) {
        const end = Date.now() + timeoutMs;
        while (Date.now() < end) {
          if (await page.evaluate(expression).catch(() => false)) return true;
          await sleep(100);
        }
        fail(`timed out waiting for ${what}`);
        return false;
      },
      // The next event of this page with the given method.
      nextEvent(method, timeoutMs) {
        return new Promise((resolve, reject) => {
          const listener = (message) => {
            if (message.sessionId !== sessionId || message.method !== method) return;
            listeners.splice(listeners.indexOf(listener), 1);
            clearTimeout(timer);
            resolve(message.params);
          };
          const timer = setTimeout(() => {
            listeners.splice(listeners.indexOf(listener), 1);
            reject(new Error(`no ${method} in ${timeoutMs} ms`));
          }, timeoutMs);
          listeners.push(listener);
        });
      },
    };
    await page.send('Page.enable');
    return page;
  }

  async function close() {
    await Promise.race([send('Browser.close'), sleep(2000)]).catch(() => {});
    if (chrome.exitCode === null && chrome.signalCode === null) {
      const exited = new Promise((resolve) => chrome.once('exit', resolve));
      chrome.kill();
      await exited;
    }
    fs.rmSync(profile, { recursive: true, force: true, maxRetries: 5 });
  }
  return { send, attachPage, close };
}

// Runs test(browser) within timeoutMs, closes the browser and exits with 1
// when any check failed.
function run(extraArgs, timeoutMs, test) {
  const browser = launch(extraArgs);
  let finished = false;
  const finish = () => {
    if (finished) return;
    finished = true;
    browser.close().finally(() => process.exit(failures === 0 ? 0 : 1));
  };
  setTimeout(() => { fail(`the test took longer than ${timeoutMs / 1000} s`); finish(); }, timeoutMs).unref();
  test(browser).catch((error) => fail(String(error && error.stack || error))).finally(finish);
}

// The page's Start button, pressed with the mouse.
async function clickStart(page) {
  const box = await startButtonCentre(page);
  for (const type of ['mousePressed', 'mouseReleased']) {
    await page.send('Input.dispatchMouseEvent', { type, x: box.x, y: box.y, button: 'left', clickCount: 1 });
  }
}

function startButtonCentre(page) {
  return page.evaluate(`(() => { const r = document.getElementById('start').getBoundingClientRect();
    return { x: r.x + r.width / 2, y: r.y + r.height / 2 }; })()`);
}

// The canvas as the viewer sees it: the share of lit pixels, and the top
// 120 rows (where the scroller runs) as grey levels.
function sampleCanvas(page) {
  return page.evaluate(`(() => {
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
}

// The pixels of the scroller's rows that changed by more than 8 grey levels.
function movedPixels(early, late) {
  return late.top.reduce((n, grey, i) => n + (Math.abs(grey - early.top[i]) > 8 ? 1 : 0), 0);
}

const musicTimeAbove = (ms) => `Number(document.getElementById('screen').dataset.musicTime || 0) > ${ms}`;

module.exports = {
  pass, fail, sleep, run, clickStart, sampleCanvas, movedPixels, musicTimeAbove,
};
