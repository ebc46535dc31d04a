// The game's worker, started while the page is still being read, and the
// game's start, sent the moment the page has been read: the build puts this
// classic script inline at the top of the page's head (web/make_bundle.py),
// so that the worker's start-up, the longest wait before a game can be
// played, overlaps all of the page's own loading. The worker is named with
// the deal, so that it loads the game before the page has sent it anything
// (the browser hands on what the page sends only once the worker's module
// has run); the start then brings the board's canvas. The page's module
// (web/page.js) takes the worker, what it said so far, the deal and the
// start from `nubboBoot`. Where a canvas cannot be handed to a worker there
// is none: the page runs the game's host on its own thread, with the same
// deal and start.
//
// It also keeps the form from being laid out until its fonts are in. Laid
// out sooner (for a first frame, or for an early key press), each text is
// set in fallback faces while its own load, and the page's main thread
// waits on the browser for each face it looks up (Chromium), with the
// worker's start queued behind it (docs/performance.md). The texts would
// not show before their fonts anyway (font-display: block), so nothing
// shows any later for it.
"use strict";
(() => {
  // As long as font-display: block would hide the texts at most.
  const FONT_WAIT_MS = 3000;
  const root = document.documentElement;
  root.classList.add("fonts-loading");  // style.css: the body is not laid out

  // A whole number below 2^53: from `?seed=N` to replay a deal, else at random.
  function dealSeed() {
    const asked = new URLSearchParams(location.search).get("seed");
    if (asked !== null && /^\d{1,15}$/.test(asked)) return Number(asked);
    const words = crypto.getRandomValues(new Uint32Array(2));
    return (words[0] & 0x1fffff) * 2 ** 32 + words[1];
  }

  const seed = dealSeed();
  const worker = HTMLCanvasElement.prototype.transferControlToOffscreen
    ? new Worker(new URL("game_host.js", document.baseURI), { type: "module", name: String(seed) }) : null;
  // `heard`: what the worker told before the page listened, in order.
  const boot = { worker, workerError: null, heard: [], seed, start: null };
  worker?.addEventListener("error", (event) => { boot.workerError = event.message || "its worker could not run"; });
  if (worker) worker.onmessage = ({ data }) => boot.heard.push(data);

  // Once the page is read, before its module runs: the board's canvas, its
  // device pixels per form pixel as fit.css sets them (web/fit.js tells the
  // game of any other) and the 高手 box as it shows.
  document.addEventListener("readystatechange", () => {
    const canvas = document.getElementById("board");
    const ratio = Number(getComputedStyle(document.documentElement).getPropertyValue("--k")) || 1;
    const target = worker ? canvas.transferControlToOffscreen() : canvas;
    boot.start = { canvas: target, ratio, expert: document.getElementById("expertBox").checked };
    worker?.postMessage([{ start: boot.start }], [target]);
  }, { once: true });

  // Once the page is read, its style sheet's faces are known: the form shows
  // when they are in, or have failed, or after the wait, whichever is first
  // (and no timer is left behind to wake a page at rest).
  document.addEventListener("readystatechange", () => {
    let timer = 0;
    const show = () => {
      clearTimeout(timer);
      root.classList.remove("fonts-loading");
    };
    timer = setTimeout(show, FONT_WAIT_MS);
    Promise.allSettled(Array.from(document.fonts, (face) => face.load())).then(show);
  }, { once: true });
  globalThis.nubboBoot = boot;
})();
