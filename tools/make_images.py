#!/usr/bin/env python3
"""Writes the picture resources of ZORIVEN from the pixel art below.

    python3 tools/make_images.py

produces res/toolbar.bmp (eleven 16x16 buttons in one 176x16 strip),
res/rows.bmp (four 16x16 list row pictures in one 64x16 strip) and
res/zoriven.ico (48x48, 32x32 and 16x16 in 32-bit colour with an alpha
channel, and 32x32 and 16x16 in 16 colours).  The bitmaps are 16 colours
with the standard VGA palette.  Standard library only; the output is byte for byte
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
# 10 search the whole library: a magnifying glass
TOOLBAR.append([
    "................",
    "....KKKK........",
    "...KCCWWK.......",
    "..KCWWCCCK......",
    ".KCWCCCCCCK.....",
    ".KCWCCCCCCK.....",
    ".KCCCCCCCCK.....",
    ".KCCCCCCCCK.....",
    "..KCCCCCCK......",
    "...KCCCCKK......",
    "....KKKKooK.....",
    "..........ooK...",
    "...........ooK..",
    "............ooK.",
    ".............oK.",
    "..............K.",
])

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
# Program icon: a paper clip holding a note.  The 16x16 picture is drawn by
# hand, pixel for pixel, so it stays crisp; the 32x32 and 48x48 ones are
# drawn from the same shapes, measured in sixteenths of the icon, with
# smooth edges.  The 16-colour images for old displays are these pictures
# reduced to the palette above.

ICON_COLOURS = {
    '.': None,                   # transparent
    'o': (104, 112, 128, 255),   # the note's edge
    'w': (255, 255, 255, 255),   # the note
    'b': (120, 156, 214, 255),   # its lines of text
    'c': (40, 74, 140, 255),     # the clip
}

ICON16_NOTE = [
    "................",
    "................",
    "................",
    ".ooooooooooo....",
    ".owwwwwwwwwo....",
    ".owwwwwwwwwo....",
    ".owbbbbwwwwo....",
    ".owwwwwwwwwo....",
    ".owbbbbwwwwo....",
    ".owwwwwwwwwo....",
    ".owbbbbbbbwo....",
    ".owwwwwwwwwo....",
    ".owbbbbbbbwo....",
    ".owwwwwwwwwo....",
    ".owwwwwwwwwo....",
    ".ooooooooooo....",
]

ICON16_CLIP = [
    "...........ccc..",
    "..........c...c.",
    "........c.c.c.c.",
    "........c.c.c.c.",
    "........c.c.c.c.",
    "........c.c.c.c.",
    "........c..c..c.",
    "........c.....c.",
    ".........c...c..",
    "..........ccc...",
    "................",
    "................",
    "................",
    "................",
    "................",
    "................",
]


def icon16_rgba():
    out = []
    for note, clip in zip(ICON16_NOTE, ICON16_CLIP):
        out.append([ICON_COLOURS[c if c != '.' else n] for n, c in zip(note, clip)])
    return out


def _segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / float(dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    return ((px - ax - t * dx) ** 2 + (py - ay - t * dy) ** 2) ** 0.5


def _arc_distance(px, py, cx, cy, r, lower):
    """Distance to the lower (or upper) half of a circle."""
    if (py >= cy) == lower:
        return abs(((px - cx) ** 2 + (py - cy) ** 2) ** 0.5 - r)
    return min(((px - cx - r) ** 2 + (py - cy) ** 2) ** 0.5,
               ((px - cx + r) ** 2 + (py - cy) ** 2) ** 0.5)


# The clip's wire, in sixteenths: four straight runs and three bends, as in
# the 16x16 picture (pixel centres at .5).
CLIP_LINES = [(8.5, 2.5, 8.5, 7.5), (10.5, 2.0, 10.5, 6.0),
              (12.5, 2.5, 12.5, 6.0), (14.5, 2.0, 14.5, 7.5)]
CLIP_ARCS = [(12.5, 2.0, 2.0, False), (11.5, 7.5, 3.0, True), (11.5, 6.0, 1.0, True)]
NOTE_BOX = (1.0, 3.0, 12.0, 16.0)        # left, top, right, bottom
NOTE_LINES = [(3.0, 6.0, 7.0), (3.0, 8.0, 7.0), (3.0, 10.0, 10.0), (3.0, 12.0, 10.0)]


def _icon_colour_at(u, v, px):
    """Colour (r, g, b) or None at a point, in sixteenths; px = pixels per unit."""
    wire = 0.45 * max(1.0, 1.6 / px)
    dist = min([_segment_distance(u, v, *line) for line in CLIP_LINES] +
               [_arc_distance(u, v, *arc) for arc in CLIP_ARCS])
    if dist <= wire:
        return ICON_COLOURS['c'][:3]
    left, top, right, bottom = NOTE_BOX
    if left <= u < right and top <= v < bottom:
        edge = 1.0 / px
        if u < left + edge or u >= right - edge or v < top + edge or v >= bottom - edge:
            return ICON_COLOURS['o'][:3]
        for x0, y0, x1 in NOTE_LINES:
            if x0 <= u < x1 and y0 + 0.15 <= v < y0 + 0.85:
                return ICON_COLOURS['b'][:3]
        return ICON_COLOURS['w'][:3]
    return None


def icon_rgba(size, samples=4):
    """A smooth picture of size x size: rows of (r, g, b, a)."""
    px = size / 16.0
    out = []
    for y in range(size):
        line = []
        for x in range(size):
            total = [0, 0, 0]
            hits = 0
            for sy in range(samples):
                for sx in range(samples):
                    c = _icon_colour_at((x + (sx + 0.5) / samples) / px,
                                        (y + (sy + 0.5) / samples) / px, px)
                    if c:
                        hits += 1
                        for i in range(3):
                            total[i] += c[i]
            if hits == 0:
                line.append(None)
            else:
                alpha = round(255 * hits / (samples * samples))
                line.append(tuple(round(t / hits) for t in total) + (alpha,))
        out.append(line)
    return out


def to_palette(rgba):
    """Nearest colour of the 16; half-transparent pixels become transparent."""
    out = []
    for line in rgba:
        row = []
        for p in line:
            if p is None or p[3] < 128:
                row.append(None)
                continue
            best = min(range(16), key=lambda i: sum((PALETTE[i][k] - p[k]) ** 2 for k in range(3)))
            row.append(best)
        out.append(row)
    return out


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


def icon_image32(img):
    """One 32-bit icon image with its alpha channel, and the AND mask."""
    size = len(img)
    xor = b''.join(b''.join(struct.pack('<BBBB', 0, 0, 0, 0) if p is None else
                            struct.pack('<BBBB', p[2], p[1], p[0], p[3]) for p in line)
                   for line in reversed(img))
    mask = b''.join(row_bytes_1bpp([p is None for p in line]) for line in reversed(img))
    head = struct.pack('<IiiHHIIiiII', 40, size, 2 * size, 1, 32, 0,
                       len(xor) + len(mask), 0, 0, 0, 0)
    return head + xor + mask


def ico(imgs):
    """imgs: (picture, bits per pixel) pairs; 4 is palette indices, 32 RGBA."""
    count = len(imgs)
    blobs = [icon_image32(img) if bits == 32 else icon_image(img) for img, bits in imgs]
    out = struct.pack('<HHH', 0, 1, count)
    offset = 6 + 16 * count
    for (img, bits), blob in zip(imgs, blobs):
        size = len(img)
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 16 if bits == 4 else 0, 0, 1,
                           bits, len(blob), offset)
        offset += len(blob)
    return out + b''.join(blobs)


def check_art():
    """Quick self-check of the pictures before anything is written."""
    assert len(TOOLBAR) == 11 and len(ROWS) == 4
    for art in ROWS:
        assert not any('r' in row for row in art), 'mask colour inside a row picture'
    for art in TOOLBAR:
        pixels(art, 16, LIGHT_GREY)
    assert len(ICON16_NOTE) == len(ICON16_CLIP) == 16
    for row in ICON16_NOTE + ICON16_CLIP:
        assert len(row) == 16 and all(c in ICON_COLOURS for c in row)


def build():
    """The three files, as {name: bytes}."""
    check_art()
    toolbar = strip(TOOLBAR, LIGHT_GREY)
    rows = strip(ROWS, DARK_RED)
    smooth32 = icon_rgba(32)
    icon = [(icon_rgba(48), 32), (smooth32, 32), (icon16_rgba(), 32),
            (to_palette(smooth32), 4), (to_palette(icon16_rgba()), 4)]
    files = {
        'toolbar.bmp': bmp_4bpp(toolbar),
        'rows.bmp': bmp_4bpp(rows),
        'zoriven.ico': ico(icon),
    }
    # Sizes follow from the layout; a wrong one means a broken writer.
    assert len(files['toolbar.bmp']) == 118 + 88 * 16
    assert len(files['rows.bmp']) == 118 + 32 * 16
    assert len(files['zoriven.ico']) == (6 + 16 * 5 + (40 + 48 * 48 * 4 + 48 * 8)
                                         + (40 + 32 * 32 * 4 + 128) + (40 + 16 * 16 * 4 + 64)
                                         + (40 + 64 + 512 + 128) + (40 + 64 + 128 + 64))
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
