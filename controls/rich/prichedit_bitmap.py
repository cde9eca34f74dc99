#!/usr/bin/env python3
"""Writes the rich text editor's tool bar images: 21 pictures of 16 x 16 pixels
side by side in one 16-colour BMP, white standing for transparent.

usage: prichedit_bitmap.py OUTPUT.bmp
"""
import struct
import sys

# Palette letters: '.' white (transparent), then the colours the pictures use.
PALETTE = {
    '.': (255, 255, 255), 'k': (0, 0, 0), 'g': (128, 128, 128), 'l': (192, 192, 192),
    'r': (192, 0, 0), 'b': (0, 0, 192), 'y': (255, 224, 96), 'n': (0, 0, 96), 'G': (0, 128, 0),
}


def blank():
    return [['.'] * 16 for _ in range(16)]


def art(rows):
    """A picture from up to 16 rows of up to 16 letters, centred."""
    p = blank()
    top = (16 - len(rows)) // 2
    for y, row in enumerate(rows):
        left = (16 - len(row)) // 2
        for x, c in enumerate(row):
            if c != ' ':
                p[top + y][left + x] = c
    return p


def lines(spans, colour='k'):
    """Horizontal bars (row, first, last) for the alignment pictures."""
    p = blank()
    for y, a, b in spans:
        for x in range(a, b + 1):
            p[y][x] = colour
    return p


def align(kind):
    spans = []
    for i, y in enumerate(range(2, 14, 2)):
        long = i % 2 == 0
        a, b = (1, 14) if long else {'left': (1, 9), 'centre': (4, 11), 'right': (6, 14), 'justify': (1, 14)}[kind]
        spans.append((y, a, b))
    return lines(spans)


BOLD = art(["kkkkkk ", "kk   kk", "kk   kk", "kkkkkk ", "kk   kk", "kk   kk", "kk   kk", "kkkkkk "])
ITALIC = art(["  kkkk", "   kk ", "   kk ", "  kk  ", "  kk  ", " kk   ", " kk   ", "kkkk  "])
UNDERLINE = art(["kk   kk", "kk   kk", "kk   kk", "kk   kk", "kk   kk", " kkkkk ", "       ", "kkkkkkk"])
STRIKE = art([" kkkkk ", "kk   kk", "kk     ", "rrrrrrr", "     kk", "kk   kk", " kkkkk "])
COLOR = art(["   k   ", "  kkk  ", " kk kk ", " kk kk ", "kkkkkkk", "kk   kk", "kk   kk", "       ",
             "rrrrrrrrrrr", "rrrrrrrrrrr"])
NUMBERING = art(["k  kkkkkkkk", "           ", "k  kkkkkkkk", "           ", "k  kkkkkkkk", "           ",
                 "k  kkkkkkkk"])
CUT = art(["k     k", "k     k", " k   k ", " k   k ", "  k k  ", "   k   ", "  k k  ", "bbb bbb",
           "b b b b", "bbb bbb"])
COPY = art(["kkkkkk    ", "k....k    ", "k.kkkkkkk ", "k.k.....k ", "k.k.kkk.k ", "kkk.....k ",
            "  k.kkk.k ", "  k.....k ", "  kkkkkkk "])
PASTE = art(["  kkk   ", "kkk.kkk ", "kyyyyyk ", "kyykkkkkk", "kyyk....k", "kyyk.kk.k", "kyyk....k",
             "kyyk.kk.k", "kkkkkkkkk"])
UNDO = art(["   b      ", "  bb      ", " bbbbbbb  ", "  bb    b ", "   b     b", "         b",
            "        b ", "   bbbbb  "])
PRINT = art(["   kkkkkk   ", "   k....k   ", "  kkkkkkkkk ", " kllllllllk ", " kllllllGlk ", " kkkkkkkkkk ",
             "   k....k   ", "   kkkkkk   "])
FIND = art(["  kkkk   ", " k....k  ", "k......k ", "k......k ", "k......k ", " k....k  ", "  kkkkkk ",
            "      kkk", "       kk"])
MENU = art(["kkkkkkkkkk", "          ", "kkkkkkkkkk", "          ", "kkkkkkkkkk", "          ",
            "   kkkkk  ", "    kkk   ", "     k    "])
OBJECT = art(["kkkkkkkkkk", "k........k", "k.bbbbbb.k", "k.b....b.k", "k.b....b.k", "k.bbbbbb.k",
              "k........k", "kkkkkkkkkk"])
IMAGE = art(["kkkkkkkkkkk", "k.........k", "k..yy.....k", "k..yy..G..k", "k.....GGG.k", "k..G.GGGGGk",
             "kGGGGGGGGGk", "kkkkkkkkkkk"])
SPECIAL = art(["  kkkkk  ", " kk   kk ", "kk     kk", "kk     kk", "kk     kk", " kk   kk ", "  k   k  ",
               "kkk   kkk"])
FIELD = art(["kkk     kkk", "k         k", "k  bbbbb  k", "k    b    k", "k    b    k", "k    b    k",
             "k         k", "kkk     kkk"])

# In the order of the tool bar table's image numbers.
IMAGES = [BOLD, ITALIC, UNDERLINE, STRIKE, align('left'), align('centre'), align('right'), COLOR, NUMBERING,
          CUT, COPY, PASTE, UNDO, PRINT, FIND, align('justify'), MENU, OBJECT, IMAGE, SPECIAL, FIELD]


def write_bmp(path, images):
    letters = list(PALETTE)
    index = {c: i for i, c in enumerate(letters)}
    width, height = 16 * len(images), 16
    stride = ((width * 4 + 31) // 32) * 4
    rows = []
    for y in range(height - 1, -1, -1):  # bottom-up
        pixels = [index[images[x // 16][y][x % 16]] for x in range(width)]
        row = bytearray()
        for x in range(0, width, 2):
            row.append(pixels[x] << 4 | (pixels[x + 1] if x + 1 < width else 0))
        row.extend(b'\0' * (stride - len(row)))
        rows.append(bytes(row))
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE.values())
    palette += b'\0' * (64 - len(palette))
    data = b''.join(rows)
    offset = 14 + 40 + 64
    header = struct.pack('<2sIHHI', b'BM', offset + len(data), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, len(data), 2835, 2835, 16, 0)
    with open(path, 'wb') as f:
        f.write(header + info + palette + data)


if __name__ == '__main__':
    assert len(IMAGES) == 21 and all(len(p) == 16 and all(len(r) == 16 for r in p) for p in IMAGES)
    write_bmp(sys.argv[1], IMAGES)
