#!/usr/bin/env python3
"""Writes a contact sheet PNG of the generated bitmaps and the icon, for looking at them.

Usage: preview_bitmaps.py RESOURCE_H BITMAP_DIR OUT_PNG

Each bitmap is shown with its resource id below it, in id order; the icon's images come last,
drawn over a checked background so that their transparent pixels show.
"""

import os
import re
import struct
import sys
import zlib

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_bitmaps  # noqa: E402  (font and palette)

TILE_W, TILE_H, COLUMNS = 180, 190, 8
PAGE_BACKGROUND = (0xE8, 0xE8, 0xF0)


def read_dib(data, offset, height_factor=1):
    """Pixels (rows of palette indices, top row first), palette and mask of a 4-bit DIB."""
    size, width, height, _, bits = struct.unpack_from("<IiiHH", data, offset)
    if bits != 4:
        raise ValueError(f"{bits} bits per pixel")
    height //= height_factor
    palette_at = offset + size
    palette = [struct.unpack_from("<BBBB", data, palette_at + 4 * i)[2::-1] for i in range(16)]
    stride = (width * 4 + 31) // 32 * 4
    bits_at = palette_at + 64
    rows = []
    for y in range(height):
        row_at = bits_at + (height - 1 - y) * stride
        rows.append([(data[row_at + x // 2] >> (4 if x % 2 == 0 else 0)) & 15
                     for x in range(width)])
    mask = None
    if height_factor == 2:
        mask_stride = (width + 31) // 32 * 4
        mask_at = bits_at + stride * height
        mask = [[bool(data[mask_at + (height - 1 - y) * mask_stride + x // 8] & (0x80 >> (x % 8)))
                 for x in range(width)] for y in range(height)]
    return rows, palette, mask


def write_png(path, width, height, rgb_rows):
    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    raw = b"".join(b"\x00" + bytes(v for px in row for v in px) for row in rgb_rows)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


def main(argv):
    if len(argv) != 4:
        sys.stderr.write(__doc__)
        return 2
    resource_h, bitmap_dir, out_png = argv[1:]
    with open(resource_h, encoding="utf-8") as f:
        ids = re.findall(r"^#define\s+IDB_([A-Z0-9_]+)\s+(\d+)\s*$", f.read(), re.MULTILINE)
    tiles = []
    for name, number in sorted(ids, key=lambda item: int(item[1])):
        with open(os.path.join(bitmap_dir, name.lower() + ".bmp"), "rb") as f:
            data = f.read()
        tiles.append((number, read_dib(data, 14)))
    with open(os.path.join(bitmap_dir, "vela40ps.ico"), "rb") as f:
        ico = f.read()
    count = struct.unpack_from("<H", ico, 4)[0]
    for i in range(count):
        size, _, _, _, _, _, _, offset = struct.unpack_from("<BBBBHHII", ico, 6 + 16 * i)
        tiles.append((f"110 {size}", read_dib(ico, offset, 2)))

    # Tiles left to right, a wide picture taking the room it needs.
    places, x, y = [], 0, 0
    for _, (pixels, _, _) in tiles:
        scale = 3 if len(pixels) <= 32 else 1
        w = max(TILE_W, len(pixels[0]) * scale + 12)
        if x + w > COLUMNS * TILE_W:
            x, y = 0, y + TILE_H
        places.append((x, y, scale))
        x += w
    width, height = COLUMNS * TILE_W, y + TILE_H
    image = [[PAGE_BACKGROUND] * width for _ in range(height)]
    for (label, (pixels, palette, mask)), (tx, ty, scale) in zip(tiles, places):
        ox, oy = tx + 6, ty + 6
        for y, row in enumerate(pixels):
            for x, value in enumerate(row):
                colour = palette[value]
                if mask is not None and mask[y][x]:
                    colour = (0xFF, 0xFF, 0xFF) if (x // 2 + y // 2) % 2 else (0xD0, 0xD0, 0xD0)
                for sy in range(scale):
                    for sx in range(scale):
                        image[oy + y * scale + sy][ox + x * scale + sx] = colour
        label_canvas = make_bitmaps.Canvas(TILE_W, 16, 0)
        label_canvas.text(0, 0, str(label), 2, 1)
        for y in range(14):
            for x in range(TILE_W - 12):
                if label_canvas.get(x, y):
                    image[oy + TILE_H - 30 + y][ox + x] = (0, 0, 0)
    os.makedirs(os.path.dirname(os.path.abspath(out_png)), exist_ok=True)
    write_png(out_png, width, height, image)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
