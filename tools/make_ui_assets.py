#!/usr/bin/env python3
"""Draws the main window's artwork and writes it under demo/assets/.

- portrait1.ico .. portrait8.ico: the eight speaker portraits, 32x32, 256 colours
  (portrait1 is also the window icon);
- page_turn.ico: the page-turn icon, 32x32 and 16x16, 16 colours each;
- flying.bmp, landing.bmp, wings_up.bmp: the intro's winged character flying
  level (98x90), upright (78x94) and with raised wings (88x99), 256 colours on
  black;
- intro.ico: the intro window's icon, 32x32, 16 colours.

Everything is drawn here from simple shapes; run it again after a change:
    /usr/bin/python3 tools/make_ui_assets.py
"""
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "demo", "assets")

# The classic 16-colour palette.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


class Canvas:
    """A square of RGB pixels, None where transparent."""

    def __init__(self, size):
        self.size = self.w = self.h = size
        self.px = [[None] * size for _ in range(size)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, c)

    def ellipse(self, cx, cy, rx, ry, c, top_only=False):
        for y in range(self.h):
            for x in range(self.w):
                dx = (x + 0.5 - cx) / rx
                dy = (y + 0.5 - cy) / ry
                if dx * dx + dy * dy <= 1.0 and (not top_only or y + 0.5 <= cy):
                    self.put(x, y, c)

    def outline(self, c):
        """Darkens the opaque pixels that touch a transparent one."""
        edge = []
        for y in range(self.size):
            for x in range(self.size):
                if self.px[y][x] is None:
                    continue
                for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                    nx, ny = x + dx, y + dy
                    if not (0 <= nx < self.size and 0 <= ny < self.size) or self.px[ny][nx] is None:
                        edge.append((x, y))
                        break
        for x, y in edge:
            self.px[y][x] = c


def palette_of(canvas, limit):
    colours = sorted({c for row in canvas.px for c in row if c is not None})
    if len(colours) > limit:
        raise ValueError(f"{len(colours)} colours, at most {limit} fit")
    return colours


def dib(canvas, bpp, palette):
    """The BITMAPINFOHEADER, palette, colour bits and mask of one icon image."""
    n = canvas.size
    index = {c: i for i, c in enumerate(palette)}
    colours = 1 << bpp
    pal = palette + [(0, 0, 0)] * (colours - len(palette))
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, bpp, 0, 0, 0, 0, 0, 0)
    pal_bytes = b"".join(struct.pack("BBBB", b, g, r, 0) for (r, g, b) in pal)
    xor_rows, and_rows = [], []
    for y in reversed(range(n)):
        row = [index.get(canvas.px[y][x], 0) if canvas.px[y][x] is not None else 0 for x in range(n)]
        if bpp == 8:
            bits = bytes(row)
        else:
            bits = bytes((row[i] << 4) | row[i + 1] for i in range(0, n, 2))
        xor_rows.append(bits + b"\0" * (-len(bits) % 4))
        mask = 0
        for x in range(n):
            mask = (mask << 1) | (1 if canvas.px[y][x] is None else 0)
        mbytes = mask.to_bytes(n // 8, "big")
        and_rows.append(mbytes + b"\0" * (-len(mbytes) % 4))
    return header + pal_bytes + b"".join(xor_rows) + b"".join(and_rows)


def write_ico(path, images):
    """images: list of (canvas, bpp)."""
    blobs = []
    for canvas, bpp in images:
        blobs.append((canvas.size, bpp, dib(canvas, bpp, palette_of(canvas, 1 << bpp))))
    offset = 6 + 16 * len(blobs)
    out = struct.pack("<HHH", 0, 1, len(blobs))
    for size, bpp, blob in blobs:
        count = 0 if bpp == 8 else (1 << bpp)
        out += struct.pack("<BBBBHHII", size, size, count, 0, 1, bpp, len(blob), offset)
        offset += len(blob)
    out += b"".join(blob for _, _, blob in blobs)
    with open(path, "wb") as f:
        f.write(out)


SKIN = (250, 214, 178)
DARK = (40, 24, 24)
WHITE = (255, 255, 255)


def face(c, hair, eyes, bg, style):
    c.rect(0, 0, 31, 31, bg)
    c.rect(0, 0, 31, 0, tuple(max(0, v - 40) for v in bg))
    # Shoulders and neck.
    c.ellipse(16, 33, 13, 8, style.get("shirt", (70, 90, 160)))
    c.rect(13, 21, 18, 25, SKIN)
    # Hair behind the head.
    if style.get("long"):
        c.rect(6, 10, 25, 27, hair)
    c.ellipse(16, 14, 9, 10, hair)
    # Face.
    c.ellipse(16, 16, 7, 8, SKIN)
    # Fringe.
    if style.get("bald"):
        c.ellipse(16, 10, 7, 3, SKIN)
    else:
        c.ellipse(16, 10, 8, 4, hair, top_only=False)
        c.rect(9, 9, 23, 10, hair)
    # Eyes, brows and mouth.
    for ex in (12, 19):
        c.rect(ex, 15, ex + 1, 17, eyes)
        c.put(ex, 15, WHITE)
    if style.get("glasses"):
        for ex in (11, 18):
            c.rect(ex, 14, ex + 3, 14, DARK)
            c.rect(ex, 18, ex + 3, 18, DARK)
            c.rect(ex, 14, ex, 18, DARK)
            c.rect(ex + 3, 14, ex + 3, 18, DARK)
        c.rect(15, 15, 17, 15, DARK)
    if style.get("beard"):
        c.ellipse(16, 22, 5, 3, hair)
    c.rect(15, 20, 17, 20, (200, 80, 80))
    if style.get("cap"):
        cap = style["cap"]
        c.ellipse(16, 9, 9, 5, cap, top_only=True)
        c.rect(7, 8, 27, 9, cap)
    if style.get("ribbon"):
        r = style["ribbon"]
        c.rect(21, 4, 25, 7, r)
        c.put(23, 8, r)
    if style.get("tie"):
        c.rect(15, 26, 16, 31, style["tie"])


def dove():
    c = Canvas(32)
    c.rect(0, 0, 31, 31, (150, 200, 250))
    c.ellipse(8, 28, 10, 4, (90, 170, 90))
    c.ellipse(24, 29, 9, 4, (90, 170, 90))
    c.ellipse(15, 18, 9, 6, WHITE)           # body
    c.ellipse(23, 12, 4, 4, WHITE)           # head
    c.ellipse(12, 14, 7, 4, (225, 225, 235))  # wing
    c.rect(27, 12, 29, 13, (240, 160, 40))   # beak
    c.put(24, 11, DARK)                      # eye
    c.rect(5, 16, 7, 18, (225, 225, 235))    # tail
    c.rect(14, 24, 14, 26, (240, 160, 40))   # legs
    c.rect(18, 24, 18, 26, (240, 160, 40))
    return c


def portraits():
    looks = [
        ((230, 110, 160), (30, 90, 200), (255, 235, 240), {"long": True, "ribbon": (230, 30, 60), "shirt": (240, 240, 250)}),
        ((60, 50, 40), (40, 40, 40), (220, 240, 220), {"shirt": (60, 140, 60)}),
        ((170, 170, 175), (30, 30, 30), (235, 225, 200), {"bald": True, "glasses": True, "beard": True,
                                                        "shirt": (40, 40, 60), "tie": (190, 20, 20)}),
        ((240, 200, 80), (30, 140, 90), (230, 230, 255), {"long": True, "shirt": (150, 60, 170)}),
        ((90, 70, 50), (20, 20, 20), (245, 235, 215), {"glasses": True, "shirt": (90, 90, 100), "tie": (30, 60, 150)}),
        ((200, 70, 30), (90, 50, 20), (255, 240, 210), {"shirt": (230, 150, 30)}),
        ((30, 30, 35), (60, 40, 20), (225, 235, 245), {"cap": (40, 80, 160), "shirt": (200, 190, 150)}),
    ]
    out = []
    for hair, eyes, bg, style in looks:
        c = Canvas(32)
        face(c, hair, eyes, bg, style)
        out.append(c)
    out.append(dove())
    return out


def page_turn(size):
    """A page with a folded corner and an arrow pointing onwards, in the 16 colours."""
    c = Canvas(size)
    s = size / 32.0
    def sc(v):
        return int(round(v * s))
    white, grey, dark, black, blue = VGA16[15], VGA16[7], VGA16[8], VGA16[0], VGA16[12]
    x0, y0, x1, y1, fold = sc(5), sc(2), sc(26), sc(29), sc(8)
    c.rect(x0, y0, x1, y1, white)
    for i in range(fold):
        for j in range(fold - i):
            c.put(x1 - j, y0 + i, None)
    for i in range(fold):
        c.rect(x1 - fold + 1, y0 + i, x1 - fold + 1 + i, y0 + i, grey)
    c.outline(black)
    for row in range(sc(8), sc(16), max(1, sc(3))):
        c.rect(x0 + sc(3), row, x1 - sc(9), row, dark)
    # The arrow.
    ay = sc(22)
    c.rect(x0 + sc(3), ay - max(1, sc(1.5)), x1 - sc(7), ay + max(0, sc(1.5)), blue)
    for i in range(sc(5) + 1):
        c.rect(x1 - sc(7) + i, ay - (sc(5) - i), x1 - sc(7) + i, ay + (sc(5) - i), blue)
    return c


class Sprite(Canvas):
    """A rectangle of RGB pixels on black, for the intro's character."""

    def __init__(self, w, h):
        self.w, self.h, self.size = w, h, max(w, h)
        self.px = [[(0, 0, 0)] * w for _ in range(h)]

    def wing(self, root_x, root_y, tip_x, tip_y, width, c, edge):
        """A feathered wing from its root to its tip, as overlapping ovals."""
        steps = 9
        for i in range(steps + 1):
            t = i / steps
            x = root_x + (tip_x - root_x) * t
            y = root_y + (tip_y - root_y) * t
            r = width * (1.0 - 0.6 * t)
            self.ellipse(x, y, r, r * 0.8, edge)
            self.ellipse(x, y, r - 1.5, r * 0.8 - 1.5, c)

    def save_bmp(self, path):
        colours = sorted({c for row in self.px for c in row})
        if len(colours) > 256:
            raise ValueError("too many colours")
        index = {c: i for i, c in enumerate(colours)}
        pal = colours + [(0, 0, 0)] * (256 - len(colours))
        rows = b""
        for y in reversed(range(self.h)):
            row = bytes(index[c] for c in self.px[y])
            rows += row + b"\0" * (-len(row) % 4)
        offset = 14 + 40 + 1024
        header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
        info = struct.pack("<IiiHHIIiiII", 40, self.w, self.h, 1, 8, 0, len(rows), 2835, 2835, 256, 0)
        palette = b"".join(struct.pack("BBBB", b, g, r, 0) for (r, g, b) in pal)
        with open(path, "wb") as f:
            f.write(header + info + palette + rows)


HAIR = (250, 200, 60)
DRESS = (90, 160, 240)
WING = (235, 245, 255)
WING_EDGE = (150, 190, 230)


def head(s, x, y, facing_left=True):
    s.ellipse(x, y, 11, 11, HAIR)
    s.ellipse(x + (-1 if facing_left else 1), y + 2, 8.5, 8.5, SKIN)
    s.ellipse(x, y - 6, 10, 5, HAIR)
    ex = x - 4 if facing_left else x + 1
    s.rect(ex, y + 1, ex + 1, y + 3, DARK)
    s.rect(ex + 5, y + 1, ex + 6, y + 3, DARK)
    s.rect(ex + 2, y + 6, ex + 3, y + 6, (220, 90, 90))


def flying():
    s = Sprite(98, 90)
    s.wing(52, 40, 78, 6, 13, WING, WING_EDGE)              # far wing
    s.ellipse(50, 50, 22, 9, DRESS)                       # body, level
    s.rect(70, 46, 92, 49, SKIN)                          # legs trailing
    s.rect(70, 52, 90, 55, SKIN)
    s.wing(46, 42, 62, 4, 15, WING, WING_EDGE)             # near wing
    s.rect(20, 55, 34, 58, SKIN)                          # arm reaching ahead
    head(s, 20, 44)
    return s


def landing():
    s = Sprite(78, 94)
    s.wing(30, 40, 8, 62, 12, WING, WING_EDGE)             # wings folded down
    s.wing(48, 40, 70, 62, 12, WING, WING_EDGE)
    s.ellipse(39, 55, 14, 20, DRESS)                      # dress
    s.rect(33, 72, 36, 90, SKIN)                          # legs, feet down
    s.rect(42, 72, 45, 90, SKIN)
    s.rect(31, 89, 37, 92, (200, 80, 80))
    s.rect(41, 89, 47, 92, (200, 80, 80))
    s.rect(24, 46, 27, 62, SKIN)                          # arms
    s.rect(51, 46, 54, 62, SKIN)
    head(s, 39, 24)
    return s


def wings_up():
    s = Sprite(88, 99)
    s.wing(34, 48, 6, 8, 14, WING, WING_EDGE)              # wings raised
    s.wing(54, 48, 82, 8, 14, WING, WING_EDGE)
    s.ellipse(44, 62, 14, 20, DRESS)
    s.rect(38, 78, 41, 96, SKIN)
    s.rect(47, 78, 50, 96, SKIN)
    s.rect(26, 40, 29, 56, SKIN)                          # arms up
    s.rect(59, 40, 62, 56, SKIN)
    head(s, 44, 30)
    return s


def intro_icon():
    """The intro window's icon: a small wing and a dot, in the 16 colours."""
    c = Canvas(32)
    c.rect(0, 0, 31, 31, VGA16[0])
    for i in range(10):
        c.rect(6 + i, 20 - i, 6 + i + 10 - i // 2, 21 - i, VGA16[15])
    c.outline(VGA16[7])
    c.ellipse(22, 22, 5, 5, VGA16[11])
    return c


def main():
    os.makedirs(OUT, exist_ok=True)
    flying().save_bmp(os.path.join(OUT, "flying.bmp"))
    landing().save_bmp(os.path.join(OUT, "landing.bmp"))
    wings_up().save_bmp(os.path.join(OUT, "wings_up.bmp"))
    write_ico(os.path.join(OUT, "intro.ico"), [(intro_icon(), 4)])
    for k, canvas in enumerate(portraits(), start=1):
        write_ico(os.path.join(OUT, f"portrait{k}.ico"), [(canvas, 8)])
    write_ico(os.path.join(OUT, "page_turn.ico"), [(page_turn(32), 4), (page_turn(16), 4)])


if __name__ == "__main__":
    main()
