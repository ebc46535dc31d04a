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

// The form is first laid out in its own faces: it shows once they are in,
// and shows all the same, in fallback faces, when they cannot be had.
test("the form shows once its fonts are in, or once they have failed", async () => {
  for (const fonts of ["served", "refused"]) {
    // A context of its own each time: nothing cached from the other visit.
    const blank = await browser.blank();
    const context = await blank.browser().createBrowserContext();
    await blank.close();
    const page = await context.newPage();
    await page.setViewport({ width: 360, height: 620 });
    await page.setRequestInterception(true);
    page.on("request", (request) => {
      if (fonts === "refused" && /\.woff2$/.test(request.url())) request.respond({ status: 404, body: "" });
      else request.continue();
    });
    // The faces' state at the moment the form may first be laid out.
    await page.evaluateOnNewDocument(() => {
      new MutationObserver((_, observer) => {
        if (document.documentElement.classList.contains("fonts-loading")) return;
        observer.disconnect();
        globalThis.facesWhenShown = Array.from(document.fonts, (face) => face.status);
      }).observe(document, { subtree: true, attributeFilter: ["class"] });
    });
    await page.goto(browser.url, { waitUntil: "load" });
    await page.waitForFunction(() => globalThis.facesWhenShown);
    const faces = await page.evaluate(() => globalThis.facesWhenShown);
    assert.deepEqual(faces, fonts === "served" ? ["loaded", "loaded"] : ["error", "error"], fonts);
    // Shown and playable: the client area laid out, a piece dealt.
    assert.ok(await page.evaluate(() => document.getElementById("client").getBoundingClientRect().width > 0), fonts);
    await page.waitForSelector("html[data-ready]");
    await page.keyboard.press("F2");
    await page.waitForFunction(() => performance.getEntriesByName("nubbo-first-piece").length > 0);
    await context.close();
  }
});
