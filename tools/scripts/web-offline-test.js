// Installing and offline use, in headless Chromium: the web app manifest and
// its icons; the service worker controls the page after the first visit;
// with the network off a reload of the check mode gives the same hashes as
// online (and as the native frames); a new build's worker replaces the old
// cache; the worker answers only the site's own files, so another page
// served beside them (SITE_DIR/sub/, and the site's folder itself, which may
// be another site's by now) comes from the network. The site is a copy the
// test may change: it adds sub/, and for the new build it adds a line to
// page.css and writes the worker again as the build does.
//   node web-offline-test.js URL SITE_DIR SERVER_LOG SOURCE_DIR CHECK_FRAGMENT EXPECTED_HASHES
// SERVER_LOG: the site server's log of requests; EXPECTED_HASHES: the
// "K sha256" lines of the native frames the check names.
// Prints PASS:/FAIL: lines; exit code 1 when any failed.
'use strict';
const { execFileSync } = require('child_process');
const fs = require('fs');
const path = require('path');
const { pass, fail, run } = require('./web-devtools');

const [url, siteDir, serverLog, sourceDir, checkFragment, expectedHashes] = process.argv.slice(2);

async function checkManifest(page) {
  const { errors, data } = await page.send('Page.getAppManifest');
  let manifest = null;
  try {
    manifest = JSON.parse(data);
  } catch (error) {
    fail(`the manifest does not parse: ${error}`);
    return;
  }
  const icons = (manifest.icons || []).map((icon) => `${icon.src} ${icon.sizes}`).join(', ');
  const wanted = manifest.display === 'fullscreen' && manifest.orientation === 'landscape' &&
    icons === 'icon-192.png 192x192, icon-512.png 512x512' && manifest.name && manifest.short_name;
  if (errors.length === 0 && wanted) pass(`the manifest parses and names the icons (${icons})`);
  else fail(`the manifest: errors ${JSON.stringify(errors)}, ${JSON.stringify(manifest)}`);

  // Each icon is a picture of its size with something in it (not one colour).
  const pictures = await page.evaluate(`Promise.all(${JSON.stringify(manifest.icons)}.map((icon) =>
    fetch(icon.src).then((r) => r.blob()).then(createImageBitmap).then((bitmap) => {
      const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
      const context = canvas.getContext('2d');
      context.drawImage(bitmap, 0, 0);
      const d = context.getImageData(0, 0, bitmap.width, bitmap.height).data;
      const greys = new Set();
      for (let i = 0; i < d.length; i += 4) greys.add((d[i] + d[i + 1] + d[i + 2]) >> 4);
      return { sizes: icon.sizes, got: bitmap.width + 'x' + bitmap.height, greys: greys.size };
    })))`);
  for (const picture of pictures) {
    if (picture.got === picture.sizes && picture.greys > 20) pass(`the icon of ${picture.sizes} is a ${picture.got} picture (${picture.greys} grey levels)`);
    else fail(`the icon of ${picture.sizes}: ${JSON.stringify(picture)}`);
  }
}

// The service worker's caches and the paths in them.
const stored = (page) => page.evaluate(`caches.keys().then((names) => Promise.all(
  names.filter((name) => name.startsWith('demo-engine-')).map((name) => caches.open(name)
    .then((cache) => cache.keys())
    .then((requests) => ({ name, paths: requests.map((r) => new URL(r.url).pathname).sort() })))))`);

async function checkMode(page, navigate) {
  await navigate();
  const finished = await page.waitFor('the check mode', `['done', 'error'].includes(document.title)`, 120000);
  return finished ? (await page.evaluate(`document.getElementById('frame-hashes').textContent`)).trim() : null;
}

// The network off (or on) for the page and for the service worker, whose own
// requests the page's emulation does not cover.
async function setOffline(browser, page, offline) {
  const conditions = { offline, latency: 0, downloadThroughput: -1, uploadThroughput: -1 };
  await page.send('Network.enable');
  await page.send('Network.emulateNetworkConditions', conditions);
  const { targetInfos } = await browser.send('Target.getTargets');
  for (const worker of targetInfos.filter((target) => target.type === 'service_worker')) {
    const { sessionId } = await browser.send('Target.attachToTarget', { targetId: worker.targetId, flatten: true });
    await browser.send('Network.enable', {}, sessionId);
    await browser.send('Network.emulateNetworkConditions', conditions, sessionId);
  }
}

// The requests in the server's log.
const serverLines = () => fs.readFileSync(serverLog, 'utf8').split('\n').filter((line) => / "GET /.test(line));

// Whether the server's log names a request for the path after its first
// `after` lines (the log line may follow the response by a moment).
async function askedFor(pathname, after) {
  for (let i = 0; i < 20; i += 1) {
    if (serverLines().slice(after).some((line) => line.includes(`"GET ${pathname} `))) return true;
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
  return false;
}

run([], 240000, async (browser) => {
  const page = await browser.attachPage();
  await page.send('Page.navigate', { url });
  if (!await page.waitFor('the Start button', `!document.getElementById('start').disabled`, 60000)) return;
  await checkManifest(page);

  if (!await page.waitFor('the service worker to control the page', `navigator.serviceWorker.controller !== null`, 30000)) return;
  const siteFiles = fs.readdirSync(siteDir, { withFileTypes: true })
    .filter((entry) => entry.isFile() && entry.name !== 'sw.js').map((entry) => '/' + entry.name);
  const wanted = siteFiles.sort().join(' ');
  const caches = await stored(page);
  if (caches.length === 1 && caches[0].paths.join(' ') === wanted) {
    pass(`after the first visit the service worker controls the page and stores the site (${caches[0].name}: ${caches[0].paths.length} files)`);
  } else {
    fail(`after the first visit: caches ${JSON.stringify(caches)}, expected one with ${wanted}`);
  }

  // Another page beside the site, and the site's folder: from the server.
  fs.mkdirSync(path.join(siteDir, 'sub'), { recursive: true });
  fs.writeFileSync(path.join(siteDir, 'sub', 'index.html'), '<!DOCTYPE html><title>another site</title>\n');
  const folderUrl = url.replace(/[^/]*$/, '');
  const served = [];
  for (const address of [folderUrl + 'sub/', folderUrl + 'sub/index.html', folderUrl]) {
    const linesBefore = serverLines().length;
    await page.send('Page.navigate', { url: address });
    await page.waitFor(`the page at ${address}`, `document.readyState === 'complete'`, 30000);
    const title = await page.evaluate('document.title');
    const asked = await askedFor(new URL(address).pathname, linesBefore);
    served.push(`${address}: ${title}, ${asked ? 'from the server' : 'not from the server'}`);
  }
  if (served.every((line) => line.endsWith('from the server') && !line.endsWith('not from the server')) &&
      served[0].includes('another site') && served[1].includes('another site')) {
    pass(`the service worker leaves other pages to the network (${served.join('; ')})`);
  } else {
    fail(`the service worker and other pages: ${served.join('; ')}`);
  }

  const checkUrl = `${url}#${checkFragment}`;
  const online = await checkMode(page, async () => {
    await page.send('Page.navigate', { url: 'about:blank' });
    await page.send('Page.navigate', { url: checkUrl });
  });
  if (online === expectedHashes.trim()) pass(`online, the check mode gives the native frames' hashes (${checkFragment})`);
  else fail(`online, the check mode gave [${online}], expected [${expectedHashes.trim()}]`);

  await setOffline(browser, page, true);
  const linesBefore = serverLines().length;
  const offline = await checkMode(page, () => page.send('Page.reload', { ignoreCache: false }));
  const blocked = await page.evaluate(`fetch('not-stored.txt').then(() => 'answered', () => 'failed')`);
  const reached = serverLines().slice(linesBefore).map((line) => line.replace(/.*"GET (\S+).*/, '$1'));
  if (offline !== null && offline === online && blocked === 'failed' && reached.length === 0) {
    pass('offline, a reload runs the check mode with the same hashes as online, and no request reaches the server');
  } else {
    fail(`offline: hashes [${offline}] against [${online}], a file not stored ${blocked}, ` +
      `requests reaching the server: ${reached.join(' ') || 'none'}`);
  }
  const folder = url.replace(/[^/]*$/, '');
  await page.send('Page.navigate', { url: folder });
  if (await page.waitFor(`the page at ${folder} offline`, `!document.getElementById('start').disabled`, 30000)) {
    pass(`offline, the site's folder (${folder}) opens the page ready to start`);
  }
  await setOffline(browser, page, false);

  // A new build: one site file changes, so the worker is written anew.
  const oldName = caches.length === 1 ? caches[0].name : '';
  const marker = '/* a later build */';
  fs.appendFileSync(path.join(siteDir, 'page.css'), marker + '\n');
  execFileSync('cmake', [`-DSITE_DIR=${siteDir}`, `-DTEMPLATE=${sourceDir}/web/site/sw.js.in`,
    `-DOUTPUT=${siteDir}/sw.js`, '-P', `${sourceDir}/web/service_worker.cmake`]);
  await page.send('Page.navigate', { url: 'about:blank' });
  await page.send('Page.navigate', { url });
  const replaced = `caches.keys().then((names) => names.filter((n) => n.startsWith('demo-engine-')))
    .then((names) => names.length === 1 && names[0] !== ${JSON.stringify(oldName)} &&
      caches.open(names[0]).then((c) => c.match('page.css')).then((r) => r.text()).then((t) => t.includes(${JSON.stringify(marker)})))`;
  if (await page.waitFor('the new build\'s cache', replaced, 30000)) {
    const now = await stored(page);
    pass(`a new build's service worker replaces the old cache (${oldName} by ${now.map((c) => c.name).join(' ')})`);
  }
});
