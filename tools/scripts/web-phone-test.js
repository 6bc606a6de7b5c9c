// The page on a phone, emulated in headless Chromium: a 390x844 touch screen
// at 3 device pixels per CSS pixel, sound allowed only after a gesture. The
// page must fit the width without sideways scrolling, ask for landscape in
// fullscreen, play the show with its sound running after a tap on Start, and
// keep the frame 4:3 and sharp held upright and sideways.
//   node web-phone-test.js URL SCREENSHOT.png
// Prints PASS:/FAIL: lines; exit code 1 when any failed.
'use strict';
const fs = require('fs');
const {
  pass, fail, sleep, run, sampleCanvas, movedPixels, musicTimeAbove,
} = require('./web-devtools');

const [url, screenshotFile] = process.argv.slice(2);

const kUpright = { width: 390, height: 844, deviceScaleFactor: 3, mobile: true,
  screenOrientation: { type: 'portraitPrimary', angle: 0 } };
const kSideways = { width: 844, height: 390, deviceScaleFactor: 3, mobile: true,
  screenOrientation: { type: 'landscapePrimary', angle: 90 } };

// What sticks out of the window: the page's scroll width, and the visible
// elements whose boxes pass its left or right edge (or, with checkHeight,
// its bottom).
const overflow = (page, checkHeight) => page.evaluate(`(() => {
  const out = [];
  const root = document.documentElement;
  if (root.scrollWidth > window.innerWidth) out.push('page ' + root.scrollWidth + ' wide');
  for (const element of document.querySelectorAll('#stage, #stage *')) {
    const r = element.getBoundingClientRect();
    if (r.width === 0 && r.height === 0) continue;
    if (r.left < -0.5 || r.right > window.innerWidth + 0.5 || (${checkHeight} && r.bottom > window.innerHeight + 0.5)) {
      out.push((element.id || element.tagName.toLowerCase()) + ' ' + [r.left, r.right, r.bottom].map(Math.round).join('/'));
    }
  }
  return out;
})()`);

// The canvas on the screen: its box in CSS pixels, device pixels per frame
// pixel, the most that fits, and its scaling style.
const canvasLayout = (page) => page.evaluate(`(() => {
  const c = document.getElementById('screen');
  const r = c.getBoundingClientRect();
  const ratio = window.devicePixelRatio;
  return { width: r.width, height: r.height, top: r.top, bottom: r.bottom, left: r.left, right: r.right,
    scale: r.width * ratio / 640, largest: Math.min(innerWidth * ratio / 640, innerHeight * ratio / 480),
    rendering: getComputedStyle(c).imageRendering, window: [innerWidth, innerHeight] };
})()`);

// 4:3 inside the window, pixelated, and either the largest size or a whole
// number of device pixels per frame pixel that is at least 0.8 of it.
function checkCanvas(layout, how) {
  const fourThree = Math.abs(layout.width * 3 - layout.height * 4) <= 1;
  const inside = layout.left >= -0.5 && layout.top >= -0.5 &&
    layout.right <= layout.window[0] + 0.5 && layout.bottom <= layout.window[1] + 0.5;
  const largest = Math.abs(layout.scale - layout.largest) < 0.01;
  const whole = Math.abs(layout.scale - Math.round(layout.scale)) < 0.01 && layout.scale >= 0.8 * layout.largest;
  const description = `${layout.width.toFixed(1)}x${layout.height.toFixed(1)} in ${layout.window.join('x')}, ` +
    `${layout.scale.toFixed(3)} device pixels a pixel of at most ${layout.largest.toFixed(3)}, ${layout.rendering}`;
  if (fourThree && inside && (largest || whole) && layout.rendering === 'pixelated') {
    pass(`${how}: the frame is 4:3, inside, ${whole ? 'at a whole scale' : 'as large as fits'} and sharp (${description})`);
  } else {
    fail(`${how}: the frame is not 4:3 inside the window, large and pixelated (${description})`);
  }
}

// Installed before the page's script: screen.orientation.lock records what
// it is asked and refuses, as browsers do outside fullscreen or on desktops.
const kOrientationStandIn = `(() => {
  window.testOrientationLocks = [];
  screen.orientation.lock = (orientation) => {
    window.testOrientationLocks.push(orientation);
    return Promise.reject(new DOMException('not here', 'NotSupportedError'));
  };
})()`;

const buttonCentre = (page, id) => page.evaluate(`(() => {
  const r = document.getElementById('${id}').getBoundingClientRect();
  return { x: r.x + r.width / 2, y: r.y + r.height / 2 };
})()`);

async function tap(page, point) {
  const touch = { x: point.x, y: point.y, id: 1, radiusX: 4, radiusY: 4, force: 1 };
  await page.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: [touch] });
  await page.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
}

run(['--autoplay-policy=document-user-activation-required'], 180000, async (browser) => {
  const page = await browser.attachPage();
  await page.send('Emulation.setDeviceMetricsOverride', kUpright);
  await page.send('Emulation.setTouchEmulationEnabled', { enabled: true, maxTouchPoints: 5 });
  await page.send('Page.addScriptToEvaluateOnNewDocument', { source: kOrientationStandIn });
  await page.send('Page.navigate', { url });
  if (!await page.waitFor('the Start button', `!document.getElementById('start').disabled`, 60000)) return;

  const coarse = await page.evaluate(`matchMedia('(pointer: coarse)').matches && navigator.maxTouchPoints > 0`);
  if (!coarse) fail('the emulated phone does not report a touch screen');
  const upright = await overflow(page, true);
  if (upright.length === 0) pass('upright, the page fits the phone without sideways scrolling');
  else fail(`upright, the page sticks out: ${upright.join(', ')}`);

  // Without a gesture a sound context stays suspended here, so a running
  // one after the tap was made or resumed inside the tap's handler.
  const withoutGesture = await page.evaluate(`(() => {
    const probe = new AudioContext();
    const state = probe.state;
    probe.close();
    return state;
  })()`);

  await tap(page, await buttonCentre(page, 'start'));
  if (!await page.waitFor('music time 3000 ms after the tap', musicTimeAbove(3000), 30000)) return;
  const early = await sampleCanvas(page);
  const target = early.musicTime + 2000;
  if (!await page.waitFor(`music time ${target} ms`, musicTimeAbove(target), 30000)) return;
  const late = await sampleCanvas(page);
  const moved = movedPixels(early, late);
  const sound = await page.evaluate(`playing && playing.SDL2 && playing.SDL2.audioContext ? playing.SDL2.audioContext.state : 'none'`);
  const what = `lit share ${late.lit.toFixed(3)}, ${moved} pixels moved, sound ${sound} (${withoutGesture} without a gesture)`;
  if (late.lit > 0.05 && moved > 500 && sound === 'running' && withoutGesture === 'suspended') {
    pass(`a tap on Start plays: ${what}`);
  } else {
    fail(`a tap on Start: ${what}`);
  }
  checkCanvas(await canvasLayout(page), 'upright');
  const shot = await page.send('Page.captureScreenshot', { format: 'png' });
  fs.writeFileSync(screenshotFile, Buffer.from(shot.data, 'base64'));

  await page.send('Emulation.setDeviceMetricsOverride', kSideways);
  await page.waitFor('the sideways window', `window.innerWidth === 844`, 5000);
  await sleep(500);  // the page's resize handling
  checkCanvas(await canvasLayout(page), 'sideways');
  await page.send('Input.dispatchKeyEvent', { type: 'keyDown', key: 'Escape', code: 'Escape', windowsVirtualKeyCode: 27 });
  await page.send('Input.dispatchKeyEvent', { type: 'keyUp', key: 'Escape', code: 'Escape', windowsVirtualKeyCode: 27 });
  if (!await page.waitFor('the panel after the show', `!document.getElementById('panel').hidden`, 10000)) return;
  const sideways = await overflow(page, true);
  if (sideways.length === 0) pass('sideways, the panel fits the phone');
  else fail(`sideways, the page sticks out: ${sideways.join(', ')}`);

  // Fullscreen by a tap: the page asks for landscape, takes the refusal
  // quietly, and leaves fullscreen again.
  await tap(page, await buttonCentre(page, 'fullscreen'));
  if (await page.waitFor('fullscreen', `document.fullscreenElement !== null && window.testOrientationLocks.length > 0`, 5000)) {
    const locks = await page.evaluate(`window.testOrientationLocks.join(', ')`);
    if (locks === 'landscape') pass('in fullscreen the phone is asked for landscape');
    else fail(`in fullscreen the orientation asked for: ${locks}`);
  }
  await page.evaluate(`document.exitFullscreen().catch(() => {})`);
  await page.waitFor('the end of fullscreen', `document.fullscreenElement === null`, 5000);
});
