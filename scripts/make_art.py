#!/usr/bin/env python3
"""Draws the program's own embedded pictures into assets/.

Standard library only (zlib, struct). The output is deterministic: running
the script again rewrites the same bytes, so the committed files can be
checked against it. Shapes are drawn from signed distance functions, with
coverage taken from the distance at the pixel centre, which gives smooth
edges without supersampling.

    python3 scripts/make_art.py            # writes into assets/
    python3 scripts/make_art.py OUT_DIR    # writes elsewhere
"""

import math
import os
import struct
import sys
import zlib

# ---------------------------------------------------------------- PNG output


def _chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def _filter_row(row, prev, bpp):
    """Returns the filtered row (type byte first) that looks cheapest to
    compress: the usual minimum-sum-of-absolute-differences heuristic."""
    n = len(row)
    left = bytes(bpp) + row[:-bpp] if n > bpp else bytes(n)
    up_left = bytes(bpp) + prev[:-bpp] if n > bpp else bytes(n)
    candidates = [
        bytes(row),
        bytes((row[i] - left[i]) & 0xFF for i in range(n)),
        bytes((row[i] - prev[i]) & 0xFF for i in range(n)),
        bytes((row[i] - ((left[i] + prev[i]) >> 1)) & 0xFF for i in range(n)),
        bytes((row[i] - _paeth(left[i], prev[i], up_left[i])) & 0xFF for i in range(n)),
    ]
    best, best_cost = 0, None
    for kind, data in enumerate(candidates):
        cost = sum(v if v < 128 else 256 - v for v in data)
        if best_cost is None or cost < best_cost:
            best, best_cost = kind, cost
    return bytes([best]) + candidates[best]


def _pack_rows(rows, bit_depth):
    """Packs sample rows (lists of ints) into bytes for the given depth."""
    out = []
    for row in rows:
        if bit_depth == 8:
            out.append(bytes(row))
        elif bit_depth == 16:
            out.append(b"".join(struct.pack(">H", v) for v in row))
        else:
            per_byte = 8 // bit_depth
            packed = bytearray()
            for i in range(0, len(row), per_byte):
                byte = 0
                group = row[i:i + per_byte]
                for j in range(per_byte):
                    byte <<= bit_depth
                    if j < len(group):
                        byte |= group[j]
                packed.append(byte)
            out.append(bytes(packed))
    return out


_CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}
_ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]


def encode_png(width, height, samples, color_type, bit_depth=8, palette=None, trns=None,
               interlace=False, extra_chunks=()):
    """samples: list of rows, each a flat list of channel values.
    palette: list of (r, g, b); trns: bytes of the tRNS chunk."""
    channels = _CHANNELS[color_type]
    bpp = max(1, channels * bit_depth // 8)
    raw = bytearray()
    if interlace:
        passes = []
        for x0, y0, dx, dy in _ADAM7:
            rows = []
            for y in range(y0, height, dy):
                row = []
                for x in range(x0, width, dx):
                    row.extend(samples[y][x * channels:(x + 1) * channels])
                if row:
                    rows.append(row)
            passes.append(rows)
    else:
        passes = [samples]
    for rows in passes:
        prev = None
        for row in _pack_rows(rows, bit_depth):
            if prev is None:
                prev = bytes(len(row))
            raw += _filter_row(row, prev, bpp)
            prev = row
    ihdr = struct.pack(">IIBBBBB", width, height, bit_depth, color_type, 0, 0, 1 if interlace else 0)
    out = b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", ihdr)
    for kind, data in extra_chunks:
        out += _chunk(kind, data)
    if palette is not None:
        out += _chunk(b"PLTE", b"".join(bytes(c) for c in palette))
    if trns is not None:
        out += _chunk(b"tRNS", trns)
    out += _chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    out += _chunk(b"IEND", b"")
    return out


def encode_ico(png_bytes, size):
    """An ICO container holding one PNG image (Vista and later read these)."""
    dim = 0 if size >= 256 else size
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(png_bytes), 6 + 16)
    return header + entry + png_bytes


# ------------------------------------------------------------------ drawing


def _clamp01(v):
    return 0.0 if v < 0.0 else 1.0 if v > 1.0 else v


class Canvas:
    """Straight (not premultiplied) RGBA in floats 0..1, painted with 'over'."""

    def __init__(self, width, height, fill=(0, 0, 0, 0)):
        self.width, self.height = width, height
        r, g, b, a = (c / 255.0 for c in fill)
        self.px = [[r, g, b, a] for _ in range(width * height)]

    def paint(self, sdf, colour, box=None, opacity=1.0):
        """Fills the shape sdf(x, y) < 0 (distance in pixels). colour is an
        (r, g, b) tuple in 0..255 or a function (x, y) -> (r, g, b).
        box limits the work to (x0, y0, x1, y1)."""
        x0, y0, x1, y1 = box if box else (0, 0, self.width, self.height)
        x0, y0 = max(0, int(x0)), max(0, int(y0))
        x1, y1 = min(self.width, int(math.ceil(x1))), min(self.height, int(math.ceil(y1)))
        for y in range(y0, y1):
            cy = y + 0.5
            for x in range(x0, x1):
                cx = x + 0.5
                cover = _clamp01(0.5 - sdf(cx, cy)) * opacity
                if cover <= 0.0:
                    continue
                c = colour(cx, cy) if callable(colour) else colour
                p = self.px[y * self.width + x]
                sa = cover
                da = p[3] * (1.0 - sa)
                oa = sa + da
                for i in range(3):
                    p[i] = (c[i] / 255.0 * sa + p[i] * da) / oa
                p[3] = oa

    def rgba_rows(self):
        rows = []
        for y in range(self.height):
            row = []
            for p in self.px[y * self.width:(y + 1) * self.width]:
                row.extend(int(round(_clamp01(v) * 255)) for v in p)
            rows.append(row)
        return rows

    def gray_rows(self):
        rows = []
        for y in range(self.height):
            rows.append([int(round(_clamp01(p[0]) * 255)) for p in self.px[y * self.width:(y + 1) * self.width]])
        return rows


# Signed distance functions: negative inside, in pixels.

def sd_circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def sd_ring(cx, cy, r, half_width):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - half_width


def sd_round_rect(cx, cy, hw, hh, radius):
    def f(x, y):
        qx = abs(x - cx) - hw + radius
        qy = abs(y - cy) - hh + radius
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius
    return f


def sd_outline(sdf, half_width):
    return lambda x, y: abs(sdf(x, y)) - half_width


def sd_star(cx, cy, r, points, m, rounding=0.0, rotation=0.0):
    """A star with its first point straight up; m in [2, points] sets how
    deep the valleys are (2 is thinnest)."""
    an = math.pi / points
    en = math.pi / m
    acx, acy = math.cos(an), math.sin(an)
    ecx, ecy = math.cos(en), math.sin(en)
    rr = r - rounding

    def f(x, y):
        px, py = x - cx, -(y - cy)
        if rotation:
            c, s = math.cos(rotation), math.sin(rotation)
            px, py = c * px - s * py, s * px + c * py
        bn = math.fmod(math.atan2(px, py), 2 * an)
        if bn < 0:
            bn += 2 * an
        bn -= an
        length = math.hypot(px, py)
        qx, qy = length * math.cos(bn), length * abs(math.sin(bn))
        qx -= rr * acx
        qy -= rr * acy
        t = min(max(-(qx * ecx + qy * ecy), 0.0), rr * acy / ecy)
        qx += ecx * t
        qy += ecy * t
        return math.hypot(qx, qy) * (1 if qx >= 0 else -1) - rounding
    return f


def sd_smile(cx, cy, r, aperture, half_width):
    """An arc of radius r around (cx, cy) spanning `aperture` radians either
    side of straight down, with round ends."""
    sc, cc = math.sin(aperture), math.cos(aperture)

    def f(x, y):
        px, py = abs(x - cx), y - cy  # down is positive: the arc opens upward
        if cc * px > sc * py:
            return math.hypot(px - sc * r, py - cc * r) - half_width
        return abs(math.hypot(px, py) - r) - half_width
    return f


def sd_triangle(p0, p1, p2):
    pts = [p0, p1, p2]

    def f(x, y):
        d = float("inf")
        inside = True
        for i in range(3):
            ax, ay = pts[i]
            bx, by = pts[(i + 1) % 3]
            ex, ey = bx - ax, by - ay
            wx, wy = x - ax, y - ay
            t = min(max((wx * ex + wy * ey) / (ex * ex + ey * ey), 0.0), 1.0)
            d = min(d, math.hypot(wx - ex * t, wy - ey * t))
            if ex * wy - ey * wx < 0:
                inside = False
        return -d if inside else d
    return f


def sd_intersect(a, b):
    return lambda x, y: max(a(x, y), b(x, y))


def sd_union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def vertical_gradient(top, bottom, y0, y1):
    def f(x, y):
        t = _clamp01((y - y0) / float(y1 - y0))
        return tuple(top[i] + (bottom[i] - top[i]) * t for i in range(3))
    return f


# ------------------------------------------------------------------ pictures


def draw_emblem(size):
    """The program's emblem: a smiling white star on a lavender disc with a
    deep purple rim and two small sparkles. Transparent outside the disc."""
    s = size / 316.0
    c = size / 2.0
    canvas = Canvas(size, size)
    full = (0, 0, size, size)
    canvas.paint(sd_circle(c, c, 150 * s), (92, 58, 150), full)
    canvas.paint(sd_circle(c, c, 136 * s), vertical_gradient((214, 200, 248), (150, 120, 218), c - 136 * s, c + 136 * s), full)
    # soft highlight across the upper half of the disc
    canvas.paint(sd_intersect(sd_circle(c, c, 126 * s), sd_circle(c, c - 150 * s, 140 * s)), (255, 255, 255), full, 0.18)
    star_cy = c + 10 * s
    canvas.paint(sd_star(c + 3 * s, star_cy + 7 * s, 104 * s, 5, 2.6, 14 * s), (70, 40, 120), full, 0.30)
    canvas.paint(sd_star(c, star_cy, 104 * s, 5, 2.6, 14 * s), (255, 252, 240), full)
    # the face
    eye_y = star_cy - 6 * s
    for ex in (c - 22 * s, c + 22 * s):
        canvas.paint(sd_round_rect(ex, eye_y, 7 * s, 11 * s, 7 * s), (70, 40, 120), full)
    canvas.paint(sd_smile(c, star_cy + 2 * s, 24 * s, 0.95, 4.5 * s), (70, 40, 120), full)
    for cx in (c - 42 * s, c + 42 * s):
        canvas.paint(sd_circle(cx, star_cy + 16 * s, 9 * s), (240, 150, 190), full, 0.55)
    # sparkles
    canvas.paint(sd_star(c + 92 * s, c - 86 * s, 24 * s, 4, 2.2), (255, 255, 255), full)
    canvas.paint(sd_star(c - 96 * s, c - 64 * s, 13 * s, 4, 2.2), (255, 255, 255), full, 0.85)
    return canvas


def landscape_glyph(canvas, cx, cy, w, h, colour, opacity=1.0):
    """A framed landscape (frame, sun, two hills): the usual "no picture" sign."""
    stroke = w * 0.045
    frame = sd_round_rect(cx, cy, w / 2, h / 2, w * 0.08)
    box = (cx - w / 2 - 2, cy - h / 2 - 2, cx + w / 2 + 2, cy + h / 2 + 2)
    inner = sd_round_rect(cx, cy, w / 2 - stroke * 2.2, h / 2 - stroke * 2.2, w * 0.03)
    left, top = cx - w / 2, cy - h / 2
    hills = sd_union(
        sd_triangle((left + w * 0.10, top + h * 0.86), (left + w * 0.40, top + h * 0.40), (left + w * 0.70, top + h * 0.86)),
        sd_triangle((left + w * 0.45, top + h * 0.86), (left + w * 0.66, top + h * 0.56), (left + w * 0.90, top + h * 0.86)),
    )
    shape = sd_union(
        sd_outline(frame, stroke),
        sd_intersect(hills, inner),
        sd_circle(left + w * 0.72, top + h * 0.30, w * 0.075),
    )
    canvas.paint(shape, colour, box, opacity)


def draw_node_placeholder():
    size = 710
    canvas = Canvas(size, size)
    full = (0, 0, size, size)
    body = sd_round_rect(size / 2, size / 2, 330, 330, 96)
    # Dark enough that the node window's white caption reads clearly over it.
    canvas.paint(body, (52, 54, 64), full, 0.92)
    canvas.paint(sd_outline(sd_round_rect(size / 2, size / 2, 322, 322, 88), 8), (150, 154, 168), full, 0.85)
    landscape_glyph(canvas, size / 2, size * 0.40, 300, 240, (205, 207, 216), 0.55)
    return canvas


def draw_placeholder_picture():
    w, h = 654, 600
    # A dark ground: the caption drawn over a missing picture is white.
    canvas = Canvas(w, h, (72, 72, 72, 255))
    canvas.paint(sd_outline(sd_round_rect(w / 2, h / 2, w / 2 - 14, h / 2 - 14, 28), 2.5), (110, 110, 110))
    landscape_glyph(canvas, w / 2, h * 0.42, 300, 240, (150, 150, 150))
    return canvas


# A 5 x 7 pixel font with just the letters the QR placeholders need.
_FONT = {
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "C": ["01110", "10001", "10000", "10000", "10000", "10001", "01110"],
    "D": ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "H": ["10001", "10001", "10001", "11111", "10001", "10001", "10001"],
    "I": ["01110", "00100", "00100", "00100", "00100", "00100", "01110"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "P": ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "Q": ["01110", "10001", "10001", "10001", "10101", "10010", "01101"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "W": ["10001", "10001", "10001", "10101", "10101", "10101", "01010"],
    "Y": ["10001", "10001", "01010", "00100", "00100", "00100", "00100"],
    " ": ["00000"] * 7,
}


def draw_qr_placeholder(seed, second_line):
    """A QR-like picture that encodes nothing: finder squares and
    pseudo-random modules, with no timing or format information, and a
    label across the middle saying it is a placeholder. Palette indices:
    0 white, 1 dark modules, 2 label border, 3 label text."""
    size, modules, cell = 300, 29, 8
    quiet = (size - modules * cell) // 2
    grid = [[0] * modules for _ in range(modules)]
    state = seed
    for y in range(modules):
        for x in range(modules):
            state = (state * 1103515245 + 12345) & 0x7FFFFFFF
            grid[y][x] = (state >> 16) & 1

    def finder(ox, oy):
        for y in range(-1, 8):
            for x in range(-1, 8):
                gx, gy = ox + x, oy + y
                if not (0 <= gx < modules and 0 <= gy < modules):
                    continue
                ring = max(abs(x - 3), abs(y - 3))
                grid[gy][gx] = 1 if ring in (0, 1, 3) else 0

    finder(0, 0)
    finder(modules - 7, 0)
    finder(0, modules - 7)
    img = [[0] * size for _ in range(size)]
    for gy in range(modules):
        for gx in range(modules):
            if grid[gy][gx]:
                for y in range(quiet + gy * cell, quiet + (gy + 1) * cell):
                    row = img[y]
                    for x in range(quiet + gx * cell, quiet + (gx + 1) * cell):
                        row[x] = 1
    lines = ["PLACEHOLDER", second_line]
    scale = 3
    text_w = max(len(t) for t in lines) * 6 * scale - scale
    box_w, box_h = text_w + 28, 2 * 7 * scale + 4 * scale + 28
    bx0, by0 = (size - box_w) // 2, (size - box_h) // 2
    for y in range(by0, by0 + box_h):
        for x in range(bx0, bx0 + box_w):
            edge = x < bx0 + 3 or x >= bx0 + box_w - 3 or y < by0 + 3 or y >= by0 + box_h - 3
            img[y][x] = 2 if edge else 0
    for li, text in enumerate(lines):
        tw = len(text) * 6 * scale - scale
        tx0 = (size - tw) // 2
        ty0 = by0 + 14 + li * (7 * scale + 4 * scale)
        for ci, ch in enumerate(text):
            glyph = _FONT[ch]
            for gy in range(7):
                for gx in range(5):
                    if glyph[gy][gx] == "1":
                        for y in range(ty0 + gy * scale, ty0 + (gy + 1) * scale):
                            for x in range(tx0 + (ci * 6 + gx) * scale, tx0 + (ci * 6 + gx + 1) * scale):
                                img[y][x] = 3
    return img


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "assets")
    os.makedirs(out_dir, exist_ok=True)

    def write(name, data):
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(data)
        print("%-26s %7d bytes" % (name, len(data)))

    emblem = draw_emblem(316)
    write("main_picture.png", encode_png(316, 316, emblem.rgba_rows(), 6))
    write("node_placeholder.png", encode_png(710, 710, draw_node_placeholder().rgba_rows(), 6))
    write("placeholder_picture.png", encode_png(654, 600, draw_placeholder_picture().gray_rows(), 0))
    icon = encode_png(128, 128, draw_emblem(128).rgba_rows(), 6)
    write("program_icon.png", icon)
    write("program_icon.ico", encode_ico(icon, 128))
    palette = [(255, 255, 255), (34, 34, 40), (150, 150, 160), (176, 40, 40)]
    for name, seed, line in (("qr_wechat.png", 20240601, "WECHAT QR"), ("qr_alipay.png", 20240602, "ALIPAY QR")):
        write(name, encode_png(300, 300, draw_qr_placeholder(seed, line), 3, 2, palette))


if __name__ == "__main__":
    main()
