#!/usr/bin/env python3
"""Composes the demo story's music and its sound effect, and writes them to story/.

- Zirev.mid: the intro tune, a bright fanfare of about five seconds;
- enka.mid: the story's opening tune, a slow minor melody that repeats;
- lmb.mid: the closing tune for the staff screen;
- night.mid, town.mid, cafe.mid: tunes that the story script switches to,
  each on its own General MIDI instruments;
- vmdemo3.WAV: the intro's sound effect, a rising chime.

Everything is written here note by note; run it again after a change:
    /usr/bin/python3 tools/make_story_sounds.py
"""
import math
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "story")
TICKS = 480  # per quarter note


def varlen(n):
    out = [n & 0x7F]
    n >>= 7
    while n:
        out.insert(0, (n & 0x7F) | 0x80)
        n >>= 7
    return bytes(out)


def track(events):
    """events: (tick, bytes) in any order; returns an MTrk chunk."""
    body = b""
    now = 0
    for tick, data in sorted(events, key=lambda e: (e[0], e[1][0] & 0xF0 != 0x80)):
        body += varlen(tick - now) + data
        now = tick
    body += b"\x00\xff\x2f\x00"
    return b"MTrk" + struct.pack(">I", len(body)) + body


def write_midi(name, bpm, parts, end_beats):
    """parts: list of (channel, program, notes), notes as (beat, beats, pitch, velocity).
    The file ends exactly at end_beats, with the last note-off."""
    tempo = int(60_000_000 / bpm)
    conductor = [(0, b"\xff\x51\x03" + tempo.to_bytes(3, "big"))]
    tracks = [track(conductor)]
    end = int(end_beats * TICKS)
    for channel, program, notes in parts:
        events = [(0, bytes([0xC0 | channel, program]))]
        for beat, beats, pitch, velocity in notes:
            on = int(beat * TICKS)
            if on >= end:  # it would start after the end and never be released
                continue
            off = min(end, int((beat + beats) * TICKS) - 10)
            events.append((on, bytes([0x90 | channel, pitch, velocity])))
            events.append((off, bytes([0x80 | channel, pitch, 0])))
        tracks.append(track(events))
    header = b"MThd" + struct.pack(">IHHH", 6, 1, len(tracks), TICKS)
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(header + b"".join(tracks))


def melody(score, start=0.0, velocity=90):
    """score: 'pitch:beats' words; pitch 0 is a rest."""
    notes, beat = [], start
    for word in score.split():
        pitch, beats = word.split(":")
        if int(pitch):
            notes.append((beat, float(beats), int(pitch), velocity))
        beat += float(beats)
    return notes, beat


def chords(progression, beats_each, start=0.0, velocity=60):
    notes, beat = [], start
    for chord in progression:
        for pitch in chord:
            notes.append((beat, beats_each, pitch, velocity))
        beat += beats_each
    return notes


def zirev():
    lead, end = melody("72:0.5 76:0.5 79:0.5 84:1.5 83:0.5 81:0.5 79:0.5 84:3", velocity=100)
    brass = chords([(60, 64, 67), (65, 69, 72), (67, 71, 74), (60, 64, 67, 72)], 2, velocity=70)
    drums = [(b, 0.25, 42, 70) for b in [x * 0.5 for x in range(16)]] + [(0, 1, 49, 100), (6, 1, 49, 100)]
    write_midi("Zirev.mid", 120, [(0, 56, lead), (1, 61, brass), (9, 0, drums)], end)


def enka():
    # A yonanuki minor scale (A B C E F), slow and sung by a shakuhachi.
    a = ("69:1 72:1 71:0.5 69:0.5 64:2 65:1 64:0.5 65:0.5 69:1 71:1 72:3 0:1 "
         "76:1 77:0.5 76:0.5 72:1 71:1 69:2 71:1 72:1 71:1 69:0.5 65:0.5 64:4")
    lead, end = melody(a, velocity=95)
    pad = chords([(57, 60, 64), (53, 57, 60), (52, 56, 59), (57, 60, 64),
                  (57, 60, 64), (53, 57, 60), (52, 56, 59), (57, 60, 64)], 4, velocity=55)
    bass, _ = melody(" ".join(f"{p}:2" for p in [45, 52, 41, 48, 40, 47, 45, 52] * 2), velocity=80)
    write_midi("enka.mid", 72, [(0, 77, lead), (1, 49, pad), (2, 33, bass)], end)


def lmb():
    lead, end = melody("67:1 72:1 74:1 76:2 74:1 72:1 74:1 76:1 79:2 77:1 76:1 74:1 72:4", velocity=90)
    piano = chords([(48, 55, 64), (53, 57, 65), (55, 59, 67), (48, 55, 64)], 4, velocity=60)
    write_midi("lmb.mid", 100, [(0, 73, lead), (1, 0, piano)], end)


def night():
    lead, end = melody("64:2 67:1 69:1 71:2 69:2 67:1 64:1 62:2 64:4 0:2", velocity=80)
    pad = chords([(52, 55, 59), (48, 52, 55), (50, 54, 57), (52, 55, 59)], 4, velocity=50)
    write_midi("night.mid", 66, [(0, 11, lead), (1, 89, pad)], end)


def town():
    lead, end = melody("72:0.5 74:0.5 76:1 79:1 76:0.5 74:0.5 72:1 74:1 76:2 "
                       "77:0.5 76:0.5 74:1 72:1 71:1 72:3", velocity=90)
    bass, _ = melody(" ".join(f"{p}:1" for p in [48, 55, 48, 55, 53, 60, 55, 62, 53, 60, 55, 59, 48, 55, 48, 48]),
                     velocity=75)
    write_midi("town.mid", 132, [(0, 22, lead), (1, 32, bass)], end)


def cafe():
    # A light waltz: alto saxophone over nylon guitar and a pizzicato bass.
    lead, end = melody("76:1 79:1 81:1 79:2 76:1 74:1 72:1 74:1 76:3 "
                       "77:1 76:1 74:1 72:2 71:1 72:3 0:3", velocity=85)
    guitar = chords([(60, 64, 67), (57, 60, 64), (53, 57, 60), (55, 59, 62),
                     (53, 57, 60), (55, 59, 62), (48, 52, 55), (48, 52, 55)], 3, velocity=55)
    bass, _ = melody(" ".join(f"{p}:3" for p in [48, 45, 41, 43, 41, 43, 36, 36]), velocity=70)
    write_midi("cafe.mid", 112, [(0, 65, lead), (1, 24, guitar), (2, 45, bass)], end)


def chime():
    """A rising two-note chime with a soft swish, 22050 Hz, 16-bit mono."""
    rate, seconds = 22050, 0.9
    samples = []
    seed = 12345
    for i in range(int(rate * seconds)):
        t = i / rate
        env = math.exp(-3.5 * t)
        tone = 0.0
        for start, freq in ((0.0, 1318.5), (0.12, 1760.0)):
            if t >= start:
                u = t - start
                tone += math.sin(2 * math.pi * freq * u) * math.exp(-4.0 * u)
                tone += 0.3 * math.sin(2 * math.pi * 2 * freq * u) * math.exp(-6.0 * u)
        seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
        noise = (seed / 0x7FFFFFFF - 0.5) * 0.25 * math.exp(-12 * t)
        samples.append(int(max(-1.0, min(1.0, 0.45 * (tone * env + noise))) * 32767))
    data = struct.pack(f"<{len(samples)}h", *samples)
    fmt = struct.pack("<HHIIHH", 1, 1, rate, rate * 2, 2, 16)
    riff = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(data)) + data
    with open(os.path.join(OUT, "vmdemo3.WAV"), "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", len(riff)) + riff)


def main():
    os.makedirs(OUT, exist_ok=True)
    zirev()
    enka()
    lmb()
    night()
    town()
    cafe()
    chime()


if __name__ == "__main__":
    main()
