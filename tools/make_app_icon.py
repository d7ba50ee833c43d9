#!/usr/bin/env python3
"""Draws the program's application icon into media/icons/rido-kladdorix-<N>.png.

The icon is a small gradebook grid: a dark purple rounded square (the program's
background colour) holding three rows of tiles, the first tile of each row a light
name tile, the others grade tiles in the program's grade colours. Drawn with the Python
standard library alone: each size is rendered at 8x8 samples per pixel and averaged,
so small sizes stay smooth; PNGs without time stamps, so reruns give identical bytes.

Usage: python3 tools/make_app_icon.py
"""
import os
import struct
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "media", "icons")
SIZES = (16, 24, 32, 48, 64, 128, 256)
SS = 8  # samples per pixel and axis

BACK = (23, 0, 83)
NAME = (112, 96, 160)
GRADES = [  # green, light green, yellow, orange: "1" to "4"
    [(0, 255, 128), (0, 255, 0), (255, 255, 0)],
    [(0, 255, 0), (255, 255, 0), (0, 255, 128)],
    [(255, 255, 0), (0, 255, 128), (255, 128, 0)],
]


def rounded_rect(x0, y0, x1, y1, r):
    """Coverage test of a rounded rectangle in unit coordinates."""
    def inside(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def shapes():
    """(coverage test, colour) from back to front, in coordinates 0..1."""
    out = [(rounded_rect(0.02, 0.02, 0.98, 0.98, 0.18), BACK)]
    gap, cell = 0.05, 0.1625
    h = cell * 1.16
    name_w = cell + 0.02
    left = (1 - (name_w + gap + 3 * cell + 2 * gap * 0.6)) / 2
    top = (1 - (3 * h + 2 * gap)) / 2
    for row in range(3):
        y = top + row * (h + gap)
        out.append((rounded_rect(left, y, left + name_w, y + h, 0.03), NAME))
        for col in range(3):
            x = left + name_w + gap + col * (cell + gap * 0.6)
            out.append((rounded_rect(x, y, x + cell, y + h, 0.03), GRADES[row][col]))
    return out


def render(size):
    layers = shapes()
    n = size * SS
    rows = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SS):
                y = (py * SS + sy + 0.5) / n
                for sx in range(SS):
                    x = (px * SS + sx + 0.5) / n
                    colour = None
                    for inside, c in layers:
                        if inside(x, y):
                            colour = c
                    if colour:
                        acc[0] += colour[0]
                        acc[1] += colour[1]
                        acc[2] += colour[2]
                        acc[3] += 1
            k = SS * SS
            a = acc[3] / k
            if acc[3]:
                row += bytes((round(acc[0] / acc[3]), round(acc[1] / acc[3]), round(acc[2] / acc[3]), round(255 * a)))
            else:
                row += bytes(4)
        rows.append(bytes(row))
    return rows


def png(size, rows):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    raw = b"".join(b"\x00" + r for r in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    os.makedirs(OUT, exist_ok=True)
    for size in SIZES:
        with open(os.path.join(OUT, "rido-kladdorix-%d.png" % size), "wb") as f:
            f.write(png(size, render(size)))


if __name__ == "__main__":
    main()
