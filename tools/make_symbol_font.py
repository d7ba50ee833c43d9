#!/usr/bin/env python3
"""Builds media/fonts/MySymbolFont.ttf, the icon font of the on-screen keyboard and grade menus.

Standard library only. Every table is written by hand with fixed time stamps, so a rerun gives
identical bytes. Letters: B Enter, C Shift, D Backspace, E Delete, F Clear (eraser), G Insert, L Escape,
? question mark in a circle; plus .notdef and space.

Usage: python3 tools/make_symbol_font.py [output.ttf]
"""
import math
import os
import struct
import sys

UPEM = 1000
ASCENT = 800      # line height = ASCENT - DESCENT = one em, so 48 px font -> 48 px lines
DESCENT = -200
STROKE = 84       # ~4 px at 48 px: thick enough to read on a small key
ADVANCE = 1000

# 1 Jan 2020 00:00 UTC in seconds since 1904-01-01, fixed so the file never changes by itself.
FIXED_TIME = 3660681600


# ---------------------------------------------------------------- geometry (font units, y up)
# A contour is a list of (x, y, on_curve). Filled shapes run clockwise, holes counter-clockwise;
# overlapping filled shapes merge under the non-zero rule TrueType rasterisers use.

def signed_area(contour):
    a = 0.0
    n = len(contour)
    for i in range(n):
        x0, y0 = contour[i][0], contour[i][1]
        x1, y1 = contour[(i + 1) % n][0], contour[(i + 1) % n][1]
        a += x0 * y1 - x1 * y0
    return a / 2.0  # > 0 means counter-clockwise


def clockwise(contour):
    return contour if signed_area(contour) < 0 else list(reversed(contour))


def counter_clockwise(contour):
    return contour if signed_area(contour) > 0 else list(reversed(contour))


def poly(points):
    return clockwise([(x, y, True) for x, y in points])


def rect(x0, y0, x1, y1):
    return poly([(x0, y0), (x0, y1), (x1, y1), (x1, y0)])


def inset(points, t):
    """Polygon shrunk by t (points in clockwise order, y up): miter offset of every edge."""
    pts = [(p[0], p[1]) for p in points]
    if signed_area([(x, y, True) for x, y in pts]) > 0:
        pts.reverse()
    n = len(pts)
    lines = []
    for i in range(n):
        (x0, y0), (x1, y1) = pts[i], pts[(i + 1) % n]
        dx, dy = x1 - x0, y1 - y0
        ln = math.hypot(dx, dy)
        nx, ny = dy / ln, -dx / ln  # right-hand normal = inside for a clockwise outline
        lines.append(((x0 + nx * t, y0 + ny * t), (dx, dy)))
    out = []
    for i in range(n):
        (p, d), (q, e) = lines[i - 1], lines[i]
        den = d[0] * e[1] - d[1] * e[0]
        s = ((q[0] - p[0]) * e[1] - (q[1] - p[1]) * e[0]) / den
        out.append((p[0] + d[0] * s, p[1] + d[1] * s))
    return out


def outlined(points, t=STROKE):
    """A hollow shape: outer outline plus a counter-clockwise hole t units inside."""
    return [poly(points), counter_clockwise([(x, y, True) for x, y in inset(points, t)])]


def arc_points(cx, cy, r, a0, a1):
    """Quadratic approximation of an arc from angle a0 to a1 (degrees), at most 45 degrees a piece."""
    steps = max(1, int(math.ceil(abs(a1 - a0) / 45.0)))
    span = (a1 - a0) / steps
    pts = []
    for i in range(steps):
        s = math.radians(a0 + span * i)
        m = math.radians(a0 + span * (i + 0.5))
        rc = r / math.cos(math.radians(span / 2.0))
        pts.append((cx + r * math.cos(s), cy + r * math.sin(s), True))
        pts.append((cx + rc * math.cos(m), cy + rc * math.sin(m), False))
    e = math.radians(a1)
    pts.append((cx + r * math.cos(e), cy + r * math.sin(e), True))
    return pts


def disc(cx, cy, r):
    return clockwise(arc_points(cx, cy, r, 0, 360)[:-1])


def ring(cx, cy, r_out, r_in):
    return [disc(cx, cy, r_out), counter_clockwise(arc_points(cx, cy, r_in, 0, 360)[:-1])]


def arc_stroke(cx, cy, r, a0, a1, w=STROKE):
    outer = arc_points(cx, cy, r + w / 2.0, a0, a1)
    inner = arc_points(cx, cy, r - w / 2.0, a1, a0)
    return clockwise(outer + inner)


def segment(x0, y0, x1, y1, w=STROKE):
    """A straight stroke with flat ends."""
    dx, dy = x1 - x0, y1 - y0
    ln = math.hypot(dx, dy)
    nx, ny = -dy / ln * w / 2.0, dx / ln * w / 2.0
    return poly([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)])


def polyline(points, w=STROKE, round_joins=True):
    """Connected strokes; round discs at the joints and ends keep corners full."""
    out = []
    for a, b in zip(points, points[1:]):
        out.append(segment(a[0], a[1], b[0], b[1], w))
    if round_joins:
        for p in points:
            out.append(disc(p[0], p[1], w / 2.0))
    return out


def cross(cx, cy, half, w=STROKE):
    return polyline([(cx - half, cy - half), (cx + half, cy + half)], w) + \
        polyline([(cx - half, cy + half), (cx + half, cy - half)], w)


# ---------------------------------------------------------------- the glyphs

def glyph_notdef():
    return outlined([(100, 0), (100, 700), (600, 700), (600, 0)], 60)


def glyph_enter():  # B: return arrow, down the right side and back to the left
    c = polyline([(800, 720), (800, 260), (380, 260)])
    c.append(poly([(120, 260), (400, 480), (400, 40)]))
    return c


def glyph_shift():  # C: hollow up arrow
    return outlined([(500, 780), (900, 360), (690, 360), (690, -40),
                     (310, -40), (310, 360), (100, 360)])


def key_shape(tip_left):
    pts = [(80, 350), (340, 720), (930, 720), (930, -20), (340, -20)]
    if not tip_left:
        pts = [(1000 - x, y) for x, y in pts]
    return pts


def glyph_backspace():  # D: key pointing left with an x inside
    c = outlined(key_shape(True))
    c += cross(615, 350, 140)
    return c


def glyph_delete():  # E: the same key pointing right, x inside
    c = outlined(key_shape(False))
    c += cross(385, 350, 140)
    return c


def rotated_rect(cx, cy, w, h, deg, u0=0.0, u1=1.0):
    """Corners of a w x h box turned by deg around (cx, cy); u0..u1 picks a slice along its length."""
    a = math.radians(deg)
    ux, uy = math.cos(a), math.sin(a)
    vx, vy = -uy, ux
    pts = []
    for u, v in ((u0, -0.5), (u0, 0.5), (u1, 0.5), (u1, -0.5)):
        du = (u - 0.5) * w
        dv = v * h
        pts.append((cx + ux * du + vx * dv, cy + uy * du + vy * dv))
    return pts


def glyph_clear():  # F: an eraser lying on a wiped line
    c = outlined(rotated_rect(520, 400, 680, 340, 40))
    c.append(poly(rotated_rect(520, 400, 680, 340, 40, 0.0, 0.42)))
    c += polyline([(120, -30), (880, -30)], 80)
    return c


def glyph_insert():  # G: insertion caret with a plus above it
    c = polyline([(190, -20), (500, 340), (810, -20)], 96)
    c += polyline([(500, 450), (500, 760)], 92, round_joins=False)
    c += polyline([(345, 605), (655, 605)], 92, round_joins=False)
    return c


def glyph_escape():  # L: arrow leaving an open box
    c = []
    c += polyline([(600, 520), (600, 720), (100, 720), (100, -20), (600, -20), (600, 180)])
    c.append(rect(330, 350 - STROKE / 2.0, 740, 350 + STROKE / 2.0))
    c.append(poly([(950, 350), (720, 570), (720, 130)]))
    return c


def glyph_question():  # ?: question mark in a circle
    c = ring(500, 350, 450, 450 - 70)
    c.append(arc_stroke(500, 470, 140, -40, 180, 86))
    c.append(disc(360, 470, 43))
    # from the end of the hook down to the stem
    ex = 500 + 140 * math.cos(math.radians(-40))
    ey = 470 + 140 * math.sin(math.radians(-40))
    c += polyline([(ex, ey), (500, 300), (500, 230)], 86)
    c.append(disc(500, 110, 56))
    return c


# (name, unicode or None, contours, advance)
GLYPHS = [
    (".notdef", None, glyph_notdef(), 700),
    ("space", 0x20, [], 500),
    ("B", 0x42, glyph_enter(), ADVANCE),
    ("C", 0x43, glyph_shift(), ADVANCE),
    ("D", 0x44, glyph_backspace(), ADVANCE),
    ("E", 0x45, glyph_delete(), ADVANCE),
    ("F", 0x46, glyph_clear(), ADVANCE),
    ("G", 0x47, glyph_insert(), ADVANCE),
    ("L", 0x4C, glyph_escape(), ADVANCE),
    ("question", 0x3F, glyph_question(), ADVANCE),
]


# ---------------------------------------------------------------- table writers

def rounded(contours):
    out = []
    for c in contours:
        pts = [(int(round(x)), int(round(y)), on) for x, y, on in c]
        # drop repeated points that rounding may have made
        clean = []
        for p in pts:
            if not clean or p != clean[-1]:
                clean.append(p)
        if len(clean) > 1 and clean[0] == clean[-1]:
            clean.pop()
        if len(clean) >= 3:
            out.append(clean)
    return out


def glyf_data(contours):
    """Simple glyph with full-size coordinates (no flag compression, no instructions)."""
    if not contours:
        return b"", (0, 0, 0, 0), 0
    xs = [p[0] for c in contours for p in c]
    ys = [p[1] for c in contours for p in c]
    bbox = (min(xs), min(ys), max(xs), max(ys))
    out = struct.pack(">hhhhh", len(contours), *bbox)
    end = -1
    for c in contours:
        end += len(c)
        out += struct.pack(">H", end)
    out += struct.pack(">H", 0)
    pts = [p for c in contours for p in c]
    out += bytes(1 if on else 0 for _, _, on in pts)
    px = py = 0
    xb = yb = b""
    for x, y, _ in pts:
        xb += struct.pack(">h", x - px)
        yb += struct.pack(">h", y - py)
        px, py = x, y
    out += xb + yb
    while len(out) % 4:
        out += b"\0"
    return out, bbox, len(pts)


def table_cmap(mapping):
    codes = sorted(mapping)
    segs = []  # (start, end, delta)
    for c in codes:
        g = mapping[c]
        if segs and c == segs[-1][1] + 1 and g - c == segs[-1][2]:
            segs[-1] = (segs[-1][0], c, segs[-1][2])
        else:
            segs.append((c, c, g - c))
    segs.append((0xFFFF, 0xFFFF, 1))
    n = len(segs)
    search = 2 * (1 << int(math.floor(math.log2(n))))
    sub = struct.pack(">HHHHHHH", 4, 0, 0, 2 * n, search, int(math.log2(search // 2)), 2 * n - search)
    sub += b"".join(struct.pack(">H", e) for _, e, _ in segs)
    sub += struct.pack(">H", 0)
    sub += b"".join(struct.pack(">H", s) for s, _, _ in segs)
    sub += b"".join(struct.pack(">H", d & 0xFFFF) for _, _, d in segs)
    sub += b"".join(struct.pack(">H", 0) for _ in segs)
    sub = sub[:2] + struct.pack(">H", len(sub)) + sub[4:]
    head = struct.pack(">HH", 0, 2)
    offset = 4 + 2 * 8
    head += struct.pack(">HHI", 0, 3, offset)   # Unicode BMP
    head += struct.pack(">HHI", 3, 1, offset)   # Windows Unicode BMP
    return head + sub


def table_name():
    strings = {
        0: "Copyright the Rido Kladdorix developers. Free to use with the program.",
        1: "MySymbolFont",
        2: "Regular",
        3: "MySymbolFont Regular 1.000",
        4: "MySymbolFont",
        5: "Version 1.000",
        6: "MySymbolFont",
    }
    records = []
    for pid, eid, lang, enc in ((1, 0, 0, "latin-1"), (3, 1, 0x409, "utf-16-be")):
        for nid in sorted(strings):
            records.append((pid, eid, lang, nid, strings[nid].encode(enc)))
    data = b""
    recs = b""
    for pid, eid, lang, nid, raw in records:
        recs += struct.pack(">HHHHHH", pid, eid, lang, nid, len(raw), len(data))
        data += raw
    return struct.pack(">HHH", 0, len(records), 6 + 12 * len(records)) + recs + data


def checksum(data):
    data = data + b"\0" * ((4 - len(data) % 4) % 4)
    return sum(struct.unpack(">%dI" % (len(data) // 4), data)) & 0xFFFFFFFF


def build():
    glyph_bytes = []
    bboxes = []
    max_points = max_contours = 0
    mapping = {}
    for gid, (name, code, contours, adv) in enumerate(GLYPHS):
        cs = rounded(contours)
        data, bbox, npts = glyf_data(cs)
        glyph_bytes.append(data)
        bboxes.append(bbox if cs else None)
        max_points = max(max_points, npts)
        max_contours = max(max_contours, len(cs))
        if code is not None:
            mapping[code] = gid
    real = [b for b in bboxes if b]
    x_min = min(b[0] for b in real)
    y_min = min(b[1] for b in real)
    x_max = max(b[2] for b in real)
    y_max = max(b[3] for b in real)
    advances = [g[3] for g in GLYPHS]
    lsbs = [b[0] if b else 0 for b in bboxes]
    rsbs = [adv - b[2] for adv, b in zip(advances, bboxes) if b]
    num = len(GLYPHS)

    glyf = b"".join(glyph_bytes)
    offsets = [0]
    for g in glyph_bytes:
        offsets.append(offsets[-1] + len(g))
    loca = b"".join(struct.pack(">I", o) for o in offsets)

    head = struct.pack(">IIIIHHqqhhhhHHhhh",
                       0x00010000, 0x00010000, 0, 0x5F0F3CF5, 0x000B, UPEM,
                       FIXED_TIME, FIXED_TIME, x_min, y_min, x_max, y_max,
                       0, 8, 2, 1, 0)
    hhea = struct.pack(">IhhhHhhhhhhhhhhhH",
                       0x00010000, ASCENT, DESCENT, 0, max(advances),
                       min(lsbs), min(rsbs), max(b[2] for b in real),
                       1, 0, 0, 0, 0, 0, 0, 0, num)
    maxp = struct.pack(">IHHHHHHHHHHHHHH", 0x00010000, num, max_points, max_contours,
                       0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0)
    hmtx = b"".join(struct.pack(">Hh", a, l) for a, l in zip(advances, lsbs))
    avg = int(round(sum(a for a in advances if a) / len([a for a in advances if a])))
    codes = sorted(mapping)
    os2 = struct.pack(">HhHHH", 4, avg, 400, 5, 0)
    os2 += struct.pack(">hhhhhhhhhh", 650, 600, 0, 75, 650, 600, 0, 350, 50, 250)
    os2 += struct.pack(">h", 0)                       # sFamilyClass
    os2 += bytes([5, 0, 0, 0, 0, 0, 0, 0, 0, 0])      # panose: pictorial
    os2 += struct.pack(">IIII", 1, 0, 0, 0)           # ulUnicodeRange: Basic Latin
    os2 += b"RKLD"
    os2 += struct.pack(">HHH", 0x40, codes[0], codes[-1])
    os2 += struct.pack(">hhhHH", ASCENT, DESCENT, 0, max(ASCENT, y_max), max(-DESCENT, -y_min))
    os2 += struct.pack(">II", 1, 0)                   # code page Latin 1
    os2 += struct.pack(">hhHHH", 500, 700, 0, 0x20, 0)
    post = struct.pack(">IIhhIIIII", 0x00030000, 0, -100, 50, 0, 0, 0, 0, 0)

    tables = {
        b"OS/2": os2, b"cmap": table_cmap(mapping), b"glyf": glyf, b"head": head,
        b"hhea": hhea, b"hmtx": hmtx, b"loca": loca, b"maxp": maxp,
        b"name": table_name(), b"post": post,
    }
    tags = sorted(tables)
    n = len(tags)
    search = 16 * (1 << int(math.floor(math.log2(n))))
    font = struct.pack(">IHHHH", 0x00010000, n, search, int(math.log2(search // 16)), n * 16 - search)
    offset = 12 + 16 * n
    body = b""
    head_offset = 0
    for tag in tags:
        data = tables[tag]
        font += struct.pack(">4sIII", tag, checksum(data), offset + len(body), len(data))
        if tag == b"head":
            head_offset = offset + len(body)
        body += data + b"\0" * ((4 - len(data) % 4) % 4)
    font += body
    adjust = (0xB1B0AFBA - checksum(font)) & 0xFFFFFFFF
    font = font[:head_offset + 8] + struct.pack(">I", adjust) + font[head_offset + 12:]
    return font


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "media", "fonts", "MySymbolFont.ttf")
    data = build()
    with open(out, "wb") as f:
        f.write(data)
    print("wrote %s (%d bytes, %d glyphs)" % (out, len(data), len(GLYPHS)))


if __name__ == "__main__":
    main()
