#!/usr/bin/env python3
"""Writes the program's installed resources: the colour palettes in resources/palette/
and the 31 material fill patterns resources/BITMAP/PT0.BMP ... PT30.BMP.

Run from anywhere: python3 tools/make_resources.py. The outputs are committed; run the
script again only after changing a palette or a pattern here.

Palettes are written the way the palette editor saves them: "236", then 236 lines of
"red green blue", each of the twelve colours filling a block of sixteen entries (the
twelfth also fills the rest), so plot colour n shows colour n + 1.

Patterns are 16 x 16 black-on-white hatches in 1-bit BMP files, one per material code.
"""

import math
import os
import struct
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# ---- Palettes -------------------------------------------------------------------------

PALETTES = {
    # Blue (conductive) through green and yellow to red (resistive).
    "classic.pal": [
        (0, 0, 140), (0, 40, 230), (0, 110, 255), (0, 180, 255),
        (0, 200, 170), (0, 170, 70), (110, 200, 0), (230, 230, 0),
        (255, 190, 0), (255, 120, 0), (240, 40, 0), (180, 0, 0),
    ],
    # Perceptually uniform, dark violet through teal to yellow (viridis-like).
    "viridis.pal": [
        (68, 1, 84), (72, 33, 115), (67, 62, 133), (56, 88, 140),
        (45, 112, 142), (37, 133, 142), (30, 155, 138), (42, 176, 127),
        (82, 197, 105), (134, 213, 73), (194, 223, 35), (253, 231, 37),
    ],
    # Diverging blue to orange through near-white: safe for red-green colour blindness.
    "blueorange.pal": [
        (5, 48, 97), (33, 102, 172), (67, 147, 195), (146, 197, 222),
        (209, 229, 240), (238, 243, 247), (253, 240, 220), (254, 224, 182),
        (253, 184, 99), (224, 130, 20), (179, 88, 6), (127, 59, 8),
    ],
    # Dark to light grey, for black-and-white printing.
    "grey.pal": [(v, v, v) for v in (24, 44, 64, 84, 104, 124, 144, 164, 184, 204, 224, 244)],
}


def palette_lines(colours):
    assert len(colours) == 12
    entries = []
    for k, colour in enumerate(colours):
        # Block k covers entries 16k+1 .. 16k+16; the last block runs on to entry 236.
        size = 16 if k < 11 else 236 - 16 * 11
        entries.extend([colour] * size)
    assert len(entries) == 236
    return ["236"] + ["%d %d %d" % c for c in entries]


# ---- Fill patterns --------------------------------------------------------------------

N = 16


def grid(pred):
    return [[1 if pred(x, y) else 0 for x in range(N)] for y in range(N)]


def ring(cx, cy, r):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) < 0.6


def plus(cx, cy, arm):
    return lambda x, y: (x == cx and abs(y - cy) <= arm) or (y == cy and abs(x - cx) <= arm)


def cross(cx, cy, arm):
    return lambda x, y: abs(x - cx) == abs(y - cy) and abs(x - cx) <= arm


def any_of(*preds):
    return lambda x, y: any(p(x, y) for p in preds)


def bricks(h, w):
    def pred(x, y):
        if y % h == 0:
            return True
        offset = 0 if (y // h) % 2 == 0 else w // 2
        return (x + offset) % w == 0
    return pred


def vee(cx, cy):
    return lambda x, y: 0 <= y - cy <= 3 and abs(x - cx) == 3 - (y - cy)


def wave(x, y):
    # Two wavy lines, joined from column to column so they read as continuous.
    def level(base, col):
        return base + round(1.6 * math.sin(2 * math.pi * col / N))

    for base in (3, 11):
        here, after = level(base, x), level(base, (x + 1) % N)
        if min(here, after) <= y <= max(here, after) and (y == here or abs(after - here) > 1):
            return True
    return False


PATTERNS = [
    grid(lambda x, y: (x % 4 == 0 and y % 4 == 0) or (x % 4 == 2 and y % 4 == 2)),  # 0 fine sand
    grid(lambda x, y: (x % 8 in (1, 2) and y % 8 in (1, 2))
         or ((x + 4) % 8 in (1, 2) and (y + 4) % 8 in (1, 2))),  # 1 coarse sand
    grid(any_of(ring(4, 4, 2.5), ring(12, 12, 2.5))),  # 2 gravel
    grid(lambda x, y: y % 4 == 1 and (x + (y // 4) * 4) % 8 < 6),  # 3 clay
    grid(lambda x, y: y % 4 == 0),  # 4 shale
    grid(bricks(8, 16)),  # 5 limestone
    grid(any_of(bricks(8, 16), lambda x, y: (x, y % 16) in ((8, 4), (0, 12)))),  # 6 dolomite
    grid(any_of(plus(4, 4, 2), plus(12, 12, 2))),  # 7 granite
    grid(any_of(cross(4, 4, 2), cross(12, 12, 2))),  # 8 crystalline rock
    grid(lambda x, y: (x + y) % 8 == 0),  # 9 fill, rising hatch
    grid(lambda x, y: (x - y) % 8 == 0),  # 10 falling hatch
    grid(lambda x, y: (x + y) % 8 == 0 or (x - y) % 8 == 0),  # 11 diagonal cross-hatch
    grid(lambda x, y: x % 8 == 0 or y % 8 == 0),  # 12 square grid
    grid(lambda x, y: x % 4 == 0),  # 13 vertical lines
    grid(wave),  # 14 schist
    grid(lambda x, y: (y % 8 == 2 and x % 8 < 4) or (y % 8 == 6 and x % 4 == 2)),  # 15 silt
    grid(lambda x, y: (x // 4 + y // 4) % 2 == 0),  # 16 checkerboard
    grid(any_of(vee(4, 2), vee(12, 10))),  # 17 volcanic rock
    grid(lambda x, y: x % 2 == 0 and y % 2 == 0),  # 18 dense dots
    grid(lambda x, y: y % 8 == 7 or (x % 8 == 3 and y % 8 in (4, 5, 6))),  # 19 peat
    grid(lambda x, y: y % 8 == abs(x % 8 - 4)),  # 20 chevrons
    grid(bricks(4, 8)),  # 21 small bricks
    grid(ring(7.5, 7.5, 6)),  # 22 boulders
    grid(lambda x, y: (x + y) % 8 == 0 and x % 8 < 4),  # 23 broken hatch
    grid(lambda x, y: x % 4 == 1 and (y + (x // 4) * 4) % 8 in (1, 2, 3)),  # 24 till
    grid(lambda x, y: (x % 8 == 0 and y % 2 == 0) or (y % 8 == 0 and x % 2 == 0)),  # 25 dotted grid
    grid(lambda x, y: abs(x % 8 - 4) + abs(y % 8 - 4) == 2),  # 26 diamonds
    grid(lambda x, y: (y % 8 == 1 and x % 8 < 6) or (y % 8 == 5 and x % 4 == 3)),  # 27 sandy clay
    grid(lambda x, y: y % 8 in (0, 1)),  # 28 banded
    grid(plus(8, 8, 1)),  # 29 sparse crosses
    grid(lambda x, y: (x + y) % 2 == 0),  # 30 coal, half tone
]


def bmp_1bit(rows):
    """A 1-bit BMP: colour 0 white, colour 1 black, rows stored bottom-up."""
    height = len(rows)
    width = len(rows[0])
    stride = (width + 31) // 32 * 4
    pixels = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, v in enumerate(row):
            if v:
                bits[x // 8] |= 0x80 >> (x % 8)
        pixels += bits
    table = bytes([255, 255, 255, 0, 0, 0, 0, 0])
    offset = 14 + 40 + len(table)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 1, 0, len(pixels), 2835, 2835, 2, 2)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + table + bytes(pixels)


def main():
    assert len(PATTERNS) == 31
    seen = set()
    for i, p in enumerate(PATTERNS):
        key = tuple(tuple(r) for r in p)
        if key in seen:
            sys.exit("pattern %d repeats an earlier one" % i)
        seen.add(key)

    pal_dir = os.path.join(ROOT, "resources", "palette")
    bmp_dir = os.path.join(ROOT, "resources", "BITMAP")
    os.makedirs(pal_dir, exist_ok=True)
    os.makedirs(bmp_dir, exist_ok=True)
    for name, colours in PALETTES.items():
        with open(os.path.join(pal_dir, name), "w", newline="\n") as f:
            f.write("\n".join(palette_lines(colours)) + "\n")
    for i, rows in enumerate(PATTERNS):
        with open(os.path.join(bmp_dir, "PT%d.BMP" % i), "wb") as f:
            f.write(bmp_1bit(rows))


if __name__ == "__main__":
    main()
