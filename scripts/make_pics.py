#!/usr/bin/env python3
"""Draws the pictures of the dialogs' buttons and writes them into data/pics:
for each picture a PNG (16 x 16, with alpha) and its "_Over" (brighter) and
"_Down" (darker, one pixel lower) variants; for the buttons of the value
prompt also a bitmap of two glyphs (normal and disabled, on the bitmaps'
transparent colour, fuchsia). Run it again after changing a drawing; the
files it writes are kept in the source tree."""
import math
import os
import struct
import sys
import zlib

SIZE = 16


def blank():
    return [[(0, 0, 0, 0) for _ in range(SIZE)] for _ in range(SIZE)]


def put(img, x, y, rgb, a=255):
    if 0 <= x < SIZE and 0 <= y < SIZE:
        img[y][x] = (rgb[0], rgb[1], rgb[2], a)


def disc(img, cx, cy, r, rgb, ring=None):
    for y in range(SIZE):
        for x in range(SIZE):
            d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
            if ring is not None:
                if r - ring <= d <= r:
                    put(img, x, y, rgb)
            elif d <= r:
                put(img, x, y, rgb)


def thick_line(img, x0, y0, x1, y1, w, rgb):
    for y in range(SIZE):
        for x in range(SIZE):
            px, py = x + 0.5, y + 0.5
            dx, dy = x1 - x0, y1 - y0
            t = max(0.0, min(1.0, ((px - x0) * dx + (py - y0) * dy) / (dx * dx + dy * dy)))
            if math.hypot(px - (x0 + t * dx), py - (y0 + t * dy)) <= w / 2:
                put(img, x, y, rgb)


def rect(img, x0, y0, x1, y1, rgb):
    for y in range(y0, y1):
        for x in range(x0, x1):
            put(img, x, y, rgb)


GREEN, DARK_GREEN = (46, 160, 67), (24, 105, 40)
RED, DARK_RED = (214, 58, 58), (150, 30, 30)
BLUE, DARK_BLUE = (47, 111, 200), (28, 70, 140)
GREY, DARK = (150, 150, 150), (60, 60, 60)


def conferma():
    img = blank()
    thick_line(img, 2.5, 8.5, 6.5, 12.5, 3, DARK_GREEN)
    thick_line(img, 6.5, 12.5, 13.5, 3.5, 3, DARK_GREEN)
    thick_line(img, 2.5, 8.5, 6.5, 12.5, 1.6, GREEN)
    thick_line(img, 6.5, 12.5, 13.5, 3.5, 1.6, GREEN)
    return img


def cross(colour, dark):
    img = blank()
    for w, c in ((3.2, dark), (1.8, colour)):
        thick_line(img, 3.5, 3.5, 12.5, 12.5, w, c)
        thick_line(img, 12.5, 3.5, 3.5, 12.5, w, c)
    return img


def lente():
    img = blank()
    disc(img, 6.5, 6.5, 5, (210, 230, 250))
    disc(img, 6.5, 6.5, 5, DARK_BLUE, ring=1.5)
    thick_line(img, 10.0, 10.0, 14.5, 14.5, 2.6, DARK)
    return img


def salva():
    img = blank()
    rect(img, 1, 1, 15, 15, DARK_BLUE)
    rect(img, 2, 2, 14, 14, BLUE)
    rect(img, 4, 2, 12, 7, (240, 240, 240))
    rect(img, 9, 3, 11, 6, DARK_BLUE)
    rect(img, 4, 10, 12, 14, (220, 220, 220))
    return img


def aggiungi():
    img = blank()
    rect(img, 6, 1, 10, 15, DARK_GREEN)
    rect(img, 1, 6, 15, 10, DARK_GREEN)
    rect(img, 7, 2, 9, 14, GREEN)
    rect(img, 2, 7, 14, 9, GREEN)
    return img


def arrow(up):
    img = blank()
    for y in range(SIZE):
        for x in range(SIZE):
            yy = y if up else SIZE - 1 - y
            half = yy - 1  # the head widens downwards from its tip
            if 1 <= yy <= 8 and abs(x + 0.5 - 8) <= half:
                put(img, x, y, BLUE if abs(x + 0.5 - 8) < half - 0.5 and yy < 8 else DARK_BLUE)
            elif 8 < yy <= 14 and 6 <= x <= 9:
                put(img, x, y, DARK_BLUE if x in (6, 9) or yy == 14 else BLUE)
    return img


PICTURES = {
    "BtnConferma": conferma,
    "BtnAnnulla": lambda: cross(RED, DARK_RED),
    "BtnElimina": lambda: cross(RED, DARK_RED),
    "BtnLente": lente,
    "BtnSalva": salva,
    "BtnAggiungi": aggiungi,
    "BtnUp": lambda: arrow(True),
    "BtnDown": lambda: arrow(False),
}
PROMPT_BITMAPS = ["BtnConferma", "BtnAnnulla"]


def lighter(img):
    return [[(r + (255 - r) // 3, g + (255 - g) // 3, b + (255 - b) // 3, a) if a else (0, 0, 0, 0)
             for (r, g, b, a) in row] for row in img]


def darker_down(img):
    out = blank()
    for y in range(SIZE - 1):
        for x in range(SIZE):
            r, g, b, a = img[y][x]
            if a:
                out[y + 1][x] = (r * 4 // 5, g * 4 // 5, b * 4 // 5, a)
    return out


def png(img):
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in img)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def bmp_two_glyphs(img):
    """24-bit bitmap, 32 x 16: the glyph, then its disabled look (grey),
    on fuchsia, the bitmaps' transparent colour."""
    width = SIZE * 2
    rows = []
    for y in range(SIZE - 1, -1, -1):
        line = b""
        for glyph in range(2):
            for x in range(SIZE):
                r, g, b, a = img[y][x]
                if a < 128:
                    r, g, b = 255, 0, 255
                elif glyph == 1:
                    v = (r * 30 + g * 59 + b * 11) // 100
                    r = g = b = 128 + v // 3
                line += bytes((b, g, r))
        rows.append(line)
    pixels = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, SIZE, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + pixels


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "data", "pics")
    os.makedirs(out, exist_ok=True)
    for name, draw in PICTURES.items():
        img = draw()
        for suffix, variant in (("", img), ("_Over", lighter(img)), ("_Down", darker_down(img))):
            with open(os.path.join(out, name + suffix + ".png"), "wb") as f:
                f.write(png(variant))
        if name in PROMPT_BITMAPS:
            with open(os.path.join(out, name + ".bmp"), "wb") as f:
                f.write(bmp_two_glyphs(img))


if __name__ == "__main__":
    main()
