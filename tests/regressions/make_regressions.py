#!/usr/bin/python3
"""Writes the damaged and hostile inputs that once crashed, hung or swamped the
program, one file each, for the tests to replay and the fuzzers to start from.
A file's name says what must become of it: "refused-" files are reported (a
picture: error 481) or left silent (a sound), "ok-" files load or play.

usage: make_regressions.py   (writes beside this script)
"""
import os
import struct
import sys
import zlib

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "support"))
from story_files import smf, wav  # noqa: E402


def write(kind, name, data):
    os.makedirs(os.path.join(here, kind), exist_ok=True)
    with open(os.path.join(here, kind, name), "wb") as f:
        f.write(data)


def chunk(kind, data, length=None):
    body = kind + data
    return struct.pack(">I", len(data) if length is None else length) + body + struct.pack(">I", zlib.crc32(body))


PNG = b"\x89PNG\r\n\x1a\n"


def ihdr(w, h, depth=8, colour=0):
    return chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, depth, colour, 0, 0, 0))


# A 1 x 1 PNG whose tEXt chunk declares 64 KiB, cut off after 45 bytes.
write("picture", "refused-png-text-past-end.png", (PNG + ihdr(1, 1) + struct.pack(">I", 65536) + b"tEXtabcd")[:45])
# One chunk declaring about 1 GB in a 57-byte file.
write("picture", "refused-png-huge-chunk.png", PNG + ihdr(1, 1) + struct.pack(">I", 0x3FFFFFF0) + b"tEXt" + b"\0" * 16)
# Each side within the limits, the whole over them.
idat = chunk(b"IDAT", zlib.compress(b"\0" * 4))
write("picture", "refused-png-4096x1025.png", PNG + ihdr(4096, 1025) + idat + chunk(b"IEND", b""))
write("picture", "ok-png-1x1.png", PNG + ihdr(1, 1) + chunk(b"IDAT", zlib.compress(b"\0\x80")) + chunk(b"IEND", b""))

GIF = b"GIF89a" + struct.pack("<HH", 1, 1) + b"\x80\0\0" + b"\xff\0\0\0\0\0"
# A first image with LZW code size 13, then a descriptor of 65535 x 65535.
write("picture", "refused-gif-second-image-huge.gif",
      GIF + b"\x2c" + struct.pack("<HHHH", 0, 0, 1, 1) + b"\0" + b"\x0d\x02\x44\x01\0"
      + b"\x2c" + struct.pack("<HHHH", 0, 0, 65535, 65535) + b"\0" + b"\x02\x02\x44\x01\0;")
# LZW code size 4 with codes that point past the table: decoded or refused.
write("picture", "damaged-gif-bad-codes.gif",
      GIF + b"\x2c" + struct.pack("<HHHH", 0, 0, 1, 1) + b"\0" + b"\x04\x40" + bytes(range(0xC0, 0x100)) + b"\0;")


# 20 KB of 8-bit mono at 1 Hz: hours of sound after conversion.
write("wav", "refused-rate-1hz.wav", wav(1, 1, 1, 8, b"\x80" * 20000))
# A data chunk that declares 4 GB.
write("wav", "refused-data-4gb.wav", wav(1, 1, 8000, 8, b"\x80\x80\x80\x80", declared=0xFFFFFFF0))
write("wav", "ok-pcm16.wav", wav(1, 1, 22050, 16, struct.pack("<100h", *([1000, -1000] * 50))))
write("wav", "ok-float64.wav", wav(3, 1, 22050, 64, struct.pack("<50d", *([0.25, -0.25] * 25))))
write("wav", "ok-rifx.wav", wav(1, 1, 22050, 16, struct.pack(">100h", *([1000, -1000] * 50)), rifx=True))


END = b"\0\xff\x2f\0"
# Channel pressure carries one data byte.
write("midi", "ok-channel-pressure.mid", smf(b"\0\xd0\x40" + b"\x60\xd0\x00" + END))
# Running status carried across a meta event.
write("midi", "ok-running-status-across-meta.mid",
      smf(b"\0\x90\x3c\x40" + b"\0\xff\x01\x01x" + b"\x60\x3c\x00" + END))
# A chunk of another kind before the track.
write("midi", "ok-foreign-chunk.mid", smf(b"\0\x90\x3c\x40\x60\x80\x3c\0" + END, extra=b"XFIH\0\0\0\x02ab"))
write("midi", "refused-data-with-no-status.mid", smf(b"\0\x3c\x40" + END))


def rmid(data, form_extra=0):
    """A standard MIDI file wrapped in RIFF, as Windows saved them, after an INFO list."""
    info = b"LIST" + struct.pack("<I", 9) + b"INFOISFT\0" + b"\0"
    body = b"RMID" + info + b"data" + struct.pack("<I", len(data)) + data + b"\0" * (len(data) % 2)
    return b"RIFF" + struct.pack("<I", len(body) + form_extra) + body


note = smf(b"\0\x90\x3c\x40\x60\x80\x3c\0" + END)
write("midi", "ok-rmid.rmi", rmid(note))
# The form declares more than the file holds.
write("midi", "refused-rmid-form-past-end.rmi", rmid(note, form_extra=2))

# Scripts: a speaker number in 257 hexadecimal digits.
write("script", "refused-hex-overflow.dat", b"#ICON &H" + b"F" * 257 + b"\r\n#ENDI")
