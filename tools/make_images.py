#!/usr/bin/env python3
"""Writes the picture resources of ZORIVEN from the pixel art below.

    python3 tools/make_images.py

produces res/toolbar.bmp (ten 16x16 buttons in one 160x16 strip),
res/rows.bmp (four 16x16 list row pictures in one 64x16 strip) and
res/zoriven.ico (32x32 and 16x16).  Everything is 16 colours with the
standard VGA palette.  Standard library only; the output is byte for byte
the same on every run.

Each picture is drawn one character per pixel; LEGEND maps a character to
a palette index.  '.' is the background: light grey in the toolbar (shown
as the button face), dark red in the row strip (the list's mask colour)
and transparent in the icon.
"""

import os
import struct
import sys

PALETTE = [
    (0, 0, 0),        # 0 black
    (128, 0, 0),      # 1 dark red
    (0, 128, 0),      # 2 dark green
    (128, 128, 0),    # 3 olive
    (0, 0, 128),      # 4 navy
    (128, 0, 128),    # 5 purple
    (0, 128, 128),    # 6 teal
    (192, 192, 192),  # 7 light grey
    (128, 128, 128),  # 8 dark grey
    (255, 0, 0),      # 9 red
    (0, 255, 0),      # 10 green
    (255, 255, 0),    # 11 yellow
    (0, 0, 255),      # 12 blue
    (255, 0, 255),    # 13 magenta
    (0, 255, 255),    # 14 cyan
    (255, 255, 255),  # 15 white
]

LEGEND = {
    'K': 0,   # black
    'r': 1,   # dark red
    'g': 2,   # dark green
    'o': 3,   # olive
    'n': 4,   # navy
    'p': 5,   # purple
    't': 6,   # teal
    'l': 7,   # light grey
    'd': 8,   # dark grey
    'R': 9,   # red
    'G': 10,  # green
    'Y': 11,  # yellow
    'B': 12,  # blue
    'M': 13,  # magenta
    'C': 14,  # cyan
    'W': 15,  # white
}

LIGHT_GREY = 7
DARK_RED = 1

# ---------------------------------------------------------------------------
# Toolbar buttons, left to right

TOOLBAR = [
    # 0 copy: two overlapping text pages
    [
        "................",
        ".KKKKKK.........",
        ".KWWWWKK........",
        ".KWddWKWK.......",
        ".KWWWWKKKK......",
        ".KWdddKKKKKK....",
        ".KWWWWKWWWWKK...",
        ".KWdddKWddWKWK..",
        ".KWWWWKWWWWKKKK.",
        ".KWdddKWdddddWK.",
        ".KKKKKKWWWWWWWK.",
        "......KWdddddWK.",
        "......KWWWWWWWK.",
        "......KWdddWWWK.",
        "......KKKKKKKKK.",
        "................",
    ],
    # 1 duplicate: a framed picture and a red arrow
    [
        "..KKKKKKKKKKKK..",
        "..KCCCCCCCCCCK..",
        "..KCCCCCCYYCCK..",
        "..KCCgCCYYYYCK..",
        "..KCgGgCYYYYCK..",
        "..KgGGGgCYYCgK..",
        "..KGGGGGgCCgGK..",
        "..KGGGGGGggGGK..",
        "..KgGGGgggGGGK..",
        "..KKKKKKKKKKKK..",
        "....RRr...R.....",
        "....RRr...RR....",
        "....RRRRRRRRR...",
        "....RRRRRRRRRr..",
        ".....rrrrrRRr...",
        "..........Rr....",
    ],
    # 2 notify the browser: a globe
    [
        "................",
        ".....nnnnnn.....",
        "...nnCCBBGGnn...",
        "..nCCBBGGGGGBn..",
        "..nCBGGGGGGBBn..",
        ".nBBBGGGGGBBBBn.",
        ".nBBBBGGGBBBGGn.",
        ".nBBBBBGGBBGGGn.",
        ".nBBBBBBGBBGGgn.",
        ".nGBBBBBBBGGGgn.",
        ".nGGBBBBBBGGgBn.",
        "..nGBBBBBBBgBn..",
        "..nBBBBBBBBBBn..",
        "...nnBBBBBBnn...",
        ".....nnnnnn.....",
        "................",
    ],
    # 3 new: a blank page with a folded corner
    [
        "................",
        "...KKKKKKK......",
        "...KWWWWWKK.....",
        "...KWWWWWKWK....",
        "...KWWWWWKKKK...",
        "...KWWWWWWWWK...",
        "...KWWWWWWWWK...",
        "...KWWWWWWWWK...",
        "...KWWWWWWWWK...",
        "...KWWWWWWWWK...",
        "...KWWWWWWWWK...",
        "...KWWWWWWWWK...",
        "...KWWWWWWWWK...",
        "...KWWWWWWWWK...",
        "...KKKKKKKKKK...",
        "................",
    ],
    # 4 edit: a lined page and a pencil
    [
        "................",
        "KKKKKKKKK.......",
        "KWWWWWWWKK..KK..",
        "KWddddWWKWKKMMK.",
        "KWWWWWWWKKKWMMK.",
        "KWddddddWKWldK..",
        "KWWWWWWWKWYoK...",
        "KWdddddKWYoK....",
        "KWWWWWKWYoKK....",
        "KWdddKWYoKWK....",
        "KWWWWKllKWWK....",
        "KWddKlKWddWK....",
        "KWWKKWWWWWWK....",
        "KWWWWWWWWWWK....",
        "KKKKKKKKKKKK....",
        "................",
    ],
    # 5 delete: a black cross
    [
        "................",
        "................",
        "..KK.......KK...",
        "..KKK.....KKK...",
        "...KKK...KKK....",
        "....KKK.KKK.....",
        ".....KKKKK......",
        "......KKK.......",
        ".....KKKKK......",
        "....KKK.KKK.....",
        "...KKK...KKK....",
        "..KKK.....KKK...",
        "..KK.......KK...",
        "................",
        "................",
        "................",
    ],
    # 6 refresh: two green arrows going round
    [
        "................",
        ".....GGGGGg.....",
        "...GGGGGGGGGg...",
        "..GGGgggggGGGg..",
        "..ggg.....gGGg..",
        "...g.......GGg..",
        "..GGg......GGg..",
        ".GGGGg...gGGGGGg",
        "ggGGGgg...gGGGg.",
        "..GGg......gGg..",
        "..GGg.......g...",
        "..GGGg.....GGg..",
        "..gGGGGGGGGGGg..",
        "...ggGGGGGGgg...",
        ".....gggggg.....",
        "................",
    ],
    # 7 move up: a blue arrow pointing up
    [
        "................",
        ".......nn.......",
        "......nBBn......",
        ".....nBBBBn.....",
        "....nBBBBBBn....",
        "...nBBBBBBBBn...",
        "..nBBBBBBBBBBn..",
        "..nnnnBBBBnnnn..",
        ".....nBBBBn.....",
        ".....nBBBBn.....",
        ".....nBBBBn.....",
        ".....nBBBBn.....",
        ".....nBBBBn.....",
        ".....nBBBBn.....",
        ".....nnnnnn.....",
        "................",
    ],
    None,  # 8 move down: the up arrow upside down, filled in below
    # 9 up one level: a yellow folder with an arrow pointing up
    [
        "..........KK....",
        ".........KKKK...",
        "........KKKKKK..",
        "..........KK....",
        "..........KK....",
        ".KKKKK....KK....",
        "KYYYYYKKKKKKKK..",
        "KWWWWWWWWWWWWYK.",
        "KWYYYYYYYYYYYoK.",
        "KWYYYYYYYYYYYoK.",
        "KWYYYYYYYYYYYoK.",
        "KWYYYYYYYYYYYoK.",
        "KWYYYYYYYYYYYoK.",
        "KYooooooooooooK.",
        "KKKKKKKKKKKKKKK.",
        "................",
    ],
]
TOOLBAR[8] = TOOLBAR[7][::-1]

# ---------------------------------------------------------------------------
# List row pictures, left to right.  Dark red is the mask colour here, so it
# must not appear inside a picture.

ROWS = [
    # 0 group: a yellow folder
    [
        "................",
        "................",
        "................",
        ".KKKKK..........",
        "KYYYYYKKKKKKKK..",
        "KWWWWWWWWWWWWYK.",
        "KWYYYYYYYYYYYoK.",
        "KWYYYYYYYYYYYoK.",
        "KWYYYYYYYYYYYoK.",
        "KWYYYYYYYYYYYoK.",
        "KWYYYYYYYYYYYoK.",
        "KWYYYYYYYYYYYoK.",
        "KYooooooooooooK.",
        "KKKKKKKKKKKKKKK.",
        "................",
        "................",
    ],
    # 1 data item: a page of text
    [
        "................",
        "...KKKKKKK......",
        "...KWWWWWKK.....",
        "...KWdddWKWK....",
        "...KWWWWWKKKK...",
        "...KWddddddWK...",
        "...KWWWWWWWWK...",
        "...KWddddddWK...",
        "...KWWWWWWWWK...",
        "...KWddddddWK...",
        "...KWWWWWWWWK...",
        "...KWddddddWK...",
        "...KWWWWWWWWK...",
        "...KWddddWWWK...",
        "...KWWWWWWWWK...",
        "...KKKKKKKKKK...",
    ],
    # 2 address item: a page and a globe
    [
        "................",
        ".KKKKKKK........",
        ".KWWWWWKK.......",
        ".KWdddWKWK......",
        ".KWWWWWKKKK.....",
        ".KWddddddWK.....",
        ".KWWWWWWWWK.....",
        ".KWdddnnnnn.....",
        ".KWWWnCBGGGn....",
        ".KWddnCGGGBBn...",
        ".KWWnBGGGBBBGn..",
        ".KWWnBBGBBGGGn..",
        ".KKKnBBBBBGGgn..",
        "....nBBBBBBgBn..",
        ".....nBBBBBBn...",
        "......nnnnnn....",
    ],
    # 3 item of another kind: a yellow and grey triangle
    [
        "................",
        ".......KK.......",
        "......KYlK......",
        "......KYlK......",
        ".....KYYllK.....",
        ".....KYYllK.....",
        "....KYYYlllK....",
        "....KYYYlllK....",
        "...KYYYYllldK...",
        "...KYYYYllldK...",
        "..KYYYYYllllK...",
        "..KYYYYYlllldK..",
        ".KYYYYYYllllldK.",
        ".KYYYYYYlllldddK",
        "KKKKKKKKKKKKKKKK",
        "................",
    ],
]

# ---------------------------------------------------------------------------
# Program icon: a paper clip across a yellow triangle

ICON32 = [
    "................................",
    "................................",
    "...............KK...............",
    "...............KK...............",
    "..............KKKK..............",
    "..............KKKK..............",
    ".............KKYYKK.............",
    ".............KKYYKK....ddddd....",
    "............KKYYYYKK..dllllld...",
    "............KYYYdYYK.dlddddlld..",
    "...........KKYYdldYKdld....dld..",
    "..........KKYYdldYYdld.....dld..",
    "..........KKYdldYYdldK.....dld..",
    ".........KKYdldYYdldYKK....dld..",
    ".........KKdldYYdldYYKK...dld...",
    "........KKdldYYdldYYdYKK.dld....",
    "........KdldYYdldYYdldKKdld.....",
    ".......KdldYYdldYYdldYYdld......",
    ".......dldYYdldYYdldYYdld.......",
    "......dldYYdldYYdldYYdldKK......",
    ".....dldYYdldYYdldYYdldYKK......",
    "....dlldYdldYYdldYYdldYYYKK.....",
    "....dldYYdldddldYYdldYYYYKK.....",
    "....dldYYdlllldYYdldYYYYYYKK....",
    "....dldYYYddddYYdldYYYYYYYKK....",
    "...KKdldYYYYYYYdldYYYYYYYYYKK...",
    "...KKdlldYYYYddldYYYYYYYYYYKK...",
    "..KKYYdllddddlldYYYYYYYYYYYYKK..",
    "..KYYYYdlllllldYYYYYYYYYYYYYYK..",
    ".KKKKKKKddddddKKKKKKKKKKKKKKKKK.",
    "KKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKK",
    "................................",
]

ICON16 = [
    "................",
    ".......KK.......",
    "......KYYK......",
    "......KYYK......",
    ".....KYYldKllld.",
    ".....KYldYldddld",
    "....KYldYldK..ld",
    "....KldYldYK..ld",
    "...KldYldYldKld.",
    "...ldYldYldYld..",
    "..ldYldYldYldK..",
    "..ldYdlldYldYK..",
    ".KdldYddYldYYYK.",
    ".KYdllllldYYYYK.",
    "KYYYdddddYYYYYYK",
    "KKKKKKKKKKKKKKKK",
]

# ---------------------------------------------------------------------------


def pixels(art, size, background):
    """Palette indices of one picture; background (None: transparent) for '.'."""
    if len(art) != size or any(len(row) != size for row in art):
        raise ValueError('picture is not %dx%d' % (size, size))
    out = []
    for row in art:
        line = []
        for ch in row:
            if ch == '.':
                line.append(background)
            elif ch in LEGEND:
                line.append(LEGEND[ch])
            else:
                raise ValueError('unknown pixel character %r' % ch)
        out.append(line)
    return out


def strip(arts, background):
    """Pictures side by side, as rows of palette indices."""
    pics = [pixels(a, 16, background) for a in arts]
    return [sum((p[y] for p in pics), []) for y in range(16)]


def row_bytes_4bpp(line):
    data = bytearray()
    for x in range(0, len(line), 2):
        hi = line[x]
        lo = line[x + 1] if x + 1 < len(line) else 0
        data.append((hi << 4) | lo)
    while len(data) % 4:
        data.append(0)
    return bytes(data)


def row_bytes_1bpp(bits):
    data = bytearray()
    for x in range(0, len(bits), 8):
        byte = 0
        for i, b in enumerate(bits[x:x + 8]):
            if b:
                byte |= 0x80 >> i
        data.append(byte)
    while len(data) % 4:
        data.append(0)
    return bytes(data)


def palette_bytes():
    return b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)


def info_header(width, height, image_size):
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0,
                       image_size, 0, 0, 16, 0)


def bmp_4bpp(img):
    """A whole .bmp file of palette indices img (rows top to bottom)."""
    width, height = len(img[0]), len(img)
    bits = b''.join(row_bytes_4bpp(line) for line in reversed(img))
    offset = 14 + 40 + 16 * 4
    head = struct.pack('<2sIHHI', b'BM', offset + len(bits), 0, 0, offset)
    return head + info_header(width, height, len(bits)) + palette_bytes() + bits


def icon_image(img):
    """One icon image: header, palette, colour bits, then the AND mask."""
    size = len(img)
    xor = b''.join(row_bytes_4bpp([0 if v is None else v for v in line])
                   for line in reversed(img))
    mask = b''.join(row_bytes_1bpp([v is None for v in line])
                    for line in reversed(img))
    return (info_header(size, 2 * size, len(xor) + len(mask))
            + palette_bytes() + xor + mask)


def ico(imgs):
    count = len(imgs)
    blobs = [icon_image(img) for img in imgs]
    out = struct.pack('<HHH', 0, 1, count)
    offset = 6 + 16 * count
    for img, blob in zip(imgs, blobs):
        size = len(img)
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 16, 0, 1, 4,
                           len(blob), offset)
        offset += len(blob)
    return out + b''.join(blobs)


def check_art():
    """Quick self-check of the pictures before anything is written."""
    assert len(TOOLBAR) == 10 and len(ROWS) == 4
    for art in ROWS:
        assert not any('r' in row for row in art), 'mask colour inside a row picture'
    for art in TOOLBAR:
        pixels(art, 16, LIGHT_GREY)
    pixels(ICON32, 32, None)
    pixels(ICON16, 16, None)


def build():
    """The three files, as {name: bytes}."""
    check_art()
    toolbar = strip(TOOLBAR, LIGHT_GREY)
    rows = strip(ROWS, DARK_RED)
    icon = [pixels(ICON32, 32, None), pixels(ICON16, 16, None)]
    files = {
        'toolbar.bmp': bmp_4bpp(toolbar),
        'rows.bmp': bmp_4bpp(rows),
        'zoriven.ico': ico(icon),
    }
    # Sizes follow from the layout; a wrong one means a broken writer.
    assert len(files['toolbar.bmp']) == 118 + 80 * 16
    assert len(files['rows.bmp']) == 118 + 32 * 16
    assert len(files['zoriven.ico']) == 6 + 32 + (40 + 64 + 512 + 128) + (40 + 64 + 128 + 64)
    return files


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = os.path.join(here, os.pardir, 'res')
    if len(sys.argv) > 1:
        out_dir = sys.argv[1]
    for name, data in sorted(build().items()):
        with open(os.path.join(out_dir, name), 'wb') as f:
            f.write(data)
        print('wrote %s (%d bytes)' % (os.path.normpath(os.path.join(out_dir, name)), len(data)))


if __name__ == '__main__':
    main()
