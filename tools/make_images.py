#!/usr/bin/env python3
"""Makes the screen saver's images in windows/saver/images: the icon and the
four bitmaps of the about box. The icon is drawn from strokes; the lettering is
rendered once with ImageMagick from fonts Debian ships (fonts-urw-base35),
without antialiasing, so every pixel is black or white. The build uses the
committed files and needs neither.

    python3 tools/make_images.py
"""
import os
import struct
import subprocess

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "windows", "saver", "images")


def render_text(text, width, height, font, points):
    """Rows of booleans (True: ink) of text centred in a width x height box."""
    pbm = subprocess.run(
        ["convert", "-size", f"{width}x{height}", "xc:white", "+antialias", "-font", font,
         "-pointsize", str(points), "-fill", "black", "-gravity", "center",
         "-annotate", "+0+0", text, "-threshold", "50%", "pbm:-"],
        check=True, capture_output=True).stdout
    # P4: magic, width, height, then packed rows, 1 for black.
    fields = pbm.split(maxsplit=3)
    assert fields[0] == b"P4" and int(fields[1]) == width and int(fields[2]) == height
    data, stride = fields[3], (width + 7) // 8
    return [[bool(data[y * stride + x // 8] & (0x80 >> (x % 8))) for x in range(width)]
            for y in range(height)]


def write_bitmap(name, rows):
    """A 1-bit uncompressed DIB file: palette 0 black, 1 white; ink is black."""
    height, width = len(rows), len(rows[0])
    stride = ((width + 31) // 32) * 4
    pixels = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray(stride)
        for x, ink in enumerate(row):
            if not ink:
                line[x // 8] |= 0x80 >> (x % 8)
        pixels += line
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 1, 0, len(pixels), 2835, 2835, 2, 2)
    palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(header + info + palette + pixels)


# The sixteen colours of the standard VGA palette, as blue, green, red, 0.
VGA = [(0, 0, 0), (0, 0, 128), (0, 128, 0), (0, 128, 128), (128, 0, 0), (128, 0, 128),
       (128, 128, 0), (192, 192, 192), (128, 128, 128), (0, 0, 255), (0, 255, 0),
       (0, 255, 255), (255, 0, 0), (255, 0, 255), (255, 255, 0), (255, 255, 255)]
DARK_GREEN, GREEN = 2, 10


def frond(size):
    """A green frond across the image, its base at the lower left: colour indexes, None clear."""
    image = [[None] * size for _ in range(size)]

    def line(x0, y0, x1, y1, colour):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            x = round(x0 + (x1 - x0) * i / steps)
            y = round(y0 + (y1 - y0) * i / steps)
            if 0 <= x < size and 0 <= y < size:
                image[y][x] = colour

    s = size / 32
    line(round(2 * s), size - 1 - round(2 * s), size - 1 - round(3 * s), round(3 * s), DARK_GREEN)
    for k in range(1, 7):  # side strokes, shorter toward the tip
        t = k / 7.5
        bx = 2 * s + (size - 5 * s - 2 * s) * t
        by = size - 1 - 2 * s - (size - 1 - 5 * s - 3 * s) * t
        reach = (8 - k) * 1.3 * s
        line(round(bx), round(by), round(bx - reach * 0.3), round(by - reach), GREEN)
        line(round(bx), round(by), round(bx + reach), round(by + reach * 0.3), GREEN)
    return image


def icon_image(image):
    """One icon image: header with doubled height, palette, 4-bit colours, AND mask."""
    size = len(image)
    colours = bytearray()
    mask = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    for row in reversed(image):
        line = bytearray(size // 2)
        bits = bytearray(mask_stride)
        for x, c in enumerate(row):
            if c is None:
                bits[x // 8] |= 0x80 >> (x % 8)
            else:
                line[x // 2] |= c << (4 if x % 2 == 0 else 0)
        colours += line
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(colours) + len(mask),
                       0, 0, 16, 0)
    palette = b"".join(bytes([b, g, r, 0]) for r, g, b in VGA)
    return info + palette + colours + mask


def write_icon(name, sizes):
    images = [icon_image(frond(size)) for size in sizes]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for size, data in zip(sizes, images):
        entries += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(directory + entries + b"".join(images))


def main():
    os.makedirs(OUT, exist_ok=True)
    script, plain = "Z003-Medium-Italic", "NimbusSans-Regular"
    write_bitmap("ok.bmp", render_text("OK", 61, 29, script, 24))
    write_bitmap("name.bmp", render_text("Verdanelle", 95, 29, script, 21))
    write_bitmap("credit.bmp", render_text("grown by the Verdanelle makers", 186, 20, plain, 12))
    write_bitmap("address.bmp", render_text("verdanelle.example.org", 148, 18, plain, 12))
    write_icon("verdanelle.ico", [32, 16])


if __name__ == "__main__":
    main()
