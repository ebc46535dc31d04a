// The game's worker, started while the page is still being read: the build
// puts this classic script inline at the top of the page's head
// (web/make_bundle.py), so that the worker's start-up, the longest wait
// before a game can be played, overlaps all of the page's own loading. The
// worker compiles the game from its own file; the page's module
// (web/page.js) takes the worker from `nubboBoot` and hands it the canvas.
// Where a canvas cannot be handed to a worker there is none: the page runs
// the game's host on its own thread.
"use strict";
(() => {
  const worker = HTMLCanvasElement.prototype.transferControlToOffscreen
    ? new Worker(new URL("game_host.js", document.baseURI), { type: "module" }) : null;
  const boot = { worker, workerError: null };
  // What went wrong in the worker before the page listened to it.
  worker?.addEventListener("error", (event) => { boot.workerError = event.message || "its worker could not run"; });
  globalThis.nubboBoot = boot;
})();
