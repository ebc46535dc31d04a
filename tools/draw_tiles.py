#!/usr/bin/env python3
"""Draws nubbo's artwork: the eight 32 x 32 tile pictures and the application icon.

Most pictures are built from a few vector shapes (signed distance functions) rendered
with supersampling; the cat and the clearing mark are placed pixel by pixel. Everything is
written with nothing but the standard library, so the output is the same on every run.

    tools/draw_tiles.py            write assets/tile*.png, assets/icon.svg and assets/icons/
                                   (the window's sizes and the web app's 192 and 512)
    tools/draw_tiles.py --check    exit 1 if any written picture differs from what is drawn now
    tools/draw_tiles.py --out DIR  write into DIR instead of assets/
"""

import argparse
import math
import pathlib
import struct
import sys
import zlib

WHITE = (255, 255, 255)

# ---------------------------------------------------------------------------
# PNG reading and writing (8-bit RGB or RGBA, no interlace, filter 0 only on write)


def png_bytes(width, height, pixels, alpha):
    """Encodes rows of (r, g, b) or (r, g, b, a) tuples as a PNG file."""
    raw = bytearray()
    for row in pixels:
        raw.append(0)
        for px in row:
            raw.extend(px[:4] if alpha else px[:3])

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    colour_type = 6 if alpha else 2
    header = struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def png_pixels(data):
    """Decodes a PNG written by png_bytes (or any 8-bit RGB/RGBA PNG) to (w, h, bpp, bytes)."""
    pos, idat = 8, b""
    width = height = bpp = None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour_type = struct.unpack(">IIBB", body[:10])
            if depth != 8 or colour_type not in (2, 6):
                raise ValueError("unsupported PNG format")
            bpp = 3 if colour_type == 2 else 4
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * bpp
    out = bytearray()
    prev = bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[i] = (line[i] + pred) & 255
        out += line
        prev = line
    return width, height, bpp, bytes(out)


# ---------------------------------------------------------------------------
# Shapes: each has a signed distance (negative inside, in pixels) and a bounding box.


class Shape:
    def __init__(self, dist, box, svg=None):
        self.dist = dist
        self.box = box  # (x0, y0, x1, y1)
        self.svg = svg  # (element, attributes) for shapes the icon uses

    def __or__(self, other):
        return Shape(lambda x, y: min(self.dist(x, y), other.dist(x, y)),
                     (min(self.box[0], other.box[0]), min(self.box[1], other.box[1]),
                      max(self.box[2], other.box[2]), max(self.box[3], other.box[3])))

    def __and__(self, other):
        return Shape(lambda x, y: max(self.dist(x, y), other.dist(x, y)),
                     (max(self.box[0], other.box[0]), max(self.box[1], other.box[1]),
                      min(self.box[2], other.box[2]), min(self.box[3], other.box[3])))

    def grow(self, d):
        """The shape offset outwards by d (inwards for negative d)."""
        b = self.box
        return Shape(lambda x, y: self.dist(x, y) - d, (b[0] - d, b[1] - d, b[2] + d, b[3] + d))


def circle(cx, cy, r):
    return Shape(lambda x, y: math.hypot(x - cx, y - cy) - r, (cx - r, cy - r, cx + r, cy + r),
                 ("circle", {"cx": cx, "cy": cy, "r": r}))


def ellipse(cx, cy, rx, ry):
    def dist(x, y):
        px, py = (x - cx) / rx, (y - cy) / ry
        k0 = math.hypot(px, py)
        k1 = math.hypot(px / rx, py / ry)
        if k1 == 0.0:
            return -min(rx, ry)
        return k0 * (k0 - 1.0) / k1

    return Shape(dist, (cx - rx, cy - ry, cx + rx, cy + ry),
                 ("ellipse", {"cx": cx, "cy": cy, "rx": rx, "ry": ry}))


def rect(x0, y0, x1, y1, r=0.0):
    cx, cy, hx, hy = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def dist(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        return math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - r

    attrs = {"x": x0, "y": y0, "width": x1 - x0, "height": y1 - y0}
    if r:
        attrs["rx"] = r
    return Shape(dist, (x0, y0, x1, y1), ("rect", attrs))


def polygon(*pts):
    n = len(pts)

    def dist(x, y):
        d = float("inf")
        inside = False
        for i in range(n):
            ax, ay = pts[i]
            bx, by = pts[i - 1]
            ex, ey = bx - ax, by - ay
            wx, wy = x - ax, y - ay
            t = max(0.0, min(1.0, (wx * ex + wy * ey) / (ex * ex + ey * ey)))
            d = min(d, math.hypot(wx - ex * t, wy - ey * t))
            if (ay > y) != (by > y) and x < ax + (y - ay) * ex / ey:
                inside = not inside
        return -d if inside else d

    xs, ys = [p[0] for p in pts], [p[1] for p in pts]
    svg_pts = " ".join(f"{fmt(px)},{fmt(py)}" for px, py in pts)
    return Shape(dist, (min(xs), min(ys), max(xs), max(ys)), ("polygon", {"points": svg_pts}))


def line(*pts):
    """An open polyline; stroke it to draw a line with round ends."""

    def dist(x, y):
        d = float("inf")
        for (ax, ay), (bx, by) in zip(pts, pts[1:]):
            ex, ey = bx - ax, by - ay
            wx, wy = x - ax, y - ay
            t = max(0.0, min(1.0, (wx * ex + wy * ey) / (ex * ex + ey * ey)))
            d = min(d, math.hypot(wx - ex * t, wy - ey * t))
        return d

    xs, ys = [p[0] for p in pts], [p[1] for p in pts]
    svg_pts = " ".join(f"{fmt(px)},{fmt(py)}" for px, py in pts)
    return Shape(dist, (min(xs), min(ys), max(xs), max(ys)), ("polyline", {"points": svg_pts}))


# ---------------------------------------------------------------------------
# Layers and rendering


class Layer:
    """Paints the inside of a shape (fill) or a band of the given width around its edge."""

    def __init__(self, shape, paint, stroke=0.0, opacity=1.0):
        self.shape, self.paint, self.stroke, self.opacity = shape, paint, stroke, opacity
        g = stroke / 2
        b = shape.box
        self.box = (b[0] - g, b[1] - g, b[2] + g, b[3] + g)

    def covers(self, x, y):
        d = self.shape.dist(x, y)
        return abs(d) <= self.stroke / 2 if self.stroke else d <= 0.0

    def colour(self, x, y):
        return self.paint(x, y) if callable(self.paint) else self.paint


def fill(shape, paint, **kw):
    return Layer(shape, paint, **kw)


def stroke(shape, paint, width, **kw):
    return Layer(shape, paint, stroke=width, **kw)


def render(layers, size, scale=1.0, samples=4, white_ground=False, crisp=(0.3, 0.6)):
    """Renders layers drawn in a (size / scale)-unit square into size x size pixels.

    On a white ground the result is opaque RGB; otherwise it is RGBA on transparency.
    Each pixel averages samples x samples points.
    """
    offsets = [(i + 0.5) / samples for i in range(samples)]
    n = samples * samples
    empty = WHITE if white_ground else (0, 0, 0, 0)
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            x0, y0, x1, y1 = px / scale, py / scale, (px + 1) / scale, (py + 1) / scale
            near = [l for l in layers
                    if l.box[0] <= x1 and l.box[2] >= x0 and l.box[1] <= y1 and l.box[3] >= y0]
            if not near:
                row.append(empty)
                continue
            acc = [0.0, 0.0, 0.0, 0.0]  # premultiplied red, green, blue and coverage
            whites = 0
            for oy in offsets:
                for ox in offsets:
                    x, y = (px + ox) / scale, (py + oy) / scale
                    r, g, b, a = (255.0, 255.0, 255.0, 1.0) if white_ground else (0.0,) * 4
                    for l in near:
                        if l.covers(x, y):
                            c, o = l.colour(x, y), l.opacity
                            r, g, b = (r * (1 - o) + c[0] * o, g * (1 - o) + c[1] * o,
                                       b * (1 - o) + c[2] * o)
                            a = a * (1 - o) + o
                    whites += (r, g, b) == WHITE
                    acc = [acc[0] + r, acc[1] + g, acc[2] + b, acc[3] + a]
            if white_ground:
                row.append(sharpen(acc, whites, n, crisp))
            elif acc[3] / n < 1.0 / 255:
                row.append(empty)
            else:
                alpha = acc[3] / n
                row.append(tuple(int(round(min(255.0, v / n / alpha))) for v in acc[:3]) +
                           (int(round(alpha * 255)),))
        rows.append(row)
    return rows


def sharpen(acc, whites, n, crisp):
    """One pixel on the white ground from its summed samples.

    Edges against the white are sharpened: a pixel mostly covered by white is white, one
    mostly covered by ink takes the ink's own colour, and only a narrow band between blends.
    That keeps lines crisp at 32 x 32 instead of wrapping them in a haze of pale fringes.
    """
    w = whites / n
    if w >= crisp[1]:
        return WHITE
    ink = [(v - 255.0 * whites) / (n - whites) for v in acc[:3]]
    t = max(0.0, (w - crisp[0]) / (crisp[1] - crisp[0]))
    col = tuple(int(round(c + (255 - c) * t)) for c in ink)
    # Blends within a few steps of white would read as white but spoil the clean ground.
    return WHITE if min(col) >= 249 else col


def fmt(v):
    return f"{v:.2f}".rstrip("0").rstrip(".")


# ---------------------------------------------------------------------------
# Colour helpers


def mix(c1, c2, t):
    t = max(0.0, min(1.0, t))
    return tuple(a + (b - a) * t for a, b in zip(c1, c2))


def vgrad(c_top, c_bottom, y0, y1):
    return lambda x, y: mix(c_top, c_bottom, (y - y0) / (y1 - y0))


# ---------------------------------------------------------------------------
# The tiles. Each is drawn in a 32 x 32 unit square, one unit per pixel.

LAVENDER = (163, 145, 253)
ICE_BLUE = (145, 216, 255)
ICE_PALE = (196, 236, 255)
PURE_RED = (255, 0, 0)
PINK_LIGHT = (255, 208, 255)
PINK_DEEP = (255, 176, 255)
GREY_DARK = (65, 65, 65)
CAP_RED = (218, 53, 54)
CAP_DARK = (140, 22, 30)
YELLOW = (254, 235, 90)
SKY = (160, 192, 239)
SKY_DARK = (104, 136, 204)
BOT_RED = (255, 32, 32)
MAGENTA = (255, 13, 170)


def gem():
    """Code 0: a cut gem seen from the side, table up, point down, its girdle full width.

    Straight lines run along pixel centres (x.5) so that they come out one pixel wide."""
    top_l, top_m, top_r = (8.5, 6.5), (16.0, 6.5), (23.5, 6.5)
    gl, g1, g2, gr = (0.5, 12.5), (11.0, 12.5), (21.0, 12.5), (31.5, 12.5)
    tip = (16.0, 26.5)
    outline = polygon(top_l, top_r, gr, tip, gl)
    layers = [
        fill(outline, ICE_BLUE),
        # Pale facets catch the light from the upper left; the right side is in shade.
        fill(polygon(top_l, g1, gl), ICE_PALE),
        fill(polygon(top_m, g2, g1), WHITE),
        fill(polygon(g1, g2, tip), ICE_PALE),
        fill(polygon(top_r, gr, g2), (125, 196, 250)),
        fill(polygon(g2, gr, tip), (125, 196, 250)),
    ]
    facets = [line(gl, gr), line(top_l, g1, top_m, g2, top_r), line(g1, tip), line(g2, tip)]
    layers += [stroke(f, LAVENDER, 1.0) for f in facets]
    layers.append(stroke(outline, LAVENDER, 1.0))
    return layers


# The cat is pixel art: a line drawing only holds together at 32 x 32 with one-pixel lines
# placed by hand. Only the left half is written out; the right half is its mirror image.
CAT_LEFT_HALF = """\
................
................
.......K........
......KlK.......
......KllK......
......KlllK.....
.....K.....KKKKK
.....K..........
....K.......g..g
....K.......g..g
....K...........
....K...........
....K...........
....K....KK.....
....K...KKWK....
....K...KKKK....
dd..K....KK.....
..ddKddd........
....K.........KK
..ddKddd.....K.K
dd...K........K.
......K.........
.......KKKKKKKKK
........RR.....K
........RRRR..KY
........RRRRRRKY
........RRRRRRKK
........RRRR....
........RR......
................
................
................"""
CAT_PALETTE = {".": WHITE, "W": WHITE, "K": (0, 0, 0), "d": (72, 72, 72), "g": (128, 128, 128),
               "l": (200, 200, 200), "Y": (255, 214, 32), "R": PURE_RED}


def cat(accent):
    """Codes 1 and 5: a cat's face in black lines with a bell on its collar. Code 1 also wears
    a red bow tie; code 5 is the same cat with those pixels left white."""
    rows = []
    for half in CAT_LEFT_HALF.splitlines():
        row = half + half[::-1]
        rows.append([CAT_PALETTE[c] if accent or c != "R" else WHITE for c in row])
    return rows


def mochi():
    """Code 2: a soft pink rice-cake bunny, shaded, with no outlines."""
    body = ellipse(16.0, 19.8, 15.8, 7.6)
    ear_l, ear_r = ellipse(10.0, 10.0, 2.8, 5.0), ellipse(22.0, 10.0, 2.8, 5.0)

    def body_shade(x, y):
        # Lighter at the upper left, deeper towards the rim and the bottom.
        t = math.hypot((x - 13.0) / 16.0, (y - 15.0) / 11.0)
        return mix(mix((255, 232, 255), PINK_LIGHT, t * 1.6), PINK_DEEP, (t - 0.55) * 2.2)

    def ear_shade(cx):
        return lambda x, y: mix(PINK_LIGHT, PINK_DEEP,
                                math.hypot((x - cx) / 2.8, (y - 7.5) / 5.0) - 0.2)

    face = (136, 128, 140)
    return [
        fill(ellipse(16.0, 28.6, 9.0, 1.3), (222, 222, 228)),
        fill(ear_l, ear_shade(10.0)), fill(ear_r, ear_shade(22.0)),
        fill(ellipse(10.0, 10.5, 1.1, 3.2), (255, 186, 236)),
        fill(ellipse(22.0, 10.5, 1.1, 3.2), (255, 186, 236)),
        fill(body, body_shade),
        fill(ellipse(9.5, 15.5, 3.5, 1.6), (255, 244, 255), opacity=0.8),
        # Closed, contented eyes and a small mouth in soft greys.
        fill(rect(10.0, 19.0, 11.0, 20.0), face), fill(rect(11.0, 18.0, 13.0, 19.0), face),
        fill(rect(13.0, 19.0, 14.0, 20.0), face),
        fill(rect(18.0, 19.0, 19.0, 20.0), face), fill(rect(19.0, 18.0, 21.0, 19.0), face),
        fill(rect(21.0, 19.0, 22.0, 20.0), face),
        fill(rect(15.0, 21.0, 17.0, 22.0), (170, 150, 168)),
        fill(ellipse(8.0, 21.5, 2.0, 1.2), (255, 160, 224), opacity=0.8),
        fill(ellipse(24.0, 21.5, 2.0, 1.2), (255, 160, 224), opacity=0.8),
    ]


def mushroom():
    """Code 3: a toadstool with a red, yellow-spotted cap and a little face on its stem."""
    cap = ellipse(16.0, 16.5, 15.3, 11.2) & rect(0.0, 0.0, 32.0, 17.0)
    rim = ellipse(16.0, 17.0, 13.5, 2.4)
    stem = rect(10.5, 15.0, 21.5, 29.5, 4.0)
    inside = cap.grow(-1.0)

    def cap_shade(x, y):
        # A darker crescent towards the lower right.
        t = math.hypot((x - 12.0) / 15.0, (y - 8.5) / 11.0)
        return mix(CAP_RED, CAP_DARK, (t - 0.85) * 3.0)

    spots = [circle(8.0, 11.0, 2.6), circle(16.5, 7.6, 2.8), circle(24.2, 11.6, 2.2),
             circle(14.6, 13.6, 1.4), circle(3.8, 14.8, 1.0), circle(28.4, 15.2, 0.9)]
    return [
        fill(stem, WHITE),
        fill(rect(18.5, 15.0, 21.5, 29.5) & stem, (228, 228, 228)),
        stroke(stem, GREY_DARK, 1.0),
        fill(cap, cap_shade),
        fill(rim, CAP_DARK),
    ] + [fill(s & inside, YELLOW) for s in spots] + [
        fill(circle(15.6, 6.8, 0.9) & inside, (255, 251, 214)),
        stroke(cap | rim, GREY_DARK, 1.2),
        # Face on the stem.
        fill(rect(13.0, 21.0, 14.0, 23.0), GREY_DARK), fill(rect(18.0, 21.0, 19.0, 23.0),
                                                            GREY_DARK),
        fill(rect(15.0, 24.0, 17.0, 25.0), GREY_DARK),
        fill(rect(11.5, 23.5, 13.0, 24.5), (255, 168, 168)),
        fill(rect(19.0, 23.5, 20.5, 24.5), (255, 168, 168)),
    ]


def robot():
    """Code 4: a light-blue robot head with a red antenna lamp and coloured lights.

    The head is one flat light blue with a thin darker rim, so that the light blue and the
    white of its visor carry the picture and the darker blue stays a detail."""
    head = rect(2.5, 10.5, 29.5, 27.5, 4.0)
    visor = rect(5.5, 12.5, 26.5, 19.5, 2.0)
    bolt_l, bolt_r = rect(0.5, 14.5, 3.0, 21.5, 1.0), rect(29.0, 14.5, 31.5, 21.5, 1.0)
    eye = (40, 56, 104)
    return [
        # Ear bolts reach the edges.
        fill(bolt_l, SKY), stroke(bolt_l, SKY_DARK, 1.0),
        fill(bolt_r, SKY), stroke(bolt_r, SKY_DARK, 1.0),
        fill(rect(15.0, 5.5, 17.0, 10.5), SKY_DARK),
        fill(head, SKY),
        stroke(head, SKY_DARK, 1.0),
                fill(visor, WHITE),
        # Eyes with a glint, and a smile below the visor.
        fill(rect(11.0, 14.0, 14.0, 18.0, 1.0), eye), fill(rect(18.0, 14.0, 21.0, 18.0, 1.0), eye),
        fill(rect(12.0, 15.0, 13.0, 16.0), WHITE), fill(rect(19.0, 15.0, 20.0, 16.0), WHITE),
        fill(rect(13.0, 21.0, 14.0, 22.0), eye), fill(rect(14.0, 22.0, 18.0, 23.0), eye),
        fill(rect(18.0, 21.0, 19.0, 22.0), eye),
        # A row of coloured lights on the chin.
        fill(rect(7.0, 24.0, 9.0, 26.0), (60, 200, 90)),
        fill(rect(11.0, 24.0, 13.0, 26.0), (255, 200, 40)),
        fill(rect(19.0, 24.0, 21.0, 26.0), (255, 130, 40)),
        fill(rect(23.0, 24.0, 25.0, 26.0), (170, 90, 230)),
        # The antenna's red lamp.
        fill(circle(16.0, 3.5, 2.6), BOT_RED),
        fill(rect(14.0, 2.0, 15.0, 3.0), (255, 190, 190)),
    ]


CLEAR_MARK_ROWS = {
    4: [(15, 16)], 5: [(14, 14), (17, 17)],
    6: [(8, 11), (13, 13), (18, 18), (20, 23)], 7: [(7, 7), (24, 24)],
    14: [(5, 5), (26, 26)], 15: [(4, 4), (27, 27)], 16: [(4, 4), (27, 27)],
    17: [(5, 5), (26, 26)],
}
for _r in list(range(8, 14)) + list(range(18, 24)):
    CLEAR_MARK_ROWS[_r] = [(6, 6), (25, 25)]
for _r, _m in ((24, 7), (25, 6), (26, 5), (27, 4)):
    CLEAR_MARK_ROWS[_r] = CLEAR_MARK_ROWS[_m]


def clear_mark():
    """Code 7: the magenta badge outline drawn pixel by pixel."""
    rows = [[WHITE] * 32 for _ in range(32)]
    for r, spans in CLEAR_MARK_ROWS.items():
        for c0, c1 in spans:
            for c in range(c0, c1 + 1):
                rows[r][c] = MAGENTA
    return rows


def tiles():
    """The eight tile pictures in code order, each as 32 rows of 32 RGB tuples."""
    draw = lambda layers: render(layers, 32, white_ground=True)
    return [draw(gem()), cat(True), draw(mochi()), draw(mushroom()), draw(robot()),
            cat(False), [[WHITE] * 32 for _ in range(32)], clear_mark()]


# ---------------------------------------------------------------------------
# The icon: three tiles tumbling down, drawn in a 256-unit square.

ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)
# The web edition's installable app asks for these two as well.
WEB_ICON_SIZES = (192, 512)
INK = (58, 52, 72)


def icon_layers():
    layers = []

    def tile(x, y, face, edge):
        t = rect(x, y, x + 112, y + 112, 22)
        layers.extend([fill(t, face), fill(rect(x + 14, y + 12, x + 98, y + 30, 9), WHITE,
                                           opacity=0.45),
                       stroke(t, edge, 9)])

    tile(10, 10, ICE_BLUE, INK)
    gem_pts = [(42, 54), (54, 40), (78, 40), (90, 54), (66, 84)]
    layers += [fill(polygon(*gem_pts), WHITE), stroke(polygon(*gem_pts), LAVENDER, 7)]
    tile(72, 72, CAP_RED, INK)
    layers += [fill(circle(103, 103, 11), YELLOW), fill(circle(128, 96, 7), YELLOW),
               fill(circle(98, 127, 7), YELLOW)]
    tile(134, 134, PINK_LIGHT, INK)
    layers += [fill(ellipse(172, 184, 8, 11), INK), fill(ellipse(208, 184, 8, 11), INK),
               fill(circle(175, 180, 3), WHITE), fill(circle(211, 180, 3), WHITE),
               fill(ellipse(160, 206, 9, 5), (255, 150, 200)),
               fill(ellipse(220, 206, 9, 5), (255, 150, 200))]
    return layers


def icon_svg(layers):
    """The icon as SVG, element for element the layers the PNGs are rendered from."""
    out = ['<?xml version="1.0" encoding="UTF-8"?>',
           '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" '
           'viewBox="0 0 256 256">',
           "  <title>nubbo</title>"]
    for l in layers:
        kind, attrs = l.shape.svg
        colour = "#%02x%02x%02x" % tuple(int(v) for v in l.paint)
        parts = [f'{k}="{fmt(v) if isinstance(v, (int, float)) else v}"' for k, v in attrs.items()]
        if l.stroke:
            parts += ['fill="none"', f'stroke="{colour}"', f'stroke-width="{fmt(l.stroke)}"',
                      'stroke-linejoin="round"', 'stroke-linecap="round"']
        else:
            parts.append(f'fill="{colour}"')
        if l.opacity != 1.0:
            parts.append(f'opacity="{fmt(l.opacity)}"')
        out.append(f"  <{kind} {' '.join(parts)}/>")
    out.append("</svg>")
    return "\n".join(out) + "\n"


# ---------------------------------------------------------------------------


def outputs():
    """Every file this program writes, as (relative path, bytes)."""
    files = []
    for code, rows in enumerate(tiles()):
        files.append((f"tile{code}.png", png_bytes(32, 32, rows, alpha=False)))
    layers = icon_layers()
    files.append(("icon.svg", icon_svg(layers).encode()))
    for size in ICON_SIZES + WEB_ICON_SIZES:
        rows = render(layers, size, scale=size / 256.0, samples=4 if size <= 64 else 2)
        files.append((f"icons/nubbo-{size}.png", png_bytes(size, size, rows, alpha=True)))
    return files


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", type=pathlib.Path,
                        default=pathlib.Path(__file__).resolve().parent.parent / "assets")
    parser.add_argument("--check", action="store_true",
                        help="compare with the files in --out instead of writing them")
    args = parser.parse_args()
    stale = []
    for name, data in outputs():
        path = args.out / name
        if args.check:
            old = path.read_bytes() if path.exists() else None
            same = old is not None and (
                png_pixels(old) == png_pixels(data) if name.endswith(".png") else old == data)
            if not same:
                stale.append(name)
        else:
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_bytes(data)
    if stale:
        print("out of date: " + ", ".join(stale) + " (run tools/draw_tiles.py)", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
