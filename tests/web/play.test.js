// The web edition as a player sees it, read from the page's pixels: the
// window at rest, a deal, the keys, pause, the pace of the fall, help, focus
// loss, the menu and Exit.
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { after, before, test } from "node:test";
import { setTimeout as sleep } from "node:timers/promises";
import { look, onBoard, startBrowser, wakeUps } from "./browser.js";
import { fetchedOnLoad, sizes } from "./first_visit.js";
import { bluePixels, boardOf, pieceOf, place } from "./view.js";

let browser;
before(async () => { browser = await startBrowser(); });
after(() => browser?.close());

const EMPTY_BOARD = Array(13).fill("........");
// Label2's box, where the banner shows, in CSS pixels of the client area.
const BANNER = place("banner");
const GAME_OVER = place("gameOverLabel");

async function piece(page) {
  return pieceOf(boardOf(await look(page)));
}

// Presses a key and gives the key gate (10 ms) time to open again.
async function press(page, key) {
  await page.keyboard.press(key);
  await sleep(40);
}

test("the first visit fetches the page, the game with its pictures, fonts and icon: 100 KB gzipped at most", async () => {
  const fetched = await fetchedOnLoad(browser);
  for (const part of ["index.html", "game_host.js", "fonts/nubbo-kai.woff2",
    "fonts/nubbo-sans.woff2", "icons/"])
    assert.ok(fetched.some((path) => path.startsWith(part)), `${part} fetched: ${fetched}`);
  assert.ok(!fetched.some((path) => path.startsWith("nubbo-script")), "the script hook waits for its first call");
  // Chromium decodes an SVG icon on the page's main thread at the first paint.
  assert.ok(!fetched.some((path) => path.endsWith(".svg")), `no SVG icon: ${fetched}`);
  const total = sizes(fetched).reduce((sum, file) => sum + file.gzip, 0);
  assert.ok(total <= 100 * 1024, `${total} bytes gzipped`);
});

// What the game waits for on a first visit, each fetched once: more files
// (a module, a style sheet or a picture of its own) are more round trips
// before a player can play, a second fetch of the same file a preload gone
// to waste. Then either side may be first: from the instant the page's
// script runs, a key pressed while the game is still loading is kept, in
// order, and acts once the game has loaded; and what the game's worker
// says before the page's script listens (loaded, the level and score it
// shows) reaches the page all the same.
const FIRST = [
  ["the game's worker", "/game_host.js", () => globalThis.nubbo],
  ["the page's script", "/page.js", () => globalThis.nubboBoot?.heard.some(([name]) => name === "ready")],
];
for (const [late, file, waitFor] of FIRST) {
  test(`a first visit: the game waits for four files besides the page, and plays with ${late} late`, async () => {
    // A context of its own: a first visit, with no service worker of the site's.
    const blank = await browser.blank();
    const context = await blank.browser().createBrowserContext();
    await blank.close();
    const page = await context.newPage();
    await page.setRequestInterception(true);
    let release;
    const held = new Promise((resolve) => { release = resolve; });
    page.on("request", async (request) => {
      if (request.url().endsWith(file)) await held;
      request.continue();
    });
    await page.setViewport({ width: 360, height: 620 });
    const going = page.goto(browser.url);  // which loads once the file held back has come
    await page.waitForFunction(waitFor, { polling: 20 });  // the other side is there
    const press = async () => {
      await page.keyboard.press("F2");
      await page.keyboard.press("ArrowLeft");
    };
    if (file === "/game_host.js") await press();
    release();
    await going;
    await page.waitForSelector("html[data-ready]");
    if (file === "/page.js") await press();
    const dealing = page.waitForFunction(() => performance.getEntriesByName("nubbo-first-piece").length > 0,
      { timeout: 5000 });
    await assert.doesNotReject(dealing, "F2 deals");
    const dealt = await piece(page);
    // (It may have fallen a row since.)
    assert.deepEqual([dealt?.row <= 1, dealt?.col], [true, 2], "dealt by F2 and moved left once");
    assert.deepEqual(await page.$$eval("#levelBox, #scoreBox", (boxes) => boxes.map((b) => b.textContent)), ["1", "0"]);
    const fetched = await page.evaluate(() => {
      const ready = performance.getEntriesByName("nubbo-ready")[0].startTime;
      return performance.getEntriesByType("resource").filter((entry) => entry.startTime < ready)
        .map((entry) => new URL(entry.name).pathname.slice(1)).sort();
    });
    // Besides the page itself; its icons, manifest and the offline module are
    // nothing the game waits for.
    assert.deepEqual(fetched.filter((path) => !/^(icons\/|manifest|offline)/.test(path)), ["fonts/nubbo-kai.woff2",
      "fonts/nubbo-sans.woff2", "game_host.js", "page.js"]);
    await context.close();
  });
}

const counts = wakeUps;

// A browser that cannot hand a canvas to a worker runs the game on the page.
const NO_OFFSCREEN = () => { delete HTMLCanvasElement.prototype.transferControlToOffscreen; };
for (const [ratio, beforeLoad] of [[1], [2], [1, NO_OFFSCREEN]]) {
  test(`at device pixel ratio ${ratio}${beforeLoad ? ", no worker" : ""}: the window at rest, a deal, shifts and rotation`, async () => {
    const { page, problems } = await browser.open({ ratio, beforeLoad });
    assert.equal(page.workers().length, beforeLoad ? 0 : 1, "where the game runs");
    assert.equal(await page.title(), "完全NUBBO方塊版");
    await sleep(50);
    let view = await look(page);
    assert.deepEqual(view.at(3, 100), [255, 192, 192], "the pink form");
    // The text boxes' captions, each 12 pixels high as in the desktop window.
    assert.deepEqual(await page.$$eval(".textbox", (boxes) => boxes.map((b) => [b.textContent, getComputedStyle(b).fontSize])),
      [["高手", "12px"], ["Level:", "12px"], ["1", "12px"], ["Score:", "12px"], ["0", "12px"],
        ["NUBBO  tiles fall, threes clear", "12px"]]);
    // A white board of crisp empty cells, the prompt over rows 4 to 6.
    assert.deepEqual(boardOf(view).map((row, r) => (r >= 4 && r <= 6 ? row.replace(/\?/g, ".") : row)),
      EMPTY_BOARD);
    assert.ok(bluePixels(view, ...BANNER) > 500, "the prompt shows in blue");
    assert.equal(bluePixels(view, ...GAME_OVER) - bluePixels(view, GAME_OVER[0], BANNER[1], GAME_OVER[2], BANNER[3]), 0, "GAME OVER hidden");
    const restFrom = await counts(page);
    await sleep(400);
    const restTo = await counts(page);
    assert.deepEqual([restTo.timeouts - restFrom.timeouts, restTo.frames - restFrom.frames, restTo.pending],
      [0, 0, 0], "a page at rest wakes nothing");

    await page.keyboard.press("F2");
    await sleep(30);
    view = await look(page);
    assert.equal(bluePixels(view, ...BANNER), 0, "the prompt is gone");
    const dealt = pieceOf(boardOf(view));
    assert.ok(dealt, `one piece on the board:\n${boardOf(view).join("\n")}`);
    assert.deepEqual([dealt.row, dealt.col], [0, 3]);
    assert.match(dealt.tiles, /^[0-4]{3}$/, "five kinds in the normal game");

    // Each move within one fall step (500 ms); the piece may have fallen a row.
    await press(page, "ArrowLeft");
    let now = await piece(page);
    assert.deepEqual([now.col, now.tiles], [2, dealt.tiles], "Left");
    await press(page, "ArrowRight");
    await press(page, "ArrowRight");
    now = await piece(page);
    assert.deepEqual([now.col, now.tiles], [4, dealt.tiles], "Right twice");
    await press(page, "Space");
    now = await piece(page);
    const [a, b, c] = dealt.tiles;
    assert.equal(now.tiles, b + c + a, "space moves the tiles up, the top one to the bottom");
    const before = now.row;
    await press(page, "ArrowDown");
    now = await piece(page);
    assert.ok(now.row === before + 1 || now.row === before + 2, "Down drops it a row");

    // Moved to a screen of the other ratio: painted again, crisp there too.
    // (Chromium's emulation applies a new ratio to the style only with a new
    // size.)
    await page.setViewport({ width: 380, height: 620, deviceScaleFactor: 3 - ratio });
    await sleep(50);
    const movedView = await look(page);
    const moved = pieceOf(boardOf(movedView));
    assert.deepEqual([moved?.col, moved?.tiles], [now.col, now.tiles], "the board at the new ratio");
    const backing = beforeLoad ? await page.$eval("#board", (c) => [c.width, c.height])
      : await onBoard(page, (c) => [c.width, c.height]);
    assert.deepEqual(backing, [256, 416].map((n) => Math.round(n * movedView.ratio)), "a backing pixel a device pixel");
    assert.deepEqual(problems, []);
    await page.close();
  });
}

// The rows the piece's top tile stands on, and when it got there, from the
// canvas itself at every 4 ms until `ms` have passed.
function watchFall(page, ms) {
  return onBoard(page, (board, context, ms) => new Promise((done) => {
    const cell = board.height / 13;
    const topRow = () => {
      const { data } = context.getImageData(0, 0, board.width, board.height);
      for (let p = 0; p < data.length; p += 4)
        if (data[p] !== 255 || data[p + 1] !== 255 || data[p + 2] !== 255)
          return Math.floor(p / 4 / board.width / cell);
      return -1;
    };
    const seen = [];
    const start = performance.now();
    const timer = setInterval(() => {
      const row = topRow();
      if (!seen.length || seen.at(-1).row !== row) seen.push({ row, at: performance.now() - start });
      if (performance.now() - start >= ms) { clearInterval(timer); done(seen); }
    }, 4);
  }), ms);
}

test("Pause shows PAUSE and stands the piece still with no wake-up; a key resumes at 500 ms a row", async () => {
  const { page, problems } = await browser.open();
  await page.keyboard.press("F2");
  await sleep(30);
  await page.keyboard.press("F3");
  await sleep(30);
  const paused = await look(page);
  const still = pieceOf(boardOf(paused).map((row, r) => (r >= 4 && r <= 6 ? row.replace(/\?/g, ".") : row)));
  assert.equal(still?.row, 0, "the piece stays where it was");
  assert.equal(await page.$eval("#banner", (l) => (l.hidden ? "" : l.textContent)), "PAUSE");
  assert.ok(bluePixels(paused, ...BANNER) > 300, "PAUSE shows in blue");
  assert.equal(await page.evaluate(() => getComputedStyle(document.getElementById("banner")).fontFamily),
    '"Nubbo Kai", serif', "in the Kai face");

  // An idle page: no timeout fires and no animation frame is asked for.
  const idleFrom = await counts(page);
  await sleep(1500);
  const idleTo = await counts(page);
  assert.deepEqual([idleTo.timeouts - idleFrom.timeouts, idleTo.frames - idleFrom.frames], [0, 0]);
  assert.deepEqual(boardOf(await look(page)), boardOf(paused), "nothing fell");

  // The script hook runs a game of its own, exit included, beside the page's.
  const run = await page.evaluate(() => globalThis.nubbo.runScript("seed 3\nnew\nadvance 5000\nexit\n"));
  assert.equal(run.status, 0);
  assert.match(run.out, /^spawn [0-4] [0-4] [0-4]\n[^]*exit\n$/);
  assert.deepEqual(boardOf(await look(page)), boardOf(paused), "the page's game untouched");

  await page.keyboard.press("KeyA");  // any key resumes
  const fall = await watchFall(page, 2350);
  assert.deepEqual(fall.map((s) => s.row), [0, 1, 2, 3, 4], JSON.stringify(fall));
  // Each row after 500 ms, give or take a late wake-up of a busy machine,
  // and no drift over four rows: a late wake-up is not carried forward.
  for (let k = 1; k < fall.length; ++k) {
    const step = fall[k].at - fall[k - 1].at;
    assert.ok(Math.abs(step - 500) < 75, `row ${k} after ${step} ms`);
  }
  const mean = (fall[4].at - fall[0].at) / 4;
  assert.ok(Math.abs(mean - 500) < 20, `a row every ${mean} ms`);
  assert.equal(await page.$eval("#banner", (l) => l.hidden), true, "PAUSE goes at the next fall step");
  assert.equal(bluePixels(await look(page), ...BANNER), 0);
  assert.deepEqual(problems, []);
  await page.close();
});

test("Help stands the game still and keeps its keys; closing it goes on", async () => {
  const { page, problems } = await browser.open();
  await page.keyboard.press("F2");
  await sleep(100);
  await page.click("#menu-help");
  // The desktop window's own words.
  const desktop = readFileSync(new URL("../../ui/main_window.h", import.meta.url), "utf8");
  const message = desktop.match(/QStringLiteral\("(有問題請E-mail至[^"]+)"\)/)[1];
  const text = await page.$eval("#help", (d) => (d.open ? d.innerText : ""));
  assert.equal(text.replace(/\s+/g, " ").trim(), `完全NUBBO方塊版 ${message} OK`);
  // The box lies over the board: its pixels are read from the canvas.
  const [open] = await watchFall(page, 0);
  await page.keyboard.press("ArrowLeft");
  await page.keyboard.press("F3");  // kept from the browser, and no Pause behind the box
  assert.deepEqual(await page.evaluate(() => globalThis.__nubboTest.keys.at(-1).defaultPrevented), true);
  const from = await counts(page);
  await sleep(1300);
  const to = await counts(page);
  assert.equal(to.timeouts - from.timeouts, 0, "no wake-up while the box is open");
  assert.deepEqual((await watchFall(page, 0))[0].row, open.row, "nothing fell behind the box");

  await page.click("#help button");
  assert.equal(await page.$eval("#help", (d) => d.open), false);
  // The countdown goes on from where it stood: the next row within 500 ms.
  const fall = await watchFall(page, 560);
  assert.deepEqual(fall.map((s) => s.row), [open.row, open.row + 1], JSON.stringify(fall));
  assert.ok(fall[1].at < 480, `the next row after ${fall[1].at} ms`);
  assert.equal((await piece(page)).col, 3, "the key pressed into the box never reached the game");
  assert.deepEqual(problems, []);
  await page.close();
});

// The banner's rows (4 to 6) read as empty, so that a piece shows whole.
const underBanner = (board) => board.map((row, r) => (r >= 4 && r <= 6 ? row.replace(/\?/g, ".") : row));

// Left while a piece falls, or while the game stands still after a clearing
// (seed 27 deals three equal tiles first, dropped here to the floor): the
// hold runs out, nothing falls, PAUSE shows, and a key resumes.
test("the game pauses when the page is hidden or loses the focus, in a hold too", async () => {
  for (const [when, leave] of [["falling", "another tab"], ["falling", "blur"], ["falling", "hidden"],
    ["in a hold", "blur"], ["in a hold", "hidden"]]) {
    const what = `${leave}, ${when}`;
    const inHold = when === "in a hold";
    const { page, problems } = await browser.open({ query: inHold ? "?seed=27" : "" });
    await page.keyboard.press("F2");
    await sleep(50);
    if (inHold) {
      assert.match((await piece(page))?.tiles ?? "", /^(.)\1\1$/, "seed 27: three equal tiles");
      for (let n = 0; n < 40 && (await piece(page))?.row < 10; ++n) await press(page, "ArrowDown");
      let board = [];
      for (let n = 0; n < 50 && board[12]?.[3] !== "7"; ++n) board = boardOf(await look(page));
      assert.equal(board[12][3], "7", `${what}: landed and cleared, the game in its hold`);
    }
    if (leave === "blur") {
      await page.evaluate(() => window.dispatchEvent(new FocusEvent("blur")));
    } else if (leave === "hidden") {
      await page.evaluate(() => {
        Object.defineProperty(document, "hidden", { value: true });
        document.dispatchEvent(new Event("visibilitychange"));
      });
    } else {
      const other = await browser.blank();
      await other.bringToFront();
      await sleep(100);
      await page.bringToFront();
      await other.close();
    }
    if (inHold)
      assert.equal(boardOf(await look(page))[12][3], "7", `${what}: the hold was still on when the focus went`);
    await sleep(inHold ? 1500 : 700);
    assert.equal(await page.$eval("#banner", (l) => (l.hidden ? "" : l.textContent)), "PAUSE", what);
    const paused = pieceOf(underBanner(boardOf(await look(page))));
    assert.deepEqual([paused?.row, paused?.col], [0, 3], `${what}: nothing fell`);
    await page.keyboard.press("KeyA");  // any key resumes
    await sleep(650);
    assert.equal((await piece(page))?.row, 1, `${what}: a key resumed the fall`);
    assert.equal(await page.$eval("#banner", (l) => l.hidden), true, `${what}: PAUSE went with the fall step`);
    assert.deepEqual(problems, []);
    await page.close();
  }
});

test("the menu with the mouse, keys past the controls, and Exit ending the program", async () => {
  const { page, problems } = await browser.open();
  await page.click("#expertBox");
  await page.focus("#expertBox");  // even with the focus on it, keys are the game's
  await page.click("#menu-game");
  assert.equal(await page.$eval("#dropdown-game", (d) => d.hidden), false);
  await page.click('[data-command="new"]');
  assert.equal(await page.$eval("#dropdown-game", (d) => d.hidden), true);
  await sleep(30);
  const dealt = await piece(page);
  assert.deepEqual([dealt?.row, dealt?.col], [0, 3], "Game > New deals");
  await press(page, "Space");
  assert.equal(await page.$eval("#expertBox", (c) => c.checked), true, "Space left the check box alone");
  assert.equal((await piece(page)).tiles, dealt.tiles.slice(1) + dealt.tiles[0], "and rotated");
  // Any other key is the game's, with no action of its own and no harm.
  for (const key of ["Tab", "Enter", "Escape", "F1", "F7", "F10", "Backspace", "Digit7", "Numpad5",
    "NumpadEnter", "Backquote", "Shift", "Control", "Alt", "Meta", "ContextMenu", "PageDown", "End"])
    await page.keyboard.press(key);
  const after = await piece(page);
  assert.equal(after?.col, 3, "still one piece, in its column");
  assert.equal(await page.evaluate(() => document.activeElement.id), "expertBox", "the focus never moved");
  await page.keyboard.press("F2");
  await page.keyboard.press("F3");
  const kept = await page.evaluate(() => globalThis.__nubboTest.keys.map((e) => [e.key, e.defaultPrevented]));
  assert.deepEqual(kept.filter(([k]) => /^F\d+$/.test(k)),
    [["F1", true], ["F7", true], ["F10", true], ["F2", true], ["F3", true]], "kept from the browser");

  await press(page, "KeyB");  // resumes: a fall step is pending when Exit comes
  assert.equal((await counts(page)).pending, 1);
  await page.keyboard.press("F4");
  await page.waitForSelector("#ended:not([hidden])");
  assert.equal((await counts(page)).pending, 0, "every timer stopped");
  const ended = await look(page);
  assert.equal(await page.$eval("#ended", (e) => e.hidden), false, "the form says the game has ended");
  assert.notDeepEqual(ended.at(3, 100), [255, 192, 192]);
  const from = await counts(page);
  await page.keyboard.press("ArrowLeft");
  await sleep(1000);
  const to = await counts(page);
  assert.deepEqual([to.timeouts - from.timeouts, to.pending], [0, 0], "and none starts again");
  assert.ok((await look(page)).rgba.equals(ended.rgba), "nothing moves any more");

  await Promise.all([page.waitForNavigation(), page.keyboard.press("F2")]);
  await page.waitForSelector("html[data-ready]");
  assert.equal(await page.$eval("#ended", (e) => e.hidden), true, "F2 starts again");
  assert.equal(await page.$eval("#banner", (l) => (l.hidden ? "" : l.textContent)), "按F2");
  assert.deepEqual(problems, []);
  await page.close();
});
