"""Reads the text pixel grids of resources/art.

A file holds, after any '#' comment lines and blank lines:

    size W H
    colour C RRGGBB      one line per colour; C is a single character
    colour C keep        pixels of C leave the picture below unchanged
    pixels
    H rows of exactly W characters, each a character of the legend

so an overlay drawn over a generated face shows the face wherever it says "keep".
"""


class ArtError(Exception):
    pass


class Layer:
    def __init__(self, name, width, height, rows):
        self.name = name
        self.width = width
        self.height = height
        self.rows = rows  # rows of 0xRRGGBB, or None where the picture below is kept

    def over(self, picture):
        """The picture with this layer painted on it."""
        if len(picture) != self.height or any(len(row) != self.width for row in picture):
            raise ArtError("%s: is %dx%d, the picture below is not" %
                           (self.name, self.width, self.height))
        return [[mine if mine is not None else below for mine, below in zip(top, bottom)]
                for top, bottom in zip(self.rows, picture)]

    def painted(self):
        """The (x, y) of every pixel the layer sets."""
        return [(x, y) for y, row in enumerate(self.rows)
                for x, colour in enumerate(row) if colour is not None]


def parse(text, name):
    size = None
    legend = {}
    rows = []
    in_pixels = False
    for number, line in enumerate(text.splitlines(), 1):
        where = "%s:%d" % (name, number)
        if in_pixels:
            if not line.strip() and len(rows) == size[1]:
                continue
            if len(rows) == size[1]:
                raise ArtError("%s: more than %d rows" % (where, size[1]))
            if len(line) != size[0]:
                raise ArtError("%s: row is %d wide, not %d" % (where, len(line), size[0]))
            row = []
            for ch in line:
                if ch not in legend:
                    raise ArtError("%s: %r is not in the legend" % (where, ch))
                row.append(legend[ch])
            rows.append(row)
            continue
        words = line.split()
        if not words or words[0].startswith("#"):
            continue
        if words[0] == "size" and len(words) == 3 and size is None:
            try:
                size = (int(words[1]), int(words[2]))
            except ValueError:
                raise ArtError("%s: the size needs two numbers" % where)
        elif words[0] == "colour" and len(words) == 3 and len(words[1]) == 1:
            if words[1] in legend:
                raise ArtError("%s: %r is in the legend twice" % (where, words[1]))
            legend[words[1]] = _colour(words[2], where)
        elif words[0] == "pixels" and len(words) == 1:
            if size is None:
                raise ArtError("%s: pixels before the size" % where)
            in_pixels = True
        else:
            raise ArtError("%s: cannot read %r" % (where, line))
    if size is None or len(rows) != size[1]:
        raise ArtError("%s: needs a size and %s rows of pixels" %
                       (name, size[1] if size else "its"))
    return Layer(name, size[0], size[1], rows)


def _colour(word, where):
    if word == "keep":
        return None
    if len(word) != 6:
        raise ArtError("%s: colours are written RRGGBB or keep, not %r" % (where, word))
    try:
        return int(word, 16)
    except ValueError:
        raise ArtError("%s: %r is not a colour" % (where, word))


def load(path):
    with open(path, encoding="utf-8") as f:
        return parse(f.read(), path)
