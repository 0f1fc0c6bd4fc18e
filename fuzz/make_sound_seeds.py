#!/usr/bin/env python3
# Writes the seed corpora of the WAV and pack fuzzers: small WAV files with
# the chunk orders and formats the reader knows, and packs built from them.
# Run from anywhere:
#   python3 fuzz/make_sound_seeds.py
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def chunk(cid, body):
    return cid + struct.pack("<I", len(body)) + body + (b"\0" if len(body) & 1 else b"")


def fmt(tag=1, channels=2, rate=22050, bits=16, extra=None):
    align = channels * bits // 8
    body = struct.pack("<HHIIHH", tag, channels, rate, rate * align, align, bits)
    if extra is not None:
        body += struct.pack("<H", len(extra)) + extra
    return body


def riff(chunks):
    return b"RIFF" + struct.pack("<I", 4 + len(chunks)) + b"WAVE" + chunks


SAMPLES = bytes(range(64))
WAVS = {
    "pcm16.wav": riff(chunk(b"fmt ", fmt()) + chunk(b"data", SAMPLES)),
    "pcm8_mono.wav": riff(chunk(b"fmt ", fmt(channels=1, bits=8, rate=11025)) + chunk(b"data", SAMPLES[:17])),
    "data_first.wav": riff(chunk(b"data", SAMPLES) + chunk(b"fmt ", fmt())),
    "list.wav": riff(chunk(b"fmt ", fmt()) + chunk(b"LIST", b"INFOISFT\x03\0\0\0ab\0") + chunk(b"data", SAMPLES)),
    "extensible.wav": riff(chunk(b"fmt ", fmt(0xFFFE, extra=struct.pack("<HI", 16, 3) + b"\x01\0" + bytes(14)))
                           + chunk(b"data", SAMPLES)),
    "adpcm.wav": riff(chunk(b"fmt ", fmt(2, 1, 22050, 4, extra=b"\xf4\x01")) + chunk(b"data", SAMPLES)),
}


def entry(name, wav_fmt, samples):
    return struct.pack("<I", len(samples)) + name + b"\0" + struct.pack("<I", len(wav_fmt)) + wav_fmt + samples


PACKS = {
    "two.pak": entry(b"A.WAV", fmt() + b"\0\0", SAMPLES) + entry(b"GET.WAV", fmt(channels=1) + b"\0\0", SAMPLES[:8]),
    "dup.pak": entry(b"MUSIC.WAV", fmt() + b"\0\0", SAMPLES) * 2,
}


def write(folder, files):
    out = os.path.join(HERE, "corpus", folder)
    os.makedirs(out, exist_ok=True)
    for name, data in files.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


write("wav", WAVS)
write("pack", PACKS)
