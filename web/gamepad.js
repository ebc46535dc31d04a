// Gamepads, through the Gamepad API: each press becomes the game key it
// stands for and is handed to the game by the very function keys and touch
// use, or runs the menu command, so the key gate and every rule treat a pad
// as they treat a key. Pads are read once per animation frame, and only
// while one is connected and the page is shown: an idle page asks for no
// frame. A held direction repeats as a held key does, after REPEAT_DELAY
// then every REPEAT_INTERVAL (a page cannot read the desktop's setting).
const LEFT = "left", RIGHT = "right", DOWN = "down", ROTATE = "rotate";
const OTHER = "other";  // a key the game does not use: it resumes a paused game
export const REPEAT_DELAY = 300, REPEAT_INTERVAL = 1000 / 30;
// The stick counts as pushed past half way, and as let go only under 30 %,
// so that a stick resting near the edge does not chatter.
const PUSHED = 0.5, RELEASED = 0.3;
// Buttons of the W3C standard layout, by position.
const SOUTH = 0, BACK = 8, START = 9, PAD_UP = 12, PAD_DOWN = 13, PAD_LEFT = 14, PAD_RIGHT = 15;
const DIRECTIONS = [[LEFT, PAD_LEFT], [RIGHT, PAD_RIGHT], [DOWN, PAD_DOWN]];

// `key(name)` hands a game key to the game, `command(name)` runs a menu
// command; `modal()` says when the help box has the keys.
export function routeGamepads({ key, command, modal }) {
  const pads = new Map();  // index -> what it held at the last read
  let frame = 0;
  // As keys go only to the focused page, pads act only on a page shown and
  // focused: a page that lost the focus (and paused) is not resumed by them.
  const shown = () => !document.hidden && document.hasFocus();
  const connected = () => {
    try {
      return [...(navigator.getGamepads?.() ?? [])].filter((pad) => pad?.connected);
    } catch {
      return [];  // pads forbidden to the page
    }
  };

  const read = (pad, now) => {
    let held = pads.get(pad.index);
    const buttons = pad.buttons.map((b) => b.pressed);
    const [x = 0, y = 0] = pad.axes;
    if (!held) {
      // A pad's first read is its state at rest: nothing it holds is a press.
      held = { buttons, stick: { [LEFT]: x <= -PUSHED, [RIGHT]: x >= PUSHED, [DOWN]: y >= PUSHED }, next: {} };
      for (const [name, button] of DIRECTIONS)
        held.next[name] = held.stick[name] || buttons[button] ? Infinity : undefined;
      pads.set(pad.index, held);
      return;
    }
    const stick = {};
    for (const [name, along] of [[LEFT, -x], [RIGHT, x], [DOWN, y]])
      stick[name] = held.stick[name] ? along >= RELEASED : along >= PUSHED;
    for (const [name, button] of DIRECTIONS) {
      const on = stick[name] || buttons[button];
      if (on && held.next[name] === undefined) {
        key(name);
        held.next[name] = now + REPEAT_DELAY;
      } else if (on && now >= held.next[name]) {
        key(name);
        // From the instant it was due; after a stall, one repeat and no burst.
        held.next[name] += REPEAT_INTERVAL;
        if (held.next[name] <= now) held.next[name] = now + REPEAT_INTERVAL;
      } else if (!on) {
        held.next[name] = undefined;
      }
    }
    buttons.forEach((down, b) => {
      if (!down || held.buttons[b] || [PAD_LEFT, PAD_RIGHT, PAD_DOWN].includes(b)) return;
      if (b === START) command("pause");
      else if (b === BACK) command("new");
      else key(b === SOUTH || b === PAD_UP ? ROTATE : OTHER);
    });
    held.buttons = buttons;
    held.stick = stick;
  };

  const step = (now) => {
    frame = 0;
    const seen = new Set();
    const all = connected();
    for (const pad of all) {
      if (pad.mapping !== "standard") continue;  // its buttons' positions unknown
      seen.add(pad.index);
      if (shown() && !modal()) read(pad, now);
      else pads.delete(pad.index);  // read afresh, with no press, once it counts again
    }
    for (const index of pads.keys()) if (!seen.has(index)) pads.delete(index);
    if (all.length && shown()) frame = requestAnimationFrame(step);
  };
  const start = () => {
    if (!frame && shown()) frame = requestAnimationFrame(step);
  };

  addEventListener("gamepadconnected", start);
  addEventListener("focus", () => { if (connected().length) start(); });
  // A pad pulled out lets go of what it held, even on a hidden page.
  addEventListener("gamepaddisconnected", (event) => pads.delete(event.gamepad?.index));
  document.addEventListener("visibilitychange", () => {
    if (!shown()) {
      cancelAnimationFrame(frame);
      frame = 0;
      pads.clear();
    } else if (connected().length) start();
  });
  if (connected().length) start();
}
