#!/usr/bin/env python3
"""Paints the demo story's scene pictures and writes them to story/ as 24-bit
BMP files of 298 x 198 pixels (the scene pane's 302 x 202 less its border):

- office.bmp: the editorial office, pigeons on a wire outside the window;
- rooftop.bmp: the rooftop at noon, a dove on the railing;
- night.bmp: the station square at night, under the clock tower.

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

    def line(self, x0, y0, x1, y1, c):
        n = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(n + 1):
            self.put(round(x0 + (x1 - x0) * i / n), round(y0 + (y1 - y0) * i / n), c)

    def bird(self, x, y, body=(120, 120, 130), head=(90, 90, 100)):
        self.disc(x, y, 4, body)
        self.disc(x + 4, y - 3, 2.5, head)
        self.put(x + 7, y - 3, (230, 150, 40))

    def save(self, name):
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


def main():
    os.makedirs(OUT, exist_ok=True)
    office().save("office.bmp")
    rooftop().save("rooftop.bmp")
    night().save("night.bmp")


if __name__ == "__main__":
    main()
