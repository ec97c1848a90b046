#!/usr/bin/env python3
"""Writes tests/data/graphics_marks.txt and tests/data/graphics_frames.txt: the expected
pixels of every geometric mark and of every frame style, computed by brute force from the
drawing rules (one test per pixel, exact fractions), independently of the library's
incremental, clipped rasterisers.

Rules modelled (one-pixel pen):
  line A->B: n = max(|dx|, |dy|) steps, B excluded; step i lies at i along the major axis and
             floor((2 i |minor| + n) / 2n) along the minor one.
  rectangle (x1, y1, x2, y2): covers x1..x2-1, y1..y2-1; fill inside, outline on the border.
  ellipse: pixel centres inside or on the ellipse through the box edges; outline = filled
           pixels with a 4-neighbour outside.
  polygon: pixel (x, y) is filled when it lies between a left and a right crossing of row y
           (even-odd, crossings included), an edge crossing rows top <= y < bottom; then the
           closed outline is drawn.
"""
from fractions import Fraction
import math
import os
import sys

SIZE = 19
C = 9  # centre of the grid


class Grid:
    def __init__(self, w, h, fill="."):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def text(self):
        return "\n".join("".join(r) for r in self.px)


def line(g, a, b, c):
    dx, dy = b[0] - a[0], b[1] - a[1]
    n = max(abs(dx), abs(dy))
    for i in range(n):
        if abs(dx) >= abs(dy):
            x = a[0] + (1 if dx > 0 else -1) * i
            y = a[1] + (1 if dy > 0 else -1) * ((2 * i * abs(dy) + n) // (2 * n))
        else:
            y = a[1] + (1 if dy > 0 else -1) * i
            x = a[0] + (1 if dx > 0 else -1) * ((2 * i * abs(dx) + n) // (2 * n))
        g.set(x, y, c)


def polyline(g, pts, c):
    for p, q in zip(pts, pts[1:]):
        line(g, p, q, c)


def rect(g, x1, y1, x2, y2, pen, brush):
    for y in range(y1, y2):
        for x in range(x1, x2):
            border = x in (x1, x2 - 1) or y in (y1, y2 - 1)
            if border:
                g.set(x, y, pen)
            elif brush:
                g.set(x, y, brush)


def ellipse(g, x1, y1, x2, y2, pen, brush):
    cx, cy = Fraction(x1 + x2, 2), Fraction(y1 + y2, 2)
    a, b = Fraction(x2 - x1, 2), Fraction(y2 - y1, 2)

    def inside(x, y):
        u, v = (x + Fraction(1, 2) - cx) / a, (y + Fraction(1, 2) - cy) / b
        return u * u + v * v <= 1

    for y in range(y1, y2):
        for x in range(x1, x2):
            if not inside(x, y):
                continue
            edge = any(not inside(x + ex, y + ey) for ex, ey in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            if edge:
                g.set(x, y, pen)
            elif brush:
                g.set(x, y, brush)


def polygon(g, pts, pen, brush):
    if brush:
        ys = [p[1] for p in pts]
        for y in range(min(ys), max(ys) + 1):
            xs = []
            for k in range(len(pts)):
                (x0, y0), (x1, y1) = pts[k], pts[(k + 1) % len(pts)]
                if y0 == y1 or not (min(y0, y1) <= y < max(y0, y1)):
                    continue
                xs.append(x0 + Fraction((y - y0) * (x1 - x0), y1 - y0))
            xs.sort()
            for l, r in zip(xs[0::2], xs[1::2]):
                for x in range(math.ceil(l), math.floor(r) + 1):
                    g.set(x, y, brush)
    polyline(g, pts + [pts[0]], pen)


GLYPHS = {1: "00 00 08 1C 08 00 00", 2: "00 08 08 3E 08 08 00", 3: "08 08 08 7F 08 08 08",
          4: "00 00 14 08 14 00 00", 5: "00 22 14 08 14 22 00", 6: "41 22 14 08 14 22 41",
          18: "55 2A 55 2A 55 2A 55"}


def mark(code, printer):
    g = Grid(SIZE, SIZE)
    X = Y = C
    P = lambda dx, dy: (X + dx, Y + dy)
    ln = lambda ax, ay, bx, by: line(g, P(ax, ay), P(bx, by), "#")
    poly = lambda pts, fill: polygon(g, [P(*p) for p in pts], "#", "#" if fill else None)
    ell = lambda x1, y1, x2, y2, fill: ellipse(g, X + x1, Y + y1, X + x2, Y + y2, "#",
                                               "#" if fill else None)
    if code == 0:
        g.set(X, Y, "#")
    elif code in GLYPHS and not printer:
        for r, byte in enumerate(GLYPHS[code].split(), start=1):
            for b in range(7):
                if (int(byte, 16) >> b) & 1:
                    g.set(X + 3 - b, Y - 4 + r, "#")
    elif code in (1, 2, 3):
        a = code + 1
        ln(-a, 0, a, 0); ln(0, -a, 0, a)
    elif code in (4, 5, 6):
        a = code - 2
        ln(-a, -a, a, a); ln(-a, a, a, -a)
    elif code in (7, 8, 9):
        a = code - 6
        rect(g, X - a, Y - a, X + a + 1, Y + a + 1, "#", "#")
    elif code in (10, 11, 12):
        a = code - 9
        polyline(g, [P(-a, -a), P(-a, a), P(a, a), P(a, -a), P(-a, -a)], "#")
    elif code in (13, 19):
        polyline(g, [P(-3, 0), P(0, 3), P(3, 0), P(0, -3), P(-3, 0)], "#")
        if code == 13:
            g.set(X, Y, "#")
    elif code in (14, 15):
        a = code - 12
        poly([(-a, 0), (0, a), (a, 0), (0, -a)], True)
    elif code == 16:
        ell(-2, -2, 3, 3, False)
    elif code == 17:
        ell(-3, -3, 4, 4, False)
    elif code == 18:
        for i in range(1, 8):
            for j in range(1, 8):
                if (i + j) % 2 == 0:
                    ln(i - 4, j - 4, i - 3, j - 4)  # one pixel: the point itself
    elif code in (20, 21):
        a = code - 17
        ln(0, 0, -a, a); ln(0, 0, a, a)
    elif code in (22, 23):
        a = code - 19
        ln(0, 0, -a, -a); ln(0, 0, a, -a)
    elif code == 24:
        ell(-3, -3, 4, 4, True)
    elif code == 25:
        a, b = (3, 2) if printer else (4, 3)
        ln(-3, -3, a, a); ln(-3, -2, b, a); ln(-2, -3, a, b)
        ln(-3, 3, a, -a); ln(-3, 2, b, -a); ln(-2, 3, a, -b)
    elif code == 26:
        ell(-2, -2, 3, 3, True)
    elif code == 27:
        ell(-2, -2, 2, 2, False)
    elif code == 28:
        ell(-2, -2, 2, 2, True)
    elif code in (29, 30, 31, 32):
        a = 2 if code in (29, 31) else 3
        poly([(-a, 0), (0, a), (a, 0)], code < 31)
    elif code in (33, 34):
        poly([(-4, -3), (0, 4), (4, -3)], code == 34)
    elif code in (35, 36):
        poly([(-4, 3), (0, -4), (4, 3)], code == 36)
    elif code == 37:
        ln(-3, 0, 4, 0); ln(0, 0, 0, -8)
    elif code == 38:
        ln(-3, -2, 4, -2); ln(-3, 2, 4, 2); ln(0, -2, 0, 2)
    elif code == 39:
        ell(-3, -3, 4, 4, False)
        ln(-3, 0, 4, 0); ln(0, -3, 0, 4)
    elif 40 <= code <= 47:
        tri = {40: [(3, -2), (-2, 0), (3, 2)], 42: [(4, -3), (-3, 0), (4, 3)],
               44: [(-3, -2), (2, 0), (-3, 2)], 46: [(-4, -3), (3, 0), (-4, 3)]}
        poly(tri[code - (code % 2)], code % 2 == 1)
    elif code == 48:
        rect(g, X - 3, Y - 3, X + 4, Y + 4, "#", None)
        ln(-3, 0, 4, 0); ln(0, -3, 0, 4)
    elif code == 49:
        rect(g, X - 2, Y - 2, X + 3, Y + 3, "#", None)
        ln(-4, 0, 5, 0); ln(0, -4, 0, 5)
    elif code == 50:
        ln(-4, 0, 5, 0); ln(0, -4, 0, 5); ln(-3, -3, 4, 4); ln(-3, 3, 4, -4)
    elif code == 51:
        ln(-4, 0, 5, 0); ln(0, -4, 0, 5)
        ln(-1, -3, 2, -3); ln(-1, 3, 2, 3); ln(-3, -1, -3, 2); ln(3, -1, 3, 2)
    return g


FRAME_COLOURS = {"lowered": "cadb", "raised": "adbc", "embossed": "acca", "engraved": "caac"}


def frame(style):
    """Frame L=2, T=1, R=12, B=8 on a 16 x 11 grid; colours c1..c5 are the letters a..e."""
    g = Grid(16, 11)
    L, T, R, B = 2, 1, 12, 8
    if style == "simple":
        polyline(g, [(L, T), (L, B), (R, B), (R, T), (L, T)], "e")
        return g
    if style == "none":
        return g
    A, Bc, Cc, D = FRAME_COLOURS[style]
    polyline(g, [(L, B), (L, T), (R + 1, T)], A)
    polyline(g, [(R, T + 1), (R, B), (L - 1, B)], Bc)
    polyline(g, [(L + 1, B - 1), (L + 1, T + 1), (R, T + 1)], Cc)
    polyline(g, [(R - 1, T + 2), (R - 1, B - 1), (L, B - 1)], D)
    return g


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "data")
    with open(os.path.join(root, "graphics_marks.txt"), "w", newline="\n") as f:
        f.write("# Expected pixels of the geometric marks, drawn with a one-pixel black pen at\n"
                "# the centre (9, 9) of a white 19 x 19 bitmap: '#' pen colour, '.' untouched.\n"
                "# Written by tools/gen/gen_graphics_fixtures.py.\n")
        for code in range(52):
            f.write(f"mark {code} screen\n{mark(code, False).text()}\n")
        for code in (1, 2, 3, 4, 5, 6, 18, 25):
            f.write(f"mark {code} printer\n{mark(code, True).text()}\n")
    with open(os.path.join(root, "graphics_frames.txt"), "w", newline="\n") as f:
        f.write("# Expected pixels of DrawFrame(L=2, T=1, R=12, B=8) on a white 16 x 11 bitmap;\n"
                "# the letters a..e are the colours C1..C5, '.' untouched.\n"
                "# Written by tools/gen/gen_graphics_fixtures.py.\n")
        for style in ("none", "simple", "lowered", "raised", "embossed", "engraved"):
            f.write(f"frame {style}\n{frame(style).text()}\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
