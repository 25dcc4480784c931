#!/usr/bin/env python3
"""Saves what an X screen shows as a PNG (python3-xlib and zlib: nothing else to install).

    xshot.py OUT.png [--crop LEFT,TOP,RIGHT,BOTTOM] [--wait-class pellix.exe] [--timeout 30]

--wait-class waits (bounded) until a window of that WM_CLASS is mapped. The picture is then
taken once the screen has stopped changing (two grabs a moment apart are the same), so a window
that is still painting is not caught half drawn. Exit code 0 when the shot was saved; 2 when the
awaited window did not appear (the shot is saved all the same).
"""

from __future__ import annotations

import argparse
import struct
import sys
import time
import zlib
from pathlib import Path

from Xlib import X, display, error


def png(width: int, height: int, rgb_rows: list[bytes]) -> bytes:
    def chunk(kind: bytes, data: bytes) -> bytes:
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    raw = b"".join(b"\0" + row for row in rgb_rows)
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def grab(root, box: tuple[int, int, int, int]) -> list[bytes]:
    """The box's pixels as rows of RGB bytes (the server's 32-bit ZPixmap is B, G, R, pad)."""
    left, top, right, bottom = box
    width = right - left
    image = root.get_image(left, top, width, bottom - top, X.ZPixmap, 0xFFFFFFFF)
    data = image.data if isinstance(image.data, bytes) else image.data.encode("latin-1")
    stride = len(data) // (bottom - top)
    rows = []
    for y in range(bottom - top):
        line = data[y * stride:y * stride + width * 4]
        rgb = bytearray(width * 3)
        rgb[0::3] = line[2::4]
        rgb[1::3] = line[1::4]
        rgb[2::3] = line[0::4]
        rows.append(bytes(rgb))
    return rows


def mapped_window_of_class(root, wanted: str) -> bool:
    for window in root.query_tree().children:
        try:
            if window.get_attributes().map_state != X.IsViewable:
                continue
            names = window.get_wm_class() or ()
        except error.XError:
            continue  # gone while we looked
        if any(name.lower() == wanted.lower() for name in names):
            return True
    return False


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("out", type=Path)
    parser.add_argument("--crop", help="LEFT,TOP,RIGHT,BOTTOM in screen pixels")
    parser.add_argument("--wait-class", help="wait for a mapped window with this WM_CLASS")
    parser.add_argument("--timeout", type=float, default=30.0)
    args = parser.parse_args()

    screen = display.Display()
    root = screen.screen().root
    geometry = root.get_geometry()
    box = (0, 0, geometry.width, geometry.height)
    if args.crop:
        left, top, right, bottom = (int(v) for v in args.crop.split(","))
        box = (max(left, 0), max(top, 0), min(right, geometry.width), min(bottom, geometry.height))

    deadline = time.monotonic() + args.timeout
    found = True
    if args.wait_class:
        found = False
        while time.monotonic() < deadline:
            if mapped_window_of_class(root, args.wait_class):
                found = True
                break
            time.sleep(0.1)

    rows = grab(root, box)
    settle_deadline = min(deadline, time.monotonic() + 10.0) if found else time.monotonic()
    while time.monotonic() < settle_deadline:
        time.sleep(0.3)
        again = grab(root, box)
        if again == rows:
            break
        rows = again

    args.out.parent.mkdir(parents=True, exist_ok=True)
    args.out.write_bytes(png(box[2] - box[0], box[3] - box[1], rows))
    return 0 if found else 2


if __name__ == "__main__":
    try:
        sys.exit(main())
    except KeyboardInterrupt:
        sys.exit(130)  # the terminal's Ctrl+C: the script that called us says what happens next
