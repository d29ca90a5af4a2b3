"""Whether the program's texts are shown whole: no label or message cut off by its control,
and caption buttons drawn with their symbols rather than with the letters that stand for
them in the symbol font."""

from collections import Counter

from desktop import Screen, appears

# Wine draws its own caption on the shaped main window: frame, then the caption bar.
FRAME = 3
CAPTION = 19
# How far left of the window's right edge the caption buttons lie.
BUTTONS_SPAN = 60
# The sides of a static control that its text, as it is lined up, cannot all reach unless
# it is cut off there.
FREE_SIDES = {"left": ("right",), "centre": ("left", "right"), "right": ("left",)}


def ink(screen, box):
    """The pixels of the box (left, top, right, bottom) that differ from its commonest colour."""
    left, top, right, bottom = box
    points = [(x, y) for x in range(left, right) for y in range(top, bottom)]
    background = Counter(screen.pixel(x, y) for x in range(left, right)
                         for y in range(top, bottom)).most_common(1)[0][0]
    return {(x, y) for x, y in points if screen.pixel(x, y) != background}


def cut_texts(screen, controls):
    """Descriptions of the texts that the controls show cut off; [] when every one is whole.

    An edit control says itself how many characters fit its formatting rectangle. A static
    text is clipped at its control's sides, so a glyph cut there leaves ink in the last
    column on the side the text runs towards (both sides for a centred text), which a whole
    text leaves clear."""
    found = []
    for control in controls.all:
        if not control.text:
            continue
        if control.kind == "Edit" and control.fitting != len(control.text):
            found.append("%r: %d of its %d characters fit the field"
                         % (control.text, control.fitting, len(control.text)))
        elif control.alignment in FREE_SIDES:
            left, _, right, _ = control.room
            columns = {x for x, _ in ink(screen, control.room)}
            sides = FREE_SIDES[control.alignment]
            touched = [side for side, x in (("left", left), ("right", right - 1))
                       if side in sides and x in columns]
            if len(touched) == len(sides):
                found.append("%r: drawn up to the %s side of its control"
                             % (control.text, " and ".join(touched)))
    return found


def check_whole(checks, controls, what):
    """Checks that the window of the controls shows every text whole, once the window has
    drawn each of its static texts."""
    statics = [c for c in controls.all if c.alignment in FREE_SIDES and c.text]
    last = []

    def drawn():
        last[:] = [Screen.grab()]
        return all(ink(last[0], c.room) for c in statics)
    cut = [] if appears(drawn, 5) else ["%r: not drawn" % c.text for c in statics
                                         if not ink(last[0], c.room)]
    cut += cut_texts(last[0], controls)
    checks.check(not cut, "%s shows every text whole%s"
                 % (what, " (cut: %s)" % "; ".join(cut) if cut else ""))


def _dark(colour):
    return colour >= 0 and max(colour >> 16, colour >> 8 & 0xFF, colour & 0xFF) < 64


def _light(colour):
    return colour >= 0 and min(colour >> 16, colour >> 8 & 0xFF, colour & 0xFF) > 180


def caption_glyphs(screen, window):
    """The black glyphs on the caption buttons of the window, left to right, each a set of
    points relative to the top left corner of its bounding box. A black pixel counts only
    between light button-face pixels, which leaves out the frame and the desktop beside it."""
    top = window.top + FRAME
    right = window.left + window.width
    dark = []
    for y in range(top, top + CAPTION):
        row = [screen.pixel(x, y) for x in range(right - BUTTONS_SPAN - 8, right)]
        for i in range(8, len(row)):
            if (_dark(row[i]) and any(_light(c) for c in row[i - 8:i])
                    and any(_light(c) for c in row[i + 1:i + 9])):
                dark.append((right - BUTTONS_SPAN - 8 + i, y))
    glyphs, current, last = [], [], None
    for x in sorted({x for x, _ in dark}):
        if last is not None and x > last + 1:
            glyphs.append(current)
            current = []
        current += [p for p in dark if p[0] == x]
        last = x
    if current:
        glyphs.append(current)
    shapes = []
    for glyph in glyphs:
        left, high = min(x for x, _ in glyph), min(y for _, y in glyph)
        shapes.append({(x - left, y - high) for x, y in glyph})
    return shapes


def looks_like_cross(shape):
    """A cross (the close symbol): at least 5 pixels square and the same mirrored either way,
    which no letter standing in for it is."""
    width = max(x for x, _ in shape) + 1
    height = max(y for _, y in shape) + 1
    mirrored = {(width - 1 - x, height - 1 - y) for x, y in shape}
    flipped = {(width - 1 - x, y) for x, y in shape}
    return (width >= 5 and height >= 5 and len(shape & mirrored) >= 0.9 * len(shape)
            and len(shape & flipped) >= 0.9 * len(shape))


def looks_like_bar(shape):
    """A flat bar (the minimise symbol): wider than high, at most 3 pixels high."""
    width = max(x for x, _ in shape) + 1
    height = max(y for _, y in shape) + 1
    return height <= 3 and width >= 2 * height
