// The installable web app: the manifest and its icons as Chromium reads
// them, the game played with the network off after one visit, and a new
// version taken up on the next visit, never under a game being played.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { after, before, test } from "node:test";
import { setTimeout as sleep } from "node:timers/promises";
import { SITE, look, startBrowser } from "./browser.js";
import { decodePng } from "./png.js";
import { boardOf, pieceOf } from "./view.js";

// A copy of the site, so that a new version can be published into it.
const site = mkdtempSync(join(tmpdir(), "nubbo-site-"));
let browser;
before(async () => {
  cpSync(SITE, site, { recursive: true });
  browser = await startBrowser({ site });
});
after(async () => {
  await browser?.close();
  rmSync(site, { recursive: true, force: true });
});

const controlled = (page) => page.waitForFunction(() => navigator.serviceWorker.controller !== null);

// The network off (or on again) for the page and for the site's service
// worker, which fetches on its own.
async function offline(page, off) {
  await page.setOfflineMode(off);
  const worker = await page.browser().waitForTarget((t) => t.type() === "service_worker" && t.url().startsWith(browser.url));
  const cdp = await worker.createCDPSession();
  await cdp.send("Network.enable");
  await cdp.send("Network.emulateNetworkConditions", { offline: off, latency: 0, downloadThroughput: -1, uploadThroughput: -1 });
  await cdp.detach();
}

// First in the file: the browser's first visit to the site.
test("after one visit the page loads and plays offline; a new version comes on the next visit", async () => {
  const { page, problems, requested } = await browser.open();
  await controlled(page);
  // Everything the first visit fetched is in the cache.
  const kept = await page.evaluate(async () => (await Promise.all((await caches.keys()).map(async (name) =>
    (await (await caches.open(name)).keys()).map((r) => new URL(r.url).pathname.slice(1) || "index.html")))).flat());
  assert.deepEqual([...new Set(requested)].filter((path) => !kept.includes(path)), [], "fetched, not cached");
  // The script hook is kept on its first use.
  assert.equal((await page.evaluate(() => globalThis.nubbo.runScript("new\n"))).status, 0);

  await offline(page, true);
  await page.reload({ waitUntil: "load" });
  await page.waitForSelector("html[data-ready]");
  await page.keyboard.press("F2");
  await sleep(30);
  const dealt = pieceOf(boardOf(await look(page)));
  assert.deepEqual([dealt?.row, dealt?.col], [0, 3], "F2 deals with the network off");
  assert.match((await page.evaluate(() => globalThis.nubbo.runScript("new\n"))).out, /^spawn /, "the script hook too");
  assert.deepEqual(problems, []);
  await page.keyboard.press("F3");  // paused, to compare the board afterwards
  await sleep(30);
  const paused = boardOf(await look(page));
  await offline(page, false);

  // A new version is published: its page says so in its title.
  const index = join(site, "index.html");
  writeFileSync(index, readFileSync(index, "utf8").replace("<title>完全NUBBO方塊版", "<title>完全NUBBO方塊版 2"));
  execFileSync("/usr/bin/python3", [new URL("../../web/make_sw.py", import.meta.url).pathname, site]);
  const next = await browser.open();
  await next.page.waitForFunction(() => document.title.endsWith(" 2"), { timeout: 10000 });
  await next.page.waitForSelector("html[data-ready]");
  assert.equal((await next.page.evaluate(() => caches.keys())).length, 1, "the old version's cache is gone");
  assert.deepEqual(next.problems, []);
  // The page with a game under way was not reloaded under the player.
  assert.equal(await page.title(), "完全NUBBO方塊版");
  assert.deepEqual(boardOf(await look(page)), paused);
  await next.page.close();
  await page.close();
});

test("the manifest names the app, its standalone display, pink theme and 192 and 512 px icons", async () => {
  const { page, problems } = await browser.open();
  await controlled(page);
  const cdp = await page.createCDPSession();
  const { url, errors, data } = await cdp.send("Page.getAppManifest");
  assert.equal(url, `${browser.url}manifest.webmanifest`);
  assert.deepEqual(errors, [], "Chromium parses it without a complaint");
  const manifest = JSON.parse(data);
  assert.deepEqual([manifest.name, manifest.display, manifest.theme_color, new URL(manifest.start_url, url).href],
    ["完全NUBBO方塊版", "standalone", "#ffc0c0", browser.url]);
  assert.ok(manifest.short_name && manifest.short_name.length <= 12, "a short name");
  assert.equal(await page.$eval('meta[name="theme-color"]', (m) => m.content), manifest.theme_color);
  assert.deepEqual(await look(page).then((v) => v.at(3, 100)), [255, 192, 192], "the form's own pink");
  // Each icon is there at its size, and is the game's icon (the window's
  // 256 px one is drawn from the same shapes: halved, the 512 px one is
  // close to it).
  const sizes = [];
  for (const icon of manifest.icons) {
    const png = decodePng(readFileSync(join(site, icon.src)));
    assert.equal(icon.sizes, `${png.width}x${png.height}`, icon.src);
    sizes.push(png.width);
  }
  assert.deepEqual(sizes.sort((a, b) => a - b), [192, 512]);
  const big = decodePng(readFileSync(join(site, manifest.icons.find((i) => i.sizes === "512x512").src)));
  const small = decodePng(readFileSync(new URL("../../assets/icons/nubbo-256.png", import.meta.url)));
  let off = 0;
  for (let y = 0; y < 256; ++y)
    for (let x = 0; x < 256; ++x)
      off += Math.abs(big.rgba[((2 * y + 1) * 512 + 2 * x + 1) * 4 + 1] - small.rgba[(y * 256 + x) * 4 + 1]);
  assert.ok(off / 65536 < 12, `the 512 px icon is the game's icon (mean difference ${off / 65536})`);
  // With the service worker, Chromium finds the page installable.
  const { installabilityErrors } = await cdp.send("Page.getInstallabilityErrors");
  assert.deepEqual(installabilityErrors, []);
  assert.deepEqual(problems, []);
  await page.close();
});
