#!/usr/bin/env python3
"""Draws Ravelo's icon (a data terminal handing records to an arrow) as a 16-colour .ico."""
import struct
import sys

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, TEAL, SILVER, GRAY, LIME, YELLOW, WHITE = 0, 6, 7, 8, 10, 11, 15
CLEAR = None


def draw(size):
    """Returns rows of palette indexes (None = transparent), top row first."""
    u = size / 32.0
    pixels = [[CLEAR] * size for _ in range(size)]

    def box(x0, y0, x1, y1, colour):
        for y in range(int(y0 * u), max(int(y1 * u), int(y0 * u) + 1)):
            for x in range(int(x0 * u), max(int(x1 * u), int(x0 * u) + 1)):
                if 0 <= x < size and 0 <= y < size:
                    pixels[y][x] = colour

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


def image(size):
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


def icon(sizes):
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


if __name__ == "__main__":
    target = sys.argv[1] if len(sys.argv) > 1 else "resources/ravelo.ico"
    with open(target, "wb") as f:
        f.write(icon([32, 16]))
