#!/usr/bin/env python3
"""Writes the two 16-colour test bitmaps of the UI tests into the directory given."""
import struct
import sys


def bitmap(width, height, colour_of):
    row_bytes = ((width * 4 + 31) // 32) * 4
    palette = bytes()
    for i in range(16):
        level = i * 17
        palette += bytes((level, level, level, 0))
    pixels = bytearray()
    for y in range(height):
        row = bytearray(row_bytes)
        for x in range(width):
            c = colour_of(x, y) & 0xF
            if x % 2 == 0:
                row[x // 2] |= c << 4
            else:
                row[x // 2] |= c
        pixels += row
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(pixels), 2835, 2835, 16, 0)
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + palette + bytes(pixels)


def main():
    out = sys.argv[1]
    with open(out + "/test_wide.bmp", "wb") as f:
        f.write(bitmap(40, 30, lambda x, y: (x + y) // 4))
    with open(out + "/test_small.bmp", "wb") as f:
        f.write(bitmap(17, 11, lambda x, y: 15 if (x + y) % 2 else 3))


main()
