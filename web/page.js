// The page's front end: it implements what the game core needs of its
// window and clock, and hands it keys, menu commands and focus changes.
// No rule of the game lives here.
import createGame from "./nubbo-game.js";
import { drawBoard, loadPictures } from "./board.js";
import { fitForm } from "./fit.js";
import { routeGamepads } from "./gamepad.js";
import { routeKeys } from "./keys.js";
import { setUpHelp, setUpMenu } from "./menu.js";
import { routeTouch } from "./touch.js";

// The script hook and the service worker are no part of a first game: their
// modules load when first wanted, off the way to a playable page.
globalThis.nubbo = { runScript: async (text) => (await import("./script.js")).runScript(text) };

const $ = (id) => document.getElementById(id);

// A whole number below 2^53: from `?seed=N` to replay a deal, else at random.
function dealSeed() {
  const asked = new URLSearchParams(location.search).get("seed");
  if (asked !== null && /^\d{1,15}$/.test(asked)) return Number(asked);
  const words = crypto.getRandomValues(new Uint32Array(2));
  return (words[0] & 0x1fffff) * 2 ** 32 + words[1];
}

async function start() {
  let board = null;
  let pixels = 1;  // device pixels per pixel of the unscaled form
  let scale = 1;
  fitForm({
    bar: $("touchbar"),
    onFit(fitted, scaled) {
      pixels = fitted;
      scale = scaled;
      board?.setRatio(pixels);
    },
  });
  let game = null;
  let underWay = false;  // the core says a game is being played
  let timer = 0;
  let ended = false;
  let closeMenu = () => {};

  // The window and the clock, as the core sees them.
  const page = {
    paintCell: (row, col, picture) => board.paintCell(row, col, picture),
    showGameOver: (visible) => { $("gameOverLabel").hidden = !visible; },
    showBanner: (visible) => { $("banner").hidden = !visible; },
    setBannerCaption: (text) => { $("banner").textContent = text; },
    setScore: (text) => { $("scoreBox").textContent = text; },
    setLevel: (text) => { $("levelBox").textContent = text; },
    setGameUnderWay(on) {
      if (on && !performance.getEntriesByName("nubbo-first-piece").length)
        performance.mark("nubbo-first-piece");  // for the benchmarks: when the page is playable
      underWay = on;
    },
    expertTicked: () => $("expertBox").checked,
    endProgram,
    // One timeout for the single wake-up the core asks for; none when idle.
    wakeIn(ms) {
      clearTimeout(timer);
      timer = 0;
      if (ms >= 0 && !ended) timer = setTimeout(() => { timer = 0; game._nubbo_wake(); }, Math.ceil(ms));
    },
  };

  // A page cannot close its tab: Exit stops every timer and says how to
  // start again, which reloads the page.
  const again = () => location.reload();
  function endProgram() {
    ended = true;
    clearTimeout(timer);
    timer = 0;
    closeMenu();
    $("ended").hidden = false;
    $("again").addEventListener("click", again);
  }

  // The module compiles while the pictures and fonts load.
  let pictures;
  [pictures, game] = await Promise.all([loadPictures(), createGame({ page }),
    document.fonts.load("80px 'Nubbo Kai'"), document.fonts.load("48px 'Nubbo Sans'")]);
  board = drawBoard($("board"), pictures, pixels);
  game._nubbo_start(dealSeed());

  // The controls reach the game only once it is there.
  const help = setUpHelp({
    onOpen: () => game._nubbo_open_help(),
    onClose: () => { if (!ended) game._nubbo_close_help(); },
  });
  const commands = {
    new: () => game._nubbo_new(),
    pause: () => game._nubbo_pause(),
    exit: () => game._nubbo_exit(),
    help: () => help.open(),
  };
  // Once the program has ended, only New does anything: it starts again.
  const command = (name) => {
    if (!ended) commands[name]();
    else if (name === "new") again();
  };
  const menu = setUpMenu({ command });
  const keys = {
    left: game._nubbo_key_left, right: game._nubbo_key_right, rotate: game._nubbo_key_rotate,
    down: game._nubbo_key_down, other: game._nubbo_key_other,
  };
  const key = (name) => { if (!ended) (keys[name] ?? keys.other)(); };
  routeKeys({ command, key, modal: () => help.isOpen() });
  // A finger's gestures take the keys' own way in (the help box is modal,
  // so no touch reaches the form while it is open).
  routeTouch({
    area: $("client"), board: $("board"), cell: () => 32 * scale,
    key: (name) => { if (!help.isOpen()) key(name); },
  });
  // So do a gamepad's presses, and its Start and Back run Pause and New.
  routeGamepads({ key, command, modal: () => help.isOpen() });
  closeMenu = menu.close;
  // A falling piece pauses when the page is hidden or loses the focus.
  const focusLost = () => { if (!ended && !help.isOpen()) game._nubbo_focus_lost(); };
  addEventListener("blur", focusLost);
  document.addEventListener("visibilitychange", () => { if (document.hidden) focusLost(); });
  import("./offline.js").then(({ workOffline }) => workOffline({ playing: () => underWay }));
  document.documentElement.dataset.ready = "";  // for tests: the game is loaded
  performance.mark("nubbo-ready");  // and for the benchmarks
}

// A page that cannot start (no WebAssembly, a file missing) says so on the form.
start().catch((error) => {
  console.error(error);
  $("ended").hidden = false;
  $("ended").replaceChildren(Object.assign(document.createElement("p"), {
    textContent: `The game could not start: ${error.message ?? error}`,
  }));
});
