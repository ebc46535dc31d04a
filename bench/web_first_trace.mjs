#!/usr/bin/env node
// Where a first visit's time goes before the game is playable: Chromium's
// trace of one first visit from about:blank in a fresh browser context, F2
// pressed every 10 ms from the navigation on (as bench/web_first_visit.mjs
// does), printed as the tasks of the page's main thread and of the game's
// worker that took at least 1 ms, from the navigation to the first piece:
// when each began (ms from the navigation), how long it took and the
// longest events inside it, with the first contentful paint, the game's
// start and its first piece among them. Tracing slows the page (some 1.5 to
// 2 times): the order and the shares count, not the absolute times.
// Usage: node bench/web_first_trace.mjs   (the site in build/web, or NUBBO_SITE)
import { setTimeout as sleep } from "node:timers/promises";
import { startBrowser } from "../tests/web/browser.js";

const CATEGORIES = ["devtools.timeline", "disabled-by-default-devtools.timeline", "blink", "blink.user_timing",
  "loading", "toplevel", "v8", "v8.execute", "v8.wasm"];
// Events that only wrap others, left out of a task's description.
const WRAPPERS = /^(RunTask|ThreadControllerImpl::RunTask|ThreadController|Receive mojo|SimpleWatcher|AsyncTask|Blink\.|LocalFrameView::|v8\.callFunction|RunMicrotasks|HandlePostMessage|HTMLDocumentParser::(Deferred)?PumpTokenizer|Document::UpdateStyleAndLayout)/;

const browser = await startBrowser();
const context = await (await browser.blank()).browser().createBrowserContext();
const page = await context.newPage();
await page.setViewport({ width: 360, height: 620 });
await page.tracing.start({ categories: CATEGORIES });
let done = false;
const presses = (async () => {
  while (!done) {
    await page.keyboard.press("F2").catch(() => {});
    await sleep(10);
  }
})();
await page.goto(browser.url, { waitUntil: "load" });
await page.waitForFunction(() => performance.getEntriesByName("nubbo-first-piece").length > 0 &&
  performance.getEntriesByName("first-contentful-paint").length > 0);
done = true;
await presses;
const events = JSON.parse(Buffer.from(await page.tracing.stop()).toString()).traceEvents;
await context.close();
await browser.close();

const threads = new Map(events.filter((e) => e.ph === "M" && e.name === "thread_name")
  .map((e) => [`${e.pid}/${e.tid}`, e.args.name]));
const navigation = events.filter((e) => e.name === "navigationStart" &&
  String(e.args?.data?.documentLoaderURL).startsWith("http")).at(-1);
const since = (e) => (e.ts - navigation.ts) / 1000;
const mine = events.filter((e) => e.pid === navigation.pid);
const marks = mine.filter((e) => ["firstContentfulPaint", "nubbo-ready", "nubbo-first-piece"].includes(e.name));
const end = Math.max(...marks.map(since));
const thread = (e) => threads.get(`${e.pid}/${e.tid}`) ?? String(e.tid);
const rows = marks.map((e) => [since(e), `-- ${e.name}`]);
for (const task of mine.filter((e) => e.name === "RunTask" && e.ph === "X" && e.dur >= 1000 &&
  /^(CrRendererMain|DedicatedWorker)/.test(thread(e)) && since(e) >= -5 && since(e) <= end)) {
  const inside = mine.filter((e) => e.tid === task.tid && e.ph === "X" && e !== task && e.ts >= task.ts &&
    e.ts + e.dur <= task.ts + task.dur && e.dur >= 300 && !WRAPPERS.test(e.name))
    .sort((a, b) => b.dur - a.dur).slice(0, 3)
    .map((e) => `${e.name}${e.args?.data?.url ? ` ${e.args.data.url.replace(/.*\//, "")}` : ""} ${(e.dur / 1000).toFixed(1)}`);
  rows.push([since(task), `${(task.dur / 1000).toFixed(1).padStart(6)} ${thread(task).slice(0, 16).padEnd(16)} ${inside.join("; ")}`]);
}
console.log("   from navigation, ms; task, ms; thread; the longest events inside");
for (const [at, text] of rows.sort((a, b) => a[0] - b[0])) console.log(`${at.toFixed(1).padStart(7)} ${text}`);
