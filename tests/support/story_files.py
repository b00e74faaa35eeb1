"""What the script tests write into a story folder and read back: scripts,
standard MIDI files, WAV files and the program's trace (one JSON object a
line; a line cut off is left out)."""
import json
import struct


def script(*lines):
    return "".join(line + "\r\n" for line in lines).encode("cp932")


def smf(*tracks, extra=b""):
    """A standard MIDI file of the tracks given, 96 ticks a beat."""
    out = b"MThd" + struct.pack(">IHHH", 6, 1 if len(tracks) > 1 else 0, len(tracks), 96) + extra
    return out + b"".join(b"MTrk" + struct.pack(">I", len(t)) + t for t in tracks)


def held_note(seconds):
    """One note held for `seconds`, at 120 beats a minute."""
    ticks = int(seconds * 192)
    delta = bytes([ticks & 0x7F])
    while ticks > 0x7F:
        ticks >>= 7
        delta = bytes([0x80 | ticks & 0x7F]) + delta
    return smf(b"\x00\x90\x3c\x64" + delta + b"\x80\x3c\x00\x00\xff\x2f\x00")


def wav(fmt_tag, channels, rate, bits, data, declared=None, rifx=False):
    """A WAV file (RIFX: big-endian) whose data chunk declares `declared` bytes, else its own length."""
    e = ">" if rifx else "<"
    block = channels * bits // 8
    fmt = struct.pack(e + "HHIIHH", fmt_tag, channels, rate, rate * block, block, bits)
    body = b"WAVE" + b"fmt " + struct.pack(e + "I", len(fmt)) + fmt
    body += b"data" + struct.pack(e + "I", len(data) if declared is None else declared) + data
    return (b"RIFX" if rifx else b"RIFF") + struct.pack(e + "I", len(body)) + body


def trace(path):
    events = []
    try:
        with open(path, encoding="utf-8", errors="replace") as f:
            for line in f:
                try:
                    events.append(json.loads(line))
                except ValueError:
                    pass
    except OSError:
        pass
    return events
