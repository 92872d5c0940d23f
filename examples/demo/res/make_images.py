#!/usr/bin/env python3
"""Draws the demo's bitmap (a ruler) and icon (two arrows, "convert") as 4-bit
Windows images: demo.bmp (16x16) and demo.ico (16x16 and 32x32).

Run it in this folder to recreate both files; the output is byte-for-byte stable."""
import os
import struct

# The 16 colours of the classic Windows palette, as (blue, green, red, 0).
PALETTE = [
    (0, 0, 0), (0, 0, 128), (0, 128, 0), (0, 128, 128), (128, 0, 0), (128, 0, 128),
    (128, 128, 0), (192, 192, 192), (128, 128, 128), (0, 0, 255), (0, 255, 0),
    (0, 255, 255), (255, 0, 0), (255, 0, 255), (255, 255, 0), (255, 255, 255),
]
BLACK, NAVY, GREY, BLUE, YELLOW, WHITE = 0, 4, 8, 12, 11, 15


def palette_bytes():
    return b''.join(struct.pack('<BBBB', b, g, r, 0) for b, g, r in PALETTE)


def info_header(width, height, image_bytes):
    # BITMAPINFOHEADER: 4 bits per pixel, uncompressed, 16 palette entries.
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, image_bytes, 0, 0, 16, 0)


def pack_rows(pixels):
    """4-bit rows, bottom row first, each padded to a multiple of 4 bytes."""
    out = b''
    for row in reversed(pixels):
        data = bytes((row[i] << 4) | row[i + 1] for i in range(0, len(row), 2))
        out += data + b'\0' * (-len(data) % 4)
    return out


def pack_mask(mask):
    """1-bit AND mask, bottom row first, 1 = transparent."""
    out = b''
    for row in reversed(mask):
        bits = 0
        for bit in row:
            bits = (bits << 1) | bit
        data = bits.to_bytes(len(row) // 8, 'big')
        out += data + b'\0' * (-len(data) % 4)
    return out


def ruler(size=16):
    """A yellow ruler lying across the picture, with black ticks."""
    px = [[WHITE] * size for _ in range(size)]
    for y in range(5, 11):
        for x in range(size):
            px[y][x] = YELLOW
    for x in range(size):
        px[5][x] = px[10][x] = BLACK
    for x in range(1, size, 3):
        length = 3 if x % 6 == 1 else 2
        for y in range(6, 6 + length):
            px[y][x] = BLACK
    return px


def arrows(size):
    """Two white arrows pointing in opposite directions on a blue square."""
    s = size // 16
    px = [[BLUE] * size for _ in range(size)]
    mask = [[0] * size for _ in range(size)]
    for i in range(size):  # navy frame
        px[0][i] = px[size - 1][i] = px[i][0] = px[i][size - 1] = NAVY

    def arrow(row, left_to_right):
        y0 = row * s
        for x in range(3 * s, 13 * s):
            for y in range(y0, y0 + s):
                px[y][x] = WHITE
        # The head widens by one pixel per column, going back from the tip.
        for k in range(3 * s):
            x = 13 * s - 1 - k if left_to_right else 3 * s + k
            for y in range(y0 - k, y0 + s + k):
                if 0 < y < size - 1:
                    px[y][x] = WHITE

    arrow(5, True)
    arrow(10, False)
    for x in range(size):  # grey shadow along the bottom edge, fully opaque
        px[size - 1][x] = GREY
    return px, mask


def bitmap_file(px):
    size = len(px)
    image = pack_rows(px)
    info = info_header(size, size, len(image))
    pal = palette_bytes()
    offset = 14 + len(info) + len(pal)
    header = b'BM' + struct.pack('<IHHI', offset + len(image), 0, 0, offset)
    return header + info + pal + image


def icon_file(images):
    entries, blobs = b'', b''
    offset = 6 + 16 * len(images)
    for px, mask in images:
        size = len(px)
        xor, andm = pack_rows(px), pack_mask(mask)
        # In an icon the height covers the colour image and the mask together.
        blob = info_header(size, 2 * size, len(xor) + len(andm)) + palette_bytes() + xor + andm
        entries += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(blob), offset)
        blobs += blob
        offset += len(blob)
    return struct.pack('<HHH', 0, 1, len(images)) + entries + blobs


if __name__ == '__main__':
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, 'demo.bmp'), 'wb') as f:
        f.write(bitmap_file(ruler()))
    with open(os.path.join(here, 'demo.ico'), 'wb') as f:
        f.write(icon_file([arrows(16), arrows(32)]))
