// The form never jumps: from the navigation to a dealt piece, no layout
// shift at all, and the form's first paint is already its final place and
// scale (a scale by a transform is no layout shift, so both are watched),
// the largest whole number of device pixels per picture pixel that fits.
import assert from "node:assert/strict";
import { after, before, test } from "node:test";
import { startBrowser } from "./browser.js";

let browser;
before(async () => { browser = await startBrowser(); });
after(() => browser?.close());

// Each screen, with the device pixels per picture pixel the form must get:
// the most at which the whole form (and on a touch screen its buttons) fits.
const SCREENS = [
  [{ width: 1280, height: 900, deviceScaleFactor: 1 }, 1],
  [{ width: 1920, height: 1080, deviceScaleFactor: 1 }, 2],
  [{ width: 2560, height: 1440, deviceScaleFactor: 2 }, 5],
  [{ width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true }, 4],
];

test("from navigation to a dealt piece nothing shifts, and the first paint is the fitted form", async () => {
  for (const [viewport, pixels] of SCREENS) {
    const what = `${viewport.width} x ${viewport.height} at ${viewport.deviceScaleFactor}`;
    const page = await browser.blank();
    await page.setViewport(viewport);
    // The client area's box in the first frame that lays it out.
    await page.evaluateOnNewDocument(() => {
      const frame = requestAnimationFrame;
      const watch = () => {
        const client = document.getElementById("client");
        if (client?.getBoundingClientRect().width) globalThis.firstBox = client.getBoundingClientRect().toJSON();
        else frame(watch);
      };
      frame(watch);
      globalThis.shifts = [];
      new PerformanceObserver((list) => globalThis.shifts.push(...list.getEntries().map((e) =>
        e.sources.map((s) => `${s.node?.id || s.node?.nodeName}: ${JSON.stringify(s.previousRect)} to ${JSON.stringify(s.currentRect)}`))))
        .observe({ type: "layout-shift", buffered: true });
    });
    await page.goto(browser.url, { waitUntil: "load" });
    await page.waitForSelector("html[data-ready]");
    await page.keyboard.press("F2");
    await page.waitForFunction(() => performance.getEntriesByName("nubbo-first-piece").length > 0);
    await new Promise((done) => setTimeout(done, 200));  // the frames after the deal
    const seen = await page.evaluate(() => ({
      shifts: globalThis.shifts, first: globalThis.firstBox,
      last: document.getElementById("client").getBoundingClientRect().toJSON(),
    }));
    assert.deepEqual(seen.shifts, [], `${what}: layout shifts`);
    assert.deepEqual(seen.first, seen.last, `${what}: the first paint is the final layout`);
    assert.equal(Math.round(seen.last.width * viewport.deviceScaleFactor), 289 * pixels, `${what}: ${pixels} device pixels a picture pixel`);
    await page.close();
  }
});
