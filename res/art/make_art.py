#!/usr/bin/env python3
"""Renders the program's pictures at every size the window needs.

Sources, all in this folder:
  toolbar.txt  which Tango icon (tango/) each toolbar picture is
  book.svg     the program and notification-area icon
  about.svg    the About page's picture

rsvg-convert renders the SVGs; ImageMagick's convert reads PNGs into raw
pixels; this script packs the pixels into the BMP and ICO files the
resource script includes.

Usage: make_art.py OUTPUT_FOLDER RSVG_CONVERT CONVERT
Writes into OUTPUT_FOLDER:
  toolbar16.bmp toolbar20.bmp toolbar24.bmp toolbar32.bmp toolbar48.bmp
      the toolbar strips, 32-bit with alpha, pictures side by side
  about100.bmp about125.bmp about150.bmp about200.bmp
      the About picture at 100, 125, 150 and 200 % of 100 x 142, 24-bit
  book.ico
      the icon at 16, 20, 24, 32, 48 and 256 pixels (256 as PNG)
"""

import os
import struct
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

TOOLBAR_SIZES = (16, 20, 24, 32, 48)
# Tango's own pixel drawings, where it has them, look sharper than the
# vector drawing rendered small.
DRAWN_SIZES = {16: "16x16", 24: "24x24"}
ICON_SIZES = (16, 20, 24, 32, 48, 256)
ABOUT_SIZE = (100, 142)
ABOUT_SCALES = (100, 125, 150, 200)


class Tools:
    def __init__(self, rsvg, convert):
        self.rsvg, self.convert = rsvg, convert

    def render(self, svg, width, height):
        """The SVG as PNG bytes of width x height."""
        return run([self.rsvg, "--width", str(width), "--height", str(height), "--format", "png", svg])

    def pixels(self, png, width, height):
        """Straight (not premultiplied) RGBA bytes of a PNG, top row first."""
        rgba = run([self.convert, "png:-", "-alpha", "on", "-depth", "8", "rgba:-"], png)
        if len(rgba) != width * height * 4:
            sys.exit(f"make_art: expected a {width} x {height} picture")
        return rgba


def run(command, data=None):
    try:
        return subprocess.run(command, input=data, stdout=subprocess.PIPE, check=True).stdout
    except (OSError, subprocess.CalledProcessError) as error:
        sys.exit(f"make_art: {' '.join(command[:2])}: {error}")


def read_file(path):
    with open(path, "rb") as source:
        return source.read()


def toolbar_names():
    """The Tango names of toolbar.txt, by image index."""
    names = []
    with open(os.path.join(HERE, "toolbar.txt"), encoding="ascii") as listing:
        for number, line in enumerate(listing, 1):
            if not line.strip() or line.startswith("#"):
                continue
            index, name = line.split()[:2]
            if int(index) != len(names):
                sys.exit(f"toolbar.txt:{number}: expected picture {len(names)}")
            names.append(name)
    return names


def bgra_rows(rgba, width, height):
    """Bottom-up rows of BGRA from top-down RGBA."""
    stride = width * 4
    out = bytearray()
    for y in reversed(range(height)):
        row = rgba[y * stride:(y + 1) * stride]
        for x in range(0, stride, 4):
            r, g, b, a = row[x:x + 4]
            out += bytes((b, g, r, a))
    return bytes(out)


def info_header(width, height, bits, image_bytes):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_bytes, 0, 0, 0, 0)


def bmp32(rgba, width, height):
    bits = bgra_rows(rgba, width, height)
    offset = 14 + 40
    return (struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
            + info_header(width, height, 32, len(bits)) + bits)


def bmp24(rgba, width, height):
    """An opaque picture: the alpha is dropped."""
    out = bytearray()
    for y in reversed(range(height)):
        for x in range(width):
            r, g, b = rgba[(y * width + x) * 4:(y * width + x) * 4 + 3]
            out += bytes((b, g, r))
        out += b"\0" * (-(width * 3) % 4)
    offset = 14 + 40
    return (struct.pack("<2sIHHI", b"BM", offset + len(out), 0, 0, offset)
            + info_header(width, height, 24, len(out)) + bytes(out))


def icon_image(rgba, size):
    """One image of an icon file: 32-bit colour with alpha, and the AND mask
    set where the picture is fully transparent, for systems that draw by it."""
    colour = bgra_rows(rgba, size, size)
    mask = bytearray()
    for y in reversed(range(size)):
        line = bytearray((size + 7) // 8)
        for x in range(size):
            if rgba[(y * size + x) * 4 + 3] == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        line += b"\0" * (-len(line) % 4)
        mask += line
    return info_header(size, 2 * size, 32, len(colour) + len(mask)) + colour + bytes(mask)


def ico_file(images):
    """images: (size, bytes) pairs; bytes are a DIB image or a PNG file."""
    entries, blobs = b"", b""
    offset = 6 + 16 * len(images)
    for size, blob in images:
        side = 0 if size >= 256 else size
        entries += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(blob), offset + len(blobs))
        blobs += blob
    return struct.pack("<HHH", 0, 1, len(images)) + entries + blobs


def toolbar_strip(tools, names, size):
    strip = [bytearray() for _ in range(size)]
    for name in names:
        if size in DRAWN_SIZES:
            png = read_file(os.path.join(HERE, "tango", DRAWN_SIZES[size], name + ".png"))
        else:
            png = tools.render(os.path.join(HERE, "tango", "scalable", name + ".svg"), size, size)
        rgba = tools.pixels(png, size, size)
        for y in range(size):
            strip[y] += rgba[y * size * 4:(y + 1) * size * 4]
    return bmp32(b"".join(strip), size * len(names), size)


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    out, tools = sys.argv[1], Tools(sys.argv[2], sys.argv[3])
    os.makedirs(out, exist_ok=True)
    files = {}

    names = toolbar_names()
    for size in TOOLBAR_SIZES:
        files[f"toolbar{size}.bmp"] = toolbar_strip(tools, names, size)

    for scale in ABOUT_SCALES:
        width, height = ((side * scale + 50) // 100 for side in ABOUT_SIZE)
        png = tools.render(os.path.join(HERE, "about.svg"), width, height)
        files[f"about{scale}.bmp"] = bmp24(tools.pixels(png, width, height), width, height)

    book = os.path.join(HERE, "book.svg")
    images = []
    for size in ICON_SIZES:
        png = tools.render(book, size, size)
        images.append((size, png if size >= 256 else icon_image(tools.pixels(png, size, size), size)))
    files["book.ico"] = ico_file(images)

    for name, data in files.items():
        with open(os.path.join(out, name), "wb") as target:
            target.write(data)


if __name__ == "__main__":
    main()
