// A whole seeded game in the page, 高手 ticked, played as the simulator plays
// the same seed: the chain banner and "GAME OVER" show where they should,
// and the board, score and banner on the page are the simulator's.
import assert from "node:assert/strict";
import { after, before, test } from "node:test";
import { setTimeout as sleep } from "node:timers/promises";
import { look, startBrowser } from "./browser.js";
import { bluePixels, boardOf, misspoken, place } from "./view.js";

let browser;
before(async () => { browser = await startBrowser(); });
after(() => browser?.close());

// The first seed whose expert game, left to itself, has a chain and ends
// within a dozen pieces, found with the page's own script hook.
async function chainSeed(page) {
  return page.evaluate(async () => {
    for (let seed = 1; seed <= 2000; ++seed) {
      const { out } = await globalThis.nubbo.runScript(`seed ${seed}\ncheck1 1\nnew\nadvance 300000\nshow\n`);
      const chain = out.match(/^score \d+ level \d+ banner ( \d+連扁)$/m);
      const spawns = out.match(/^spawn/gm).length;
      if (chain && out.includes("\nover\n") && spawns <= 12) return { seed, out, banner: chain[1] };
    }
    return null;
  });
}

test("a seeded game shows the simulator's chain banner, board, score and GAME OVER", async () => {
  let { page, problems } = await browser.open();
  const found = await chainSeed(page);
  assert.ok(found, "a seed with a chain");
  const shown = found.out.slice(found.out.lastIndexOf("board\n")).split("\n");
  const finalBoard = shown.slice(1, 14);
  const finalScore = shown.find((l) => l.startsWith("score ")).split(" ")[1];
  await page.close();
  // A seed that is not a whole number below 2^53 is no seed: a random deal.
  for (const query of ["?seed=12x", "?seed=-3", "?seed=9999999999999999"]) {
    ({ page, problems } = await browser.open({ query }));
    assert.deepEqual(problems, [], query);
    await page.close();
  }

  ({ page, problems } = await browser.open({ query: `?seed=${found.seed}` }));
  assert.deepEqual(await misspoken(page), [], "each text in its language");
  await page.click("#expertBox");
  await page.keyboard.press("F2");
  // Paused, the banner speaks English; a key resumes without moving the piece.
  await page.keyboard.press("F3");
  await sleep(30);
  assert.equal(await page.$eval("#banner", (l) => l.textContent), "PAUSE");
  assert.deepEqual(await misspoken(page), [], "PAUSE in its language");
  // Dropping each piece straight down its column changes no landing, so the
  // game is the one the simulator played without keys, only faster.
  let banner = null;
  let over = false;
  for (let step = 0; step < 600 && !over; ++step) {
    await page.keyboard.press("ArrowDown");
    await sleep(15);
    const state = await page.evaluate(() => ({
      label1: !document.getElementById("gameOverLabel").hidden,
      label2: document.getElementById("banner").hidden ? "" : document.getElementById("banner").textContent,
    }));
    if (!banner && state.label2.includes("連扁")) {
      banner = state.label2;
      assert.deepEqual(await misspoken(page), [], "the chain banner in its language");
      const view = await look(page);
      assert.ok(bluePixels(view, ...place("banner")) > 800, "the chain banner shows in blue over rows 4 to 6");
      assert.equal(bluePixels(view, 8, 67, 273, 120) + bluePixels(view, 8, 290, 273, 190), 0,
        "and nowhere else");
    }
    over = state.label1;
  }
  assert.equal(banner, found.banner, "the simulator's chain banner");
  assert.ok(over, "the game ended");

  const view = await look(page);
  assert.ok(bluePixels(view, ...place("gameOverLabel")) > 1500, "GAME OVER shows in blue");
  assert.equal(bluePixels(view, 0, 20, 289, 150) + bluePixels(view, 0, 310, 289, 170), 0,
    "only in its box");
  assert.equal(await page.$eval("#gameOverLabel", (l) => getComputedStyle(l).fontFamily), '"Nubbo Sans", sans-serif');
  assert.equal(await page.evaluate(() => document.fonts.check("48px 'Nubbo Sans'", "GAME OVER")), true);
  // Every cell the label leaves uncovered is the simulator's, and most are.
  const board = boardOf(view);
  let seen = 0;
  board.forEach((row, r) => [...row].forEach((ch, c) => {
    if (ch === "?") return;
    seen += 1;
    assert.equal(ch, finalBoard[r][c], `cell ${r},${c}\n${board.join("\n")}\n\n${finalBoard.join("\n")}`);
  }));
  assert.ok(seen >= 80, `${seen} cells readable`);
  assert.equal(await page.$eval("#scoreBox", (t) => t.textContent), finalScore, "the score");
  assert.deepEqual(problems, []);
  await page.close();
});
