#!/usr/bin/env python3
# Writes the seed corpus of the MIDI file fuzzer: small format 0 and 1 files
# with running status, tempo changes, SMPTE time, system exclusive and meta
# events, and an unknown chunk. Run from anywhere:
#   python3 fuzz/make_midi_seeds.py
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def vlq(v):
    out = [v & 0x7F]
    v >>= 7
    while v:
        out.insert(0, 0x80 | (v & 0x7F))
        v >>= 7
    return bytes(out)


def header(fmt, tracks, division):
    return b"MThd" + struct.pack(">IHHH", 6, fmt, tracks, division)


def track(body):
    return b"MTrk" + struct.pack(">I", len(body)) + body


EOT = b"\xff\x2f\x00"
notes = (b"\x00\xc0\x05" + b"\x00\x90\x3c\x64" + b"\x00\x40\x64" + vlq(480) + b"\x80\x3c\x40" +
         b"\x00\x40\x40" + b"\x00" + EOT)
tempo = b"\x00\xff\x51\x03\x07\xa1\x20" + vlq(960) + b"\xff\x51\x03\x0f\x42\x40" + b"\x00" + EOT
busy = (b"\x00\xb1\x07\x64" + b"\x00\xe1\x00\x40" + b"\x10\xd1\x30" + b"\x10\xa1\x3c\x20" +
        b"\x00\xf0\x05\x7e\x7f\x09\x01\xf7" + b"\x00\xff\x01\x03abc" + b"\x00\xf7\x02\x01\x02" +
        b"\x00\x91\x40\x50" + vlq(200) + b"\x91\x40\x00" + vlq(100) + EOT)
SEEDS = {
    "format0.mid": header(0, 1, 480) + track(notes),
    "format1.mid": header(1, 3, 480) + track(tempo) + track(notes) + b"XTRA" + struct.pack(">I", 2) + b"hi" +
    track(busy),
    "smpte.mid": header(0, 1, (0xE7 << 8) | 40) + track(notes),
}

out = os.path.join(HERE, "corpus", "midi")
os.makedirs(out, exist_ok=True)
for name, data in SEEDS.items():
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)
