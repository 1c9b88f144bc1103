#!/usr/bin/env python3
"""Draws the skin's device icons, power images and device pictures as PNG files (standard
library only). Run from the repository root: python3 tools/draw_skin_images.py"""
import os
import struct
import zlib

SKIN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "skin")


def write_png(path, w, h, pixel):
    rows = bytearray()
    for y in range(h):
        rows.append(0)
        for x in range(w):
            rows.extend(pixel(x, y))
    def chunk(tag, data):
        c = struct.pack(">I", len(data)) + tag + data
        return c + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b"")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(png)


def inside_round_rect(x, y, l, t, r, b, rad):
    if x < l or x >= r or y < t or y >= b:
        return False
    cx = min(max(x, l + rad), r - 1 - rad)
    cy = min(max(y, t + rad), b - 1 - rad)
    return (x - cx) ** 2 + (y - cy) ** 2 <= rad * rad


# Each device set: a glyph drawn as a few rectangles/ellipses on a 64x40 icon.
def glyph(kind, x, y):
    if kind == "ms":    # mouse body
        return ((x - 32) / 10) ** 2 + ((y - 20) / 15) ** 2 <= 1
    if kind == "kb":    # keyboard with key rows
        return 14 <= x < 50 and 12 <= y < 28 and not (y in (17, 22) or x % 6 == 0)
    if kind in ("hard_mp", "soft_mp"):  # a flat pad
        return 12 <= x < 52 and 14 <= y < 26
    if kind == "hd":    # headset arc and cups
        r = ((x - 32) ** 2 + (y - 24) ** 2) ** 0.5
        return (11 <= r <= 14 and y <= 24) or (18 <= x < 23 and 22 <= y < 32) or (41 <= x < 46 and 22 <= y < 32)
    if kind == "hub":
        return (14 <= x < 50 and 18 <= y < 22) or (20 <= x < 24 and 10 <= y < 30) or (40 <= x < 44 and 10 <= y < 30)
    return 26 <= x < 38 and 10 <= y < 30 and not (28 <= x < 36 and 14 <= y < 26)  # unknown: a box


def device_icon(kind, selected, synchro):
    fg = (0x3D, 0x7B, 0xD9, 255) if selected else (0xB0, 0xB4, 0xBA, 255)
    bg = (0x2A, 0x2E, 0x36, 255) if selected else (0, 0, 0, 0)
    def px(x, y):
        if synchro and (x - 56) ** 2 + (y - 8) ** 2 <= 16:
            return (0x2E, 0x8B, 0x57, 255)
        if glyph(kind, x, y):
            return fg
        return bg if inside_round_rect(x, y, 0, 0, 64, 40, 6) else (0, 0, 0, 0)
    return px


for kind in ("kb", "ms", "hard_mp", "soft_mp", "hd", "hub", "unknow"):
    for ending, sel, syn in (("normal", False, False), ("selected", True, False),
                             ("synchro_normal", False, True), ("synchro_selected", True, True)):
        write_png(os.path.join(SKIN, "common", "device_ico", f"{kind}_device_{ending}.png"), 64, 40,
                  device_icon(kind, sel, syn))


def battery(fill, bolt):
    def px(x, y):
        if 2 <= x < 28 and 3 <= y < 17 and not (4 <= x < 26 and 5 <= y < 15):
            return (0xE8, 0xEA, 0xED, 255)
        if 28 <= x < 31 and 7 <= y < 13:
            return (0xE8, 0xEA, 0xED, 255)
        if 5 <= x < 5 + int(20 * fill) and 6 <= y < 14:
            return (0x2E, 0x8B, 0x57, 255)
        if bolt and abs((x - 15) - (10 - y) * 0.5) < 1.5 and 4 <= y < 16:
            return (0xF2, 0xC1, 0x4E, 255)
        return (0, 0, 0, 0)
    return px


write_png(os.path.join(SKIN, "power", "powered.png"), 32, 20, battery(1.0, False))
write_png(os.path.join(SKIN, "power", "powering.png"), 32, 20, battery(0.6, True))
write_png(os.path.join(SKIN, "power", "power.png"), 32, 20, battery(0.6, False))


def phone(color, empty=False):
    def px(x, y):
        if inside_round_rect(x, y, 5, 1, 15, 19, 2):
            if empty and 7 <= x < 13 and 3 <= y < 17:
                return (0, 0, 0, 0)
            return color
        return (0, 0, 0, 0)
    return px


for name, col, empty in (("iphone", (0xE8, 0xEA, 0xED, 255), False),
                         ("samsung", (0x3D, 0x7B, 0xD9, 255), False),
                         ("other", (0xB0, 0xB4, 0xBA, 255), False),
                         ("no_device", (0x70, 0x74, 0x7A, 255), True)):
    write_png(os.path.join(SKIN, "power", f"Phone_type_{name}.png"), 20, 20, phone(col, empty))


def wireless(x, y):
    r = ((x - 10) ** 2 + (y - 16) ** 2) ** 0.5
    if y <= 16 and abs(x - 10) <= (16 - y) + 1 and any(abs(r - k) < 1.2 for k in (3, 7, 11)):
        return (0xE8, 0xEA, 0xED, 255)
    return (0, 0, 0, 0)


write_png(os.path.join(SKIN, "power", "wireless.png"), 20, 20, wireless)


def picture(shape, w, h):
    def px(x, y):
        return (0x3A, 0x3E, 0x46, 255) if shape(x, y) else (0, 0, 0, 0)
    return px


write_png(os.path.join(SKIN, "common", "device_pic", "mouse.png"), 420, 420,
          picture(lambda x, y: ((x - 210) / 130) ** 2 + ((y - 200) / 190) ** 2 <= 1, 420, 420))
write_png(os.path.join(SKIN, "common", "device_pic", "keyboard.png"), 420, 150,
          picture(lambda x, y: inside_round_rect(x, y, 0, 4, 420, 146, 8), 420, 150))
write_png(os.path.join(SKIN, "common", "device_pic", "mousepad.png"), 420, 60,
          picture(lambda x, y: inside_round_rect(x, y, 0, 8, 420, 52, 10), 420, 60))
write_png(os.path.join(SKIN, "common", "device_pic", "headset.png"), 420, 160,
          picture(lambda x, y: 90 <= ((x - 210) ** 2 + (y - 150) ** 2) ** 0.5 <= 110 or
                  (80 <= x < 130 and 100 <= y < 160) or (290 <= x < 340 and 100 <= y < 160), 420, 160))
