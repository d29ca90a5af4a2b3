"""The hexagon of a square tile, and the faces drawn inside it.

A picture is a list of rows (top row first), each a list of 0xRRGGBB colours.
"""

import math

# The tile outlines that the hit test and the window outline assume: per band of rows
# (first row, last row) the inclusive range of columns inside the hexagon.
BIG_OUTLINE_BANDS = [
    (0, 1, 5, 18), (2, 3, 4, 19), (4, 5, 3, 20), (6, 7, 2, 21), (8, 9, 1, 22),
    (10, 13, 0, 23),
    (14, 15, 1, 22), (16, 17, 2, 21), (18, 19, 3, 20), (20, 21, 4, 19), (22, 23, 5, 18),
]
SMALL_OUTLINE_BANDS = [
    (0, 0, 3, 8), (1, 2, 2, 9), (3, 4, 1, 10),
    (5, 6, 0, 11),
    (7, 8, 1, 10), (9, 10, 2, 9), (11, 11, 3, 8),
]


class Outline:
    """Which pixels of a size-by-size tile lie inside the hexagon."""

    def __init__(self, size, spans):
        if len(spans) != size or any(not 0 <= a <= b < size for a, b in spans):
            raise ValueError("an outline needs one column range inside the tile per row")
        self.size = size
        self.spans = spans

    @classmethod
    def from_bands(cls, size, bands):
        spans = [None] * size
        for first_row, last_row, first_column, last_column in bands:
            for row in range(first_row, last_row + 1):
                if spans[row] is not None:
                    raise ValueError("row %d is in two bands" % row)
                spans[row] = (first_column, last_column)
        if None in spans:
            raise ValueError("row %d is in no band" % spans.index(None))
        return cls(size, spans)

    @classmethod
    def stepped(cls, size, slant):
        """A hexagon whose slanted sides step in by one column every two rows (the icons)."""
        half = [slant - row // 2 for row in range(2 * slant)]
        middle = [0] * (size - 4 * slant)
        insets = half + middle + half[::-1]
        return cls(size, [(inset, size - 1 - inset) for inset in insets])

    def inside(self, x, y):
        if not (0 <= y < self.size and 0 <= x < self.size):
            return False
        first, last = self.spans[y]
        return first <= x <= last


BIG = Outline.from_bands(24, BIG_OUTLINE_BANDS)
SMALL = Outline.from_bands(12, SMALL_OUTLINE_BANDS)

_STEPS = ((0, -1), (0, 1), (-1, 0), (1, 0))


def rim_depths(outline):
    """For every inside pixel, how many 4-neighbour steps it lies from the outside
    (1 = on the edge)."""
    inside = [(x, y) for y in range(outline.size) for x in range(outline.size)
              if outline.inside(x, y)]
    depth = {}
    ring = [(x, y) for x, y in inside
            if any(not outline.inside(x + dx, y + dy) for dx, dy in _STEPS)]
    level = 1
    while ring:
        for pixel in ring:
            depth[pixel] = level
        ring = [(x, y) for x, y in inside if (x, y) not in depth
                and any(depth.get((x + dx, y + dy)) == level for dx, dy in _STEPS)]
        level += 1
    return depth


def side(outline, x, y):
    """Which of the six sides a pixel faces, by its direction from the tile's centre compared
    with the directions of the hexagon's corners; ties go to the top and bottom edges."""
    centre = (outline.size - 1) / 2
    top_right = math.degrees(math.atan2(centre, outline.spans[0][1] - centre))
    bottom_right = math.degrees(math.atan2(centre, outline.spans[-1][1] - centre))
    dx = x - centre
    if y <= centre:
        angle = math.degrees(math.atan2(centre - y, abs(dx)))
        if angle >= top_right:
            return "top"
        return "upper_left" if dx < 0 else "upper_right"
    angle = math.degrees(math.atan2(y - centre, abs(dx)))
    if angle >= bottom_right:
        return "bottom"
    return "lower_left" if dx < 0 else "lower_right"


def face(outline, colour, outside, rims=None):
    """A hexagon filled with colour, with rim colours per side (a list per side, outermost
    ring first; None keeps the face colour) and the given colour outside."""
    depth = rim_depths(outline)
    rows = []
    for y in range(outline.size):
        row = []
        for x in range(outline.size):
            if not outline.inside(x, y):
                row.append(outside)
                continue
            pixel = colour
            if rims:
                ring = rims.get(side(outline, x, y), [])
                d = depth[(x, y)]
                if d <= len(ring) and ring[d - 1] is not None:
                    pixel = ring[d - 1]
            row.append(pixel)
        rows.append(row)
    return rows
