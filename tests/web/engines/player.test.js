// The page as a player meets it, in the engine NUBBO_ENGINE names
// (chromium, firefox or webkit; see ./engine.js): it loads clean, F2 deals,
// the keys shift, rotate, pause and resume, the fall keeps its pace, Help
// stands the game still, the script hook is the simulator byte for byte,
// and with the site's server gone a reload plays from the cache. The game
// is played once as the engine runs it and once with what some engines
// lack taken away.
import assert from "node:assert/strict";
import { spawnSync } from "node:child_process";
import { readdirSync, readFileSync } from "node:fs";
import { after, before, test } from "node:test";
import { setTimeout as sleep } from "node:timers/promises";
import { boardOf, pieceOf } from "../view.js";
import { startEngine, waitFor } from "./engine.js";

const ENGINE = process.env.NUBBO_ENGINE ?? "chromium";
const ROOT = new URL("../../../", import.meta.url).pathname;
const CASES = `${ROOT}tests/sim/cases/`;
const SIM = process.env.NUBBO_SIM ?? `${ROOT}build/default/sim/nubbo-sim`;

let page;
before(async () => { page = await startEngine(ENGINE); });
after(() => page?.close());

// The board as read from the pixels, the rows the banner covers cleared.
async function board() {
  return boardOf(await page.look()).map((row, r) => (r >= 4 && r <= 6 ? row.replace(/\?/g, ".") : row));
}
const piece = async () => pieceOf(await board());
const banner = () => page.evaluate(() => {
  const label = document.getElementById("banner");
  return label.hidden ? "" : label.textContent;
});
async function press(key) {
  await page.press(key);
  await sleep(60);
}

// The board's canvas, read where it is drawn: the falling piece (its top
// row, column and each tile's picture signature), and the rows its top tile
// stands on over `ms` ms, with when it got to each.
async function canvasPiece() {
  const cells = await page.evaluate(() => globalThis.__nubboProbe.readBoard("cells"));
  const ok = cells.length === 3 && cells.every((c, k) => c.col === cells[0].col && c.row === cells[0].row + k);
  return ok ? { row: cells[0].row, col: cells[0].col, tiles: cells.map((c) => c.sig) } : { cells };
}
// What `read` gives once `ok` holds of it, or its last reading after 1.5 s:
// a loaded machine may take a while to get a key to the game, and the
// screen may show the canvas a frame or more behind what was drawn on it.
async function settled(read, ok) {
  const until = Date.now() + 1500;
  for (;;) {
    const got = await read();
    if (ok(got) || Date.now() > until) return got;
    await sleep(20);
  }
}
const dealtPiece = () => settled(canvasPiece, (p) => p.col !== undefined);
const shownPiece = () => settled(piece, (p) => p !== null);
const watchFall = (ms) => page.evaluate((ms) => globalThis.__nubboProbe.readBoard("watchFall", ms), ms);

for (const bare of [false, true]) {
  test(`${ENGINE}${bare ? ", no canvas to a worker and no Gamepad API" : ""}: loads clean, deals, moves, pauses, falls at pace, stands still under Help`, async () => {
    await page.goto(page.url + (bare ? "?bare" : ""));
    await page.ready();
    const { offscreen, workers } = await page.evaluate(() => globalThis.__nubboProbe);
    assert.deepEqual(workers.map((url) => url.split("/").at(-1)), offscreen && !bare ? ["game_host.js"] : [],
      "the game runs in a worker exactly where a canvas can be handed to one");
    assert.equal(await banner(), "按F2");

    await press("F2");
    // At the top, or a row below if the driver was slow to come back.
    const dealt = await dealtPiece();
    assert.ok(dealt.row <= 1 && dealt.col === 3, `F2 deals: ${JSON.stringify(dealt)}`);
    assert.equal(await banner(), "", "the prompt is gone");
    // On the screen, as exactly the pictures of the game's tiles (a
    // screenshot may take a fall step or two).
    const shown = await shownPiece();
    assert.ok(shown?.col === 3 && shown.row <= 3 && /^[0-4]{3}$/.test(shown.tiles),
      `the piece on the screen:\n${(await board()).join("\n")}`);

    await press("ArrowLeft");
    const left = await canvasPiece();
    assert.deepEqual([left.col, left.tiles], [2, dealt.tiles], "Left");
    await press("ArrowRight");
    await press("ArrowRight");
    await press("Space");
    const [a, b, c] = dealt.tiles;
    const turned = await canvasPiece();
    assert.deepEqual([turned.col, turned.tiles], [4, [b, c, a]], "Right twice, then rotated");

    await press("F3");
    const paused = await canvasPiece();
    assert.equal(await banner(), "PAUSE");
    await sleep(1200);
    assert.deepEqual(await canvasPiece(), paused, "nothing falls in a pause");
    await page.press("KeyA");  // any key resumes
    const fall = await watchFall(2350);
    const from = fall[0].row;
    assert.deepEqual(fall.map((step) => step.row), [from, from + 1, from + 2, from + 3, from + 4], JSON.stringify(fall));
    // Each row 500 ms after the one before (the first seen is when the watch
    // began), give or take a late wake-up of a busy machine (the watch runs
    // on the same thread, late with it), and no drift over three rows: a
    // late step is not carried forward.
    for (let k = 2; k < fall.length; ++k)
      assert.ok(Math.abs(fall[k].at - fall[k - 1].at - 500) < 150, `row ${k}: ${JSON.stringify(fall)}`);
    assert.ok(Math.abs((fall[4].at - fall[1].at) / 3 - 500) < 20, `the pace: ${JSON.stringify(fall)}`);
    assert.equal(await banner(), "", "PAUSE goes when the fall resumes");

    await page.click("#menu-help");
    assert.equal(await page.evaluate(() => document.getElementById("help").open), true, "Help opens");
    const open = await canvasPiece();
    await sleep(1300);
    assert.deepEqual(await canvasPiece(), open, "nothing falls behind the box");
    await page.click("#help button");
    // The click takes a while to come back: the next step may be seen, not
    // a second one.
    const next = await watchFall(560);
    assert.ok(next[0].row <= open.row + 1 && next.at(-1).row > next[0].row, `goes on: ${JSON.stringify(next)}`);
    assert.deepEqual(await page.problems(), []);
  });
}

test(`${ENGINE}: nubbo.runScript gives nubbo-sim's bytes and status on every committed case`, async () => {
  const names = readdirSync(CASES).filter((f) => f.endsWith(".sim"));
  assert.ok(names.length > 20);
  for (const name of names) {
    const script = readFileSync(CASES + name);
    const native = spawnSync(SIM, [], { input: script });
    assert.equal(native.error, undefined, `cannot run ${SIM}`);
    const got = await page.evaluate(async (base64) => {
      const bytes = Uint8Array.from(atob(base64), (ch) => ch.charCodeAt(0));
      const { status, out, err } = await globalThis.nubbo.runScript(bytes);
      return { status, out, err };
    }, script.toString("base64"));
    assert.deepEqual({ status: got.status, out: Buffer.from(got.out), err: Buffer.from(got.err) },
      { status: native.status, out: native.stdout, err: native.stderr }, name);
  }
  assert.deepEqual(await page.problems(), []);
});

// Last: the server is gone for good.
test(`${ENGINE}: with the site's server gone, a reload loads from the cache and plays`, async () => {
  await page.goto(page.url);
  await page.ready();
  await waitFor(page, () => navigator.serviceWorker.controller !== null);
  // The script hook is kept on its first use.
  await page.evaluate(() => globalThis.nubbo.runScript("new\n"));
  await page.stopServer();
  await page.reload();
  await page.ready();
  await press("F2");
  const dealt = await dealtPiece();
  assert.ok(dealt.row <= 1 && dealt.col === 3, `F2 deals: ${JSON.stringify(dealt)}`);
  assert.equal((await shownPiece())?.col, 3, `on the screen:\n${(await board()).join("\n")}`);
  const run = await page.evaluate(async () => (await globalThis.nubbo.runScript("seed 3\nnew\n")).status);
  assert.equal(run, 0, "the script hook runs");
  assert.deepEqual(await page.problems(), []);
});
