// What a first visit downloads, file by file, with its size as served and
// gzipped (-9): the page's own fetches and the service worker's, which
// caches the site (files the page already has come back 304, bodiless). Run as a script it loads the page in headless Chromium and
// prints the table: node tests/web/first_visit.js (the site in build/web,
// or NUBBO_SITE)
import { readFileSync } from "node:fs";
import { fileURLToPath } from "node:url";
import { gzipSync } from "node:zlib";
import { SITE, startBrowser } from "./browser.js";

export function sizes(paths, site = SITE) {
  return paths.map((path) => {
    const body = readFileSync(`${site}/${path}`);
    return { path, bytes: body.length, gzip: gzipSync(body, { level: 9 }).length };
  });
}

// Loads the page once, until the service worker has cached the site, and
// returns every file the server sent in full meanwhile.
export async function fetchedOnLoad(browser) {
  const from = browser.served.length;
  const { page } = await browser.open();
  await page.evaluate(() => document.fonts.ready);
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
  await new Promise((done) => setTimeout(done, 300));  // the favicon comes late
  await page.close();
  return browser.served.slice(from).filter((file) => file.status === 200).map((file) => file.path);
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const browser = await startBrowser();
  const first = sizes(await fetchedOnLoad(browser));
  await browser.close();
  const hook = sizes(["nubbo-script.js", "nubbo-script.wasm"]);
  const table = (rows) => rows.forEach((r) => console.log(`${r.path.padEnd(24)} ${String(r.bytes).padStart(8)} ${String(r.gzip).padStart(8)}`));
  console.log(`${"first visit".padEnd(24)} ${"bytes".padStart(8)} ${"gzip -9".padStart(8)}`);
  table(first);
  const total = (rows) => rows.reduce((sum, r) => sum + r.gzip, 0);
  console.log(`${"total".padEnd(24)} ${"".padStart(8)} ${String(total(first)).padStart(8)}`);
  console.log("\nfetched on the first runScript");
  table(hook);
  console.log(`${"total".padEnd(24)} ${"".padStart(8)} ${String(total(hook)).padStart(8)}`);
}
