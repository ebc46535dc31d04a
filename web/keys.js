// Key preview: every key press on the page goes to the game first, whatever
// has the focus, and no control acts on it. F2, F3 and F4 are the menu's
// shortcuts and are kept from the browser (find-next and the like).
const SHORTCUTS = { F2: "new", F3: "pause", F4: "exit" };
// Left to the browser as well as passed to the game: reload, full screen
// and the developer tools, and anything with Ctrl, Alt or Meta held.
const BROWSER_KEYS = new Set(["F5", "F11", "F12"]);

// The game's key for a key press: the arrows and the space bar (also on the
// keypad and with modifiers held), every other key "other".
const GAME_KEYS = { ArrowLeft: "left", ArrowRight: "right", " ": "rotate", ArrowDown: "down" };
export const gameKey = (event) => GAME_KEYS[event.key] ?? "other";

// `command(name)` runs a menu command; `key(name)` hands a game key to the game;
// `modal()` says when a box of the page's own has the keys (the help box):
// the shortcuts then do nothing, and are still kept from the browser.
export function routeKeys({ command, key, modal }) {
  const onKeyDown = (event) => {
    const plain = !event.ctrlKey && !event.altKey && !event.metaKey;
    const shortcut = plain && !event.shiftKey ? SHORTCUTS[event.key] : undefined;
    if (shortcut) {
      event.preventDefault();
      event.stopPropagation();
      if (!modal()) command(shortcut);
      return;
    }
    if (modal()) return;
    if (plain && !BROWSER_KEYS.has(event.key)) {
      event.preventDefault();
      event.stopPropagation();
    }
    key(gameKey(event));
  };
  addEventListener("keydown", onKeyDown, { capture: true });
}
