"""The contact sheet: every picture enlarged and labelled with its id, and small boards drawn
the way the game draws them, so the art can be judged by eye."""

import pictures as catalogue

BACKGROUND = 0xA8A8A8
INK = 0x000000
BOARD = 0xDDDDDD
CLEAR = (0xD0D0D0, 0xFFFFFF)

# A 3x5 capital font for the labels.
_FONT = {
    "0": "111101101101111", "1": "010110010010111", "2": "111001111100111",
    "3": "111001111001111", "4": "101101111001001", "5": "111100111001111",
    "6": "111100111101111", "7": "111001010010010", "8": "111101111101111",
    "9": "111101111001111", "A": "010101111101101", "B": "110101110101110",
    "C": "011100100100011", "D": "110101101101110", "E": "111100110100111",
    "F": "111100110100100", "G": "011100101101011", "H": "101101111101101",
    "I": "111010010010111", "J": "001001001101010", "K": "101101110101101",
    "L": "100100100100111", "M": "101111111101101", "N": "110101101101101",
    "O": "010101101101010", "P": "110101110100100", "Q": "010101101110011",
    "R": "110101110101101", "S": "011100010001110", "T": "111010010010010",
    "U": "101101101101111", "V": "101101101101010", "W": "101101111111101",
    "X": "101101010101101", "Y": "101101010010010", "Z": "111001010100111",
    " ": "000000000000000", "-": "000000111000000", "/": "001001010100100",
    ":": "000010000010000", ",": "000000000010100",
}


class Sheet:
    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.pixels = [[BACKGROUND] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def text(self, x, y, words, scale=2):
        for ch in words.upper():
            glyph = _FONT.get(ch, _FONT[" "])
            for i, bit in enumerate(glyph):
                if bit == "1":
                    for dy in range(scale):
                        for dx in range(scale):
                            self.put(x + (i % 3) * scale + dx, y + (i // 3) * scale + dy, INK)
            x += 4 * scale

    def image(self, x, y, picture, scale):
        """Pixels that are None (clear parts of the icons) show a checkerboard."""
        for py, row in enumerate(picture):
            for px, colour in enumerate(row):
                for dy in range(scale):
                    for dx in range(scale):
                        sx, sy = px * scale + dx, py * scale + dy
                        if colour is None:
                            self.put(x + sx, y + sy, CLEAR[(sx // 4 + sy // 4) % 2])
                        else:
                            self.put(x + sx, y + sy, colour)


def _scaled(picture, scale):
    return [[c for c in row for _ in range(scale)] for row in picture for _ in range(scale)]


def board(tiles, by_name, layout, panels):
    """A small field drawn cell by cell as the game does it: the mask ANDed into the
    background, then the picture ORed on top; the two counter panels below it."""
    size = tiles.outline.size
    slant = 5 if tiles is catalogue.BIG else 3
    pitch = size - slant
    columns = len(layout[0])
    rows = len(layout)
    width = pitch * columns + slant
    height = (rows + 2) * size + 36
    surface = [[BOARD] * width for _ in range(height)]
    mask = by_name["Mask"]
    for c in range(1, columns + 1):
        for r in range(1, rows + 1):
            x0 = pitch * (c - 1) + 1
            y0 = size * (r - 1) + 1 + (size // 2 if c % 2 else 0)
            picture = by_name[_CODES[layout[r - 1][c - 1]]]
            for y in range(size):
                for x in range(size):
                    if 0 <= y0 + y < height and 0 <= x0 + x < width:
                        below = surface[y0 + y][x0 + x] & mask[y][x]
                        surface[y0 + y][x0 + x] = below | picture[y][x]
    top = height - size * 3 // 2 - 36
    catalogue.paste(surface, panels[0], 0, top)
    catalogue.paste(surface, panels[1], width - 82, top)
    return surface


_CODES = {".": "Covered", "0": "Open0", "1": "Open1", "2": "Open2", "3": "Open3",
          "4": "Open4", "5": "Open5", "6": "Open6", "F": "Flag", "?": "Question",
          "M": "Mine", "W": "WrongFlag", "X": "Exploded"}
# The sample field, one character a cell (see _CODES); the big field uses its top left part.
_LAYOUT = [
    "0112F.?1000123F.?..",
    "0M2X3..2100M4M2....",
    "124W56.M2101MM3F...",
    "1FM..4F23212F31.?..",
    "0111FM.01M1122100..",
    "0000111012221F10...",
    "11001M1001MM2100...",
    "M100111001221000...",
]


def _counter(pictures, number):
    """The counter panel after the seconds counter has shown a number: the places it draws,
    digit origins on the panel's top row; the others keep the panel's unlit digits."""
    panel = [row[:] for row in pictures["IDB_COUNTER_PANEL"]]
    for place in range(4):
        if place and number <= 10 ** place - 1:
            break
        digit = number // 10 ** place % 10
        ox = 62 - 20 * place
        lit = _SEGMENTS[digit]
        for index, (dx, dy) in enumerate(catalogue.HORIZONTAL_PLACES):
            segment = "IDB_SEGMENT_H_LIT" if lit[index] else "IDB_SEGMENT_H_UNLIT"
            catalogue.paste(panel, pictures[segment], ox + dx, dy)
        for index, (dx, dy) in enumerate(catalogue.VERTICAL_PLACES):
            segment = "IDB_SEGMENT_V_LIT" if lit[3 + index] else "IDB_SEGMENT_V_UNLIT"
            catalogue.paste(panel, pictures[segment], ox + dx, dy)
    return panel


# Segments lit per digit: top, middle, bottom, upper left, lower left, upper right, lower right.
_SEGMENTS = {
    0: (1, 0, 1, 1, 1, 1, 1), 1: (0, 0, 0, 0, 0, 1, 1), 2: (1, 1, 1, 0, 1, 1, 0),
    3: (1, 1, 1, 0, 0, 1, 1), 4: (0, 1, 0, 1, 0, 1, 1), 5: (1, 1, 1, 1, 0, 0, 1),
    6: (1, 1, 1, 1, 1, 0, 1), 7: (1, 0, 0, 0, 0, 1, 1), 8: (1, 1, 1, 1, 1, 1, 1),
    9: (1, 1, 1, 1, 0, 1, 1),
}

# Printed at the foot of the sheet: the order of each row, as in the tile table.
ORDER_NOTE = [
    "Tiles: mask covered question flag open0 open1-6 mine wrongflag exploded",
    "Status: panel, horizontal unlit and lit, vertical unlit and lit",
]


def contact_sheet(pictures, icons, table):
    """The sheet of the pictures by name, labelled with their ids from the resource table."""
    margin = 16
    line_width = 1400
    gap = 24
    sections = []  # (width, height, painter), top to bottom

    def section(title, items, scale):
        """A titled run of labelled pictures, left to right, wrapping at the line width."""
        places = []
        x = y = line_height = width = 0
        for label, picture in items:
            w = max(len(picture[0]) * scale, 8 * len(label))
            h = len(picture) * scale + 14
            if x and x + w > line_width:
                x, y, line_height = 0, y + line_height + gap, 0
            places.append((x, y, label, picture))
            x += w + gap
            width = max(width, x)
            line_height = max(line_height, h)

        def paint(sheet, top):
            sheet.text(margin, top, title)
            for x, y, label, picture in places:
                sheet.text(margin + x, top + 16 + y, label)
                sheet.image(margin + x, top + 30 + y, picture, scale)
        sections.append((margin + width, 16 + y + line_height + gap, paint))

    ids = table.ids()

    def labelled(*names):
        return [(str(ids[name]), pictures[name]) for name in names]

    for title, small in (("Big tiles 6x", False), ("Small tiles 6x", True)):
        section(title, labelled(*(names[small] for names in table.tiles.values())), 6)
    section("Status 4x", labelled("IDB_COUNTER_PANEL", "IDB_SEGMENT_H_UNLIT", "IDB_SEGMENT_H_LIT",
                                  "IDB_SEGMENT_V_UNLIT", "IDB_SEGMENT_V_LIT"), 4)
    panel = str(ids["IDB_COUNTER_PANEL"])
    section("Counters lit as drawn 4x - 42 and 1234",
            [(panel, _counter(pictures, 42)), (panel, _counter(pictures, 1234))], 4)
    icon = str(ids[catalogue.ICON])
    about_and_icon = labelled("IDB_ABOUT") + [(icon + " 32", icons[0]), (icon + " 16", icons[1])]
    section("About 4x and icon 4x", about_and_icon, 4)
    section("About and icon 1x", about_and_icon, 1)
    for tiles, small in ((catalogue.BIG, False), (catalogue.SMALL, True)):
        by_name = {picture: pictures[names[small]] for picture, names in table.tiles.items()}
        layout = _LAYOUT if tiles is catalogue.SMALL else [line[:9] for line in _LAYOUT[:5]]
        field = board(tiles, by_name, layout, (_counter(pictures, 17), _counter(pictures, 9)))
        scale = 2 if tiles is catalogue.BIG else 3
        section("%s field as drawn 1x and %dx" % (tiles.name, scale),
                [("1x", field), ("%dx" % scale, _scaled(field, scale))], 1)

    width = max(w for w, _, _ in sections) + margin
    height = margin + sum(h for _, h, _ in sections) + 14 * len(ORDER_NOTE) + margin
    sheet = Sheet(width, height)
    y = margin
    for _, h, paint in sections:
        paint(sheet, y)
        y += h
    for line in ORDER_NOTE:
        sheet.text(margin, y, line)
        y += 14
    return sheet.pixels
