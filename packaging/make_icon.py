#!/usr/bin/env python3
"""Draws the program's icon and writes it as a Windows .ico file.

The picture is described here as shapes, not kept as pixels: a rounded blue
tile with two white sweeps, the product's "twin sweep". Each size is drawn
anew from the shapes (with 8 x 8 samples a pixel for smooth edges, 3 x 3 at
256 pixels, where a pixel is small), so the small sizes stay sharp. 16, 24, 32 and 48 pixels are stored as 32-bit bitmaps,
which every Windows reads; 256 pixels as PNG, as Explorer expects for large
icons. Nothing in the output depends on the time or the machine: the same
script writes the same bytes.

    make_icon.py OUTPUT.ico [--png SIZE OUTPUT.png]
"""
import math
import struct
import sys
import zlib

SIZES = (16, 24, 32, 48, 256)
SAMPLES_SMALL = 8
SAMPLES_LARGE = 3

TILE_TOP = (0x2B, 0x7B, 0xD8)      # blue, lighter at the top
TILE_BOTTOM = (0x12, 0x46, 0x8C)
SWEEP = (0xFF, 0xFF, 0xFF)
TILE_CORNER = 0.22                 # corner radius, a share of the side
MARGIN = 0.04


def inside_tile(x, y):
    lo, hi = MARGIN, 1.0 - MARGIN
    r = TILE_CORNER
    if not (lo <= x <= hi and lo <= y <= hi):
        return False
    cx = min(max(x, lo + r), hi - r)
    cy = min(max(y, lo + r), hi - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def on_sweep(x, y, radius, width, start, end):
    """An arc of a ring around the tile's centre, from start to end degrees
    (counted clockwise from the right), with rounded ends."""
    dx, dy = x - 0.5, y - 0.5
    d = math.hypot(dx, dy)
    angle = math.degrees(math.atan2(dy, dx)) % 360.0
    span = (end - start) % 360.0
    if abs(d - radius) <= width / 2 and (angle - start) % 360.0 <= span:
        return True
    for a in (start, end):
        ex = 0.5 + radius * math.cos(math.radians(a))
        ey = 0.5 + radius * math.sin(math.radians(a))
        if (x - ex) ** 2 + (y - ey) ** 2 <= (width / 2) ** 2:
            return True
    return False


def on_sweeps(x, y, size):
    # Thicker strokes at the small sizes, where a thin one would blur away.
    width = 0.11 if size >= 48 else 0.14
    return (on_sweep(x, y, 0.30, width, 150.0, 40.0)
            or on_sweep(x, y, 0.13, width, 330.0, 220.0))


def draw(size):
    """Rows of (r, g, b, a) tuples, top row first."""
    rows = []
    n = SAMPLES_SMALL if size <= 48 else SAMPLES_LARGE
    for py in range(size):
        row = []
        for px in range(size):
            tile = sweep = 0
            for sy in range(n):
                for sx in range(n):
                    x = (px + (sx + 0.5) / n) / size
                    y = (py + (sy + 0.5) / n) / size
                    if inside_tile(x, y):
                        tile += 1
                        if on_sweeps(x, y, size):
                            sweep += 1
            if tile == 0:
                row.append((0, 0, 0, 0))
                continue
            t = (py + 0.5) / size
            base = [round(a + (b - a) * t) for a, b in zip(TILE_TOP, TILE_BOTTOM)]
            k = sweep / tile
            rgb = [round(c + (s - c) * k) for c, s in zip(base, SWEEP)]
            row.append((rgb[0], rgb[1], rgb[2], round(255 * tile / (n * n))))
        rows.append(row)
    return rows


def png(size, rows):
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in rows)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def dib(size, rows):
    """A 32-bit bitmap as icons hold it: the height doubled for the mask, rows
    bottom up, then the 1-bit mask that older systems use for transparency."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, p in enumerate(row):
            if p[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + pixels + bytes(mask)


def ico(images):
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for size, data in images:
        side = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
        body += data
    return out + body


def main(argv):
    if len(argv) not in (2, 5) or (len(argv) == 5 and argv[2] != "--png"):
        sys.exit(__doc__.strip().splitlines()[-1].strip())
    images = []
    for size in SIZES:
        rows = draw(size)
        images.append((size, png(size, rows) if size >= 256 else dib(size, rows)))
    with open(argv[1], "wb") as f:
        f.write(ico(images))
    if len(argv) == 5:
        size = int(argv[3])
        with open(argv[4], "wb") as f:
            f.write(png(size, draw(size)))


if __name__ == "__main__":
    main(sys.argv)
