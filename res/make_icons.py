#!/usr/bin/env python3
"""Draws the program's icons: startlagaren.ico (32x32 and 16x16 in 16 colours; 20, 24, 40, 48 and 64
in 32-bit colour, and 256 as PNG) and startlagaren_mono.ico (32, 48 and 64, black and white). Run it
again after changing the picture, and commit the icons: the build takes them as they are, so it needs
no Python. With a folder as argument it writes them there instead (the native tests compare them)."""
import struct
import sys
import zlib

# The 16-colour VGA palette, as the system's 4-bit icons use it.
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
           (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
           (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, DARK_GREEN, NAVY, SILVER, GREY, GREEN, WHITE, CLEAR = 0, 2, 4, 7, 8, 10, 15, None


TICK = [(14, 19), (19, 25), (30, 10)]


def picture(size, with_tick=True):
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
    bar, edge = max(2, int(5 * s)), max(1, size // 32)
    pixels(left, top, right, bottom, BLACK)
    pixels(left + edge, top + edge, right - edge, bottom - edge, WHITE)
    pixels(left + edge, top + edge, right - edge, top + edge + bar, NAVY)
    if size >= 32:
        box(22, 6, 26, 9, SILVER)   # close box
    for row in (13, 17, 21):        # lines of text, as thick as the picture allows
        box(5, row, 18, row + 2 if size > 16 else row + 1, GREY)

    if not with_tick:
        return px

    def tick_at(cx, cy, colour, half):
        for y in range(int((cy - half) * s), int((cy + half) * s) + 1):
            for x in range(int((cx - half) * s), int((cx + half) * s) + 1):
                if 0 <= x < size and 0 <= y < size:
                    px[y][x] = colour

    # The tick: down from TICK[0] to TICK[1], then up to TICK[2].
    (ax, ay), (bx, by), (cx, cy) = TICK
    points = [(ax + t * (bx - ax) / 20, ay + t * (by - ay) / 20) for t in range(21)] + \
             [(bx + t * (cx - bx) / 40, by + t * (cy - by) / 40) for t in range(41)]
    for x, y in points:
        tick_at(x, y, DARK_GREEN, 2.2)
    for x, y in points:
        tick_at(x, y, GREEN, 1.0)
    return px



def distance_to_tick(x, y):
    """How far a point is from the tick's middle line, in units of the 32x32 picture."""
    best = None
    for (ax, ay), (bx, by) in zip(TICK, TICK[1:]):
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        d = ((x - ax - t * dx) ** 2 + (y - ay - t * dy) ** 2) ** 0.5
        best = d if best is None else min(best, d)
    return best


def smooth_tick_colour(px, size, x, y, samples=4):
    """A pixel of the 32-bit pictures, the tick's edges smoothed: the mean of samples x samples points,
    each the tick's green, its dark green edge, or the picture beneath. Returns (r, g, b, alpha)."""
    s, sums = size / 32.0, [0, 0, 0, 0]
    beneath = px[y][x]
    for j in range(samples):
        for i in range(samples):
            d = distance_to_tick((x + (i + 0.5) / samples) / s, (y + (j + 0.5) / samples) / s)
            colour = GREEN if d <= 1.15 else DARK_GREEN if d <= 2.4 else beneath
            if colour is not CLEAR:
                r, g, b = PALETTE[colour]
                sums = [sums[0] + r, sums[1] + g, sums[2] + b, sums[3] + 1]
    if sums[3] == 0:
        return 0, 0, 0, 0
    return (round(sums[0] / sums[3]), round(sums[1] / sums[3]), round(sums[2] / sums[3]),
            round(255 * sums[3] / (samples * samples)))


def rgba_picture(size):
    """Rows top to bottom of (r, g, b, alpha): the picture in whole pixels, the tick smoothed over it."""
    px = picture(size, with_tick=False)
    return [[smooth_tick_colour(px, size, x, y) for x in range(size)] for y in range(size)]


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


def image_32bit(size):
    rows = rgba_picture(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b''.join(struct.pack('<BBBB', b, g, r, a) for row in reversed(rows) for r, g, b, a in row)
    clear = [[CLEAR if a == 0 else BLACK for r, g, b, a in row] for row in rows]
    return header + xor + and_mask(clear, size), 0, 32


def png_chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))


def image_png(size):
    """PNG in RGBA, no filters, no time or text chunks, so the bytes depend on the picture only."""
    raw = b''.join(b'\0' + bytes(c for pixel in row for c in pixel) for row in rgba_picture(size))
    data = b'\x89PNG\r\n\x1a\n' + png_chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)) + \
        png_chunk(b'IDAT', zlib.compress(raw, 9)) + png_chunk(b'IEND', b'')
    return data, 0, 32


def write_icon(path, images):
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b''
    for size, (data, colours, bits) in images:
        # 256 is written as 0 in the directory's one byte.
        out += struct.pack('<BBBBHHII', size % 256, size % 256, colours if colours < 256 else 0, 0, 1, bits,
                           len(data), offset)
        offset += len(data)
        body += data
    with open(path, 'wb') as f:
        f.write(out + body)


if __name__ == '__main__':
    import os
    here = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    write_icon(os.path.join(here, 'startlagaren.ico'), [(32, image_4bit(32)), (16, image_4bit(16))] +
               [(size, image_32bit(size)) for size in (20, 24, 40, 48, 64)] + [(256, image_png(256))])
    write_icon(os.path.join(here, 'startlagaren_mono.ico'), [(size, image_mono(size)) for size in (32, 48, 64)])
