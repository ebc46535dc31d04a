// The game's worker, started while the page is still being read, and the
// game's start, sent the moment the page has been read: the build puts this
// classic script inline at the top of the page's head (web/make_bundle.py),
// so that the worker's start-up, the longest wait before a game can be
// played, overlaps all of the page's own loading, and the game loads while
// the page's module is still to run. The worker compiles the game from its
// own file; the page's module (web/page.js) takes the worker, what it said
// so far and the start from `nubboBoot`. Where a canvas cannot be handed to
// a worker there is none: the page runs the game's host on its own thread,
// with the same start.
"use strict";
(() => {
  const worker = HTMLCanvasElement.prototype.transferControlToOffscreen
    ? new Worker(new URL("game_host.js", document.baseURI), { type: "module" }) : null;
  // `heard`: what the worker told before the page listened, in order.
  const boot = { worker, workerError: null, heard: [], start: null };
  worker?.addEventListener("error", (event) => { boot.workerError = event.message || "its worker could not run"; });
  if (worker) worker.onmessage = ({ data }) => boot.heard.push(data);

  // A whole number below 2^53: from `?seed=N` to replay a deal, else at random.
  function dealSeed() {
    const asked = new URLSearchParams(location.search).get("seed");
    if (asked !== null && /^\d{1,15}$/.test(asked)) return Number(asked);
    const words = crypto.getRandomValues(new Uint32Array(2));
    return (words[0] & 0x1fffff) * 2 ** 32 + words[1];
  }

  // Once the page is read, before its module runs: the board's canvas, its
  // device pixels per form pixel as fit.css sets them (web/fit.js tells the
  // game of any other), the deal and the 高手 box as it shows.
  document.addEventListener("readystatechange", () => {
    const canvas = document.getElementById("board");
    const ratio = Number(getComputedStyle(document.documentElement).getPropertyValue("--k")) || 1;
    const target = worker ? canvas.transferControlToOffscreen() : canvas;
    boot.start = { canvas: target, ratio, seed: dealSeed(), expert: document.getElementById("expertBox").checked };
    worker?.postMessage([{ start: boot.start }], [target]);
  }, { once: true });
  globalThis.nubboBoot = boot;
})();
