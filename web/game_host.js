// The game and its board, run off the page's main thread: the page starts
// this module as a worker, hands it the board's canvas, and sends it the
// player's keys and commands; the game's clock and every cell's drawing
// stay here, and the page hears only of what it shows itself (the texts,
// the two labels, a game under way, the end). A key then costs the page's
// main thread one message, and a fall step nothing at all. Where a canvas
// cannot be handed to a worker, the page runs the same host on its own
// thread (`hostGame`).
//
// The game's WebAssembly comes inside this module (game_wasm.js), and the
// game is compiled, instantiated and loaded the moment the module runs,
// from the deal the page names the worker by, before the page has sent
// anything: the worker waits for no other file, and the page's start,
// which the browser hands on only once this module has run, finds the game
// ready for the board's canvas and the player's first key.
//
// The page's messages, in order, a list of them at a time (what one task
// of the page sent):
//   { start: { canvas, ratio, expert } }  once, first (web/boot.js)
//   { ratio }    the board's device pixels per form pixel changed
//   { key }      "left", "right", "rotate", "down" or "other"
//   { command }  "new", "pause", "exit", "focusLost", "openHelp", "closeHelp"
//   { expert }   the 高手 box was ticked or cleared
// The host's, as `tell(name, value)`: the window interface's own names
// (showGameOver, showBanner, setBannerCaption, setScore, setLevel,
// setGameUnderWay, endProgram), "ready" once the game is loaded, and
// "failed" with a message if it cannot start.
import createGame from "./nubbo-game.js";
import { Board, fromBase64, loadPictures } from "./board.js";
import { GAME_WASM } from "./game_wasm.js";

const IN_WORKER = typeof WorkerGlobalScope !== "undefined" && globalThis instanceof WorkerGlobalScope;

// The game, dealing from `seed`, hosted: its messages go out through `tell`;
// returns what takes the page's messages.
export function hostGame(tell, seed) {
  const board = new Board();  // what the game paints before the canvas comes is kept
  let game = null;
  let expert = false;  // the page's check box, as last heard: the core is told it at New
  let ended = false;
  let timer = 0;
  // The game's entry points by the names the page sends: any other key is
  // "other", any other command nothing.
  let keys = new Map();
  let commands = new Map();

  // The window and the clock, as the core sees them.
  const window = {
    paintCell: (row, col, picture) => board.paintCell(row, col, picture),
    showGameOver: (visible) => tell("showGameOver", visible),
    showBanner: (visible) => tell("showBanner", visible),
    setBannerCaption: (text) => tell("setBannerCaption", text),
    setScore: (text) => tell("setScore", text),
    setLevel: (text) => tell("setLevel", text),
    setGameUnderWay(on) {
      // For the benchmarks: the first game's piece is on the board now (the
      // core paints the cells before it tells this), drawn on the host's
      // own thread, before the page hears of it.
      if (on && !performance.getEntriesByName("nubbo-piece-drawn").length) performance.mark("nubbo-piece-drawn");
      tell("setGameUnderWay", on);
    },
    endProgram() {
      ended = true;
      clearTimeout(timer);
      timer = 0;
      tell("endProgram");
    },
    // One timeout for the single wake-up the core asks for; none when idle.
    wakeIn(ms) {
      clearTimeout(timer);
      timer = 0;
      if (ms >= 0 && !ended) timer = setTimeout(() => { timer = 0; game._nubbo_wake(); }, Math.ceil(ms));
    },
  };

  // The game compiles, instantiates and loads, and the pictures decode,
  // while the page is still loading. In the worker the compile is done at
  // once on its own thread, once the pictures' decoders have started: a
  // compile handed to other threads, waited for, took longer on a busy
  // machine than the compile itself (some 15 ms more to a playable game on
  // a first visit).
  // On a page's main thread a browser may refuse so large a synchronous
  // compile; there it stays asynchronous.
  const bytes = fromBase64(GAME_WASM);
  const compiled = IN_WORKER ? Promise.resolve().then(() => new WebAssembly.Module(bytes))
    : WebAssembly.compile(bytes);
  const loaded = compiled.then((module) => createGame({
    page: window,
    instantiateWasm: (imports, done) => {
      if (IN_WORKER) done(new WebAssembly.Instance(module, imports), module);
      else WebAssembly.instantiate(module, imports).then((instance) => done(instance, module), fail);
      return {};
    },
  })).then((instance) => {
    game = instance;
    keys = new Map([["left", game._nubbo_key_left], ["right", game._nubbo_key_right],
      ["rotate", game._nubbo_key_rotate], ["down", game._nubbo_key_down]]);
    commands = new Map([["new", () => game._nubbo_new(expert ? 1 : 0)], ["pause", game._nubbo_pause], ["exit", game._nubbo_exit],
      ["focusLost", game._nubbo_focus_lost], ["openHelp", game._nubbo_open_help],
      ["closeHelp", game._nubbo_close_help]]);
    if (!Number.isSafeInteger(seed) || seed < 0) throw new Error(`no deal to start from: ${seed}`);
    // The 高手 box shows unticked when the page is read: it keeps no state
    // from one visit to the next.
    game._nubbo_start(seed, 0);
  });
  loaded.catch(() => {});  // the start hears of a failure
  const pictures = loadPictures();

  // The board shows on the page's canvas once the game has loaded.
  async function start({ canvas, ratio, expert: ticked }) {
    expert = ticked === true;
    const [, decoded] = await Promise.all([loaded, pictures]);
    board.show(canvas, decoded, ratio);
    globalThis.board = board;  // where the browser tests read the board's pixels
    tell("ready");
  }

  function handle(message) {
    if ("ratio" in message) board.setRatio(message.ratio);
    if ("expert" in message) expert = message.expert === true;
    // Once the program has ended, the game takes nothing more.
    if (ended) return;
    if ("key" in message) (keys.get(message.key) ?? game._nubbo_key_other)();
    if ("command" in message) commands.get(message.command)?.();
  }

  // Messages that come while the game loads wait for it, in order. A game
  // that failed (to start, or since) takes nothing more.
  let loading = null;
  let failed = false;
  const fail = (error) => {
    failed = true;
    tell("failed", String(error?.message ?? error));
  };
  return (messages) => {
    for (const message of Array.isArray(messages) ? messages : []) {
      if (!message || typeof message !== "object") continue;
      if (message.start) loading ??= start(message.start).catch(fail);
      else if (loading) loading = loading.then(() => { if (!failed) handle(message); }).catch(fail);
    }
  };
}

// Run as the page's worker, named by the page with the deal (web/boot.js):
// the page's messages in, the host's out as [name, value].
if (IN_WORKER) {
  const receive = hostGame((name, value) => postMessage([name, value]), globalThis.name ? Number(globalThis.name) : NaN);
  globalThis.onmessage = ({ data }) => receive(data);
}
