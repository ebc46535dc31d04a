// What a player sees, read from a screenshot: which tile picture each board
// cell shows, and whether the blue banner text shows in a box.
import { readFileSync } from "node:fs";
import { decodePng } from "./png.js";

// The pictures as drawn, not as the site carries them: a fault in how the
// site packs them shows as a cell that matches none.
const TILES = Array.from({ length: 8 }, (_, k) =>
  decodePng(readFileSync(new URL(`../../assets/tile${k}.png`, import.meta.url))));
export const EMPTY = 6;

// The form's layout, from the table the page's own layout is made from.
export const FORM = JSON.parse(readFileSync(new URL("../../form/layout.json", import.meta.url), "utf8"));
// A control's box as [left, top, width, height] in pixels of the client area.
export const place = (name) => {
  const { left, top, width, height } = FORM.boxes[name];
  return [left, top, width, height];
};

// The picture a cell shows, or -1 when it is not exactly one of the eight
// scaled by whole device pixels (covered by a label, smoothed, misplaced).
export function cellPicture(view, row, col) {
  const { left, top, cell } = FORM.board;
  const box = view.box(left + cell * col, top + cell * row, cell, cell);
  const n = view.ratio;
  next: for (let k = 0; k < TILES.length; ++k) {
    for (let y = 0; y < box.height; ++y)
      for (let x = 0; x < box.width; ++x) {
        const s = (Math.floor(y / n) * 32 + Math.floor(x / n)) * 4, d = (y * box.width + x) * 4;
        if (TILES[k].rgba[s] !== box.rgba[d] || TILES[k].rgba[s + 1] !== box.rgba[d + 1] ||
            TILES[k].rgba[s + 2] !== box.rgba[d + 2]) continue next;
      }
    return k;
  }
  return -1;
}

// The board as 13 strings of 8 characters: '.' empty, '0' to '7' a
// picture, '?' anything else.
export function boardOf(view) {
  const rows = [];
  for (let r = 0; r < 13; ++r) {
    let row = "";
    for (let c = 0; c < 8; ++c) {
      const k = cellPicture(view, r, c);
      row += k === EMPTY ? "." : k < 0 ? "?" : String(k);
    }
    rows.push(row);
  }
  return rows;
}

// The falling piece: the one column whose non-empty cells are the three
// given rows of a board with nothing else on it.
export function pieceOf(board) {
  const cells = [];
  board.forEach((row, r) => [...row].forEach((ch, c) => { if (ch !== ".") cells.push([r, c, ch]); }));
  if (cells.length !== 3 || cells.some(([r, c], k) => c !== cells[0][1] || r !== cells[0][0] + k))
    return null;
  return { row: cells[0][0], col: cells[0][1], tiles: cells.map(([, , ch]) => ch).join("") };
}

// Pixels of the label's blue, RGB(0, 0, 255) with some anti-aliasing, in a
// box of CSS pixels.
export function bluePixels(view, x, y, w, h) {
  const box = view.box(x, y, w, h);
  let n = 0;
  for (let p = 0; p < box.width * box.height; ++p) {
    const [r, g, b] = box.rgba.subarray(p * 4, p * 4 + 3);
    if (b > 200 && r < 90 && g < 90) n += 1;
  }
  return n;
}

// The texts of the page a screen reader would speak in the wrong language:
// each English text (Latin words, no Chinese) must stand in an element whose
// language is "en", each Chinese one in "zh-Hant"; text, labels and titles,
// shown or hidden.
export function misspoken(page) {
  return page.evaluate(() => {
    const wrong = [];
    const check = (text, element) => {
      if (!/[A-Za-z]{2}|[\u3400-\u9fff]/.test(text)) return;
      const want = /[\u3400-\u9fff]/.test(text) ? "zh-Hant" : "en";
      const lang = element.closest("[lang]")?.lang;
      if (lang !== want) wrong.push(`${text.trim()} (${lang})`);
    };
    const texts = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
    for (let node; (node = texts.nextNode());) check(node.data, node.parentElement);
    for (const element of document.querySelectorAll("body [aria-label], body [title]"))
      for (const name of ["aria-label", "title"])
        if (element.hasAttribute(name)) check(element.getAttribute(name), element);
    return wrong;
  });
}
