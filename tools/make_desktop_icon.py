#!/usr/bin/python3
"""Draws the program's desktop icon, a white dove carrying a folded page over
a round sky, at each size the desktop asks for (32, 48, 64, 128 and 256
pixels). Every size is drawn from the shapes themselves, sampled 4 x 4 times a
pixel, not scaled from another size; the smallest sizes drop the fine details.
Writes data/icons/hicolor/NxN/apps/radaded2k.png.

    /usr/bin/python3 tools/make_desktop_icon.py
"""
import math
import os
import struct
import zlib

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "icons", "hicolor")
SIZES = (32, 48, 64, 128, 256)


def inside_ellipse(x, y, cx, cy, rx, ry, angle=0.0):
    c, s = math.cos(angle), math.sin(angle)
    dx, dy = x - cx, y - cy
    u, v = dx * c + dy * s, -dx * s + dy * c
    return (u / rx) ** 2 + (v / ry) ** 2 <= 1


def shapes(detail):
    """Back to front: (test(x, y) in the unit square, RGBA)."""
    out = [
        (lambda x, y: inside_ellipse(x, y, 0.5, 0.5, 0.47, 0.47), (70, 140, 220, 255)),       # sky
        (lambda x, y: inside_ellipse(x, y, 0.5, 0.5, 0.47, 0.47) and y > 0.72, (60, 110, 190, 255)),
        (lambda x, y: inside_ellipse(x, y, 0.47, 0.55, 0.26, 0.15, -0.2), (250, 250, 250, 255)),  # body
        (lambda x, y: inside_ellipse(x, y, 0.70, 0.40, 0.10, 0.09), (250, 250, 250, 255)),      # head
        (lambda x, y: inside_ellipse(x, y, 0.40, 0.38, 0.24, 0.09, -0.9), (235, 238, 245, 255)),  # wing
        (lambda x, y: 0.78 <= x <= 0.86 and abs(y - 0.41) <= 0.025 - (x - 0.78) * 0.3, (240, 160, 40, 255)),
        (lambda x, y: 0.50 <= x <= 0.64 and 0.64 <= y <= 0.76, (255, 250, 225, 255)),           # the page
    ]
    if detail:
        out += [
            (lambda x, y: inside_ellipse(x, y, 0.72, 0.38, 0.018, 0.018), (20, 20, 30, 255)),   # eye
            (lambda x, y: 0.52 <= x <= 0.62 and any(abs(y - l) < 0.006 for l in (0.68, 0.70, 0.72)),
             (120, 120, 130, 255)),                                                           # its lines
            (lambda x, y: inside_ellipse(x, y, 0.22, 0.62, 0.10, 0.04, 0.3), (235, 238, 245, 255)),  # tail
        ]
    return out


def draw(size):
    detail = size >= 48
    layers = shapes(detail)
    n = 4
    rows = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(n):
                for sx in range(n):
                    x, y = (px + (sx + 0.5) / n) / size, (py + (sy + 0.5) / n) / size
                    colour = (0, 0, 0, 0)
                    for test, c in layers:
                        if test(x, y):
                            colour = c
                    a = colour[3] / 255
                    for k in range(3):
                        acc[k] += colour[k] * a
                    acc[3] += a
            alpha = acc[3] / (n * n)
            if acc[3]:
                row += bytes(round(acc[k] / acc[3]) for k in range(3)) + bytes([round(alpha * 255)])
            else:
                row += b"\0\0\0\0"
        rows.append(b"\0" + bytes(row))
    return b"".join(rows)


def png(size, raw):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    for size in SIZES:
        folder = os.path.join(OUT, "%dx%d" % (size, size), "apps")
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, "radaded2k.png"), "wb") as f:
            f.write(png(size, draw(size)))


if __name__ == "__main__":
    main()
