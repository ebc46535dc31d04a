// Touch on the form: each gesture becomes the game key the keyboard would
// give, handed to the game through the same entry point as a key, so that
// the key gate and every rule treat a finger as they treat a key. A tap on
// the board rotates; a swipe left or right shifts one column; a swipe down
// drops one row for each cell height the finger travels, each row its own
// key press as the finger gets there. The check box and buttons keep their
// own taps.
const TAP = 10;    // CSS pixels a tap may wander
const SWIPE = 20;  // CSS pixels that make a swipe

// `key(name)` hands a game key ("left", "right", "rotate", "down") to the game; `cell()` is a cell's height in
// CSS pixels as the form is scaled now.
export function routeTouch({ area, board, key, cell }) {
  let gesture = null;  // the one finger followed: where it started, and what it did
  const find = (event) => [...event.changedTouches].find((t) => t.identifier === gesture?.id);

  area.addEventListener("touchstart", (event) => {
    if (gesture || event.target.closest("input, button")) return;
    const t = event.changedTouches[0];
    gesture = { id: t.identifier, x: t.clientX, y: t.clientY, kind: null, rows: 0, far: 0, onBoard: event.target === board };
    event.preventDefault();  // no scrolling, zooming or mouse events of the browser's own
  }, { passive: false });

  area.addEventListener("touchmove", (event) => {
    const t = find(event);
    if (!t) return;
    event.preventDefault();
    const dx = t.clientX - gesture.x, dy = t.clientY - gesture.y;
    if (!gesture.kind && Math.abs(dx) >= SWIPE && Math.abs(dx) > Math.abs(dy)) {
      gesture.kind = "side";
      key(dx < 0 ? "left" : "right");
    } else if (!gesture.kind && dy >= SWIPE && dy > Math.abs(dx)) {
      gesture.kind = "down";
    }
    gesture.far = Math.max(gesture.far, Math.hypot(dx, dy));  // past TAP, no tap any more
    if (gesture.kind === "down") {
      for (const rows = 1 + Math.floor((dy - SWIPE) / cell()); gesture.rows < rows; ++gesture.rows) key("down");
    }
  }, { passive: false });

  area.addEventListener("touchend", (event) => {
    const t = find(event);
    if (!t) return;
    event.preventDefault();
    const far = Math.max(gesture.far, Math.hypot(t.clientX - gesture.x, t.clientY - gesture.y));
    if (!gesture.kind && gesture.onBoard && far <= TAP) key("rotate");
    gesture = null;
  }, { passive: false });

  area.addEventListener("touchcancel", (event) => { if (find(event)) gesture = null; });
}
