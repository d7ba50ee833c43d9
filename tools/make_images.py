#!/usr/bin/env python3
"""Builds the 55 interface images in media/images/ from Tabler icons (npm @tabler/icons, MIT).

Each image is an SVG composed here (icons placed, coloured and masked, plus a few simple shapes),
rendered with rsvg-convert (Debian librsvg2-bin) at its exact pixel size and normalised with
ImageMagick (Debian imagemagick) so that reruns give identical bytes: no time stamps or text chunks,
RGBA for all but Blanko-Kopf.png, which is plain RGB on the program's mask colour (23, 0, 83).

Usage: python3 tools/make_images.py [only-this-name.png ...]
Normally run through tools/make_media.sh, which installs what this needs: the @tabler/icons
package (folder given by RK_TABLER_ICONS), rsvg-convert and ImageMagick 6 convert.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

TOOLS = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(TOOLS)
OUT = os.path.join(ROOT, "media", "images")
# make_media.sh installs the npm package outside the work tree and passes its folder here.
ICONS = os.environ.get("RK_TABLER_ICONS") or next(
    (d for d in (os.path.join(TOOLS, "node_modules", "@tabler", "icons", "icons"),
                 os.path.join(os.environ.get("RK_MEDIA_NPM_DIR", "/tmp/rk-media-npm"),
                              "node_modules", "@tabler", "icons", "icons"))
     if os.path.isdir(d)), "")
TEXT_FONT = os.path.join(ROOT, "media", "fonts", "segoeui.ttf")
# The real ImageMagick; a wrapper of the same name may sit earlier on PATH.
CONVERT = "/usr/bin/convert" if os.path.exists("/usr/bin/convert") else "convert"

# Light colours: the tiles behind the icons are dark.
WHITE = "#F4F4F4"
DIM = "#9C9CA8"
YELLOW = "#FFD150"
GREEN = "#3FBF62"
RED = "#FF6464"
BLUE = "#7CC6FF"
SHEET_GREEN = "#9BE8AE"
MASK_BG = "#170053"   # (23, 0, 83): the program's mask colour
HEAD_GREY = "#9A9A9A"
BODY_GREY = "#8A8A8A"


# ---------------------------------------------------------------- layers
# A layer is a piece of SVG in pixel coordinates of the final image. A layer may carry "knock":
# circles (cx, cy, r) cut out of everything drawn before it, so an overlapping badge stays clear.

def icon_svg(name, style="outline"):
    path = os.path.join(ICONS, style, name + ".svg")
    if not os.path.isfile(path):
        sys.exit("icon %s missing: run tools/make_media.sh (or set RK_TABLER_ICONS)" % path)
    with open(path, encoding="utf-8") as f:
        text = f.read()
    body = re.sub(r"^.*?<svg[^>]*>", "", text, flags=re.S)
    body = body.replace("</svg>", "")
    body = re.sub(r'<path stroke="none" d="M0 0h24v24H0z" fill="none"\s*/>', "", body)
    return body.strip()


_BOXES = {}


def icon_box(name, style):
    """Geometric bounding box of an icon in its 24-unit grid, measured by rendering it thin and large."""
    key = (name, style)
    if key not in _BOXES:
        body = icon_svg(name, style)
        paint = 'fill="#000"' if style == "filled" else 'fill="none" stroke="#000" stroke-width="0.05"'
        svg = ('<svg xmlns="http://www.w3.org/2000/svg" width="960" height="960" viewBox="0 0 24 24">'
               '<g %s>%s</g></svg>' % (paint, body))
        png = subprocess.run(["rsvg-convert", "-w", "960", "-h", "960"], input=svg.encode(),
                             stdout=subprocess.PIPE, check=True).stdout
        info = subprocess.run([CONVERT, "png:-", "-alpha", "extract", "-format", "%@", "info:"],
                              input=png, stdout=subprocess.PIPE, check=True).stdout.decode()
        w, h, x, y = [int(v) for v in re.match(r"(\d+)x(\d+)\+(\d+)\+(\d+)", info).groups()]
        _BOXES[key] = (x / 40.0, y / 40.0, (x + w) / 40.0, (y + h) / 40.0)
    return _BOXES[key]


def icon(name, box, color=WHITE, px=3.0, style="outline", knock=None):
    """Tabler icon scaled to fit box (x0, y0, x1, y1) in pixels, stroke px pixels wide, centred."""
    if style == "filled":
        px = 0.0
    gx0, gy0, gx1, gy1 = icon_box(name, style)
    bx0, by0, bx1, by1 = box
    k = min((bx1 - bx0 - px) / (gx1 - gx0), (by1 - by0 - px) / (gy1 - gy0))
    x = (bx0 + bx1) / 2.0 - k * (gx0 + gx1) / 2.0
    y = (by0 + by1) / 2.0 - k * (gy0 + gy1) / 2.0
    if style == "filled":
        attrs = 'fill="%s" stroke="none"' % color
    else:
        attrs = ('fill="none" stroke="%s" stroke-width="%g" stroke-linecap="round" '
                 'stroke-linejoin="round"' % (color, px / k))
    svg = '<g transform="translate(%.3f %.3f) scale(%.4f)" %s>%s</g>' % (x, y, k, attrs, icon_svg(name, style))
    return {"svg": svg, "knock": knock, "src": name}


def shape(svg, knock=None):
    return {"svg": svg, "knock": knock, "src": None}


def badge(cx, cy, r, kind, color=GREEN, gap=2.0):
    """Filled round badge with a white plus / check / x / i / ! on it."""
    k = r * 0.5
    w = max(2.0, r * 0.3)
    stroke = 'stroke="#FFFFFF" stroke-width="%g" stroke-linecap="round" stroke-linejoin="round" fill="none"' % w
    if kind == "plus":
        mark = '<path d="M%g %gH%g M%g %gV%g" %s/>' % (cx - k, cy, cx + k, cx, cy - k, cy + k, stroke)
    elif kind == "check":
        mark = '<path d="M%g %gL%g %gL%g %g" %s/>' % (cx - k, cy, cx - k * 0.25, cy + k * 0.7,
                                                    cx + k, cy - k * 0.6, stroke)
    elif kind == "x":
        mark = '<path d="M%g %gL%g %gM%g %gL%g %g" %s/>' % (cx - k * .8, cy - k * .8, cx + k * .8, cy + k * .8,
                                                          cx - k * .8, cy + k * .8, cx + k * .8, cy - k * .8,
                                                          stroke)
    elif kind == "i":
        mark = ('<path d="M%g %gV%g" %s/><circle cx="%g" cy="%g" r="%g" fill="#FFFFFF"/>'
                % (cx, cy - k * 0.1, cy + k, stroke, cx, cy - k * 0.75, w * 0.65))
    elif kind == "!":
        mark = ('<path d="M%g %gV%g" %s/><circle cx="%g" cy="%g" r="%g" fill="#FFFFFF"/>'
                % (cx, cy - k, cy + k * 0.25, stroke, cx, cy + k * 0.95, w * 0.65))
    else:
        raise ValueError(kind)
    svg = '<circle cx="%g" cy="%g" r="%g" fill="%s"/>%s' % (cx, cy, r, color, mark)
    return shape(svg, knock=[(cx, cy, r + gap)])


def grid_row(x0, y0, x1, y1, cells, color=WHITE, sw=2.5):
    """A table row: rounded box cut into cells."""
    parts = ['<rect x="%g" y="%g" width="%g" height="%g" rx="2" fill="none" stroke="%s" stroke-width="%g"/>'
             % (x0, y0, x1 - x0, y1 - y0, color, sw)]
    for i in range(1, cells):
        x = x0 + (x1 - x0) * i / cells
        parts.append('<path d="M%g %gV%g" stroke="%s" stroke-width="%g"/>' % (x, y0, y1, color, sw))
    return shape("".join(parts))


def grid_column(x0, y0, x1, y1, cells, color=WHITE, sw=2.5, dashed=False):
    dash = ' stroke-dasharray="3 3"' if dashed else ""
    parts = ['<rect x="%g" y="%g" width="%g" height="%g" rx="2" fill="none" stroke="%s" stroke-width="%g"%s/>'
             % (x0, y0, x1 - x0, y1 - y0, color, sw, dash)]
    if not dashed:
        for i in range(1, cells):
            y = y0 + (y1 - y0) * i / cells
            parts.append('<path d="M%g %gH%g" stroke="%s" stroke-width="%g"/>' % (x0, y, x1, color, sw))
    return shape("".join(parts))


def line(x0, y0, x1, y1, color, sw):
    return shape('<path d="M%g %gL%g %g" stroke="%s" stroke-width="%g" stroke-linecap="round"/>'
                 % (x0, y0, x1, y1, color, sw))


def average_sign(cx, cy, r, color=WHITE, sw=3.0):
    """The diameter sign used for averages: a ring crossed by a slash."""
    d = r * 1.45
    return shape('<circle cx="%g" cy="%g" r="%g" fill="none" stroke="%s" stroke-width="%g"/>'
                 '<path d="M%g %gL%g %g" stroke="%s" stroke-width="%g" stroke-linecap="round"/>'
                 % (cx, cy, r, color, sw, cx - d * 0.7, cy + d * 0.7, cx + d * 0.7, cy - d * 0.7, color, sw))


def grade_bars(x0, base, top, heights, axis_x, axis_right):
    """A small bar chart of the six grades, green for 1 to red for 6, on an L-shaped axis."""
    colors = [GREEN, "#7FD35A", "#B5DE4F", YELLOW, "#FF8A50", RED]
    parts = ['<path d="M%g %gV%gH%g" fill="none" stroke="%s" stroke-width="2.5" stroke-linecap="round" '
             'stroke-linejoin="round"/>' % (axis_x, top, base + 2, axis_right, WHITE)]
    for i, (h, color) in enumerate(zip(heights, colors)):
        x = x0 + i * 7
        parts.append('<rect x="%g" y="%g" width="6" height="%g" rx="1.2" fill="%s"/>' % (x, base - h, h, color))
    return shape("".join(parts))


def radio(cx, cy, chosen):
    ring_color = WHITE if chosen else DIM
    svg = '<circle cx="%g" cy="%g" r="7.5" fill="none" stroke="%s" stroke-width="2"/>' % (cx, cy, ring_color)
    if chosen:
        svg += '<circle cx="%g" cy="%g" r="4" fill="%s"/>' % (cx, cy, GREEN)
    return shape(svg)


# ---------------------------------------------------------------- the images, in registration order
# (file name, width, height, layers, extra) — extra holds options such as a label or the RGB mode.

def head_silhouette():
    return [
        shape('<rect width="160" height="160" fill="%s"/>' % MASK_BG),
        shape('<path d="M22 160C22 122 44 104 80 104C116 104 138 122 138 160Z" fill="%s"/>' % BODY_GREY),
        shape('<rect x="68" y="84" width="24" height="26" rx="6" fill="%s"/>' % HEAD_GREY),
        shape('<ellipse cx="80" cy="62" rx="27" ry="32" fill="%s"/>' % HEAD_GREY),
    ]


def full(w, h, m=2):
    return (m, m, w - m, h - m)


IMAGES = [
    ("Blanko-Kopf.png", 160, 160, head_silhouette(), {"rgb": True}),
    ("Hauptmenu.png", 48, 48, [icon("settings", full(48, 48))], {}),
    ("Backup-Pfad.png", 86, 46, [
        icon("folder", (2, 6, 38, 40)),
        icon("arrow-narrow-right", (37, 14, 53, 32), YELLOW),
        icon("device-usb", (56, 4, 80, 42)),
    ], {}),
    ("Neue Klasse.png", 74, 48, [
        icon("users", (4, 4, 52, 44)),
        badge(59, 33, 11, "plus"),
    ], {}),
    ("Klasse entfernen.png", 74, 48, [
        icon("users", (2, 5, 46, 43)),
        icon("trash", (46, 8, 72, 42), RED),
    ], {}),
    ("Beenden.png", 36, 36, [icon("power", full(36, 36), RED)], {}),
    ("Klassenuebersicht.png", 150, 45, [
        icon("arrow-narrow-left", (36, 10, 66, 35), YELLOW),
        icon("layout-grid", (74, 3, 114, 42)),
    ], {}),
    ("Exportieren.png", 78, 48, [
        icon("file-spreadsheet", (4, 2, 40, 46), SHEET_GREEN),
        icon("arrow-narrow-right", (46, 11, 74, 37), YELLOW),
    ], {}),
    ("zurueck zu Backup.png", 81, 37, [
        icon("history", (6, 2, 39, 35), YELLOW),
        icon("archive", (44, 2, 77, 35)),
    ], {}),
    ("Leer duplizieren.png", 147, 44, [
        icon("copy", (18, 2, 56, 42)),
        icon("arrow-narrow-right", (60, 10, 88, 34), YELLOW),
        icon("file", (93, 2, 129, 42)),
    ], {}),
    ("Bilder importieren.png", 74, 48, [
        icon("arrow-narrow-right", (2, 14, 24, 34), YELLOW),
        icon("camera", (26, 3, 72, 45)),
    ], {}),
    ("Einzelanzeigemodus.png", 50, 41, [icon("user", (8, 2, 42, 39))], {}),
    ("KeinEinzelanzeigemodus.png", 50, 41, [
        icon("user", (8, 2, 42, 39)),
        line(10, 37, 40, 4, RED, 3.5),
    ], {}),
    ("Neue Schuelerzeile.png", 141, 44, [
        icon("user", (10, 4, 44, 40)),
        grid_row(50, 12, 104, 32, 3),
        badge(120, 22, 12, "plus"),
    ], {}),
    ("Neue Notenzeile.png", 98, 48, [
        grid_column(20, 4, 34, 44, 3, DIM),
        grid_column(40, 4, 54, 44, 3, DIM),
        grid_column(60, 4, 74, 44, 3, WHITE),
        badge(77, 34, 11, "plus"),
    ], {}),
    ("Arbeit.png", 55, 48, [
        icon("file-text", (4, 2, 40, 46)),
        icon("pencil", (31, 19, 53, 45), YELLOW, knock=[(42, 32, 13)]),
    ], {}),
    ("10h-Test.png", 55, 48, [icon("stopwatch", full(55, 48))], {}),
    ("HUe.png", 58, 48, [
        icon("home", (4, 2, 48, 44)),
        badge(45, 35, 11, "check"),
    ], {}),
    ("Test.png", 58, 48, [icon("list-check", (6, 3, 52, 45))], {}),
    ("Muendl.png", 57, 48, [icon("message-dots", full(57, 48))], {}),
    ("Abfrage.png", 60, 48, [
        icon("message-circle", full(60, 48)),
        icon("question-mark", (22, 11, 38, 33), YELLOW),
    ], {}),
    ("Gruppen.png", 46, 48, [icon("users-group", full(46, 48))], {}),
    ("HA.png", 57, 48, [
        icon("home", (2, 2, 44, 44)),
        icon("book", (33, 23, 55, 45), YELLOW, knock=[(44, 34, 13)]),
    ], {}),
    ("Referat.png", 48, 48, [icon("podium", full(48, 48))], {}),
    ("Praesentation.png", 48, 48, [icon("presentation-analytics", full(48, 48))], {}),
    ("Vortrag.png", 34, 48, [icon("microphone", full(34, 48))], {}),
    ("Heft.png", 32, 48, [icon("notebook", full(32, 48))], {}),
    ("Fragezeichen.png", 48, 48, [icon("question-mark", (6, 4, 42, 44), px=4.0)], {}),
    ("Durchschnitt.png", 39, 61, [
        icon("chart-bar", (3, 2, 36, 32)),
        average_sign(19.5, 47, 9),
    ], {}),
    ("Zeugnis.png", 42, 48, [icon("certificate", full(42, 48))], {}),
    ("AndererTyp.png", 41, 62, [icon("arrows-exchange", (2, 12, 39, 50), YELLOW)], {}),
    ("SpalteLoeschen.png", 41, 62, [
        grid_column(13.5, 4, 27.5, 30, 3),
        icon("trash", (8, 33, 33, 59), RED),
    ], {}),
    ("NachLinksRuecken.png", 120, 62, [
        grid_column(22, 10, 40, 52, 3, DIM, dashed=True),
        icon("arrow-narrow-left", (44, 16, 76, 46), YELLOW),
        grid_column(80, 10, 98, 52, 3),
    ], {}),
    ("Datum aendern.png", 48, 62, [
        icon("calendar-event", (2, 8, 44, 52)),
        icon("pencil", (26, 36, 47, 58), YELLOW, knock=[(36.5, 47, 13)]),
    ], {}),
    ("NameAendern.png", 128, 48, [
        icon("id", (30, 4, 82, 44)),
        icon("pencil", (72, 16, 98, 44), YELLOW, knock=[(85, 30, 14)]),
    ], {}),
    ("ZeileLoeschen.png", 62, 41, [
        icon("user", (2, 3, 32, 38)),
        icon("trash", (33, 5, 60, 36), RED),
    ], {}),
    ("Telefon.png", 48, 48, [icon("phone", (4, 4, 44, 44))], {}),
    ("Infos.png", 48, 48, [
        icon("notes", (2, 2, 40, 44)),
        badge(36, 36, 11, "i", BLUE),
    ], {}),
    ("VergesseneHA.png", 85, 48, [
        icon("notebook", (18, 2, 56, 46)),
        badge(57, 34, 12, "!", RED),
    ], {}),
    ("BildAendern.png", 74, 48, [
        icon("photo", (6, 3, 52, 45)),
        icon("pencil", (45, 19, 71, 45), YELLOW, knock=[(58, 32, 14)]),
    ], {}),
    ("BildRechtsDrehen.png", 76, 48, [
        icon("photo", (2, 5, 40, 43)),
        icon("rotate-clockwise", (42, 6, 74, 42), YELLOW),
    ], {}),
    ("BildLinksDrehen.png", 76, 48, [
        icon("rotate", (2, 6, 34, 42), YELLOW),
        icon("photo", (36, 5, 74, 43)),
    ], {}),
    ("Namensliste importieren.png", 85, 45, [
        icon("file-text", (2, 3, 32, 42)),
        icon("arrow-narrow-right", (32, 14, 50, 31), YELLOW),
        icon("list-numbers", (51, 4, 83, 41)),
    ], {}),
    ("Info.png", 48, 48, [icon("info-circle", full(48, 48), BLUE)], {}),
    ("G9-Gymnasium.png", 136, 23, [radio(11, 11.5, True)], {"label": "G9-Gymnasium", "chosen": True}),
    ("kein-G9-Gymnasium.png", 136, 23, [radio(11, 11.5, False)], {"label": "G9-Gymnasium", "chosen": False}),
    ("G8-Gymnasium.png", 136, 23, [radio(11, 11.5, True)], {"label": "G8-Gymnasium", "chosen": True}),
    ("kein-G8-Gymnasium.png", 136, 23, [radio(11, 11.5, False)], {"label": "G8-Gymnasium", "chosen": False}),
    # Added after the original 48: the column menu's "Notenspiegel" tile.
    ("Notenspiegel.png", 56, 62, [grade_bars(10, 50, 7, [13, 29, 38, 24, 11, 5], 5, 53)], {}),
    ("Verschluesselung.png", 48, 48, [icon("lock", full(48, 48), YELLOW)], {}),
    # The printed reports: the row menu's "Schülerbogen", the class menu's two lists.
    ("Schuelerbogen.png", 76, 48, [
        icon("id-badge", (4, 3, 34, 45)),
        icon("printer", (40, 8, 72, 40), YELLOW),
    ], {}),
    ("Klassenliste drucken.png", 78, 48, [
        icon("table", (4, 5, 40, 43)),
        icon("printer", (44, 8, 76, 40), YELLOW),
    ], {}),
    ("Leere Liste drucken.png", 78, 48, [
        icon("file", (6, 3, 36, 45)),
        icon("printer", (44, 8, 76, 40), YELLOW),
    ], {}),
    # The column menu's "Noten eintragen" tile: a grade column with its marked cell, a pencil and
    # the way down to the next student.
    ("NotenEintragen.png", 56, 62, [
        grid_column(6, 4, 28, 58, 4),
        shape('<rect x="2.5" y="28" width="29" height="19.5" rx="2.5" fill="none" stroke="%s" '
              'stroke-width="3"/>' % YELLOW),
        icon("pencil", (31, 8, 55, 32), YELLOW),
        icon("arrow-narrow-down", (35, 34, 53, 60), GREEN),
    ], {}),
    # The lesson: the class menu's "Sitzplan" and "Anwesenheit", the row menu's "Fehlzeiten".
    ("Sitzplan.png", 78, 48, [
        icon("layout-grid", (4, 5, 40, 43)),
        icon("armchair", (44, 8, 76, 40), YELLOW),
    ], {}),
    ("Anwesenheit.png", 78, 48, [
        icon("users", (2, 4, 40, 44)),
        icon("user-check", (44, 8, 76, 40), GREEN),
    ], {}),
    ("Fehlzeiten.png", 76, 48, [
        icon("calendar", (4, 3, 36, 45)),
        icon("user-x", (40, 8, 72, 40), RED),
    ], {}),
    # The class menu's "Rückgängig" tile: the way back, and the last grade it takes back.
    ("Rueckgaengig.png", 78, 48, [
        icon("arrow-back-up", (4, 6, 40, 42), YELLOW),
        icon("pencil", (46, 8, 76, 38)),
    ], {}),
]


# ---------------------------------------------------------------- rendering

def compose_svg(w, h, layers):
    defs = []
    body = ""
    for i, layer in enumerate(layers):
        if layer["knock"] and body:
            holes = "".join('<circle cx="%g" cy="%g" r="%g" fill="black"/>' % c for c in layer["knock"])
            defs.append('<mask id="k%d" maskUnits="userSpaceOnUse" x="0" y="0" width="%d" height="%d">'
                        '<rect width="%d" height="%d" fill="white"/>%s</mask>' % (i, w, h, w, h, holes))
            body = '<g mask="url(#k%d)">%s</g>' % (i, body)
        body += layer["svg"]
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">'
            '<defs>%s</defs>%s</svg>\n' % (w, h, w, h, "".join(defs), body))


def run(cmd):
    subprocess.run(cmd, check=True)


def render(name, w, h, layers, extra, tmp):
    svg_path = os.path.join(tmp, "img.svg")
    raw_path = os.path.join(tmp, "raw.png")
    with open(svg_path, "w", encoding="utf-8") as f:
        f.write(compose_svg(w, h, layers))
    run(["rsvg-convert", "-w", str(w), "-h", str(h), "-o", raw_path, svg_path])
    cmd = [CONVERT, raw_path]
    if "label" in extra:
        color = WHITE if extra["chosen"] else DIM
        cmd += ["-font", TEXT_FONT, "-pointsize", "15", "-fill", color, "-gravity", "West",
                "-annotate", "+25+0", extra["label"]]
    cmd += ["-strip", "-define", "png:exclude-chunks=date,time,tIME,tEXt,zTXt,iTXt",
            "-define", "png:compression-level=9"]
    if extra.get("rgb"):
        cmd += ["-background", MASK_BG, "-alpha", "remove", "-alpha", "off", "-depth", "8",
                "PNG24:" + os.path.join(OUT, name)]
    else:
        cmd += ["-depth", "8", "PNG32:" + os.path.join(OUT, name)]
    run(cmd)


MANIFEST_HEADER = "# Embedded fonts and images, one path a line, in registration order."
FONTS = ["media/fonts/segoeui.ttf", "media/fonts/MySymbolFont.ttf"]
# The window's icon, drawn by make_app_icon.py.
APP_ICON = ["media/icons/rido-kladdorix-64.png"]


def write_manifest():
    lines = [MANIFEST_HEADER] + FONTS + ["media/images/" + img[0] for img in IMAGES] + APP_ICON
    with open(os.path.join(ROOT, "media", "manifest.txt"), "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


def write_licenses():
    with open(os.path.join(ICONS, "..", "package.json"), encoding="utf-8") as f:
        version = re.search(r'"version":\s*"([^"]+)"', f.read()).group(1)
    with open(os.path.join(ICONS, "..", "LICENSE"), encoding="utf-8") as f:
        mit = f.read().strip()
    out = ["Sources of the images in media/images/ (made by tools/make_images.py).", "",
           "Icons: Tabler Icons, npm package @tabler/icons %s, MIT licence (text below)," % version,
           "outline style, recoloured, scaled and combined. Everything not named below (badges with",
           "plus/check/i/!, table rows and columns, the average sign, radio buttons, the head",
           "silhouette) is drawn by the script itself.",
           "The labels of the four G8/G9 images are set in media/fonts/segoeui.ttf (Open Sans,",
           "Apache License 2.0, see media/fonts/LICENSE-segoeui.txt).", "",
           "Image: Tabler icons used"]
    for name, _, _, layers, _ in IMAGES:
        used = [l["src"] for l in layers if l["src"]]
        out.append("%s: %s" % (name, ", ".join(used) if used else "(drawn by the script)"))
    out += ["", "===== Tabler Icons licence =====", mit, ""]
    with open(os.path.join(OUT, "LICENSES.txt"), "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(out))


def main():
    wanted = set(sys.argv[1:])
    if not os.path.isdir(ICONS):
        sys.exit("Tabler icons missing: run tools/make_media.sh (or set RK_TABLER_ICONS)")
    if shutil.which("rsvg-convert") is None:
        sys.exit("rsvg-convert missing: apt-get install librsvg2-bin")
    os.makedirs(OUT, exist_ok=True)
    tmp = tempfile.mkdtemp(prefix="rk-images-")
    try:
        for name, w, h, layers, extra in IMAGES:
            if wanted and name not in wanted:
                continue
            render(name, w, h, layers, extra, tmp)
    finally:
        shutil.rmtree(tmp)
    if not wanted:
        write_licenses()
        write_manifest()
    print("wrote %d images to %s" % (len(wanted) or len(IMAGES), OUT))


if __name__ == "__main__":
    main()
