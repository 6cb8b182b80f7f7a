#!/usr/bin/env python3
"""Draws Tarvelix's artwork: the icon (a magnifying lens with a plus, for zoom) and the Donate bitmap.

Writes tarvelix.ico (32-bit images with alpha of 16, 20, 24, 32, 40 and 48 pixels, and 256 pixels as PNG:
the sizes Windows asks for at 100 to 200 % scaling) and donate.bmp (92 x 26, 24-bit) beside this script.
Python 3 standard library only.
"""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

NAVY = (24, 52, 102)
GLASS = (196, 226, 255)
GLASS_LIGHT = (238, 247, 255)
HANDLE = (224, 118, 28)
HANDLE_DARK = (160, 78, 10)


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def icon_layers(size):
    """Shape tests in pixel units, drawn back to front; thin parts never drop below a pixel or two."""
    s = float(size)
    cx = cy = 0.41 * s
    outer = 0.36 * s
    ring = max(2.0, 0.085 * s)
    arm = 0.17 * s
    bar = max(1.0, 0.055 * s) if size > 16 else 0.5
    if size <= 48:
        # Whole pixels for the plus at the small sizes, so it stays crisp instead of a grey smear.
        width = max(1, round(2 * bar))
        bar = width / 2
        cx = cy = math.floor(cx) + (0.5 if width % 2 else 0.0)
    handle_start = cx + (outer - ring * 0.5) * math.cos(math.pi / 4)
    handle_width = max(1.6, 0.08 * s)
    handle_end = 0.90 * s

    def glass(x, y):
        d = math.hypot(x - cx, y - cy)
        if d > outer - ring * 0.5:
            return None
        # A soft highlight towards the upper left.
        h = max(0.0, 1.0 - math.hypot(x - (cx - 0.35 * outer), y - (cy - 0.35 * outer)) / outer)
        return tuple(round(g + (l - g) * h) for g, l in zip(GLASS, GLASS_LIGHT))

    def plus(x, y):
        on_h = abs(y - cy) <= bar and abs(x - cx) <= arm
        on_v = abs(x - cx) <= bar and abs(y - cy) <= arm
        return NAVY if on_h or on_v else None

    def lens_ring(x, y):
        return NAVY if abs(math.hypot(x - cx, y - cy) - (outer - ring * 0.5)) <= ring * 0.5 else None

    def handle(x, y):
        d = segment_distance(x, y, handle_start, handle_start, handle_end, handle_end)
        if d > handle_width:
            return None
        # Darker along the lower edge, so the handle reads as round.
        side = ((x - y) / math.sqrt(2.0)) / handle_width
        return HANDLE_DARK if side < -0.35 else HANDLE

    return [glass, plus, lens_ring, handle]


def render_icon(size):
    """Rows of (r, g, b, a), top row first. The alpha is the share of supersamples that hit a shape, so the
    edges blend into any background; small sizes take more samples, where one pixel counts most."""
    layers = icon_layers(size)
    samples = 8 if size <= 48 else 4
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            total = [0.0, 0.0, 0.0]
            hits = 0
            for sy in range(samples):
                for sx in range(samples):
                    x = px + (sx + 0.5) / samples
                    y = py + (sy + 0.5) / samples
                    colour = None
                    for layer in layers:
                        c = layer(x, y)
                        if c is not None:
                            colour = c
                    if colour is not None:
                        hits += 1
                        for i in range(3):
                            total[i] += colour[i]
            if hits == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(round(t / hits) for t in total) + (round(255 * hits / (samples * samples)),))
        rows.append(row)
    return rows


def bitmap_image(rows):
    """One icon image as a DIB: BITMAPINFOHEADER, 32-bit BGRA rows and the 1-bit mask, both bottom-up.
    Windows reads the alpha; the mask is for anything that does not, clear wherever a pixel shows at all."""
    size = len(rows)
    mask_stride = ((size + 31) // 32) * 4
    colour = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (r, g, b, a) in enumerate(row):
            colour += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return header + colour + mask


def png_image(rows):
    """One icon image as a PNG (RGBA, 8 bits a channel): Windows Vista and later take the 256 px one so."""
    size = len(rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    raw = b"".join(b"\0" + b"".join(bytes(pixel) for pixel in row) for row in rows)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def write_icon(path, sizes):
    """An icon group, smallest first; the 256 px image is PNG-compressed, the others are DIBs."""
    images = [png_image(render_icon(size)) if size == 256 else bitmap_image(render_icon(size)) for size in sizes]
    out = bytearray(struct.pack("<HHH", 0, 1, len(sizes)))
    offset = 6 + 16 * len(sizes)
    for size, image in zip(sizes, images):
        edge = 0 if size == 256 else size
        out += struct.pack("<BBBBHHII", edge, edge, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    for image in images:
        out += image
    with open(path, "wb") as f:
        f.write(out)


# 5 x 7 glyphs for the button's word.
GLYPHS = {
    "D": ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    "o": ["00000", "00000", "01110", "10001", "10001", "10001", "01110"],
    "n": ["00000", "00000", "10110", "11001", "10001", "10001", "10001"],
    "a": ["00000", "00000", "01110", "00001", "01111", "10001", "01111"],
    "t": ["01000", "01000", "11110", "01000", "01000", "01001", "00110"],
    "e": ["00000", "00000", "01110", "10001", "11111", "10000", "01110"],
}
HEART = ["011000110", "111101111", "111111111", "111111111", "011111110", "001111100", "000111000", "000010000"]


def donate_pixels(width=92, height=26):
    """A gold button with rounded corners, a red heart and the word Donate."""
    top, bottom = (255, 222, 110), (240, 160, 30)
    border, text, shadow, heart, outside = (170, 105, 10), (70, 38, 0), (255, 240, 190), (214, 40, 57), (255, 255, 255)
    pixels = []
    for y in range(height):
        t = y / (height - 1)
        fill = tuple(round(a + (b - a) * t) for a, b in zip(top, bottom))
        row = []
        for x in range(width):
            corner = min(x, width - 1 - x) + min(y, height - 1 - y)
            if corner < 2:
                row.append(outside)
            elif corner == 2 or x in (0, width - 1) or y in (0, height - 1):
                row.append(border)
            else:
                row.append(fill)
        pixels.append(row)

    def stamp(pattern, left, top_row, scale, colour):
        for gy, line in enumerate(pattern):
            for gx, bit in enumerate(line):
                if bit != "1":
                    continue
                for dy in range(scale):
                    for dx in range(scale):
                        pixels[top_row + gy * scale + dy][left + gx * scale + dx] = colour

    stamp(HEART, 4, 5, 2, heart)
    x = 26
    for ch in "Donate":
        stamp(GLYPHS[ch], x + 1, 7, 2, shadow)
        stamp(GLYPHS[ch], x, 6, 2, text)
        x += 11
    return pixels


def write_bmp(path, pixels):
    height = len(pixels)
    width = len(pixels[0])
    stride = (width * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        data += line + bytes(stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(header + info + data)


def main():
    write_icon(os.path.join(HERE, "tarvelix.ico"), [16, 20, 24, 32, 40, 48, 256])
    write_bmp(os.path.join(HERE, "donate.bmp"), donate_pixels())


if __name__ == "__main__":
    main()
