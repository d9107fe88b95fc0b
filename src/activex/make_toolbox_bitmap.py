#!/usr/bin/env python3
"""Writes toolbox.bmp: the control's 16 x 15, 24-bit toolbox picture, a small
progress bar two-thirds full on the toolbox's grey."""
import struct
import sys

WIDTH, HEIGHT = 16, 15
GREY = (192, 192, 192)     # the toolbox background
SHADOW = (128, 128, 128)   # top and left edge of the sunken frame
LIGHT = (255, 255, 255)    # bottom and right edge
TRACK = (255, 255, 255)    # the empty part
FILL = (0, 120, 215)       # segments


def pixel(x, y):
    top, bottom, left, right = 4, 10, 0, 15
    if not (top <= y <= bottom and left <= x <= right):
        return GREY
    if y == top or x == left:
        return SHADOW
    if y == bottom or x == right:
        return LIGHT
    # Segments of three pixels with a one-pixel gap, up to column 11.
    inside = x - (left + 1)
    if x <= 11 and inside % 4 != 3:
        return FILL
    return TRACK


def main(path):
    row_size = (WIDTH * 3 + 3) & ~3
    image = bytearray()
    for y in reversed(range(HEIGHT)):  # bottom-up rows
        row = bytearray()
        for x in range(WIDTH):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += bytes(row_size - len(row))
        image += row
    header = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(image), 0, 0, 14 + 40)
    info = struct.pack('<IiiHHIIiiII', 40, WIDTH, HEIGHT, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    with open(path, 'wb') as f:
        f.write(header + info + image)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'toolbox.bmp')
