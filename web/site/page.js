// Runs the demo in the page. Each run is a fresh instance of the module, as
// each run of the native program is a fresh process; the next one is made
// ready while the page waits, so the Start click can begin the sound at once
// (browsers allow sound only from a click).
//
// Check mode, for tests: index.html#frames=0,2600,6000&fps=50 composes the
// show at that frame rate without sound and writes "K sha256" lines for the
// chosen frames into #frame-hashes, then sets the title to "done".
// index.html#play starts playing without a click where the browser allows it.
'use strict';

const kWidth = 640;
const kHeight = 480;
const kCheckSlice = 20;  // frames per task of the check, so the page stays responsive

const canvas = document.getElementById('screen');
const context = canvas.getContext('2d');
const panel = document.getElementById('panel');
const statusLine = document.getElementById('status');
const startButton = document.getElementById('start');
const consoleText = document.getElementById('console');
const hashesOut = document.getElementById('frame-hashes');
const fragment = location.hash.replace(/^#/, '');
const params = new URLSearchParams(fragment);

function say(text) {
  consoleText.textContent += text + '\n';
  consoleText.scrollTop = consoleText.scrollHeight;
}

// A fresh module instance with its images loaded.
function freshInstance() {
  return createDemo({ print: say, printErr: say }).then((demo) => {
    demo._demo_load();
    return demo;
  });
}

function drawFrame(demo) {
  const pixels = new Uint8ClampedArray(demo.HEAPU8.buffer, demo._demo_pixels(), kWidth * kHeight * 4);
  context.putImageData(new ImageData(pixels, kWidth, kHeight), 0, 0);
}

// ---- playing ---------------------------------------------------------------

let ready = null;    // the instance for the next run, once loaded
let playing = null;  // the instance whose show runs now
let autoplay = params.has('play');  // once, for the first run only

function prepareNextRun(message) {
  ready = null;
  startButton.disabled = true;
  statusLine.textContent = message;
  panel.hidden = false;
  freshInstance().then((demo) => {
    ready = demo;
    startButton.disabled = false;
    if (autoplay) start();
  }, (error) => {
    statusLine.textContent = 'The demo could not be loaded: ' + error;
  });
}

function start() {
  if (ready === null || playing !== null) return;
  const demo = ready;
  ready = null;
  autoplay = false;
  if (!demo._demo_start()) {
    prepareNextRun('The music could not start: ' + demo.UTF8ToString(demo._demo_text()));
    return;
  }
  playing = demo;
  panel.hidden = true;
  canvas.dataset.frames = '0';
  requestAnimationFrame(tick);
}

// One frame per animation frame, composed for the music position now. While
// the tab is hidden the browser sends no animation frames; the next one shows
// where the music is by then, so nothing piles up and nothing drifts.
function tick() {
  const demo = playing;
  if (demo === null) return;
  if (!demo._demo_frame()) {
    playing = null;
    prepareNextRun('The show is over. Start plays it again.');
    return;
  }
  drawFrame(demo);
  canvas.dataset.frames = String(Number(canvas.dataset.frames) + 1);
  canvas.dataset.musicTime = String(demo._demo_music_time());
  requestAnimationFrame(tick);
}

function stop() {
  if (playing === null) return;
  playing._demo_stop();
  playing = null;
  prepareNextRun('The show was ended. Start plays it again.');
}

function toggleFullscreen() {
  if (document.fullscreenElement) {
    document.exitFullscreen();
  } else {
    document.getElementById('stage').requestFullscreen().catch(() => {});
  }
}

// ---- check mode ------------------------------------------------------------

function finishCheck(text, title) {
  hashesOut.textContent = text;
  hashesOut.hidden = false;
  statusLine.textContent = title === 'done' ? 'Check done.' : 'Check failed: ' + text;
  panel.hidden = title === 'done';  // the last frame composed stays in view
  document.title = title;
}

function runCheck() {
  panel.hidden = false;
  startButton.hidden = true;
  statusLine.textContent = 'Checking frames\u2026';
  freshInstance().then((demo) => {
    if (!demo.ccall('demo_check_begin', 'number', ['string'], [fragment])) {
      finishCheck(demo.UTF8ToString(demo._demo_text()), 'error');
      return;
    }
    const slice = () => {
      if (demo._demo_check_advance(kCheckSlice)) {
        drawFrame(demo);
        finishCheck(demo.UTF8ToString(demo._demo_text()), 'done');
        return;
      }
      statusLine.textContent = 'Checking frames\u2026 ' + demo._demo_check_frames_composed() + ' composed';
      drawFrame(demo);
      setTimeout(slice, 0);
    };
    slice();
  }, (error) => finishCheck(String(error), 'error'));
}

// ---- page ------------------------------------------------------------------

document.getElementById('fullscreen').addEventListener('click', toggleFullscreen);
startButton.addEventListener('click', start);
document.addEventListener('keydown', (event) => {
  if (event.key === 'Escape') {
    stop();
  } else if (event.key === 'f' || event.key === 'F') {
    toggleFullscreen();
  }
});

if (params.has('frames')) {
  runCheck();
} else {
  prepareNextRun('Press Start: the demo plays with sound.');
}
