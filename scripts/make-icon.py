#!/usr/bin/env python3
"""Draws the program's icon (a small server rack with a network dot) into app/IPList.ico.

Run it again only to change the picture; the icon file is committed."""
import struct
import sys

SIZE = 32


def pixel(x, y):
    # A grey rack of three units, each with a green light, on a clear ground.
    if 5 <= x <= 26 and 3 <= y <= 28:
        if x in (5, 26) or y in (3, 28) or y in (11, 19):
            return (60, 60, 70, 255)
        unit = (y - 4) % 8
        if 22 <= x <= 24 and 2 <= unit <= 4:
            return (40, 200, 60, 255)
        if 8 <= x <= 18 and unit in (3,):
            return (90, 90, 100, 255)
        return (170, 175, 185, 255)
    return (0, 0, 0, 0)


def icon_bytes():
    rows = []
    for y in reversed(range(SIZE)):  # bottom-up rows
        for x in range(SIZE):
            r, g, b, a = pixel(x, y)
            rows.append(struct.pack("<BBBB", b, g, r, a))
    xor = b"".join(rows)
    and_mask = b"\x00" * (SIZE * SIZE // 8)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    image = header + xor + and_mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 22)
    return directory + image


if __name__ == "__main__":
    target = sys.argv[1] if len(sys.argv) > 1 else "app/IPList.ico"
    with open(target, "wb") as out:
        out.write(icon_bytes())
