#!/usr/bin/env python3
"""Packs the application icon's PNGs into media/icons/rido-kladdorix.ico for Windows.

Windows shows a program's icon (Explorer, the start menu, the desktop shortcut, the
task bar, the setup and its uninstaller) from an .ico resource in the exe. The sizes
16 to 64 are stored as 32-bit BGRA bitmaps with their AND mask (every Windows
version and NSIS read those), 256 as PNG, as Windows itself stores large icons.
Reads the PNGs written by make_app_icon.py; same input, same bytes.

Usage: python3 tools/make_windows_icon.py
"""
import os
import struct
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ICONS = os.path.join(ROOT, "media", "icons")
BITMAP_SIZES = (16, 24, 32, 48, 64)
PNG_SIZES = (256,)


def read_png_rgba(path):
    """Rows of RGBA bytes of an 8-bit RGBA, non-interlaced PNG."""
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", path
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = header
    assert depth == 8 and colour == 6 and interlace == 0, path
    raw, stride, rows, prev = zlib.decompress(idat), width * 4, [], bytearray(width * 4)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - 4] if i >= 4 else 0
            up = prev[i]
            corner = prev[i - 4] if i >= 4 else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                pred = left if pa <= pb and pa <= pc else (up if pb <= pc else corner)
                line[i] = (line[i] + pred) & 255
        rows.append(bytes(line))
        prev = line
    return width, height, rows


def bitmap_entry(size, rows):
    """BITMAPINFOHEADER (double height: colour and mask), BGRA bottom-up, AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for row in reversed(rows):
        for x in range(size):
            r, g, b, a = row[4 * x:4 * x + 4]
            pixels += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x in range(size):
            if row[4 * x + 3] == 0:  # transparent: the mask bit is set
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return header + bytes(pixels) + bytes(mask)


def main():
    entries = []
    for size in BITMAP_SIZES:
        w, h, rows = read_png_rgba(os.path.join(ICONS, "rido-kladdorix-%d.png" % size))
        assert w == h == size
        entries.append((size, bitmap_entry(size, rows)))
    for size in PNG_SIZES:
        entries.append((size, open(os.path.join(ICONS, "rido-kladdorix-%d.png" % size), "rb").read()))
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for size, body in entries:
        dim = 0 if size >= 256 else size  # 0 stands for 256
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(body), offset)
        offset += len(body)
    out += b"".join(body for _, body in entries)
    with open(os.path.join(ICONS, "rido-kladdorix.ico"), "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
