// Fits the form to the window: the largest scale at which the whole form
// (and, on a touch screen, the New and Pause buttons under it or, when that
// leaves the form larger, beside it) shows without
// scrolling, where each picture pixel is a whole square of device pixels so
// that the tiles stay crisp. Placed on whole device pixels, so that the
// canvas is never resampled; fitted again when the window or the screen
// changes (a phone turned, a window resized, moved to another screen).
import { FORM } from "./form.js";

const FORM_WIDTH = FORM.client.width;
const FORM_HEIGHT = FORM.menuBar + FORM.client.height;
const EDGE = 2;  // CSS pixels kept free around the form, at the least
const TOP = 32;  // above the form, when the window has room for it
const BAR = 56;  // the touch buttons under the form, with their gap
const SIDE = 96;  // the touch buttons beside the form, with their gap

// The form's scale: k / ratio for the largest whole k (device pixels per
// picture pixel) at which a `FORM_WIDTH` x `FORM_HEIGHT` form fits in
// `width` x `height` CSS pixels; k is 1 at the least.
export function formScale(width, height, ratio) {
  let k = 1;
  while ((FORM_WIDTH * (k + 1)) / ratio <= width && (FORM_HEIGHT * (k + 1)) / ratio <= height) ++k;
  return k / ratio;
}

// A touch screen is one whose pointer is coarse, or that has touch points.
export const touchScreen = () => matchMedia("(any-pointer: coarse)").matches || navigator.maxTouchPoints > 0;

// Lays out `stage` (holding `form`) and `bar` now and on every change, and
// tells `onFit(devicePixelsPerFormPixel, scale)`.
export function fitForm({ stage, form, bar, onFit }) {
  const layout = () => {
    const ratio = devicePixelRatio || 1;
    const touch = touchScreen();
    bar.hidden = !touch;
    const under = formScale(innerWidth - 2 * EDGE, innerHeight - 2 * EDGE - (touch ? BAR : 0), ratio);
    const beside = touch ? formScale(innerWidth - 2 * EDGE - SIDE, innerHeight - 2 * EDGE, ratio) : 0;
    const side = beside > under;
    const scale = side ? beside : under;
    bar.classList.toggle("beside", side);
    form.style.transform = scale === 1 ? "" : `scale(${scale})`;
    const width = FORM_WIDTH * scale, height = FORM_HEIGHT * scale;
    stage.style.width = `${width}px`;
    stage.style.height = `${height}px`;
    bar.style.width = side ? "" : `${width}px`;
    // The fewest CSS pixels that make whole device pixels (2 at a ratio of
    // 1.5, for example): the form's corner lies on a multiple of them.
    let step = 1;
    while (step < 8 && Math.abs(step * ratio - Math.round(step * ratio)) > 1e-6) ++step;
    const snap = (css) => Math.max(0, Math.floor(css / step) * step);
    const left = snap((innerWidth - width - (side ? SIDE : 0)) / 2);
    const top = snap(Math.min(TOP, (innerHeight - height - (touch && !side ? BAR : 0)) / 2));
    stage.style.marginLeft = `${left}px`;
    stage.style.marginTop = `${top}px`;
    bar.style.marginLeft = side ? "" : `${left}px`;
    bar.style.left = side ? `${left + width + 8}px` : "";
    bar.style.top = side ? `${top}px` : "";
    onFit(Math.round(ratio * scale), scale);  // a whole number by the choice of scale
  };
  layout();
  addEventListener("resize", layout);
  // A change of the device pixel ratio alone (another screen, browser zoom)
  // need not resize the window.
  const watchRatio = () => matchMedia(`(resolution: ${devicePixelRatio}dppx)`)
    .addEventListener("change", () => { layout(); watchRatio(); }, { once: true });
  watchRatio();
}
