// A long game in the browser: the page in headless Chromium played by random
// keys for SOAK_MINUTES minutes (10 by default), a new game at each game
// over. Every 10 seconds it samples the resident size of all the browser's
// processes (from /proc) and the JS heaps of the page and of the game's
// worker (after a garbage collection, so that what is kept is measured, not
// what is not yet collected). It fails on any error of the page or the
// worker, and on any sample after the first minute above the first minute's
// highest plus 10 %. Prints every sample and the figures.
// Usage: NUBBO_SITE=SITE_DIR [SOAK_MINUTES=10] [SEED=1] node page_soak.js
import { readdirSync, readFileSync } from "node:fs";
import { setTimeout as sleep } from "node:timers/promises";
import { startBrowser } from "../browser.js";

const MINUTES = Number(process.env.SOAK_MINUTES ?? 10);
const SAMPLE_MS = 10_000;
const WARM_MS = Math.min(60_000, MINUTES * 60_000 / 2);
let seed = Number(process.env.SEED ?? 1) >>> 0;
const random = () => {  // mulberry32, for a run that can be repeated
  seed = (seed + 0x6d2b79f5) >>> 0;
  let t = Math.imul(seed ^ (seed >>> 15), seed | 1);
  t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
  return ((t ^ (t >>> 14)) >>> 0) / 2 ** 32;
};

// The resident size, in bytes, of a process and all its descendants.
function residentOfTree(root) {
  const parents = new Map();
  for (const name of readdirSync("/proc")) {
    if (!/^\d+$/.test(name)) continue;
    try {
      const stat = readFileSync(`/proc/${name}/stat`, "utf8");
      parents.set(Number(name), Number(stat.slice(stat.lastIndexOf(")") + 2).split(" ")[1]));
    } catch { /* the process ended */ }
  }
  const tree = new Set([root]);
  for (let grew = true; grew;) {
    grew = false;
    for (const [pid, parent] of parents)
      if (tree.has(parent) && !tree.has(pid)) { tree.add(pid); grew = true; }
  }
  let bytes = 0;
  for (const pid of tree) {
    try {
      const kb = readFileSync(`/proc/${pid}/status`, "utf8").match(/^VmRSS:\s+(\d+) kB/m);
      if (kb) bytes += Number(kb[1]) * 1024;
    } catch { /* the process ended */ }
  }
  return bytes;
}

const browser = await startBrowser();
const { page, problems } = await browser.open();
const worker = page.workers().find((w) => w.url().endsWith("/game_host.js"));
if (!worker) throw new Error("the game's worker is not running");
worker.on("console", (m) => { if (m.type() === "error") problems.push(`worker console: ${m.text()}`); });
worker.on("error", (e) => problems.push(`worker error: ${e.message ?? e}`));
const pageSession = await page.createCDPSession();
const browserPid = page.browser().process().pid;

// The browser tests' harness keeps every key event of the page
// (../browser.js): let go of them before a sample, so that the page's own
// memory is measured.
async function heapOf(session) {
  await page.evaluate(() => { globalThis.__nubboTest.keys.length = 0; });
  await session.send("HeapProfiler.collectGarbage");
  return (await session.send("Runtime.getHeapUsage")).usedSize;
}
const sample = async (at) => ({
  at, rss: residentOfTree(browserPid), page: await heapOf(pageSession), worker: await heapOf(worker.client),
});

const KEYS = ["ArrowLeft", "ArrowRight", "ArrowDown", "Space", "ArrowLeft", "ArrowRight", "ArrowDown", "Space",
  "ArrowDown", "KeyX"];
const samples = [];
let games = 0, keys = 0, pauses = 0;
const start = Date.now();
let next = 0;
const mb = (n) => (n / 2 ** 20).toFixed(2);
while (Date.now() - start < MINUTES * 60_000) {
  if (Date.now() - start >= next) {
    const s = await sample(Math.round((Date.now() - start) / 1000));
    samples.push(s);
    console.log(`${s.at} s: browser RSS ${mb(s.rss)} MB, page heap ${mb(s.page)} MB, worker heap ${mb(s.worker)} MB; ${games} games, ${keys} keys`);
    next += SAMPLE_MS;
  }
  if (problems.length) break;
  const over = await page.$eval("#gameOverLabel", (l) => !l.hidden);
  const prompt = await page.$eval("#banner", (l) => !l.hidden && l.textContent === "按F2");
  if (over || prompt) {
    await page.keyboard.press("F2");
    games += 1;
  } else if (random() < 0.01) {
    await page.keyboard.press("F3");  // a pause, and a key to resume
    await sleep(200);
    pauses += 1;
  } else {
    await page.keyboard.press(KEYS[Math.floor(random() * KEYS.length)]);
    keys += 1;
  }
  await sleep(20 + random() * 120);
}
samples.push(await sample(Math.round((Date.now() - start) / 1000)));
await browser.close();

let failed = problems.length > 0;
for (const problem of problems) console.log(`error: ${problem}`);
console.log(`${games} games, ${keys} keys, ${pauses} pauses in ${((Date.now() - start) / 60_000).toFixed(1)} minutes`);
for (const what of ["rss", "page", "worker"]) {
  const warm = samples.filter((s) => s.at * 1000 <= WARM_MS);
  const level = Math.max(...warm.map((s) => s[what]));
  const later = samples.filter((s) => s.at * 1000 > WARM_MS);
  const peak = Math.max(...samples.map((s) => s[what]));
  const beyond = later.filter((s) => s[what] > level * 1.1);
  console.log(`${what}: first minute ${mb(level)} MB, peak ${mb(peak)} MB, final ${mb(samples.at(-1)[what])} MB` +
    (beyond.length ? ` -- BEYOND ${mb(level * 1.1)} MB at ${beyond.map((s) => `${s.at} s`).join(", ")}` : ""));
  if (beyond.length) failed = true;
}
if (games < 1 || samples.length < 3) {
  console.log("too short a soak to say anything");
  failed = true;
}
console.log(failed ? "page soak: FAILED" : "page soak: passed");
process.exit(failed ? 1 : 0);
