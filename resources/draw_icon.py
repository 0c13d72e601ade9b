#!/usr/bin/env python3
"""Draws quorvel.ico: a magnifying glass, 16 x 16, at 4, 8 and 32 bits per
pixel. A round lens in a grey rim fills the upper right; a grey handle runs
to the lower left corner; the background is transparent. The lens is pale
blue at 8 and 32 bits and white at 4 bits.

Usage: draw_icon.py OUTPUT.ico
"""
import math
import struct
import sys

SIZE = 16
CENTRE = (9.5, 6.0)   # lens centre, in pixel units from the top left
LENS_RADIUS = 4.2
RIM_WIDTH = 1.4

TRANSPARENT, RIM, LENS, HANDLE, GLINT = range(5)


def classify(x, y):
    """What the pixel at column x, row y (top down) shows."""
    px, py = x + 0.5, y + 0.5
    distance = math.hypot(px - CENTRE[0], py - CENTRE[1])
    if distance <= LENS_RADIUS:
        if 2.0 <= distance <= 3.2 and px - CENTRE[0] < -0.8 and py - CENTRE[1] < -0.8:
            return GLINT
        return LENS
    if distance <= LENS_RADIUS + RIM_WIDTH:
        return RIM
    # The handle: a thick stroke along the diagonal towards the lower left.
    along = ((CENTRE[0] - px) + (py - CENTRE[1])) / math.sqrt(2)
    across = ((CENTRE[0] - px) - (py - CENTRE[1])) / math.sqrt(2)
    if along > LENS_RADIUS and abs(across) < 1.3:
        return HANDLE
    return TRANSPARENT


# RGB per pixel kind, for the 8- and 32-bit images and for the 16-colour one.
TRUE_COLOURS = {RIM: (128, 128, 128), LENS: (200, 228, 250), HANDLE: (96, 96, 96), GLINT: (255, 255, 255)}
VGA_COLOURS = {RIM: (128, 128, 128), LENS: (255, 255, 255), HANDLE: (128, 128, 128), GLINT: (255, 255, 255)}
VGA_PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
               (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
               (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def pixels():
    return [[classify(x, y) for x in range(SIZE)] for y in range(SIZE)]


def and_mask(grid):
    """1 bit a pixel, set where transparent; rows bottom up, 4-byte aligned."""
    rows = b""
    for row in reversed(grid):
        bits = 0
        for kind in row:
            bits = bits << 1 | (kind == TRANSPARENT)
        rows += struct.pack(">H", bits) + b"\0\0"
    return rows


def info_header(bit_count, colours_used):
    image_bytes = SIZE * SIZE * bit_count // 8 + SIZE * 4
    return struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, bit_count, 0, image_bytes, 0, 0, colours_used, 0)


def paletted_image(grid, bit_count, colours, palette):
    index = {kind: palette.index(rgb) for kind, rgb in colours.items()}
    index[TRANSPARENT] = 0
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    xor = b""
    for row in reversed(grid):
        if bit_count == 4:
            xor += bytes(index[row[i]] << 4 | index[row[i + 1]] for i in range(0, SIZE, 2))
        else:
            xor += bytes(index[kind] for kind in row)
    used = 0 if bit_count == 4 else len(palette)
    return info_header(bit_count, used) + table + xor + and_mask(grid)


def true_colour_image(grid):
    xor = b""
    for row in reversed(grid):
        for kind in row:
            r, g, b = TRUE_COLOURS.get(kind, (0, 0, 0))
            xor += struct.pack("<BBBB", b, g, r, 0 if kind == TRANSPARENT else 255)
    return info_header(32, 0) + xor + and_mask(grid)


def main():
    grid = pixels()
    palette8 = [(0, 0, 0)] + sorted(set(TRUE_COLOURS.values()))
    images = [(paletted_image(grid, 4, VGA_COLOURS, VGA_PALETTE), 16, 4),
              (paletted_image(grid, 8, TRUE_COLOURS, palette8), 0, 8),
              (true_colour_image(grid), 0, 32)]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for image, colour_count, bit_count in images:
        data += struct.pack("<BBBBHHII", SIZE, SIZE, colour_count, 0, 1, bit_count, len(image), offset)
        offset += len(image)
    data += b"".join(image for image, _, _ in images)
    with open(sys.argv[1], "wb") as out:
        out.write(data)
    for row in grid:
        print("".join(" #.H*"[kind] for kind in row))


if __name__ == "__main__":
    main()
