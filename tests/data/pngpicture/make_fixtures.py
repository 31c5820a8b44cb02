#!/usr/bin/env python3
"""Writes the PNG fixtures of the picture tests: every colour type and bit depth, plain and
Adam7, rows filtered with all five filter types in turn, samples from a fixed pseudo-random
sequence. Run it in this folder; the files are checked in."""
import struct
import zlib

ADAM7 = [(0, 0, 8, 8), (0, 4, 8, 8), (4, 0, 8, 4), (0, 2, 4, 4), (2, 0, 4, 2), (0, 1, 2, 2), (1, 0, 2, 1)]
CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}
COMBOS = [(0, 1), (0, 2), (0, 4), (0, 8), (0, 16), (2, 8), (2, 16), (3, 1), (3, 2), (3, 4), (3, 8),
          (4, 8), (4, 16), (6, 8), (6, 16)]


def chunk(name, data):
    return struct.pack(">I", len(data)) + name + data + struct.pack(">I", zlib.crc32(name + data) & 0xFFFFFFFF)


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def filter_row(kind, row, prev, bpp):
    out = bytearray()
    for i, x in enumerate(row):
        a = row[i - bpp] if i >= bpp else 0
        b = prev[i]
        c = prev[i - bpp] if i >= bpp else 0
        pred = [0, a, b, (a + b) // 2, paeth(a, b, c)][kind]
        out.append((x - pred) & 255)
    return bytes([kind]) + bytes(out)


def pack(samples, depth):
    if depth == 16:
        return b"".join(struct.pack(">H", s) for s in samples)
    if depth == 8:
        return bytes(samples)
    out, acc, bits = bytearray(), 0, 0
    for s in samples:
        acc = (acc << depth) | s
        bits += depth
        if bits == 8:
            out.append(acc)
            acc, bits = 0, 0
    if bits:
        out.append(acc << (8 - bits))
    return bytes(out)


class Rng:
    def __init__(self, seed):
        self.x = seed

    def next(self, limit):
        self.x = (self.x * 1103515245 + 12345) & 0x7FFFFFFF
        return (self.x >> 8) % limit


def make(ct, depth, interlace, width, height, extra=b"", seed=1):
    rng = Rng(seed + ct * 100 + depth)
    limit = 1 << depth
    ch = CHANNELS[ct]
    pixels = [[[rng.next(limit) for _ in range(ch)] for _ in range(width)] for _ in range(height)]
    bpp = max(1, ch * depth // 8)
    raw = bytearray()
    passes = ADAM7 if interlace else [(0, 0, 1, 1)]
    n = 0
    for (r0, c0, rs, cs) in passes:
        cols = list(range(c0, width, cs))
        if not cols:
            continue
        prev = None
        for y in range(r0, height, rs):
            row = pack([s for x in cols for s in pixels[y][x]], depth)
            if prev is None:
                prev = bytes(len(row))
            raw += filter_row(n % 5, row, prev, bpp)
            prev = row
            n += 1
    out = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, ct, 0, 0, interlace))
    if ct == 3:
        out += chunk(b"PLTE", bytes((i * 37 + k * 91) & 255 for i in range(limit) for k in range(3)))
    out += extra
    out += chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")
    return out


for ct, depth in COMBOS:
    for interlace in (0, 1):
        trns = b""
        if ct == 3 and depth == 8:
            trns = chunk(b"tRNS", bytes([0, 64, 128, 200, 255, 17]))
        with open("c%dd%d%s.png" % (ct, depth, "i" if interlace else "p"), "wb") as f:
            f.write(make(ct, depth, interlace, 13, 11, trns))
with open("adam7_1x1.png", "wb") as f:
    f.write(make(2, 8, 1, 1, 1))
