#!/usr/bin/env node
// A player's first visit from another site, the game's page beside its
// yardsticks in the same run: each load in a fresh browser context started
// from about:blank (nothing cached, no renderer warmed for the site), the
// game's page, the 2048 page and an empty page in turn, all served by
// web/serve.mjs. Prints each figure beside its yardstick: medians of RUNS
// (7) alternating loads, and every load.
// Each site has a server process of its own, as a host is apart from the
// browser (the harness's own work then delays no answer).
// Usage: node bench/web_first_visit.mjs   (the site in build/web, or
// NUBBO_SITE; the 2048 page in ../shared/yardsticks/2048-page, or
// YARDSTICK_2048; puppeteer-core from tests/web). With NUBBO_SITE_BEFORE,
// that site's game is loaded in turn too, as "before". With the argument
// `warm`, each context first asks its server for a file that is not there,
// as bench/web_bench.mjs does: the site's renderer and the context's
// network are then set up before the navigation that is measured.
import { spawn } from "node:child_process";
import { once } from "node:events";
import { existsSync, mkdtempSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { setTimeout as sleep } from "node:timers/promises";
import { SITE, startBrowser } from "../tests/web/browser.js";

const RUNS = Number(process.env.RUNS ?? 7);
const BEFORE = process.env.NUBBO_SITE_BEFORE;
const WARM = process.argv[2] === "warm";
const YARDSTICK = process.env.YARDSTICK_2048 ?? new URL("../../shared/yardsticks/2048-page", import.meta.url).pathname;
const median = (xs) => {
  const s = [...xs].sort((a, b) => a - b);
  return s.length % 2 ? s[(s.length - 1) / 2] : (s[s.length / 2 - 1] + s[s.length / 2]) / 2;
};
const runs = (xs) => `${median(xs).toFixed(0)} ms (${xs.map((x) => x.toFixed(0)).join(", ")})`;

// The empty page: one line of text, so that it has a contentful paint.
const emptyDir = mkdtempSync(join(tmpdir(), "nubbo-empty-"));
writeFileSync(join(emptyDir, "index.html"), "<!doctype html><title>empty</title><p>An empty page.</p>\n");

// Until the page marks `mark`: its first contentful paint, and the mark.
// `eager` presses F2 every 10 ms from the navigation on, as an eager player
// would, so that the harness's delay in noticing the page is ready does
// not count; each press's time on the page is kept (from its first script
// on), to say how long the first one pressed after the first paint took.
async function firstVisit(browser, url, { eager = false } = {}) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();  // about:blank
  await page.setViewport({ width: 360, height: 620 });
  await page.evaluateOnNewDocument(() => {
    globalThis.__keys = [];
    addEventListener("keydown", (event) => globalThis.__keys.push(event.timeStamp), { capture: true });
  });
  if (WARM) await page.goto(`${url}warm-up`);
  let done = false;
  const presses = (async () => {
    while (eager && !done) {
      await page.keyboard.press("F2").catch(() => {});
      await sleep(10);
    }
  })();
  await page.goto(url, { waitUntil: "load" });
  // The game may be playable before the page first paints.
  if (eager) await page.waitForFunction(() => performance.getEntriesByName("nubbo-first-piece").length > 0);
  await page.waitForFunction(() => performance.getEntriesByName("first-contentful-paint").length > 0);
  done = true;
  await presses;
  const times = await page.evaluate(() => {
    const at = (name) => performance.getEntriesByName(name)[0]?.startTime;
    // What the game waited for: the files fetched before it was ready (not
    // the icons, the manifest or the offline module), and when the last
    // of them and the worker's script had come.
    const ready = at("nubbo-ready") ?? Infinity;
    const files = performance.getEntriesByType("resource")
      .filter((e) => e.startTime < ready && !/\/(icons\/|manifest|offline)/.test(e.name));
    const worker = files.find((e) => /\/game_host\.js$/.test(e.name));
    return { paint: at("first-contentful-paint"), ready: at("nubbo-ready"), playable: at("nubbo-first-piece"),
      keys: globalThis.__keys, files: files.length, lastFile: Math.max(...files.map((e) => e.responseEnd)),
      workerScript: worker?.responseEnd };
  });
  const drawn = eager ? await pieceDrawn(page) : undefined;
  await context.close();
  // The first key pressed at or after the paint, to the game dealing on it:
  // to the board showing its piece, and to the page hearing of it. A key
  // pressed once the game was playable acted at once (0).
  const first = times.keys.find((at) => at >= times.paint);
  const after = (at) => (first !== undefined && at !== undefined ? Math.max(0, at - first) : undefined);
  return { ...times, drawn, firstKey: after(drawn), firstKeyHeard: after(times.playable) };
}

// When the game's host drew its first piece, in the page's time: the host
// marks it on its own thread, the worker's where it has one, whose board
// shows on the screen without the page's main thread.
async function pieceDrawn(page) {
  const read = () => [performance.timeOrigin, performance.getEntriesByName("nubbo-piece-drawn")[0]?.startTime];
  const [origin] = await page.evaluate(read);
  for (const realm of [...page.workers(), page]) {
    const [theirs, at] = await realm.evaluate(read).catch(() => []);
    if (at !== undefined) return theirs + at - origin;
  }
  return undefined;
}

// web/serve.mjs on `dir` in a process of its own.
async function server(dir) {
  const child = spawn(process.execPath, [new URL("../web/serve.mjs", import.meta.url).pathname, dir, "0"],
    { stdio: ["ignore", "pipe", "inherit"] });
  const [line] = await once(child.stdout, "data");
  return { url: String(line).match(/http:\S+/)[0], close: () => child.kill() };
}

const games = (BEFORE ? [SITE, BEFORE] : [SITE]).map(() =>
  ({ paint: [], playable: [], drawn: [], ready: [], firstKey: [], firstKeyHeard: [], files: [], lastFile: [], workerScript: [] }));
const yardstick = { paint: [] };
const empty = { paint: [] };
const browser = await startBrowser();  // the browser the tests use
const browserOf = (await browser.blank()).browser();
const sites = await Promise.all((BEFORE ? [SITE, BEFORE] : [SITE]).map(server));
const other = existsSync(YARDSTICK) ? await server(YARDSTICK) : null;
const blank = await server(emptyDir);
try {
for (let run = 0; run < RUNS; ++run) {
  for (const [k, site] of sites.entries()) {
    const mine = await firstVisit(browserOf, site.url, { eager: true });
    games[k].paint.push(mine.paint);
    games[k].playable.push(mine.playable);
    games[k].ready.push(mine.ready);
    games[k].files.push(mine.files);
    games[k].lastFile.push(mine.lastFile);
    if (mine.workerScript !== undefined) games[k].workerScript.push(mine.workerScript);
    if (mine.drawn !== undefined) games[k].drawn.push(mine.drawn);
    if (mine.firstKey !== undefined) games[k].firstKey.push(mine.firstKey);
    if (mine.firstKeyHeard !== undefined) games[k].firstKeyHeard.push(mine.firstKeyHeard);
  }
  if (other) yardstick.paint.push((await firstVisit(browserOf, other.url)).paint);
  empty.paint.push((await firstVisit(browserOf, blank.url)).paint);
}
} finally {
  await browser.close();
  for (const s of [...sites, other, blank]) s?.close();
  rmSync(emptyDir, { recursive: true, force: true });
}

const ratio = (a, b) => (b.length ? `${(median(a) / median(b)).toFixed(2)} x` : "-");
const yard = other ? `the 2048 page, same run: ${runs(yardstick.paint)}` : "the 2048 page: not found";
console.log("| figure | measured | goal |");
console.log("|---|---|---|");
const fresh = WARM ? "first visit, fresh context, renderer warmed" : "first visit, fresh context from about:blank";
for (const [k, game] of games.entries()) {
  const which = games.length > 1 ? (k ? ", before" : ", now") : "";
  console.log(`| web: first contentful paint (${fresh}, median of ${RUNS}${which}) | ${runs(game.paint)}; ${yard}: ` +
    `**${ratio(game.paint, yardstick.paint)}**; an empty page: ${runs(empty.paint)} | <= 1.00 x the 2048 page |`);
  console.log(`| web: a playable game, F2 every 10 ms has dealt: its piece drawn on the board (same loads${which}) | ` +
    `${game.drawn.length ? `${runs(game.drawn)}: **${ratio(game.drawn, yardstick.paint)}** the 2048 page's first paint` : "-"} | <= 1.50 x |`);
  console.log(`| web: ... and the page's main thread told of it (same loads${which}) | ${runs(game.playable)}: ` +
    `${ratio(game.playable, yardstick.paint)} | - |`);
  console.log(`| web: the game loaded, the page's mark (same loads${which}) | ${runs(game.ready)} | - |`);
  console.log(`| web: files the game waited for besides the page (same loads${which}) | ${median(game.files)}; ` +
    `the last of them in at ${runs(game.lastFile)}; the worker's script in at ` +
    `${game.workerScript.length ? runs(game.workerScript) : "-"} | - |`);
  const keyRuns = (xs) => (xs.length ? runs(xs) : "no key after the paint");
  console.log(`| web: the first F2 pressed after the first paint, to its piece drawn on the board (same loads${which}) | ` +
    `${keyRuns(game.firstKey)} | <= 16.7 ms |`);
  console.log(`| web: ... to the page's main thread told of it (same loads${which}) | ${keyRuns(game.firstKeyHeard)} | - |`);
}
