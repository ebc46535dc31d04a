// The harness of the browser tests: the site on a local server, Debian's
// Chromium headless under puppeteer-core, and the page's pixels read back.
import { mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import puppeteer from "puppeteer-core";
import { serve } from "../../web/serve.mjs";
import { decodePng } from "./png.js";

export const SITE = process.env.NUBBO_SITE ?? new URL("../../build/web", import.meta.url).pathname;
export const CHROMIUM = process.env.CHROMIUM ?? "/usr/bin/chromium";
// Chromium as the tests and the benchmarks run it: headless, on the CPU,
// nothing fetched in the background. Chromium 156 loads its omnibox's popup
// as a web page, in two renderers of its own, whenever a browser context
// opens; the benchmarks open one for each first visit, and those renderers
// then took a second of CPU on a 2-core machine during the very load being
// measured (traced on 10 December 2026). A player's browser loaded that
// popup when it started, not as they follow a link to the game, so it is
// the native popup here.
export const CHROMIUM_ARGS = ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
  "--disable-background-networking", "--disable-component-update", "--disable-sync",
  "--disable-dev-shm-usage", "--font-render-hinting=none",
  "--disable-features=WebUIOmniboxPopup,WebUIOmniboxFullPopup,WebUIOmniboxAimPopup"];

// One browser and one server (of `site`) for a test file; `open` gives a
// fresh page and a record of everything that went wrong on it.
export async function startBrowser({ site = SITE } = {}) {
  const server = await serve(site);
  const profile = mkdtempSync(join(tmpdir(), "nubbo-chromium-"));
  const browser = await puppeteer.launch({
    executablePath: CHROMIUM,
    headless: true,
    userDataDir: profile,
    args: CHROMIUM_ARGS,
  });
  return {
    url: server.url,
    served: server.served,  // every file the server sent, and how
    // `viewport`, if given, is puppeteer's (a phone's, with touch);
    // `beforeLoad`, a function run in the page before any of its scripts.
    async open({ ratio = 1, query = "", viewport = { width: 360, height: 620, deviceScaleFactor: ratio },
      beforeLoad } = {}) {
      const page = await browser.newPage();
      const problems = [];
      const requested = [];  // paths of the site's files, in order
      page.on("request", (r) => {
        if (r.url().startsWith(server.url)) requested.push(new URL(r.url()).pathname.slice(1) || "index.html");
        else if (!/^(data|blob):/.test(r.url())) problems.push(`fetched from elsewhere: ${r.url()}`);
      });
      page.on("console", (m) => { if (m.type() === "error") problems.push(`console: ${m.text()}`); });
      page.on("pageerror", (e) => problems.push(`page error: ${e.message}`));
      page.on("requestfailed", (r) => problems.push(`request failed: ${r.url()}`));
      page.on("response", (r) => { if (r.status() >= 400) problems.push(`HTTP ${r.status()}: ${r.url()}`); });
      await page.evaluateOnNewDocument(() => {
        addEventListener("unhandledrejection", (e) => console.error(`unhandled rejection: ${e.reason}`));
        // Anything the page's security policy refuses is a problem.
        document.addEventListener("securitypolicyviolation", (e) =>
          console.error(`refused by the policy (${e.violatedDirective}): ${e.blockedURI}`), { capture: true });
      });
      await page.evaluateOnNewDocument(countWakeUps);
      if (beforeLoad) await page.evaluateOnNewDocument(beforeLoad);
      await page.setViewport(viewport);
      await page.goto(server.url + query, { waitUntil: "load" });
      await page.waitForSelector("html[data-ready]");
      // The game does not wait for the page's fonts; the captions a test
      // reads do.
      await page.evaluate(() => document.fonts.ready);
      await gameWorker(page)?.evaluate(countWakeUps);
      return { page, problems, requested };
    },
    blank: () => browser.newPage(),
    async close() {
      await browser.close();
      await server.close();
      rmSync(profile, { recursive: true, force: true });
    },
  };
}

// Where the client area's top-left corner is, in device pixels, and `ratio`,
// the device pixels per pixel of the unscaled form (the device pixel ratio
// times the form's scale). Run in the page.
export function clientFrame() {
  const client = document.getElementById("client");
  const r = client.getBoundingClientRect();
  // The rectangle is in floats: the ratio to a thousandth.
  return { x: r.left * devicePixelRatio, y: r.top * devicePixelRatio,
    ratio: Math.round((devicePixelRatio * r.width / client.offsetWidth) * 1000) / 1000 };
}

// A screenshot read in pixels of the unscaled form from the client area's
// corner, `frame` as clientFrame tells it.
export function framed(image, { x, y, ratio }) {
  return {
    ...image, ratio,
    // The colour at (cx, cy) form pixels from the client area's corner.
    at(cx, cy) {
      const px = Math.round(x + cx * ratio), py = Math.round(y + cy * ratio);
      const i = (py * image.width + px) * 4;
      return [image.rgba[i], image.rgba[i + 1], image.rgba[i + 2]];
    },
    // The device pixels of a w x h form-pixel box, row by row.
    box(cx, cy, w, h) {
      const px = Math.round(x + cx * ratio), py = Math.round(y + cy * ratio);
      const pw = Math.round(w * ratio), ph = Math.round(h * ratio);
      const out = Buffer.alloc(pw * ph * 4);
      for (let row = 0; row < ph; ++row)
        image.rgba.copy(out, row * pw * 4, ((py + row) * image.width + px) * 4,
          ((py + row) * image.width + px + pw) * 4);
      return { width: pw, height: ph, rgba: out };
    },
  };
}

// The page as a player sees it, in device pixels, read from the client area.
export async function look(page) {
  const png = await page.screenshot({ type: "png", captureBeyondViewport: false });
  return framed(decodePng(Buffer.from(png)), await page.evaluate(clientFrame));
}

// Counts of a thread's wake-ups and animation frames, the timeouts still
// pending, and (on the page) every key event as the page's own listeners
// leave it. Run in the page before its scripts and in the game's worker
// once the game is loaded (when no timer of its own is pending).
function countWakeUps() {
  const counts = { timeouts: 0, frames: 0, pending: new Set(), keys: [] };
  globalThis.__nubboTest = counts;
  const setTimeoutOf = globalThis.setTimeout, clearTimeoutOf = globalThis.clearTimeout;
  globalThis.setTimeout = (f, ms, ...rest) => {
    const id = setTimeoutOf(() => { counts.pending.delete(id); counts.timeouts += 1; f(...rest); }, ms);
    counts.pending.add(id);
    return id;
  };
  globalThis.clearTimeout = (id) => { counts.pending.delete(id); clearTimeoutOf(id); };
  const frameOf = globalThis.requestAnimationFrame;
  globalThis.requestAnimationFrame = (f) => { counts.frames += 1; return frameOf(f); };
  globalThis.addEventListener?.("keydown", (e) => counts.keys.push(e), { capture: true });
}

// The game's worker (web/game_host.js run as one), if the page has it.
const gameWorker = (page) => page.workers().find((w) => w.url().endsWith("/game_host.js"));

// The wake-ups of the page and of the game's worker together: timeouts
// fired, animation frames asked for and timeouts pending.
export async function wakeUps(page) {
  const read = () => {
    const { timeouts, frames, pending } = globalThis.__nubboTest;
    return { timeouts, frames, pending: pending.size };
  };
  const [own, worker] = await Promise.all([page.evaluate(read), gameWorker(page)?.evaluate(read)]);
  return worker ? { timeouts: own.timeouts + worker.timeouts, frames: own.frames + worker.frames,
    pending: own.pending + worker.pending } : own;
}

// Runs `fn(canvas, context, arg)` where the board is drawn: in the game's
// worker, on the canvas the page handed over to it.
export async function onBoard(page, fn, arg) {
  const worker = gameWorker(page);
  if (!worker) throw new Error("the game's worker is not running");
  return worker.evaluate(`(${fn})(board.canvas, board.context, ${JSON.stringify(arg)})`);
}
