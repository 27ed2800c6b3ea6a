#!/usr/bin/env python3
"""Draws the programs' icons as 16-colour .ico files: Ravelo's (a data terminal handing records to
an arrow) and Lumbra's (a table sheet going into the terminal).

Usage: make-icon.py                  both, into resources/
       make-icon.py NAME TARGET      one of them (ravelo or lumbra) into TARGET
"""
import struct
import sys

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, TEAL, SILVER, GRAY, LIME, YELLOW, WHITE = 0, 4, 6, 7, 8, 10, 11, 15
CLEAR = None


def canvas(size):
    """A transparent image and a function that fills boxes on a 32-unit grid."""
    u = size / 32.0
    pixels = [[CLEAR] * size for _ in range(size)]

    def box(x0, y0, x1, y1, colour):
        for y in range(int(y0 * u), max(int(y1 * u), int(y0 * u) + 1)):
            for x in range(int(x0 * u), max(int(x1 * u), int(x0 * u) + 1)):
                if 0 <= x < size and 0 <= y < size:
                    pixels[y][x] = colour

    return pixels, box


def draw_ravelo(size):
    """Returns rows of palette indexes (None = transparent), top row first."""
    pixels, box = canvas(size)

    # The terminal: outline, body, screen with two lines of text, keypad.
    box(3, 1, 21, 31, BLACK)
    box(4, 2, 20, 30, GRAY)
    box(6, 4, 18, 13, BLACK)
    box(7, 5, 17, 12, TEAL)
    box(8, 7, 15, 8, LIME)
    box(8, 10, 13, 11, LIME)
    for row in range(3):
        for col in range(3):
            x, y = 6 + col * 4, 16 + row * 4
            box(x, y, x + 3, y + 3, SILVER if size > 16 else WHITE)
    # The arrow: records leave the terminal for the file.
    box(20, 14, 26, 20, BLACK)
    box(20, 15, 26, 19, YELLOW)
    for step in range(6):
        box(25 + step, 10 + step, 26 + step, 24 - step, BLACK)
        if step < 5:
            box(25 + step, 11 + step, 26 + step, 23 - step, YELLOW)
    return pixels


def draw_lumbra(size):
    """A lookup table (a sheet of lines) going through an arrow into the terminal's screen."""
    pixels, box = canvas(size)
    # The sheet: outline, white page, rows of the table.
    box(0, 3, 13, 22, BLACK)
    box(1, 4, 12, 21, WHITE)
    for row in range(5):
        y = 6 + row * 3
        box(2, y, 6, y + 1, NAVY)
        box(7, y, 11, y + 1, GRAY)
    # The arrow: the lines go into the terminal.
    box(11, 10, 15, 16, BLACK)
    box(11, 11, 15, 15, YELLOW)
    for step in range(5):
        box(14 + step, 8 + step, 15 + step, 18 - step, BLACK)
        if step < 4:
            box(14 + step, 9 + step, 15 + step, 17 - step, YELLOW)
    # The terminal: outline, body, screen with the received lines, keypad.
    box(18, 1, 32, 31, BLACK)
    box(19, 2, 31, 30, GRAY)
    box(20, 4, 30, 14, BLACK)
    box(21, 5, 29, 13, TEAL)
    for row in range(3):
        box(22, 6 + row * 2, 28 - row * 2, 7 + row * 2, LIME)
    for row in range(3):
        for col in range(3):
            x, y = 20 + col * 4, 17 + row * 4
            box(x, y, x + 3, y + 3, SILVER)
    return pixels


DRAWINGS = {"ravelo": (draw_ravelo, [32, 16]), "lumbra": (draw_lumbra, [32])}


def image(draw, size):
    """One icon image: header, palette, 4-bit colour rows and 1-bit mask rows, bottom-up."""
    pixels = draw(size)
    colour_stride = ((size * 4 + 31) // 32) * 4
    mask_stride = ((size + 31) // 32) * 4
    colour = bytearray()
    mask = bytearray()
    for row in reversed(pixels):
        line = bytearray(colour_stride)
        bits = bytearray(mask_stride)
        for x, p in enumerate(row):
            index = 0 if p is None else p
            line[x // 2] |= index << (4 if x % 2 == 0 else 0)
            if p is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        colour += line
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0,
                         len(colour) + len(mask), 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + bytes(colour) + bytes(mask)


def icon(draw, sizes):
    images = [image(draw, s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


def write(name, target):
    draw, sizes = DRAWINGS[name]
    with open(target, "wb") as f:
        f.write(icon(draw, sizes))


if __name__ == "__main__":
    if len(sys.argv) == 3:
        write(sys.argv[1], sys.argv[2])
    else:
        for program in DRAWINGS:
            write(program, "resources/%s.ico" % program)
