#!/usr/bin/env python3
# Writes the seed corpus of the BMP fuzzer: one tiny bitmap for each header
# version, depth and compression the decoder knows. Run from anywhere:
#   python3 fuzz/make_bmp_seeds.py
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "bmp")


def bmp(width, height, bits, pixels, compression=0, info_size=40, palette=(), masks=(), clr_used=0):
    core = info_size == 12
    mask_bytes = b"".join(struct.pack("<I", m) for m in masks) if info_size == 40 else b""
    entry = 3 if core else 4
    pal = b"".join(struct.pack("<BBB", c & 255, (c >> 8) & 255, c >> 16) + (b"" if core else b"\0")
                   for c in palette)
    if core:
        info = struct.pack("<IHHHH", 12, width, height, 1, bits)
    else:
        info = struct.pack("<IiiHHIIiiII", info_size, width, height, 1, bits, compression, len(pixels),
                           2835, 2835, clr_used, 0)
        if info_size > 40:
            extra = b"".join(struct.pack("<I", m) for m in masks).ljust(info_size - 40, b"\0")
            info += extra[: info_size - 40]
    off = 14 + len(info) + len(mask_bytes) + len(pal)
    head = b"BM" + struct.pack("<IHHI", off + len(pixels), 0, 0, off)
    assert len(pal) == len(palette) * entry
    return head + info + mask_bytes + pal + bytes(pixels)


seeds = {
    "pal1.bmp": bmp(3, 2, 1, [0xA0, 0, 0, 0, 0x40, 0, 0, 0], palette=(0xFF0000, 0x0000FF)),
    "pal4.bmp": bmp(3, 2, 4, [0x12, 0x30, 0, 0, 0x21, 0x00, 0, 0], palette=(0, 0xFF0000, 0xFF00, 0xFF), clr_used=4),
    "pal8_topdown.bmp": bmp(3, -2, 8, [0, 1, 2, 0, 2, 1, 0, 0], palette=(0xFF0000, 0xFF00, 0xFF), clr_used=3),
    "core8.bmp": bmp(2, 1, 8, [1, 0, 0, 0], info_size=12, palette=tuple(range(256))),
    "core24.bmp": bmp(1, 1, 24, [1, 2, 3, 0], info_size=12),
    "rle8.bmp": bmp(4, 3, 8, [6, 1, 0, 0, 0, 3, 2, 3, 2, 0, 0, 2, 0, 1, 1, 3, 0, 1], compression=1,
                    palette=(0, 0xFF0000, 0xFF00, 0xFF), clr_used=4),
    "rle4.bmp": bmp(5, 2, 4, [5, 0x12, 0, 0, 0, 5, 0x12, 0x31, 0x20, 0, 0, 1], compression=2,
                    palette=(0, 0xFF0000, 0xFF00, 0xFF), clr_used=4),
    "rgb16.bmp": bmp(3, 1, 16, [0x00, 0x7C, 0xE0, 0x03, 0x10, 0x00, 0, 0]),
    "bitfields16.bmp": bmp(3, 1, 16, [0x00, 0xF8, 0x20, 0x00, 0xFF, 0xFF, 0, 0], compression=3,
                           masks=(0xF800, 0x07E0, 0x001F)),
    "rgb24.bmp": bmp(2, 2, 24, [0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0]),
    "rgb32.bmp": bmp(2, 1, 32, [0x33, 0x22, 0x11, 0xFF, 0xCC, 0xBB, 0xAA, 0]),
    "v4_bitfields32.bmp": bmp(1, 1, 32, [0, 0x11, 0x22, 0x33], compression=3, info_size=108,
                              masks=(0xFF00, 0xFF0000, 0xFF000000)),
    "v5_alpha32.bmp": bmp(2, -1, 32, [1, 2, 3, 4, 5, 6, 7, 8], compression=6, info_size=124,
                          masks=(0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000)),
}

os.makedirs(OUT, exist_ok=True)
for name, data in seeds.items():
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)
print("wrote %d seeds to %s" % (len(seeds), OUT))
