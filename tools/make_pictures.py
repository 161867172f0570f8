#!/usr/bin/env python3
"""Draws Halvexor's pictures: the title-bar hide button (data/tr.bf, data/trb.bf),
the state pictures (data/as.bf, data/za.bf), the About picture (data/prg.bf)
and the program icon (res/halvexor.ico).

Run:  python3 tools/make_pictures.py   (it writes into the repository it lives in)
Standard library only; the output is the same byte for byte on every run.
"""
import math
import os
import struct
import sys

# ---------------------------------------------------------------- palette
FACE = (212, 208, 200)        # classic button face, the window background
WHITE = (255, 255, 255)
SHADOW = (128, 128, 128)
DARK = (64, 64, 64)
BLACK = (0, 0, 0)
INK = (28, 34, 46)            # hands, glyphs
NAVY = (30, 52, 92)           # lettering
BLUE_TOP, BLUE_BOTTOM = (118, 158, 214), (26, 54, 110)     # bezel, pending
SAGE_TOP, SAGE_BOTTOM = (170, 196, 172), (70, 110, 84)     # bezel, idle
DIAL_TOP, DIAL_BOTTOM = (255, 255, 255), (222, 228, 236)
ORANGE = (236, 112, 24)
RED = (208, 44, 28)
GREEN = (52, 150, 70)

SS = 4                        # supersampling per axis for smooth edges


# ---------------------------------------------------------------- canvas
class Canvas:
    """RGBA picture; shapes are tests inside(x, y) in logical coordinates.

    `yscale` maps pixel rows to logical units, so a picture that is taller
    than wide can be drawn in a square logical space."""

    def __init__(self, w, h, bg, alpha=1.0, yscale=1.0):
        self.w, self.h, self.yscale = w, h, yscale
        self.px = [[float(bg[0]), float(bg[1]), float(bg[2]), alpha]
                   for _ in range(w * h)]

    def blend(self, x, y, rgb, a):
        p = self.px[y * self.w + x]
        out = a + p[3] * (1 - a)
        if out <= 0:
            return
        for i in range(3):
            p[i] = (rgb[i] * a + p[i] * p[3] * (1 - a)) / out
        p[3] = out

    def fill(self, inside, color, box=None, alpha=1.0):
        """Paints `inside` with coverage-weighted blending; `color` is an RGB
        tuple or a function (x, y) -> RGB for gradients."""
        x0, y0, x1, y1 = box or (0, 0, self.w, self.h / self.yscale)
        ys = self.yscale
        for py in range(max(0, int(y0 * ys) - 1), min(self.h, int(y1 * ys) + 2)):
            for px in range(max(0, int(x0) - 1), min(self.w, int(x1) + 2)):
                hits = 0
                for j in range(SS):
                    ly = (py + (j + 0.5) / SS) / ys
                    for i in range(SS):
                        if inside(px + (i + 0.5) / SS, ly):
                            hits += 1
                if hits:
                    c = color(px + 0.5, (py + 0.5) / ys) if callable(color) else color
                    self.blend(px, py, c, alpha * hits / (SS * SS))

    def rect(self, x0, y0, x1, y1, color):
        """Pixel-exact filled rectangle, both corners inclusive."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.px[y * self.w + x] = [float(color[0]), float(color[1]),
                                           float(color[2]), 1.0]

    def rgb(self, x, y):
        p = self.px[y * self.w + x]
        return tuple(int(round(v)) for v in p[:3])

    def alpha(self, x, y):
        return self.px[y * self.w + x][3]


# ---------------------------------------------------------------- shapes
# Angles are clock angles in degrees: 0 at twelve o'clock, growing clockwise.
def polar(cx, cy, r, deg):
    a = math.radians(deg)
    return cx + r * math.sin(a), cy - r * math.cos(a)


def clock_angle(cx, cy, x, y):
    return math.degrees(math.atan2(x - cx, cy - y)) % 360


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r_in, r_out):
    return lambda x, y: r_in * r_in <= (x - cx) ** 2 + (y - cy) ** 2 <= r_out * r_out


def segment(x0, y0, x1, y1, width):
    """A stroke with round caps."""
    dx, dy = x1 - x0, y1 - y0
    ll = dx * dx + dy * dy or 1e-9
    r2 = (width / 2) ** 2

    def inside(x, y):
        t = min(1.0, max(0.0, ((x - x0) * dx + (y - y0) * dy) / ll))
        return (x - x0 - t * dx) ** 2 + (y - y0 - t * dy) ** 2 <= r2
    return inside


def sector(cx, cy, r, a0, a1):
    span = (a1 - a0) % 360
    return lambda x, y: ((x - cx) ** 2 + (y - cy) ** 2 <= r * r
                         and (clock_angle(cx, cy, x, y) - a0) % 360 <= span)


def arc(cx, cy, r, width, a0, a1):
    """A stroke along the circle from a0 clockwise to a1, with round caps."""
    band = ring(cx, cy, r - width / 2, r + width / 2)
    span = (a1 - a0) % 360
    ends = [disc(*polar(cx, cy, r, a), width / 2) for a in (a0, a1)]
    return lambda x, y: ((band(x, y) and (clock_angle(cx, cy, x, y) - a0) % 360 <= span)
                         or ends[0](x, y) or ends[1](x, y))


def vgradient(top, bottom, y0, y1):
    def color(x, y):
        t = min(1.0, max(0.0, (y - y0) / (y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))
    return color


def box(cx, cy, r):
    return (cx - r, cy - r, cx + r, cy + r)


# ---------------------------------------------------------------- motifs
def power_symbol(cv, cx, cy, r, width, color):
    gap = 38
    cv.fill(arc(cx, cy, r, width, gap, 360 - gap), color, box(cx, cy, r + width))
    cv.fill(segment(cx, cy - r - width * 0.25, cx, cy - r * 0.2, width), color,
            box(cx, cy, r + width))


def clock(cv, cx, cy, r, bezel, shadow=True):
    """A wall clock: bezel ring with a bevel, dial and hour ticks."""
    if shadow:
        cv.fill(disc(cx + 2, cy + 2.5, r), BLACK, box(cx + 2, cy + 3, r), alpha=0.22)
    cv.fill(disc(cx, cy, r), vgradient(bezel[0], bezel[1], cy - r, cy + r), box(cx, cy, r))
    cv.fill(ring(cx, cy, r - 1.2, r), vgradient(WHITE, bezel[1], cy - r, cy + r),
            box(cx, cy, r), alpha=0.45)
    face = r * 0.82
    cv.fill(disc(cx, cy, face + 1.2), vgradient(bezel[1], WHITE, cy - r, cy + r),
            box(cx, cy, face + 2))
    cv.fill(disc(cx, cy, face), vgradient(DIAL_TOP, DIAL_BOTTOM, cy - face, cy + face),
            box(cx, cy, face))
    for hour in range(12):
        main = hour % 3 == 0
        inner = face * (0.74 if main else 0.82)
        x0, y0 = polar(cx, cy, inner, hour * 30)
        x1, y1 = polar(cx, cy, face * 0.92, hour * 30)
        cv.fill(segment(x0, y0, x1, y1, face * (0.085 if main else 0.045)),
                INK if main else SHADOW, box(cx, cy, face))
    return face


def hands(cv, cx, cy, face, hour_deg, minute_deg, color):
    for length, width, deg in ((0.52, 0.14, hour_deg), (0.78, 0.09, minute_deg)):
        x0, y0 = polar(cx, cy, -face * 0.12, deg)
        x1, y1 = polar(cx, cy, face * length, deg)
        cv.fill(segment(x0, y0, x1, y1, face * width), color, box(cx, cy, face))


def badge(cv, cx, cy, r, color):
    cv.fill(disc(cx + 1, cy + 1.5, r + 1.5), BLACK, box(cx + 1, cy + 2, r + 2), alpha=0.25)
    cv.fill(disc(cx, cy, r + 1.6), WHITE, box(cx, cy, r + 2))
    top = tuple(min(255, c + 40) for c in color)
    cv.fill(disc(cx, cy, r), vgradient(top, color, cy - r, cy + r), box(cx, cy, r))


def check_mark(cv, cx, cy, r, color):
    pts = [(cx - r * 0.55, cy + r * 0.02), (cx - r * 0.15, cy + r * 0.45),
           (cx + r * 0.6, cy - r * 0.4)]
    for (xa, ya), (xb, yb) in zip(pts, pts[1:]):
        cv.fill(segment(xa, ya, xb, yb, r * 0.3), color, box(cx, cy, r))


# ---------------------------------------------------------------- pixel font
# 5 x 7 glyphs, just the letters the pictures use.
FONT = {
    'H': ["#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    'a': [".....", ".....", ".###.", "....#", ".####", "#...#", ".####"],
    'l': [".##..", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."],
    'v': [".....", ".....", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    'e': [".....", ".....", ".###.", "#...#", "#####", "#....", ".###."],
    'x': [".....", ".....", "#...#", ".#.#.", "..#..", ".#.#.", "#...#"],
    'o': [".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."],
    'r': [".....", ".....", "#.##.", "##..#", "#....", "#....", "#...."],
}


def text_width(s, scale):
    return len(s) * 6 * scale - scale


def draw_text(cv, x, y, s, color, scale=1):
    for k, ch in enumerate(s):
        for row, bits in enumerate(FONT[ch]):
            for col, bit in enumerate(bits):
                if bit == '#':
                    gx, gy = x + (k * 6 + col) * scale, y + row * scale
                    cv.rect(gx, gy, gx + scale - 1, gy + scale - 1, color)


# ---------------------------------------------------------------- pictures
def hide_button(pressed):
    """15 x 15 caption button with a 'down into the tray' glyph."""
    cv = Canvas(15, 15, FACE)
    lt_out, lt_in, rb_in, rb_out = ((DARK, SHADOW, FACE, WHITE) if pressed
                                    else (FACE, WHITE, SHADOW, DARK))
    cv.rect(0, 0, 14, 0, lt_out)
    cv.rect(0, 0, 0, 14, lt_out)
    cv.rect(0, 14, 14, 14, rb_out)
    cv.rect(14, 0, 14, 14, rb_out)
    cv.rect(1, 1, 13, 1, lt_in)
    cv.rect(1, 1, 1, 13, lt_in)
    cv.rect(1, 13, 13, 13, rb_in)
    cv.rect(13, 1, 13, 13, rb_in)
    d = 1 if pressed else 0                          # pressed: glyph moves by 1 px
    cv.rect(6 + d, 2 + d, 8 + d, 5 + d, BLACK)          # arrow stem
    for i in range(4):                                   # arrow head
        cv.rect(4 + i + d, 6 + i + d, 10 - i + d, 6 + i + d, BLACK)
    cv.rect(3 + d, 11 + d, 11 + d, 11 + d, BLACK)       # the tray
    cv.rect(3 + d, 10 + d, 3 + d, 10 + d, BLACK)
    cv.rect(11 + d, 10 + d, 11 + d, 10 + d, BLACK)
    return cv


def state_picture(pending):
    """100 x 100 clock: blue with the remaining time marked when an action
    is pending, sage green with a check mark when nothing is scheduled."""
    cv = Canvas(100, 100, FACE)
    cx, cy, r = 48, 48, 44
    if pending:
        face = clock(cv, cx, cy, r, (BLUE_TOP, BLUE_BOTTOM))
        cv.fill(sector(cx, cy, face * 0.9, 60, 150), ORANGE, box(cx, cy, face), alpha=0.30)
        mx, my = polar(cx, cy, face * 0.97, 150)
        cv.fill(disc(mx, my, 2.6), RED, box(mx, my, 3))
        hands(cv, cx, cy, face, 305, 60, INK)
        sx0, sy0 = polar(cx, cy, -face * 0.2, 150)
        sx1, sy1 = polar(cx, cy, face * 0.86, 150)
        cv.fill(segment(sx0, sy0, sx1, sy1, 1.3), RED, box(cx, cy, face))
        cv.fill(disc(cx, cy, 3.4), RED, box(cx, cy, 4))
        cv.fill(disc(cx, cy, 1.3), WHITE, box(cx, cy, 2))
        badge(cv, 78, 79, 13, RED)
        power_symbol(cv, 78, 80, 6.5, 2.8, WHITE)
    else:
        face = clock(cv, cx, cy, r, (SAGE_TOP, SAGE_BOTTOM))
        hands(cv, cx, cy, face, 305, 60, (70, 78, 88))
        cv.fill(disc(cx, cy, 3.4), (70, 78, 88), box(cx, cy, 4))
        badge(cv, 78, 79, 13, GREEN)
        check_mark(cv, 78, 79, 12, WHITE)
    return cv


def emblem(cv, cx, cy, r, shadow=True):
    """The program's sign: a power symbol inside a clock."""
    face = clock(cv, cx, cy, r, (BLUE_TOP, BLUE_BOTTOM), shadow)
    power_symbol(cv, cx, cy + face * 0.06, face * 0.5, face * 0.2, RED)


def about_picture():
    cv = Canvas(140, 100, FACE)
    emblem(cv, 70, 37, 33)
    x = (140 - text_width("Halvexor", 2)) // 2
    draw_text(cv, x + 1, 79, "Halvexor", WHITE, 2)
    draw_text(cv, x, 78, "Halvexor", NAVY, 2)
    return cv


def icon_picture():
    # 80 x 86 pixels drawn in an 80 x 80 logical square: the icon is shown
    # squeezed into square sizes, where the circle then comes out round.
    cv = Canvas(80, 86, BLACK, alpha=0.0, yscale=86 / 80)
    face = clock(cv, 40, 40, 39.3, (BLUE_TOP, BLUE_BOTTOM), shadow=False)
    power_symbol(cv, 40, 40 + face * 0.06, face * 0.52, face * 0.25, RED)
    return cv


# ---------------------------------------------------------------- file formats
def bmp_bytes(cv):
    """24-bit bottom-up Windows bitmap."""
    stride = (cv.w * 3 + 3) & ~3
    rows = []
    for y in range(cv.h - 1, -1, -1):
        row = bytearray()
        for x in range(cv.w):
            r, g, b = cv.rgb(x, y)
            row += bytes((b, g, r))
        rows.append(bytes(row) + b"\0" * (stride - len(row)))
    image = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, cv.w, cv.h, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(image), 0, 0, 14 + len(info))
    return head + info + image


def quantize(colors, limit):
    """Palette of the most frequent colours (ties by value); index 0 is black."""
    count = {}
    for c in colors:
        count[c] = count.get(c, 0) + 1
    ranked = sorted(count, key=lambda c: (-count[c], c))
    palette = [BLACK] + [c for c in ranked if c != BLACK][:limit - 1]
    index = {c: i for i, c in enumerate(palette)}
    for c in ranked:
        if c not in index:
            index[c] = min(range(len(palette)), key=lambda i: (
                sum((a - b) ** 2 for a, b in zip(c, palette[i])), i))
    return palette + [BLACK] * (limit - len(palette)), index


def ico_bytes(cv):
    """One 256-colour image with an AND mask: transparent where alpha < 1/2."""
    w, h = cv.w, cv.h
    opaque = [[cv.alpha(x, y) >= 0.5 for x in range(w)] for y in range(h)]
    palette, index = quantize([cv.rgb(x, y) for y in range(h) for x in range(w)
                               if opaque[y][x]], 256)
    xor_stride, and_stride = (w + 3) & ~3, ((w + 31) // 32) * 4
    xor, mask = bytearray(), bytearray()
    for y in range(h - 1, -1, -1):
        row = bytes(index[cv.rgb(x, y)] if opaque[y][x] else 0 for x in range(w))
        xor += row + b"\0" * (xor_stride - w)
        bits = bytearray(and_stride)
        for x in range(w):
            if not opaque[y][x]:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 8, 0, len(xor) + len(mask), 0, 0, 256, 0)
    dib = info + pal + bytes(xor) + bytes(mask)
    head = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", w, h, 0, 0, 1, 8, len(dib), 6 + 16)
    return head + entry + dib


# ---------------------------------------------------------------- checks
def check_bmp(data, w, h):
    magic, size, _, _, offset = struct.unpack_from("<2sIHHI", data, 0)
    hs, bw, bh, planes, bpp = struct.unpack_from("<IiiHH", data, 14)
    assert magic == b"BM" and size == len(data) and offset == 54, "bad BMP header"
    assert (hs, bw, bh, planes, bpp) == (40, w, h, 1, 24), "bad BMP info"
    assert len(data) == 54 + ((w * 3 + 3) & ~3) * h, "bad BMP size"


def check_ico(data, w, h):
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    ew, eh, colors, _, planes, bpp, size, offset = struct.unpack_from("<BBBBHHII", data, 6)
    assert (reserved, kind, count) == (0, 1, 1), "bad icon directory"
    assert (ew, eh, bpp, offset, size) == (w, h, 8, 22, len(data) - 22), "bad icon entry"
    hs, bw, bh, _, dbpp, _, _, _, _, used, _ = struct.unpack_from("<IiiHHIIiiII", data, 22)
    assert (hs, bw, bh, dbpp, used) == (40, w, 2 * h, 8, 256), "bad icon DIB"
    assert size == 40 + 1024 + ((w + 3) & ~3) * h + ((w + 31) // 32) * 4 * h, "bad icon size"


# ---------------------------------------------------------------- main
def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    outputs = [
        ("data/tr.bf", bmp_bytes(hide_button(False)), check_bmp, 15, 15),
        ("data/trb.bf", bmp_bytes(hide_button(True)), check_bmp, 15, 15),
        ("data/as.bf", bmp_bytes(state_picture(True)), check_bmp, 100, 100),
        ("data/za.bf", bmp_bytes(state_picture(False)), check_bmp, 100, 100),
        ("data/prg.bf", bmp_bytes(about_picture()), check_bmp, 140, 100),
        ("res/halvexor.ico", ico_bytes(icon_picture()), check_ico, 80, 86),
    ]
    for name, data, check, w, h in outputs:
        check(data, w, h)
        path = os.path.join(root, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
        print("%-18s %4d x %-4d %6d bytes" % (name, w, h, len(data)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
