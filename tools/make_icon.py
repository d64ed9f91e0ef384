#!/usr/bin/env python3
"""Draws the program's icon, a hamburger on a transparent background, and writes quorvel.ico:
the 32 x 32 image with a 256-colour palette and a transparency mask, and the same hamburger
drawn anew for each size Windows shows an icon at from 100 % to 200 % scaling, in 32-bit colour
with alpha. Every size has its layers on whole pixel rows, so that none of them blurs; sizes
from 40 up are stored PNG-compressed, which Windows Vista and later read."""
import math
import struct
import sys
import zlib
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


def draw_palette_32():
    """The 32 x 32 hamburger, pixel by pixel, as indices into PALETTE."""
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



SIZES = (16, 20, 24, 32, 40, 48, 64, 256)
PNG_FROM = 40

# The layers from the top, with their heights on a 32-unit design grid.
LAYERS = (("bun", 8), ("lettuce", 2), ("tomato", 2), ("cheese", 1), ("patty", 5), ("bottom", 5))


def rows_of_layers(size):
    """The first and last-plus-one pixel row of every layer at this size, none thinner than a
    row, the whole hamburger centred."""
    scale = size / 32
    heights = [max(1, round(units * scale)) for _, units in LAYERS]
    total = round(sum(units for _, units in LAYERS) * scale)
    while sum(heights) > total:
        heights[heights.index(max(heights))] -= 1
    while sum(heights) < total:
        heights[0] += 1
    rows, y = {}, (size - total) // 2
    for (name, _), height in zip(LAYERS, heights):
        rows[name] = (y, y + height)
        y += height
    return rows


def rounded_rect(x0, y0, x1, y1, top_radius, bottom_radius):
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        corners = ((top_radius, y0 + top_radius, y < y0 + top_radius),
                   (bottom_radius, y1 - bottom_radius, y > y1 - bottom_radius))
        for radius, cy, near in corners:
            if near:  # within the corner's rows: inside its quarter circle, if beside it
                cx = min(max(x, x0 + radius), x1 - radius)
                if (x - cx) ** 2 + (y - cy) ** 2 > radius * radius:
                    return False
        return True

    return inside


def dome(cx, y0, y1, half_width, power=2.0):
    height = y1 - y0

    def inside(x, y):
        if not (y0 <= y < y1):
            return False
        return abs((x - cx) / half_width) ** power + ((y1 - y) / height) ** power <= 1

    return inside


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1


def both(a, b):
    return lambda x, y: a(x, y) and b(x, y)


def below(row):
    return lambda x, y: y >= row


def shapes(size):
    """What is painted, in order, at this size: (region, colour index) in pixel coordinates."""
    u = size / 32
    edge = max(1, round(u))
    rows = rows_of_layers(size)
    x = lambda units: round(units * u)  # noqa: E731 (vertical edges on whole pixels)
    cx = size / 2
    out = []

    top, bottom = rows["bun"]
    out.append((dome(cx, top, bottom, x(15) - x(1)), 3))
    inner = dome(cx, top + edge, bottom, x(15) - x(1) - edge)
    out.append((inner, 1))
    height = bottom - top
    out.append((both(inner, ellipse(cx - 0.42 * x(14), top + 0.42 * height, 0.2 * x(14),
                                    0.16 * height + 0.5)), 2))
    if size >= 32:
        for sx, sy in ((18, 6), (14, 7), (9, 8), (21, 8), (16, 9), (24, 7), (11, 10), (22, 10)):
            out.append((ellipse((sx + 1) * u, top + (sy - 3.5) / 8 * height, 0.95 * u, 0.5 * u),
                        4))

    top, bottom = rows["lettuce"]
    lettuce = rounded_rect(x(1), top, x(31), bottom, 0, 0)
    if size >= 32:
        # A wavy lower edge: every fourth unit the leaf curls up by a unit.
        lettuce = both(lettuce, lambda px, py, b=bottom: py < b - u * max(
            0.0, math.cos(px / u * math.pi / 2)) ** 3)
    out.append((lettuce, 5))

    top, bottom = rows["tomato"]
    out.append((rounded_rect(x(3), top, x(29), bottom, 0, (bottom - top) / 2), 6))

    top, bottom = rows["patty"]
    patty = rounded_rect(x(2), top, x(30), bottom, 0, min((bottom - top) / 2, 2 * u))
    out.append((patty, 8))
    if bottom - top >= 4:
        out.append((both(patty, below(bottom - edge)), 9))

    top, bottom = rows["cheese"]
    out.append((rounded_rect(x(2), top, x(30), bottom, 0, 0), 7))
    if size >= 32:
        for dx in (6.5, 15.5, 22.5):  # drips over the patty
            tip = bottom + 1.6 * u
            out.append((lambda px, py, dx=dx, b=bottom, tip=tip: b <= py < tip and
                        abs(px - dx * u) <= (tip - py) / 1.6, 7))

    top, bottom = rows["bottom"]
    bun = rounded_rect(x(3), top, x(29), bottom, u, min(0.6 * (bottom - top), 3 * u))
    out.append((bun, 1))
    out.append((both(bun, below(bottom - edge)), 3))
    return out


def render(size, samples=4):
    """RGBA rows of the hamburger at this size, each pixel averaged over samples x samples."""
    painted = shapes(size)
    offsets = [(i + 0.5) / samples for i in range(samples)]
    image = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            r = g = b = covered = 0
            for oy in offsets:
                for ox in offsets:
                    colour = None
                    for inside, index in painted:
                        if inside(px + ox, py + oy):
                            colour = index
                    if colour is not None:
                        cr, cg, cb = PALETTE[colour]
                        r, g, b, covered = r + cr, g + cg, b + cb, covered + 1
            if covered:
                row += bytes((r // covered, g // covered, b // covered,
                              round(255 * covered / samples ** 2)))
            else:
                row += bytes(4)
        image.append(bytes(row))
    return image


def png(size, rgba):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    def paeth(a, b, c):
        p = a + b - c
        pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
        return a if pa <= pb and pa <= pc else (b if pb <= pc else c)

    raw, previous = bytearray(), bytes(len(rgba[0]))
    for row in rgba:
        # Each row with the filter that leaves the smallest differences.
        candidates = []
        for kind in range(5):
            out = bytearray([kind])
            for i, value in enumerate(row):
                left = row[i - 4] if i >= 4 else 0
                up = previous[i]
                up_left = previous[i - 4] if i >= 4 else 0
                predicted = (0, left, up, (left + up) // 2, paeth(left, up, up_left))[kind]
                out.append((value - predicted) & 0xFF)
            candidates.append(out)
        raw += min(candidates, key=lambda c: sum(v if v < 128 else 256 - v for v in c[1:]))
        previous = row
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def mask_rows(size, transparent):
    """The 1-bit AND mask, bottom row first, each row padded to 32 bits."""
    stride = (size + 31) // 32 * 4
    rows = b""
    for y in reversed(range(size)):
        bits = 0
        for x in range(size):
            bits = (bits << 1) | (1 if transparent(x, y) else 0)
        bits <<= stride * 8 - size
        rows += bits.to_bytes(stride, "big")
    return rows


def dib_32(size, rgba):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(
        bytes(v for i in range(0, len(row), 4) for v in (row[i + 2], row[i + 1], row[i], row[i + 3]))
        for row in reversed(rgba))
    return header + pixels + mask_rows(size, lambda x, y: rgba[y][4 * x + 3] == 0)


def dib_palette_32(px):
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 8, 0, 0, 0, 0, 256, 0)
    palette = PALETTE + [(0, 0, 0)] * (256 - len(PALETTE))
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    pixels = b"".join(bytes(px[y]) for y in reversed(range(SIZE)))
    return header + colours + pixels + mask_rows(SIZE, lambda x, y: px[y][x] == 0)


def images():
    """(size, bits per pixel, bytes) of every image, smallest first."""
    out = []
    for size in SIZES:
        if size == 32:
            out.append((32, 8, dib_palette_32(draw_palette_32())))
        rgba = render(size, samples=4 if size <= 64 else 3)
        out.append((size, 32, png(size, rgba) if size >= PNG_FROM else dib_32(size, rgba)))
    return out


def ico(entries):
    directory = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    data = b""
    for size, bits, image in entries:
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, bits, len(image),
                                 offset + len(data))
        data += image
    return directory + data


if __name__ == "__main__":
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else \
        Path(__file__).parent.parent / "app" / "icon" / "quorvel.ico"
    out.write_bytes(ico(images()))
