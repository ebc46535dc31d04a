// The web edition as a player sees it, read from the page's pixels: the
// window at rest, a deal, the keys, pause, the pace of the fall, help, focus
// loss, the menu and Exit.
import assert from "node:assert/strict";
import { after, before, test } from "node:test";
import { setTimeout as sleep } from "node:timers/promises";
import { look, startBrowser } from "./browser.js";
import { bluePixels, boardOf, pieceOf } from "./view.js";

let browser;
before(async () => { browser = await startBrowser(); });
after(() => browser?.close());

const EMPTY_BOARD = Array(13).fill("........");
// Label2's box, where the banner shows, in CSS pixels of the client area.
const LABEL2 = [8, 200, 273, 81];
const LABEL1 = [72, 184, 145, 113];

async function piece(page) {
  return pieceOf(boardOf(await look(page)));
}

// Presses a key and gives the key gate (10 ms) time to open again.
async function press(page, key) {
  await page.keyboard.press(key);
  await sleep(40);
}

const counts = (page) => page.evaluate(() => ({ ...globalThis.__nubboTest, keys: undefined }));

for (const ratio of [1, 2]) {
  test(`at device pixel ratio ${ratio}: the window at rest, a deal, shifts and rotation`, async () => {
    const { page, problems } = await browser.open({ ratio });
    assert.equal(await page.title(), "完全NUBBO方塊版");
    await sleep(50);
    let view = await look(page);
    assert.deepEqual(view.at(3, 100), [255, 192, 192], "the pink form");
    // A white board of crisp empty cells, the prompt over rows 4 to 6.
    assert.deepEqual(boardOf(view).map((row, r) => (r >= 4 && r <= 6 ? row.replace(/\?/g, ".") : row)),
      EMPTY_BOARD);
    assert.ok(bluePixels(view, ...LABEL2) > 500, "the prompt shows in blue");
    assert.equal(bluePixels(view, ...LABEL1) - bluePixels(view, 72, 200, 145, 81), 0);

    await page.keyboard.press("F2");
    await sleep(30);
    view = await look(page);
    assert.equal(bluePixels(view, ...LABEL2), 0, "the prompt is gone");
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
    assert.deepEqual(problems, []);
    await page.close();
  });
}
