// Decodes the PNG files Chromium writes and the tile pictures: 8-bit RGB or
// RGBA, not interlaced. Returns { width, height, rgba } with four bytes a pixel.
import { inflateSync } from "node:zlib";

export function decodePng(buffer) {
  let width, height, channels;
  const data = [];
  for (let at = 8; at < buffer.length;) {
    const size = buffer.readUInt32BE(at);
    const type = buffer.toString("ascii", at + 4, at + 8);
    const body = buffer.subarray(at + 8, at + 8 + size);
    if (type === "IHDR") {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      if (body[8] !== 8 || body[12] !== 0) throw new Error("only 8-bit, non-interlaced PNGs");
      channels = { 2: 3, 6: 4 }[body[9]];
      if (!channels) throw new Error(`PNG colour type ${body[9]} not supported`);
    } else if (type === "IDAT") {
      data.push(body);
    }
    at += 12 + size;
  }
  const raw = inflateSync(Buffer.concat(data));
  const stride = width * channels;
  const rows = Buffer.alloc(stride * height);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    for (let x = 0; x < stride; ++x) {
      const left = x >= channels ? rows[y * stride + x - channels] : 0;
      const up = y > 0 ? rows[(y - 1) * stride + x] : 0;
      const corner = x >= channels && y > 0 ? rows[(y - 1) * stride + x - channels] : 0;
      let predictor = 0;
      if (filter === 1) predictor = left;
      else if (filter === 2) predictor = up;
      else if (filter === 3) predictor = (left + up) >> 1;
      else if (filter === 4) {
        const p = left + up - corner;
        const [pa, pb, pc] = [Math.abs(p - left), Math.abs(p - up), Math.abs(p - corner)];
        predictor = pa <= pb && pa <= pc ? left : pb <= pc ? up : corner;
      }
      rows[y * stride + x] = (raw[y * (stride + 1) + 1 + x] + predictor) & 255;
    }
  }
  const rgba = Buffer.alloc(width * height * 4, 255);
  for (let p = 0; p < width * height; ++p) rows.copy(rgba, p * 4, p * channels, p * channels + 3);
  return { width, height, rgba };
}
