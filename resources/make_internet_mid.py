#!/usr/bin/env python3
"""Writes Internet.mid, the splash tune of Urbaflux: a short piece of our own (about 20 seconds)
for piano melody, strings and bass, as a type-1 standard MIDI file. Run from this folder:
    python3 make_internet_mid.py
"""
import struct

TICKS = 480  # per quarter note


def vlq(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append((value & 0x7F) | 0x80)
        value >>= 7
    return bytes(reversed(out))


def track(events):
    """events: (tick, bytes) in any order; returns the MTrk chunk."""
    data = b""
    now = 0
    for tick, message in sorted(events, key=lambda e: (e[0], e[1][0] & 0xF0 != 0x80)):
        data += vlq(tick - now) + message
        now = tick
    data += vlq(0) + b"\xff\x2f\x00"
    return b"MTrk" + struct.pack(">I", len(data)) + data


def notes(channel, program, volume, sequence, start=0):
    """sequence: (midi note or None for a rest, or a tuple for a chord; length in eighths)."""
    events = [(0, bytes([0xC0 | channel, program])), (0, bytes([0xB0 | channel, 7, volume]))]
    tick = start
    for pitch, eighths in sequence:
        length = eighths * TICKS // 2
        pitches = pitch if isinstance(pitch, tuple) else (pitch,) if pitch is not None else ()
        for p in pitches:
            events.append((tick, bytes([0x90 | channel, p, 84])))
            events.append((tick + length - 20, bytes([0x80 | channel, p, 0])))
        tick += length
    return events


C, D, E, F, G, A, B = 60, 62, 64, 65, 67, 69, 71
# Melody: two phrases that climb like traffic towards a centre and settle back home.
melody = [
    (E, 2), (G, 2), (C + 12, 3), (B, 1), (A, 2), (G, 2), (E, 4),
    (F, 2), (A, 2), (D + 12, 3), (C + 12, 1), (B, 2), (A, 2), (G, 4),
    (E, 1), (F, 1), (G, 2), (A, 2), (G, 2), (F, 2), (E, 2), (D, 2), (E, 2),
    (C, 2), (D, 2), (E, 2), (G, 2), (D, 4), (None, 4),
    (E, 2), (G, 2), (C + 12, 3), (B, 1), (A, 2), (G, 2), (E + 12, 4),
    (D + 12, 2), (C + 12, 2), (B, 2), (A, 2), (G, 2), (A, 2), (B, 4),
    (C + 12, 2), (G, 2), (E, 2), (G, 2), (F, 2), (D, 2), (B - 12, 2), (D, 2),
    (C, 8),
]
chords = [((C - 12, E - 12, G - 12), 8), ((A - 24, C - 12, E - 12), 8),
          ((F - 24, A - 24, C - 12), 8), ((G - 24, B - 24, D - 12), 8)]
harmony = (chords * 2 + [((F - 24, A - 24, C - 12), 8), ((G - 24, B - 24, D - 12), 8),
                         ((C - 12, E - 12, G - 12), 8), ((G - 24, B - 24, D - 12), 8),
                         ((F - 24, A - 24, C - 12), 8), ((G - 24, B - 24, D - 12), 8),
                         ((C - 12, E - 12, G - 12), 8)])
roots = [C - 24, A - 36, F - 36, G - 36] * 2 + [F - 36, G - 36, C - 24, G - 36, F - 36, G - 36]
bass = []
for root in roots:
    bass += [(root, 2), (root + 7, 2), (root + 12, 2), (root + 7, 2)]
bass += [(C - 24, 8)]

tempo = b"\xff\x51\x03" + (500000).to_bytes(3, "big")  # 120 beats a minute
title = b"\xff\x03" + vlq(len(b"Urbaflux")) + b"Urbaflux"
conductor = track([(0, tempo), (0, title), (0, b"\xff\x58\x04\x04\x02\x18\x08")])
header = b"MThd" + struct.pack(">IHHH", 6, 1, 4, TICKS)
with open("Internet.mid", "wb") as out:
    out.write(header + conductor
              + track(notes(0, 0, 110, melody))       # acoustic grand piano
              + track(notes(1, 48, 70, harmony))      # string ensemble
              + track(notes(2, 32, 95, bass)))        # acoustic bass
