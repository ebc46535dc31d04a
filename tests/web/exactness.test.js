// The script hook `nubbo.runScript` against the simulator: every committed
// case gives its committed output and status, and seeded random scripts,
// well-formed and malformed, give byte-identical results in the page and in
// the native `nubbo-sim`.
import assert from "node:assert/strict";
import { spawnSync } from "node:child_process";
import { existsSync, readdirSync, readFileSync } from "node:fs";
import { after, before, test } from "node:test";
import { startBrowser } from "./browser.js";
import { randomScript } from "./random_script.js";

const ROOT = new URL("../../", import.meta.url).pathname;
const CASES = `${ROOT}tests/sim/cases/`;
const SIM = process.env.NUBBO_SIM ?? `${ROOT}build/default/sim/nubbo-sim`;

let browser, page, problems;
before(async () => {
  browser = await startBrowser();
  ({ page, problems } = await browser.open());
});
after(() => browser?.close());

// Runs bytes through the page's hook; `out` and `err` come back as bytes.
async function inPage(bytes) {
  const result = await page.evaluate(async (base64) => {
    const bytes = Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
    return globalThis.nubbo.runScript(bytes);
  }, Buffer.from(bytes).toString("base64"));
  return { status: result.status, out: Buffer.from(result.out), err: Buffer.from(result.err) };
}

function native(bytes) {
  const run = spawnSync(SIM, [], { input: bytes, maxBuffer: 1 << 28 });
  assert.equal(run.error, undefined, `cannot run ${SIM}`);
  return { status: run.status, out: run.stdout, err: run.stderr };
}

test("every simulator case gives its committed output and status", async () => {
  const names = readdirSync(CASES).filter((f) => f.endsWith(".sim")).map((f) => f.slice(0, -4));
  assert.ok(names.length > 20, "the simulator's cases are there");
  for (const name of names) {
    const got = await inPage(readFileSync(`${CASES}${name}.sim`));
    const errFile = `${CASES}${name}.err`;
    const failing = existsSync(errFile);
    assert.equal(got.status, failing ? 2 : 0, `${name}: status`);
    assert.equal(got.out.toString(), readFileSync(`${CASES}${name}.out`, "utf8"), `${name}: stdout`);
    assert.equal(got.err.toString(), failing ? readFileSync(errFile, "utf8") : "", `${name}: stderr`);
  }
  // A string runs as its UTF-8 bytes, like the same bytes do.
  const text = "seed 7\nnew\nadvance 1234\nshow\n";
  const asString = await page.evaluate((t) => globalThis.nubbo.runScript(t), text);
  assert.deepEqual({ ...asString, out: Buffer.from(asString.out), err: Buffer.from(asString.err) },
    native(Buffer.from(text)));
});

test("random scripts give the same bytes and status in the page and natively", async () => {
  let malformed = 0;
  for (let seed = 1; seed <= 60; ++seed) {
    const script = randomScript(seed);
    const want = native(script);
    const got = await inPage(script);
    assert.equal(got.status, want.status, `script ${seed}: status`);
    assert.ok(got.out.equals(want.out), `script ${seed}: stdout differs`);
    assert.ok(got.err.equals(want.err), `script ${seed}: stderr differs`);
    if (want.status === 2) {
      malformed += 1;
      assert.match(want.err.toString(), /^error [1-9]\d*: \S.*\n$/, `script ${seed}: the error line`);
    }
  }
  assert.ok(malformed >= 10 && malformed <= 50, `${malformed} of 60 scripts malformed`);
});

test("malformed scripts are refused the same way", async () => {
  const cases = [
    ["frobnicate\n", /^error 1: unknown command 'frobnicate'\n$/],
    ["seed 5\nnew\nadvance -1\n", /^error 3: advance takes 0 to 3600000 ms\n$/],
    ["key 65536\n", /^error 1: /],
    ["seed 18446744073709551616\n", /^error 1: /],
    ["board\n........\n", /^error 1: board needs 13 rows, got 1\n$/],
    ["board\n.......\n", /^error 2: a board row has 8 cells, not 7\n$/],
    [`seed 1\nnew\n${"x".repeat(5000)}\n`, /^error 3: a line longer than 4096 bytes\n$/],
    ["\xff\xfe\n", /^error 1: unknown command '\\xff\\xfe'\n$/],
    ["new 3\n", /^error 1: new takes no argument\n$/],
  ];
  for (const [text, reason] of cases) {
    const bytes = Buffer.from(text, "latin1");
    const got = await inPage(bytes);
    const name = JSON.stringify(text.slice(0, 30));
    assert.equal(got.status, 2, name);
    assert.match(got.err.toString(), reason);
    assert.deepEqual(got, native(bytes), name);
  }
  assert.deepEqual(problems, []);
});
