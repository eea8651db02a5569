#!/usr/bin/env python3
"""Draws the program's toolbar and panel icons as PNG files at 16 and 24 pixels.

Each icon is a few shapes on a 24-unit square, rasterised with 4 x 4 samples per pixel so that thin
strokes stay readable at 16 pixels. "On" variants get a pale blue tile behind the same shapes.
Run: scripts/make_icons.py res/icons
"""
import math
import os
import struct
import sys
import zlib

INK = (40, 40, 48)
BLUE = (30, 90, 200)
RED = (200, 40, 40)
GREEN = (30, 140, 60)
ORANGE = (220, 130, 20)
GREY = (150, 150, 150)
WALL = (90, 90, 100)
PAPER = (255, 255, 255)
ON_TILE = (190, 215, 255)


def seg_dist(px, py, x1, y1, x2, y2):
    dx, dy = x2 - x1, y2 - y1
    if dx == 0 and dy == 0:
        return math.hypot(px - x1, py - y1)
    t = max(0.0, min(1.0, ((px - x1) * dx + (py - y1) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - x1 - t * dx, py - y1 - t * dy)


def inside_poly(px, py, pts):
    c = False
    n = len(pts)
    for i in range(n):
        x1, y1 = pts[i]
        x2, y2 = pts[(i + 1) % n]
        if (y1 > py) != (y2 > py) and px < (x2 - x1) * (py - y1) / (y2 - y1) + x1:
            c = not c
    return c


# Shapes: ("line", pts, width, colour) polyline; ("poly", pts, colour) filled; ("ring", cx, cy, r,
# width, colour); ("disc", cx, cy, r, colour); ("arc", cx, cy, r, a0, a1, width, colour) degrees.
def hit(shape, x, y):
    k = shape[0]
    if k == "line":
        pts, w = shape[1], shape[2]
        return any(seg_dist(x, y, *pts[i], *pts[i + 1]) <= w / 2 for i in range(len(pts) - 1))
    if k == "poly":
        return inside_poly(x, y, shape[1])
    if k == "ring":
        _, cx, cy, r, w, _c = shape
        return abs(math.hypot(x - cx, y - cy) - r) <= w / 2
    if k == "disc":
        _, cx, cy, r, _c = shape
        return math.hypot(x - cx, y - cy) <= r
    if k == "arc":
        _, cx, cy, r, a0, a1, w, _c = shape
        if abs(math.hypot(x - cx, y - cy) - r) > w / 2:
            return False
        a = math.degrees(math.atan2(cy - y, x - cx)) % 360
        return (a - a0) % 360 <= (a1 - a0) % 360
    raise ValueError(k)


def colour_of(shape):
    return shape[-1]


def render(shapes, size, on):
    s = 4
    scale = 24.0 / size
    rows = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(s):
                for sx in range(s):
                    x = (px + (sx + 0.5) / s) * scale
                    y = (py + (sy + 0.5) / s) * scale
                    col = None
                    for sh in shapes:
                        if hit(sh, x, y):
                            col = colour_of(sh)
                    if col is None and on:
                        col = ON_TILE if 0.5 <= x <= 23.5 and 0.5 <= y <= 23.5 else None
                        if col and (x < 1.5 or x > 22.5 or y < 1.5 or y > 22.5):
                            col = BLUE
                    if col is not None:
                        acc[0] += col[0]
                        acc[1] += col[1]
                        acc[2] += col[2]
                        acc[3] += 1
            n = s * s
            if acc[3]:
                row += bytes([int(acc[0] / acc[3]), int(acc[1] / acc[3]), int(acc[2] / acc[3]),
                              int(255 * acc[3] / n)])
            else:
                row += b"\0\0\0\0"
        rows.append(bytes(row))
    return rows


def write_png(path, rows, size):
    raw = b"".join(b"\0" + r for r in rows)

    def chunk(tag, data):
        c = struct.pack(">I", len(data)) + tag + data
        return c + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def L(*pts, w=2.0, c=INK):
    return ("line", list(pts), w, c)


def P(*pts, c=INK):
    return ("poly", list(pts), c)


def box(x1, y1, x2, y2, w=2.0, c=INK):
    return L((x1, y1), (x2, y1), (x2, y2), (x1, y2), (x1, y1), w=w, c=c)


def fill(x1, y1, x2, y2, c):
    return P((x1, y1), (x2, y1), (x2, y2), (x1, y2), c=c)


ARROW = [P((6, 3), (6, 20), (10, 16), (13, 22), (16, 20.5), (13, 15), (18, 15), c=INK)]
MAG = [("ring", 10, 10, 6, 2.2, INK), L((14.5, 14.5), (21, 21), w=3.2)]
LETTER_A = [L((5, 20), (12, 4), (19, 20), w=2.6), L((8, 14), (16, 14), w=2.2)]

ICONS = {
    # tool panel
    "select": ARROW,
    "wall": [fill(3, 8, 21, 16, WALL), L((3, 12), (21, 12), w=1.0, c=RED)],
    "text": LETTER_A,
    "decotext": [L((5, 20), (12, 4), (19, 20), w=4.2, c=ORANGE), L((5, 20), (12, 4), (19, 20), w=1.6),
                 L((8, 14), (16, 14), w=1.6)],
    "polyroom": [P((3, 20), (3, 6), (12, 3), (21, 9), (21, 20), c=(250, 230, 170)),
                 L((3, 20), (3, 6), (12, 3), (21, 9), (21, 20), (3, 20))],
    "rectroom": [fill(3, 5, 21, 19, (250, 230, 170)), box(3, 5, 21, 19)],
    "stairs": [L((3, 21), (3, 17), (8, 17), (8, 12), (13, 12), (13, 7), (18, 7), (18, 3), (21, 3), w=2.2)],
    "fittings": [fill(2, 9, 6, 15, WALL), fill(18, 9, 22, 15, WALL), L((6, 15), (6, 4), w=1.8, c=BLUE),
                 ("arc", 6, 15, 11, 0, 90, 1.2, BLUE)],
    "parts": [fill(4, 10, 20, 20, (200, 160, 110)), box(4, 10, 20, 20, w=1.6), L((6, 10), (6, 4), (18, 4), (18, 10), w=1.6)],
    "picture": [fill(3, 4, 21, 20, (200, 230, 255)), P((3, 20), (9, 11), (14, 17), (17, 13), (21, 20), c=GREEN),
                ("disc", 16, 8, 2.2, ORANGE), box(3, 4, 21, 20, w=1.6)],
    "delete": [L((5, 5), (19, 19), w=3.4, c=RED), L((19, 5), (5, 19), w=3.4, c=RED)],
    "axisfree": [L((12, 3), (12, 21), w=1.6, c=GREY), L((3, 12), (21, 12), w=1.6, c=GREY), ("disc", 12, 12, 3.5, INK)],
    "axisboth": [L((12, 3), (12, 21), w=2.4), L((3, 12), (21, 12), w=2.4)],
    "axisvert": [L((12, 3), (12, 21), w=2.6), P((12, 2), (8, 8), (16, 8)), P((12, 22), (8, 16), (16, 16))],
    "axishorz": [L((3, 12), (21, 12), w=2.6), P((2, 12), (8, 8), (8, 16)), P((22, 12), (16, 8), (16, 16))],
    "gridsnap": [L((4, 8), (20, 8), w=1.0, c=GREY), L((4, 16), (20, 16), w=1.0, c=GREY), L((8, 4), (8, 20), w=1.0, c=GREY),
                 L((16, 4), (16, 20), w=1.0, c=GREY), ("disc", 16, 8, 3.2, RED)],
    "linesnap": [L((3, 20), (17, 6), w=2.2), ("ring", 17, 6, 3.6, 1.6, RED)],
    "coresnap": [fill(3, 9, 21, 15, WALL), L((3, 12), (21, 12), w=1.2, c=RED), ("ring", 12, 12, 3.8, 1.6, RED)],
    # layer bar colour modes
    "colour": [fill(3, 3, 12, 12, RED), fill(12, 3, 21, 12, GREEN), fill(3, 12, 12, 21, BLUE), fill(12, 12, 21, 21, ORANGE)],
    "blackwhite": [fill(3, 3, 12, 21, INK), fill(12, 3, 21, 21, PAPER), box(3, 3, 21, 21, w=1.4)],
    "grad1": [fill(3, 3, 9, 21, (40, 70, 160)), fill(9, 3, 15, 21, (110, 140, 210)), fill(15, 3, 21, 21, (200, 215, 245))],
    "grad2": [("disc", 12, 12, 10, (200, 215, 245)), ("disc", 12, 12, 6.5, (110, 140, 210)), ("disc", 12, 12, 3, (40, 70, 160))],
    "chic": [fill(3, 3, 9, 21, (100, 100, 100)), fill(9, 3, 15, 21, (170, 170, 170)), fill(15, 3, 21, 21, (235, 235, 235))],
    # file toolbar
    "new": [P((5, 2), (15, 2), (19, 6), (19, 22), (5, 22), c=PAPER), L((5, 2), (15, 2), (19, 6), (19, 22), (5, 22), (5, 2), w=1.6),
            L((15, 2), (15, 6), (19, 6), w=1.2)],
    "open": [P((2, 7), (9, 7), (11, 9), (20, 9), (20, 20), (2, 20), c=(240, 200, 90)), L((2, 7), (9, 7), (11, 9), (20, 9), (20, 20), (2, 20), (2, 7), w=1.4)],
    "save": [fill(3, 3, 21, 21, BLUE), fill(7, 3, 17, 10, PAPER), fill(7, 14, 17, 21, (220, 220, 220))],
    "saverange": [box(3, 3, 21, 21, w=1.2, c=GREY), fill(7, 7, 17, 17, (200, 230, 255)), box(7, 7, 17, 17, w=1.6)],
    "preview": [P((5, 2), (19, 2), (19, 22), (5, 22), c=PAPER), box(5, 2, 19, 22, w=1.4), ("ring", 12, 11, 4, 1.8, INK), L((15, 14), (19, 19), w=2.4)],
    "print": [fill(6, 2, 18, 9, PAPER), box(6, 2, 18, 9, w=1.4), fill(2, 9, 22, 18, GREY), fill(6, 15, 18, 22, PAPER), box(6, 15, 18, 22, w=1.4)],
    "undo": [("arc", 13, 14, 7, 270, 150, 2.4, INK), P((2, 12), (9, 5), (9, 13))],
    "redo": [("arc", 11, 14, 7, 30, 270, 2.4, INK), P((22, 12), (15, 5), (15, 13))],
    "hand": [P((6, 22), (4, 13), (7, 12), (8, 15), (8, 4), (10.5, 4), (11, 11), (12, 3), (14.5, 3), (15, 11), (16, 4), (18.5, 4),
               (18.5, 12), (20, 8), (22, 9), (20, 18), (17, 22), c=(245, 210, 170)),
             L((6, 22), (4, 13), (7, 12), (8, 15), (8, 4), (10.5, 4), (11, 11), (12, 3), (14.5, 3), (15, 11), (16, 4), (18.5, 4),
               (18.5, 12), (20, 8), (22, 9), (20, 18), (17, 22), (6, 22), w=1.2)],
    "zoomin": MAG + [L((7, 10), (13, 10), w=1.8), L((10, 7), (10, 13), w=1.8)],
    "rangezoom": [box(2, 2, 14, 14, w=1.2, c=BLUE)] + MAG,
    "zoomout": MAG + [L((7, 10), (13, 10), w=1.8)],
    "fitall": [box(3, 3, 21, 21, w=1.6), P((3, 3), (9, 3), (3, 9)), P((21, 21), (15, 21), (21, 15)),
               P((21, 3), (15, 3), (21, 9)), P((3, 21), (9, 21), (3, 15))],
    "grid": [L((3, y), (21, y), w=1.0, c=BLUE) for y in (4, 10, 16, 21)] + [L((x, 3), (x, 21), w=1.0, c=BLUE) for x in (4, 10, 16, 21)],
    "trace": [fill(2, 2, 16, 16, (200, 200, 200)), L((6, 20), (20, 6), w=2.4, c=RED), P((20, 6), (22, 2), (18, 4), c=RED)],
    "gridspacing": [L((3, 8), (21, 8), w=1.0, c=BLUE), L((3, 16), (21, 16), w=1.0, c=BLUE), L((12, 3), (12, 21), w=1.0, c=BLUE),
                    L((3, 20), (9, 20), w=1.6), P((2, 20), (5, 18), (5, 22)), P((10, 20), (7, 18), (7, 22))],
    "settings": [("ring", 12, 12, 6.5, 3.4, INK), ("disc", 12, 12, 2.2, INK)] +
                [L((12 + 7 * math.cos(a), 12 + 7 * math.sin(a)), (12 + 10 * math.cos(a), 12 + 10 * math.sin(a)), w=3.2)
                 for a in [i * math.pi / 4 for i in range(8)]],
    # drawing toolbar
    "line": [L((3, 19), (19, 5), w=2.0), P((21, 3), (14, 6), (18, 10))],
    "doubleline": [L((3, 16), (16, 3), w=1.6), L((8, 21), (21, 8), w=1.6)],
    "polyline": [L((3, 20), (8, 6), (14, 16), (21, 4), w=2.0)],
    "rectangle": [box(3, 6, 21, 18)],
    "roundrect": [L((7, 6), (17, 6), w=2), L((7, 18), (17, 18), w=2), L((3, 10), (3, 14), w=2), L((21, 10), (21, 14), w=2),
                  ("arc", 7, 10, 4, 90, 180, 2, INK), ("arc", 17, 10, 4, 0, 90, 2, INK), ("arc", 7, 14, 4, 180, 270, 2, INK),
                  ("arc", 17, 14, 4, 270, 360, 2, INK)],
    "polygon": [L((12, 3), (21, 10), (17, 21), (7, 21), (3, 10), (12, 3))],
    "dlpolygon": [L((12, 2), (22, 10), (18, 22), (6, 22), (2, 10), (12, 2), w=1.4), L((12, 7), (17, 11), (15, 17), (9, 17), (7, 11), (12, 7), w=1.4)],
    "circle": [("ring", 12, 12, 8.5, 2.0, INK)],
    "arc": [("arc", 12, 14, 9, 20, 160, 2.0, INK), L((12, 14), (20.5, 11), w=1.2, c=GREY), L((12, 14), (3.5, 11), w=1.2, c=GREY)],
    "spline": [L(*[(3 + t * 18 / 12, 12 - 7 * math.sin(t * math.pi / 6)) for t in range(13)], w=2.0)],
    "bezier": [L(*[((1 - t) ** 3 * 3 + 3 * (1 - t) ** 2 * t * 6 + 3 * (1 - t) * t * t * 18 + t ** 3 * 21,
                    (1 - t) ** 3 * 20 + 3 * (1 - t) ** 2 * t * 2 + 3 * (1 - t) * t * t * 22 + t ** 3 * 4)
                   for t in [i / 16 for i in range(17)]], w=2.0), ("disc", 6, 2.5, 1.6, RED), ("disc", 18, 21.5, 1.6, RED)],
    "freecurve": [L((3, 14), (5, 9), (8, 8), (10, 13), (12, 17), (15, 16), (17, 10), (19, 7), (21, 9), w=2.0)],
    "threepointarc": [("arc", 12, 16, 9, 0, 180, 2.0, INK), ("disc", 3, 16, 1.8, RED), ("disc", 12, 7, 1.8, RED), ("disc", 21, 16, 1.8, RED)],
    "ellipse": [L(*[(12 + 9.5 * math.cos(a), 12 + 6 * math.sin(a)) for a in [i * math.pi / 16 for i in range(33)]], w=2.0)],
    "ellipticarc": [L(*[(12 + 9.5 * math.cos(a), 14 - 7 * math.sin(a)) for a in [i * math.pi / 16 for i in range(17)]], w=2.0)],
    "balloon": [L((4, 4), (20, 4), (20, 15), (11, 15), (6, 21), (8, 15), (4, 15), (4, 4), w=1.8)],
    "dimension": [L((3, 5), (3, 19), w=1.2), L((21, 5), (21, 19), w=1.2), L((3, 12), (21, 12), w=1.4),
                  P((3, 12), (7, 10), (7, 14)), P((21, 12), (17, 10), (17, 14))],
    # group toolbar
    "mirrorlr": [L((12, 2), (12, 22), w=1.0, c=GREY), P((10, 5), (10, 19), (3, 19)), P((14, 5), (14, 19), (21, 19), c=BLUE)],
    "mirrortb": [L((2, 12), (22, 12), w=1.0, c=GREY), P((5, 10), (19, 10), (19, 3)), P((5, 14), (19, 14), (19, 21), c=BLUE)],
    "rotleft": [("arc", 12, 12, 8, 0, 270, 2.2, INK), P((12, 1), (16, 4), (12, 7))],
    "rotright": [("arc", 12, 12, 8, 270, 180, 2.2, INK), P((12, 1), (8, 4), (12, 7))],
    "rotate": [("arc", 12, 12, 8, 30, 330, 2.2, INK), P((19, 5), (22, 10), (16, 10)), L((12, 12), (18, 12), w=1.2, c=GREY)],
    "stretch": [box(3, 10, 13, 20, w=1.6), box(3, 4, 20, 20, w=1.0, c=BLUE), L((13, 10), (19, 5), w=1.6, c=BLUE), P((20, 4), (15, 5), (19, 9), c=BLUE)],
}

ON_VARIANTS = ["select", "wall", "text", "decotext", "polyroom", "rectroom", "stairs", "gridsnap", "linesnap", "coresnap"]


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "res/icons"
    os.makedirs(out, exist_ok=True)
    for name, shapes in ICONS.items():
        variants = [(name, False)] + ([(name + "_on", True)] if name in ON_VARIANTS else [])
        for vname, on in variants:
            for size in (16, 24):
                fname = f"{vname}-{size}.png"
                write_png(os.path.join(out, fname), render(shapes, size, on), size)


if __name__ == "__main__":
    main()
