// The web edition on a phone, read from the page's pixels: the form fitted
// to a 390 x 844 screen at device pixel ratio 3, crisp, and played by touch
// through the keys' own way in; turning the phone keeps the game.
import assert from "node:assert/strict";
import { after, before, test } from "node:test";
import { setTimeout as sleep } from "node:timers/promises";
import { look, onBoard, startBrowser } from "./browser.js";
import { boardOf, pieceOf } from "./view.js";

let browser;
before(async () => { browser = await startBrowser(); });
after(() => browser?.close());

const PHONE = { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true };

// The board as read from the pixels, the prompt's rows 4 to 6 read as empty
// where the blue text covers them; '?' anywhere else is a cell that is not
// one picture in whole device-pixel blocks.
async function board(page) {
  return boardOf(await look(page)).map((row, r) => (r >= 4 && r <= 6 ? row.replace(/\?/g, ".") : row));
}
const piece = async (page) => pieceOf(await board(page));

// The top row of the falling piece, read from the canvas at once: quicker
// than a screenshot, so that the fall of the piece meanwhile is small.
const topRow = (page) => onBoard(page, (canvas, context) => {
  const { data } = context.getImageData(0, 0, canvas.width, canvas.height);
  for (let p = 0; p < data.length; p += 4)
    if (data[p] !== 255 || data[p + 1] !== 255 || data[p + 2] !== 255) return Math.floor(p / 4 / canvas.width / (canvas.height / 13));
  return -1;
});

// Where the form and its parts are, in CSS pixels of the viewport.
const layout = (page) => page.evaluate(() => {
  const box = (el) => { const r = el.getBoundingClientRect(); return { x: r.x, y: r.y, right: r.right, bottom: r.bottom }; };
  return {
    width: innerWidth, height: innerHeight,
    scrollWidth: document.scrollingElement.scrollWidth, scrollHeight: document.scrollingElement.scrollHeight,
    form: box(document.getElementById("form")), board: box(document.getElementById("board")),
    buttons: [...document.querySelectorAll("#touchbar button")].map(box),
  };
});

// The whole form and the touch buttons on the screen, no scrolling, the
// buttons clear of the form; returns the layout.
async function assertFits(page, what) {
  const at = await layout(page);
  assert.ok(at.scrollWidth <= at.width && at.scrollHeight <= at.height, `${what}: no scrolling ${JSON.stringify(at)}`);
  for (const part of [at.form, ...at.buttons])
    assert.ok(part.x >= 0 && part.y >= 0 && part.right <= at.width && part.bottom <= at.height, `${what}: on screen`);
  assert.equal(at.buttons.length, 2);
  for (const b of at.buttons)
    assert.ok(b.y >= at.form.bottom || b.x >= at.form.right, `${what}: a button covers the form`);
  return at;
}

// A finger from (x, y) by (dx, dy) CSS pixels in `steps` moves, `ms` apart.
async function swipe(page, [x, y], [dx, dy], steps = 4, ms = 30) {
  await page.touchscreen.touchStart(x, y);
  for (let k = 1; k <= steps; ++k) {
    await page.touchscreen.touchMove(x + (dx * k) / steps, y + (dy * k) / steps);
    if (ms) await sleep(ms);
  }
  await page.touchscreen.touchEnd();
  await sleep(40);  // the key gate (10 ms) opens again
}

test("on a 390 x 844 phone at ratio 3 the form fits, crisp, and touch plays as the keys do", async () => {
  const { page, problems } = await browser.open({ viewport: PHONE });
  let at = await assertFits(page, "portrait");
  assert.ok(at.board.right - at.board.x >= 0.55 * 390, `the board ${at.board.right - at.board.x} px wide`);
  // Each picture pixel a whole square of device pixels: every cell reads as
  // exactly one picture, blown up without smoothing.
  let view = await look(page);
  assert.ok(Number.isInteger(view.ratio) && view.ratio >= 3, `${view.ratio} device pixels a picture pixel`);
  assert.deepEqual(await board(page), Array(13).fill("........"));

  await page.tap('#touchbar [data-command="new"]');
  await sleep(30);
  assert.deepEqual([(await piece(page))?.row, (await piece(page))?.col], [0, 3], "New deals");
  const cell = (at.board.right - at.board.x) / 8;
  const middle = () => [at.board.x + 4 * cell, at.board.y + 8 * cell];

  // A slow swipe down past two more cells drops three rows, one key each; the
  // same swipe made in one move is three keys at once, and the key gate
  // lets only the first through, as it would three keys.
  // (At most one fall step of 500 ms passes during each swipe.)
  let from = await topRow(page);
  await swipe(page, middle(), [0, 2 * cell + 30], 3, 60);
  let to = await topRow(page);
  assert.ok(to - from >= 3 && to - from <= 4, `a slow swipe down: ${from} to ${to}`);
  from = await topRow(page);
  await swipe(page, middle(), [0, 2 * cell + 30], 1, 0);
  to = await topRow(page);
  assert.ok(to - from >= 1 && to - from <= 2, `a quick swipe down: ${from} to ${to}`);

  // The Game menu by touch.
  await page.tap("#menu-game");
  assert.equal(await page.$eval("#dropdown-game", (d) => d.hidden), false, "the Game menu opens by touch");
  await page.tap('#dropdown-game [data-command="new"]');
  await sleep(30);
  const dealt = await piece(page);
  assert.deepEqual([dealt?.row, dealt?.col], [0, 3], "Game > New by touch deals");

  // One column a swipe, however long.
  await swipe(page, middle(), [-1.5 * cell, 10]);
  assert.equal((await piece(page)).col, 2, "a left swipe shifts one column");
  await swipe(page, middle(), [3 * cell, -6]);
  assert.equal((await piece(page)).col, 3, "a long right swipe, one column");
  // A tap on the board rotates; a tap beside it, or a swipe up, does nothing.
  await page.touchscreen.tap(at.board.x + 6 * cell, at.board.y + 10 * cell);
  await sleep(40);
  const [a, b, c] = dealt.tiles;
  assert.equal((await piece(page)).tiles, b + c + a, "a tap rotates");
  await page.touchscreen.tap(at.form.x + 4, at.board.y + 4 * cell);
  await swipe(page, middle(), [0, -3 * cell]);
  let now = await piece(page);
  assert.deepEqual([now.col, now.tiles], [3, b + c + a], "nothing else moves it");

  // Pause and the help box by touch, on a new piece.
  await page.tap('#touchbar [data-command="new"]');
  await page.tap('#touchbar [data-command="pause"]');
  await sleep(30);
  assert.equal(await page.$eval("#banner", (l) => (l.hidden ? "" : l.textContent)), "PAUSE");
  await page.tap("#menu-help");
  assert.equal(await page.$eval("#help", (d) => d.open), true, "Help opens by touch");
  await swipe(page, middle(), [-2 * cell, 0]);  // the box is modal: no swipe reaches the game
  await page.tap("#help button");
  assert.equal(await page.$eval("#help", (d) => d.open), false, "OK closes it");
  now = await piece(page);
  assert.deepEqual([now?.row, now?.col], [0, 3], "the swipe behind the box never reached the game");

  // Turned to landscape and back, then on a large screen: fitted again,
  // crisp, the same paused piece where it was.
  for (const [width, height] of [[844, 390], [390, 844]]) {
    await page.setViewport({ ...PHONE, width, height });
    await sleep(100);
    at = await assertFits(page, `${width} x ${height}`);
    assert.ok(at.board.bottom - at.board.y >= 0.55 * height, `${width} x ${height}: the board as tall as fits`);
    view = await look(page);
    assert.ok(Number.isInteger(view.ratio), `${width} x ${height}: ${view.ratio}`);
    const turned = await piece(page);
    assert.deepEqual([turned?.row, turned?.col, turned?.tiles], [now.row, now.col, now.tiles], `${width} x ${height}`);
  }
  await page.setViewport({ ...PHONE, width: 1280, height: 1200, deviceScaleFactor: 1 });
  await sleep(100);
  view = await look(page);
  assert.equal(view.ratio, 2, "a large screen shows the form at twice its size");
  assert.deepEqual([(await piece(page))?.row, (await piece(page))?.col], [now.row, now.col]);
  assert.deepEqual(problems, []);
  await page.close();
});

// Keys stay the game's: a click or a tap on any control of the page acts
// and leaves the keyboard focus where it was (the help box's OK has it only
// while the box is open). Every control but Play again, which reloads, is tried.
test("no control keeps the keyboard focus after a click or a tap", async () => {
  const { page, problems } = await browser.open({ viewport: PHONE });
  const tried = ["#expertBox", "#menu-game", '#dropdown-game [data-command="new"]', '#touchbar [data-command="pause"]',
    '#touchbar [data-command="new"]', "#menu-help", "#help button", "#menu-game", '#dropdown-game [data-command="pause"]'];
  const last = ["#menu-game", '#dropdown-game [data-command="exit"]'];
  assert.deepEqual(await page.$$eval("button, input", (all, tried) =>
    all.filter((c) => !c.closest("#help") && !tried.some((s) => c.matches(s))).map((c) => c.id), [...tried, ...last]),
  ["again"], "every control is tried");
  for (const [how, controls] of [["click", tried], ["tap", [...tried, ...last]]])
    for (const control of controls) {
      await page[how](control);
      await sleep(30);  // the events the action queued
      if (control === "#menu-help") continue;
      assert.equal(await page.evaluate(() => (document.activeElement === document.body ? "" : document.activeElement.outerHTML)),
        "", `${how} on ${control}`);
    }
  assert.equal(await page.$eval("#ended", (e) => e.hidden), false, "and Exit ended the game");
  assert.deepEqual(problems, []);
  await page.close();
});
