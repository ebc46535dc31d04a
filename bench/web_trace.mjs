#!/usr/bin/env node
// Where the page's main thread spends its time while a game is played:
// Chromium's trace (through the DevTools protocol) of a key every 150 ms for
// 10 s, on the game's page and on an empty page fed the same keys, summed
// by event (style, layout, paint, the layer tree's commit, script, ...) in
// thread time, per key. Usage: node bench/web_trace.mjs [SECONDS]
// (the site in build/web, or NUBBO_SITE)
import { setTimeout as sleep } from "node:timers/promises";
import { startBrowser } from "../tests/web/browser.js";

const SECONDS = Number(process.argv[2] ?? 10);
const CATEGORIES = ["devtools.timeline", "disabled-by-default-devtools.timeline", "blink", "cc", "gpu",
  "toplevel", "v8.execute", "disabled-by-default-devtools.timeline.frame"];

// A key every 150 ms for `ms`: the arrows and the rotation mostly, now and
// then a drop or a new game, from a fixed sequence (bench/web_bench.mjs plays
// it too). Returns the number of keys.
export async function playKeys(page, ms) {
  let seed = 12345;
  const next = () => (seed = (seed * 1103515245 + 12345) % 2 ** 31) % 10;
  const keys = ["ArrowLeft", "ArrowLeft", "ArrowLeft", "ArrowRight", "ArrowRight", "ArrowRight", "Space", "Space",
    "ArrowDown", "F2"];
  const end = performance.now() + ms;
  let n = 0;
  for (let at = performance.now(); at < end; at += 150, ++n) {
    await page.keyboard.press(keys[next()]);
    await sleep(Math.max(0, at + 150 - performance.now()));
  }
  return n;
}

// Thread time (ms) of the renderer's main thread by event name, outermost
// events of each name only, over a trace of `act`.
async function traced(page, act) {
  await page.tracing.start({ categories: CATEGORIES });
  const keys = await act();
  const events = JSON.parse(Buffer.from(await page.tracing.stop()).toString()).traceEvents;
  // The page's main thread: the renderer main thread that dispatched the keys.
  const dispatched = new Map();
  for (const e of events)
    if (e.name === "EventDispatch") dispatched.set(`${e.pid}/${e.tid}`, (dispatched.get(`${e.pid}/${e.tid}`) ?? 0) + 1);
  const [pid, tid] = [...dispatched].sort((a, b) => b[1] - a[1])[0][0].split("/").map(Number);
  const main = { pid, tid };
  const mine = events.filter((e) => e.pid === main.pid && e.tid === main.tid && e.ph === "X" && e.tdur !== undefined);
  const sums = new Map();
  for (const e of mine) sums.set(e.name, (sums.get(e.name) ?? 0) + e.tdur / 1000);
  // The main thread's tasks (each "RunTask" once: the scheduler's own
  // event of the same task nests inside it).
  const top = mine.filter((e) => e.name === "RunTask");
  const total = top.reduce((s, e) => s + e.tdur / 1000, 0);
  return { keys, sums, total };
}

if (process.argv[1] && process.argv[1].endsWith("web_trace.mjs")) {
  const browser = await startBrowser();
  const { page } = await browser.open({ viewport: { width: 1350, height: 940 } });
  await page.keyboard.press("F2");
  const game = await traced(page, () => playKeys(page, SECONDS * 1000));
  await page.close();
  const empty = await browser.blank();
  await empty.goto("data:text/html,<p>keys</p>");
  const blank = await traced(empty, () => playKeys(empty, SECONDS * 1000));
  await browser.close();
  const names = [...new Set([...game.sums.keys(), ...blank.sums.keys()])]
    .sort((a, b) => (game.sums.get(b) ?? 0) - (game.sums.get(a) ?? 0)).slice(0, 40);
  console.log(`per key, ms of main-thread time (${game.keys} and ${blank.keys} keys)`);
  console.log(`${"event".padEnd(44)} ${"game".padStart(8)} ${"empty".padStart(8)}`);
  console.log(`${"tasks in all".padEnd(44)} ${(game.total / game.keys).toFixed(3).padStart(8)} ${(blank.total / blank.keys).toFixed(3).padStart(8)}`);
  for (const n of names)
    console.log(`${n.slice(0, 44).padEnd(44)} ${((game.sums.get(n) ?? 0) / game.keys).toFixed(3).padStart(8)} ${((blank.sums.get(n) ?? 0) / blank.keys).toFixed(3).padStart(8)}`);
}
