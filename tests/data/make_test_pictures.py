#!/usr/bin/env python3
"""Writes the small test pictures of this folder.

PNG files come from the encoder in scripts/make_art.py (standard library
only); the JPEG files need ImageMagick's `convert`. The pixel values are the
ones tests/image/test_image.cpp checks.
"""

import os
import struct
import subprocess
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "scripts"))
import make_art  # noqa: E402


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)
    print("%-22s %6d bytes" % (name, len(data)))


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def pngs():
    enc = make_art.encode_png
    # Palette, 4 bits a pixel, with tRNS: index 0 opaque red, 1 half green,
    # 2 transparent blue, 3 white with no tRNS entry (opaque).
    write("palette_trns.png", enc(4, 2, [[0, 1, 2, 3], [3, 2, 1, 0]], 3, 4,
                                   [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 255)], bytes([255, 128, 0])))
    write("gray8.png", enc(3, 2, [[0, 128, 255], [64, 32, 16]], 0, 8))
    write("gray2.png", enc(4, 1, [[0, 1, 2, 3]], 0, 2))
    write("gray_alpha.png", enc(2, 1, [[200, 100, 50, 255]], 4, 8))
    write("rgba.png", enc(3, 2, [[255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 0],
                                 [10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120]], 6, 8))
    write("rgb16.png", enc(2, 1, [[0xFFFF, 0x8000, 0x0000, 0x1234, 0xABCD, 0x00FF]], 2, 16))
    # Colour-key transparency on RGB: (10, 20, 30) becomes transparent.
    write("rgb_trns.png", enc(2, 1, [[10, 20, 30, 1, 2, 3]], 2, 8, trns=struct.pack(">HHH", 10, 20, 30)))
    rows = [[v for x in range(11) for v in (x * 20, y * 25, (x + y) * 5, 255 - x)] for y in range(9)]
    write("interlaced.png", enc(11, 9, rows, 6, 8, interlace=True))
    # A valid header declaring 100000 x 100000 with a tiny body.
    ihdr = struct.pack(">IIBBBBB", 100000, 100000, 8, 6, 0, 0, 0)
    write("huge_header.png", b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) +
          chunk(b"IDAT", zlib.compress(b"\0" * 64)) + chunk(b"IEND", b""))
    write("icon256.png", enc(256, 256, make_art.draw_emblem(256).rgba_rows(), 6))


def jpegs():
    # 32 x 16: four 16 x 8 blocks, red and green on top, blue and white below.
    w, h = 32, 16
    colours = [[(255, 0, 0), (0, 255, 0)], [(0, 0, 255), (255, 255, 255)]]
    ppm = bytearray(b"P6 %d %d 255\n" % (w, h))
    for y in range(h):
        for x in range(w):
            ppm += bytes(colours[y // 8][x // 16])
    with tempfile.TemporaryDirectory() as tmp:
        src = os.path.join(tmp, "src.ppm")
        with open(src, "wb") as f:
            f.write(ppm)
        common = ["-strip", "-quality", "95", "-sampling-factor", "1x1"]
        jobs = {
            "baseline.jpg": ["-interlace", "none"],
            "progressive.jpg": ["-interlace", "JPEG"],
            "gray.jpg": ["-colorspace", "Gray", "-interlace", "none"],
            "cmyk.jpg": ["-colorspace", "CMYK", "-interlace", "none"],
        }
        for name, extra in jobs.items():
            out = os.path.join(tmp, name)
            subprocess.run(["convert", src] + common + extra + [out], check=True)
            with open(out, "rb") as f:
                write(name, f.read())
    # The baseline file with its frame header claiming 60000 x 60000.
    data = bytearray(open(os.path.join(HERE, "baseline.jpg"), "rb").read())
    sof = data.find(b"\xff\xc0")
    struct.pack_into(">HH", data, sof + 5, 60000, 60000)
    write("huge_header.jpg", bytes(data))


if __name__ == "__main__":
    pngs()
    jpegs()
