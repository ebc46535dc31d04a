// The board's canvas, handed over by the page (board.js `drawBoard`), drawn
// here off the page's main thread: a change of a cell costs the drawing of
// that cell and the worker's frame, and no style, layout or paint of the
// page. Messages: { canvas, pictures, ratio } once, then { ratio } when the
// device pixels change and { cells: [row, col, picture, ...] } for paints.
import { Board } from "./board.js";

onmessage = ({ data }) => {
  if (data.canvas) globalThis.board = new Board(data.canvas, data.pictures, data.ratio);
  if (data.ratio) board.setRatio(data.ratio);
  for (let k = 0; k < (data.cells?.length ?? 0); k += 3) board.paintCell(data.cells[k], data.cells[k + 1], data.cells[k + 2]);
};
