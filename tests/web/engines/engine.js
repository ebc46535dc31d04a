// One browser engine behind one small interface, so that the same player
// checks run in each: Chromium and Firefox through puppeteer-core (CDP and
// WebDriver BiDi), WebKitGTK's MiniBrowser through WebKitWebDriver and the
// W3C client of ./webdriver.js, on an X server of its own.
//
// The site is served from a copy with a probe as the page's first script
// (web pages cannot be given a script before their own through classic
// WebDriver): it records every error, refusal by the page's security policy,
// unhandled rejection and worker error, and the workers the page starts,
// and it watches the fall on the board's canvas (in the game's worker
// through a probe of its own there).
// With `?bare` in the address it first takes away what some browsers lack
// (handing a canvas to a worker, the Gamepad API), so that the page's
// fallbacks run in every engine.
import { execFileSync, spawn } from "node:child_process";
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { createServer } from "node:net";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { setTimeout as sleep } from "node:timers/promises";
import puppeteer from "puppeteer-core";
import { serve } from "../../../web/serve.mjs";
import { CHROMIUM, CHROMIUM_ARGS, SITE, clientFrame, framed } from "../browser.js";
import { decodePng } from "../png.js";
import { newSession } from "./webdriver.js";

const MINIBROWSER = process.env.MINIBROWSER ??
  "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser";

// What the probes read off the board's canvas, where the board is drawn (the
// game's worker or the page): `cells`, every cell not white as
// { row, col, sig } (a sum of its pixels, the same for the same picture);
// `watchFall`, the rows the falling piece's top tile stands on and when it
// got there, read every 4 ms for `arg` ms.
function readBoard(board, what, arg) {
  const cell = board.canvas.height / 13;
  const width = board.canvas.width;
  const pixels = () => board.context.getImageData(0, 0, width, board.canvas.height).data;
  if (what === "cells") {
    const data = pixels();
    const cells = [];
    for (let row = 0; row < 13; ++row)
      for (let col = 0; col < 8; ++col) {
        let sig = 0, white = true;
        for (let y = Math.floor(row * cell); y < Math.floor((row + 1) * cell); ++y)
          for (let x = Math.floor(col * cell); x < Math.floor((col + 1) * cell); ++x) {
            const p = (y * width + x) * 4;
            if (data[p] !== 255 || data[p + 1] !== 255 || data[p + 2] !== 255) white = false;
            sig = (sig * 31 + data[p] * 65536 + data[p + 1] * 256 + data[p + 2]) % 1000000007;
          }
        if (!white) cells.push({ row, col, sig });
      }
    return cells;
  }
  return new Promise((done) => {
    const topRow = () => {
      const data = pixels();
      for (let p = 0; p < data.length; p += 4)
        if (data[p] !== 255 || data[p + 1] !== 255 || data[p + 2] !== 255) return Math.floor(p / 4 / width / cell);
      return -1;
    };
    const seen = [];
    const start = performance.now();
    const timer = setInterval(() => {
      const row = topRow();
      if (!seen.length || seen.at(-1).row !== row) seen.push({ row, at: Math.round(performance.now() - start) });
      if (performance.now() - start >= arg) { clearInterval(timer); done(seen); }
    }, 4);
  });
}

// Run in the game's worker before the game's host: answers a reading asked
// for on a port of its own, never seen by the host.
function workerProbe() {
  addEventListener("message", (event) => {
    if (event.data?.readBoard === undefined) return;
    event.stopImmediatePropagation();
    Promise.resolve(readBoard(globalThis.board, event.data.readBoard, event.data.arg))
      .then((answer) => event.ports[0].postMessage(answer));
  });
}

function probe() {
  const problems = [];
  const workers = [];
  let host = null;
  const offscreen = Boolean(HTMLCanvasElement.prototype.transferControlToOffscreen);
  globalThis.__nubboProbe = {
    problems, workers, offscreen,
    readBoard: (what, arg) => {
      if (!host) return readBoard(globalThis.board, what, arg);
      const channel = new MessageChannel();
      const answer = new Promise((done) => { channel.port1.onmessage = ({ data }) => done(data); });
      host.postMessage({ readBoard: what, arg }, [channel.port2]);
      return answer;
    },
  };
  const error = console.error.bind(console);
  console.error = (...args) => { problems.push(`console: ${args.join(" ")}`); error(...args); };
  addEventListener("error", (e) => problems.push(`page error: ${e.message} (${e.filename}:${e.lineno})`));
  addEventListener("unhandledrejection", (e) => problems.push(`unhandled rejection: ${e.reason}`));
  document.addEventListener("securitypolicyviolation", (e) =>
    problems.push(`refused by the policy (${e.violatedDirective}): ${e.blockedURI}`), { capture: true });
  const WorkerOf = globalThis.Worker;
  globalThis.Worker = class extends WorkerOf {
    constructor(url, options) {
      const isHost = String(url).endsWith("/game_host.js");
      super(isHost ? new URL("__host_probe.js", url) : url, options);
      if (isHost) host = this;
      workers.push(String(url));
      this.addEventListener("error", (e) => problems.push(`worker error: ${e.message}`));
    }
  };
  if (new URLSearchParams(location.search).has("bare")) {
    delete HTMLCanvasElement.prototype.transferControlToOffscreen;
    delete Navigator.prototype.getGamepads;
  }
}

// A copy of the site whose page runs the probe first.
function probedSite() {
  const site = mkdtempSync(join(tmpdir(), "nubbo-engines-"));
  cpSync(SITE, site, { recursive: true });
  writeFileSync(join(site, "__probe.js"), `${readBoard}\n(${probe})();\n`);
  writeFileSync(join(site, "__worker_probe.js"), `${readBoard}\n(${workerProbe})();\n`);
  writeFileSync(join(site, "__host_probe.js"), 'import "./__worker_probe.js";\nimport "./game_host.js";\n');
  const index = join(site, "index.html");
  const html = readFileSync(index, "utf8");
  const csp = html.indexOf(">", html.indexOf('http-equiv="Content-Security-Policy"')) + 1;
  writeFileSync(index, `${html.slice(0, csp)}\n<script src="__probe.js"></script>${html.slice(csp)}`);
  // The service worker keeps the probes with the site's own files.
  execFileSync("/usr/bin/python3", [new URL("../../../web/make_sw.py", import.meta.url).pathname, site]);
  return site;
}

const freePort = () => new Promise((done) => {
  const server = createServer().listen(0, "127.0.0.1", () => {
    const { port } = server.address();
    server.close(() => done(port));
  });
});

// Key names as puppeteer spells them, and WebDriver's code points for them.
const WEBDRIVER_KEYS = { F2: "\uE032", F3: "\uE033", ArrowLeft: "\uE012", ArrowRight: "\uE014",
  ArrowDown: "\uE015", Space: "\uE00D", KeyA: "a" };

async function puppeteerBrowser(engine, profile) {
  const browser = engine === "firefox"
    ? await puppeteer.launch({ browser: "firefox", protocol: "webDriverBiDi", headless: true,
      executablePath: process.env.FIREFOX ?? "/usr/bin/firefox-esr", userDataDir: profile })
    : await puppeteer.launch({ executablePath: CHROMIUM,
      headless: true, userDataDir: profile,
      args: CHROMIUM_ARGS });
  const page = await browser.newPage();
  const events = [];
  page.on("console", (m) => { if (m.type() === "error") events.push(`console: ${m.text()}`); });
  page.on("pageerror", (e) => events.push(`page error: ${e.message}`));
  await page.setViewport({ width: 360, height: 620 });
  return {
    events,
    goto: (url) => page.goto(url, { waitUntil: "load" }),
    reload: () => page.reload({ waitUntil: "load" }),
    evaluate: (fn, ...args) => page.evaluate(fn, ...args),
    press: (key) => page.keyboard.press(key === "Space" ? " " : key),
    click: (selector) => page.click(selector),
    screenshot: async () => Buffer.from(await page.screenshot({ type: "png" })),
    close: () => browser.close(),
  };
}

// WebKitWebDriver starts MiniBrowser on a private Xvfb; neither needs a
// session bus.
async function webkitBrowser(profile) {
  const children = [];
  const xvfb = spawn("Xvfb", ["-displayfd", "1", "-screen", "0", "800x900x24", "-nolisten", "tcp"],
    { stdio: ["ignore", "pipe", "ignore"] });
  children.push(xvfb);
  const display = await new Promise((done, fail) => {
    xvfb.stdout.once("data", (d) => done(`:${String(d).trim()}`));
    xvfb.once("exit", () => fail(new Error("Xvfb did not start")));
  });
  const port = await freePort();
  const env = { ...process.env, DISPLAY: display, NO_AT_BRIDGE: "1", GTK_A11Y: "none",
    DBUS_SESSION_BUS_ADDRESS: "disabled:", XDG_RUNTIME_DIR: profile, HOME: profile };
  children.push(spawn(process.env.WEBKIT_DRIVER ?? "WebKitWebDriver", [`--port=${port}`],
    { env, stdio: "ignore" }));
  let session;
  for (let tries = 0; !session; ++tries) {
    try {
      session = await newSession(`http://127.0.0.1:${port}`,
        { "webkitgtk:browserOptions": { binary: MINIBROWSER, args: ["--automation"] } });
    } catch (e) {
      if (tries > 50) throw e;
      await sleep(200);
    }
  }
  const waitLoaded = () => session.evaluate(() => new Promise((done) => {
    if (document.readyState === "complete") done();
    else addEventListener("load", () => done());
  }));
  return {
    events: [],
    goto: async (url) => { await session.goto(url); await waitLoaded(); },
    reload: async () => { await session.refresh(); await waitLoaded(); },
    evaluate: (fn, ...args) => session.evaluate(fn, ...args),
    press: (key) => session.keys([WEBDRIVER_KEYS[key]]),
    click: (selector) => session.click(selector),
    screenshot: () => session.screenshot(),
    close: async () => {
      await session.close().catch(() => {});
      for (const child of children.reverse()) child.kill();
    },
  };
}

// The engine named `engine` ("chromium", "firefox" or "webkit") with one
// page, on a server of a probed copy of the site.
export async function startEngine(engine) {
  const site = probedSite();
  const server = await serve(site);
  const profile = mkdtempSync(join(tmpdir(), `nubbo-${engine}-`));
  const browser = engine === "webkit" ? await webkitBrowser(profile) : await puppeteerBrowser(engine, profile);
  const page = {
    ...browser,
    url: server.url,
    // Everything that went wrong on the page so far.
    problems: async () => [...browser.events,
      ...await browser.evaluate(() => globalThis.__nubboProbe?.problems ?? ["no probe"])],
    async ready() {
      await waitFor(page, () => document.documentElement.hasAttribute("data-ready"));
    },
    // The page as a player sees it (see ../browser.js's look).
    async look() {
      return framed(decodePng(await browser.screenshot()), await browser.evaluate(clientFrame));
    },
    // The network gone: no file of the site left to send, and no new
    // connection taken (a browser's open one may take a while to go).
    async stopServer() {
      rmSync(site, { recursive: true, force: true });
      await Promise.race([server.close(), sleep(1000)]);
    },
    async close() {
      await browser.close();
      await server.close();
      rmSync(profile, { recursive: true, force: true });
      rmSync(site, { recursive: true, force: true });
    },
  };
  return page;
}

// Polls `fn` in the page until it answers truly; its answer.
export async function waitFor(page, fn, ms = 15000) {
  const until = Date.now() + ms;
  for (;;) {
    const answer = await page.evaluate(fn).catch(() => false);
    if (answer) return answer;
    if (Date.now() > until) throw new Error(`timed out waiting for ${fn}`);
    await sleep(50);
  }
}
