#!/usr/bin/env python3
"""Draws the program's icon (app/chess.ico): a pawn on two squares, in the board's own colours.

Run it again only when the picture changes; the icon file is kept in the repository so that the
build needs no image tools. Usage: scripts/make-icon.py [OUTPUT]
"""
import struct
import sys

LIGHT = (240, 239, 216)
DARK = (212, 187, 4)
WHITE_FIGURE = (190, 178, 118)
OUTLINE = (0, 0, 0)
# The pawn's outline in board units: 4 across, 7 up, as the board draws it.
PAWN = [(0, 0), (1, 2), (0, 3), (1, 4), (2, 3), (1, 2), (2, 0), (0, 0)]
# The sizes Windows picks from at every display scaling: 16 and 32 at 100 %, 20 and 40 at
# 125 %, 24 and 48 at 150 %, 32 and 64 at 200 %, and 256 for the large icon views.
SIZES = (16, 20, 24, 32, 40, 48, 64, 256)


def inside(polygon, x, y):
    """Even-odd rule, as the board's polygon fill."""
    result = False
    for (x0, y0), (x1, y1) in zip(polygon, polygon[1:]):
        if (y0 > y) != (y1 > y) and x < x0 + (y - y0) * (x1 - x0) / (y1 - y0):
            result = not result
    return result


def pawn_polygon(size):
    """The pawn scaled to the icon, centred, standing on its bottom edge (y grows downward)."""
    unit_x, unit_y = size / 4.0, size / 7.0 * 0.85
    left = (size - 2 * unit_x) / 2
    return [(left + x * unit_x, size - 1 - size / 16 - y * unit_y) for x, y in PAWN]


def pixel(size, polygon, x, y):
    cx, cy = x + 0.5, y + 0.5
    if inside(polygon, cx, cy):
        edge = any(not inside(polygon, cx + dx, cy + dy) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
        return OUTLINE if edge else WHITE_FIGURE
    # Two squares side by side in the upper half, the board's checker below the pawn.
    half = size // 2
    return LIGHT if ((x < half) == (y < half)) else DARK


def image(size):
    """One icon image: BITMAPINFOHEADER, bottom-up BGRA pixels, an all-opaque AND mask."""
    polygon = pawn_polygon(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    for y in reversed(range(size)):
        rows.append(b"".join(struct.pack("BBBB", b, g, r, 255) for r, g, b in
                             (pixel(size, polygon, x, y) for x in range(size))))
    mask_row = ((size + 31) // 32) * 4
    return header + b"".join(rows) + bytes(mask_row * size)


def icon():
    images = [image(size) for size in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


if __name__ == "__main__":
    target = sys.argv[1] if len(sys.argv) > 1 else "app/chess.ico"
    with open(target, "wb") as f:
        f.write(icon())
