#!/usr/bin/env python3
"""Plays tessara.exe under Wine on an X display, as a person would, and checks what it shows.

Each scenario starts the program once in a scratch working folder, finds its windows with
xdotool, clicks and types through the X server, and reads the screen back with ImageMagick's
import. Cells are recognised by comparing the pixels inside each hexagon with the generated
bitmaps, and the counters by their lit segments.

Uses DISPLAY and WINEPREFIX when they are set (tools/test.sh sets both); otherwise it starts
an Xvfb of its own and uses the prefix beside the program. Every wait is bounded, and every
process it started is ended by its id. The last line printed is "N passed, N failed".
"""

import argparse
import os
import shutil
import struct
import subprocess
import sys
import time
import zlib

# --- What the program is expected to do, from its own tables.

# AdjustWindowRect under Wine for the overlapped style with a menu.
FRAME_SIDE = 4
FRAME_TOP = 42
FOOT_HEIGHT = 36
CELL_BACKGROUND = 0xDDDDDD

# name: (columns, rows, mines) of the competition levels used here.
NOVICE = (22, 12, 22)


class Tiles:
    """Measurements and bitmap ids of one tile set."""

    def __init__(self, small):
        if small:
            self.width, self.height, self.body, self.slant = 12, 12, 6, 3
            self.ids = {"Mask": 151, "Covered": 149, "Question": 152, "Flag": 147,
                        "Open0": 145, "Open1": 139, "Open2": 140, "Open3": 141, "Open4": 142,
                        "Open5": 143, "Open6": 144, "Mine": 148, "WrongFlag": 150,
                        "Exploded": 146}
            # The bits of the big mask's #040404 interior do not exist here.
            self.ignored_bits = 0
        else:
            self.width, self.height, self.body, self.slant = 24, 24, 14, 5
            self.ids = {"Mask": 101, "Covered": 102, "Question": 110, "Flag": 111,
                        "Open0": 103, "Open1": 104, "Open2": 105, "Open3": 106, "Open4": 107,
                        "Open5": 108, "Open6": 109, "Mine": 112, "WrongFlag": 127,
                        "Exploded": 128}
            # Inside the hexagon the big mask lets the destination's #040404 bits through.
            self.ignored_bits = 0x040404
        self.pitch = self.body + self.slant


class Layout:
    """Where a board of the given size puts things, in the program's own arithmetic."""

    def __init__(self, columns, rows, tiles):
        self.columns, self.rows, self.tiles = columns, rows, tiles
        field_width = columns * tiles.body + (columns + 1) * tiles.slant
        field_height = (rows + 2) * tiles.height
        self.window_width = field_width + 2 * FRAME_SIDE
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


class Failure(Exception):
    pass


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


class Screen:
    """One screenshot of the whole display."""

    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, data

    @staticmethod
    def grab():
        ppm = run(["import", "-window", "root", "-depth", "8", "ppm:-"], binary=True)
        # P6 header: magic, width, height, maxval, each followed by one white space.
        fields, position = [], 0
        while len(fields) < 4:
            while ppm[position:position + 1].isspace():
                position += 1
            end = position
            while not ppm[end:end + 1].isspace():
                end += 1
            fields.append(ppm[position:end])
            position = end
        if fields[0] != b"P6" or fields[3] != b"255":
            raise Failure("unexpected screenshot format %r" % fields)
        return Screen(int(fields[1]), int(fields[2]), ppm[position + 1:])

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            return -1
        i = 3 * (y * self.width + x)
        return self.data[i] << 16 | self.data[i + 1] << 8 | self.data[i + 2]

    def save_png(self, path, box=None):
        left, top, width, height = box or (0, 0, self.width, self.height)
        raw = bytearray()
        for y in range(top, top + height):
            raw.append(0)
            start = 3 * (y * self.width + left)
            raw += self.data[start:start + 3 * width]

        def chunk(kind, body):
            return (struct.pack(">I", len(body)) + kind + body
                    + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n")
            f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
            f.write(chunk(b"IDAT", zlib.compress(bytes(raw), 6)))
            f.write(chunk(b"IEND", b""))


# --- Processes and windows.

def run(command, timeout=15, binary=False, check=True):
    try:
        done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                              timeout=timeout)
    except subprocess.TimeoutExpired:
        raise Failure("%s did not finish in %d s" % (" ".join(command), timeout))
    if check and done.returncode != 0:
        raise Failure("%s failed with status %d" % (" ".join(command), done.returncode))
    return done.stdout if binary else done.stdout.decode(errors="replace")


def wait_for(what, probe, timeout, interval=0.2):
    """Polls probe() until it gives something other than None or False."""
    deadline = time.monotonic() + timeout
    while True:
        result = probe()
        if result is not None and result is not False:
            return result
        if time.monotonic() > deadline:
            raise Failure("timed out after %d s waiting for %s" % (timeout, what))
        time.sleep(interval)


class Window:
    def __init__(self, wid):
        self.wid = wid
        info = run(["xwininfo", "-id", wid], check=False)
        values = {}
        for line in info.splitlines():
            key, _, value = line.strip().partition(":")
            values[key] = value.strip()
        self.left = int(values.get("Absolute upper-left X", "0"))
        self.top = int(values.get("Absolute upper-left Y", "0"))
        self.width = int(values.get("Width", "0"))
        self.height = int(values.get("Height", "0"))
        self.name = run(["xdotool", "getwindowname", wid], check=False).strip()
        kind = run(["xprop", "-id", wid, "_NET_WM_WINDOW_TYPE"], check=False)
        self.is_dialog = "_NET_WM_WINDOW_TYPE_DIALOG" in kind

    def __repr__(self):
        return "window %s %r %dx%d+%d+%d" % (self.wid, self.name, self.width, self.height,
                                             self.left, self.top)


class Program:
    """One run of tessara.exe in its own working folder."""

    def __init__(self, exe, folder, environment):
        self.log = open(os.path.join(folder, "wine.log"), "wb")
        self.process = subprocess.Popen(["wine", exe], cwd=folder, env=environment,
                                        stdout=self.log, stderr=subprocess.STDOUT,
                                        stdin=subprocess.DEVNULL)

    def windows(self):
        if self.process.poll() is not None:
            raise Failure("the program ended unexpectedly (status %s)" % self.process.returncode)
        listed = run(["xdotool", "search", "--onlyvisible", "--pid", str(self.process.pid)],
                     check=False)
        return [Window(wid) for wid in listed.split()]

    def level_dialog(self, timeout=60):
        def probe():
            found = [w for w in self.windows() if w.is_dialog and w.name == "" and w.width > 0]
            return found[0] if found else None
        return wait_for("the level dialog", probe, timeout)

    def main_window(self, timeout=60):
        """The main window once it is shown; it is sized and cut before that."""
        def probe():
            found = [w for w in self.windows() if w.name == "Tessara"]
            return found[0] if found else None
        return wait_for("the main window", probe, timeout)

    def exited(self, timeout=30):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure("the program did not end within %d s" % timeout)

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                pass
        self.log.close()


def click(x, y, button=1):
    run(["xdotool", "mousemove", str(x), str(y), "click", str(button)])


def keys(window, *names):
    run(["xdotool", "windowfocus", window.wid])
    time.sleep(0.3)
    for name in names:
        run(["xdotool", "key", name])
        time.sleep(0.3)


def click_dialog_button(dialog, x, y, width, height, template=(248, 146)):
    """Clicks the middle of a control given in dialog units of the template."""
    scale_x = dialog.width / template[0]
    scale_y = dialog.height / template[1]
    click(dialog.left + round((x + width / 2) * scale_x),
          dialog.top + round((y + height / 2) * scale_y))


# --- The board on screen.

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


# --- The scenarios.

class Checks:
    def __init__(self):
        self.passed = self.failed = 0

    def check(self, condition, what):
        if condition:
            self.passed += 1
            print("ok - " + what)
        else:
            self.failed += 1
            print("FAILED - " + what)
        sys.stdout.flush()
        return condition


def settings_text(level, safe, small):
    lines = ["marks=1", "safe=%d" % safe, "level=%d" % level, "small=%d" % small, "proxy=0",
             "proxyport=8080", "proxyaddr=proxy", "serverport=8080", "serveraddr=localhost",
             "serverpath=/examples/servlet/TessaraHST"]
    return "".join(line + "\r\n" for line in lines)


def read_settings(folder):
    path = os.path.join(folder, "tessara.ini")
    if not os.path.exists(path):
        return None
    with open(path) as f:
        return dict(line.strip().split("=", 1) for line in f if "=" in line)


class Session:
    def __init__(self, args, environment, checks):
        self.args, self.environment, self.checks = args, environment, checks
        self.programs = []

    def folder(self, name):
        path = os.path.join(self.args.work, name)
        os.makedirs(path)
        return path

    def start(self, folder):
        program = Program(self.args.exe, folder, self.environment)
        self.programs.append(program)
        return program

    def stop_all(self):
        for program in self.programs:
            program.stop()
        self.programs = []

    def check_shape(self, before, layout, window, what):
        screen = Screen.grab()
        cut = [p for p in layout.outside_points()
               if screen.pixel(window.left + p[0], window.top + p[1])
               != before.pixel(window.left + p[0], window.top + p[1])]
        kept = [p for p in layout.inside_points()
                if screen.pixel(window.left + p[0], window.top + p[1])
                == before.pixel(window.left + p[0], window.top + p[1])]
        self.checks.check(not cut, "%s: the outline cuts away the corners, the notch and the "
                                   "gap between the feet (drawn at %s)" % (what, cut))
        self.checks.check(not kept, "%s: the field and both feet are shown (missing at %s)"
                                    % (what, kept))

    def board(self, window, layout, tiles, what):
        """The main window checked for its size and shape, with its field found on screen."""
        self.checks.check((window.width, window.height)
                          == (layout.window_width, layout.outer_height),
                          "%s: the main window is %d x %d (%s)"
                          % (what, layout.window_width, layout.outer_height, window))
        board = BoardOnScreen(window, layout, Recogniser(self.args.bitmaps, tiles))
        wait_for("the painted field", lambda: board.find_client(Screen.grab()), 20)
        return board

    def settled(self, board, what, condition=lambda pictures, screen: True, timeout=15):
        """Polls until every cell shows a known picture and the condition holds."""
        last = []

        def probe():
            screen = Screen.grab()
            pictures = board.pictures(screen)
            last[:] = [screen]
            if None in pictures.values():
                return None
            return (pictures, screen) if condition(pictures, screen) else None
        try:
            return wait_for(what, probe, timeout)
        except Failure:
            if last:
                last[0].save_png(os.path.join(self.args.work, "failed.png"))
            raise

    def quit_from_level_dialog(self):
        """Quit Game in the first level dialog ends the run before any window is shown."""
        folder = self.folder("quit")
        program = self.start(folder)
        dialog = program.level_dialog()
        self.checks.check(abs(dialog.width / dialog.height - 248 / 146) < 0.05,
                          "the level dialog appears at start-up with its template's "
                          "proportions (%s)" % dialog)
        self.checks.check(not [w for w in program.windows() if w.name == "Tessara"],
                          "the main window is not shown while the first level dialog is open")
        Screen.grab().save_png(os.path.join(folder, "level_dialog.png"),
                               (dialog.left, dialog.top, dialog.width, dialog.height))
        time.sleep(0.5)
        click_dialog_button(dialog, 92, 126, 64, 13)
        status = program.exited()
        self.checks.check(status == 0, "Quit Game ends the program with status 0 (%s)" % status)
        self.checks.check(read_settings(folder) is None, "Quit Game writes no tessara.ini")

    def play_novice(self):
        """Novice from the dialog; flag, open, lose; Exit saves the settings."""
        folder = self.folder("novice")
        before = Screen.grab()
        program = self.start(folder)
        dialog = program.level_dialog()
        time.sleep(0.5)
        click_dialog_button(dialog, 153, 20, 66, 11)
        tiles = Tiles(small=False)
        columns, rows, mines = NOVICE
        layout = Layout(columns, rows, tiles)
        board = self.board(program.main_window(), layout, tiles, "Novice")
        self.check_shape(before, layout, board.window, "Novice")

        pictures, screen = self.settled(
            board, "the first board with its safe start and both counters",
            lambda p, s: (board.counter(s, right=True) == mines
                          and board.counter(s, right=False) is not None))
        screen.save_png(os.path.join(folder, "novice_start.png"),
                        (board.window.left, board.window.top, board.window.width,
                         board.window.height))
        covered = [cell for cell, name in pictures.items() if name == "Covered"]
        opened = [cell for cell, name in pictures.items() if name.startswith("Open")]
        self.checks.check(covered and opened and len(covered) + len(opened) == len(pictures),
                          "the first board shows covered cells and the safe start's opened "
                          "area (%d covered, %d opened)" % (len(covered), len(opened)))
        self.checks.check(board.counter(screen, right=True) == mines,
                          "the flags-left counter shows the %d mines" % mines)

        flagged = covered[len(covered) // 2]
        click(*board.cell_centre(*flagged), button=3)
        pictures, screen = self.settled(
            board, "the flag on cell %s" % (flagged,),
            lambda p, s: p[flagged] == "Flag" and board.counter(s, right=True) == mines - 1)
        corner = board.tile_corner(*flagged)
        keep = board.recogniser.keep
        red = [(x, y) for x, y in board.recogniser.inside
               if screen.pixel(corner[0] + x, corner[1] + y) & keep == 0xFF0000 & keep]
        self.checks.check(red, "a right click puts a red flag into the hexagon of %s" % (flagged,))
        self.checks.check(board.counter(screen, right=True) == mines - 1,
                          "the flags-left counter goes down to %d" % (mines - 1))
        shown = board.counter(screen, right=False)

        def counted_on():
            now = board.counter(Screen.grab(), right=False)
            return now is not None and shown is not None and now > shown
        self.checks.check(wait_for("the next second", counted_on, 5),
                          "the elapsed-seconds counter counts the seconds of play")

        # Left clicks on covered cells until one opens and one hits a mine; a loss before
        # any cell opened is checked, then the next click starts a fresh board.
        opened_area = None
        loss_checked = False
        for _ in range(150):
            if opened_area and loss_checked:
                break
            covered = [cell for cell, name in pictures.items() if name == "Covered"]
            target = covered[(len(covered) * 7) // 13]
            click(*board.cell_centre(*target))
            pictures, screen = self.settled(
                board, "cell %s to open" % (target,), lambda p, s: p[target] != "Covered")
            if pictures[target].startswith("Open") and not opened_area:
                opened_area = "%s shows %s" % (target, pictures[target])
            if pictures[target] != "Exploded":
                continue
            if not loss_checked:
                loss_checked = True
                self.check_final_board(board, folder, pictures, screen, flagged, mines)
            if not opened_area:
                click(*board.cell_centre(*target))
                pictures, screen = self.settled(
                    board, "a fresh board after the loss",
                    lambda p, s: not {"Exploded", "Mine", "Flag"} & set(p.values()))
        self.checks.check(opened_area, "a left click opens a covered cell (%s)" % opened_area)
        self.checks.check(loss_checked, "left clicks end on a mine")

        keys(board.window, "alt+f", "x")
        status = program.exited()
        settings = read_settings(folder)
        self.checks.check(status == 0, "Exit ends the program with status 0 (%s)" % status)
        self.checks.check(settings is not None and settings.get("level") == "1"
                          and len(settings) == 10,
                          "Exit writes tessara.ini with the chosen level (%s)" % settings)

    def check_final_board(self, board, folder, pictures, screen, flagged, mines):
        window = board.window
        screen.save_png(os.path.join(folder, "novice_lost.png"),
                        (window.left, window.top, window.width, window.height))
        names = list(pictures.values())
        exploded, shown, flags = names.count("Exploded"), names.count("Mine"), names.count("Flag")
        self.checks.check(exploded == 1 and exploded + shown + flags == mines,
                          "the final board shows the exploded mine and every other mine "
                          "(%d exploded, %d mines, %d flags)" % (exploded, shown, flags))
        self.checks.check(pictures[flagged] in ("Flag", "WrongFlag"),
                          "the flag stays a flag or becomes a wrong flag (%s)" % pictures[flagged])
        stopped = board.counter(screen, right=False)
        time.sleep(1.5)
        self.checks.check(board.counter(Screen.grab(), right=False) == stopped,
                          "the elapsed-seconds counter stops at the loss (%s)" % stopped)

    def stored_level(self):
        """A stored Novice with small tiles and no safe start is taken over without the dialog."""
        folder = self.folder("stored")
        with open(os.path.join(folder, "tessara.ini"), "w", newline="") as f:
            f.write(settings_text(level=1, safe=0, small=1))
        before = Screen.grab()
        program = self.start(folder)
        tiles = Tiles(small=True)
        columns, rows, mines = NOVICE
        layout = Layout(columns, rows, tiles)
        dialogs = []

        def probe():
            windows = program.windows()
            dialogs.extend(w for w in windows if w.is_dialog)
            main = [w for w in windows if w.name == "Tessara"]
            return main[0] if main else None
        window = wait_for("the main window of the stored level", probe, 60)
        self.checks.check(not dialogs, "the stored level starts without the level dialog")
        board = self.board(window, layout, tiles, "small Novice")
        self.check_shape(before, layout, window, "small Novice")
        pictures, screen = self.settled(
            board, "the small board with its counters",
            lambda p, s: board.counter(s, right=True) == mines)
        screen.save_png(os.path.join(folder, "small_start.png"),
                        (window.left, window.top, window.width, window.height))
        self.checks.check(set(pictures.values()) == {"Covered"},
                          "with safe start off every cell is covered")
        keys(window, "alt+F4")
        status = program.exited()
        settings = read_settings(folder)
        self.checks.check(status == 0, "Alt+F4 ends the program with status 0 (%s)" % status)
        self.checks.check(settings is not None and settings.get("level") == "1"
                          and settings.get("small") == "1" and settings.get("safe") == "0",
                          "the settings are written back unchanged (%s)" % settings)


def environment_for(args):
    environment = dict(os.environ)
    environment.setdefault("WINEPREFIX", os.path.join(os.path.dirname(args.exe), "wineprefix"))
    environment.setdefault("WINEDEBUG", "-all")
    environment.setdefault("WINEDLLOVERRIDES", "mscoree,mshtml=")
    return environment


def start_display():
    """An Xvfb on the first free display number; returns its process."""
    number = 90
    while (os.path.exists("/tmp/.X11-unix/X%d" % number)
           or os.path.exists("/tmp/.X%d-lock" % number)):
        number += 1
    server = subprocess.Popen(["Xvfb", ":%d" % number, "-screen", "0", "1280x1024x24",
                               "-nolisten", "tcp"],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.environ["DISPLAY"] = ":%d" % number
    wait_for("Xvfb", lambda: os.path.exists("/tmp/.X11-unix/X%d" % number), 10, 0.1)
    return server


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--exe", required=True, help="tessara.exe")
    parser.add_argument("--bitmaps", required=True, help="folder of the generated bitmaps")
    parser.add_argument("--work", required=True, help="scratch folder, emptied first")
    args = parser.parse_args()
    args.exe = os.path.abspath(args.exe)

    display = None if os.environ.get("DISPLAY") else start_display()
    environment = environment_for(args)
    os.environ.update({k: environment[k] for k in ("WINEPREFIX", "WINEDEBUG", "WINEDLLOVERRIDES")})
    if not os.path.exists(os.path.join(environment["WINEPREFIX"], "system.reg")):
        run(["wineboot", "--init"], timeout=180, check=False)
        run(["wineserver", "-w"], timeout=60, check=False)

    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    checks = Checks()
    session = Session(args, environment, checks)
    try:
        for scenario in (session.quit_from_level_dialog, session.play_novice,
                         session.stored_level):
            try:
                scenario()
            except Failure as failure:
                checks.check(False, "%s: %s" % (scenario.__name__, failure))
            finally:
                session.stop_all()
    finally:
        session.stop_all()
        if display:
            # Asked to end, Xvfb removes its socket and lock file.
            display.terminate()
            try:
                display.wait(10)
            except subprocess.TimeoutExpired:
                display.kill()
    print("%d passed, %d failed" % (checks.passed, checks.failed))
    return 1 if checks.failed or not checks.passed else 0


if __name__ == "__main__":
    sys.exit(main())
