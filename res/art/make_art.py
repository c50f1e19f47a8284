#!/usr/bin/env python3
"""Draws the program's pictures into 16-colour BMP and ICO files.

The toolbar strip and the icons come from the pixel maps beside this script
(toolbar.txt, icons.txt); the About picture is drawn here. Only the standard
library is used, so the build needs nothing but python3.

Usage: make_art.py OUTPUT_FOLDER
Writes toolbar.bmp, about.bmp, main.ico and tray.ico into OUTPUT_FOLDER.
"""

import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

# The standard 16-colour Windows palette, in its usual order.
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]

# One letter per palette entry, as used in the pixel maps.
K, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER, GREY, RED, LIME, \
    YELLOW, BLUE, MAGENTA, CYAN, WHITE = range(16)
COLOUR_OF = {letter: index for index, letter in enumerate("krgonptsdRGYBMCw")}
BACKGROUND = "."  # button face in the toolbar, transparent in icons
TRANSPARENT = -1

TOOLBAR_IMAGES = 16
IMAGE_SIZE = 16
ABOUT_WIDTH, ABOUT_HEIGHT = 100, 142


def read_maps(name):
    """Reads a pixel-map file: '= title' starts a map, '#' lines are comments."""
    maps, title = [], None
    with open(os.path.join(HERE, name), encoding="ascii") as source:
        for number, line in enumerate(source, 1):
            line = line.rstrip("\n")
            if line.startswith("#") or (not line.strip() and title is None):
                continue
            if line.startswith("="):
                title = line[1:].strip()
                maps.append((title, []))
            elif line.strip():
                if title is None:
                    sys.exit(f"{name}:{number}: pixels before the first '= title'")
                for char in line:
                    if char != BACKGROUND and char not in COLOUR_OF:
                        sys.exit(f"{name}:{number}: unknown colour letter {char!r}")
                maps[-1][1].append(line)
    return maps


def to_pixels(rows, size, background, where):
    """Turns map rows into a size x size grid of palette indices."""
    if len(rows) != size or any(len(row) != size for row in rows):
        sys.exit(f"{where}: expected {size} rows of {size} pixels")
    return [[background if c == BACKGROUND else COLOUR_OF[c] for c in row] for row in rows]


def palette_bytes():
    return b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)


def pack_4bpp(pixels):
    """Bottom-up 4-bit rows, each padded to a multiple of four bytes."""
    out = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        for x in range(0, len(row), 2):
            high = max(row[x], 0)
            low = max(row[x + 1], 0) if x + 1 < len(row) else 0
            line.append(high << 4 | low)
        line.extend(b"\0" * (-len(line) % 4))
        out += line
    return bytes(out)


def pack_mask(pixels):
    """Bottom-up 1-bit AND mask: set where the pixel is transparent."""
    out = bytearray()
    for row in reversed(pixels):
        line = bytearray((len(row) + 7) // 8)
        for x, value in enumerate(row):
            if value == TRANSPARENT:
                line[x // 8] |= 0x80 >> (x % 8)
        line.extend(b"\0" * (-len(line) % 4))
        out += line
    return bytes(out)


def info_header(width, height, image_bytes):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, image_bytes, 0, 0, 16, 0)


def bmp_file(pixels):
    width, height = len(pixels[0]), len(pixels)
    bits = pack_4bpp(pixels)
    offset = 14 + 40 + 16 * 4
    return (struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
            + info_header(width, height, len(bits)) + palette_bytes() + bits)


def ico_file(images):
    """An icon group file; each image has a 4-bit colour part and an AND mask."""
    entries, blobs = b"", b""
    offset = 6 + 16 * len(images)
    for pixels in images:
        size = len(pixels)
        colour, mask = pack_4bpp(pixels), pack_mask(pixels)
        blob = info_header(size, 2 * size, len(colour) + len(mask)) + palette_bytes() + colour + mask
        entries += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(blob), offset + len(blobs))
        blobs += blob
    return struct.pack("<HHH", 0, 1, len(images)) + entries + blobs


def toolbar_strip():
    maps = read_maps("toolbar.txt")
    if len(maps) != TOOLBAR_IMAGES:
        sys.exit(f"toolbar.txt: expected {TOOLBAR_IMAGES} images, found {len(maps)}")
    strip = [[] for _ in range(IMAGE_SIZE)]
    for title, rows in maps:
        image = to_pixels(rows, IMAGE_SIZE, SILVER, f"toolbar.txt '{title}'")
        for y in range(IMAGE_SIZE):
            strip[y] += image[y]
    return strip


def icon_images(wanted):
    """The maps of icons.txt whose title starts with `wanted`, as icon images."""
    images = []
    for title, rows in read_maps("icons.txt"):
        if title.split()[0] == wanted:
            images.append(to_pixels(rows, len(rows), TRANSPARENT, f"icons.txt '{title}'"))
    if not images:
        sys.exit(f"icons.txt: no map for the {wanted} icon")
    return images


# --- The About picture: an open bilingual book under a large A and Б. ---

# Small letters, 5 x 7, for the words on the pages.
SMALL_GLYPHS = {
    "a": [".....", ".....", ".###.", "....#", ".####", "#...#", ".####"],
    "b": ["#....", "#....", "####.", "#...#", "#...#", "#...#", "####."],
    "c": [".....", ".....", ".###.", "#....", "#....", "#....", ".###."],
    "d": ["....#", "....#", ".####", "#...#", "#...#", "#...#", ".####"],
    "e": [".....", ".....", ".###.", "#...#", "#####", "#....", ".###."],
    "k": ["#....", "#....", "#..#.", "#.#..", "##...", "#.#..", "#..#."],
    "o": [".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."],
    "r": [".....", ".....", "#.##.", "##..#", "#....", "#....", "#...."],
    "t": [".#...", ".#...", "####.", ".#...", ".#...", ".#..#", "..##."],
    "w": [".....", ".....", "#...#", "#...#", "#.#.#", "#.#.#", ".#.#."],
    # Cyrillic
    "а": [".....", ".....", ".###.", "....#", ".####", "#...#", ".####"],
    "о": [".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."],
    "г": [".....", ".....", "#####", "#....", "#....", "#....", "#...."],
    "д": [".....", ".....", ".###.", ".#.#.", ".#.#.", "#####", "#...#"],
    "и": [".....", ".....", "#...#", "#..##", "#.#.#", "##..#", "#...#"],
    "к": [".....", ".....", "#..#.", "#.#..", "##...", "#.#..", "#..#."],
    "м": [".....", ".....", "#...#", "##.##", "#.#.#", "#...#", "#...#"],
    "н": [".....", ".....", "#...#", "#...#", "#####", "#...#", "#...#"],
    "т": [".....", ".....", "#####", "..#..", "..#..", "..#..", "..#.."],
    "у": [".....", ".....", "#...#", "#...#", ".####", "....#", ".###."],
}

# The two large letters, Latin A and Cyrillic Б, with serifs.
LARGE_A = [
    "......##......",
    ".....####.....",
    ".....####.....",
    "....##.###....",
    "....##.###....",
    "...##...###...",
    "...##...###...",
    "..##.....###..",
    "..##########..",
    ".##.......###.",
    ".##.......###.",
    "##.........###",
    "##.........###",
    "####.....#####",
]
LARGE_BE = [
    "############",
    ".###......##",
    ".###.......#",
    ".###........",
    ".###........",
    ".#########..",
    ".###....###.",
    ".###.....###",
    ".###.....###",
    ".###.....###",
    ".###.....###",
    ".###....###.",
    ".#########..",
    "##########..",
]


class Canvas:
    def __init__(self, width, height, colour):
        self.width, self.height = width, height
        self.pixels = [[colour] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def fill(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, colour)

    def glyph(self, x, y, rows, colour, shadow=None):
        """Draws the '#' cells of rows, over a shadow one pixel down and right."""
        cells = [(x + dx, y + dy) for dy, row in enumerate(rows)
                 for dx, char in enumerate(row) if char == "#"]
        if shadow is not None:
            for px, py in cells:
                self.put(px + 1, py + 1, shadow)
        for px, py in cells:
            self.put(px, py, colour)

    def text(self, x, y, word, colour):
        for char in word:
            self.glyph(x, y, SMALL_GLYPHS[char], colour)
            x += 6


def page_top(x, centre, half):
    """Upper edge of the open pages: highest at the outer edges, lower towards the spine."""
    distance = abs(x - centre) / half
    return 62 - round(4 * distance * distance)


def about_picture():
    c = Canvas(ABOUT_WIDTH, ABOUT_HEIGHT, NAVY)
    # Frame: a light edge outside a dark one, like a picture in a mount.
    c.fill(0, 0, ABOUT_WIDTH - 1, ABOUT_HEIGHT - 1, WHITE)
    c.fill(1, 1, ABOUT_WIDTH - 1, ABOUT_HEIGHT - 1, GREY)
    c.fill(1, 1, ABOUT_WIDTH - 2, ABOUT_HEIGHT - 2, NAVY)
    # A few stars in the dark sky.
    for x, y in ((10, 10), (86, 8), (48, 6), (92, 44), (7, 48), (66, 48), (30, 50),
                 (14, 128), (88, 132), (34, 136), (70, 126)):
        c.put(x, y, WHITE)
    for x, y in ((20, 42), (84, 50), (60, 13), (24, 124), (80, 136)):
        c.put(x, y, YELLOW)
        for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
            c.put(x + dx, y + dy, OLIVE)

    # The two alphabets and a pair of arrows between them.
    c.glyph(11, 22, LARGE_A, WHITE, shadow=TEAL)
    c.glyph(77, 22, LARGE_BE, YELLOW, shadow=OLIVE)
    for i in range(14):
        c.put(40 + i, 26, CYAN)
        c.put(46 + i, 32, CYAN)
    for i in range(1, 4):
        c.fill(53 - i, 26 - i, 53 - i, 26 + i, CYAN)
        c.fill(46 + i, 32 - i, 46 + i, 32 + i, CYAN)
    c.put(54, 26, CYAN)
    c.put(45, 32, CYAN)

    # The open book: cover, a block of page edges at each side, two pages.
    centre, half = 50, 44
    left, right = centre - half, centre + half
    bottom = 108
    for x in range(left - 2, right + 3):
        top = page_top(min(max(x, left), right), centre, half) + 3
        c.fill(x, top, x, bottom + 4 - (1 if x in (left - 2, right + 2) else 0), MAROON)
    for x in range(left, right + 1):
        top = page_top(x, centre, half)
        dip = 3 if abs(x - centre) <= 2 else 0
        c.fill(x, top + dip, x, bottom + 1, WHITE)
        # Page edges stacked under the pages at the outer sides.
        c.put(x, bottom + 2, GREY)
        if abs(x - centre) > 3:
            c.put(x, bottom + 1, SILVER)
    for x in range(left, right + 1):
        c.put(x, page_top(x, centre, half) - 1 + (3 if abs(x - centre) <= 2 else 0), K)
    for x in (left, right):
        c.fill(x, page_top(x, centre, half), x, bottom + 2, GREY)
    # The gutter: shade on either side of the spine.
    c.fill(centre - 1, 56, centre + 1, bottom + 2, SILVER)
    c.fill(centre, 56, centre, bottom + 3, GREY)

    # English on the left page, Bulgarian on the right, with text lines under each word.
    entries = [("book", "книга"), ("cat", "котка"), ("word", "дума")]
    y = 64
    for english, bulgarian in entries:
        c.text(left + 5, y, english, K)
        c.text(centre + 6, y, bulgarian, K)
        for line, length in ((9, 30), (12, 24)):
            c.fill(left + 5, y + line, left + 5 + length, y + line, GREY)
            c.fill(centre + 6, y + line, centre + 6 + length - 2, y + line, GREY)
        y += 15
    # A ribbon bookmark hanging from the gutter.
    c.fill(centre + 3, bottom + 2, centre + 5, bottom + 14, RED)
    c.fill(centre + 6, bottom + 2, centre + 6, bottom + 14, MAROON)
    c.put(centre + 4, bottom + 14, NAVY)
    c.put(centre + 4, bottom + 13, MAROON)

    return c.pixels


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    files = {
        "toolbar.bmp": bmp_file(toolbar_strip()),
        "about.bmp": bmp_file(about_picture()),
        "main.ico": ico_file(icon_images("main")),
        "tray.ico": ico_file(icon_images("tray")),
    }
    for name, data in files.items():
        with open(os.path.join(out, name), "wb") as target:
            target.write(data)


if __name__ == "__main__":
    main()
