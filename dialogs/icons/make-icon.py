#!/usr/bin/env python3
"""Draws the program picture: persons passing boxes up a flight of steps from
the old home (bottom left) to the new home (top right). Writes a 32 x 32 PNG
with a 16-colour palette, using only the standard library, so the picture can
be rebuilt anywhere and always comes out byte for byte the same.

Usage: make-icon.py [output.png]   (default: ProgramIcon.png beside this script)
"""

import os
import struct
import sys
import zlib

SIZE = 32

PALETTE = [
    (200, 228, 255),  # 0 sky
    (0, 0, 0),        # 1 outline
    (200, 170, 125),  # 2 step tread
    (140, 100, 60),   # 3 step riser
    (90, 160, 70),    # 4 grass
    (250, 205, 160),  # 5 skin
    (200, 40, 40),    # 6 red shirt
    (40, 80, 200),    # 7 blue shirt
    (185, 115, 45),   # 8 moving box
    (255, 255, 255),  # 9 window
    (170, 30, 30),    # 10 roof
    (240, 230, 200),  # 11 wall
    (128, 128, 128),  # 12 door
    (30, 30, 90),     # 13 trousers
    (250, 220, 60),   # 14 sun
    (40, 100, 40),    # 15 dark grass
]

SKY, OUTLINE, TREAD, RISER, GRASS, SKIN, RED, BLUE, BOX, WINDOW, ROOF, WALL, DOOR, TROUSERS, SUN, DARK_GRASS = range(16)

STEP_COUNT = 5
STEP_WIDTH = 4
STEP_RISE = 4
STAIRS_LEFT = 10
GROUND_TOP = 29


def fill(img, x0, y0, x1, y1, colour):
    """Fills the rectangle from (x0, y0) to (x1, y1), both corners included."""
    for y in range(max(y0, 0), min(y1, SIZE - 1) + 1):
        for x in range(max(x0, 0), min(x1, SIZE - 1) + 1):
            img[y][x] = colour


def step_top(i):
    return GROUND_TOP - STEP_RISE * (i + 1)


def house(img, left, ground):
    """A small house of 6 x 8 pixels whose floor rests on row ground - 1."""
    fill(img, left, ground - 5, left + 5, ground - 1, WALL)
    fill(img, left + 3, ground - 3, left + 4, ground - 1, DOOR)
    fill(img, left + 1, ground - 4, left + 1, ground - 3, WINDOW)
    for row in range(3):
        fill(img, left + 2 - row, ground - 8 + row, left + 3 + row, ground - 8 + row, ROOF)


def person(img, x, feet, shirt):
    """A person two pixels wide and six high, holding a box in front of it."""
    fill(img, x, feet - 5, x + 1, feet - 4, SKIN)
    fill(img, x, feet - 3, x + 1, feet - 2, shirt)
    fill(img, x, feet - 1, x, feet - 1, TROUSERS)
    fill(img, x + 1, feet - 1, x + 1, feet - 1, TROUSERS)
    fill(img, x + 2, feet - 3, x + 3, feet - 2, BOX)


def draw():
    img = [[SKY] * SIZE for _ in range(SIZE)]
    fill(img, 1, 1, 3, 3, SUN)
    fill(img, 0, GROUND_TOP, SIZE - 1, SIZE - 1, GRASS)
    fill(img, 0, SIZE - 1, SIZE - 1, SIZE - 1, DARK_GRASS)

    for i in range(STEP_COUNT):
        left = STAIRS_LEFT + STEP_WIDTH * i
        top = step_top(i)
        fill(img, left, top, SIZE - 1, top + STEP_RISE - 1, RISER)
        fill(img, left, top, SIZE - 1, top, TREAD)
        fill(img, left, top, left, top + STEP_RISE - 1, OUTLINE)

    house(img, 1, GROUND_TOP)
    house(img, SIZE - 6, step_top(STEP_COUNT - 1))

    person(img, 7, GROUND_TOP - 1, RED)
    person(img, STAIRS_LEFT + 1, step_top(0) - 1, BLUE)
    person(img, STAIRS_LEFT + STEP_WIDTH * 2 + 1, step_top(2) - 1, RED)
    person(img, STAIRS_LEFT + STEP_WIDTH * 3 + 1, step_top(3) - 1, BLUE)
    return img


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png(img):
    raw = bytearray()
    for row in img:
        raw.append(0)  # no filter
        for x in range(0, SIZE, 2):
            raw.append(row[x] << 4 | row[x + 1])
    header = struct.pack(">IIBBBBB", SIZE, SIZE, 4, 3, 0, 0, 0)  # 4 bits per pixel, palette
    palette = b"".join(bytes(colour) for colour in PALETTE)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"PLTE", palette)
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def main():
    assert len(PALETTE) == 16
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "ProgramIcon.png")
    with open(out, "wb") as f:
        f.write(png(draw()))


if __name__ == "__main__":
    main()
