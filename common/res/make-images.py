#!/usr/bin/env python3
"""Draws the programs' icons and the hand cursor and writes them as .ico/.cur files.

The generated files are committed, so the build never runs this; run it again after changing a
design:  python3 common/res/make-images.py   (from the top of the repository)
"""
import math
import os
import struct
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

# The standard 16-colour palette, as (r, g, b) in index order.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, TEAL, SILVER, GREY, RED, YELLOW, BLUE, AQUA, WHITE = 0, 4, 6, 7, 8, 9, 11, 12, 14, 15

SUPER = 4  # samples per pixel side for the anti-aliased images


class Layer:
    """A shape: inside(x, y) over the unit square, a true colour (r, g, b) or a function of
    (x, y) giving one, and the palette index used by the 16-colour images."""

    def __init__(self, inside, colour, index):
        self.inside = inside
        self.colour = colour
        self.index = index

    def rgb(self, x, y):
        return self.colour(x, y) if callable(self.colour) else self.colour


def render_rgba(layers, size):
    """Anti-aliased, straight alpha; rows top-down, each pixel (r, g, b, a)."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]  # premultiplied
            for sy in range(SUPER):
                for sx in range(SUPER):
                    x = (px + (sx + 0.5) / SUPER) / size
                    y = (py + (sy + 0.5) / SUPER) / size
                    c = [0.0, 0.0, 0.0, 0.0]
                    for layer in layers:
                        if layer.inside(x, y):
                            r, g, b = layer.rgb(x, y)
                            c = [r, g, b, 1.0]
                    acc = [a + v * (c[3] if i < 3 else 1.0) for i, (a, v) in enumerate(zip(acc, c))]
            n = SUPER * SUPER
            alpha = acc[3] / n
            if alpha > 0:
                rgb = [round(acc[i] / n / alpha) for i in range(3)]
            else:
                rgb = [0, 0, 0]
            row.append((*rgb, round(alpha * 255)))
        rows.append(row)
    return rows


def render_indexed(layers, size):
    """One sample per pixel centre; None where transparent."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            x, y = (px + 0.5) / size, (py + 0.5) / size
            index = None
            for layer in layers:
                if layer.inside(x, y):
                    index = layer.index
            row.append(index)
        rows.append(row)
    return rows


def and_mask(opaque_rows):
    """1 bit per pixel, set where transparent; bottom-up, rows padded to 32 bits."""
    size = len(opaque_rows[0])
    stride = (size + 31) // 32 * 4
    out = bytearray()
    for row in reversed(opaque_rows):
        bits = bytearray(stride)
        for x, opaque in enumerate(row):
            if not opaque:
                bits[x // 8] |= 0x80 >> (x % 8)
        out += bits
    return bytes(out)


def bitmap_header(size, bpp, colours):
    # Height counts the colour bits and the mask together.
    return struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bpp, 0, 0, 0, 0, colours, 0)


def dib_32(rows):
    size = len(rows)
    bits = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            bits += bytes((b, g, r, a))
    return bitmap_header(size, 32, 0) + bytes(bits) + and_mask([[p[3] >= 128 for p in r] for r in rows])


def png_32(rows):
    """The same pixels as a PNG (RGBA, 8 bits a channel), which an icon directory may hold in place
    of a 32-bit bitmap since Windows Vista: a fraction of the bytes, and no mask, as alpha says it."""
    size = len(rows)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data)))

    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in rows)
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def dib_indexed(rows, palette, bpp):
    size = len(rows)
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    per_byte = 8 // bpp
    stride = (size * bpp + 31) // 32 * 4
    bits = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, index in enumerate(row):
            value = index or 0
            shift = 8 - bpp * (x % per_byte + 1)
            line[x // per_byte] |= value << shift
        bits += line
    return (bitmap_header(size, bpp, len(palette)) + pal + bytes(bits) +
            and_mask([[p is not None for p in r] for r in rows]))


def write_group(path, images, kind=1, hotspot=(0, 0)):
    """images: list of (size, colour count for the directory, bpp, dib bytes). kind 1 is an
    icon, 2 a cursor (whose directory holds the hot spot instead of planes and depth)."""
    header = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    entries, data = b"", b""
    for size, colours, bpp, dib in images:
        w = 0 if size >= 256 else size
        if kind == 1:
            a, b = 1, bpp
        else:
            a, b = hotspot
        entries += struct.pack("<BBBBHHII", w, w, colours, 0, a, b, len(dib), offset + len(data))
        data += dib
    full = os.path.join(ROOT, path)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    with open(full, "wb") as f:
        f.write(header + entries + data)


def icon_images(layers, sizes, depths, png=False):
    images = []
    for bpp in depths:
        for size in sizes:
            if bpp == 32:
                rgba = render_rgba(layers, size)
                images.append((size, 0, 32, png_32(rgba) if png else dib_32(rgba)))
            else:
                images.append((size, 16, 4, dib_indexed(render_indexed(layers, size), VGA16, 4)))
    return images


# --- The application icon: a white power symbol on a blue disc --------------------------------


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def power_symbol(cx, cy, radius, width, gap_degrees):
    half = width / 2

    def inside(x, y):
        dx, dy = x - cx, y - cy
        dist = math.hypot(dx, dy)
        # Angle measured from straight up, so the gap sits above the centre.
        angle = abs(math.degrees(math.atan2(dx, -dy)))
        on_ring = abs(dist - radius) <= half and angle >= gap_degrees
        top, bottom = cy - radius - half * 0.6, cy - radius * 0.05
        on_bar = abs(dx) <= half and top <= y <= bottom
        cap = math.hypot(dx, y - top) <= half or math.hypot(dx, y - bottom) <= half
        return on_ring or on_bar or cap

    return inside


def blue_gradient(x, y):
    t = min(max((y - 0.05) / 0.9, 0.0), 1.0)
    return (round(70 - 55 * t), round(140 - 85 * t), round(240 - 80 * t))


POWER = [
    Layer(disc(0.5, 0.5, 0.48), (10, 40, 110), NAVY),
    Layer(disc(0.5, 0.5, 0.43), blue_gradient, BLUE),
    Layer(power_symbol(0.5, 0.54, 0.235, 0.11, 38), (255, 255, 255), WHITE),
]

# The tray picture: the same symbol, drawn larger on a smaller disc edge for 16 pixels.
TRAY = [
    Layer(disc(0.5, 0.5, 0.5), (10, 40, 110), NAVY),
    Layer(disc(0.5, 0.5, 0.42), blue_gradient, BLUE),
    Layer(power_symbol(0.5, 0.53, 0.25, 0.13, 40), (255, 255, 255), WHITE),
]

# --- The About dialog's picture: a monitor with a yellow lightning bolt ---------------------------


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def polygon(points):
    def inside(x, y):
        result = False
        j = len(points) - 1
        for i in range(len(points)):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result

    return inside


MONITOR = [
    Layer(rect(0.06, 0.10, 0.94, 0.72), (96, 96, 96), GREY),           # case
    Layer(rect(0.13, 0.17, 0.87, 0.65), (0, 110, 120), TEAL),           # screen
    Layer(rect(0.40, 0.72, 0.60, 0.82), (128, 128, 128), GREY),        # neck
    Layer(rect(0.22, 0.82, 0.78, 0.92), (192, 192, 192), SILVER),      # foot
    Layer(polygon([(0.56, 0.20), (0.34, 0.44), (0.48, 0.44), (0.42, 0.62), (0.66, 0.36),
                   (0.52, 0.36), (0.60, 0.20)]), (255, 220, 0), YELLOW),  # bolt
]

# --- The pointing hand: pixel drawn, black outline around a white fill ----------------------------


def hand_pixels():
    fill = set()

    def box(c0, r0, c1, r1):
        for r in range(r0, r1 + 1):
            for c in range(c0, c1 + 1):
                fill.add((c, r))

    box(12, 6, 14, 18)   # index finger; its tip outline is row 5 above column 13
    box(16, 12, 18, 18)  # middle finger; the empty column between draws the crease
    box(20, 13, 22, 18)  # ring finger
    box(24, 15, 25, 18)  # little finger
    box(12, 19, 25, 25)  # palm
    box(13, 26, 24, 28)  # heel of the hand
    for r, (c0, c1) in {18: (7, 9), 19: (7, 11), 20: (8, 11), 21: (9, 11), 22: (10, 11),
                        23: (11, 11)}.items():
        box(c0, r, c1, r)  # thumb
    outline = set()
    for c, r in fill:
        for dc, dr in ((1, 0), (-1, 0), (0, 1), (0, -1)):
            if (c + dc, r + dr) not in fill:
                outline.add((c + dc, r + dr))
    return fill, outline


def hand_cursor():
    fill, outline = hand_pixels()
    size = 32
    rows = [[None] * size for _ in range(size)]
    for c, r in outline:
        rows[r][c] = 0
    for c, r in fill:
        rows[r][c] = 1
    assert rows[5][13] == 0 and rows[6][13] == 1, "the hot spot must be the fingertip"
    return [(size, 2, 1, dib_indexed(rows, [(0, 0, 0), (255, 255, 255)], 1))]


def main():
    # The full-colour images as PNG: they are most of the program file's resources otherwise.
    write_group("common/res/Halcyra.ico", icon_images(POWER, (16, 32, 48), (4, 32), png=True))
    # 16 colours at 16 pixels, as the window's picture was designed; full colour at the small-icon
    # sizes of 125, 150 and 200 per cent, so the tray stays sharp at every scale.
    write_group("common/res/HalcyraTray.ico",
                icon_images(TRAY, (16,), (4,)) + icon_images(TRAY, (20, 24, 32), (32,), png=True))
    write_group("dialogs/res/AboutPicture.ico", icon_images(MONITOR, (32, 16), (4,)))
    write_group("dialogs/res/Hand.cur", hand_cursor(), kind=2, hotspot=(13, 5))


if __name__ == "__main__":
    main()
