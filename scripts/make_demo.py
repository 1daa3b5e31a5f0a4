#!/usr/bin/env python3
"""Writes the demo content pack examples/demo: Cfg.ini and the pictures in Img/.

Standard library only (zlib, struct). Every picture is our own: a rounded,
softly shaded tile of one colour with a white glyph drawn from a signed
distance function (coverage from the distance at the pixel centre gives
smooth edges). The output is deterministic.

    python3 scripts/make_demo.py            # writes examples/demo
    python3 scripts/make_demo.py OUT_DIR    # writes elsewhere

The pack shows every part of the display: a menu of six main nodes, a node of
18 children (the third row), a mutual-association node whose children open
Item entries, a direct-reference node whose children stand for Hero entries
(pictures in the node's own folder) and descriptions with "#" line breaks.
It is clean: pallo-check finds nothing in it.
"""

import colorsys
import math
import os
import shutil
import struct
import sys
import zlib

SIZE = 96  # pictures are scaled to fit the 70 x 70 boxes

# ---------------------------------------------------------------- PNG output


def _chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png_rgba(width, height, pixels):
    """pixels: rows of (r, g, b, a) tuples."""
    raw = bytearray()
    for row in pixels:
        raw.append(1)  # filter: sub (the tiles are smooth, so it compresses well)
        prev = (0, 0, 0, 0)
        for px in row:
            raw.extend((px[i] - prev[i]) & 0xFF for i in range(4))
            prev = px
    return (b"\x89PNG\r\n\x1a\n"
            + _chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + _chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + _chunk(b"IEND", b""))


# ---------------------------------------------------------------- shapes
# Signed distances in tile units: the tile spans -1 .. 1, negative inside.


def _len(x, y):
    return math.hypot(x, y)


def _box(x, y, hw, hh, r=0.0):
    qx, qy = abs(x) - hw + r, abs(y) - hh + r
    return _len(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - r


def _polygon(x, y, n, r, rot=0.0):
    """A regular n-gon of circumradius r."""
    a = math.atan2(y, x) - rot
    sector = 2 * math.pi / n
    a = (a % sector) - sector / 2
    d = _len(x, y)
    return d * math.cos(a) - r * math.cos(math.pi / n)


def _star(x, y, r, inner):
    """A five-pointed star: the outer points at radius r, the notches at inner."""
    a = math.atan2(x, y)  # point upwards
    sector = 2 * math.pi / 5
    a = abs(((a + sector / 2) % sector) - sector / 2)  # 0 at a tip
    d = _len(x, y)
    px, py = d * math.sin(a), d * math.cos(a)
    # edge from the notch (at angle sector/2) to the tip (angle 0)
    ax, ay = inner * math.sin(sector / 2), inner * math.cos(sector / 2)
    bx, by = 0.0, r
    ex, ey = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * ex + (py - ay) * ey) / (ex * ex + ey * ey)))
    dist = _len(px - ax - ex * t, py - ay - ey * t)
    inside = (px - ax) * ey - (py - ay) * ex < 0
    return -dist if inside else dist


def _segment(x, y, ax, ay, bx, by, r):
    ex, ey = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * ex + (y - ay) * ey) / (ex * ex + ey * ey)))
    return _len(x - ax - ex * t, y - ay - ey * t) - r


SHAPES = {
    "circle": lambda x, y: _len(x, y) - 0.42,
    "ring": lambda x, y: abs(_len(x, y) - 0.38) - 0.09,
    "square": lambda x, y: _box(x, y, 0.36, 0.36, 0.08),
    "diamond": lambda x, y: (abs(x) + abs(y) - 0.5) / math.sqrt(2),
    "triangle": lambda x, y: _polygon(x, y - 0.1, 3, 0.52, -math.pi / 2),
    "hexagon": lambda x, y: _polygon(x, y, 6, 0.45),
    "star": lambda x, y: _star(x, -y, 0.52, 0.22),
    "plus": lambda x, y: min(_box(x, y, 0.14, 0.45, 0.04), _box(x, y, 0.45, 0.14, 0.04)),
    "crescent": lambda x, y: max(_len(x, y) - 0.44, -(_len(x - 0.2, y + 0.12) - 0.36)),
    "sword": lambda x, y: min(_segment(x, y, -0.32, 0.32, 0.36, -0.36, 0.07),
                              _segment(x, y, -0.34, 0.08, -0.08, 0.34, 0.06)),
    # flat top, sides curving to a point below
    "shield": lambda x, y: max(_box(x, y + 0.05, 0.36, 0.42, 0.05),
                               _len(x - 0.5, y + 0.3) - 0.95, _len(x + 0.5, y + 0.3) - 0.95),
    "bars": lambda x, y: min(_box(x + 0.28, y - 0.15, 0.09, 0.28, 0.03),
                             _box(x, y - 0.02, 0.09, 0.41, 0.03),
                             _box(x - 0.28, y - 0.25, 0.09, 0.18, 0.03)),
}


def _coverage(d, px):
    """Coverage of a pixel at signed distance d (tile units), px = one pixel."""
    return max(0.0, min(1.0, 0.5 - d / px))


def tile(hue, shape, pips=0, sat=0.55, val=0.80):
    """A SIZE x SIZE tile: a shaded rounded square of the hue with a white glyph
    and up to four small dots in the upper right corner, clear of the caption."""
    px = 2.0 / SIZE
    glyph = SHAPES[shape]
    rows = []
    for j in range(SIZE):
        y = (j + 0.5) / SIZE * 2 - 1
        row = []
        for i in range(SIZE):
            x = (i + 0.5) / SIZE * 2 - 1
            edge = _coverage(_box(x, y, 0.98, 0.98, 0.22), px)
            if edge <= 0:
                row.append((0, 0, 0, 0))
                continue
            # light from the upper left
            shade = val * (1.06 - 0.18 * (x + y + 2) / 4)
            r, g, b = colorsys.hsv_to_rgb(hue % 1.0, sat, max(0.0, min(1.0, shade)))
            # a soft shadow under the glyph, then the glyph itself
            shadow = _coverage(glyph(x - 0.035, y - 0.05), px * 3) * 0.28
            r, g, b = (c * (1 - shadow) for c in (r, g, b))
            cover = _coverage(glyph(x, y), px)
            for k in range(pips):
                cover = max(cover, _coverage(_len(x - 0.72 + k * 0.17, y + 0.74) - 0.055, px))
            r, g, b = (c * (1 - cover) + 0.97 * cover for c in (r, g, b))
            row.append((round(r * 255), round(g * 255), round(b * 255), round(edge * 255)))
        rows.append(row)
    return png_rgba(SIZE, SIZE, rows)


# ---------------------------------------------------------------- content
# Values lose every ASCII and full-width blank when the program reads them,
# so the spaces of names and descriptions are written as no-break spaces.

ITEMS = [  # picture, name, description, hue, shape
    ("sword.png", "长剑", "攻击+12#Attack +12", 0.00, "sword"),
    ("axe.png", "战斧", "攻击+18#速度-2", 0.04, "triangle"),
    ("bow.png", "Longbow", "射程+3#Range +3", 0.09, "crescent"),
    ("staff.png", "法杖", "法力+20#Mana +20", 0.75, "star"),
    ("shield.png", "盾牌", "防御+10#Armour +10", 0.58, "shield"),
    ("helm.png", "Helm", "防御+4#生命+30", 0.55, "hexagon"),
    ("boots.png", "疾风靴", "移速+15%#Speed +15%", 0.47, "diamond"),
    ("ring.png", "Ring", "暴击+5%#Critical +5%", 0.13, "ring"),
    ("potion.png", "药水", "恢复200生命#Heals 200", 0.95, "circle"),
    ("elixir.png", "Elixir", "恢复100法力#Restores 100 mana", 0.68, "plus"),
    ("gem.png", "宝石", "可镶嵌#Socketable", 0.83, "diamond"),
    ("map.png", "藏宝图", "开启宝箱#Opens a chest", 0.10, "square"),
]

HEROES = [  # picture, name, description, hue, shape
    ("knight.png", "骑士", "近战坦克#Tank", 0.60, "shield"),
    ("archer.png", "Archer", "远程输出#Ranged damage", 0.30, "crescent"),
    ("mage.png", "法师", "范围法术#Area spells", 0.76, "star"),
    ("rogue.png", "Rogue", "突袭#Burst", 0.00, "sword"),
    ("healer.png", "牧师", "治疗#Healer", 0.14, "plus"),
    ("ranger.png", "游侠", "侦察#Scout", 0.40, "triangle"),
    ("golem.png", "Golem", "高生命#High health", 0.08, "hexagon"),
    ("bard.png", "诗人", "增益#Buffs", 0.88, "ring"),
]

# Main nodes in section order. Children: picture, name, description,
# members (IdList; "0" when none), hue, shape, pips.
MAPS = [("map%02d.png" % k, name, desc, "0", k / 18.0, shape, k % 4)
        for k, (name, desc, shape) in enumerate([
            ("新手村", "起点#Starting village", "circle"),
            ("Forest", "森林#Wolves and boars", "triangle"),
            ("河谷", "渡河点#River crossing", "crescent"),
            ("Mines", "矿洞#Iron ore", "hexagon"),
            ("沙漠", "白天炎热#Hot by day", "diamond"),
            ("Oasis", "补给#Supplies", "ring"),
            ("雪山", "寒冷#Bring warm clothes", "star"),
            ("Glacier", "冰川#Slippery", "square"),
            ("沼泽", "毒雾#Poison fog", "plus"),
            ("Ruins", "遗迹#Old treasure", "bars"),
            ("港口", "船只#Ships", "crescent"),
            ("Isles", "群岛#Islands", "circle"),
            ("火山", "熔岩#Lava", "triangle"),
            ("Caverns", "洞穴#Dark", "hexagon"),
            ("王城", "商店#Shops", "star"),
            ("Castle", "城堡#The lord", "shield"),
            ("深渊", "最终区域#Final area", "ring"),
            ("Secret", "隐藏地图#Hidden map", "diamond"),
        ], start=1)]

GEAR = [  # Link 1 under Item: each child opens its entries in the third row
    ("weapons.png", "武器", "近战与远程#Melee and ranged", "1,2,3,4", 0.02, "sword", 0),
    ("armour.png", "Armour", "防具#Protection", "5,6,7", 0.57, "shield", 0),
    ("trinkets.png", "饰品", "戒指与宝石#Rings and gems", "8,11", 0.84, "ring", 0),
    ("potions.png", "Potions", "药水#Consumables", "9,10", 0.96, "circle", 0),
    ("all.png", "全部", "所有装备#Every item", ",".join(str(k) for k in range(1, 13)), 0.12, "bars", 0),
]

ROSTER = [  # Link 2 under Hero: each child stands for the Hero entry its member names
    ("r%d.png" % k, "英雄%d" % k, "见英雄#See hero", str(k), 0.0, "circle", 0) for k in range(1, 9)
]

TEAMS = [  # Link 1 under Hero
    ("team1.png", "均衡", "坦克+输出+治疗#Balanced", "1,3,5", 0.33, "hexagon", 1),
    ("team2.png", "Rush", "快攻#Fast attack", "2,4,6", 0.02, "triangle", 2),
    ("team3.png", "持久", "高生存#Survival", "1,5,7,8", 0.60, "shield", 3),
]

TIPS = [
    ("tip1.png", "拖动", "左键拖动浮窗#Drag with the left button", "0", 0.50, "plus", 0),
    ("tip2.png", "Settings", "右键打开设置#Right-click for settings", "0", 0.15, "square", 0),
    ("tip3.png", "置顶", "设置里可置顶#Stay on top", "0", 0.70, "diamond", 0),
    ("tip4.png", "Editors", "编辑器修改内容#重启后生效", "0", 0.90, "star", 0),
]

BOSSES = [
    ("b1.png", "石像", "弱点：锤#Weak: hammers", "0", 0.08, "hexagon", 1),
    ("b2.png", "Dragon", "弱点：冰#Weak: ice", "0", 0.00, "star", 2),
    ("b3.png", "巫妖", "弱点：圣光#Weak: light", "0", 0.78, "crescent", 3),
]

# section, Name (picture folder), Title, In, Link, menu picture (hue, shape), children
NODES = [
    (1, "Maps", "地图", "", "0", ("maps.png", 0.36, "circle"), MAPS),
    (2, "Gear", "装备", "Item", "1", ("gear.png", 0.05, "sword"), GEAR),
    (3, "Roster", "Heroes", "Hero", "2", ("roster.png", 0.62, "shield"), ROSTER),
    (4, "Teams", "阵容", "Hero", "1", ("teams.png", 0.28, "hexagon"), TEAMS),
    (5, "Tips", "Tips", "", "0", ("tips.png", 0.15, "plus"), TIPS),
    (6, "Bosses", "首领", "", "0", ("bosses.png", 0.92, "star"), BOSSES),
]


def text(value):
    return value.replace(" ", "\u00a0")


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def build(out):
    img = os.path.join(out, "Img")
    if os.path.isdir(img):
        shutil.rmtree(img)

    lines = ["; Pallo demo content. Values are UTF-8; a \"#\" in a description is a line break.",
             "[Config]", "X=200", "Y=150", "W=70", "H=70", "T=0", "S=230", ""]
    for section, name, title, link_in, link, (pic, hue, shape), children in NODES:
        lines += ["[%d]" % section, "Name=" + name, "Title=" + title, "In=" + link_in,
                  "Link=" + link, "Show=1", "Pic=" + pic]
        write(os.path.join(img, "Menu", pic), tile(hue, shape, sat=0.65, val=0.85))
        for k, (cpic, cname, desc, members, chue, cshape, pips) in enumerate(children, start=1):
            lines.append("%d=%s|%s|%s|%s" % (k, cpic, text(cname), text(desc), members))
            if link != "2":
                write(os.path.join(img, name, cpic), tile(chue, cshape, pips))
        lines.append("")

    for section, entries in (("Item", ITEMS), ("Hero", HEROES)):
        lines += ["[%s]" % section, "Name=" + section]
        for k, (pic, name, desc, hue, shape) in enumerate(entries, start=1):
            # The fourth part must not be empty, or the catalog ends here.
            lines.append("%d=%s|%s|%s|0" % (k, pic, text(name), text(desc)))
            picture = tile(hue, shape, sat=0.5, val=0.75)
            write(os.path.join(img, section, pic), picture)
            # A direct reference looks the entry's picture up in the node's
            # own folder: the roster keeps copies of the hero pictures.
            if section == "Hero":
                write(os.path.join(img, "Roster", pic), picture)
        lines.append("")

    write(os.path.join(out, "Cfg.ini"), "\r\n".join(lines).encode("utf-8"))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "examples", "demo")
    build(os.path.normpath(out))


if __name__ == "__main__":
    main()
