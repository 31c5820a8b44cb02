#!/usr/bin/env python3
"""Draws the image view's cursors as 32 x 32 monochrome .cur files in this folder.

Each cursor is black strokes with a one-pixel white outline on a transparent ground, so it
shows on light and dark pictures alike. Run it again after changing a drawing; the .cur files
it writes are the ones the build embeds (assets/resources.txt).
"""
import math
import os
import struct

SIZE = 32


class Canvas:
    def __init__(self):
        self.ink = set()

    def dot(self, x, y):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            self.ink.add((x, y))

    def line(self, x0, y0, x1, y1):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.dot(x0, y0)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def box(self, x0, y0, x1, y1, fill=False):
        if fill:
            for y in range(y0, y1 + 1):
                self.line(x0, y, x1, y)
        else:
            self.line(x0, y0, x1, y0)
            self.line(x1, y0, x1, y1)
            self.line(x1, y1, x0, y1)
            self.line(x0, y1, x0, y0)

    def ring(self, cx, cy, rx, ry, fill=False):
        steps = 96
        pts = [(round(cx + rx * math.cos(2 * math.pi * k / steps)), round(cy + ry * math.sin(2 * math.pi * k / steps)))
               for k in range(steps)]
        for a, b in zip(pts, pts[1:] + pts[:1]):
            self.line(a[0], a[1], b[0], b[1])
        if fill:
            for y in range(cy - ry, cy + ry + 1):
                for x in range(cx - rx, cx + rx + 1):
                    if ((x - cx) / max(rx, 1)) ** 2 + ((y - cy) / max(ry, 1)) ** 2 <= 1:
                        self.dot(x, y)

    def arc(self, cx, cy, r, start, end):
        steps = 48
        pts = [(round(cx + r * math.cos(math.radians(start + (end - start) * k / steps))),
                round(cy - r * math.sin(math.radians(start + (end - start) * k / steps)))) for k in range(steps + 1)]
        for a, b in zip(pts, pts[1:]):
            self.line(a[0], a[1], b[0], b[1])
        return pts[0], pts[-1]

    def head(self, x, y, dx, dy, size=4):
        """A filled arrow head with its tip at (x, y), pointing along (dx, dy)."""
        length = math.hypot(dx, dy)
        ux, uy = dx / length, dy / length
        for k in range(size + 1):
            bx, by = x - ux * k, y - uy * k
            self.line(round(bx - uy * k), round(by + ux * k), round(bx + uy * k), round(by - ux * k))

    def arrow2(self, x0, y0, x1, y1):
        """A double-headed arrow."""
        self.line(x0, y0, x1, y1)
        self.head(x0, y0, x0 - x1, y0 - y1)
        self.head(x1, y1, x1 - x0, y1 - y0)


def cross(c, x=15, y=15, arm=7, gap=2):
    c.line(x - arm, y, x - gap, y)
    c.line(x + gap, y, x + arm, y)
    c.line(x, y - arm, x, y - gap)
    c.line(x, y + gap, x, y + arm)


def plus(c, x, y):
    c.line(x - 3, y, x + 3, y)
    c.line(x, y - 3, x, y + 3)


def minus(c, x, y):
    c.line(x - 3, y, x + 3, y)


def magnifier(sign):
    c = Canvas()
    c.ring(12, 12, 8, 8)
    for k in range(3):
        c.line(18 + k, 19, 26 + k, 27)
    sign(c, 12, 12)
    return c, (12, 12)


def simple_cross(arm, gap, extra=None):
    def draw():
        c = Canvas()
        cross(c, arm=arm, gap=gap)
        if extra:
            extra(c)
        return c, (15, 15)
    return draw


def eraser():
    c = Canvas()
    c.line(4, 20, 16, 8)
    c.line(16, 8, 26, 18)
    c.line(26, 18, 14, 30)
    c.line(14, 30, 4, 20)
    c.line(9, 15, 19, 25)
    return c, (5, 20)


def hand():
    c = Canvas()
    for x in (10, 14, 18, 22):
        c.box(x - 1, 6 if x in (14, 18) else 8, x + 1, 17)
    c.box(6, 13, 8, 18)
    c.box(8, 16, 24, 26)
    return c, (15, 15)


def pen():
    c = Canvas()
    c.line(4, 27, 22, 9)
    c.line(7, 28, 25, 10)
    c.line(22, 9, 25, 10)
    c.line(4, 27, 2, 29)
    c.line(7, 28, 2, 29)
    return c, (2, 29)


def double_arrow(x0, y0, x1, y1):
    def draw():
        c = Canvas()
        c.arrow2(x0, y0, x1, y1)
        return c, (15, 15)
    return draw


def four_way():
    c = Canvas()
    c.arrow2(5, 15, 25, 15)
    c.arrow2(15, 5, 15, 25)
    return c, (15, 15)


def pointer_with(extra):
    """A small cross at the hot spot (top left) and a sign of the tool beside it."""
    def draw():
        c = Canvas()
        cross(c, 7, 7, arm=5, gap=1)
        extra(c)
        return c, (7, 7)
    return draw


def rotation(quadrant):
    """A quarter-circle arrow around the layer's centre, which lies toward the opposite corner."""
    def draw():
        c = Canvas()
        # The arc bulges toward the pointer's side of the rotation centre.
        start = {"right-above": 0, "left-above": 90, "left-below": 180, "right-below": 270}[quadrant]
        a, b = c.arc(15, 15, 12, start + 10, start + 80)
        c.head(a[0], a[1], *tangent(start + 10, -1), size=3)
        c.head(b[0], b[1], *tangent(start + 80, 1), size=3)
        c.dot(15, 15)
        return c, (15, 15)
    return draw


def tangent(degrees, direction):
    r = math.radians(degrees)
    return -math.sin(r) * direction, -math.cos(r) * direction


def tool(shape):
    return pointer_with(shape)


TOOLS = {
    "1795": lambda c: c.line(16, 28, 28, 16),
    "1796": lambda c: c.box(16, 18, 28, 28),
    "1797": lambda c: c.ring(22, 23, 6, 5),
    "1798": lambda c: (c.line(16, 17, 28, 17), c.line(22, 17, 22, 29)),
    "1799": lambda c: (c.line(16, 28, 28, 16), c.head(28, 16, 1, -1)),
    "1800": lambda c: (c.line(16, 28, 20, 18), c.line(20, 18, 24, 26), c.line(24, 26, 28, 17)),
    "1801": lambda c: c.box(16, 18, 28, 28, fill=True),
    "1802": lambda c: c.ring(22, 23, 6, 5, fill=True),
    "1803": lambda c: (c.box(16, 20, 28, 26), [c.line(x, 20, x, 22) for x in range(18, 28, 3)]),
    "1805": lambda c: (c.line(16, 28, 28, 28), c.line(16, 28, 27, 17)),
    "1806": lambda c: c.arc(22, 23, 6, 0, 270),
    "1807": lambda c: (c.box(16, 17, 28, 29), c.line(16, 17, 28, 29), c.line(28, 17, 16, 29)),
    "1808": lambda c: (c.box(18, 19, 22, 23, fill=True), c.box(23, 24, 27, 28, fill=True)),
}

CURSORS = {
    "ZOOMMENO": lambda: magnifier(minus),
    "ZOOMPIU": lambda: magnifier(plus),
    "CROCE": simple_cross(10, 0),
    "GOMMA": eraser,
    "MANO": hand,
    "PENNA": pen,
    "CROCE1": simple_cross(6, 0),
    "CROCE3": simple_cross(9, 2),
    "MOVE2": double_arrow(7, 7, 23, 23),
    "MOVEY": double_arrow(15, 4, 15, 26),
    "MOVE1": double_arrow(23, 7, 7, 23),
    "MOVEX": double_arrow(4, 15, 26, 15),
    "MOVE": four_way,
    "CROCE3+": simple_cross(9, 2, lambda c: plus(c, 25, 25)),
    "CROCE3-": simple_cross(9, 2, lambda c: minus(c, 25, 25)),
    "CROCE2": simple_cross(9, 2, lambda c: c.box(12, 12, 18, 18)),
    "CROCE2+": simple_cross(9, 2, lambda c: (c.box(12, 12, 18, 18), plus(c, 26, 26))),
    "CROCE2-": simple_cross(9, 2, lambda c: (c.box(12, 12, 18, 18), minus(c, 26, 26))),
    "ROT1": rotation("left-below"),
    "ROT2": rotation("right-above"),
    "ROT3": rotation("right-below"),
    "ROT4": rotation("left-above"),
}
CURSORS.update({name: tool(shape) for name, shape in TOOLS.items()})


def outline(ink):
    ring = set()
    for (x, y) in ink:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                p = (x + dx, y + dy)
                if p not in ink and 0 <= p[0] < SIZE and 0 <= p[1] < SIZE:
                    ring.add(p)
    return ring


def cur_file(ink, hotspot):
    white = outline(ink)
    xor_rows, and_rows = [], []
    for y in reversed(range(SIZE)):  # rows bottom-up
        xor_bits = and_bits = 0
        for x in range(SIZE):
            bit = 1 << (31 - x)
            if (x, y) in white:
                xor_bits |= bit
            elif (x, y) not in ink:
                and_bits |= bit
        xor_rows.append(struct.pack(">I", xor_bits))
        and_rows.append(struct.pack(">I", and_bits))
    image = (struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 1, 0, 0, 0, 0, 2, 0) +
             bytes([0, 0, 0, 0, 255, 255, 255, 0]) + b"".join(xor_rows) + b"".join(and_rows))
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 2, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    return directory + entry + image


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, draw in CURSORS.items():
        canvas, hotspot = draw()
        with open(os.path.join(here, name + ".cur"), "wb") as f:
            f.write(cur_file(canvas.ink, hotspot))


if __name__ == "__main__":
    main()
