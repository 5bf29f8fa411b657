#!/usr/bin/env python3
"""Draws the application icon (a handheld radio) as a PNG, with nothing but the standard library."""
import struct
import sys
import zlib

SIZE = 128


def inside_rounded(x, y, left, top, right, bottom, radius):
    if x < left or x > right or y < top or y > bottom:
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def pixel(x, y):
    body = (38, 70, 110, 255)
    screen = (150, 220, 170, 255)
    keys = (225, 230, 240, 255)
    antenna = (30, 30, 36, 255)
    if inside_rounded(x, y, 70, 4, 80, 40, 5):
        return antenna
    if inside_rounded(x, y, 32, 30, 96, 124, 12):
        if inside_rounded(x, y, 42, 44, 86, 70, 4):
            return screen
        for row in range(3):
            for col in range(3):
                if inside_rounded(x, y, 44 + col * 14, 80 + row * 13, 54 + col * 14, 88 + row * 13, 2):
                    return keys
        return body
    return (0, 0, 0, 0)


def png(width, height, rgba):
    raw = b"".join(b"\x00" + bytes(v for px in rgba[y * width:(y + 1) * width] for v in px)
                   for y in range(height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


if __name__ == "__main__":
    pixels = [pixel(x, y) for y in range(SIZE) for x in range(SIZE)]
    with open(sys.argv[1] if len(sys.argv) > 1 else "icon.png", "wb") as out:
        out.write(png(SIZE, SIZE, pixels))
