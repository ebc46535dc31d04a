// The page's own Content-Security-Policy: the game loads and plays under it
// with nothing refused, and the same policy, on a probe page of the site,
// really refuses what it must (so a typo in it cannot pass for a policy).
import assert from "node:assert/strict";
import { createHash } from "node:crypto";
import { readFileSync } from "node:fs";
import { after, before, test } from "node:test";
import { setTimeout as sleep } from "node:timers/promises";
import { SITE, startBrowser } from "./browser.js";

let browser;
before(async () => { browser = await startBrowser(); });
after(() => browser?.close());

const PAGE = readFileSync(`${SITE}/index.html`, "utf8");
const POLICY = PAGE.match(/<meta http-equiv="Content-Security-Policy" content="([^"]+)">/)?.[1];

// The page carries its style sheet and its start-up script inside it; the
// policy allows exactly those two blocks, each by the hash of its text as it
// stands, and nothing else inline: a hash gone stale (a block changed after
// the policy was written, or a block dropped with its hash kept) fails here
// before it can ship.
test("the policy allows the page's inline style sheet and start-up script by their hashes, and nothing else inline", () => {
  const hashes = (directive) => POLICY.split(";").map((d) => d.trim().split(/\s+/))
    .find(([name]) => name === directive)?.filter((source) => source.startsWith("'sha")).sort() ?? [];
  const blocks = [...PAGE.matchAll(/<(script|style)(\s[^>]*)?>([^]*?)<\/\1>/g)]
    .filter(([, , attributes]) => !/\ssrc=/.test(attributes ?? ""));
  assert.deepEqual(blocks.map(([, tag, attributes]) => [tag, attributes ?? ""]), [["script", ""], ["style", ""]],
    "one classic script and one style sheet inline, in that order");
  const hashOf = (text) => `'sha256-${createHash("sha256").update(text, "utf8").digest("base64")}'`;
  assert.deepEqual({ script: hashes("script-src"), style: hashes("style-src") },
    Object.fromEntries(blocks.map(([, tag, , text]) => [tag, [hashOf(text)]])));
  assert.doesNotMatch(POLICY, /'unsafe-inline'|'unsafe-eval'|'unsafe-hashes'|-src-elem|-src-attr|data:/);
});

test("the game loads, plays, pauses, helps, runs a script and exits with nothing refused", async () => {
  assert.ok(POLICY, "index.html sets a policy");
  // The local server sends the headers a host should.
  const { headers } = await fetch(browser.url);
  assert.deepEqual([headers.get("x-content-type-options"), headers.get("referrer-policy")], ["nosniff", "no-referrer"]);
  // The harness reports every refusal as a problem.
  const { page, problems } = await browser.open();
  await page.keyboard.press("F2");
  for (const key of ["ArrowLeft", "Space", "ArrowDown", "F3", "KeyA"]) {
    await page.keyboard.press(key);
    await sleep(40);
  }
  await page.click("#menu-help");
  await page.click("#help button");
  assert.equal((await page.evaluate(() => globalThis.nubbo.runScript("new\n"))).status, 0);
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
  await page.keyboard.press("F4");
  await sleep(100);
  assert.deepEqual(problems, []);
  await page.close();
});

// What a probe page tries, and the directive that must refuse it. The page
// is the site's (same origin), under the site's policy; "elsewhere" is the
// same server under another name, so another origin.
const PROBES = [
  ["an inline script", "<script>ran.push('inline script')</script>", "script-src-elem"],
  ["an event handler attribute", "<img src='tiles/none.png' onerror=\"ran.push('handler')\">", "script-src-attr"],
  ["a script from elsewhere", "<script src='ELSEWHERE/probe.js'></script>", "script-src-elem"],
  ["eval", "", "script-src"],
  ["a style attribute", "<p id='styled' style='color: rgb(1, 2, 3)'>text</p>", "style-src-attr"],
  ["an inline style sheet", "<style>p { color: rgb(1, 2, 3) }</style>", "style-src-elem"],
  ["a picture from elsewhere", "<img src='ELSEWHERE/tiles/tile0.png'>", "img-src"],
  ["a fetch from elsewhere", "", "connect-src"],
  ["a plug-in", "<object data='tiles/tile0.png' type='image/png'></object>", "object-src"],
  ["a base address", "<base href='ELSEWHERE/'>", "base-uri"],
];
// The site's own script runs, and may compile WebAssembly; it tries eval
// and a fetch from elsewhere.
const SITE_SCRIPT = `
ran.push("site script");
try { eval("ran.push('eval')"); } catch {}
fetch("ELSEWHERE/index.html").catch(() => {});
WebAssembly.compile(new Uint8Array([0, 97, 115, 109, 1, 0, 0, 0])).then(() => ran.push("wasm"));`;

test("the same policy on a probe page refuses inline script and style and anything from elsewhere", async () => {
  assert.ok(POLICY, "index.html sets a policy");
  const elsewhere = browser.url.replace("127.0.0.1", "localhost").slice(0, -1);
  const html = `<!doctype html><html lang="en"><head><meta charset="utf-8">
<meta http-equiv="Content-Security-Policy" content="${POLICY}"><title>probe</title>
${PROBES.map(([, markup]) => markup).join("\n")}
<script src="probe.js"></script></head><body></body></html>`.replaceAll("ELSEWHERE", elsewhere);
  // A context of its own: no service worker of the site's answers for it.
  const blank = await browser.blank();
  const context = await blank.browser().createBrowserContext();
  await blank.close();
  const page = await context.newPage();
  await page.setRequestInterception(true);
  page.on("request", (request) => {
    const path = new URL(request.url()).pathname;
    if (path === "/probe.html") request.respond({ contentType: "text/html", body: html });
    else if (path === "/probe.js") request.respond({ contentType: "text/javascript", body: SITE_SCRIPT.replaceAll("ELSEWHERE", elsewhere) });
    else request.continue();
  });
  await page.evaluateOnNewDocument(() => {
    globalThis.ran = [];
    globalThis.refused = [];
    document.addEventListener("securitypolicyviolation", (e) => refused.push(e.violatedDirective), { capture: true });
  });
  await page.goto(`${browser.url}probe.html`, { waitUntil: "load" });
  await sleep(300);
  const seen = await page.evaluate(() => ({
    ran: globalThis.ran.sort(), refused: [...new Set(globalThis.refused)].sort(),
    colour: getComputedStyle(document.getElementById("styled") ?? document.body).color,
  }));
  assert.deepEqual(seen.ran, ["site script", "wasm"], "only the site's script ran, WebAssembly allowed");
  assert.deepEqual(seen.refused, [...new Set(PROBES.map(([, , directive]) => directive))].sort(),
    PROBES.map(([what, , directive]) => `${what}: ${directive}`).join("\n"));
  assert.notEqual(seen.colour, "rgb(1, 2, 3)", "no inline style applied");
  await context.close();
});
