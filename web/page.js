// The page's front end: it hands the game's host (web/game_host.js) the
// board's canvas, the keys, the menu commands and focus changes, and shows
// what the host tells it. No rule of the game lives here.
import { fitForm } from "./fit.js";
import { routeGamepads } from "./gamepad.js";
import { routeKeys } from "./keys.js";
import { setUpHelp, setUpMenu } from "./menu.js";
import { routeTouch } from "./touch.js";

// The script hook and the service worker are no part of a first game: their
// modules load when first wanted, off the way to a playable page.
globalThis.nubbo = { runScript: async (text) => (await import("./script.js")).runScript(text) };

const $ = (id) => document.getElementById(id);

// The game's host (web/game_host.js): a worker, which draws the board on
// the canvas handed over to it, where the browser can hand one over; else
// the same host on this thread. `show(name, value)` hears what it tells.
// Returns what posts it a list of messages. The worker was started, and
// the game's start sent to it, by web/boot.js, inline at the top of the
// page; what the worker told before this module ran is heard first.
async function startHost(show, boot) {
  const { worker } = boot;
  if (worker) {
    for (const [name, value] of boot.heard.splice(0)) show(name, value);
    worker.onmessage = ({ data: [name, value] }) => show(name, value);
    worker.onerror = (event) => show("failed", event.message || "its worker could not run");
    if (boot.workerError) show("failed", boot.workerError);
    return (messages) => worker.postMessage(messages);
  }
  const { hostGame } = await import("./game_host.js");
  const receive = hostGame(show, boot.seed);
  receive([{ start: boot.start }]);
  return (messages) => receive(messages);
}

// A caption made of Latin letters only ("PAUSE") is English; one in Chinese
// characters ("按F2", " 3連扁") is the page's own language.
const languageOf = (text) => (/[\u3400-\u9fff]/.test(text) ? "zh-Hant" : "en");

// Connects the game's host (web/boot.js started it and gave it the board's
// canvas): keeps it told of the device pixels and shows what it tells.
// Returns `send`, which sends the game one message (what is sent before
// the host is connected waits and follows), `sendAlone`, the same for a
// task's only message, and `loaded`, which settles when the game has loaded.
function connectHost(page) {
  const boot = globalThis.nubboBoot;
  if (!boot?.start) throw new Error("its start-up script did not run");
  // What one task of the page sends reaches the game as one message, so
  // that keys pressed at once (a quick swipe's rows) reach it at one
  // instant, as they would on this thread. A key press, its task's only
  // message, goes at once with no microtask: keys are most of what playing
  // costs this thread.
  let post = null;
  let batch = [];
  const flush = () => {
    if (batch.length) post(batch);
    batch = [];
  };
  const send = (message) => {
    if (!batch.length && post) queueMicrotask(flush);
    batch.push(message);
  };
  const sendAlone = (message) => {
    batch.push(message);
    if (post) flush();
  };
  // Device pixels per pixel of the unscaled form, as the host last heard.
  let told = boot.start.ratio;
  fitForm({
    bar: $("touchbar"),
    onFit(fitted, scaled) {
      page.scale = scaled;
      if (fitted !== told) send({ ratio: (told = fitted) });
    },
  });
  let ready, failed;
  const loaded = new Promise((resolve, reject) => { ready = resolve; failed = reject; });

  // What the game shows beside the board, as its host tells it.
  const shows = {
    showGameOver: (visible) => { $("gameOverLabel").hidden = !visible; },
    showBanner: (visible) => { $("banner").hidden = !visible; },
    setBannerCaption: (text) => {
      $("banner").textContent = text;
      $("banner").lang = languageOf(text);
    },
    setScore: (text) => { $("scoreBox").textContent = text; },
    setLevel: (text) => { $("levelBox").textContent = text; },
    setGameUnderWay(on) {
      if (on && !performance.getEntriesByName("nubbo-first-piece").length)
        performance.mark("nubbo-first-piece");  // for the benchmarks: when the page is playable
      page.underWay = on;
    },
    endProgram,
    ready,
    failed: (message) => failed(new Error(message)),
  };
  const show = (name, value) => { if (Object.hasOwn(shows, name)) shows[name](value); };

  // A page cannot close its tab: Exit stops the game and says how to start
  // again, which reloads the page.
  function endProgram() {
    page.ended = true;
    page.closeMenu();
    $("ended").hidden = false;
    $("again").addEventListener("click", again);
  }

  async function begin() {
    post = await startHost(show, boot);
    flush();
  }
  return { send, sendAlone, loaded: begin().then(() => loaded) };
}

const again = () => location.reload();

// Wires the page's controls to the game: the 高手 box, the help box, the
// menu, the keys, touch, gamepads and focus changes, from the first instant
// the page runs: what comes while the game loads waits for it.
function wireControls(page, { send, sendAlone }) {
  const expert = $("expertBox");
  expert.addEventListener("change", () => send({ expert: expert.checked }));
  const help = setUpHelp({
    onOpen: () => send({ command: "openHelp" }),
    onClose: () => { if (!page.ended) send({ command: "closeHelp" }); },
  });
  // Once the program has ended, only New does anything: it starts again.
  const command = (name) => {
    if (page.ended) { if (name === "new") again(); }
    else if (name === "help") help.open();
    else send({ command: name });
  };
  const menu = setUpMenu({ command });
  // A keyboard's key is its task's only message; a swipe or a pad may bring several.
  const key = (name, via = send) => { if (!page.ended) via({ key: name }); };
  routeKeys({ command, key: (name) => key(name, sendAlone), modal: () => help.isOpen() });
  // A finger's gestures take the keys' own way in (the help box is modal,
  // so no touch reaches the form while it is open).
  routeTouch({
    area: $("client"), board: $("board"), cell: () => 32 * page.scale,
    key: (name) => { if (!help.isOpen()) key(name); },
  });
  // So do a gamepad's presses, and its Start and Back run Pause and New.
  routeGamepads({ key, command, modal: () => help.isOpen() });
  page.closeMenu = menu.close;
  // A game under way pauses when the page is hidden or loses the focus.
  const focusLost = () => { if (!page.ended && !help.isOpen()) send({ command: "focusLost" }); };
  addEventListener("blur", focusLost);
  document.addEventListener("visibilitychange", () => { if (document.hidden) focusLost(); });
}

async function start() {
  // What the game's host and the controls share.
  const page = {
    underWay: false,  // the host says a game is being played
    ended: false,
    closeMenu: () => {},
    scale: 1,  // the form's scale on the screen
  };
  const { loaded, ...senders } = connectHost(page);
  wireControls(page, senders);
  await loaded;
  import("./offline.js").then(({ workOffline }) => workOffline({ playing: () => page.underWay }));
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
