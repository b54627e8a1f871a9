#!/usr/bin/env python3
"""Draws Packwright32's artwork and writes it into res/.

Standard library only: images are drawn into a small RGBA canvas and written
as BMP and ICO files by hand. Run from anywhere:

    python3 res/art/make_art.py [OUTPUT_DIR]      (default: res/)

Outputs:
  toolbar.bmp        7 images 22x22, strip 154x22, 4 bpp  (toolbar 128)
  toolbar16.bmp      7 images 16x15, strip 112x15, 4 bpp  (toolbar 131, menus)
  toolbar150.bmp     7 images 33x33, 4 bpp                 (toolbar 132, at 150%)
  toolbar200.bmp     7 images 44x44, 4 bpp                 (toolbar 133, at 200%)
  menu150.bmp        7 images 24x22, 4 bpp                 (toolbar 134, menus at 150%)
  menu200.bmp        7 images 32x30, 4 bpp                 (toolbar 135, menus at 200%)
  Packwright32.ico   32x32 and 16x16, 32 bpp with alpha    (icon 128)
  splash.bmp         421x261, 24 bpp                       (bitmap 136)
  splashver.bmp      138x16, 4 bpp                         (bitmap 144)
"""

import math
import os
import struct
import sys

OUT_DIR = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
if len(sys.argv) > 1:
    OUT_DIR = sys.argv[1]

# The four button colours. Toolbar bitmaps are loaded with these palette
# entries swapped for the current system colours, so the light grey
# background becomes the button face and turns transparent.
BLACK = (0, 0, 0)
DARK = (128, 128, 128)
FACE = (192, 192, 192)
WHITE = (255, 255, 255)

# Palette of the large toolbar: the four button colours plus twelve inks.
PAPER = (228, 228, 228)
YELLOW = (255, 214, 72)
GOLD = (204, 148, 24)
BLUE = (40, 104, 216)
NAVY = (16, 40, 120)
GREEN = (40, 176, 64)
DKGREEN = (16, 100, 32)
RED = (228, 44, 44)
DKRED = (136, 16, 16)
TAN = (228, 180, 112)
BROWN = (148, 92, 36)
SKY = (152, 196, 248)
TOOLBAR_PALETTE = [BLACK, DARK, FACE, WHITE, PAPER, YELLOW, GOLD, BLUE, NAVY,
                   GREEN, DKGREEN, RED, DKRED, TAN, BROWN, SKY]


# --------------------------------------------------------------------------
# Canvas and drawing primitives. Coordinates are pixels; rectangles are
# inclusive on both ends, which keeps pixel art readable.

class Canvas:
    def __init__(self, w, h, fill=(0, 0, 0, 0)):
        self.w, self.h = w, h
        if len(fill) == 3:
            fill = fill + (1.0,)
        self.px = [fill] * (w * h)

    def get(self, x, y):
        return self.px[y * self.w + x]

    def put(self, x, y, c):
        """Paints one pixel; colours with alpha below 1 are blended over."""
        if not (0 <= x < self.w and 0 <= y < self.h):
            return
        if len(c) == 3 or c[3] >= 1.0:
            self.px[y * self.w + x] = (c[0], c[1], c[2], 1.0)
            return
        a = c[3]
        if a <= 0:
            return
        r, g, b, da = self.px[y * self.w + x]
        oa = a + da * (1 - a)
        mix = lambda s, d: (s * a + d * da * (1 - a)) / oa
        self.px[y * self.w + x] = (mix(c[0], r), mix(c[1], g), mix(c[2], b), oa)

    def rect(self, x0, y0, x1, y1, c):
        for y in range(max(y0, 0), min(y1, self.h - 1) + 1):
            for x in range(max(x0, 0), min(x1, self.w - 1) + 1):
                self.put(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        self.line(x0, y0, x1, y0, c)
        self.line(x0, y1, x1, y1, c)
        self.line(x0, y0, x0, y1, c)
        self.line(x1, y0, x1, y1, c)

    def line(self, x0, y0, x1, y1, c):
        """Bresenham line, both end points included."""
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.put(x0, y0, c)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def polyline(self, pts, c, closed=True):
        n = len(pts) if closed else len(pts) - 1
        for i in range(n):
            (xa, ya), (xb, yb) = pts[i], pts[(i + 1) % len(pts)]
            self.line(xa, ya, xb, yb, c)

    def polygon(self, pts, c):
        """Fills every pixel whose centre lies inside (even-odd rule)."""
        ys = [p[1] for p in pts]
        for y in range(max(int(math.floor(min(ys))), 0), min(int(math.ceil(max(ys))), self.h - 1) + 1):
            cy = y + 0.5
            xs = []
            for i in range(len(pts)):
                (xa, ya), (xb, yb) = pts[i], pts[(i + 1) % len(pts)]
                if (ya <= cy < yb) or (yb <= cy < ya):
                    xs.append(xa + (cy - ya) * (xb - xa) / (yb - ya))
            xs.sort()
            for i in range(0, len(xs) - 1, 2):
                for x in range(max(int(math.ceil(xs[i] - 0.5)), 0),
                               min(int(math.floor(xs[i + 1] - 0.5)), self.w - 1) + 1):
                    self.put(x, y, c)

    def ellipse(self, cx, cy, rx, ry, c):
        """Fills the pixels whose centres lie inside the ellipse."""
        for y in range(max(int(cy - ry) - 1, 0), min(int(cy + ry) + 1, self.h - 1) + 1):
            for x in range(max(int(cx - rx) - 1, 0), min(int(cx + rx) + 1, self.w - 1) + 1):
                dx, dy = (x + 0.5 - cx) / rx, (y + 0.5 - cy) / ry
                if dx * dx + dy * dy <= 1.0:
                    self.put(x, y, c)

    def shade(self, x0, y0, x1, y1, fn):
        """Paints a rectangle with a colour computed per pixel: fn(x, y)."""
        for y in range(max(y0, 0), min(y1, self.h - 1) + 1):
            for x in range(max(x0, 0), min(x1, self.w - 1) + 1):
                self.put(x, y, fn(x, y))

    def blit(self, src, dx, dy):
        for y in range(src.h):
            for x in range(src.w):
                self.put(dx + x, dy + y, src.get(x, y))

    def flood(self, x, y, c):
        """Fills the 4-connected region of the colour at (x, y)."""
        old = self.get(x, y)
        todo = [(x, y)]
        while todo:
            x, y = todo.pop()
            if 0 <= x < self.w and 0 <= y < self.h and self.get(x, y) == old:
                self.put(x, y, c)
                todo += [(x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)]

    def outlined(self, pts, fill, ink):
        """A convex polygon in pixel-art style: its outline drawn with lines,
        its inside flood-filled, both on top of whatever lies beneath."""
        layer = Canvas(self.w, self.h)
        layer.polyline(pts, ink)
        cx = sum(p[0] for p in pts) // len(pts)
        cy = sum(p[1] for p in pts) // len(pts)
        layer.flood(cx, cy, fill)
        self.blit(layer, 0, 0)

    def shape(self, pixels, fill, ink=None):
        """Paints a set of pixels and, if ink is given, a one-pixel outline
        round it (the 8 neighbours of the set that are not in it)."""
        if ink is not None:
            for x, y in pixels:
                for dx in (-1, 0, 1):
                    for dy in (-1, 0, 1):
                        if (x + dx, y + dy) not in pixels:
                            self.put(x + dx, y + dy, ink)
        for x, y in pixels:
            self.put(x, y, fill)

    def sprite(self, x, y, rows, colours):
        """Paints pixel art given as strings; '.' leaves the pixel alone."""
        for j, row in enumerate(rows):
            for i, ch in enumerate(row):
                if ch != ".":
                    self.put(x + i, y + j, colours[ch])

    def text(self, x, y, s, scale, c):
        """Draws s in the 5x7 font; y is the top of the capitals."""
        for ch in s:
            glyph = FONT[ch]
            for r, row in enumerate(glyph):
                for k, bit in enumerate(row):
                    if bit == "#":
                        self.rect(x + k * scale, y + r * scale,
                                  x + (k + 1) * scale - 1, y + (r + 1) * scale - 1, c)
            x += (len(glyph[0]) + 1) * scale
        return x

    def downsample(self, f):
        """Box-filters by f in both directions (for smooth edges)."""
        out = Canvas(self.w // f, self.h // f)
        n = f * f
        for y in range(out.h):
            for x in range(out.w):
                r = g = b = a = 0.0
                for j in range(f):
                    base = (y * f + j) * self.w + x * f
                    for pr, pg, pb, pa in self.px[base:base + f]:
                        r += pr * pa
                        g += pg * pa
                        b += pb * pa
                        a += pa
                if a > 0:
                    out.px[y * out.w + x] = (r / a, g / a, b / a, a / n)
        return out


def text_width(s, scale):
    return (sum(len(FONT[ch][0]) + 1 for ch in s) - 1) * scale


def lerp(c0, c1, t):
    t = min(max(t, 0.0), 1.0)
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


# A small proportional 5x7 font. Rows 0-6 stand on the baseline; g, j, p, q
# and y have two more rows below it.
FONT_ROWS = {
    "A": ".###. #...# #...# ##### #...# #...# #...#",
    "B": "####. #...# #...# ####. #...# #...# ####.",
    "C": ".###. #...# #.... #.... #.... #...# .###.",
    "D": "####. #...# #...# #...# #...# #...# ####.",
    "E": "##### #.... #.... ####. #.... #.... #####",
    "F": "##### #.... #.... ####. #.... #.... #....",
    "G": ".###. #...# #.... #.### #...# #...# .####",
    "H": "#...# #...# #...# ##### #...# #...# #...#",
    "I": "### .#. .#. .#. .#. .#. ###",
    "J": "..### ...#. ...#. ...#. ...#. #..#. .##..",
    "K": "#...# #..#. #.#.. ##... #.#.. #..#. #...#",
    "L": "#.... #.... #.... #.... #.... #.... #####",
    "M": "#...# ##.## #.#.# #.#.# #...# #...# #...#",
    "N": "#...# #...# ##..# #.#.# #..## #...# #...#",
    "O": ".###. #...# #...# #...# #...# #...# .###.",
    "P": "####. #...# #...# ####. #.... #.... #....",
    "Q": ".###. #...# #...# #...# #.#.# #..#. .##.#",
    "R": "####. #...# #...# ####. #.#.. #..#. #...#",
    "S": ".#### #.... #.... .###. ....# ....# ####.",
    "T": "##### ..#.. ..#.. ..#.. ..#.. ..#.. ..#..",
    "U": "#...# #...# #...# #...# #...# #...# .###.",
    "V": "#...# #...# #...# #...# #...# .#.#. ..#..",
    "W": "#...# #...# #...# #.#.# #.#.# #.#.# .#.#.",
    "X": "#...# #...# .#.#. ..#.. .#.#. #...# #...#",
    "Y": "#...# #...# .#.#. ..#.. ..#.. ..#.. ..#..",
    "Z": "##### ....# ...#. ..#.. .#... #.... #####",
    "a": "..... ..... .###. ....# .#### #...# .####",
    "b": "#.... #.... ####. #...# #...# #...# ####.",
    "c": ".... .... .### #... #... #... .###",
    "d": "....# ....# .#### #...# #...# #...# .####",
    "e": "..... ..... .###. #...# ##### #.... .###.",
    "f": "..## .#.. #### .#.. .#.. .#.. .#..",
    "g": "..... ..... .#### #...# #...# #...# .#### ....# .###.",
    "h": "#.... #.... ####. #...# #...# #...# #...#",
    "i": ".#. ... ##. .#. .#. .#. ###",
    "j": "..# ... .## ..# ..# ..# ..# #.# .#.",
    "k": "#... #... #..# #.#. ##.. #.#. #..#",
    "l": "##. .#. .#. .#. .#. .#. ###",
    "m": "..... ..... ##.#. #.#.# #.#.# #.#.# #.#.#",
    "n": "..... ..... ####. #...# #...# #...# #...#",
    "o": "..... ..... .###. #...# #...# #...# .###.",
    "p": "..... ..... ####. #...# #...# #...# ####. #.... #....",
    "q": "..... ..... .#### #...# #...# #...# .#### ....# ....#",
    "r": ".... .... #.## ##.. #... #... #...",
    "s": "..... ..... .#### #.... .###. ....# ####.",
    "t": ".#.. .#.. #### .#.. .#.. .#.. ..##",
    "u": "..... ..... #...# #...# #...# #...# .####",
    "v": "..... ..... #...# #...# #...# .#.#. ..#..",
    "w": "..... ..... #...# #...# #.#.# #.#.# .#.#.",
    "x": "..... ..... #...# .#.#. ..#.. .#.#. #...#",
    "y": "..... ..... #...# #...# #...# #...# .#### ....# .###.",
    "z": "..... ..... ##### ...#. ..#.. .#... #####",
    "0": ".###. #...# #..## #.#.# ##..# #...# .###.",
    "1": ".#. ##. .#. .#. .#. .#. ###",
    "2": ".###. #...# ....# ...#. ..#.. .#... #####",
    "3": "####. ....# ....# .###. ....# ....# ####.",
    "4": "...#. ..##. .#.#. #..#. ##### ...#. ...#.",
    "5": "##### #.... ####. ....# ....# #...# .###.",
    "6": "..##. .#... #.... ####. #...# #...# .###.",
    "7": "##### ....# ...#. ..#.. .#... .#... .#...",
    "8": ".###. #...# #...# .###. #...# #...# .###.",
    "9": ".###. #...# #...# .#### ....# ...#. .##..",
    ".": ". . . . . . #",
    " ": "... ... ... ... ... ... ...",
}
FONT = {ch: rows.split() for ch, rows in FONT_ROWS.items()}


# --------------------------------------------------------------------------
# File writers.

def _bmp_rows(canvas, bpp, index_of):
    stride = (canvas.w * bpp + 31) // 32 * 4
    data = bytearray()
    for y in range(canvas.h - 1, -1, -1):
        row = bytearray()
        if bpp == 24:
            for x in range(canvas.w):
                r, g, b = rgb(canvas.get(x, y))
                row += bytes((b, g, r))
        else:
            idx = [index_of(rgb(canvas.get(x, y)), x, y) for x in range(canvas.w)]
            if bpp == 4:
                idx.append(0)
                row += bytes((idx[i] << 4) | idx[i + 1] for i in range(0, canvas.w, 2))
            else:
                row += bytes(idx)
        data += row + bytes(stride - len(row))
    return data


def rgb(c):
    return tuple(int(round(min(max(v, 0), 255))) for v in c[:3])


def write_bmp(name, canvas, bpp, palette=None):
    """Writes an uncompressed BMP. Paletted images carry a full palette
    (2^bpp entries), since loaders that remap system colours assume it."""
    table = b""
    index_of = None
    if bpp in (4, 8):
        full = list(palette) + [BLACK] * ((1 << bpp) - len(palette))
        table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in full)
        lookup = {c: i for i, c in reversed(list(enumerate(palette)))}

        def index_of(c, x, y):
            if c not in lookup:
                raise ValueError("%s: colour %s at %d,%d is not in the palette" % (name, c, x, y))
            return lookup[c]
    pixels = _bmp_rows(canvas, bpp, index_of)
    offset = 14 + 40 + len(table)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.w, canvas.h, 1, bpp, 0,
                       len(pixels), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    with open(os.path.join(OUT_DIR, name), "wb") as f:
        f.write(head + info + table + pixels)


def write_ico(name, images):
    """Writes an icon of 32-bit images with alpha and a matching AND mask."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for im in images:
        xor = bytearray()
        mask = bytearray()
        mstride = (im.w + 31) // 32 * 4
        for y in range(im.h - 1, -1, -1):
            mrow = bytearray(mstride)
            for x in range(im.w):
                r, g, b, a = im.get(x, y)
                alpha = int(round(a * 255))
                xor += bytes((rgb((b, g, r)) + (alpha,)))
                if alpha == 0:
                    mrow[x // 8] |= 0x80 >> (x % 8)
            mask += mrow
        info = struct.pack("<IiiHHIIiiII", 40, im.w, im.h * 2, 1, 32, 0,
                           len(xor) + len(mask), 0, 0, 0, 0)
        blob = info + xor + mask
        entries.append(struct.pack("<BBBBHHII", im.w % 256, im.h % 256, 0, 0, 1, 32,
                                   len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    with open(os.path.join(OUT_DIR, name), "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + b"".join(blobs))


# --------------------------------------------------------------------------
# Toolbar images, 22x22 (toolbar 128). Pixel art in the toolbar palette.

def page(c, x0, y0, x1, y1, fold, ink=BLACK, paper=WHITE, flap=PAPER, lines=None):
    """A sheet with its top right corner folded down."""
    for y in range(y0 + 1, y1):
        right = x1 - 1 if y > y0 + fold else x1 - fold + (y - y0) - 1
        c.rect(x0 + 1, y, right, y, paper)
    c.polyline([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)], ink)
    for k in range(1, fold):
        c.rect(x1 - fold + 1, y0 + k, x1 - fold + k - 1, y0 + k, flap)
    c.line(x1 - fold, y0, x1 - fold, y0 + fold, ink)
    c.line(x1 - fold, y0 + fold, x1, y0 + fold, ink)
    if lines:
        for y in range(y0 + fold + 2, y1 - 1, 2):
            c.line(x0 + 2, y, x1 - 3 if (y // 2) % 3 else x1 - 5, y, lines)


def icon22_new():
    c = Canvas(22, 22, FACE)
    page(c, 4, 1, 17, 20, 5)
    # a small spark marks the sheet as fresh
    c.rect(1, 3, 5, 3, YELLOW)
    c.rect(3, 1, 3, 5, YELLOW)
    c.put(3, 3, WHITE)
    return c


def icon22_open():
    c = Canvas(22, 22, FACE)
    # back of the folder with its tab
    c.outlined([(1, 18), (1, 4), (2, 3), (7, 3), (8, 4), (8, 5), (17, 5), (17, 18)], GOLD, BLACK)
    # a sheet inside
    c.rect(4, 7, 14, 12, WHITE)
    c.frame(4, 7, 14, 12, DARK)
    # front flap, opened towards the viewer
    c.outlined([(5, 10), (21, 10), (17, 18), (1, 18)], YELLOW, BLACK)
    c.line(6, 11, 19, 11, WHITE)
    return c


def icon22_save():
    c = Canvas(22, 22, FACE)
    c.outlined([(2, 2), (17, 2), (19, 4), (19, 19), (2, 19)], BLUE, BLACK)
    c.line(3, 3, 3, 18, SKY)
    # metal shutter with its slot
    c.rect(6, 3, 15, 8, PAPER)
    c.frame(6, 2, 15, 8, BLACK)
    c.rect(12, 4, 13, 7, NAVY)
    # label
    c.rect(5, 12, 16, 19, WHITE)
    c.frame(5, 12, 16, 19, BLACK)
    c.line(7, 14, 14, 14, BLUE)
    c.line(7, 16, 12, 16, BLUE)
    return c


def plus_pixels(cx, cy, arm, half):
    """A plus centred on pixel (cx, cy): arms of arm pixels, width 2*half+1."""
    return {(cx + dx, cy + dy) for dx in range(-arm, arm + 1) for dy in range(-arm, arm + 1)
            if abs(dx) <= half or abs(dy) <= half}


def cross_pixels(cx, cy, arm, half):
    """A diagonal cross centred on pixel (cx, cy), strokes 2*half+1 wide."""
    return {(cx + dx, cy + dy) for dx in range(-arm, arm + 1) for dy in range(-arm, arm + 1)
            if abs(dx - dy) <= half or abs(dx + dy) <= half}


def arrow_pixels(x0, y0, x1, yh, half, tip):
    """A bent arrow: up from (x0, y0) to the row yh, then right to a head
    whose tip is at column tip; strokes 3 pixels wide."""
    px = {(x, y) for x in range(x0 - 1, x0 + 2) for y in range(yh - 1, y0 + 1)}
    px |= {(x, y) for x in range(x0 - 1, x1 + 1) for y in range(yh - 1, yh + 2)}
    for x in range(x1, tip + 1):
        for y in range(yh - half, yh + half + 1):
            if abs(y - yh) <= tip - x:
                px.add((x, y))
    return px


def icon22_add():
    c = Canvas(22, 22, FACE)
    page(c, 2, 1, 14, 19, 4, lines=DARK)
    c.shape(plus_pixels(16, 15, 4, 1), GREEN, DKGREEN)
    return c


def icon22_remove():
    c = Canvas(22, 22, FACE)
    page(c, 2, 1, 14, 19, 4, lines=DARK)
    c.shape(cross_pixels(16, 15, 4, 1), RED, DKRED)
    return c


def icon22_extract():
    c = Canvas(22, 22, FACE)
    # the open box: dark inside, then the arrow, then the front face
    c.rect(0, 10, 12, 12, BROWN)
    c.frame(0, 10, 12, 12, BLACK)
    c.shape(arrow_pixels(5, 11, 14, 5, 4, 18), BLUE, NAVY)
    c.line(4, 5, 4, 11, SKY)
    c.line(4, 4, 13, 4, SKY)
    c.rect(0, 12, 12, 20, TAN)
    c.frame(0, 12, 12, 20, BLACK)
    # an archive box's label
    c.rect(3, 15, 9, 18, WHITE)
    c.frame(3, 15, 9, 18, BROWN)
    return c


def icon22_about():
    c = Canvas(22, 22, FACE)
    c.ellipse(11, 11, 10, 10, NAVY)
    c.ellipse(11, 11, 9, 9, BLUE)
    # a touch of light at the top left
    for x, y in [(6, 4), (7, 4), (8, 3), (9, 3), (5, 5), (4, 6), (4, 7)]:
        c.put(x, y, SKY)
    c.rect(10, 4, 11, 6, WHITE)
    c.rect(9, 9, 11, 9, WHITE)
    c.rect(10, 10, 11, 16, WHITE)
    c.rect(9, 17, 12, 17, WHITE)
    return c


# --------------------------------------------------------------------------
# Toolbar images, 16x15 (toolbar 131, the menus' images): the large
# toolbar's pictures in its colours, redrawn for the smaller cell.

SMALL_INKS = {"K": BLACK, "D": DARK, "L": FACE, "W": WHITE, "Y": YELLOW, "G": GOLD,
              "B": BLUE, "N": NAVY, "S": SKY, "T": TAN, "R": BROWN}


def icon16_new():
    c = Canvas(16, 15, FACE)
    page(c, 5, 0, 14, 14, 3)
    c.rect(0, 3, 4, 3, YELLOW)
    c.rect(2, 1, 2, 5, YELLOW)
    c.put(2, 3, WHITE)
    return c


def icon16_open():
    c = Canvas(16, 15, FACE)
    c.outlined([(0, 13), (0, 3), (1, 2), (5, 2), (6, 3), (12, 3), (12, 13)], GOLD, BLACK)
    c.rect(3, 5, 10, 8, WHITE)
    c.frame(3, 5, 10, 8, DARK)
    c.outlined([(4, 7), (15, 7), (12, 13), (0, 13)], YELLOW, BLACK)
    c.line(5, 8, 13, 8, WHITE)
    return c


def icon16_save():
    c = Canvas(16, 15, FACE)
    c.outlined([(1, 0), (13, 0), (14, 1), (14, 14), (1, 14)], BLUE, BLACK)
    c.line(2, 1, 2, 13, SKY)
    c.rect(4, 1, 11, 5, PAPER)
    c.frame(4, 0, 11, 5, BLACK)
    c.rect(9, 1, 10, 4, NAVY)
    c.rect(3, 8, 12, 14, WHITE)
    c.frame(3, 8, 12, 14, BLACK)
    c.line(5, 10, 10, 10, BLUE)
    c.line(5, 12, 9, 12, BLUE)
    return c


def icon16_add():
    c = Canvas(16, 15, FACE)
    page(c, 1, 0, 10, 12, 3, lines=DARK)
    c.shape(plus_pixels(11, 10, 3, 1), GREEN, DKGREEN)
    return c


def icon16_remove():
    c = Canvas(16, 15, FACE)
    page(c, 1, 0, 10, 12, 3, lines=DARK)
    c.sprite(7, 6, [
        "rrr...rrr",
        "rRRr.rRRr",
        "rRRRrRRRr",
        "rrRRRRRrr",
        ".rrRRRrr.",
        "rrRRRRRrr",
        "rRRRrRRRr",
        "rRRr.rRRr",
        "rrr...rrr"], {"R": RED, "r": DKRED})
    return c


def icon16_extract():
    c = Canvas(16, 15, FACE)
    # inside of the open box, the arrow rising out of it, the box's front
    c.rect(0, 7, 10, 9, BROWN)
    c.frame(0, 7, 10, 9, BLACK)
    shaft = {(x, y) for x in (3, 4) for y in range(3, 9)} | {(x, y) for x in range(3, 11) for y in (3, 4)}
    head = {(x, y) for y in range(1, 7) for x in range(10, 12 + min(y - 1, 6 - y) + 1)}
    c.shape(shaft | head, BLUE, NAVY)
    c.line(3, 4, 3, 8, SKY)
    c.line(3, 3, 10, 3, SKY)
    c.rect(0, 9, 10, 14, TAN)
    c.frame(0, 9, 10, 14, BLACK)
    c.rect(3, 11, 7, 13, WHITE)
    c.frame(3, 11, 7, 13, BROWN)
    return c


def icon16_about():
    c = Canvas(16, 15, FACE)
    c.sprite(1, 0, [
        "....NNNNNN....",
        "..NNBBBBBBNN..",
        ".NBSSBWWBBBBN.",
        ".NSBBBWWBBBBN.",
        "NBSBBBBBBBBBBN",
        "NBSBBWWWBBBBBN",
        "NBBBBBWWBBBBBN",
        "NBBBBBWWBBBBBN",
        "NBBBBBWWBBBBBN",
        "NBBBBBWWBBBBBN",
        ".NBBBWWWWBBBN.",
        ".NBBBBBBBBBBN.",
        "..NNBBBBBBNN..",
        "....NNNNNN...."], SMALL_INKS)
    return c


# --------------------------------------------------------------------------
# Larger images for screens at 150% and 200% text size: the 22x22 pictures
# drawn again from shapes, so that edges stay sharp where a stretched bitmap
# would be blurred or blocky. Coordinates are those of the 22x22 grid, as
# pixel edges; outlines are t pixels wide, inside each shape.

class Scaled:
    def __init__(self, w, h, size, t):
        self.c = Canvas(w, h, FACE)
        self.k = size / 22.0
        self.t = t
        self.ox, self.oy = (w - size) // 2, (h - size) // 2

    def _px(self, x, y):
        return self.ox + x * self.k, self.oy + y * self.k

    def poly(self, pts):
        layer = Canvas(self.c.w, self.c.h)
        layer.polygon([self._px(x, y) for x, y in pts], WHITE)
        return {(x, y) for y in range(layer.h) for x in range(layer.w) if layer.get(x, y)[3] > 0}

    def rect(self, x0, y0, x1, y1):
        return self.poly([(x0, y0), (x1, y0), (x1, y1), (x0, y1)])

    def ellipse(self, cx, cy, r):
        (px, py), pr = self._px(cx, cy), r * self.k
        return {(x, y) for y in range(self.c.h) for x in range(self.c.w)
                if (x + 0.5 - px) ** 2 + (y + 0.5 - py) ** 2 <= pr * pr}

    def bar(self, x0, y0, x1, y1, direction):
        """A stroke starting at the grid line y0 (or x0): t pixels thick
        where the grid is wide enough to keep strokes apart, else one."""
        (a, b), (e, f) = self._px(x0, y0), self._px(x1, y1)
        t = self.t if self.k >= 1.75 else 1
        if direction == "h":
            y = int(b)
            return {(x, y + i) for x in range(int(round(a)), int(round(e))) for i in range(t)}
        x = int(a)
        return {(x + i, y) for y in range(int(round(b)), int(round(f))) for i in range(t)}

    def paint(self, pixels, fill, ink=None):
        for x, y in pixels:
            self.c.put(x, y, fill)
        if ink is None:
            return
        inner = set(pixels)
        for _ in range(self.t):
            inner = {(x, y) for x, y in inner
                     if all(n in inner for n in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)))}
        for x, y in set(pixels) - inner:
            self.c.put(x, y, ink)


def scaled_page(d, x0, y0, x1, y1, fold, lines=None):
    d.paint(d.poly([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)]), WHITE, BLACK)
    d.paint(d.poly([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)]), PAPER, BLACK)
    if lines:
        for k, y in enumerate(range(y0 + fold + 2, y1 - 2, 2)):
            d.paint(d.bar(x0 + 2, y, x1 - (2 if k % 3 != 1 else 4), y, "h"), lines)


def scaled_new(d):
    scaled_page(d, 4, 1, 18, 21, 5)
    d.paint(d.rect(1, 3, 6, 4) | d.rect(3, 1, 4, 6), YELLOW)
    d.paint(d.rect(3, 3, 4, 4), WHITE)


def scaled_open(d):
    d.paint(d.poly([(1, 19), (1, 4.5), (2.5, 3), (7.5, 3), (9, 5), (18, 5), (18, 19)]), GOLD, BLACK)
    d.paint(d.rect(4, 7, 15, 13), WHITE, DARK)
    d.paint(d.poly([(4.5, 10), (21.5, 10), (17.5, 19), (0.5, 19)]), YELLOW, BLACK)
    d.paint(d.bar(6, 11, 19, 11, "h"), WHITE)


def scaled_save(d):
    d.paint(d.poly([(2, 2), (18, 2), (20, 4), (20, 20), (2, 20)]), BLUE, BLACK)
    d.paint(d.bar(3, 3, 3, 19, "v"), SKY)
    d.paint(d.rect(6, 2, 16, 9), PAPER, BLACK)
    d.paint(d.rect(12, 4, 14, 8), NAVY)
    d.paint(d.rect(5, 12, 17, 20), WHITE, BLACK)
    d.paint(d.bar(7, 14.5, 15, 14.5, "h"), BLUE)
    d.paint(d.bar(7, 16.5, 13, 16.5, "h"), BLUE)


def scaled_add(d):
    scaled_page(d, 2, 1, 15, 20, 4, lines=DARK)
    d.paint(d.rect(11, 13, 22, 18) | d.rect(14, 10, 19, 21), GREEN, DKGREEN)


def diagonal(d, cx, cy, sign, half_length, half_width):
    ux, uy = 0.7071, 0.7071 * sign
    nx, ny = -uy, ux
    return d.poly([(cx + ux * half_length * a + nx * half_width * b, cy + uy * half_length * a + ny * half_width * b)
                   for a, b in ((-1, -1), (1, -1), (1, 1), (-1, 1))])


def scaled_remove(d):
    scaled_page(d, 2, 1, 15, 20, 4, lines=DARK)
    d.paint(diagonal(d, 16.5, 15.5, 1, 6.2, 2.3) | diagonal(d, 16.5, 15.5, -1, 6.2, 2.3), RED, DKRED)


def scaled_extract(d):
    d.paint(d.rect(0, 10, 13, 13), BROWN, BLACK)
    d.paint(d.rect(3, 3, 8, 12) | d.rect(3, 3, 15, 8) | d.poly([(13.5, 0), (19.8, 5.5), (13.5, 11)]), BLUE, NAVY)
    d.paint(d.bar(4, 5, 4, 12, "v") | d.bar(4, 4, 14, 4, "h"), SKY)
    d.paint(d.rect(0, 12, 13, 21), TAN, BLACK)
    d.paint(d.rect(3, 15, 10, 19), WHITE, BROWN)


def scaled_about(d):
    d.paint(d.ellipse(11, 11, 10.5), BLUE, NAVY)
    shine = d.ellipse(11, 11, 9.2) - d.ellipse(12.3, 12.3, 9.2)
    d.paint({(x, y) for x, y in shine if x < d.ox + 9 * d.k and y < d.oy + 9 * d.k}, SKY)
    d.paint(d.rect(10, 4, 12, 7), WHITE)
    d.paint(d.rect(9, 9, 12, 10) | d.rect(10, 9, 12, 17) | d.rect(9, 17, 13, 18), WHITE)


SCALED_ICONS = [scaled_new, scaled_open, scaled_save, scaled_add, scaled_remove, scaled_extract, scaled_about]


def scaled_strip(w, h, size, t):
    icons = []
    for draw in SCALED_ICONS:
        d = Scaled(w, h, size, t)
        draw(d)
        icons.append(d.c)
    return strip(icons)


def strip(icons):
    first = icons[0]
    out = Canvas(first.w * len(icons), first.h, FACE)
    for i, im in enumerate(icons):
        out.blit(im, i * first.w, 0)
    return out


# --------------------------------------------------------------------------
# Program icon: a wooden crate, drawn large and reduced for smooth edges.

def iso_faces(ox, oy, s):
    """Top, left and right faces of an upright cube seen from above; (ox, oy)
    is the cube's top corner and s its edge length."""
    hx, hy = s * 0.866, s * 0.5
    top = [(ox, oy), (ox + hx, oy + hy), (ox, oy + 2 * hy), (ox - hx, oy + hy)]
    left = [(ox - hx, oy + hy), (ox, oy + 2 * hy), (ox, oy + 2 * hy + s), (ox - hx, oy + hy + s)]
    right = [(ox, oy + 2 * hy), (ox + hx, oy + hy), (ox + hx, oy + hy + s), (ox, oy + 2 * hy + s)]
    return top, left, right


def face_band(face, f0, f1):
    """The part of a side face between heights f0 and f1 (0 top, 1 bottom)."""
    (ax, ay), (bx, by), (cx_, cy_), (dx_, dy_) = face
    h0, h1 = (dy_ - ay) * f0, (dy_ - ay) * f1
    return [(ax, ay + h0), (bx, by + h0), (bx, by + h1), (ax, ay + h1)]


WOOD = (218, 164, 96)


def crate(c, ox, oy, s, t, dark=1.0, detail=True, outline=(44, 26, 8)):
    """A wooden crate: lit top, two shaded sides, planks and battens.
    t is the outline thickness in canvas pixels."""
    shade = lambda f: tuple(v * f * dark for v in WOOD)
    top, left, right = iso_faces(ox, oy, s)
    c.polygon(top, shade(1.14))
    c.polygon(left, shade(0.90))
    c.polygon(right, shade(0.66))
    if detail:
        for face, f in ((left, 0.72), (right, 0.52)):
            for k in (1, 2):
                p = face_band(face, k / 3.0, k / 3.0)
                thick_line(c, p[0][0], p[0][1], p[1][0], p[1][1], t * 0.6, shade(f * 0.8))
            c.polygon(face_band(face, 0.0, 0.16), shade(f))
            c.polygon(face_band(face, 0.84, 1.0), shade(f))
    for pts in (top, left, right):
        for i in range(4):
            (ax, ay), (bx, by) = pts[i], pts[(i + 1) % 4]
            thick_line(c, ax, ay, bx, by, t, outline)


def thick_line(c, x0, y0, x1, y1, t, col):
    """A line of thickness t as a filled quadrilateral with square caps."""
    dx, dy = x1 - x0, y1 - y0
    n = math.hypot(dx, dy) or 1.0
    nx, ny = -dy / n * t / 2, dx / n * t / 2
    ex, ey = dx / n * t / 2, dy / n * t / 2
    c.polygon([(x0 - ex + nx, y0 - ey + ny), (x1 + ex + nx, y1 + ey + ny),
               (x1 + ex - nx, y1 + ey - ny), (x0 - ex - nx, y0 - ey - ny)], col)


def quad_strip(p0, p1, p3, u0, u1):
    """The strip u0..u1 of the parallelogram spanned from p0 by p0->p1 (u)
    and p0->p3 (across)."""
    at = lambda u, w: (p0[0] + u * (p1[0] - p0[0]) + w * (p3[0] - p0[0]),
                       p0[1] + u * (p1[1] - p0[1]) + w * (p3[1] - p0[1]))
    return [at(u0, 0), at(u1, 0), at(u1, 1), at(u0, 1)]


def program_icon_small():
    """The crate at 16x16, drawn pixel by pixel: reduced from the large
    drawing it turns to mush."""
    c = Canvas(16, 16)
    c.sprite(0, 0, [
        "......OOOO......",
        "....OOCHHCOO....",
        "..OOHTTCCTTTOO..",
        "OOHTTCCTTCCTTTOO",
        "OLOOCTTTTTTCOORO",
        "OLLBOOTTTTOObRRO",
        "OLLBBLOOOORbbRRO",
        "OLLBBLLOORRbbRRO",
        "OLLBBLLOORRbbRRO",
        "OLLBBLLOORRbbRRO",
        "OLLBBLLOORRbbRRO",
        "OLLBBLLOORRbbRRO",
        "OOLBBLLOORRbbROO",
        "..OOBLLOORRbOO..",
        "....OOLOOROO....",
        "......OOOO......"], {
            "O": (52, 30, 10), "T": (240, 184, 106), "H": (255, 222, 160),
            "L": (204, 152, 88), "R": (150, 108, 60), "B": (60, 124, 226), "b": (34, 80, 176),
            "C": (100, 160, 244)})
    return c


def program_icon(size):
    """A crate tied with two crossing blue straps: the archive as a package."""
    f = 8
    S = size * f
    c = Canvas(S, S)
    t = f * (1.0 if size <= 16 else 1.2)
    s = (S - 2 * t) / 2.0              # the crate is 2s tall
    ox, oy = S / 2.0, t
    crate(c, ox, oy, s, t, detail=size > 16)
    top, left, right = iso_faces(ox, oy, s)
    u0, u1 = (0.40, 0.60) if size > 16 else (0.40, 0.62)
    ink = (14, 30, 80)
    strips = [
        (quad_strip(left[0], left[1], left[3], u0, u1), (56, 120, 224)),
        (quad_strip(right[0], right[1], right[3], u0, u1), (30, 74, 168)),
        (quad_strip(top[3], top[2], top[0], u0, u1), (92, 152, 240)),
        (quad_strip(top[2], top[1], top[3], u0, u1), (92, 152, 240)),
    ]
    for band, col in strips:
        c.polygon(band, col)
    for band, col in strips:
        for i in (1, 3):
            (ax, ay), (bx, by) = band[i], band[(i + 1) % 4]
            thick_line(c, ax, ay, bx, by, t * 0.5, ink)
    # the crate's edges again, over the straps
    for pts in (top, left, right):
        for i in range(4):
            (ax, ay), (bx, by) = pts[i], pts[(i + 1) % 4]
            thick_line(c, ax, ay, bx, by, t, (44, 26, 8))
    return c.downsample(f)


# --------------------------------------------------------------------------
# Splash artwork (bitmap 136) and its version label (bitmap 144).

SPLASH_W, SPLASH_H = 421, 261
# Where the dialog puts the version label (186,25 dialog units): 279,41 with
# the 8-point template font on Windows, 279,38 under Wine. The ribbon behind
# it is tall enough for both.
LABEL_X, LABEL_Y = 279, 40
RIBBON = (24, 40, 84)
RIBBON_EDGE = (226, 178, 64)
LABEL_INK = (250, 236, 200)


def splash():
    f = 2
    W, H = SPLASH_W * f, SPLASH_H * f
    c = Canvas(W, H)
    top, bottom, glow = (10, 22, 52), (36, 92, 140), (96, 156, 206)
    light_x, light_y = W * 0.80, H * 0.78

    def sky(x, y):
        base = lerp(top, bottom, y / H)
        d = math.hypot((x - light_x) / W, (y - light_y) / H)
        return lerp(base, glow, max(0.0, 0.5 - d) * 1.2)
    c.shade(0, 0, W - 1, H - 1, sky)

    # a faint floor grid running towards the horizon
    horizon = H * 0.60
    grid = (130, 190, 240, 0.10)
    for k in range(1, 9):
        y = int(horizon + (H - horizon) * (k / 8.0) ** 1.6)
        c.rect(0, y, W - 1, y + f - 1, grid)
    for k in range(-14, 15):
        thick_line(c, W * 0.5 + k * 16 * f, horizon, W * 0.5 + k * 64 * f, H, f * 0.8, grid)

    # a stack of crates on the floor, lower right: back, two in front, one on top
    # (kept above y = 236: where the template font is smaller, as under
    # Wine, the window comes out 240 pixels high and cuts off the bottom)
    s = 24 * f
    hx, hy = s * 0.866, s * 0.5
    ox, oy = W - 66 * f, 174 * f
    t = 1.5 * f
    crate(c, ox, oy, s, t, dark=0.80)
    crate(c, ox - hx, oy + hy, s, t, dark=0.92)
    crate(c, ox + hx, oy + hy, s, t, dark=0.86)
    crate(c, ox, oy - s, s, t, dark=1.0)

    # ribbon for the version label, running out of the right edge
    ry0, ry1 = (LABEL_Y - 7) * f, (LABEL_Y + 16 + 7) * f
    rx0 = (LABEL_X - 16) * f
    c.polygon([(rx0, ry0), (W, ry0), (W, ry1), (rx0, ry1), (rx0 + 8 * f, (ry0 + ry1) / 2)], RIBBON)
    c.rect(int(rx0), ry0, W - 1, ry0 + f - 1, RIBBON_EDGE)
    c.rect(int(rx0), ry1 - f, W - 1, ry1 - 1, RIBBON_EDGE)

    # title
    x0, y = 24 * f, 66 * f
    shadow = (0, 0, 0, 0.55)
    c.text(x0 + f, y + 2 * f, "Halvard Manager", 3 * f, shadow)
    c.text(x0, y, "Halvard Manager", 3 * f, (176, 204, 236))
    y += 34 * f
    gold_text(c, x0, y, "PACKWRIGHT32", 5 * f)
    y += 45 * f
    c.rect(x0, y, x0 + text_width("PACKWRIGHT32", 5 * f), y + f - 1, RIBBON_EDGE)
    y += 8 * f
    c.text(x0 + f, y + f, "VPP ARCHIVE EDITOR", 2 * f, shadow)
    c.text(x0, y, "VPP ARCHIVE EDITOR", 2 * f, (208, 222, 240))
    return c.downsample(f)


def gold_text(c, x, y, s, scale):
    """Capitals with a dark outline, a drop shadow and a vertical gold fill."""
    mask = Canvas(text_width(s, scale) + 1, 7 * scale + 1)
    mask.text(0, 0, s, scale, (255, 255, 255))
    edge = max(scale // 4, 1)
    for yy in range(mask.h):
        for xx in range(mask.w):
            if mask.get(xx, yy)[3] > 0:
                c.rect(x + xx - edge + 2 * edge, y + yy - edge + 3 * edge,
                       x + xx + edge + 2 * edge, y + yy + edge + 3 * edge, (0, 0, 0, 0.35))
    for yy in range(mask.h):
        for xx in range(mask.w):
            if mask.get(xx, yy)[3] > 0:
                c.rect(x + xx - edge, y + yy - edge, x + xx + edge, y + yy + edge, (40, 22, 0))
    light, deep = (255, 236, 150), (214, 136, 24)
    for yy in range(mask.h):
        col = lerp(light, deep, yy / mask.h)
        if (yy // max(scale // 2, 1)) == 1:
            col = lerp(col, (255, 255, 255), 0.5)
        for xx in range(mask.w):
            if mask.get(xx, yy)[3] > 0:
                c.put(x + xx, y + yy, col)


def release_name():
    """PACKWRIGHT_VERSION_NAME from res/version.h, the release's one source."""
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "version.h")
    for line in open(path):
        if line.startswith("#define PACKWRIGHT_VERSION_NAME "):
            return line.split('"')[1]
    raise SystemExit("res/version.h has no PACKWRIGHT_VERSION_NAME")


def splash_version():
    """The version label: light capitals on the ribbon's colour."""
    c = Canvas(138, 16, RIBBON)
    s = release_name()
    w = text_width(s, 2)
    c.text((138 - w) // 2, 1, s, 2, LABEL_INK)
    return c


# --------------------------------------------------------------------------

def main():
    big = [icon22_new(), icon22_open(), icon22_save(), icon22_add(),
           icon22_remove(), icon22_extract(), icon22_about()]
    small = [icon16_new(), icon16_open(), icon16_save(), icon16_add(),
             icon16_remove(), icon16_extract(), icon16_about()]
    write_bmp("toolbar.bmp", strip(big), 4, TOOLBAR_PALETTE)
    write_bmp("toolbar16.bmp", strip(small), 4, TOOLBAR_PALETTE)
    write_bmp("toolbar150.bmp", scaled_strip(33, 33, 33, 1), 4, TOOLBAR_PALETTE)
    write_bmp("toolbar200.bmp", scaled_strip(44, 44, 44, 2), 4, TOOLBAR_PALETTE)
    # The menus' 150% images are the 22x22 pictures in a cell one pixel wider each side.
    wide = Canvas(24 * len(big), 22, FACE)
    for i, im in enumerate(big):
        wide.blit(im, 24 * i + 1, 0)
    write_bmp("menu150.bmp", wide, 4, TOOLBAR_PALETTE)
    write_bmp("menu200.bmp", scaled_strip(32, 30, 30, 2), 4, TOOLBAR_PALETTE)
    write_ico("Packwright32.ico", [program_icon(32), program_icon_small()])
    write_bmp("splash.bmp", splash(), 24)
    write_bmp("splashver.bmp", splash_version(), 4, [RIBBON, LABEL_INK, BLACK, DARK, FACE, WHITE])


if __name__ == "__main__":
    main()
