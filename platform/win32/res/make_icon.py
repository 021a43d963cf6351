#!/usr/bin/env python3
"""Draws the program's icon, a launcher bar docked at the top of a screen
with three buttons on it, and writes it as a Windows icon file with the
sizes the shell asks for: 16, 20, 24, 32, 40, 48 and 64 pixels as 32-bit
bitmaps with alpha, and 256 pixels as PNG.

Each size is drawn on its own, edges snapped to whole pixels at the small
sizes, so that 16 and 24 pixels stay sharp instead of being shrunk.

    python3 make_icon.py [OUTPUT.ico] [--png-dir DIR]

Only the standard library (struct, zlib) is used.
"""
import os
import struct
import sys
import zlib

SIZES = [16, 20, 24, 32, 40, 48, 64, 256]


def rgb(hex_colour):
    return tuple(int(hex_colour[i:i + 2], 16) for i in (1, 3, 5))


def lerp(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


class Canvas:
    """Premultiplied-free RGBA canvas with shapes covered by supersampling."""

    def __init__(self, size):
        self.size = size
        self.px = [[(0, 0, 0, 0.0) for _ in range(size)] for _ in range(size)]

    def blend(self, x, y, colour, alpha):
        if alpha <= 0:
            return
        r, g, b, a = self.px[y][x]
        out_a = alpha + a * (1 - alpha)
        if out_a <= 0:
            return
        mix = [(colour[i] * alpha + (r, g, b)[i] * a * (1 - alpha)) / out_a for i in range(3)]
        self.px[y][x] = (mix[0], mix[1], mix[2], out_a)

    def round_rect(self, x0, y0, x1, y1, radius, fill, fill_bottom=None, samples=4):
        """Fills a rounded rectangle given in pixels; a second colour makes
        a vertical gradient from top to bottom."""
        n = self.size
        step = 1.0 / samples
        for y in range(max(0, int(y0)), min(n, int(y1) + 1)):
            t = 0.0 if fill_bottom is None else min(1.0, max(0.0, (y + 0.5 - y0) / max(1e-6, y1 - y0)))
            colour = fill if fill_bottom is None else lerp(fill, fill_bottom, t)
            for x in range(max(0, int(x0)), min(n, int(x1) + 1)):
                hits = 0
                for sy in range(samples):
                    py = y + (sy + 0.5) * step
                    for sx in range(samples):
                        px = x + (sx + 0.5) * step
                        if inside_round_rect(px, py, x0, y0, x1, y1, radius):
                            hits += 1
                self.blend(x, y, colour, hits / (samples * samples))


def inside_round_rect(px, py, x0, y0, x1, y1, r):
    if px < x0 or px > x1 or py < y0 or py > y1:
        return False
    cx = min(max(px, x0 + r), x1 - r)
    cy = min(max(py, y0 + r), y1 - r)
    return (px - cx) ** 2 + (py - cy) ** 2 <= r * r


def draw(size):
    c = Canvas(size)
    snap = size <= 64

    def at(v):
        p = v * size
        return float(round(p)) if snap else p

    outline = rgb("#2B3A4E")
    screen_top, screen_bottom = rgb("#F4F7FB"), rgb("#D5DEE9")
    bar_top, bar_bottom = rgb("#2F7BE0"), rgb("#17418F")
    buttons = [rgb("#FFB02E"), rgb("#45C56A"), rgb("#FFFFFF")]
    # The screen: an outlined rounded panel.
    border = max(1.0, size / 32.0) if snap else size / 32.0
    left, top, right, bottom = at(0.03), at(0.09), at(0.97), at(0.91)
    radius = max(1.0, size * 0.08)
    c.round_rect(left, top, right, bottom, radius, outline)
    c.round_rect(left + border, top + border, right - border, bottom - border, max(0.5, radius - border), screen_top,
                 screen_bottom)
    # The bar, docked along the screen's top edge.
    bar_bottom_y = at(0.47)
    c.round_rect(left + border, top + border, right - border, bar_bottom_y, max(0.5, radius - border), bar_top,
                 bar_bottom)
    c.round_rect(left + border, top + border + radius, right - border, bar_bottom_y, 0, bar_top, bar_bottom)
    # Three buttons on the bar.
    inner_left, inner_right = left + border, right - border
    gap = max(1.0, round(size * 0.06)) if snap else size * 0.06
    span = inner_right - inner_left - 4 * gap
    width = span / 3
    start = inner_left + gap
    if snap:
        # Whole pixels for buttons and gaps; what is left over goes to the
        # two ends alike, so the three buttons sit evenly.
        width = float(int(width))
        leftover = inner_right - inner_left - 3 * width - 4 * gap
        start = inner_left + gap + float(int(leftover // 2))
    b_top = top + border + gap
    b_bottom = bar_bottom_y - gap
    if snap:
        b_top, b_bottom = float(round(b_top)), float(round(b_bottom))
    for i, colour in enumerate(buttons):
        x0 = start + i * (width + gap)
        c.round_rect(x0, b_top, x0 + width, b_bottom, max(0.0, size * 0.03), colour)
    # Below the bar, the desktop's windows as faint lines (where there is room).
    if size >= 32:
        line = rgb("#9AA9BC")
        h = max(1.0, size / 24.0)
        for k, frac in enumerate((0.60, 0.70, 0.80)):
            y = at(frac)
            c.round_rect(inner_left + gap, y, inner_right - gap - (k * size * 0.15), y + h, h / 2, line)
    return c


def rgba_rows(c):
    rows = []
    for y in range(c.size):
        row = []
        for x in range(c.size):
            r, g, b, a = c.px[y][x]
            row.append((int(round(r)), int(round(g)), int(round(b)), int(round(a * 255))))
        rows.append(row)
    return rows


def png_bytes(rows):
    size = len(rows)
    raw = b"".join(b"\x00" + bytes(v for p in row for v in p) for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def bmp_bytes(rows):
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + pixels + bytes(mask)


def main(argv):
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "tovira.ico")
    png_dir = None
    args = list(argv)
    while args:
        a = args.pop(0)
        if a == "--png-dir":
            png_dir = args.pop(0)
        else:
            out = a
    images = []
    for size in SIZES:
        rows = rgba_rows(draw(size))
        if png_dir:
            os.makedirs(png_dir, exist_ok=True)
            with open(os.path.join(png_dir, "tovira-%d.png" % size), "wb") as f:
                f.write(png_bytes(rows))
        images.append((size, png_bytes(rows) if size >= 256 else bmp_bytes(rows)))
    offset = 6 + 16 * len(images)
    directory = b""
    for size, data in images:
        dim = 0 if size >= 256 else size
        directory += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(out, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(images)) + directory + b"".join(d for _, d in images))


if __name__ == "__main__":
    main(sys.argv[1:])
