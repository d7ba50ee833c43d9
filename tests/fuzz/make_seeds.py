#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets: small valid files of every kind
each reader takes. Run from anywhere; the files land beside this script."""
import os
import struct
import zlib

HIER = os.path.dirname(os.path.abspath(__file__))


def schreibe(ordner, name, daten):
    pfad = os.path.join(HIER, ordner)
    os.makedirs(pfad, exist_ok=True)
    with open(os.path.join(pfad, name), "wb") as f:
        f.write(daten)


def bmp(breite, hoehe, bpp, zeilen, palette=(), kopf=40, kompression=0, masken=(), benutzt=0):
    kern = kopf == 12
    masken_danach = kopf == 40 and masken
    palette_bytes = b"".join(struct.pack("<BBB", c & 0xFF, (c >> 8) & 0xFF, c >> 16) + (b"" if kern else b"\0")
                             for c in palette)
    versatz = 14 + kopf + (4 * len(masken) if masken_danach else 0) + len(palette_bytes)
    schritt = (breite * bpp + 31) // 32 * 4
    pixel = b"".join(z.ljust(schritt, b"\0") for z in (zeilen if hoehe < 0 else reversed(zeilen)))
    k = struct.pack("<I", kopf)
    if kern:
        k += struct.pack("<HHHH", breite, hoehe & 0xFFFF, 1, bpp)
    else:
        k += struct.pack("<iiHHIIiiII", breite, hoehe, 1, bpp, kompression, 0, 2835, 2835, benutzt, 0)
        if kopf > 40:
            k += b"".join(struct.pack("<I", m) for m in (list(masken) + [0] * 4)[:4])
        k = k.ljust(kopf, b"\0")
        if masken_danach:
            k += b"".join(struct.pack("<I", m) for m in masken)
    return b"BM" + struct.pack("<III", versatz + len(pixel), 0, versatz) + k + palette_bytes + pixel


def tga(typ, breite, hoehe, tiefe, beschreibung, daten, kennung=0, karte=0):
    kopf = struct.pack("<BBBHHBHHHHBB", kennung, 1 if karte else 0, typ, 0, karte, 24 if karte else 0,
                       0, 0, breite, hoehe, tiefe, beschreibung)
    return kopf + b"\x5a" * (kennung + 3 * karte) + bytes(daten)


def exif(reihenfolge, orientierung, weitere=0):
    e = "<" if reihenfolge == b"II" else ">"
    eintraege = [struct.pack(e + "HHII", 0x010F + i, 2, 4, 0) for i in range(weitere)]
    eintraege.append(struct.pack(e + "HHIHH", 0x0112, 3, 1, orientierung, 0))
    return b"Exif\0\0" + reihenfolge + struct.pack(e + "HI", 42, 8) + struct.pack(e + "H", len(eintraege)) + \
        b"".join(eintraege) + struct.pack(e + "I", 0)


def main():
    schreibe("corpus_bmp", "1bit", bmp(10, 2, 1, [b"\xaa\x80", b"\x55\x40"], palette=(0x170053, 0xFFFFFF)))
    schreibe("corpus_bmp", "4bit", bmp(3, 2, 4, [b"\x01\x20", b"\x21\x00"], palette=(0xFF0000, 0xFF00, 0xFF)))
    schreibe("corpus_bmp", "8bit_topdown", bmp(4, -1, 8, [b"\x02\x01\x00\x05"], palette=(0xFF0000, 0xFF00, 0xFF),
                                                 benutzt=3))
    schreibe("corpus_bmp", "8bit_core", bmp(2, 1, 8, [b"\x01\x00"], palette=(0x170053, 0xFF0000), kopf=12))
    schreibe("corpus_bmp", "24bit", bmp(3, 2, 24, [b"\0\0\xff\0\xff\0\xff\0\0", b"\x53\x00\x17\xff\xff\xff\0\0\0"]))
    schreibe("corpus_bmp", "32bit", bmp(2, 1, 32, [b"\0\0\xff\0\xff\0\0\0"]))
    schreibe("corpus_bmp", "32bit_v4_alpha", bmp(2, 1, 32, [b"\x33\x22\x11\x80\0\0\xff\0"], kopf=108, kompression=3,
                                                   masken=(0xFF0000, 0xFF00, 0xFF, 0xFF000000)))
    schreibe("corpus_bmp", "16bit_565", bmp(2, 1, 16, [b"\x00\xf8\xe0\x07"], kompression=3,
                                              masken=(0xF800, 0x07E0, 0x001F)))
    rgb = [0, 0, 255, 0, 255, 0, 255, 0, 0, 83, 0, 23]
    schreibe("corpus_tga", "24bit", tga(2, 2, 2, 24, 0x00, rgb))
    schreibe("corpus_tga", "24bit_topright_id_map", tga(2, 2, 2, 24, 0x30, rgb, kennung=5, karte=4))
    schreibe("corpus_tga", "32bit_alpha", tga(2, 2, 1, 32, 0x28, [0x33, 0x22, 0x11, 0x80, 0, 0, 255, 0]))
    schreibe("corpus_tga", "8bit_gray", tga(3, 3, 1, 8, 0x20, [0, 128, 255]))
    schreibe("corpus_tga", "rle_24bit", tga(10, 3, 2, 24, 0x20, [0x83, 0, 0, 255, 0x01, 255, 0, 0, 83, 0, 23]))
    schreibe("corpus_tga", "rle_32bit", tga(10, 1, 2, 32, 0x08, [0x00, 0, 0, 255, 255, 0x00, 255, 0, 0, 64]))
    schreibe("corpus_tga", "rle_gray", tga(11, 4, 1, 8, 0x20, [0x83, 0x11]))
    for o in (1, 3, 6, 8):
        schreibe("corpus_exif", "ii_%d" % o, exif(b"II", o))
        schreibe("corpus_exif", "mm_%d" % o, exif(b"MM", o, weitere=2))
    namen = "Müller Jürgen\r\nÇelik Ayşe\r\nŁukasiewicz Paweł\r\nO'Brien Seán Patrick\r\n\r\nNguyễn Thị Lan\r\n"
    schreibe("corpus_name_list", "utf8", namen.encode("utf-8"))
    schreibe("corpus_name_list", "utf8_bom", b"\xef\xbb\xbf" + namen.encode("utf-8"))
    schreibe("corpus_name_list", "utf16le", b"\xff\xfe" + namen.encode("utf-16-le"))
    schreibe("corpus_name_list", "utf16be", b"\xfe\xff" + namen.encode("utf-16-be"))
    schreibe("corpus_name_list", "cp1252", "Müller Jürgen\r\nŠimek Zoë\tAnna\r\nCœur Noël\r\n".encode("cp1252"))
    schreibe("corpus_name_list", "csv_semikolon",
             'Nachname;Vorname;Klasse\r\n"Müller";"Jürgen";7a\r\n"Weiß, Dr.";"Anna ""Anni""";7a\r\n'.encode("utf-8"))
    schreibe("corpus_name_list", "csv_komma", "Name,Vorname\nSchmidt,Paul\n  Ölmez , Can \n".encode("cp1252"))
    schreibe("corpus_settings", "leer", b"")
    schreibe("corpus_settings", "backup", b"/media/lehrer/STICK/Sicherung\r\n/home/lehrer\r\n")
    schreibe("corpus_settings", "g8", "/mnt/Datenträger\r\n/home/lehrer/Schule\r\nG8-Gymnasium\r\n".encode("latin-1"))
    schreibe("corpus_settings", "lf", b"\n/home/lehrer\nG8-Gymnasium")


def png(breite, hoehe, farbtyp, tiefe, zeilen, zeilensprung=0, palette=None, trns=None):
    def stueck(art, daten):
        return struct.pack(">I", len(daten)) + art + daten + struct.pack(">I", zlib.crc32(art + daten) & 0xFFFFFFFF)
    kopf = struct.pack(">IIBBBBB", breite, hoehe, tiefe, farbtyp, 0, 0, zeilensprung)
    out = b"\x89PNG\r\n\x1a\n" + stueck(b"IHDR", kopf)
    if palette:
        out += stueck(b"PLTE", palette)
    if trns:
        out += stueck(b"tRNS", trns)
    return out + stueck(b"IDAT", zlib.compress(b"".join(b"\0" + z for z in zeilen))) + stueck(b"IEND", b"")


def jpegs():
    # Made by ImageMagick where it is installed; the committed seeds stay otherwise.
    import shutil
    import subprocess
    if not shutil.which("convert"):
        return
    for name, args in (("grau", ["-size", "9x7", "gradient:", "-colorspace", "Gray"]),
                       ("farbe", ["-size", "17x9", "plasma:fractal", "-seed", "1"]),
                       ("progressiv", ["-size", "16x16", "gradient:red-blue", "-interlace", "Plane"]),
                       ("exif_gedreht", ["-size", "8x4", "xc:green", "-orient", "RightTop"])):
        pfad = os.path.join(HIER, "corpus_jpeg", name)
        os.makedirs(os.path.dirname(pfad), exist_ok=True)
        subprocess.run(["convert", *args, "-quality", "60", "jpg:" + pfad], check=True)
        with open(pfad, "rb") as f:
            daten = f.read()
        with open(pfad, "wb") as f:
            f.write(b"\0" + daten)  # first byte: full-size decoding


def versiegelt_seeds():
    # The first byte: bit 0 seals the rest under the harness's key, bits 1-2 the place.
    klasse = b'ID;PCALCOOO32\r\nC;X1;Y1;K"7a"\r\nC;X2;Y1;K"Mathe"\r\nC;X1;Y2;K"Zappelmann"\r\nE\r\n'
    for ort in range(4):
        schreibe("corpus_sealed", "versiegelt_%d" % ort, bytes([ort << 1 | 1]) + klasse)
        schreibe("corpus_sealed", "klar_%d" % ort, bytes([ort << 1]) + klasse)
    schreibe("corpus_sealed", "altes_format", b"\0RKV1" + bytes(24) + bytes(40))
    schreibe("corpus_sealed", "neues_format", b"\0RKV2" + bytes(24) + bytes(40))


def schluessel_seeds():
    for ops, mem, name in ((1, 8192, "klein"), (3, 262144, "gross"), (64, 4 << 20, "zu_gross")):
        datei = b"RKS1" + struct.pack("<II", ops, mem) + bytes(range(176))
        schreibe("corpus_keyfile", name, datei)
    schreibe("corpus_keyfile", "stick", b"RKS1" + struct.pack("<II", 1, 8192) + bytes(88) + bytes(range(88)))
    # The marked layouts: flags and a MAC after the slots (and the previous key).
    markiert = struct.pack("<II", 1, 8192) + bytes(range(176))
    schreibe("corpus_keyfile", "markiert", b"RKS3" + markiert + struct.pack("<I", 1) + bytes(32))
    schreibe("corpus_keyfile", "markiert_wechsel", b"RKS4" + markiert + bytes(range(72)) + struct.pack("<I", 1) + bytes(32))


def wiederherstellung_seeds():
    # The first byte: bit 0 seals the rest as the recovery file in its place;
    # the harness's class file is "gleich".
    zeilen = [b'ID;PCALCOOO32', b'C;X1;Y1;K"7a"', b'C;X2;Y1;K"Mathe"', b'C;X3;Y1;K"4 Noten"',
              b'C;X1;Y2;K"1 Sch\xfcler"', b'C;X3;Y3;K"Arbeit"', b'C;X4;Y3;K"schriftl."', b'C;X5;Y3;K"sonst."',
              b'C;X6;Y3;K"HauptF."', b'C;X3;Y4;K"14.10.15"', b'C;X4;Y4;K"\xd8"', b'C;X5;Y4;K"\xd8"',
              b'C;X6;Y4;K"\xd8"', b'C;X1;Y5;K"Berger"', b'C;X2;Y5;K"Lena Marie"', b'C;X3;Y5;K"2-"',
              b'C;X4;Y5;K"2.25"', b'C;X5;Y5;K" "', b'C;X6;Y5;K"2.25"', b'E', b'', b'', b'']
    klasse = b"".join(z + b"\r\n" for z in zeilen)
    geaendert = klasse.replace(b'K"2-"', b'K"4"')
    schreibe("corpus_recovery", "gleich", b"\1" + klasse)
    schreibe("corpus_recovery", "geaendert", b"\1" + geaendert)
    schreibe("corpus_recovery", "geaendert_klar", b"\0" + geaendert)
    schreibe("corpus_recovery", "anderer_titel", b"\1" + geaendert.replace(b'K"7a"', b'K"8b"'))
    schreibe("corpus_recovery", "abgeschnitten", b"\1" + geaendert[:len(geaendert) // 2])
    schreibe("corpus_recovery", "leer", b"\1")
    schreibe("corpus_recovery", "alte_form", b"\0RKV1" + bytes(24) + bytes(40))


def bilder_seeds():
    schreibe("corpus_png", "rgb", png(2, 2, 2, 8, [b"\xff\0\0\0\xff\0", b"\0\0\xff\x17\0\x53"]))
    schreibe("corpus_png", "rgba", png(1, 2, 6, 8, [b"\x10\x20\x30\x80", b"\0\0\0\0"]))
    schreibe("corpus_png", "grau16", png(2, 1, 0, 16, [b"\x12\x34\xff\xff"]))
    schreibe("corpus_png", "palette", png(4, 1, 3, 2, [b"\x1b"], palette=b"\0\0\0\xff\0\0\0\xff\0\0\0\xff",
                                         trns=b"\x80"))
    schreibe("corpus_png", "zeilensprung", png(9, 9, 2, 8, [bytes(27)] * 9, zeilensprung=1))
    jpegs()
    versiegelt_seeds()
    schluessel_seeds()
    wiederherstellung_seeds()


main()
bilder_seeds()
