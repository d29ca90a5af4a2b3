"""Where the program puts its board on screen and how its cells and counters look: the
window's measurements, the tile pictures recognised against the generated bitmaps, and the
seven-segment digits."""

import os
import struct

from desktop import Failure
from resource_ids import tile_ids


# AdjustWindowRect under Wine for the overlapped style with a menu.
FRAME_SIDE = 4
FRAME_TOP = 42
FOOT_HEIGHT = 36
# A counter panel's width; the window is never narrower than two of them side by side.
PANEL_WIDTH = 82
CELL_BACKGROUND = 0xDDDDDD

# name: (columns, rows, mines) of the competition levels used here.
NOVICE = (22, 12, 22)


class Tiles:
    """Measurements and bitmap ids of one tile set."""

    def __init__(self, small):
        if small:
            self.width, self.height, self.body, self.slant = 12, 12, 6, 3
            # The bits of the big mask's #040404 interior do not exist here.
            self.ignored_bits = 0
        else:
            self.width, self.height, self.body, self.slant = 24, 24, 14, 5
            # Inside the hexagon the big mask lets the destination's #040404 bits through.
            self.ignored_bits = 0x040404
        self.pitch = self.body + self.slant
        self.ids = tile_ids(small)


class Layout:
    """Where a board of the given size puts things, in the program's own arithmetic."""

    def __init__(self, columns, rows, tiles):
        self.columns, self.rows, self.tiles = columns, rows, tiles
        field_width = columns * tiles.body + (columns + 1) * tiles.slant
        field_height = (rows + 2) * tiles.height
        self.window_width = max(field_width, 2 * PANEL_WIDTH) + 2 * FRAME_SIDE
        self.window_height = field_height + FRAME_TOP + FRAME_SIDE
        self.outer_height = self.window_height + FOOT_HEIGHT
        # The lowest line of the field in window coordinates, where the feet begin.
        self.field_bottom = FRAME_TOP + (2 * rows + 1) * tiles.height // 2

    def cell_origin(self, column, row):
        t = self.tiles
        x = t.pitch * (column - 1) + 1
        y = t.height * (row - 1) + 1 + (t.height // 2 if column % 2 else 0)
        return x, y

    def cells(self):
        return [(c, r) for c in range(1, self.columns + 1) for r in range(1, self.rows + 1)]

    def outside_points(self):
        """Window points that the outline cuts away."""
        t = self.tiles
        return [(1, 1), (self.window_width - 2, 1),
                (self.window_width // 2, self.field_bottom + FOOT_HEIGHT // 2),
                # the notch of the left zig-zag, half a tile below the client top
                (FRAME_SIDE + t.slant // 2, FRAME_TOP + t.height // 2),
                (self.window_width // 2, self.outer_height - 2)]

    def inside_points(self):
        """Window points that the outline keeps: the field and both feet."""
        return [(self.window_width // 2, FRAME_TOP + self.tiles.height),
                (FRAME_SIDE + 40, self.field_bottom + FOOT_HEIGHT // 2),
                (self.window_width - FRAME_SIDE - 40, self.field_bottom + FOOT_HEIGHT // 2)]


# Lit segments of each digit: top, middle, bottom, upper left, lower left, upper right,
# lower right.
SEGMENT_DIGITS = {
    (1, 0, 1, 1, 1, 1, 1): 0, (0, 0, 0, 0, 0, 1, 1): 1, (1, 1, 1, 0, 1, 1, 0): 2,
    (1, 1, 1, 0, 0, 1, 1): 3, (0, 1, 0, 1, 0, 1, 1): 4, (1, 1, 1, 1, 0, 0, 1): 5,
    (1, 1, 1, 1, 1, 0, 1): 6, (1, 0, 0, 0, 0, 1, 1): 7, (1, 1, 1, 1, 1, 1, 1): 8,
    (1, 1, 1, 1, 0, 1, 1): 9,
}
# A point in the middle of each segment, relative to the digit origin, in the order above.
SEGMENT_CENTRES = [(9, 1), (9, 16), (9, 31), (1, 9), (1, 24), (16, 9), (16, 24)]


# --- Pictures.

def read_bmp(path):
    """The pixels (0xRRGGBB, rows top to bottom) of an uncompressed or RLE8 bitmap file."""
    with open(path, "rb") as f:
        data = f.read()
    offset = struct.unpack_from("<I", data, 10)[0]
    header = struct.unpack_from("<I", data, 14)[0]
    width, height, _, bits, compression = struct.unpack_from("<iiHHI", data, 18)
    colours = struct.unpack_from("<I", data, 46)[0] or (1 << bits if bits <= 8 else 0)
    palette = []
    for i in range(colours):
        b, g, r, _ = data[14 + header + 4 * i:18 + header + 4 * i]
        palette.append(r << 16 | g << 8 | b)
    rows = [[0] * width for _ in range(abs(height))]
    pixels = data[offset:]
    if compression == 1:
        x = y = i = 0
        while i < len(pixels):
            count, value = pixels[i], pixels[i + 1]
            i += 2
            if count:
                for _ in range(count):
                    rows[y][x] = palette[value]
                    x += 1
            elif value == 0:
                x, y = 0, y + 1
            elif value == 1:
                break
            elif value == 2:
                x, y = x + pixels[i], y + pixels[i + 1]
                i += 2
            else:
                for k in range(value):
                    rows[y][x] = palette[pixels[i + k]]
                    x += 1
                i += value + (value & 1)
    elif compression == 0:
        stride = (width * bits + 31) // 32 * 4
        for y in range(abs(height)):
            line = pixels[y * stride:(y + 1) * stride]
            for x in range(width):
                if bits == 24:
                    b, g, r = line[3 * x:3 * x + 3]
                    rows[y][x] = r << 16 | g << 8 | b
                elif bits == 8:
                    rows[y][x] = palette[line[x]]
                elif bits == 4:
                    byte = line[x // 2]
                    rows[y][x] = palette[byte >> 4 if x % 2 == 0 else byte & 15]
                else:
                    raise Failure("%s: %d bits per pixel not read here" % (path, bits))
    else:
        raise Failure("%s: compression %d not read here" % (path, compression))
    if height > 0:
        rows.reverse()
    return rows


class Recogniser:
    """Names the picture of a cell from the pixels inside its hexagon.

    The window outline follows column 1 with a frame it takes to be 4 pixels wide; Wine's is
    3, so the outline cuts one pixel off the left slant of column 1. Those cells are told by
    the pixels right of their slant.
    """

    def __init__(self, bitmap_dir, tiles):
        self.tiles = tiles
        mask = read_bmp(os.path.join(bitmap_dir, "bitmap_%d.bmp" % tiles.ids["Mask"]))
        inside = [(x, y) for y in range(tiles.height) for x in range(tiles.width)
                  if mask[y][x] != 0xFFFFFF]
        self.keep = ~tiles.ignored_bits & 0xFFFFFF
        pictures = {name: read_bmp(os.path.join(bitmap_dir, "bitmap_%d.bmp" % bitmap_id))
                    for name, bitmap_id in tiles.ids.items() if name != "Mask"}
        self.inside = inside
        self.tables = {}
        for first_column, points in ((False, inside),
                                     (True, [(x, y) for x, y in inside if x >= tiles.slant])):
            table = {}
            for name, picture in pictures.items():
                table[tuple(picture[y][x] & self.keep for x, y in points)] = name
            self.tables[first_column] = (points, table)

    def name(self, screen, left, top, first_column=False):
        """The picture whose tile has its top-left corner at screen (left, top), or None."""
        points, table = self.tables[first_column]
        return table.get(tuple(screen.pixel(left + x, top + y) & self.keep for x, y in points))


class BoardOnScreen:
    def __init__(self, window, layout, recogniser):
        self.window, self.layout, self.recogniser = window, layout, recogniser
        self.client_left = self.client_top = None

    def find_client(self, screen):
        """The client area's corner: the background row below the rectangle's black top edge.

        Column P + 2 of the client lies between the first two columns' hexagons, so scanning
        down it the first background pixel is client row 1; along that row the background
        ends where the hexagon of cell (2, 1) begins.
        """
        t = self.layout.tiles
        w = self.window
        gap_x = w.left + 3 + t.pitch + 2
        first_row = next((y for y in range(w.top, w.top + 80)
                          if screen.pixel(gap_x, y) == CELL_BACKGROUND), None)
        if first_row is None:
            return False
        # The hexagon's top row starts one slant in from its tile's corner.
        hexagon_start = t.pitch + 1 + t.slant
        edge = next((x for x in range(w.left + 6, w.left + 80)
                     if screen.pixel(x, first_row) != CELL_BACKGROUND), None)
        if edge is None:
            return False
        self.client_left = edge - hexagon_start
        self.client_top = first_row - 1
        if not (0 <= self.client_left - w.left <= 10 and 20 <= self.client_top - w.top <= 80):
            raise Failure("implausible client corner (%d, %d) in %s"
                          % (self.client_left, self.client_top, w))
        return True

    def client_size(self):
        frame = self.client_left - self.window.left
        return (self.window.width - 2 * frame,
                self.window.height - (self.client_top - self.window.top) - frame)

    def tile_corner(self, column, row):
        x, y = self.layout.cell_origin(column, row)
        return self.client_left + x, self.client_top + y

    def cell_centre(self, column, row):
        x, y = self.tile_corner(column, row)
        return x + self.layout.tiles.width // 2, y + self.layout.tiles.height // 2

    def pictures(self, screen):
        return {cell: self.recogniser.name(screen, *self.tile_corner(*cell), cell[0] == 1)
                for cell in self.layout.cells()}

    def counter(self, screen, right):
        """The number a counter shows, or None when a place shows no digit."""
        width, height = self.client_size()
        y0 = self.client_top + height - self.layout.tiles.height * 3 // 2 - 36
        if right:
            places = [width - 80, width - 60, width - 40, width - 20]
        else:
            places = [2, 22, 42, 62]
        digits = []
        for place in places:
            lit = []
            for dx, dy in SEGMENT_CENTRES:
                colour = screen.pixel(self.client_left + place + dx, y0 + dy)
                red, green = colour >> 16 & 0xFF, colour >> 8 & 0xFF
                lit.append(1 if red >= 0xC0 and green < 0x40 else 0)
            if any(lit):
                if tuple(lit) not in SEGMENT_DIGITS:
                    return None
                digits.append(SEGMENT_DIGITS[tuple(lit)])
        return int("".join(map(str, digits))) if digits else None


