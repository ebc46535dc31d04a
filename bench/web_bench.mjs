#!/usr/bin/env node
// The web edition's figures with their goals, from headless Chromium on a
// local server: 5 runs each, the median against the goal and every run.
// Usage: node bench/web_bench.mjs   (the site in build/web, or NUBBO_SITE;
// puppeteer-core from tests/web, installed there by `npm ci`)
import { readFileSync, readdirSync } from "node:fs";
import { setTimeout as sleep } from "node:timers/promises";
import { startBrowser } from "../tests/web/browser.js";
import { fetchedOnLoad, sizes } from "../tests/web/first_visit.js";
import { runLighthouse } from "../tests/web/lighthouse.js";
import { playKeys as play } from "./web_trace.mjs";

const RUNS = Number(process.env.RUNS ?? 5);
const median = (xs) => {
  const s = [...xs].sort((a, b) => a - b);
  return s.length % 2 ? s[(s.length - 1) / 2] : (s[s.length / 2 - 1] + s[s.length / 2]) / 2;
};
function row(figure, runs, unit, goal, digits = 1) {
  if (!runs.length) return console.log(`| ${figure} | not measured | ${goal} |`);
  console.log(`| ${figure} (median of ${runs.length}) | ${median(runs).toFixed(digits)} ${unit} ` +
    `(runs: ${runs.map((r) => r.toFixed(digits)).join(", ")}) | ${goal} |`);
}

// A page of the site's in a browser context (a fresh one has nothing
// cached, as on a player's first visit), ready to play. A fresh context's
// first request sets up its network (the server's 404 for a file that is
// not there), which is no part of the page's load.
async function load(browser, context) {
  const page = await context.newPage();
  await page.setViewport({ width: 360, height: 620 });
  await page.goto(`${browser.url}warm-up`);
  await page.goto(browser.url, { waitUntil: "load" });
  await page.waitForSelector("html[data-ready]");
  return page;
}

// The CPU time of the main thread of `page`'s renderer, in ms, read as the
// desktop benchmarks read theirs (/proc/PID/task/TID/schedstat: the
// renderer's main thread is its process's first), and of all its threads
// (the board's worker among them). The renderer is the one whose main
// thread runs a busy loop of the page's.
async function mainThreadClock(page) {
  const cdp = await page.browser().target().createCDPSession();
  const { processInfo } = await cdp.send("SystemInfo.getProcessInfo");
  await cdp.detach();
  const cpu = (pid) => Number(readFileSync(`/proc/${pid}/task/${pid}/schedstat`, "utf8").split(" ")[0]) / 1e6;
  const ids = processInfo.filter((p) => p.type === "renderer").map((p) => p.id);
  const before = ids.map(cpu);
  await page.evaluate(() => { for (const end = performance.now() + 100; performance.now() < end;); });
  const gained = ids.map((id, k) => cpu(id) - before[k]);
  const pid = ids[gained.indexOf(Math.max(...gained))];
  const all = () => readdirSync(`/proc/${pid}/task`).reduce((sum, tid) =>
    sum + Number(readFileSync(`/proc/${pid}/task/${tid}/schedstat`, "utf8").split(" ")[0]) / 1e6, 0);
  return { main: () => cpu(pid), all };
}

// The main thread's busy time while `act` runs, in percent of the time:
// its CPU time, and the wall-clock length of its tasks (Chromium's
// TaskDuration, which on a busy machine counts time the thread waited for
// a CPU).
async function busy(page, act) {
  const clock = await mainThreadClock(page);
  const cdp = await page.createCDPSession();
  await cdp.send("Performance.enable");
  const taskTime = async () => (await cdp.send("Performance.getMetrics")).metrics
    .find((m) => m.name === "TaskDuration").value * 1000;
  const c0 = clock.main(), a0 = clock.all(), t0 = await taskTime(), w0 = performance.now();
  await act();
  const c1 = clock.main(), a1 = clock.all(), t1 = await taskTime(), w1 = performance.now();
  await cdp.detach();
  const share = (ms) => (ms / (w1 - w0)) * 100;
  return { cpu: share(c1 - c0), all: share(a1 - a0), tasks: share(t1 - t0) };
}

// The least a page can do to show each key: one cell drawn by a worker on
// a canvas handed over to it, as the game's board is.
const FLOOR = `data:text/html,<canvas id=c width=256 height=416></canvas><script>
const worker = new Worker(URL.createObjectURL(new Blob(["let c, n = 0; onmessage = (e) => { if (e.data.canvas) c = e.data.canvas.getContext('2d'); else { c.fillStyle = n++ % 2 ? 'red' : 'blue'; c.fillRect(32, 32, 32, 32); } };"])));
const canvas = document.getElementById("c").transferControlToOffscreen();
worker.postMessage({ canvas }, [canvas]);
addEventListener("keydown", () => worker.postMessage(1));
</script>`;

// Lighthouse's performance score of a first visit, on its mobile or
// desktop preset, in a browser of its own.
async function lighthouseScore(preset) {
  const alone = await startBrowser();
  const lhr = await runLighthouse(alone, preset, ["performance"]);
  await alone.close();
  return lhr.categories.performance.score * 100;
}

const firstVisit = [], paint = [], ready = [], playable = [], idle = [], idleTasks = [], playingTasks = [];
const playing = [], blankPlaying = [], floorPlaying = [], ratio = [], floorRatio = [], playingAll = [], blankAll = [];
const keyMedian = [], keyMax = [], mobileScore = [], desktopScore = [];
const browser = await startBrowser();
const warm = await browser.blank();  // the browser started before any measurement
for (let run = 0; run < RUNS; ++run) {
  // What a first visit downloads, in a browser of its own.
  const alone = await startBrowser();
  firstVisit.push(sizes(await fetchedOnLoad(alone)).reduce((sum, f) => sum + f.gzip, 0) / 1024);
  await alone.close();

  // A first visit: to the first contentful paint, to the game loaded, and
  // to a piece dealt by F2, pressed every 10 ms from the navigation on as
  // by an eager player (so that the harness's own delay in noticing the
  // page is ready does not count): the first press the loaded page gets deals.
  let context = await warm.browser().createBrowserContext();
  let page = await context.newPage();
  await page.setViewport({ width: 360, height: 620 });
  await page.goto(`${browser.url}warm-up`);
  let dealt = false;
  const loaded = page.goto(browser.url, { waitUntil: "load" });
  const eager = (async () => {
    while (!dealt) {
      await page.keyboard.press("F2").catch(() => {});
      await sleep(10);
    }
  })();
  await loaded;
  // The game may be playable before the page first paints.
  await page.waitForFunction(() => performance.getEntriesByName("nubbo-first-piece").length > 0 &&
    performance.getEntriesByName("first-contentful-paint").length > 0);
  dealt = true;
  await eager;
  const times = await page.evaluate(() => ({
    paint: performance.getEntriesByName("first-contentful-paint")[0].startTime,
    ready: performance.getEntriesByName("nubbo-ready")[0].startTime,
    playable: performance.getEntriesByName("nubbo-first-piece")[0].startTime,
  }));
  paint.push(times.paint);
  ready.push(times.ready);
  playable.push(times.playable);
  await page.close();

  // An idle page: 10 s from 10 s after its first paint.
  page = await load(browser, context);
  await page.waitForFunction(() => performance.now() >
    performance.getEntriesByName("first-contentful-paint")[0].startTime + 10000, { timeout: 20000, polling: 500 });
  let figures = await busy(page, () => sleep(10000));
  idle.push(figures.cpu);
  idleTasks.push(figures.tasks);
  // A game played for 30 s, and right after it the same keys for 30 s on an
  // empty page and on the least page that shows each key: side by side, so
  // that the machine's load falls on all alike.
  await page.keyboard.press("F2");
  figures = await busy(page, () => play(page, 30000));
  playing.push(figures.cpu);
  playingAll.push(figures.all);
  playingTasks.push(figures.tasks);
  await page.close();
  for (const [url, cpu, all] of [["data:text/html,<p>keys</p>", blankPlaying, blankAll], [FLOOR, floorPlaying, []]]) {
    page = await context.newPage();
    await page.goto(url);
    figures = await busy(page, () => play(page, 30000));
    cpu.push(figures.cpu);
    all.push(figures.all);
    await page.close();
  }
  ratio.push(playing.at(-1) / blankPlaying.at(-1));
  floorRatio.push(floorPlaying.at(-1) / blankPlaying.at(-1));

  // Key press to the next animation frame of the game's worker after it
  // painted the move: the key's time on the page, the frame's in the
  // worker, both from the epoch.
  page = await load(browser, context);
  await page.keyboard.press("F2");
  await page.evaluate(() => {
    globalThis.keyTimes = [];
    addEventListener("keydown", (event) => globalThis.keyTimes.push(performance.timeOrigin + event.timeStamp),
      { capture: true });
  });
  // (A build of the site from before the game had its worker has no such
  // figure.)
  const worker = page.workers().find((w) => w.url().endsWith("/game_host.js"));
  if (worker) {
    await worker.evaluate(() => {
      globalThis.frameTimes = [];
      const handle = globalThis.onmessage;
      globalThis.onmessage = (event) => {
        handle(event);
        if (event.data.some((message) => message.key)) requestAnimationFrame(() => globalThis.frameTimes.push(performance.timeOrigin + performance.now()));
      };
    });
    for (let k = 0; k < 40; ++k) {
      await page.keyboard.press(k % 2 ? "ArrowRight" : "ArrowLeft");
      await sleep(150);
    }
    const keyTimes = await page.evaluate(() => globalThis.keyTimes);
    const frameTimes = await worker.evaluate(() => globalThis.frameTimes);
    const lags = keyTimes.map((at) => frameTimes.find((frame) => frame >= at) - at);
    keyMedian.push(median(lags));
    keyMax.push(Math.max(...lags));
  }
  await context.close();

  // Lighthouse, in a browser of its own for each preset.
  mobileScore.push(await lighthouseScore("mobile"));
  desktopScore.push(await lighthouseScore("desktop"));
}
await browser.close();

console.log("| figure | measured | goal |");
console.log("|---|---|---|");
row("web: first visit, everything downloaded, gzip -9", firstVisit, "KB", "<= 100 KB");
row("web: navigation to first contentful paint", paint, "ms", "<= 250 ms");
row("web: navigation to the game loaded (the page's mark)", ready, "ms", "-");
row("web: navigation to a playable game (F2 has dealt)", playable, "ms", "<= 400 ms");
row("web: main-thread CPU, idle page, 10 s from 10 s after the first paint", idle, "%", "<= 0.1 %", 3);
row("web: main-thread CPU, a key every 150 ms for 30 s", playing, "%", "<= 1 %", 3);
row("web: main-thread CPU, the same keys on an empty page (30 s, right after)", blankPlaying, "%", "-", 3);
row("web: main-thread CPU while playing, ratio to the empty page", ratio, "x", "<= 1.2", 2);
row("web: main-thread CPU, the same keys on a page that draws one cell a key from a worker", floorPlaying, "%", "-", 3);
row("web: that page's ratio to the empty page (the least a page that shows each key costs)", floorRatio, "x", "-", 2);
row("web: renderer CPU, all its threads, while playing", playingAll, "%", "-", 3);
row("web: renderer CPU, all its threads, the empty page", blankAll, "%", "-", 3);
row("web: Lighthouse performance score, mobile preset", mobileScore, "", "100", 0);
row("web: Lighthouse performance score, desktop preset", desktopScore, "", "100", 0);
row("web: key press to the moved piece's frame, median of 40 keys", keyMedian, "ms", "<= 16.7 ms");
row("web: key press to the moved piece's frame, longest of 40 keys", keyMax, "ms", "<= 16.7 ms");
row("web: main-thread task time (wall clock), idle page", idleTasks, "%", "-", 3);
row("web: main-thread task time (wall clock), playing", playingTasks, "%", "-", 3);
