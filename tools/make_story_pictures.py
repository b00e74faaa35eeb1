#!/usr/bin/env python3
"""Paints the demo story's scene pictures and writes them to story/, 298 x 198
pixels each (the scene pane's 302 x 202 less its border), in every format the
program reads, so that the demo shows them all:

- office.bmp: the editorial office, pigeons on a wire outside the window;
- rooftop.bmp: the rooftop at noon, a dove on the railing;
- night.bmp: the station square at night, under the clock tower;
- station.gif: the same square by day, with the clock at three;
- cafe.jpg: a cafe by the window, two cups on the table;
- press.png: the printing works, the new issue coming off the press.

BMP files are written here byte by byte; GIF, JPEG and PNG through PIL
(Debian's python3-pil).

    /usr/bin/python3 tools/make_story_pictures.py
"""
import math
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "story")
W, H = 298, 198


class Picture:
    def __init__(self):
        self.px = [[(0, 0, 0)] * W for _ in range(H)]

    def put(self, x, y, c):
        if 0 <= x < W and 0 <= y < H:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        for y in range(max(0, y0), min(H, y1 + 1)):
            row = self.px[y]
            for x in range(max(0, x0), min(W, x1 + 1)):
                row[x] = c

    def gradient(self, y0, y1, top, bottom):
        for y in range(y0, y1 + 1):
            t = (y - y0) / max(1, y1 - y0)
            c = tuple(int(a + (b - a) * t) for a, b in zip(top, bottom))
            self.rect(0, y, W - 1, y, c)

    def disc(self, cx, cy, r, c):
        for y in range(int(cy - r), int(cy + r) + 1):
            for x in range(int(cx - r), int(cx + r) + 1):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.put(x, y, c)

    def ellipse(self, cx, cy, rx, ry, c):
        for y in range(int(cy - ry), int(cy + ry) + 1):
            for x in range(int(cx - rx), int(cx + rx) + 1):
                if ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1:
                    self.put(x, y, c)

    def line(self, x0, y0, x1, y1, c):
        n = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(n + 1):
            self.put(round(x0 + (x1 - x0) * i / n), round(y0 + (y1 - y0) * i / n), c)

    def bird(self, x, y, body=(120, 120, 130), head=(90, 90, 100)):
        self.disc(x, y, 4, body)
        self.disc(x + 4, y - 3, 2.5, head)
        self.put(x + 7, y - 3, (230, 150, 40))

    def save_with_pil(self, name, **options):
        from PIL import Image  # only for the formats not written by hand here
        image = Image.new("RGB", (W, H))
        image.putdata([c for row in self.px for c in row])
        if name.endswith(".gif"):
            image = image.quantize(colors=64, dither=Image.Dither.NONE)
        image.save(os.path.join(OUT, name), **options)

    def save(self, name):
        if not name.endswith(".bmp"):
            self.save_with_pil(name, **({"quality": 90} if name.endswith(".jpg") else {}))
            return
        rows = b""
        for y in reversed(range(H)):
            row = b"".join(struct.pack("BBB", b, g, r) for (r, g, b) in self.px[y])
            rows += row + b"\0" * (-len(row) % 4)
        header = struct.pack("<2sIHHI", b"BM", 54 + len(rows), 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(header + info + rows)


def office():
    p = Picture()
    p.rect(0, 0, W - 1, H - 1, (226, 214, 190))           # wall
    p.rect(0, 150, W - 1, H - 1, (150, 110, 80))          # floor
    p.rect(150, 20, 280, 110, (90, 70, 50))               # window frame
    p.gradient(24, 106, (120, 180, 240), (200, 230, 250))
    p.rect(154, 24, 276, 24, (90, 70, 50))
    p.rect(214, 20, 216, 110, (90, 70, 50))
    p.line(150, 60, 280, 52, (40, 40, 40))                # the wire
    for i, x in enumerate((170, 190, 235, 255)):
        p.bird(x, 52 + (280 - x) // 20 - 5 + (i % 2))
    p.rect(10, 30, 120, 100, (200, 190, 160))             # notice board
    for i in range(6):
        p.rect(18 + (i % 3) * 34, 38 + (i // 3) * 30, 44 + (i % 3) * 34, 60 + (i // 3) * 30, (250, 250, 240))
    p.rect(20, 120, 140, 135, (130, 90, 60))              # desks
    p.rect(170, 125, 290, 140, (130, 90, 60))
    for x0 in (24, 176):
        p.rect(x0, 135, x0 + 6, 175, (100, 70, 50))
        p.rect(x0 + 108, 135, x0 + 114, 175, (100, 70, 50))
    for k in range(5):
        p.rect(40 + k * 3, 110 - k * 2, 80 + k * 3, 119 - k * 2, (255, 255, 250))
    p.rect(200, 105, 240, 124, (60, 60, 70))              # a typewriter
    p.rect(205, 100, 235, 104, (250, 250, 250))
    return p


def rooftop():
    p = Picture()
    p.gradient(0, 140, (70, 140, 230), (190, 220, 250))
    p.disc(250, 35, 16, (255, 240, 170))
    for cx, cy in ((60, 40), (85, 35), (110, 42), (180, 70), (200, 64)):
        p.disc(cx, cy, 14, (250, 250, 255))
    for i, (x, h) in enumerate(((0, 60), (40, 90), (95, 70), (150, 100), (210, 80), (255, 95))):
        p.rect(x, 140 - h, x + 45, 140, (120 + i * 8, 130 + i * 5, 150))
        for wy in range(140 - h + 8, 136, 12):
            for wx in range(x + 6, x + 40, 10):
                p.rect(wx, wy, wx + 4, wy + 5, (230, 230, 200))
    p.rect(0, 140, W - 1, H - 1, (170, 170, 165))         # the roof
    p.rect(0, 150, W - 1, 153, (90, 90, 95))              # railing
    for x in range(0, W, 14):
        p.rect(x, 150, x + 2, 185, (90, 90, 95))
    p.disc(150, 140, 8, (250, 250, 250))                  # the dove
    p.disc(158, 133, 5, (250, 250, 250))
    p.put(163, 133, (230, 150, 40))
    p.put(164, 133, (230, 150, 40))
    p.put(159, 131, (20, 20, 20))
    p.rect(146, 147, 147, 150, (230, 150, 40))
    p.rect(153, 147, 154, 150, (230, 150, 40))
    p.rect(140, 142, 146, 146, (240, 235, 200))           # the note on its leg
    return p


def night():
    p = Picture()
    p.gradient(0, 150, (10, 15, 50), (40, 40, 90))
    seed = 7
    for _ in range(70):
        seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
        x = seed % W
        seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
        y = seed % 120
        p.put(x, y, (255, 255, 220))
    p.disc(40, 30, 12, (250, 245, 200))
    p.disc(46, 26, 11, (20, 25, 60))                      # a crescent
    p.rect(125, 40, 175, 160, (110, 90, 80))              # clock tower
    p.rect(120, 30, 180, 40, (90, 70, 60))
    p.disc(150, 70, 17, (240, 235, 210))
    p.disc(150, 70, 15, (255, 250, 235))
    p.line(150, 70, 150, 58, (30, 30, 30))
    p.line(150, 70, 160, 72, (30, 30, 30))
    for x in (20, 80, 210, 265):                          # lamps
        p.rect(x, 100, x + 2, 160, (60, 60, 70))
        p.disc(x + 1, 98, 5, (255, 220, 130))
    p.rect(0, 160, W - 1, H - 1, (60, 60, 75))            # the square
    for x in range(0, W, 20):
        p.line(x, 160, x - 30, H - 1, (70, 70, 85))
    # Two figures by the tower.
    for x, coat in ((105, (200, 60, 120)), (190, (230, 200, 60))):
        p.rect(x, 140, x + 10, 172, coat)
        p.disc(x + 5, 134, 5, (250, 214, 178))
    return p


def station():
    p = Picture()
    p.gradient(0, 150, (110, 170, 235), (215, 235, 250))
    for cx, cy in ((40, 30), (62, 26), (230, 45), (252, 40)):
        p.disc(cx, cy, 12, (250, 250, 255))
    p.rect(0, 95, 100, 160, (200, 180, 150))              # the station building
    p.rect(0, 88, 105, 96, (150, 90, 70))
    for x in range(10, 95, 22):
        p.rect(x, 110, x + 12, 135, (120, 160, 200))
    p.rect(125, 40, 175, 160, (150, 120, 100))            # clock tower
    p.rect(120, 30, 180, 40, (120, 90, 80))
    p.disc(150, 70, 17, (90, 80, 70))
    p.disc(150, 70, 15, (255, 252, 240))
    p.line(150, 70, 150, 57, (30, 30, 30))                # three o'clock
    p.line(150, 70, 161, 70, (30, 30, 30))
    p.rect(205, 110, 290, 160, (170, 200, 170))           # a kiosk
    p.rect(200, 102, 295, 110, (60, 130, 80))
    p.rect(0, 160, W - 1, H - 1, (190, 185, 175))         # the square
    for x in range(0, W, 20):
        p.line(x, 160, x - 30, H - 1, (170, 165, 155))
    for x, coat in ((110, (60, 90, 170)), (185, (200, 60, 120)), (60, (90, 90, 90))):
        p.rect(x, 140, x + 10, 172, coat)
        p.disc(x + 5, 134, 5, (250, 214, 178))
    for x, y in ((100, 175), (235, 182)):
        p.bird(x, y)
    return p


def cafe():
    p = Picture()
    p.rect(0, 0, W - 1, H - 1, (120, 80, 60))             # wood panels
    for x in range(0, W, 30):
        p.rect(x, 0, x + 1, 120, (100, 65, 50))
    p.rect(30, 15, 270, 100, (70, 50, 40))                # the window
    p.gradient(19, 96, (250, 200, 140), (250, 230, 190))
    p.rect(148, 15, 152, 100, (70, 50, 40))
    for cx, cy, r in ((80, 90, 30), (220, 95, 25)):       # trees outside
        p.disc(cx, cy, r, (120, 160, 90))
    p.rect(0, 120, W - 1, H - 1, (170, 130, 100))         # the floor
    p.rect(146, 160, 154, 197, (90, 60, 45))              # the table's foot
    p.ellipse(150, 155, 120, 30, (200, 170, 140))         # the round table, seen from a chair
    p.ellipse(150, 152, 116, 27, (245, 240, 228))
    for x in (95, 205):                                   # two cups on saucers
        p.ellipse(x, 152, 16, 5, (255, 255, 255))
        p.rect(x - 8, 138, x + 8, 150, (255, 255, 255))
        p.ellipse(x, 138, 8, 3, (110, 70, 40))
        p.rect(x + 8, 141, x + 12, 146, (255, 255, 255))
    p.rect(135, 150, 165, 160, (235, 225, 190))           # the old photograph
    p.rect(138, 152, 162, 158, (150, 140, 120))
    return p


def press():
    p = Picture()
    p.rect(0, 0, W - 1, H - 1, (200, 200, 195))           # the works' wall
    for y in range(0, 120, 24):
        p.rect(0, y, W - 1, y + 1, (180, 180, 175))
    p.rect(0, 150, W - 1, H - 1, (110, 110, 115))         # the floor
    p.rect(40, 70, 200, 150, (60, 70, 90))                # the press
    for cx in (80, 120, 160):
        p.disc(cx, 90, 15, (150, 150, 160))
        p.disc(cx, 90, 5, (60, 70, 90))
    p.rect(200, 110, 270, 118, (150, 150, 160))           # the output tray
    for k in range(8):                                    # the new issue, stacked
        p.rect(210 + k, 100 - 3 * k, 260 + k, 109 - 3 * k, (250, 250, 245))
        p.rect(215 + k, 102 - 3 * k, 240 + k, 104 - 3 * k, (200, 40, 40))
    p.rect(240, 20, 285, 60, (240, 240, 235))             # a proof on the wall
    for y in range(28, 56, 6):
        p.rect(245, y, 280, y + 2, (90, 90, 90))
    p.bird(250, 12)
    return p


def main():
    os.makedirs(OUT, exist_ok=True)
    office().save("office.bmp")
    rooftop().save("rooftop.bmp")
    night().save("night.bmp")
    station().save("station.gif")
    cafe().save("cafe.jpg")
    press().save("press.png")


if __name__ == "__main__":
    main()
