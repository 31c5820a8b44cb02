#!/usr/bin/env python3
"""Draws the four preset frame pictures of the image view library beside this script.

Each picture is a simple frame around an inner area where another picture goes. A tEXt
comment pads each file to the byte length the library's preset list records for it.
"""
import os
import struct
import zlib

OUT = os.path.dirname(os.path.abspath(__file__))


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png(width, height, colour_type, rows, palette=None, size=None):
    """rows: one bytes object per row, already in the colour type's layout."""
    header = struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)
    raw = b"".join(b"\x00" + row for row in rows)
    parts = [chunk(b"IHDR", header)]
    if palette:
        parts.append(chunk(b"PLTE", b"".join(bytes(c) for c in palette)))
    idat = chunk(b"IDAT", zlib.compress(raw, 9))
    end = chunk(b"IEND", b"")
    body = b"\x89PNG\r\n\x1a\n" + b"".join(parts)
    if size is not None:
        free = size - len(body) - len(idat) - len(end) - 12 - len(b"Comment\x00")
        if free < 0:
            raise SystemExit(f"picture of {width} x {height} does not fit in {size} bytes")
        text = (b"Preset picture frame. " * (free // 22 + 1))[:free]
        body += chunk(b"tEXt", b"Comment\x00" + text)
    data = body + idat + end
    assert size is None or len(data) == size
    return data


def inside(x, y, rect):
    left, top, right, bottom = rect
    return left <= x < right and top <= y < bottom


def ring(x, y, rect):
    """Distance in pixels from the inner area's edge, outwards (0 inside)."""
    left, top, right, bottom = rect
    dx = max(left - x, x - (right - 1), 0)
    dy = max(top - y, y - (bottom - 1), 0)
    return max(dx, dy)


def wooden_frame():
    # 162 x 159, RGBA: rounded outer corners and a see-through inner area.
    w, h, rect = 162, 159, (18, 29, 140, 119)
    rows = []
    for y in range(h):
        row = bytearray()
        for x in range(w):
            if inside(x, y, rect):
                row += bytes((0, 0, 0, 0))
                continue
            cx = min(x, w - 1 - x)
            cy = min(y, h - 1 - y)
            radius = 12
            if cx < radius and cy < radius and (radius - cx) ** 2 + (radius - cy) ** 2 > radius * radius:
                row += bytes((0, 0, 0, 0))
                continue
            d = ring(x, y, rect)
            if d == 1:
                row += bytes((60, 36, 18, 255))  # dark line around the opening
            else:
                grain = (x * 7 + y * 3) % 23
                shade = 140 + grain + (20 if (x + y) % 2 else 0) - d
                row += bytes((min(shade, 255), max(shade - 50, 0), max(shade - 100, 0), 255 if d > 2 else 230))
        rows.append(bytes(row))
    return png(w, h, 6, rows, size=9376)


def film_frame():
    # 112 x 100, RGB: a film strip with sprocket holes on both sides.
    w, h, rect = 112, 100, (13, 1, 95, 98)
    rows = []
    for y in range(h):
        row = bytearray()
        for x in range(w):
            if inside(x, y, rect):
                row += bytes((255, 255, 255))
            elif (3 <= x < 9 or 100 <= x < 106) and y % 10 in (3, 4, 5, 6):
                row += bytes((230, 230, 220))
            else:
                row += bytes((24, 24, 24))
        rows.append(bytes(row))
    return png(w, h, 2, rows, size=1055)


def golden_frame():
    # 163 x 108, palette: gold bands around a white area.
    w, h, rect = 163, 108, (30, 14, 147, 92)
    palette = [(255, 255, 255), (120, 84, 20), (200, 160, 60), (240, 210, 120), (90, 60, 10)]
    rows = []
    for y in range(h):
        row = bytearray()
        for x in range(w):
            if inside(x, y, rect):
                row.append(0)
            else:
                d = ring(x, y, rect)
                row.append(4 if d == 1 else 1 + (d // 4) % 3)
        rows.append(bytes(row))
    return png(w, h, 3, rows, palette=palette, size=1252)


def tiled_frame():
    # 150 x 150, palette: a checkered border around a white square.
    w, h, rect = 150, 150, (17, 17, 131, 131)
    palette = [(255, 255, 255), (30, 60, 140), (220, 230, 250), (10, 20, 60)]
    rows = []
    for y in range(h):
        row = bytearray()
        for x in range(w):
            if inside(x, y, rect):
                row.append(0)
            elif ring(x, y, rect) == 1:
                row.append(3)
            else:
                row.append(1 if ((x // 4) + (y // 4)) % 2 else 2)
        rows.append(bytes(row))
    return png(w, h, 3, rows, palette=palette, size=3329)


def main():
    os.makedirs(OUT, exist_ok=True)
    for index, picture in enumerate((wooden_frame, film_frame, golden_frame, tiled_frame)):
        with open(os.path.join(OUT, f"frame{index}.png"), "wb") as f:
            f.write(picture())


if __name__ == "__main__":
    main()
