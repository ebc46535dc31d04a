// The game's worker and the compiled game, started the moment this small
// module arrives: the page loads it async, so it waits neither for the style
// sheet nor for the page's own module, which takes both from here (the
// worker's start-up is the longest wait before a game can be played). Where
// a canvas cannot be handed to a worker there is none: the page runs the
// game's host on its own thread.
export const worker = HTMLCanvasElement.prototype.transferControlToOffscreen
  ? new Worker(new URL("./game_host.js", import.meta.url), { type: "module" }) : null;
// What went wrong in the worker before the page listened to it.
export let workerError = null;
worker?.addEventListener("error", (event) => { workerError = event.message || "its worker could not run"; });
export const compiled = WebAssembly.compileStreaming(fetch(new URL("./nubbo-game.wasm", import.meta.url)));
compiled.catch(() => {});  // the page hears of a failure when it takes the module
