#!/usr/bin/python3
"""Writes picture files made by PIL, lists real ones from Debian packages, and
gives PIL's reading of each as the expected pixels; and lists the GIF test
suite's files with the pixels it expects.

usage: pil_pictures.py OUT_DIR
Writes OUT_DIR/made/* and OUT_DIR/list.tsv with lines "path<TAB>expected.rgba"
where expected.rgba is width and height (4 bytes little-endian each) and then
RGBA bytes; files PIL cannot read are listed with "-".
"""
import glob
import os
import struct
import sys

from PIL import Image

out = sys.argv[1]
made = os.path.join(out, "made")
os.makedirs(made, exist_ok=True)


def gradient(mode, size=(13, 7)):
    w, h = size
    im = Image.frombytes("RGBA", size, bytes(c for y in range(h) for x in range(w) for c in (
        x * 19 % 256, y * 37 % 256, (x + y) * 11 % 256, x * y * 7 % 256)))
    return im.convert(mode) if mode != "RGBA" else im


def save(name, im, **options):
    im.save(os.path.join(made, name), **options)
    return os.path.join(made, name)


def sixteen_bits(im):
    return im.convert("I").point(lambda v: v * 257).convert("I;16")


def make():
    files = [save("png_%s_%d.png" % (mode.replace(";", ""), interlace),
                  sixteen_bits(gradient("L")) if mode == "I;16" else gradient(mode), interlace=interlace)
             for mode in ("1", "L", "P", "RGB", "RGBA", "LA", "I;16") for interlace in (0, 1)]
    # Greys and palettes with a transparent colour (tRNS).
    files += [save("png_trns_%s.png" % mode, gradient(mode), transparency=t)
              for mode, t in (("L", 76), ("P", 3), ("RGB", (0, 37, 0)))]
    files += [save("png_grey%d_trns.png" % bits, gradient("L").point(lambda v: v >> (8 - bits) << (8 - bits)),
                   bits=bits, transparency=0) for bits in (1, 2, 4)]
    files += [save("bmp_%s.bmp" % mode, gradient(mode, (17, 9))) for mode in ("1", "L", "P", "RGB", "RGBA")]
    files += made_by_hand()
    files += [save("jpg_%s.jpg" % mode, gradient(mode, (21, 11)), quality=90) for mode in ("L", "RGB")]
    # Icons whose entries are PNG images, as current tools write them; and
    # 32-bit bitmap entries with soft edges: their own alpha, not the mask.
    return files + [save("ico_png.ico", gradient("RGBA", (48, 48)), sizes=[(256, 256), (48, 48), (32, 32), (16, 16)]),
                    save("ico_bmp32.ico", gradient("RGBA", (32, 32)), sizes=[(32, 32)], bitmap_format="bmp")]


def bmp(name, header, palette, pixels):
    """A BMP file of a header (its size first), a palette of (r, g, b) entries
    (3 bytes each in a core header, else 4) and the pixel bytes."""
    entry = 3 if len(header) == 12 else 4
    colours = b"".join(bytes((b, g, r, 0)[:entry]) for r, g, b in palette)
    offset = 14 + len(header) + len(colours)
    path = os.path.join(made, name)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + header + colours + pixels)
    return path


def rle(rows, bits):
    """Rows of palette indexes, run-length encoded as 8- or 4-bit BMPs have
    them: a run of the first two pixels, the other twelve written out
    (absolute mode), an end of line after each row and an end of bitmap."""
    out = b""
    for row in rows:
        rest = bytes(row[2:]) if bits == 8 else bytes(a << 4 | b for a, b in zip(row[2::2], row[3::2]))
        out += bytes((2, row[0] * (1 if bits == 8 else 17), 0, len(row) - 2)) + rest + b"\0" * (len(rest) % 2) + b"\0\0"
    return out + b"\0\1"


def made_by_hand():
    """What PIL reads but does not write: run-length encoded and core-header BMPs."""
    w, h = 14, 6
    rows = [[y, y] + [(x * 3 + y) % 16 for x in range(w - 2)] for y in range(h)]
    palette = [(i * 16 % 256, (255 - i * 9) % 256, i * 77 % 256) for i in range(256)]
    files = []
    for bits, compression in ((8, 1), (4, 2)):
        data = rle(rows, bits)
        header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bits, compression, len(data), 0, 0, 16, 0)
        files.append(bmp("bmp_rle%d.bmp" % bits, header, palette[:16], data))
    stride = (w + 3) & ~3
    pixels = b"".join(bytes(row + [0] * (stride - w)) for row in reversed(rows))
    files.append(bmp("bmp_core8.bmp", struct.pack("<IHHHH", 12, w, h, 1, 8), palette, pixels))
    return files


def real():
    roots = ["/usr/libexec/installed-tests/gdk-pixbuf/test-images/reftests",
             "/usr/libexec/installed-tests/gdk-pixbuf/test-images/gif-test-suite",
             "/usr/libexec/installed-tests/SDL2_image"]
    files = []
    for root in roots:
        for ext in ("png", "bmp", "jpg", "jpeg", "ico"):
            files += sorted(glob.glob(os.path.join(root, "*." + ext)))
    return files


def expected(path):
    im = Image.open(path)
    if im.format == "ICO":
        # The entry nearest 32 x 32, then the one with the most colours.
        # Pillow gives the entries as objects, or (9.4) as dictionaries.
        def field(e, name):
            return e[name] if isinstance(e, dict) else getattr(e, name)
        best = min(im.ico.entry, key=lambda e: (abs(field(e, "width") - 32) + abs(field(e, "height") - 32),
                                                 -field(e, "bpp")))
        im = im.ico.getimage((field(best, "width"), field(best, "height")), field(best, "bpp"))
    if im.mode in ("I;16", "I;16B", "I"):
        im = im.point(lambda v: v / 257).convert("L")
    rgba = im.convert("RGBA")
    return struct.pack("<II", *rgba.size) + rgba.tobytes()


# GIFs whose first frame the GIF test suite reads otherwise than PIL and
# giflib do: a screen with no image, or an empty one cut off after its
# descriptor (no picture here), several images drawn as one frame (here the
# first image, as PIL has it), LZW codes over 8 bits (refused).
OTHERWISE = ("no-data.gif", "max-codes.gif", "images-overlap.gif", "images-combine.gif", "high-color.gif",
             "dispose-restore-previous.gif")


def gif_suite():
    """The GIF test suite's files, each with the pixels it expects of the first frame."""
    suite = "/usr/libexec/installed-tests/gdk-pixbuf/test-images/gif-test-suite"
    for conf in sorted(glob.glob(os.path.join(suite, "*.conf"))):
        fields = {}
        for line in open(conf):
            key, eq, value = line.strip().partition(" = ")
            if eq and key not in fields:
                fields[key] = value
        name = fields.get("input", "")
        if "pixels" in fields and name not in OTHERWISE and not name.startswith("image-zero-"):
            with open(os.path.join(suite, fields["pixels"]), "rb") as f:
                yield os.path.join(suite, name), struct.pack("<II", int(fields["width"]), int(fields["height"])) + f.read()


def pil_readings():
    for path in make() + real():
        try:
            yield path, expected(path)
        except Exception:
            yield path, None


with open(os.path.join(out, "list.tsv"), "w") as listing:
    for i, (path, data) in enumerate(list(pil_readings()) + list(gif_suite())):
        target = os.path.join(out, "%04d.rgba" % i) if data is not None else "-"
        if data is not None:
            with open(target, "wb") as f:
                f.write(data)
        listing.write("%s\t%s\n" % (path, target))
