#!/usr/bin/env python3
"""Checks the embedded media against the resource list the program registers.

Verifies media/manifest.txt (order and names), that every file exists, the PNG sizes and colour
types (plain RGB for Blanko-Kopf.png, RGBA for the rest), that no stray PNG lies in media/images,
and that the fonts are TrueType files mapping the characters the program draws with them.
Standard library only. Exit code 0 when everything holds, 1 otherwise.

Usage: python3 tools/check_media.py
"""
import os
import struct
import sys
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

FONTS = ["media/fonts/segoeui.ttf", "media/fonts/MySymbolFont.ttf"]

# Registration order, with the pixel size each image must have.
IMAGES = [
    ("Blanko-Kopf.png", 160, 160), ("Hauptmenu.png", 48, 48), ("Backup-Pfad.png", 86, 46),
    ("Neue Klasse.png", 74, 48), ("Klasse entfernen.png", 74, 48), ("Beenden.png", 36, 36),
    ("Klassenuebersicht.png", 150, 45), ("Exportieren.png", 78, 48), ("zurueck zu Backup.png", 81, 37),
    ("Leer duplizieren.png", 147, 44), ("Bilder importieren.png", 74, 48),
    ("Einzelanzeigemodus.png", 50, 41), ("KeinEinzelanzeigemodus.png", 50, 41),
    ("Neue Schuelerzeile.png", 141, 44), ("Neue Notenzeile.png", 98, 48), ("Arbeit.png", 55, 48),
    ("10h-Test.png", 55, 48), ("HUe.png", 58, 48), ("Test.png", 58, 48), ("Muendl.png", 57, 48),
    ("Abfrage.png", 60, 48), ("Gruppen.png", 46, 48), ("HA.png", 57, 48), ("Referat.png", 48, 48),
    ("Praesentation.png", 48, 48), ("Vortrag.png", 34, 48), ("Heft.png", 32, 48),
    ("Fragezeichen.png", 48, 48), ("Durchschnitt.png", 39, 61), ("Zeugnis.png", 42, 48),
    ("AndererTyp.png", 41, 62), ("SpalteLoeschen.png", 41, 62), ("NachLinksRuecken.png", 120, 62),
    ("Datum aendern.png", 48, 62), ("NameAendern.png", 128, 48), ("ZeileLoeschen.png", 62, 41),
    ("Telefon.png", 48, 48), ("Infos.png", 48, 48), ("VergesseneHA.png", 85, 48),
    ("BildAendern.png", 74, 48), ("BildRechtsDrehen.png", 76, 48), ("BildLinksDrehen.png", 76, 48),
    ("Namensliste importieren.png", 85, 45), ("Info.png", 48, 48), ("G9-Gymnasium.png", 136, 23),
    ("kein-G9-Gymnasium.png", 136, 23), ("G8-Gymnasium.png", 136, 23),
    ("kein-G8-Gymnasium.png", 136, 23), ("Notenspiegel.png", 56, 62), ("Verschluesselung.png", 48, 48),
    ("Schuelerbogen.png", 76, 48), ("Klassenliste drucken.png", 78, 48), ("Leere Liste drucken.png", 78, 48),
    ("NotenEintragen.png", 56, 62), ("Sitzplan.png", 78, 48), ("Anwesenheit.png", 78, 48),
    ("Fehlzeiten.png", 76, 48), ("Rueckgaengig.png", 78, 48),
]

# The window's icon (tools/make_app_icon.py); the other sizes go to the desktop only.
ICONS = [("media/icons/rido-kladdorix-64.png", 64, 64)]

# Latin-1 letters and signs plus the euro sign: everything a teacher can type or the program shows.
TEXT_FONT_CHARS = list(range(0x20, 0x7F)) + list(range(0xA0, 0x100)) + [0x20AC]
SYMBOL_FONT_CHARS = [ord(c) for c in "BCDEFGL? "]
REQUIRED_TABLES = [b"head", b"hhea", b"maxp", b"OS/2", b"hmtx", b"cmap", b"loca", b"glyf", b"name", b"post"]

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"

failures = []


def fail(msg):
    failures.append(msg)
    print("FAIL: " + msg)


def png_header(path):
    """(width, height, bit depth, colour type) from the IHDR chunk, or None when not a valid PNG."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != PNG_SIGNATURE or data[12:16] != b"IHDR":
        return None
    length = struct.unpack(">I", data[8:12])[0]
    body = data[16:16 + length]
    crc = struct.unpack(">I", data[16 + length:20 + length])[0]
    if length != 13 or zlib.crc32(b"IHDR" + body) != crc:
        return None
    width, height, depth, ctype = struct.unpack(">IIBB", body[:10])
    return width, height, depth, ctype


def png_chunk_types(path):
    with open(path, "rb") as f:
        data = f.read()
    pos, types = 8, []
    while pos + 8 <= len(data):
        length = struct.unpack(">I", data[pos:pos + 4])[0]
        types.append(data[pos + 4:pos + 8].decode("latin-1"))
        pos += 12 + length
    return types


def font_tables(data):
    if data[:4] not in (b"\x00\x01\x00\x00", b"true"):
        return None
    num = struct.unpack(">H", data[4:6])[0]
    tables = {}
    for i in range(num):
        tag, _, off, length = struct.unpack(">4sIII", data[12 + 16 * i:28 + 16 * i])
        tables[tag] = data[off:off + length]
    return tables


def cmap_codes(cmap):
    """All code points that a Unicode format 4 subtable maps to a glyph other than 0."""
    count = struct.unpack(">H", cmap[2:4])[0]
    for i in range(count):
        pid, eid, off = struct.unpack(">HHI", cmap[4 + 8 * i:12 + 8 * i])
        if (pid, eid) in ((3, 1), (0, 3)) and struct.unpack(">H", cmap[off:off + 2])[0] == 4:
            sub = cmap[off:]
            n = struct.unpack(">H", sub[6:8])[0] // 2
            ends = struct.unpack(">%dH" % n, sub[14:14 + 2 * n])
            starts = struct.unpack(">%dH" % n, sub[16 + 2 * n:16 + 4 * n])
            deltas = struct.unpack(">%dh" % n, sub[16 + 4 * n:16 + 6 * n])
            ro_pos = 16 + 6 * n
            offsets = struct.unpack(">%dH" % n, sub[ro_pos:ro_pos + 2 * n])
            codes = set()
            for s in range(n):
                for c in range(starts[s], ends[s] + 1):
                    if offsets[s] == 0:
                        g = (c + deltas[s]) & 0xFFFF
                    else:
                        at = ro_pos + 2 * s + offsets[s] + 2 * (c - starts[s])
                        g = struct.unpack(">H", sub[at:at + 2])[0]
                        g = (g + deltas[s]) & 0xFFFF if g else 0
                    if g:
                        codes.add(c)
            return codes
    return set()


def check_font(rel, chars):
    path = os.path.join(ROOT, rel)
    with open(path, "rb") as f:
        data = f.read()
    tables = font_tables(data)
    if tables is None:
        fail("%s: not a TrueType font" % rel)
        return
    missing_tables = [t.decode() for t in REQUIRED_TABLES if t not in tables]
    if missing_tables:
        fail("%s: tables missing: %s" % (rel, ", ".join(missing_tables)))
        return
    codes = cmap_codes(tables[b"cmap"])
    missing = [c for c in chars if c not in codes and c != 0x20]
    if missing:
        fail("%s: characters not mapped: %s" % (rel, " ".join("U+%04X" % c for c in missing)))


def main():
    manifest = os.path.join(ROOT, "media", "manifest.txt")
    with open(manifest, encoding="utf-8") as f:
        lines = f.read().split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    entries = [l for l in lines if not l.startswith("#")]
    if not lines or not lines[0].startswith("#"):
        fail("manifest.txt: first line must be the comment line")
    expected = FONTS + ["media/images/" + n for n, _, _ in IMAGES] + [p for p, _, _ in ICONS]
    if entries != expected:
        for i in range(max(len(entries), len(expected))):
            got = entries[i] if i < len(entries) else "<none>"
            want = expected[i] if i < len(expected) else "<none>"
            if got != want:
                fail("manifest.txt entry %d is %r, expected %r" % (i + 1, got, want))
                break
    for rel in entries:
        if rel != rel.strip() or not os.path.isfile(os.path.join(ROOT, rel)):
            fail("missing file: %r" % rel)

    check_font(FONTS[0], TEXT_FONT_CHARS)
    check_font(FONTS[1], SYMBOL_FONT_CHARS)

    for i, (name, w, h) in enumerate(IMAGES):
        path = os.path.join(ROOT, "media", "images", name)
        if not os.path.isfile(path):
            continue
        hdr = png_header(path)
        if hdr is None:
            fail("%s: not a valid PNG" % name)
            continue
        want_type = 2 if i == 0 else 6
        if hdr[:2] != (w, h):
            fail("%s: %dx%d, expected %dx%d" % (name, hdr[0], hdr[1], w, h))
        if hdr[2] != 8 or hdr[3] != want_type:
            fail("%s: bit depth %d colour type %d, expected 8 / %d" % (name, hdr[2], hdr[3], want_type))
        stamps = [t for t in png_chunk_types(path) if t in ("tIME", "tEXt", "zTXt", "iTXt")]
        if stamps:
            fail("%s: carries metadata chunks %s (breaks reproducible builds)" % (name, ",".join(stamps)))

    for rel, w, h in ICONS:
        hdr = png_header(os.path.join(ROOT, rel))
        if hdr is None or hdr[:2] != (w, h) or hdr[2] != 8 or hdr[3] != 6:
            fail("%s: expected an 8-bit RGBA PNG of %dx%d" % (rel, w, h))

    known = {n for n, _, _ in IMAGES}
    for f in sorted(os.listdir(os.path.join(ROOT, "media", "images"))):
        if f.lower().endswith(".png") and f not in known:
            fail("stray image not in the resource list: %s" % f)

    total = len(expected)
    if failures:
        print("check_media: %d problem(s) in %d resources" % (len(failures), total))
        return 1
    print("check_media: all %d resources ok (2 fonts, %d images, %d icon)" % (total, len(IMAGES), len(ICONS)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
