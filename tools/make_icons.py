#!/usr/bin/env python3
"""Makes the web page's icons in web/ from the renderer's own drawing:
fern-trace prints the OpenGL calls of the last drawn tick of the upward
figure on a square client, and each line is set pixel by pixel, as the
renderer's OpenGL would draw it without antialiasing, in that tick's colour
on black. The maskable icon holds the fern within its safe zone. The build
uses the committed files.

    python3 tools/make_icons.py build/native/fern-trace
"""
import os
import struct
import subprocess
import sys
import zlib

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "web")


def level_count(dimension):
    v, n = float(dimension // 5), 0
    while v > 1.0:
        v *= 0.8125
        n += 1
    return n


def fern(trace, size):
    """Rows of booleans (True: a line passes) and the colour of a size x size fern."""
    tick = 5 * level_count(size)
    out = subprocess.run([trace, str(size), str(size), str(tick), str(tick)],
                         check=True, capture_output=True, text=True).stdout
    rows = [[False] * size for _ in range(size)]
    colour, start = None, None
    for line in out.splitlines():
        words = line.split()
        if words[0] == "glColor3ub":
            colour = tuple(int(w) for w in words[1:])
        elif words[0] == "glVertex2d":
            # Device coordinates to pixel centres, y downward.
            point = ((float(words[1]) + 1) / 2 * size - 0.5, (1 - float(words[2])) / 2 * size - 0.5)
            if start is None:
                start = point
            else:
                draw_line(rows, start, point)
                start = None
    return rows, colour


def draw_line(rows, a, b):
    steps = max(abs(b[0] - a[0]), abs(b[1] - a[1]), 1)
    n = int(steps) + 1
    for i in range(n + 1):
        x = round(a[0] + (b[0] - a[0]) * i / n)
        y = round(a[1] + (b[1] - a[1]) * i / n)
        if 0 <= y < len(rows) and 0 <= x < len(rows):
            rows[y][x] = True


def write_png(name, rows, colour, size):
    """An indexed PNG: palette 0 black, 1 the fern's colour; rows centred."""
    offset = (size - len(rows)) // 2
    raw = bytearray()
    for y in range(size):
        raw.append(0)  # no filter
        line = rows[y - offset] if 0 <= y - offset < len(rows) else []
        for x in range(size):
            raw.append(1 if 0 <= x - offset < len(line) and line[x - offset] else 0)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 3, 0, 0, 0)) +
           chunk(b"PLTE", bytes((0, 0, 0)) + bytes(colour)) +
           chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(png)


def main():
    trace = sys.argv[1] if len(sys.argv) > 1 else "build/native/fern-trace"
    os.makedirs(OUT, exist_ok=True)
    for name, size, drawn in (("icon-192.png", 192, 192), ("icon-512.png", 512, 512),
                              ("icon-maskable-512.png", 512, 352)):
        rows, colour = fern(trace, drawn)
        write_png(name, rows, colour, size)


if __name__ == "__main__":
    main()
