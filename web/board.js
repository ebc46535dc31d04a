// The board: 8 x 13 cells of 32 x 32 pixels on a canvas, each showing one of
// the tile pictures (as many as the core has tile codes). Pictures are
// scaled by whole device pixels with no smoothing, so the pixel art stays
// crisp at any device pixel ratio and scale of the form. The board keeps
// what each cell shows, to paint it again when either changes, and from
// before it has a canvas: the game loads while the page is still being
// read, and its board shows once the page hands the canvas over. The
// pictures come inside the game's host (web/game_host.js, with tiles.js
// made at build time), which draws them, in its worker where it has one.
import { FORM } from "./form.js";
import { TILE_PICTURES } from "./tiles.js";

const { rows: ROWS, columns: COLS, cell: TILE } = FORM.board;
const [RED, GREEN, BLUE] = FORM.colours.form;

// The bytes of base64 `text`: the browser's own decoder where it has one,
// which takes a fraction of a millisecond where a loop over `atob`'s
// characters took some ten for the pictures and the game on a cold start.
export const fromBase64 = (text) =>
  Uint8Array.fromBase64?.(text) ?? Uint8Array.from(atob(text), (c) => c.charCodeAt(0));

// One picture's PNG bytes as a bitmap (which a worker can draw). An image
// decoder takes the bytes as they are, where a Blob of them costs a call to
// the browser's own process each: the eight Blobs took 5 to 9 ms of a first
// visit's worker, before the game could start.
const decode = globalThis.ImageDecoder
  ? async (bytes) => {
    const decoder = new ImageDecoder({ data: bytes, type: "image/png" });
    const { image } = await decoder.decode();
    decoder.close();
    const bitmap = await createImageBitmap(image);
    image.close();
    return bitmap;
  }
  : (bytes) => createImageBitmap(new Blob([bytes], { type: "image/png" }));

// The tile pictures, one per tile code of the core, decoded.
export const loadPictures = () => Promise.all(TILE_PICTURES.map((text) => decode(fromBase64(text))));

export class Board {
  constructor() {
    this.shown = new Int8Array(ROWS * COLS).fill(-1);
    this.context = null;  // until it is shown
  }

  // Shows the board on `canvas` with `pictures`, at `ratio` device pixels
  // per CSS pixel of the unscaled form.
  show(canvas, pictures, ratio) {
    this.canvas = canvas;
    this.pictures = pictures;
    this.ratio = ratio;
    this.fit();
    // A canvas whose pixels the browser dropped is painted again.
    canvas.addEventListener("contextrestored", () => this.fit());
  }

  paintCell(row, col, picture) {
    this.shown[row * COLS + col] = picture;
    if (this.context) this.draw(row, col, picture);
  }

  setRatio(ratio) {
    if (ratio === this.ratio) return;
    this.ratio = ratio;
    if (this.context) this.fit();
  }

  // The canvas has one backing pixel per device pixel, in memory rather
  // than on the graphics card: its first drawing then sets up no graphics
  // context (some 2 ms of a first visit where one took 4 to 10 before the
  // first key could act), and a board of small pictures needs none.
  fit() {
    this.canvas.width = Math.round(COLS * TILE * this.ratio);
    this.canvas.height = Math.round(ROWS * TILE * this.ratio);
    this.context = this.canvas.getContext("2d", { alpha: false, willReadFrequently: true });
    this.context.imageSmoothingEnabled = false;
    this.context.fillStyle = `rgb(${RED} ${GREEN} ${BLUE})`;  // the form shows until the first paint
    this.context.fillRect(0, 0, this.canvas.width, this.canvas.height);
    this.shown.forEach((picture, cell) => {
      if (picture >= 0) this.draw(Math.floor(cell / COLS), cell % COLS, picture);
    });
  }

  // Cell edges on whole device pixels: a cell is 32 x ratio device pixels
  // wide, rounded, and neighbours meet without a gap.
  draw(row, col, picture) {
    const edge = (n) => Math.round(n * TILE * this.ratio);
    const x = edge(col), y = edge(row);
    this.context.drawImage(this.pictures[picture], x, y, edge(col + 1) - x, edge(row + 1) - y);
  }
}
