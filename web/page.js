// The page's front end: it implements what the game core needs of its
// window and clock, and hands it keys, menu commands and focus changes.
// No rule of the game lives here.
import createGame from "./nubbo-game.js";
import { Board, loadPictures } from "./board.js";
import { routeKeys } from "./keys.js";
import { setUpHelp, setUpMenu } from "./menu.js";
import { runScript } from "./script.js";

globalThis.nubbo = { runScript };

const $ = (id) => document.getElementById(id);

// A whole number below 2^53: from `?seed=N` to replay a deal, else at random.
function dealSeed() {
  const asked = new URLSearchParams(location.search).get("seed");
  if (asked !== null && /^\d{1,15}$/.test(asked)) return Number(asked);
  const words = crypto.getRandomValues(new Uint32Array(2));
  return (words[0] & 0x1fffff) * 2 ** 32 + words[1];
}

// Centres the form with the board on whole CSS and device pixels, so that
// the canvas is not resampled at any device pixel ratio: its position is a
// multiple of the fewest CSS pixels that make whole device pixels (2 at a
// ratio of 1.5, for example).
function placeForm() {
  const ratio = devicePixelRatio || 1;
  let step = 1;
  while (step < 8 && Math.abs(step * ratio - Math.round(step * ratio)) > 1e-6) ++step;
  const snap = (css) => Math.round(css / step) * step;
  const boardLeft = 13, boardTop = 19 + 67;  // inside the form: menu bar, then client area
  const form = $("form");
  form.style.marginLeft = `${Math.max(0, snap((innerWidth - 289) / 2 + boardLeft) - boardLeft)}px`;
  form.style.marginTop = `${snap(32 + boardTop) - boardTop}px`;
}

async function start() {
  placeForm();
  addEventListener("resize", placeForm);
  const [pictures] = await Promise.all([loadPictures(), document.fonts.load("80px 'Nubbo Kai'"),
    document.fonts.load("48px 'Nubbo Sans'")]);
  const board = new Board($("board"), pictures);
  let game = null;
  let timer = 0;
  let ended = false;
  let closeMenu = () => {};

  // The window and the clock, as the core sees them.
  const page = {
    paintCell: (row, col, picture) => board.paintCell(row, col, picture),
    showLabel: (label, visible) => { $(label === 1 ? "label1" : "label2").hidden = !visible; },
    setCaption: (text) => { $("label2").textContent = text; },
    setText: (box, text) => { $(box === 1 ? "text1" : "text4").textContent = text; },
    check1: () => $("check1").checked,
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

  game = await createGame({ page });
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
  routeKeys({
    command,
    key: (code) => { if (!ended) game._nubbo_key(code); },
    modal: () => help.isOpen(),
  });
  closeMenu = menu.close;
  // A falling piece pauses when the page is hidden or loses the focus.
  const focusLost = () => { if (!ended && !help.isOpen()) game._nubbo_focus_lost(); };
  addEventListener("blur", focusLost);
  document.addEventListener("visibilitychange", () => { if (document.hidden) focusLost(); });
  document.documentElement.dataset.ready = "";  // for tests: the game is loaded
}

// A page that cannot start (no WebAssembly, a file missing) says so on the form.
start().catch((error) => {
  console.error(error);
  $("ended").hidden = false;
  $("ended").replaceChildren(Object.assign(document.createElement("p"), {
    textContent: `The game could not start: ${error.message ?? error}`,
  }));
});
