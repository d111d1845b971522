#!/usr/bin/env python3
"""Draws the bitmaps and the icon of vela40ps into a build directory.

Usage: make_bitmaps.py RESOURCE_H OUT_DIR

Every IDB_ symbol of resource.h names one bitmap; the file is the symbol without "IDB_", in
lower case, with ".bmp" (IDB_PREVIEW_PORTRAIT_LONG_4 -> preview_portrait_long_4.bmp). A preview's
symbol says what it shows: IDB_PREVIEW_<PORTRAIT|LANDSCAPE>_<SINGLE|LONG|SHORT>_<pages per sheet>
or IDB_PREVIEW_BOOKLET_<PORTRAIT|LANDSCAPE>. The icon goes to vela40ps.ico.

Every bitmap is also drawn for screens of 125 % and 150 %, a third of larger and half as large
again: <name>_120dpi.bmp and <name>_144dpi.bmp, whose resource ids are the bitmap's plus the
offsets BITMAP_ID_OFFSET_120_DPI and BITMAP_ID_OFFSET_144_DPI of resource.h. They are drawn for
the scale, not stretched: positions and sizes scale, and every line keeps one thickness in the
whole picture. scaled_bitmaps.rc names them for the resource script.

All pictures are 16-colour (4 bits per pixel, standard VGA palette) and the output is the same
on every run. Conventions the previews keep, so that tests can read them back:
  - background: silver (index 7) everywhere outside the sheets, arrows and numbers;
  - a sheet is white (15) with a black outline; its pages are white cells with grey (8) outlines,
    so each page is one white region and the sheet's margin and gutters another;
  - two-sided previews draw the turning edge of both sheets red (9), a blue (12) turning arrow
    and the sheet numbers "1" and "2" in black outside the sheets; single-sided ones use no red.
"""

import os
import re
import struct
import sys

PREVIEW_SIZE = (160, 160)
ABOUT_SIZE = (240, 72)

# Standard 16-colour palette as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GREY, RED, LIME, YELLOW, BLUE, MAGENTA, CYAN, WHITE = range(8, 16)

# 5 x 7 pixel font: the digits and the letters of the logo.
GLYPHS = {
    "0": [".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."],
    "1": ["..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "2": [".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"],
    "3": ["####.", "....#", "....#", ".###.", "....#", "....#", "####."],
    "4": ["...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."],
    "5": ["#####", "#....", "####.", "....#", "....#", "#...#", ".###."],
    "6": [".###.", "#....", "#....", "####.", "#...#", "#...#", ".###."],
    "7": ["#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."],
    "8": [".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."],
    "9": [".###.", "#...#", "#...#", ".####", "....#", "....#", ".###."],
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "V": ["#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    " ": [".....", ".....", ".....", ".....", ".....", ".....", "....."],
}
GLYPH_W, GLYPH_H = 5, 7


class Canvas:
    """A picture of palette indices, (0, 0) at the top left, drawn in units of the picture at
    96 DPI: `scale` pixels a unit. Areas scale; lines keep one thickness per drawn width."""

    def __init__(self, width, height, colour, scale=1.0):
        self.scale = scale
        self.width = self.px(width)
        self.height = self.px(height)
        self.pixels = bytearray([colour]) * (self.width * self.height)

    def px(self, units):
        """The pixel position of a position in units (rounded half up)."""
        return int(units * self.scale + 0.5)

    def thickness(self, units):
        """The pixels of a line `units` thick: at least one, the same wherever it is drawn."""
        return max(1, round(units * self.scale))

    def set(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y * self.width + x] = colour

    def get(self, x, y):
        return self.pixels[y * self.width + x]

    def fill_pixels(self, x0, y0, x1, y1, colour):
        """Fills the pixels x0 <= x < x1, y0 <= y < y1."""
        for y in range(max(y0, 0), min(y1, self.height)):
            row = y * self.width
            for x in range(max(x0, 0), min(x1, self.width)):
                self.pixels[row + x] = colour

    def fill(self, x0, y0, x1, y1, colour):
        """Fills the area from (x0, y0) to (x1, y1) in units."""
        self.fill_pixels(self.px(x0), self.px(y0), self.px(x1), self.px(y1), colour)

    def hline(self, x0, x1, y, units, colour):
        """A horizontal line `units` thick whose top is at y."""
        top = self.px(y)
        self.fill_pixels(self.px(x0), top, self.px(x1), top + self.thickness(units), colour)

    def vline(self, x, y0, y1, units, colour):
        """A vertical line `units` thick whose left side is at x."""
        left = self.px(x)
        self.fill_pixels(left, self.px(y0), left + self.thickness(units), self.px(y1), colour)

    def frame(self, x0, y0, x1, y1, colour, units=1):
        """The outline of the area from (x0, y0) to (x1, y1), inside it."""
        t = self.thickness(units)
        left, top, right, bottom = self.px(x0), self.px(y0), self.px(x1), self.px(y1)
        self.fill_pixels(left, top, right, top + t, colour)
        self.fill_pixels(left, bottom - t, right, bottom, colour)
        self.fill_pixels(left, top, left + t, bottom, colour)
        self.fill_pixels(right - t, top, right, bottom, colour)

    def dot(self, x, y, size, colour):
        left, top, t = self.px(x), self.px(y), self.thickness(size)
        self.fill_pixels(left, top, left + t, top + t, colour)

    def triangle(self, a, b, c, colour):
        a, b, c = [(p[0] * self.scale, p[1] * self.scale) for p in (a, b, c)]
        xs = [p[0] for p in (a, b, c)]
        ys = [p[1] for p in (a, b, c)]

        def side(p, q, x, y):
            return (q[0] - p[0]) * (y - p[1]) - (q[1] - p[1]) * (x - p[0])

        for y in range(int(min(ys)), int(max(ys)) + 1):
            for x in range(int(min(xs)), int(max(xs)) + 1):
                px, py = x + 0.5, y + 0.5
                d1, d2, d3 = side(a, b, px, py), side(b, c, px, py), side(c, a, px, py)
                if (d1 >= 0 and d2 >= 0 and d3 >= 0) or (d1 <= 0 and d2 <= 0 and d3 <= 0):
                    self.set(x, y, colour)

    def text(self, x, y, string, scale, colour, anchor="left"):
        """Glyphs of the 5 x 7 font, `scale` units a dot, at (x, y) in units: x is the left
        side, the middle or the right side of the text by `anchor`."""
        dot = self.thickness(scale)
        width = len(string) * (GLYPH_W + 1) * dot - dot
        left = self.px(x) - {"left": 0, "centre": width // 2, "right": width}[anchor]
        top = self.px(y)
        for ch in string:
            for row, bits in enumerate(GLYPHS[ch]):
                for col, bit in enumerate(bits):
                    if bit == "#":
                        self.fill_pixels(left + col * dot, top + row * dot,
                                         left + (col + 1) * dot, top + (row + 1) * dot, colour)
            left += (GLYPH_W + 1) * dot


def text_width(string, scale):
    """The width in units of a text drawn `scale` units a dot."""
    return len(string) * (GLYPH_W + 1) * scale - scale


# --- Previews -----------------------------------------------------------------------------------

# Grid (columns, rows) of the pages on a portrait sheet; a landscape sheet swaps them.
PORTRAIT_GRIDS = {1: (1, 1), 2: (1, 2), 4: (2, 2), 6: (2, 3), 9: (3, 3), 16: (4, 4)}


def grid_for(pages, landscape):
    cols, rows = PORTRAIT_GRIDS[pages]
    return (rows, cols) if landscape else (cols, rows)


def text_lines(canvas, x0, y0, x1, y1, step):
    """Lines of text in the page (x0, y0)-(x1, y1), clear of its frame: a heading, full lines and
    a shorter last line."""
    width = x1 - x0 - 4
    rows = list(range(y0 + 2, y1 - 2, step))
    for i, y in enumerate(rows):
        if i == 0:
            length, colour = max(1, width * 2 // 3), NAVY
        elif i == len(rows) - 1:
            length, colour = max(1, width // 2), GREY
        else:
            length, colour = width, GREY
        canvas.hline(x0 + 2, x0 + 2 + length, y, 1, colour)


def full_page(canvas, x0, y0, x1, y1):
    """One page filling the sheet: a heading, a picture block and text."""
    w, h = x1 - x0, y1 - y0
    m = max(4, w // 10)
    canvas.hline(x0 + m, x0 + m + (w - 2 * m) * 2 // 3, y0 + m, 3, NAVY)
    top = y0 + m + 8
    pic_w, pic_h = (w - 2 * m) // 3, h // 5
    canvas.fill(x1 - m - pic_w, top, x1 - m, top + pic_h, TEAL)
    y = top
    while y < y1 - m:
        right = x1 - m - (pic_w + 4 if y < top + pic_h + 2 else 0)
        if y + 4 >= y1 - m:
            right = x0 + m + (w - 2 * m) // 2
        canvas.hline(x0 + m, right, y, 2, GREY)
        y += 4


def turning_edge_line(canvas, x, y, w, h, edge):
    """The red turning edge of a sheet along one of its sides, inside the sheet."""
    t = canvas.thickness(2)
    left, top, right, bottom = canvas.px(x), canvas.px(y), canvas.px(x + w), canvas.px(y + h)
    if edge == "left":
        canvas.fill_pixels(left, top, left + t, bottom, RED)
    elif edge == "right":
        canvas.fill_pixels(right - t, top, right, bottom, RED)
    elif edge == "top":
        canvas.fill_pixels(left, top, right, top + t, RED)
    elif edge == "bottom":
        canvas.fill_pixels(left, bottom - t, right, bottom, RED)


def sheet(canvas, x, y, w, h, pages, landscape, turning_edge=None):
    """A sheet with `pages` pages laid out in their grid; turning_edge is "left", "right", "top",
    "bottom" or None."""
    canvas.fill(x + 2, y + 2, x + w + 2, y + h + 2, GREY)  # shadow
    canvas.fill(x, y, x + w, y + h, WHITE)
    canvas.frame(x, y, x + w, y + h, BLACK)
    if pages == 1:
        full_page(canvas, x, y, x + w, y + h)
    else:
        cols, rows = grid_for(pages, landscape)
        margin = 3 if min(w, h) < 80 else 5
        gutter = 2 if min(w, h) < 80 else 3
        cell_w = (w - 2 * margin - (cols - 1) * gutter) // cols
        cell_h = (h - 2 * margin - (rows - 1) * gutter) // rows
        left = x + (w - cols * cell_w - (cols - 1) * gutter) // 2
        top = y + (h - rows * cell_h - (rows - 1) * gutter) // 2
        for r in range(rows):
            for c in range(cols):
                cx = left + c * (cell_w + gutter)
                cy = top + r * (cell_h + gutter)
                canvas.frame(cx, cy, cx + cell_w, cy + cell_h, GREY)
                text_lines(canvas, cx, cy, cx + cell_w, cy + cell_h, 2)
    if turning_edge:
        turning_edge_line(canvas, x, y, w, h, turning_edge)


def curved_arrow(canvas, start, control, end, colour):
    """A quadratic curve from start to end, two units thick, with a head at end."""
    steps = 60 * max(1, round(canvas.scale))
    for i in range(steps + 1):
        t = i / steps
        px = (1 - t) ** 2 * start[0] + 2 * (1 - t) * t * control[0] + t * t * end[0]
        py = (1 - t) ** 2 * start[1] + 2 * (1 - t) * t * control[1] + t * t * end[1]
        if t < 0.9:
            canvas.dot(px - 0.5, py - 0.5, 2, colour)
    dx, dy = end[0] - control[0], end[1] - control[1]
    length = (dx * dx + dy * dy) ** 0.5
    dx, dy = dx / length, dy / length
    base = (end[0] - dx * 8, end[1] - dy * 8)
    canvas.triangle(end, (base[0] - dy * 5, base[1] + dx * 5), (base[0] + dy * 5, base[1] - dx * 5),
                    colour)


def single_sided(landscape, pages, scale):
    canvas = Canvas(*PREVIEW_SIZE, SILVER, scale)
    w, h = (124, 88) if landscape else (88, 124)
    sheet(canvas, (PREVIEW_SIZE[0] - w) // 2 - 1, (PREVIEW_SIZE[1] - h) // 2 - 1, w, h, pages,
          landscape)
    return canvas


def two_sided(landscape, pages, edge, scale):
    """Two sheets numbered 1 and 2, turned about their long or short side."""
    canvas = Canvas(*PREVIEW_SIZE, SILVER, scale)
    width, height = PREVIEW_SIZE
    w, h = (70, 50) if landscape else (50, 70)
    # The long side of a portrait sheet is vertical: turning about it puts the sheets side by
    # side. Turning about a horizontal side stacks them.
    side_by_side = (edge == "long") != landscape
    gap = 12
    digit = 2  # scale of the sheet numbers
    if side_by_side:
        x0 = (width - (2 * w + gap)) // 2
        y0 = 60 if landscape else 50
        x1, y1 = x0 + w + gap, y0
        sheet(canvas, x0, y0, w, h, pages, landscape, "right")
        sheet(canvas, x1, y1, w, h, pages, landscape, "left")
        for number, sx in (("1", x0), ("2", x1)):
            canvas.text(sx + w / 2, y0 + h + 5, number, digit, BLACK, anchor="centre")
        top = y0 - 4
        curved_arrow(canvas, (x0 + w // 2, top), (width // 2, top - 44), (x1 + w // 2, top), BLUE)
    else:
        y0 = (height - (2 * h + gap)) // 2
        x0 = 50 if not landscape else 42
        x1, y1 = x0, y0 + h + gap
        sheet(canvas, x0, y0, w, h, pages, landscape, "bottom")
        sheet(canvas, x1, y1, w, h, pages, landscape, "top")
        for number, sy in (("1", y0), ("2", y1)):
            canvas.text(x0 - 8, sy + (h - GLYPH_H * digit) // 2, number, digit, BLACK,
                        anchor="right")
        right = x0 + w + 5
        curved_arrow(canvas, (right, y0 + h // 2), (right + 44, height // 2),
                     (right, y1 + h // 2), BLUE)
    return canvas


def booklet(landscape, scale):
    """An open booklet: two facing pages on a spine, with the sheets below them showing."""
    canvas = Canvas(*PREVIEW_SIZE, SILVER, scale)
    width, height = PREVIEW_SIZE
    if not landscape:
        pw, ph = 60, 86
        x0, y0 = (width - 2 * pw) // 2, (height - ph) // 2 - 3
        # Each page with the step, per sheet below it, by which those sheets stick out.
        pages = [(x0, y0, -2, 1), (x0 + pw, y0, 2, 1)]
    else:
        pw, ph = 96, 58
        x0, y0 = (width - pw) // 2 - 3, (height - 2 * ph) // 2
        pages = [(x0, y0, 1, -2), (x0, y0 + ph, 1, 2)]
    for layer in (3, 2, 1):
        for px, py, dx, dy in pages:
            sx, sy = px + dx * layer, py + dy * layer
            canvas.fill(sx, sy, sx + pw, sy + ph, WHITE)
            canvas.frame(sx, sy, sx + pw, sy + ph, GREY)
    for px, py, _, _ in pages:
        canvas.fill(px, py, px + pw, py + ph, WHITE)
        canvas.frame(px, py, px + pw, py + ph, BLACK)
        full_page(canvas, px + 2, py + 2, px + pw - 2, py + ph - 2)
    if not landscape:
        canvas.vline(x0 + pw - 1, y0, y0 + ph, 2, NAVY)
    else:
        canvas.hline(x0, x0 + pw, y0 + ph - 1, 2, NAVY)
    return canvas


# --- About picture and icon ---------------------------------------------------------------------


def printer(canvas, x, y, scale):
    """A colour printer with a printed sheet coming out, `scale` units a cell (16 x 16 cells),
    its top left corner at (x, y) in units."""
    cell = canvas.thickness(scale)
    left, top = canvas.px(x), canvas.px(y)

    def box(x0, y0, x1, y1, colour):
        canvas.fill_pixels(left + x0 * cell, top + y0 * cell, left + x1 * cell, top + y1 * cell,
                           colour)

    # Sheet coming out of the top, printed with the four toners.
    box(4, 0, 12, 6, WHITE)
    box(5, 1, 7, 2, CYAN)
    box(7, 1, 9, 2, MAGENTA)
    box(9, 1, 11, 2, YELLOW)
    box(5, 3, 11, 4, BLACK)
    # Body, outline, output slot and paper tray.
    box(1, 5, 15, 13, BLACK)
    box(2, 6, 14, 12, SILVER)
    box(2, 6, 14, 7, WHITE)
    box(4, 5, 12, 6, GREY)
    box(10, 8, 13, 9, NAVY)
    box(12, 10, 13, 11, LIME)
    box(3, 13, 13, 15, BLACK)
    box(4, 13, 12, 14, WHITE)


def about_picture(scale):
    canvas = Canvas(*ABOUT_SIZE, SILVER, scale)
    width, height = ABOUT_SIZE
    cell = 4
    logo_w = text_width("VELA", 4)
    total = 16 * cell + 16 + logo_w
    x = (width - total) // 2
    printer(canvas, x, (height - 16 * cell) // 2, cell)
    tx = x + 16 * cell + 16
    canvas.text(tx, 8, "VELA", 4, NAVY)
    canvas.text(tx + logo_w, 42, "40PS", 2, BLACK, anchor="right")
    # Toner colours under the name.
    bar = logo_w // 4
    for i, colour in enumerate((CYAN, MAGENTA, YELLOW, BLACK)):
        canvas.fill(tx + i * bar, 61, tx + (i + 1) * bar, 64, colour)
    return canvas


def icon_image(size):
    """The icon's picture and its transparency mask (True where the background shows)."""
    canvas = Canvas(size, size, BLACK)
    printer(canvas, 0, 0, size // 16)
    # A pixel is background when drawing on another colour leaves it that colour.
    other = Canvas(size, size, WHITE)
    printer(other, 0, 0, size // 16)
    mask = [[canvas.get(x, y) != other.get(x, y) for x in range(size)] for y in range(size)]
    return canvas, mask


# --- File formats -------------------------------------------------------------------------------


def dib_bits(canvas):
    """4-bit pixel rows, bottom-up, each padded to a multiple of four bytes."""
    stride = (canvas.width * 4 + 31) // 32 * 4
    out = bytearray()
    for y in range(canvas.height - 1, -1, -1):
        row = bytearray(stride)
        for x in range(canvas.width):
            value = canvas.get(x, y)
            row[x // 2] |= value << 4 if x % 2 == 0 else value
        out += row
    return bytes(out)


def palette_bytes():
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)


def info_header(width, height, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, image_size, 0, 0, 16, 0)


def bmp_file(canvas):
    bits = dib_bits(canvas)
    offset = 14 + 40 + 64
    header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    return header + info_header(canvas.width, canvas.height, len(bits)) + palette_bytes() + bits


def ico_file(sizes):
    images = []
    for size in sizes:
        canvas, mask = icon_image(size)
        xor = dib_bits(canvas)
        mask_stride = (size + 31) // 32 * 4
        and_bits = bytearray()
        for y in range(size - 1, -1, -1):
            row = bytearray(mask_stride)
            for x in range(size):
                if mask[y][x]:
                    row[x // 8] |= 0x80 >> (x % 8)
            and_bits += row
        # An icon's header gives twice the height: the colour rows and then the mask rows.
        images.append(info_header(size, 2 * size, len(xor) + len(and_bits)) + palette_bytes() +
                      xor + bytes(and_bits))
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for size, image in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    return out + b"".join(images)


# --- Driver -------------------------------------------------------------------------------------

PREVIEW = re.compile(r"PREVIEW_(PORTRAIT|LANDSCAPE)_(SINGLE|LONG|SHORT)_(\d+)$")
BOOKLET = re.compile(r"PREVIEW_BOOKLET_(PORTRAIT|LANDSCAPE)$")


# The screens each bitmap is drawn for besides 96 DPI: (DPI, offset symbol of resource.h).
SCALED = [(120, "BITMAP_ID_OFFSET_120_DPI"), (144, "BITMAP_ID_OFFSET_144_DPI")]


def picture_for(name, scale=1.0):
    """The picture of the bitmap symbol IDB_<name>, `scale` pixels a unit."""
    match = PREVIEW.match(name)
    if match:
        landscape = match.group(1) == "LANDSCAPE"
        pages = int(match.group(3))
        if pages not in PORTRAIT_GRIDS:
            raise ValueError(f"no page grid for {pages} pages (IDB_{name})")
        if match.group(2) == "SINGLE":
            return single_sided(landscape, pages, scale)
        return two_sided(landscape, pages, match.group(2).lower(), scale)
    match = BOOKLET.match(name)
    if match:
        return booklet(match.group(1) == "LANDSCAPE", scale)
    if name == "ABOUT":
        return about_picture(scale)
    raise ValueError(f"no drawing for IDB_{name}")


def bitmap_symbols(resource_h):
    """The IDB_ symbols of resource.h as (name without IDB_, id), and the id offsets by symbol."""
    with open(resource_h, encoding="utf-8") as f:
        text = f.read()
    bitmaps = [(name, int(number)) for name, number in
               re.findall(r"^#define\s+IDB_([A-Z0-9_]+)\s+(\d+)\s*$", text, re.MULTILINE)]
    offsets = {name: int(number) for name, number in
               re.findall(r"^#define\s+(BITMAP_ID_OFFSET_[A-Z0-9_]+)\s+(\d+)\s*$", text,
                          re.MULTILINE)}
    return bitmaps, offsets


def scaled_file_name(name, dpi):
    return f"{name.lower()}_{dpi}dpi.bmp"


def write(path, data):
    with open(path + ".tmp", "wb") as f:
        f.write(data)
    os.replace(path + ".tmp", path)


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    resource_h, out_dir = argv[1], argv[2]
    os.makedirs(out_dir, exist_ok=True)
    bitmaps, offsets = bitmap_symbols(resource_h)
    if not bitmaps:
        sys.stderr.write(f"{resource_h}: no IDB_ symbols\n")
        return 1
    missing = [symbol for _, symbol in SCALED if symbol not in offsets]
    if missing:
        sys.stderr.write(f"{resource_h}: no {', '.join(missing)}\n")
        return 1
    script = ["// Generated by make_bitmaps.py from resource.h; do not edit. The bitmaps drawn for",
              "// larger screens, included by vela40ps.rc.", ""]
    for name, number in bitmaps:
        write(os.path.join(out_dir, name.lower() + ".bmp"), bmp_file(picture_for(name)))
        for dpi, symbol in SCALED:
            file_name = scaled_file_name(name, dpi)
            write(os.path.join(out_dir, file_name), bmp_file(picture_for(name, dpi / 96)))
            script.append(f'{number + offsets[symbol]} BITMAP "{file_name}"')
    write(os.path.join(out_dir, "scaled_bitmaps.rc"), ("\n".join(script) + "\n").encode("ascii"))
    write(os.path.join(out_dir, "vela40ps.ico"), ico_file([16, 32]))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
