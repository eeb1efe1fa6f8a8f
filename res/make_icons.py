#!/usr/bin/env python3
"""Draws the program's icons: startlagaren.ico (32x32 and 16x16, 16 colours) and
startlagaren_mono.ico (32x32, black and white). Run it again after changing the picture."""
import struct

# The 16-colour VGA palette, as the system's 4-bit icons use it.
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
           (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
           (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, DARK_GREEN, NAVY, SILVER, GREY, GREEN, WHITE, CLEAR = 0, 2, 4, 7, 8, 10, 15, None


def picture(size):
    """A window with a blue title bar and a green tick over it: a start-up put right."""
    s = size / 32.0
    px = [[CLEAR] * size for _ in range(size)]

    def box(x0, y0, x1, y1, colour):
        for y in range(int(y0 * s), int(y1 * s)):
            for x in range(int(x0 * s), int(x1 * s)):
                px[y][x] = colour

    def pixels(x0, y0, x1, y1, colour):
        for y in range(y0, y1):
            for x in range(x0, x1):
                px[y][x] = colour

    # Frame, body and title bar in whole pixels, so the 16x16 picture keeps a 1-pixel frame.
    left, top, right, bottom = int(2 * s), int(4 * s), int(28 * s), int(27 * s)
    bar = max(2, int(5 * s))
    pixels(left, top, right, bottom, BLACK)
    pixels(left + 1, top + 1, right - 1, bottom - 1, WHITE)
    pixels(left + 1, top + 1, right - 1, top + 1 + bar, NAVY)
    if size >= 32:
        box(22, 6, 26, 9, SILVER)   # close box
    for row in (13, 17, 21):        # lines of text
        box(5, row, 18, row + 2 if size == 32 else row + 1, GREY)

    def tick_at(cx, cy, colour, half):
        for y in range(int((cy - half) * s), int((cy + half) * s) + 1):
            for x in range(int((cx - half) * s), int((cx + half) * s) + 1):
                if 0 <= x < size and 0 <= y < size:
                    px[y][x] = colour

    # The tick: down from (14, 19) to (19, 25), then up to (30, 10).
    points = [(14 + t * 5 / 20, 19 + t * 6 / 20) for t in range(21)] + \
             [(19 + t * 11 / 40, 25 - t * 15 / 40) for t in range(41)]
    for x, y in points:
        tick_at(x, y, DARK_GREEN, 2.2)
    for x, y in points:
        tick_at(x, y, GREEN, 1.0)
    return px


def and_mask(px, size):
    row_bytes = ((size + 31) // 32) * 4
    data = b''
    for y in reversed(range(size)):
        row = bytearray(row_bytes)
        for x in range(size):
            if px[y][x] is CLEAR:
                row[x // 8] |= 0x80 >> (x % 8)
        data += bytes(row)
    return data


def image_4bit(size):
    px = picture(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    xor = b''
    for y in reversed(range(size)):
        row = bytearray(((size * 4 + 31) // 32) * 4)
        for x in range(size):
            colour = px[y][x] if px[y][x] is not CLEAR else BLACK
            row[x // 2] |= colour << (4 if x % 2 == 0 else 0)
        xor += bytes(row)
    return header + palette + xor + and_mask(px, size), 16, 4


def image_mono(size):
    px = picture(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack('<BBBBBBBB', 0, 0, 0, 0, 255, 255, 255, 0)
    xor = b''
    for y in reversed(range(size)):
        row = bytearray(((size + 31) // 32) * 4)
        for x in range(size):
            c = px[y][x]
            if c is not CLEAR and c in (WHITE, SILVER, GREEN):
                row[x // 8] |= 0x80 >> (x % 8)
        xor += bytes(row)
    return header + palette + xor + and_mask(px, size), 2, 1


def write_icon(path, images):
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b''
    for size, (data, colours, bits) in images:
        out += struct.pack('<BBBBHHII', size, size, colours if colours < 256 else 0, 0, 1, bits, len(data), offset)
        offset += len(data)
        body += data
    with open(path, 'wb') as f:
        f.write(out + body)


if __name__ == '__main__':
    import os
    here = os.path.dirname(os.path.abspath(__file__))
    write_icon(os.path.join(here, 'startlagaren.ico'), [(32, image_4bit(32)), (16, image_4bit(16))])
    write_icon(os.path.join(here, 'startlagaren_mono.ico'), [(32, image_mono(32))])
