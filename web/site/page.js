// Runs the demo in the page. Each run is a fresh instance of the module, as
// each run of the native program is a fresh process; the next one is made
// ready while the page waits, so the Start click can begin the sound at once
// (browsers allow sound only from a click or tap). demo.wasm and demo.data
// are loaded once, with their bytes shown as they arrive, and every instance
// is made from them.
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
const fullscreenButton = document.getElementById('fullscreen');
const loadingBar = document.getElementById('loading');
const loadedText = document.getElementById('loaded');
const consoleText = document.getElementById('console');
const hashesOut = document.getElementById('frame-hashes');
const fragment = location.hash.replace(/^#/, '');
const params = new URLSearchParams(fragment);

function say(text) {
  consoleText.textContent += text + '\n';
  consoleText.scrollTop = consoleText.scrollHeight;
}

// ---- loading ---------------------------------------------------------------

const kMegabyte = 1024 * 1024;

// The bytes of both files as they arrive. The total is the sum of the sizes
// the server announces; without them the bar has no end until both are in.
const loadCount = { received: 0, announced: [] };

function showLoaded() {
  const [wasmBytes, dataBytes] = loadCount.announced;
  const total = wasmBytes > 0 && dataBytes > 0 ? wasmBytes + dataBytes : 0;
  if (total > 0) {
    loadingBar.max = total;
    loadingBar.value = Math.min(loadCount.received, total);
  } else {
    loadingBar.removeAttribute('value');  // a bar without an end
  }
  loadedText.textContent = (loadCount.received / kMegabyte).toFixed(1) +
    (total > 0 ? ' of ' + (total / kMegabyte).toFixed(1) : '') + ' MB';
}

// A response whose body counts its bytes into loadCount on the way through,
// with the given type (compiling as it arrives needs application/wasm, which
// not every server sends).
function counted(response, index, type) {
  if (!response.ok) throw new Error(response.url + ': ' + response.status + ' ' + response.statusText);
  loadCount.announced[index] = Number(response.headers.get('Content-Length') || 0);
  showLoaded();
  if (!response.body) return response;  // no streams: counted when complete
  const reader = response.body.getReader();
  const body = new ReadableStream({
    async pull(controller) {
      const { done, value } = await reader.read();
      if (done) {
        controller.close();
        return;
      }
      loadCount.received += value.byteLength;
      showLoaded();
      controller.enqueue(value);
    },
  });
  return new Response(body, { headers: { 'Content-Type': type } });
}

function wholeBody(response) {
  return response.arrayBuffer().then((bytes) => {
    if (!response.body) loadCount.received += bytes.byteLength;
    return bytes;
  });
}

// demo.wasm is compiled while it arrives where the browser can.
function loadWasm() {
  return fetch('demo.wasm').then((response) => counted(response, 0, 'application/wasm')).then((response) => {
    if (response.body && WebAssembly.compileStreaming) return WebAssembly.compileStreaming(response);
    return wholeBody(response).then((bytes) => WebAssembly.compile(bytes));
  });
}

function loadData() {
  return fetch('demo.data').then((response) => counted(response, 1, 'application/octet-stream')).then(wholeBody);
}

// A page opened from a file (file://) cannot fetch its own files: browsers
// refuse it. The page says so instead of the browser's bare "Failed to fetch".
const kServeOverHttp = 'this page was opened as a file, and a browser loads demo.wasm and demo.data ' +
  'only over HTTP. Serve its folder with a web server (for example "python3 -m http.server" in the ' +
  'folder, or "make serve-web" in the source tree) and open the address it gives.';

function loadSiteFiles() {
  if (location.protocol === 'file:') return Promise.reject(kServeOverHttp);
  return Promise.all([loadWasm(), loadData()]);
}

// Both files, once: { wasm: WebAssembly.Module, data: ArrayBuffer }. When
// both are in, the bar ends at the bytes received (a server that compresses
// them announces fewer).
const siteFiles = loadSiteFiles().then(([wasm, data]) => {
  loadingBar.max = Math.max(loadCount.received, 1);
  loadingBar.value = loadingBar.max;
  loadedText.textContent = (loadCount.received / kMegabyte).toFixed(1) + ' MB';
  loadingBar.parentElement.hidden = true;
  return { wasm, data };
});

// A fresh module instance with its images loaded. The data files are only
// read, so every instance's file system can share the one copy.
function freshInstance() {
  return siteFiles.then((files) => new Promise((resolve, reject) => {
    createDemo({
      print: say,
      printErr: say,
      instantiateWasm(imports, receive) {
        WebAssembly.instantiate(files.wasm, imports).then((instance) => receive(instance, files.wasm), reject);
        return {};
      },
      getPreloadedPackage: () => files.data,
    }).then(resolve, reject);
  })).then((demo) => {
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

// Runs inside the click or tap on Start: SDL makes its audio context there,
// and mobile Safari lets a context play only when it is resumed within the
// handler of the touch itself.
// When the music cannot start, the message says why; the files are then
// damaged or incomplete, so another instance made of them would fail the same
// way: Start stays off and the page asks for a reload, which loads them again.
const kReload = ' Reload the page to load the demo again.';

function musicStarted(demo) {
  let reason = '';
  try {
    if (demo._demo_start()) return true;
    reason = demo.UTF8ToString(demo._demo_text());
  } catch (error) {
    reason = String(error);
    say(reason);
  }
  statusLine.textContent = 'The music qzt_dmbl.xm (in demo.data) could not start: ' + reason.replace(/\.*$/, '.') + kReload;
  startButton.disabled = true;
  panel.hidden = false;
  return false;
}

function start() {
  if (ready === null || playing !== null) return;
  const demo = ready;
  ready = null;
  autoplay = false;
  if (!musicStarted(demo)) return;
  const audio = demo.SDL2 && demo.SDL2.audioContext;
  if (audio && audio.state !== 'running') audio.resume().catch(() => {});
  playing = demo;
  panel.hidden = true;
  canvas.dataset.frames = '0';
  keepScreenOn();
  requestAnimationFrame(tick);
}

// One frame per animation frame, composed for the music position now. While
// the tab is hidden the browser sends no animation frames; the next one shows
// where the music is by then, so nothing piles up and nothing drifts.
function tick() {
  const demo = playing;
  if (demo === null) return;
  if (!demo._demo_frame()) {
    endShow('The show is over. Start plays it again.');
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
  endShow('The show was ended. Start plays it again.');
}

function endShow(message) {
  playing = null;
  letScreenSleep();
  prepareNextRun(message);
}

// ---- the screen stays on during the show ------------------------------------
// The browser drops the lock whenever the page is hidden; it is asked for
// again when the page is seen again while the show runs.

let wakeLock = null;
let wakeLockAsked = false;

function keepScreenOn() {
  if (!navigator.wakeLock || playing === null || wakeLock !== null || wakeLockAsked) return;
  wakeLockAsked = true;
  navigator.wakeLock.request('screen').then((lock) => {
    wakeLockAsked = false;
    if (playing === null) {  // the show ended while the browser decided
      lock.release().catch(() => {});
      return;
    }
    wakeLock = lock;
    lock.addEventListener('release', () => {
      if (wakeLock === lock) wakeLock = null;
    });
  }, () => {
    wakeLockAsked = false;  // refused (a hidden page, a battery saver): the screen may dim
  });
}

function letScreenSleep() {
  const lock = wakeLock;
  wakeLock = null;
  if (lock !== null) lock.release().catch(() => {});
}

document.addEventListener('visibilitychange', () => {
  if (document.visibilityState === 'visible') keepScreenOn();
});

// ---- fullscreen, orientation and the canvas's size ---------------------------

const stage = document.getElementById('stage');
const phoneLike = window.matchMedia('(pointer: coarse)');

function fullscreenElement() {
  return document.fullscreenElement || document.webkitFullscreenElement || null;
}

function toggleFullscreen() {
  const request = fullscreenElement()
    ? (document.exitFullscreen || document.webkitExitFullscreen).bind(document)
    : (stage.requestFullscreen || stage.webkitRequestFullscreen).bind(stage);
  const result = request();
  if (result && result.catch) result.catch(() => {});
}

// A phone in fullscreen turns to landscape where the browser allows it; the
// lock ends with fullscreen.
function fullscreenChanged() {
  if (fullscreenElement() && phoneLike.matches && screen.orientation && screen.orientation.lock) {
    screen.orientation.lock('landscape').catch(() => {});
  }
  fitCanvas();
}

// The frame at 4:3, as large as the stage allows. A whole number of screen
// pixels per frame pixel keeps every pixel the same size; that is used when
// it fills at least kWholeScaleShare of the largest size, otherwise the
// largest size (pixelated, so still sharp).
const kWholeScaleShare = 0.8;

function fitCanvas() {
  const ratio = window.devicePixelRatio || 1;
  const largest = Math.min(stage.clientWidth * ratio / kWidth, stage.clientHeight * ratio / kHeight);
  const whole = Math.floor(largest);
  const scale = whole >= 1 && whole >= kWholeScaleShare * largest ? whole : largest;
  canvas.style.width = (kWidth * scale / ratio) + 'px';
  canvas.style.height = (kHeight * scale / ratio) + 'px';
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

fullscreenButton.hidden = !(stage.requestFullscreen || stage.webkitRequestFullscreen);
fullscreenButton.addEventListener('click', toggleFullscreen);
startButton.addEventListener('click', start);
document.addEventListener('keydown', (event) => {
  if (event.key === 'Escape') {
    stop();
  } else if ((event.key === 'f' || event.key === 'F') && !fullscreenButton.hidden) {
    toggleFullscreen();
  }
});
document.addEventListener('fullscreenchange', fullscreenChanged);
document.addEventListener('webkitfullscreenchange', fullscreenChanged);
if (window.ResizeObserver) new ResizeObserver(fitCanvas).observe(stage);
else window.addEventListener('resize', fitCanvas);
fitCanvas();

// Offline use: once the files are in, the service worker stores the site.
siteFiles.then(() => {
  if ('serviceWorker' in navigator) {
    navigator.serviceWorker.register('sw.js').catch((error) => console.warn('No offline copy: ' + error));
  }
}, () => {});

if (params.has('frames')) {
  runCheck();
} else {
  siteFiles.then(() => prepareNextRun('Press Start: the demo plays with sound.'),
    (error) => { statusLine.textContent = 'The demo could not be loaded: ' + error; });
}
