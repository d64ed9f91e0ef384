#!/usr/bin/env python3
"""Draws the program's icon, a hamburger on a transparent background, and writes quorvel.ico:
one 32 x 32 image with a 256-colour palette and a transparency mask."""
import struct
import sys
from pathlib import Path

SIZE = 32
PALETTE = [
    (0, 0, 0),        # 0 transparent (masked)
    (217, 140, 43),   # 1 bun
    (245, 190, 95),   # 2 bun highlight
    (150, 85, 25),    # 3 bun edge
    (255, 245, 215),  # 4 sesame
    (60, 176, 67),    # 5 lettuce
    (215, 38, 30),    # 6 tomato
    (245, 197, 24),   # 7 cheese
    (90, 50, 20),     # 8 patty
    (60, 32, 12),     # 9 patty edge
]


def draw():
    px = [[0] * SIZE for _ in range(SIZE)]

    def span(y, x0, x1, colour):
        for x in range(max(0, x0), min(SIZE - 1, x1) + 1):
            px[y][x] = colour

    # Top bun: a dome, rows 4..11.
    for y in range(4, 12):
        t = (y - 11.5) / 7.5
        half = int(round(14 * (1 - t * t) ** 0.5))
        span(y, 16 - half, 15 + half, 1)
    for y, x0, x1 in [(6, 9, 14), (7, 7, 11)]:
        span(y, x0, x1, 2)
    for y, x in [(6, 18), (7, 14), (8, 9), (8, 21), (9, 16), (7, 24), (10, 11), (10, 22)]:
        span(y, x, x + 1, 4)
    # Lettuce with a wavy lower edge.
    span(12, 1, 30, 5)
    for x in range(1, 31):
        if x % 4 != 0:
            px[13][x] = 5
    span(14, 3, 28, 6)
    span(15, 3, 28, 6)
    span(16, 2, 29, 7)
    for y in range(17, 21):
        inset = 3 if y in (17, 20) else 2
        span(y, inset, SIZE - 1 - inset, 8)
    for x in (6, 7, 15, 22, 23):  # cheese dripping over the patty
        px[17][x] = 7
    span(21, 4, 27, 9)
    # Bottom bun with rounded lower corners.
    for y, inset in [(22, 3), (23, 3), (24, 3), (25, 4), (26, 6)]:
        span(y, inset, SIZE - 1 - inset, 1)
    span(26, 6, 25, 3)
    # A darker edge round the top bun.
    for y in range(4, 12):
        row = px[y]
        xs = [x for x in range(SIZE) if row[x] != 0]
        if xs:
            row[xs[0]] = row[xs[-1]] = 3
    span(4, 0, SIZE - 1, 0)
    t = [x for x in range(SIZE) if px[5][x] != 0]
    span(4, t[0] + 3, t[-1] - 3, 3)
    return px


def ico(px):
    palette = PALETTE + [(0, 0, 0)] * (256 - len(PALETTE))
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 8, 0, 0, 0, 0, 256, 0)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    pixels = b"".join(bytes(px[y]) for y in reversed(range(SIZE)))
    mask = b""
    for y in reversed(range(SIZE)):
        bits = 0
        for x in range(SIZE):
            bits = (bits << 1) | (1 if px[y][x] == 0 else 0)
        mask += struct.pack(">I", bits)
    image = header + colours + pixels + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 8, len(image), 6 + 16)
    return directory + entry + image


if __name__ == "__main__":
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).with_name("quorvel.ico")
    out.write_bytes(ico(draw()))
