// The form's fit to the window: the largest scale at which the whole form
// (and, on a touch screen, the New and Pause buttons under it or, when that
// leaves the form larger, beside it) shows without scrolling, where each
// picture pixel is a whole square of device pixels so that the tiles stay
// crisp, placed on whole device pixels so that the canvas is never
// resampled. fit.css (made by web/make_fit.py) lays it out before the first
// paint with no script, for the device pixel ratios it lists; this module
// supplies the same figures for any other ratio, shows the touch buttons
// where fit.css made room for them, and tells the board its device pixels,
// again whenever the window or the screen changes.
import { FORM } from "./form.js";

const FORM_WIDTH = FORM.client.width;
const FORM_HEIGHT = FORM.menuBar + FORM.client.height;
const INPUTS = ["--ratio", "--step", "--kw", "--kh", "--kwb", "--khu"];

// The most device pixels per picture pixel at which `size` picture pixels
// fit in `room` CSS pixels at `ratio`; 1 at the least.
function most(room, size, ratio) {
  let k = 1;
  while ((size * (k + 1)) / ratio <= room) ++k;
  return k;
}

// A touch screen is one whose pointer is coarse, as fit.css reads it.
export const touchScreen = () => matchMedia("(any-pointer: coarse)").matches;

// For a ratio fit.css does not list: what its media queries would set.
function supplyInputs(root, ratio) {
  for (const name of INPUTS) root.style.removeProperty(name);
  if (getComputedStyle(root).getPropertyValue("--ratio").trim()) return;
  const style = getComputedStyle(root);
  const [edge, bar, side] = ["--fit-edge", "--fit-bar", "--fit-side"].map((name) => Number(style.getPropertyValue(name)));
  const width = innerWidth - 2 * edge, height = innerHeight - 2 * edge;
  // The fewest CSS pixels that make whole device pixels (2 at 1.5, say).
  let step = 1;
  while (step < 8 && Math.abs(step * ratio - Math.round(step * ratio)) > 1e-6) ++step;
  const values = [ratio, `${step}px`, most(width, FORM_WIDTH, ratio), most(height, FORM_HEIGHT, ratio),
    most(width - side, FORM_WIDTH, ratio), most(height - bar, FORM_HEIGHT, ratio)];
  INPUTS.forEach((name, k) => root.style.setProperty(name, String(values[k])));
}

// Lays out `bar` now and on every change, and tells
// `onFit(devicePixelsPerFormPixel, scale)`.
export function fitForm({ bar, onFit }) {
  const root = document.documentElement;
  const layout = () => {
    const ratio = devicePixelRatio || 1;
    supplyInputs(root, ratio);
    const style = getComputedStyle(root);
    bar.hidden = !touchScreen();
    bar.classList.toggle("beside", Number(style.getPropertyValue("--side")) > 0);
    const pixels = Number(style.getPropertyValue("--k"));
    onFit(pixels, pixels / ratio);
  };
  layout();
  addEventListener("resize", layout);
  // A change of the device pixel ratio alone (another screen, browser zoom)
  // need not resize the window.
  const watchRatio = () => matchMedia(`(resolution: ${devicePixelRatio}dppx)`)
    .addEventListener("change", () => { layout(); watchRatio(); }, { once: true });
  watchRatio();
}
