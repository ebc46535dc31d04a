// The page as the web's standard audits judge it: Lighthouse's mobile and
// desktop presets (accessibility, best practices and SEO at 100, no layout
// shift at all), and axe-core with its best-practice rules over every state
// a player can bring the page into, at a phone's size and a desktop's.
import assert from "node:assert/strict";
import { after, before, test } from "node:test";
import { setTimeout as sleep } from "node:timers/promises";
import axe from "axe-core";
import { startBrowser } from "./browser.js";
import { runLighthouse } from "./lighthouse.js";

let browser;
before(async () => { browser = await startBrowser(); });
after(() => browser?.close());

for (const preset of ["mobile", "desktop"]) {
  test(`Lighthouse ${preset}: accessibility, best practices and SEO 100, cumulative layout shift 0`, async () => {
    const lhr = await runLighthouse(browser, preset, ["performance", "accessibility", "best-practices", "seo"]);
    const failing = Object.values(lhr.audits)
      .filter((a) => a.score !== null && a.score < 1 && a.scoreDisplayMode === "binary")
      .map((a) => `${a.id}: ${a.title}`);
    const scores = Object.fromEntries(["accessibility", "best-practices", "seo"]
      .map((name) => [name, lhr.categories[name].score]));
    assert.deepEqual(scores, { accessibility: 1, "best-practices": 1, seo: 1 }, failing.join("\n"));
    assert.equal(lhr.audits["cumulative-layout-shift"].numericValue, 0, "the form never moves");
  });
}

// Each state a player reaches, from the one before it.
const STATES = [
  ["idle", async () => {}],
  ["playing", async (page) => { await page.keyboard.press("F2"); await sleep(50); await page.keyboard.press("ArrowLeft"); }],
  ["with the Game menu open", (page) => page.click("#menu-game")],
  ["paused", async (page) => { await page.click("#menu-game"); await page.keyboard.press("F3"); }],
  ["with Help open", (page) => page.click("#menu-help")],
  ["after Exit", async (page) => { await page.click("#help button"); await page.keyboard.press("F4"); }],
];
const SIZES = {
  phone: { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true },
  desktop: { width: 1280, height: 900, deviceScaleFactor: 1 },
};

for (const [size, viewport] of Object.entries(SIZES)) {
  test(`axe-core at a ${size}'s size: no violation, best practices included, in every state`, async () => {
    const { page, problems } = await browser.open({ viewport });
    const found = [];
    for (const [state, reach] of STATES) {
      await reach(page);
      await sleep(50);
      await page.evaluate(axe.source);
      // Every rule but the experimental ones: WCAG A and AA, and best practice.
      const violations = await page.evaluate(async () =>
        (await globalThis.axe.run(document, { resultTypes: ["violations"] })).violations
          .map((v) => `${v.id} (${v.impact}): ${v.nodes.map((n) => n.target.join(" ")).join(", ")}`));
      found.push(...violations.map((v) => `${state}: ${v}`));
    }
    assert.deepEqual(found, []);
    assert.deepEqual(problems, []);
    await page.close();
  });
}
