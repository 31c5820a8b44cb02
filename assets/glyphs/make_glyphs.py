#!/usr/bin/env python3
"""Draws the file dialogs' tool-button glyphs: 16 x 16 bitmaps with 256 colours.

The bottom-left pixel holds the background, which the buttons draw transparent.
Run from this folder: python3 make_glyphs.py
"""
import struct

BACK = (255, 0, 255)
INK = (0, 0, 0)
BLUE = (30, 80, 200)
GREEN = (20, 140, 40)
FOLDER = (235, 190, 60)
EDGE = (150, 110, 20)
STAR = (250, 240, 40)

def blank():
    return [[BACK] * 16 for _ in range(16)]

def fill(p, x0, y0, x1, y1, c):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            p[y][x] = c

def folder(p):
    fill(p, 1, 5, 6, 6, FOLDER)
    fill(p, 1, 6, 13, 13, FOLDER)
    for x in range(1, 14):
        p[13][x] = EDGE
    for y in range(6, 14):
        p[y][1] = EDGE
        p[y][13] = EDGE

def arrow_left(p, c):
    for i in range(5):
        for y in range(7 - i, 9 + i):
            p[y][3 + i] = c
    fill(p, 8, 6, 13, 9, c)

def arrow_up(p, x0, c):
    for i in range(4):
        for x in range(x0 - i, x0 + 2 + i):
            p[1 + i][x] = c
    fill(p, x0, 5, x0 + 1, 9, c)

def glyph_back():
    p = blank()
    arrow_left(p, GREEN)
    return p

def glyph_up():
    p = blank()
    folder(p)
    arrow_up(p, 9, GREEN)
    return p

def glyph_newfolder():
    p = blank()
    folder(p)
    for x, y in [(12, 0), (12, 1), (12, 2), (12, 3), (12, 4), (10, 2), (11, 2), (13, 2), (14, 2),
                 (11, 1), (13, 1), (11, 3), (13, 3)]:
        p[y][x] = STAR
    return p

def glyph_lvstyle():
    p = blank()
    for y in (3, 7, 11):
        fill(p, 2, y, 4, y + 2, BLUE)
        fill(p, 6, y + 1, 13, y + 1, INK)
    return p

def glyph_stretch():
    p = blank()
    fill(p, 2, 2, 13, 2, INK)
    fill(p, 2, 13, 13, 13, INK)
    fill(p, 2, 2, 2, 13, INK)
    fill(p, 13, 2, 13, 13, INK)
    for i in range(4, 12):
        p[i][i] = BLUE
    fill(p, 4, 4, 6, 4, BLUE)
    fill(p, 4, 4, 4, 6, BLUE)
    fill(p, 9, 11, 11, 11, BLUE)
    fill(p, 11, 9, 11, 11, BLUE)
    return p

def write_bmp(name, pixels):
    palette = []
    for row in pixels:
        for c in row:
            if c not in palette:
                palette.append(c)
    palette += [(0, 0, 0)] * (256 - len(palette))
    rows = b""
    for row in reversed(pixels):  # bottom-up
        rows += bytes(palette.index(c) for c in row)
    header_size = 14 + 40 + 256 * 4
    info = struct.pack("<IiiHHIIiiII", 40, 16, 16, 1, 8, 0, len(rows), 2835, 2835, 256, 0)
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    head = struct.pack("<2sIHHI", b"BM", header_size + len(rows), 0, 0, header_size)
    with open(name, "wb") as f:
        f.write(head + info + pal + rows)

for name, make in [("BS_BACK", glyph_back), ("BS_UP", glyph_up), ("BS_NEWFOLDER", glyph_newfolder),
                   ("BS_LVSTYLE", glyph_lvstyle), ("BS_STRETCH", glyph_stretch)]:
    write_bmp(name.lower() + ".bmp", make())
