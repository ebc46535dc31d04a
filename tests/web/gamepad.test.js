// Gamepads on the page: `navigator.getGamepads` is replaced before the page
// loads by scripted pads, and what each control does is read from the
// canvas's pixels. A seeded game played by a pad ends as the simulator's
// game with the same key codes at the same instants.
import assert from "node:assert/strict";
import { spawnSync } from "node:child_process";
import { after, before, test } from "node:test";
import { setTimeout as sleep } from "node:timers/promises";
import { look, onBoard, startBrowser } from "./browser.js";
import { boardOf, pieceOf } from "./view.js";

const SIM = process.env.NUBBO_SIM ?? new URL("../../build/default/sim/nubbo-sim", import.meta.url).pathname;

let browser;
before(async () => { browser = await startBrowser(); });
after(() => browser?.close());

// Runs in the page before its scripts: up to four scripted pads of the
// standard layout, plugged in and out with the browser's events. Each read
// of the pads is counted, and each button that went down since the read
// before is logged with the instant of the read.
function scriptedPads() {
  const pads = [null, null, null, null];
  let last = [];
  const waiting = [];
  const state = { reads: 0, presses: [] };
  const copy = (pad) => pad && { ...pad, buttons: pad.buttons.map((b) => ({ ...b })), axes: [...pad.axes] };
  const tell = (type, gamepad) => dispatchEvent(Object.assign(new Event(type), { gamepad }));
  globalThis.__pads = {
    state,
    plug(index) {
      pads[index] = { index, id: `scripted pad ${index}`, connected: true, mapping: "standard", timestamp: 0,
        buttons: Array.from({ length: 17 }, () => ({ pressed: false, touched: false, value: 0 })), axes: [0, 0, 0, 0] };
      tell("gamepadconnected", copy(pads[index]));
    },
    unplug(index) {
      const pad = pads[index];
      pads[index] = null;
      tell("gamepaddisconnected", { ...copy(pad), connected: false });
    },
    set(index, button, down) { pads[index].buttons[button] = { pressed: down, touched: down, value: down ? 1 : 0 }; },
    axis(index, axis, value) { pads[index].axes[axis] = value; },
    // Resolves once the page has read the pads (after its handling of the read).
    read: () => new Promise((done) => waiting.push(done)),
  };
  Object.defineProperty(Navigator.prototype, "getGamepads", {
    configurable: true,
    value() {
      state.reads += 1;
      const now = performance.now();
      pads.forEach((pad, p) => pad?.buttons.forEach((b, k) => {
        if (b.pressed && !last[p]?.buttons[k].pressed) state.presses.push([now, p, k]);
      }));
      last = pads.map(copy);
      waiting.splice(0).forEach((done) => done());
      return pads.map(copy);
    },
  });
}

// Buttons of the standard layout, and the axes of the left stick.
const A = 0, B = 1, Y = 3, SHOULDER = 4, BACK = 8, START = 9, UP = 12, DOWN = 13, LEFT = 14, RIGHT = 15;
const X_AXIS = 0, Y_AXIS = 1;

// A control pressed, read by the page, and let go, read again.
async function press(page, control, pad = 0) {
  await page.evaluate(async ([pad, [kind, which, value]]) => {
    const set = (on) => (kind === "button" ? __pads.set(pad, which, on) : __pads.axis(pad, which, on ? value : 0));
    set(true);
    await __pads.read();
    set(false);
    await __pads.read();
  }, [pad, control]);
}
const button = (b) => ["button", b];
const stick = (axis, value) => ["axis", axis, value];

// The board as read from the pixels, the banner's rows read as empty where
// its blue covers them.
async function board(page) {
  return boardOf(await look(page)).map((row, r) => (r >= 4 && r <= 6 ? row.replace(/\?/g, ".") : row));
}
const piece = async (page) => pieceOf(await board(page));
// The top row and the column of the falling piece, from the canvas itself
// (no banner over it).
const spot = (page) => onBoard(page, (canvas, context) => {
  const { data } = context.getImageData(0, 0, canvas.width, canvas.height);
  const cell = canvas.width / 8;
  for (let p = 0; p < data.length; p += 4)
    if (data[p] !== 255 || data[p + 1] !== 255 || data[p + 2] !== 255)
      return { row: Math.floor(p / 4 / canvas.width / cell), col: Math.floor(((p / 4) % canvas.width) / cell) };
  return { row: -1, col: -1 };
});
const column = async (page) => (await spot(page)).col;
const banner = (page) => page.$eval("#banner", (l) => (l.hidden ? "" : l.textContent));
const frames = (page) => page.evaluate(() => globalThis.__nubboTest.frames);

test("a scripted pad plays as the keys do: each control, Pause and New, repeats, two pads, a hidden page", async () => {
  const { page, problems } = await browser.open({ beforeLoad: scriptedPads });
  let from = await frames(page);
  await sleep(300);
  assert.equal(await frames(page) - from, 0, "no pad: no animation frame");
  await page.evaluate(async () => { __pads.plug(0); await __pads.read(); });  // its state at rest read
  await press(page, button(BACK));
  await sleep(30);
  assert.deepEqual([(await piece(page))?.row, (await piece(page))?.col], [0, 3], "Back deals a new game");

  // After Start's pause, each control resumes the game and does its key's
  // work at once (the fall counts afresh from a resume).
  const cases = [
    ["D-pad left", button(LEFT), -1, 0, false], ["D-pad right", button(RIGHT), 1, 0, false],
    ["D-pad down", button(DOWN), 0, 1, false], ["D-pad up", button(UP), 0, 0, true],
    ["A", button(A), 0, 0, true], ["stick left", stick(X_AXIS, -1), -1, 0, false],
    ["stick right", stick(X_AXIS, 0.8), 1, 0, false], ["stick down", stick(Y_AXIS, 1), 0, 1, false],
    ["B", button(B), 0, 0, false], ["Y", button(Y), 0, 0, false], ["shoulder", button(SHOULDER), 0, 0, false],
    ["stick up", stick(Y_AXIS, -1), 0, 0, false, "no key"],
    ["stick inside the dead zone", stick(X_AXIS, -0.45), 0, 0, false, "no key"],
    ["right stick", stick(2, -1), 0, 0, false, "no key"],
  ];
  for (const [name, control, cols, rows, rotates, noKey] of cases) {
    await press(page, button(BACK));
    await press(page, button(START));
    assert.equal(await banner(page), "PAUSE", `${name}: Start pauses`);
    const was = await piece(page);
    await press(page, control);
    const now = await piece(page);
    const [a, b, c] = was.tiles;
    assert.deepEqual(now, { row: was.row + rows, col: was.col + cols, tiles: rotates ? b + c + a : was.tiles }, name);
    // Resumed, the piece falls on a row; else it stays.
    if (noKey) {
      await sleep(700);
      assert.equal((await spot(page)).row, now.row, `${name}: no key`);
    } else {
      let row = now.row;
      for (let t = 0; t < 75 && row === now.row; ++t) { await sleep(20); row = (await spot(page)).row; }
      assert.equal(row, now.row + 1, `${name}: a key`);
    }
  }

  // A stick resting near the edge: pushed past half way, back to 40 % and
  // out again is one press; let go under 30 %, then pushed, another.
  await press(page, button(BACK));
  await page.evaluate(async () => {
    for (const x of [-0.6, -0.4, -0.55, -0.35, -0.6, -0.25, -0.2, -0.7, 0]) {
      __pads.axis(0, 0, x);
      await __pads.read();
    }
  });
  assert.equal(await column(page), 1, "two presses of the stick, no chatter");
  // A button held over many reads is one press.
  const was = await piece(page);
  await page.evaluate(async () => {
    __pads.set(0, 0, true);
    for (let k = 0; k < 5; ++k) await __pads.read();
    __pads.set(0, 0, false);
    await __pads.read();
  });
  assert.equal((await piece(page)).tiles, was.tiles.slice(1) + was.tiles[0], "A held: one rotation");

  // Two pads pressing at one read are two keys at once: the key gate lets
  // the first through, as it would two keys (the second too when the
  // gate's 10 ms tick falls between them, which a millisecond clock now and
  // then shows).
  await page.evaluate(async () => { __pads.plug(1); await __pads.read(); });  // its state at rest read
  const top = (await spot(page)).row;
  for (let n = 0; n < 3; ++n) {
    await press(page, button(START));  // paused first, so that no fall step comes between
    await page.evaluate(async () => {
      for (const on of [true, false]) {
        __pads.set(0, 13, on);
        __pads.set(1, 13, on);
        await __pads.read();
      }
    });
  }
  const dropped = (await spot(page)).row - top;
  assert.ok(dropped >= 3 && dropped <= 4, `two pads, three presses each: ${dropped} rows`);

  // Held, Right repeats after 300 ms at 30 a second.
  await press(page, button(BACK));
  // The column watched where the board is drawn, the pad pressed on the page.
  const watched = onBoard(page, async (canvas, context) => {
    const column = () => {
      const { data } = context.getImageData(0, 0, canvas.width, canvas.height);
      for (let p = 0; p < data.length; p += 4)
        if (data[p] !== 255 || data[p + 1] !== 255 || data[p + 2] !== 255) return Math.floor((p / 4) % canvas.width / (canvas.width / 8));
      return -1;
    };
    const seen = [[0, column()]];
    const start = performance.now();
    await new Promise((done) => {
      const timer = setInterval(() => {
        const col = column();
        if (seen.at(-1)[1] !== col) seen.push([performance.now() - start, col]);
        if (performance.now() - start > 700) { clearInterval(timer); done(); }
      }, 2);
    });
    return seen;
  });
  await page.evaluate(() => __pads.set(0, 15, true));
  const moves = await watched;
  await page.evaluate(() => __pads.set(0, 15, false));
  // When the column first reached `col` (a busy page may skip a sample).
  const when = (col) => moves.find(([, c]) => c >= col)?.[0];
  const what = JSON.stringify(moves);
  assert.equal(moves.at(-1)[1], 7, what);
  assert.ok(when(4) < 60, `the first at once: ${what}`);
  assert.ok(when(5) - when(4) >= 290 && when(5) - when(4) < 400, `the first repeat: ${what}`);
  const step = (when(7) - when(5)) / 2;
  assert.ok(step >= 20 && step <= 70, `then every ${step} ms: ${what}`);

  // A pad pulled out while held repeats no more; the other plays on.
  await page.evaluate(async () => { __pads.set(0, 14, true); await __pads.read(); __pads.unplug(0); });
  await sleep(600);
  assert.equal(await column(page), 6, "no repeat from a pad pulled out");
  await press(page, button(LEFT), 1);
  assert.equal(await column(page), 5, "the other pad plays on");

  // A hidden page pauses, asks for no frame, and no pad acts on it.
  await page.evaluate(() => {
    Object.defineProperty(document, "hidden", { value: true, configurable: true });
    document.dispatchEvent(new Event("visibilitychange"));
  });
  const hidden = await board(page);
  from = await frames(page);
  await page.evaluate(() => { __pads.set(1, 14, true); __pads.set(1, 0, true); });
  await sleep(700);
  assert.equal(await frames(page) - from, 0, "no frame for a hidden page");
  assert.deepEqual(await board(page), hidden, "nothing moved");
  assert.equal(await banner(page), "PAUSE");
  // Shown again, a button held all along is no press; a new one is.
  await page.evaluate(() => {
    Object.defineProperty(document, "hidden", { value: false, configurable: true });
    document.dispatchEvent(new Event("visibilitychange"));
  });
  await sleep(100);
  assert.deepEqual(await board(page), hidden, "a button held while hidden is no press");
  await page.evaluate(async () => { __pads.set(1, 14, false); __pads.set(1, 0, false); await __pads.read(); });
  await press(page, button(LEFT), 1);
  assert.equal(await column(page), 4, "a new press is");
  await page.evaluate(() => __pads.unplug(1));
  await sleep(100);
  from = await frames(page);
  await sleep(300);
  assert.equal(await frames(page) - from, 0, "the last pad gone: no frame");
  assert.deepEqual(problems, []);
  await page.close();
});

// Waits for the next piece at the top of the spawn column (the pixels of
// rows 0 to 2 there changed from what they were, none empty), or for the
// end of the game; says which.
const topCells = (page) => onBoard(page, (canvas, context) => {
  const cell = canvas.width / 8;
  return [0, 1, 2].map((row) => {
    const { data } = context.getImageData(3 * cell, row * cell, cell, cell);
    let sum = 0, empty = true;
    for (const v of data) {
      sum = (sum * 31 + v) >>> 0;
      if (v !== 255) empty = false;
    }
    return { sum, empty };
  });
});
async function nextPiece(page) {
  const before = await topCells(page);
  const start = performance.now();
  for (;;) {
    const now = await topCells(page);
    if (await page.$eval("#gameOverLabel", (l) => !l.hidden)) return "over";
    if (now.every((c, k) => !c.empty && c.sum !== before[k].sum)) return "dealt";
    if (performance.now() - start > 5000) throw new Error("no piece came");
    await sleep(3);
  }
}

test("a seeded game played by a pad ends as nubbo-sim's game with the same key codes at the same instants", async () => {
  const seed = 11;
  const { page, problems } = await browser.open({ beforeLoad: scriptedPads, query: `?seed=${seed}` });
  await page.evaluate(async () => { __pads.plug(0); await __pads.read(); });  // its state at rest read
  await press(page, button(BACK));
  // Each piece: pause at once, then rotations, shifts towards a column near
  // the middle, and ten drops, with a pause before every fourth control.
  // A control after a pause resumes and counts the fall afresh from its
  // own instant, which the simulator shares: no fall step of the page's,
  // however late its timer, comes between two controls.
  let state = seed;
  const random = (n) => { state = (state * 1103515245 + 12345) % 2 ** 31; return Math.floor((state / 2 ** 31) * n); };
  let ended = false;
  for (let n = 0; n < 80 && !ended; ++n) {
    const controls = [...Array(random(3)).fill(A)];
    const to = random(8);
    controls.push(...Array(Math.abs(to - 3)).fill(to < 3 ? LEFT : RIGHT), ...Array(10).fill(DOWN));
    for (let k = 0; k < controls.length; ++k) {
      if (k % 4 === 0) await press(page, button(START));
      await press(page, button(controls[k]));
    }
    ended = (await nextPiece(page)) === "over";
  }
  assert.ok(ended, "the game ended");

  // The presses the page read, as the simulator's script.
  const presses = await page.evaluate(() => __pads.state.presses);
  const line = { [A]: "key 32", [LEFT]: "key 37", [RIGHT]: "key 39", [DOWN]: "key 40", [START]: "pause", [BACK]: "new" };
  const t0 = Math.floor(presses[0][0]);
  let at = t0;
  const script = [`seed ${seed}`];
  for (const [instant, , b] of presses) {
    const ms = Math.floor(instant);
    script.push(`advance ${ms - at}`, line[b]);
    at = ms;
  }
  script.push("advance 10000", "show", "");
  const run = spawnSync(SIM, [], { input: script.join("\n"), encoding: "utf8" });
  assert.equal(run.status, 0, run.stderr);
  assert.match(run.stdout, /\nover\n/, "the simulator's game ended too");
  const shown = run.stdout.slice(run.stdout.lastIndexOf("board\n")).split("\n");
  const [, score, level] = shown.find((l) => l.startsWith("score ")).match(/^score (\d+) level (\d+)/);

  const view = await look(page);
  const seen = boardOf(view);
  let cells = 0;
  seen.forEach((row, r) => [...row].forEach((ch, c) => {
    if (ch === "?") return;  // under GAME OVER
    cells += 1;
    assert.equal(ch, shown[1 + r][c], `cell ${r},${c}\n${seen.join("\n")}\n\n${shown.slice(1, 14).join("\n")}`);
  }));
  assert.ok(cells >= 80, `${cells} cells readable`);
  assert.equal(await page.$eval("#scoreBox", (t) => t.textContent), score, "the score");
  assert.equal(await page.$eval("#levelBox", (t) => t.textContent), level, "the level");
  assert.ok(presses.length > 100, `${presses.length} presses`);
  assert.deepEqual(problems, []);
  await page.close();
});
