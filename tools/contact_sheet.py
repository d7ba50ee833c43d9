#!/usr/bin/env python3
"""Draws all images of media/images at 2x on the dark tile colour (56, 48, 64) into one PNG for review.

Usage: python3 tools/contact_sheet.py [out.png]   (default /tmp/rk-contact-sheet.png)
"""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_images  # noqa: E402

out = sys.argv[1] if len(sys.argv) > 1 else "/tmp/rk-contact-sheet.png"
tmp = tempfile.mkdtemp(prefix="rk-sheet-")
files = []
for i, (name, w, h, _, _) in enumerate(make_images.IMAGES):
    dst = os.path.join(tmp, "%02d.png" % i)
    subprocess.run([make_images.CONVERT, os.path.join(make_images.OUT, name), "-scale", "200%",
                    "-background", "#383040", "-gravity", "center", "-extent", "320x%d" % max(2 * h, 96),
                    dst], check=True)
    files += ["-label", "%s %dx%d" % (name, w, h), dst]
subprocess.run(["/usr/bin/montage" if os.path.exists("/usr/bin/montage") else "montage",
                "-background", "#202020", "-fill", "white", "-pointsize", "12"] + files +
               ["-tile", "6x", "-geometry", "+4+4", out], check=True)
print(out)
