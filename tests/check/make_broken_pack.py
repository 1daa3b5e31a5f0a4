#!/usr/bin/env python3
"""Writes tests/check/packs/broken: a content pack with one case of every
finding pallo-check reports (test_check.cpp asserts each by line, section,
key and code). Standard library only; the output is deterministic.

    python3 tests/check/make_broken_pack.py
"""

import os
import shutil
import struct
import zlib

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "packs", "broken")


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png(width, height, rgb=(90, 120, 160)):
    row = b"\0" + bytes(rgb) * width
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(row * height, 9)) + chunk(b"IEND", b""))


def png_header_only(width, height):
    """A PNG that declares its size and holds almost no pixels: refused unread."""
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(b"\0" * 16)) + chunk(b"IEND", b""))


# A 1 x 1 GIF named .png.
GIF = bytes.fromhex("474946383961010001008000000000ffffff21f90401000000002c00000000010001000002024401003b")

SMALL = png(8, 8)
PICTURES = {
    "Menu": ["gear.png", "lands.png", "bags.png", "long.png", "roster.png", "notes.png", "texts.png"],
    "Gear": ["a.png"],
    "Bags": ["a.png"],
    "Long": ["a.png"],
    "Roster": ["knight.png", "x.png"],
    "Notes": ["a.png"],
    "Texts": ["a.png"],
    "Item": ["i1.png", "i2.png"],
}

LINES = [
    "; pallo-check test pack: every line below is one case (see test_check.cpp).",
    "stray=line",
    "[Config]",
    "X=50",
    "W=300",
    "S=200",
    "Colour=red",
    "S=100",
    "Hotkey=Ctrl+Alt",
    "[1]",
    "Name=Gear",
    "Title=装备",
    "In=Item",
    "Link=1",
    "Pic=gear.png",
    "1=a.png|Long bow|two-words|1,2",
    "2=gone.png|Gone|missing-picture|1,2",
    "3=fake.png|Gif|a-GIF-named-.png|1,2",
    "4=huge.png|Huge|9000-pixels-wide|1,2",
    "5=wide.png|Wide|2100-pixels-wide|1,2",
    "6=|NoPic|no-picture-named|1,2",
    "7=a.png|BadId|no-entry-77|1,77",
    "8=a.png|Single|one-ID|2",
    "9=a.png|Many|fifteen-IDs|" + ",".join(["1"] * 15),
    "11=a.png|Lost|after-the-gap-at-10|1",
    "100=a.png|Past|key-100|1",
    "",
    "[2]",
    "Name=Lands",
    "Title=土地",
    "In=",
    "Link=3",
    "Pic=lands.png",
    "1=a.png|Land|blank-under-Link-3|0",
    "",
    "[3]",
    "Name=Bags",
    "Title=包",
    "In=item",
    "Link=1",
    "Pic=bags.png",
    "1=a.png|Bag|In-in-the-wrong-case|1,2",
    "",
    "[4]",
    "Name=Long",
    "Title=长",
    "In=Item",
    "Link=1",
    "Pic=long.png",
] + ["%d=a.png|N%d|d|1,2" % (k, k) for k in range(1, 30)] + [
    "",
    "[5]",
    "Name=Roster",
    "Title=名册",
    "In=Hero",
    "Link=2",
    "Pic=roster.png",
    "1=x.png|||1",
    "2=x.png|||9",
    "3=x.png|Three|parts|",
    "",
    "[6]",
    "Name=A",
    "Title=单",
    "Pic=one.png",
    "",
    "[7]",
    "Name=Notes",
    "Link=0",
    "Pic=notes.png",
    "1=a.png|Note|no-Title-above|0",
    "",
    "[8]",
    "Name=Texts",
    "Title=" + "x" * 10300,
    "Link=0",
    "Pic=texts.png",
    "Show",
    b"1=a.png|\xb3\xa4\xbd\xa3|GBK-bytes|0",
    "",
    "[1]",
    "Name=Again",
    "",
    "[11]",
    "Name=Eleven",
    "",
    "[Extras]",
    "Name=Extras",
    "",
    "[Item]",
    "1=i1.png|Sword|d|0",
    "2=i2.png|Axe|d|1&1,9&9",  # back-references: 9&9 names no link
    "3=i3.png|Bow|nothing-links-here|0",
    "4=i4.png|Broken|three-parts",
    "5=i5.png|After|never-read|0",
    "",
    "[Hero]",
    "1=knight.png|Knight|d|0",
    "3=archer.png|Archer|after-the-gap-at-2|0",
    "",
]


def main():
    if os.path.isdir(OUT):
        shutil.rmtree(OUT)
    for folder, names in PICTURES.items():
        os.makedirs(os.path.join(OUT, "Img", folder), exist_ok=True)
        for name in names:
            with open(os.path.join(OUT, "Img", folder, name), "wb") as f:
                f.write(SMALL)
    extra = {"fake.png": GIF, "huge.png": png_header_only(9000, 4), "wide.png": png(2100, 4)}
    for name, data in extra.items():
        with open(os.path.join(OUT, "Img", "Gear", name), "wb") as f:
            f.write(data)
    data = b"\n".join(line if isinstance(line, bytes) else line.encode("utf-8") for line in LINES)
    with open(os.path.join(OUT, "Cfg.ini"), "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
