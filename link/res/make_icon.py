#!/usr/bin/env python3
"""Draws the volume link's icon, mixtwin.ico: two faders whose knobs are joined by a bar,
at 32 by 32 and 16 by 16 pixels, 16 colours each.

    python3 make_icon.py [OUTPUT]     (default: mixtwin.ico beside this script)
"""
import os
import struct
import sys

# The 16 colours of the standard palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, DARK_GREY, LIGHT_GREY, BLUE, YELLOW, WHITE = 0, 8, 7, 12, 11, 15


def draw(size):
    """The picture as rows of palette indices, top row first; None is transparent."""
    s = size / 32.0
    grid = [[None] * size for _ in range(size)]

    def box(x0, y0, x1, y1, colour):
        for y in range(int(y0 * s), max(int(y0 * s) + 1, int(y1 * s))):
            for x in range(int(x0 * s), max(int(x0 * s) + 1, int(x1 * s))):
                if 0 <= x < size and 0 <= y < size:
                    grid[y][x] = colour

    for left in (7, 19):
        box(left + 2, 2, left + 4, 30, BLACK)            # the fader's slot
        box(left + 2.5, 3, left + 3.5, 29, DARK_GREY)
        box(left, 12, left + 6, 20, BLACK)               # its knob
        box(left + 1, 13, left + 5, 19, BLUE)
        box(left + 1, 13, left + 5, 14, WHITE)
    box(13, 14, 19, 18, BLACK)                           # the bar that joins the knobs
    box(13, 15, 19, 17, YELLOW)
    for tick in range(4, 30, 5):                         # the scale between the faders
        box(15, tick, 17, tick + 1, LIGHT_GREY)
    return grid


def image(size):
    """One icon image: BITMAPINFOHEADER, palette, colour bits, then the transparency mask."""
    grid = draw(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    colour_row = (size * 4 + 31) // 32 * 4
    mask_row = (size + 31) // 32 * 4
    colours = bytearray()
    mask = bytearray()
    for row in reversed(grid):  # bottom row first
        line = bytearray(colour_row)
        bits = bytearray(mask_row)
        for x, pixel in enumerate(row):
            index = 0 if pixel is None else pixel
            line[x // 2] |= index << (4 if x % 2 == 0 else 0)
            if pixel is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        colours += line
        mask += bits
    return header + palette + bytes(colours) + bytes(mask)


def icon_file(sizes):
    images = [image(size) for size in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


if __name__ == "__main__":
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "mixtwin.ico")
    with open(target, "wb") as f:
        f.write(icon_file([32, 16]))
