// The game's worker and the compiled game, started while the page is still
// being read: the build puts this classic script inline at the top of the
// page's head (web/make_bundle.py), so it runs before anything else is
// fetched, and the worker's start-up and the module's compile, the longest
// waits before a game can be played, overlap the page's own loading. The
// compiled module goes to the worker the moment it is ready, so that the
// game is instantiated there before the page's module has even run; the
// page's module (web/page.js) takes the worker from `nubboBoot` and hands it
// the canvas. Where a canvas cannot be handed to a worker there is none: the
// page runs the game's host on its own thread, on the same module.
"use strict";
(() => {
  const worker = HTMLCanvasElement.prototype.transferControlToOffscreen
    ? new Worker(new URL("game_host.js", document.baseURI), { type: "module" }) : null;
  const boot = { worker, compiled: null, workerError: null };
  // What went wrong in the worker before the page listened to it.
  worker?.addEventListener("error", (event) => { boot.workerError = event.message || "its worker could not run"; });
  boot.compiled = WebAssembly.compileStreaming(fetch(new URL("nubbo-game.wasm", document.baseURI)));
  boot.compiled.then((module) => worker?.postMessage([{ module }]), () => {});  // the page hears of a failure
  globalThis.nubboBoot = boot;
})();
