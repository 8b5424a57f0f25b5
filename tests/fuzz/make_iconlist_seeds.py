#!/usr/bin/env python3
"""Writes the seed corpus of iconlist_stream_fuzz: stored icon lists whose
entries hold real icon images (icon-file layout with DIB images), so that
fuzzing starts past the count and size framing, inside the image reader.

    python3 tests/fuzz/make_iconlist_seeds.py tests/fuzz/iconlist_corpus
"""
import os
import struct
import sys


def dib_image(width, height, bits):
    """One icon image: BITMAPINFOHEADER (height doubled), palette, XOR, AND."""
    colours = 1 << bits if bits <= 8 else 0
    header = struct.pack('<IiiHHIIiiII', 40, width, height * 2, 1, bits, 0, 0, 0, 0, colours, 0)
    palette = b''.join(struct.pack('<BBBB', (i * 37) & 255, (i * 91) & 255, (i * 53) & 255, 0)
                       for i in range(colours))
    xor_stride = ((width * bits + 31) // 32) * 4
    and_stride = ((width + 31) // 32) * 4
    xor = bytes((x * 7 + y * 13) & 255 for y in range(height) for x in range(xor_stride))
    mask = bytes((0xF0 if y % 2 else 0x0F) for y in range(height) for _ in range(and_stride))
    return header + palette + xor + mask


def icon_file(images):
    """images: list of (width, height, bits); the icon-file layout."""
    data = [dib_image(w, h, b) for w, h, b in images]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (w, h, b), d in zip(images, data):
        colours = (1 << b) if b < 8 else 0
        out += struct.pack('<BBBBHHII', w % 256, h % 256, colours % 256, 0, 1, b, len(d), offset)
        offset += len(d)
    return out + b''.join(data)


def icon_list(entries):
    """entries: icon-file bytes, or b'' for a null or empty icon."""
    out = struct.pack('<i', len(entries))
    for e in entries:
        out += struct.pack('<i', len(e)) + e
    return out


SEEDS = {
    'one-16x16-32bpp': [icon_file([(16, 16, 32)])],
    'two-sizes-and-an-empty-entry': [icon_file([(16, 16, 4), (32, 32, 8)]), b''],
    'three-frames-1bpp-4bpp-24bpp': [icon_file([(16, 16, 1)]), icon_file([(16, 16, 4)]),
                                    icon_file([(24, 24, 24)])],
    'empty-list': [],
}

if __name__ == '__main__':
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), 'iconlist_corpus')
    os.makedirs(folder, exist_ok=True)
    for name, entries in SEEDS.items():
        with open(os.path.join(folder, name), 'wb') as f:
            f.write(icon_list(entries))
