#!/usr/bin/env python3
"""Draws the program's icons (a clipboard, and the tool button's wrench and pen) as .ico files.

Run once when the pictures change; the .ico files are checked in beside the resource script.
"""
import struct
import sys
import zlib
from pathlib import Path


def png(size, pixels):
    """A 32-bit RGBA PNG of the rows; icons of 256 pixels are stored this way (a bitmap would be
    a quarter of a megabyte in the executable)."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    raw = b"".join(b"\0" + bytes(c for px in row for c in px) for row in pixels)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def bitmap(size, pixels):
    xor = b"".join(
        struct.pack("BBBB", b, g, r, a) for row in reversed(pixels) for (r, g, b, a) in row
    )
    mask_row = ((size + 31) // 32) * 4
    and_mask = bytes(mask_row * size)
    bih = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    return bih + xor + and_mask


def ico(images):
    """images: list of (size, rows of (r, g, b, a)) -> bytes of a .ico file with 32-bit images."""
    header = struct.pack("<HHH", 0, 1, len(images))
    entries = b""
    blobs = b""
    offset = 6 + 16 * len(images)
    for size, pixels in images:
        blob = png(size, pixels) if size >= 256 else bitmap(size, pixels)
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
        blobs += blob
    return header + entries + blobs


def canvas(size):
    return [[(0, 0, 0, 0) for _ in range(size)] for _ in range(size)]


def rect(px, x0, y0, x1, y1, colour):
    for y in range(y0, y1):
        for x in range(x0, x1):
            px[y][x] = colour


def clipboard(size):
    s = size / 32.0
    px = canvas(size)
    def r(x0, y0, x1, y1, c):
        rect(px, int(x0 * s), int(y0 * s), max(int(x1 * s), int(x0 * s) + 1), max(int(y1 * s), int(y0 * s) + 1), c)
    brown, dark, paper, ink, clip = (176, 120, 64, 255), (110, 70, 30, 255), (250, 250, 245, 255), (60, 90, 170, 255), (150, 150, 160, 255)
    r(4, 3, 28, 31, dark)
    r(5, 4, 27, 30, brown)
    r(8, 7, 24, 28, paper)
    for y in (11, 15, 19, 23):
        r(10, y, 22, y + 2, ink)
    r(11, 1, 21, 6, dark)
    r(12, 2, 20, 5, clip)
    return px


def tools(size):
    px = canvas(size)
    grey, dark, red, yellow = (120, 120, 130, 255), (50, 50, 60, 255), (200, 40, 40, 255), (240, 200, 40, 255)
    for i in range(2, 14):  # wrench handle, top-left to bottom-right
        rect(px, i, i, i + 2, i + 2, grey)
    rect(px, 1, 1, 5, 3, dark)
    rect(px, 1, 1, 3, 5, dark)
    for i in range(3, 13):  # pen, bottom-left to top-right
        rect(px, i, 15 - i, i + 2, 17 - i, yellow if i > 4 else red)
    rect(px, 12, 1, 15, 4, dark)
    return px


def main(out_dir):
    out = Path(out_dir)
    # The sizes Windows asks for: small icons at 100-150 % (16, 20, 24), large ones (32, 48) and
    # the 256-pixel picture that Explorer scales for its bigger views.
    sizes = (16, 20, 24, 32, 48, 256)
    (out / "pellix.ico").write_bytes(ico([(size, clipboard(size)) for size in sizes]))
    (out / "tools.ico").write_bytes(ico([(16, tools(16))]))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "src/win32/shell/res")
