#!/usr/bin/env python3
"""Draws the program's icon set as .ico files in this folder, each with a 16 x 16 and a
32 x 32 image (32-bit colour with alpha, plus the AND mask older readers want).

Shapes are described in a unit square and sampled 4 x 4 per pixel, so both sizes come from
one drawing. Run it again after changing a drawing; the .ico files it writes are the ones the
build embeds (assets/resources.txt).
"""
import math
import os
import struct

SAMPLES = 4


# Shapes: functions (x, y) -> bool over the unit square.
def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def rounded(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r0, r1):
    return lambda x, y: r0 * r0 <= (x - cx) ** 2 + (y - cy) ** 2 <= r1 * r1


def stroke(x0, y0, x1, y1, w):
    """A segment with round ends, w wide."""
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy or 1e-9

    def inside(x, y):
        t = min(max(((x - x0) * dx + (y - y0) * dy) / length2, 0), 1)
        px, py = x0 + t * dx, y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= (w / 2) ** 2
    return inside


def polygon(*points):
    def inside(x, y):
        hit = False
        n = len(points)
        for i in range(n):
            (xa, ya), (xb, yb) = points[i], points[(i + 1) % n]
            if (ya > y) != (yb > y) and x < xa + (y - ya) * (xb - xa) / (yb - ya):
                hit = not hit
        return hit
    return inside


def arc(cx, cy, r, start, end, w, steps=12):
    """Strokes along a circle from angle start to end (degrees, counter-clockwise, y down)."""
    parts = []
    for k in range(steps):
        a0 = math.radians(start + (end - start) * k / steps)
        a1 = math.radians(start + (end - start) * (k + 1) / steps)
        parts.append(stroke(cx + r * math.cos(a0), cy - r * math.sin(a0),
                            cx + r * math.cos(a1), cy - r * math.sin(a1), w))
    return lambda x, y: any(p(x, y) for p in parts)


def render(layers, size):
    """layers: (shape, (r, g, b, a)) painted in order. Returns rows of (r, g, b, a)."""
    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0.0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) / size
                    y = (py + (sy + 0.5) / SAMPLES) / size
                    sr = sg = sb = sa = 0.0
                    for shape, (cr, cg, cb, ca) in layers:
                        if shape(x, y):
                            fa = ca / 255
                            sr = cr * fa + sr * (1 - fa)
                            sg = cg * fa + sg * (1 - fa)
                            sb = cb * fa + sb * (1 - fa)
                            sa = fa + sa * (1 - fa)
                    r, g, b, a = r + sr, g + sg, b + sb, a + sa
            n = SAMPLES * SAMPLES
            alpha = a / n
            if alpha <= 0:
                row.append((0, 0, 0, 0))
            else:
                # Colours were summed premultiplied; the file stores them straight.
                row.append((round(r / n / alpha), round(g / n / alpha), round(b / n / alpha), round(alpha * 255)))
        pixels.append(row)
    return pixels


def ico_image(pixels):
    size = len(pixels)
    header = struct.pack('<IiiHHIIiiII', 40, size, 2 * size, 1, 32, 0, 0, 0, 0, 0, 0)
    # Rows bottom-up, BGRA.
    xor = b''.join(bytes(c for r, g, b, a in row for c in (b, g, r, a)) for row in reversed(pixels))
    stride = (size + 31) // 32 * 4
    mask = b''
    for row in reversed(pixels):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x >> 3] |= 0x80 >> (x & 7)
        mask += bytes(bits)
    return header + xor + mask


def write_ico(name, layers):
    images = [ico_image(render(layers, size)) for size in (16, 32)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((16, 32), images):
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b''.join(images)
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), name + '.ico'), 'wb') as f:
        f.write(out)


OUTLINE = (60, 60, 60, 255)
WHITE = (255, 255, 255, 255)
PAPER = (250, 250, 245, 255)
FOLDER = (236, 184, 60, 255)
FOLDER_DARK = (196, 140, 30, 255)


def page(fold=True):
    layers = [(polygon((0.18, 0.04), (0.64, 0.04), (0.84, 0.24), (0.84, 0.96), (0.18, 0.96)), OUTLINE),
              (polygon((0.23, 0.09), (0.61, 0.09), (0.79, 0.27), (0.79, 0.91), (0.23, 0.91)), PAPER)]
    if fold:
        layers.append((polygon((0.61, 0.09), (0.61, 0.27), (0.79, 0.27)), (200, 200, 195, 255)))
    return layers


def monitor(screen):
    return [(rounded(0.06, 0.10, 0.94, 0.72, 0.06), OUTLINE), (rect(0.13, 0.17, 0.87, 0.65), screen),
            (rect(0.42, 0.72, 0.58, 0.84), OUTLINE), (rounded(0.26, 0.82, 0.74, 0.92, 0.03), OUTLINE)]


def round_sign(rim, colour, symbol):
    return [(disc(0.5, 0.5, 0.47), rim), (disc(0.5, 0.5, 0.42), colour)] + [(s, WHITE) for s in symbol]


ICONS = {
    # The program: a frame of coloured tiles, its mosaic.
    'application': [(rounded(0.04, 0.04, 0.96, 0.96, 0.12), OUTLINE)] + [
        (rect(0.12 + 0.27 * i, 0.12 + 0.27 * j, 0.33 + 0.27 * i, 0.33 + 0.27 * j), colour)
        for (i, j), colour in zip([(i, j) for j in range(3) for i in range(3)],
                                  [(230, 70, 60, 255), (250, 190, 40, 255), (90, 180, 70, 255),
                                   (60, 140, 220, 255), (250, 250, 245, 255), (230, 70, 60, 255),
                                   (250, 190, 40, 255), (60, 140, 220, 255), (90, 180, 70, 255)])],
    'hand': round_sign((120, 20, 20, 255), (220, 40, 40, 255), [stroke(0.32, 0.32, 0.68, 0.68, 0.13), stroke(0.68, 0.32, 0.32, 0.68, 0.13)]),
    'question': round_sign((20, 50, 120, 255), (50, 110, 210, 255), [arc(0.5, 0.37, 0.14, 170, -90, 0.11), stroke(0.5, 0.51, 0.5, 0.6, 0.11),
                                                 disc(0.5, 0.75, 0.07)]),
    'exclamation': [(polygon((0.5, 0.03), (0.98, 0.93), (0.02, 0.93)), (150, 110, 0, 255)),
                    (polygon((0.5, 0.12), (0.91, 0.88), (0.09, 0.88)), (250, 205, 40, 255)),
                    (stroke(0.5, 0.34, 0.5, 0.62, 0.11), (30, 30, 30, 255)), (disc(0.5, 0.76, 0.065), (30, 30, 30, 255))],
    'asterisk': round_sign((20, 50, 120, 255), (50, 110, 210, 255), [disc(0.5, 0.28, 0.075), stroke(0.5, 0.45, 0.5, 0.76, 0.12)]),
    'desktop': monitor((70, 150, 210, 255)) + [(rect(0.19, 0.23, 0.29, 0.33), WHITE), (rect(0.19, 0.39, 0.29, 0.49), WHITE)],
    'computer': monitor((40, 90, 160, 255)) + [(rect(0.13, 0.52, 0.87, 0.65), (70, 130, 200, 255))],
    'drive': [(rounded(0.06, 0.30, 0.94, 0.74, 0.07), OUTLINE), (rounded(0.11, 0.35, 0.89, 0.69, 0.05), (190, 190, 195, 255)),
              (rect(0.16, 0.56, 0.62, 0.62), (120, 120, 125, 255)), (disc(0.78, 0.59, 0.05), (60, 200, 60, 255))],
    'removable': [(rounded(0.28, 0.04, 0.72, 0.30, 0.03), (150, 150, 155, 255)), (rect(0.38, 0.10, 0.45, 0.18), OUTLINE),
                  (rect(0.55, 0.10, 0.62, 0.18), OUTLINE), (rounded(0.20, 0.28, 0.80, 0.96, 0.08), OUTLINE),
                  (rounded(0.25, 0.33, 0.75, 0.91, 0.06), (230, 130, 40, 255))],
    'home': [(polygon((0.5, 0.06), (0.97, 0.50), (0.03, 0.50)), (160, 50, 40, 255)),
             (rect(0.15, 0.46, 0.85, 0.94), OUTLINE), (rect(0.20, 0.50, 0.80, 0.89), (240, 225, 190, 255)),
             (rect(0.42, 0.62, 0.58, 0.89), (120, 80, 40, 255))],
    'folder': [(polygon((0.04, 0.16), (0.38, 0.16), (0.46, 0.26), (0.96, 0.26), (0.96, 0.86), (0.04, 0.86)), FOLDER_DARK),
               (rect(0.08, 0.32, 0.92, 0.82), FOLDER)],
    'folderopen': [(polygon((0.04, 0.16), (0.38, 0.16), (0.46, 0.26), (0.90, 0.26), (0.90, 0.86), (0.04, 0.86)), FOLDER_DARK),
                   (rect(0.14, 0.30, 0.82, 0.60), PAPER),
                   (polygon((0.20, 0.42), (0.99, 0.42), (0.86, 0.86), (0.04, 0.86)), FOLDER)],
    'file': page(),
    'picture': page(False) + [(rect(0.28, 0.30, 0.74, 0.78), (120, 190, 240, 255)), (disc(0.62, 0.42, 0.07), (250, 210, 40, 255)),
                              (polygon((0.28, 0.78), (0.45, 0.50), (0.62, 0.78)), (60, 150, 60, 255)),
                              (polygon((0.50, 0.78), (0.62, 0.60), (0.74, 0.78)), (40, 120, 50, 255))],
    'text': page() + [(rect(0.30, 0.22 + 0.13 * k, 0.72 if k % 2 == 0 else 0.62, 0.26 + 0.13 * k), (90, 90, 100, 255))
                      for k in range(1, 6)],
}

if __name__ == '__main__':
    for name, layers in ICONS.items():
        write_ico(name, layers)
