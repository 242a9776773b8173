#!/usr/bin/env python3
"""Draws the programs' icons: a handheld with a green arrow (setup) or a red cross
(uninstaller). Writes setup/package/setup.ico and uninstall/uninstall.ico."""
import os
import struct

# The standard 16-colour palette, as index: (r, g, b).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
CLEAR, BLACK, GREY, DARK, SCREEN, GREEN, RED, WHITE = None, 0, 7, 8, 14, 2, 9, 15


def handheld(size, mark):
    """Rows of palette indices (None is transparent), top row first."""
    s = size / 32.0
    px = [[CLEAR] * size for _ in range(size)]

    def rect(x0, y0, x1, y1, colour):
        for y in range(int(y0 * s), int(y1 * s)):
            for x in range(int(x0 * s), int(x1 * s)):
                px[y][x] = colour

    rect(6, 1, 26, 31, BLACK)          # outline
    rect(7, 2, 25, 30, DARK)           # body
    rect(9, 4, 23, 21, BLACK)          # screen frame
    rect(10, 5, 22, 20, SCREEN)        # screen
    rect(10, 23, 14, 27, GREY)         # buttons
    rect(18, 23, 22, 27, GREY)
    rect(14, 24, 18, 28, BLACK)        # navigation pad
    if mark == "arrow":
        rect(15, 6, 17, 14, GREEN)
        for i, y in enumerate(range(13, 19)):
            rect(10 + i, y, 22 - i, y + 1, GREEN)
    else:
        for i in range(11):
            rect(11 + i, 7 + i, 13 + i, 8 + i, RED)
            rect(20 - i, 7 + i, 22 - i, 8 + i, RED)
    return px


def image(px, bpp):
    size = len(px)
    colours = 1 << bpp
    palette = PALETTE if bpp == 4 else [(0, 0, 0), (255, 255, 255)]
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bpp, 0, 0, 0, 0, colours, 0)
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    stride = ((size * bpp + 31) // 32) * 4
    mask_stride = ((size + 31) // 32) * 4
    xor, andm = b"", b""
    for row in reversed(px):
        bits, mbits = 0, 0
        line, mline = bytearray(stride), bytearray(mask_stride)
        for x, c in enumerate(row):
            if c is None:
                mline[x // 8] |= 0x80 >> (x % 8)
                c = 0
            if bpp == 4:
                line[x // 2] |= c << (4 if x % 2 == 0 else 0)
            elif c not in (BLACK, DARK, GREEN, RED, 4, 1):   # light colours become white
                line[x // 8] |= 0x80 >> (x % 8)
        xor += bytes(line)
        andm += bytes(mline)
    return header + pal + xor + andm, size, colours


def write_ico(path, images):
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for data, size, colours in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, colours % 256, 0, 1,
                           4 if colours == 16 else 1, len(data), offset + len(body))
        body += data
    with open(path, "wb") as f:
        f.write(out + body)


def main():
    top = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    setup = handheld(32, "arrow")
    write_ico(os.path.join(top, "setup", "package", "setup.ico"), [image(setup, 4), image(setup, 1)])
    write_ico(os.path.join(top, "uninstall", "uninstall.ico"),
              [image(handheld(32, "cross"), 4), image(handheld(16, "cross"), 4)])


if __name__ == "__main__":
    main()
