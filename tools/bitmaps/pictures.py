"""Every picture of the program, by resource name, composed from generated faces and the
drawn layers of resources/art, with the checks that keep them within the fixed rules."""

import os

import artfile
import formats
import hexagon

WHITE = 0xFFFFFF
FACE = 0xC0C0C0
RED = 0xFF0000
BIG_BLACK = 0x040404  # inside the big mask and around the big pictures
SMALL_BLACK = 0x000000
UNLIT = 0x330000
LIT = 0xFF0000
# The segments share the panel's black, so a segment copied onto the panel changes only its bar.
PANEL_BLACK = 0x040404

DIGIT_COLOURS = {1: 0x0000FF, 2: 0x008000, 3: 0xFF0000, 4: 0x000080, 5: 0x800080, 6: 0x008080}

_SIDES = ("top", "bottom", "upper_left", "lower_left", "upper_right", "lower_right")


class TileSet:
    def __init__(self, name, outline, outside, dark, rim_width):
        self.name = name
        self.outline = outline
        self.outside = outside
        self.dark = dark
        self.rim_width = rim_width

    def covered(self):
        # Light from the upper left: white rim there, dark grey on the sides that turn away,
        # black below; the big set's wider rim has an inner dark line along the shadowed sides.
        w = self.rim_width
        rims = {
            "top": [WHITE] * w,
            "upper_left": [WHITE] * w,
            "upper_right": [self.dark] + [None] * (w - 1),
            "lower_left": [self.dark] + [None] * (w - 1),
            "bottom": [0x000000] + [self.dark] * (w - 1),
            "lower_right": [0x000000] + [self.dark] * (w - 1),
        }
        return hexagon.face(self.outline, FACE, self.outside, rims)

    def flat(self, colour, edge=None):
        rims = {name: [edge] for name in _SIDES} if edge is not None else None
        return hexagon.face(self.outline, colour, self.outside, rims)

    def mask(self):
        return hexagon.face(self.outline, self.outside, WHITE)


BIG = TileSet("big", hexagon.BIG, BIG_BLACK, 0x868686, 2)
SMALL = TileSet("small", hexagon.SMALL, SMALL_BLACK, 0x808080, 1)

# The big set's Covered and Open1 are plain 8-bit; the other big pictures are RLE8.
BIG_UNCOMPRESSED = {"Covered", "Open1"}


class Art:
    """The drawn layers, read from the art folder on first use."""

    def __init__(self, folder):
        self.folder = folder
        self.layers = {}

    def __call__(self, name):
        if name not in self.layers:
            self.layers[name] = artfile.load(os.path.join(self.folder, name + ".txt"))
        return self.layers[name]


def _on_tile(tiles, art, name):
    """A drawn layer of the tile set, refused if it paints outside the hexagon."""
    layer = art(os.path.join(tiles.name, name))
    outside = [p for p in layer.painted() if not tiles.outline.inside(*p)]
    if outside:
        raise artfile.ArtError("%s: paints outside the hexagon at %s" % (layer.name, outside[:4]))
    return layer


def tile_pictures(tiles, art):
    """The fourteen pictures of a tile set, by the names of the resource table's tiles."""
    covered = tiles.covered()
    opened = tiles.flat(FACE, 0xB2B2B2 if tiles is BIG else None)
    mine = _on_tile(tiles, art, "mine")
    # Big mines lie on the opened face with a darker edge; small ones on the raised face.
    mine_face = tiles.flat(FACE, 0x868686) if tiles is BIG else covered
    pictures = {
        "Mask": tiles.mask(),
        "Covered": covered,
        "Question": _on_tile(tiles, art, "question").over(covered),
        "Flag": _on_tile(tiles, art, "flag").over(covered),
        "Open0": opened,
        "Mine": mine.over(mine_face),
    }
    for digit in DIGIT_COLOURS:
        pictures["Open%d" % digit] = _on_tile(tiles, art, "digit%d" % digit).over(opened)
    pictures["WrongFlag"] = _on_tile(tiles, art, "cross").over(pictures["Mine"])
    pictures["Exploded"] = mine.over(tiles.flat(RED))
    return pictures


def _segment(width, height, spans, colour):
    return [[colour if first <= x <= last else PANEL_BLACK for x in range(width)]
            for first, last in spans]


# Cut corners of the segment bars: per row, the inclusive range of columns of the bar.
HORIZONTAL_SPANS = [(1, 10), (0, 11), (1, 10)]
VERTICAL_SPANS = [(1, 1)] + [(0, 2)] * 10 + [(1, 1)]

# Where a digit's segments sit relative to its origin.
HORIZONTAL_PLACES = [(3, 0), (3, 15), (3, 30)]
VERTICAL_PLACES = [(0, 3), (0, 18), (15, 3), (15, 18)]
PANEL_DIGIT_ORIGINS = [(2, 1), (22, 1), (42, 1), (62, 1)]


def segment_pictures():
    return {
        "IDB_SEGMENT_V_UNLIT": _segment(3, 12, VERTICAL_SPANS, UNLIT),
        "IDB_SEGMENT_H_UNLIT": _segment(12, 3, HORIZONTAL_SPANS, UNLIT),
        "IDB_SEGMENT_H_LIT": _segment(12, 3, HORIZONTAL_SPANS, LIT),
        "IDB_SEGMENT_V_LIT": _segment(3, 12, VERTICAL_SPANS, LIT),
    }


def paste(picture, piece, x0, y0):
    for y, row in enumerate(piece):
        picture[y0 + y][x0:x0 + len(row)] = row


def counter_panel(segments):
    panel = [[PANEL_BLACK] * 82 for _ in range(36)]
    for ox, oy in PANEL_DIGIT_ORIGINS:
        for dx, dy in HORIZONTAL_PLACES:
            paste(panel, segments["IDB_SEGMENT_H_UNLIT"], ox + dx, oy + dy)
        for dx, dy in VERTICAL_PLACES:
            paste(panel, segments["IDB_SEGMENT_V_UNLIT"], ox + dx, oy + dy)
    return panel


def about_picture(art):
    """The name lettered over a light grey honeycomb on white."""
    grid_colour = 0xC8C8C8
    picture = [[WHITE] * 48 for _ in range(48)]
    outline = hexagon.SMALL
    depth = hexagon.rim_depths(outline)
    # The small tile's edge ring, repeated at the playing field's column pitch.
    for column in range(-1, 7):
        for row in range(-1, 6):
            x0 = column * 9
            y0 = row * 12 + (6 if column % 2 else 0) - 2
            for (x, y), d in depth.items():
                if d == 1 and 0 <= x0 + x < 48 and 0 <= y0 + y < 48:
                    picture[y0 + y][x0 + x] = grid_colour
    layer = art("about")
    if (layer.width, layer.height) != (48, 48):
        raise artfile.ArtError("%s: the About picture is 48x48" % layer.name)
    # A white margin keeps the grid lines from touching the letters.
    for x, y in layer.painted():
        for dy in (-1, 0, 1):
            for dx in (-1, 0, 1):
                if 0 <= x + dx < 48 and 0 <= y + dy < 48:
                    picture[y + dy][x + dx] = WHITE
    return layer.over(picture)


# The icon group that the window icon is drawn for.
ICON = "IDI_TESSARA"


def icon_pictures(art):
    """The window icon at 32 and 16 pixels: a raised tile with a flag, clear outside."""
    icons = []
    for size, slant, rim in ((32, 7, 2), (16, 3, 1)):
        outline = hexagon.Outline.stepped(size, slant)
        tiles = TileSet("icon%d" % size, outline, None, 0x808080, rim)
        layer = art("icon%d" % size)
        if (layer.width, layer.height) != (size, size):
            raise artfile.ArtError("%s: must be %dx%d" % (layer.name, size, size))
        picture = layer.over(tiles.covered())
        stray = [p for p in layer.painted() if not outline.inside(*p)]
        if stray:
            raise artfile.ArtError("%s: paints outside the hexagon at %s" % (layer.name, stray[:4]))
        icons.append(picture)
    return icons


def check_tile(tiles, name, picture):
    """The fixed rules of every tile picture: its size, its colour outside the hexagon, and
    for the mask its black inside."""
    size = tiles.outline.size
    if len(picture) != size or any(len(row) != size for row in picture):
        raise ValueError("%s %s: not %dx%d" % (tiles.name, name, size, size))
    outside = WHITE if name == "Mask" else tiles.outside
    for y, row in enumerate(picture):
        for x, colour in enumerate(row):
            inside = tiles.outline.inside(x, y)
            if (not inside and colour != outside) or (
                    inside and name == "Mask" and colour != tiles.outside):
                raise ValueError("%s %s: (%d, %d) %s the hexagon is #%06X" %
                                 (tiles.name, name, x, y, "inside" if inside else "outside",
                                  colour))
    if tiles is SMALL:
        stray = {c for row in picture for c in row} - set(formats.WINDOWS_16)
        if stray:
            raise ValueError("small %s: colours outside the 16-colour palette: %s" %
                             (name, ", ".join("#%06X" % c for c in sorted(stray))))


def all_pictures(art, table):
    """Every bitmap by its name in the resource table, and the icon's two sizes."""
    pictures = {}
    for tiles, small in ((BIG, False), (SMALL, True)):
        for name, picture in tile_pictures(tiles, art).items():
            check_tile(tiles, name, picture)
            if name not in table.tiles:
                raise ValueError("the resource table has no tile picture %s" % name)
            pictures[table.tiles[name][small]] = picture
    segments = segment_pictures()
    pictures.update(segments)
    pictures["IDB_COUNTER_PANEL"] = counter_panel(segments)
    pictures["IDB_ABOUT"] = about_picture(art)
    return pictures, icon_pictures(art)


def encoded(table, name, picture):
    """A bitmap's file: the big tiles 8-bit, run-length encoded but for BIG_UNCOMPRESSED, the
    small tiles 4-bit in the 16-colour palette, the About picture plain 8-bit, the counters'
    pictures 24-bit."""
    for picture_name, (big, small) in table.tiles.items():
        if name == big:
            return formats.bmp8(picture, picture_name not in BIG_UNCOMPRESSED)
        if name == small:
            return formats.bmp4(picture)
    if name == "IDB_ABOUT":
        return formats.bmp8(picture, rle=False)
    return formats.bmp24(picture)
