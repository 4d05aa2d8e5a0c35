#!/usr/bin/env python3
"""Draws the program's small pictures as 24-bit BMP files (run once; the outputs are kept)."""
import os
import struct

OUT = os.path.join(os.path.dirname(__file__), "bitmaps")
GREY = (243, 243, 243)
BLUE = (53, 95, 132)


def write_bmp(name, w, h, pixel):
    row = (w * 3 + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):
        line = bytearray()
        for x in range(w):
            r, g, b = pixel(x, y)
            line += bytes((b, g, r))
        line += b"\0" * (row - w * 3)
        data += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(os.path.join(OUT, name + ".bmp"), "wb") as f:
        f.write(header + info + data)


def handle(pointing_left):
    def px(x, y):
        if x == 0 or x == 7:
            return (200, 200, 200)
        mid = 50
        d = abs(y - mid)
        tip = (6 - d) if d < 6 else -1
        if tip >= 0 and (x >= 7 - tip if pointing_left else x <= tip):
            return BLUE
        return (225, 225, 225)
    return px


def option_icon(color, on):
    def px(x, y):
        cx, cy = 16, 16
        d2 = (x - cx) ** 2 + (y - cy) ** 2
        if d2 <= 14 ** 2:
            if not on:
                return (190, 190, 190) if d2 > 12 ** 2 else (222, 222, 222)
            if d2 > 12 ** 2:
                return tuple(max(0, c - 60) for c in color)
            # a check mark
            if (y == 20 - abs(x - 12) and 8 <= x <= 12) or (y == 24 - (x - 8) and 12 <= x <= 24):
                return (255, 255, 255)
            return color
        return GREY
    return px


def flag_de(x, y):
    return [(0, 0, 0), (221, 0, 0), (255, 206, 0)][min(2, y * 3 // 11)]


def flag_en(x, y):
    if abs(y - 5) <= 1 or abs(x - 8) <= 1:
        return (200, 16, 46)
    if abs(y - 5) <= 2 or abs(x - 8) <= 2:
        return (255, 255, 255)
    return (1, 33, 105)


def logo(x, y):
    # a quill over an envelope
    if 6 <= y <= 32 and 3 <= x <= 37:
        if y in (6, 32) or x in (3, 37) or abs((y - 6) - (x - 3) * 13 // 17) <= 0 and x <= 20 \
                or abs((y - 6) - (37 - x) * 13 // 17) <= 0 and x >= 20:
            return BLUE
        return (255, 255, 255)
    return GREY


def donate(x, y):
    cx, cy = 6, 8
    return (230, 170, 20) if (x - cx) ** 2 + (y - cy) ** 2 <= 36 else GREY


os.makedirs(OUT, exist_ok=True)
write_bmp("m_open", 8, 100, handle(False))
write_bmp("m_close", 8, 100, handle(True))
for name, color in (("prog", (70, 130, 180)), ("mail", (60, 150, 90)), ("var", (180, 120, 50))):
    write_bmp(name + "_on", 33, 33, option_icon(color, True))
    write_bmp(name + "_off", 33, 33, option_icon(color, False))
write_bmp("flag_de", 16, 11, flag_de)
write_bmp("flag_en", 16, 11, flag_en)
write_bmp("logo", 41, 39, logo)
write_bmp("donate", 13, 16, donate)


def write_ico(name, size, pixel):
    rows = bytearray()
    for y in range(size - 1, -1, -1):
        for x in range(size):
            r, g, b = pixel(x, y)
            rows += bytes((b, g, r, 255))
    mask = b"\0" * (((size + 31) // 32) * 4 * size)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(rows) + len(mask), 0, 0, 0, 0)
    image = info + rows + mask
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), 6 + 16)
    with open(os.path.join(OUT, name + ".ico"), "wb") as f:
        f.write(header + entry + image)


def icon(x, y):
    return logo(x * 41 // 32, y * 39 // 32) if logo(x * 41 // 32, y * 39 // 32) != GREY else BLUE


write_ico("quillane", 32, icon)
