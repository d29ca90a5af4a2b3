"""Scenarios of the window's fit to the screen: the largest boards the level dialog allows
in each tile size, wholly on the screen and reached with the mouse; Use Big Icons from the
largest small-tile board; and boards of five columns with both counters whole and the menu
bar on one line."""

import os
import time

import program_ui as ui
from board_oracle import mine_count
from board_view import FOOT_HEIGHT, FRAME_SIDE, FRAME_TOP, Layout, Tiles
from desktop import Failure, Screen, click, run, wait_for
from resource_ids import CONTROLS
from session import read_settings, settings_text, write_settings

DIFFICULTY = 5
LEVEL_DIALOG_CLASS = "#32770"
ROWS_LABEL, COLUMNS_LABEL, ROWS_FIELD, COLUMNS_FIELD = (
    CONTROLS["IDC_LEVEL_" + name] for name in ("ROWS_LABEL", "COLUMNS_LABEL", "ROWS", "COLUMNS"))
REALLY_CHANGE = "Really change?"


def level_limits(work_width, work_height, tiles):
    """The largest custom board: its whole window, with the frame, caption and menu bar that
    AdjustWindowRect adds and the counter feet, within the work area; and no more than a column
    pitch of three quarters of a tile plus one and the 1600 by 1200 off-screen surface allow."""
    width, height = min(work_width, 1600), min(work_height, 1200)
    spaced_columns = (width - tiles.width // 2) // (3 * tiles.width // 4 + 1)
    surface_rows = (height - 3 * tiles.height // 2) // tiles.height - 3
    visible_columns = (work_width - 2 * FRAME_SIDE - tiles.slant) // tiles.pitch
    visible_rows = (work_height - FRAME_TOP - FRAME_SIDE - FOOT_HEIGHT) // tiles.height - 2
    return (max(0, min(spaced_columns, visible_columns)),
            max(0, min(surface_rows, visible_rows)))


def choose_custom(session, program, columns, rows, expected_limits, what):
    """Fills the level dialog's custom fields and plays; checks the limits its labels show."""
    program.level_dialog()
    controls = session.texts.wait("", LEVEL_DIALOG_CLASS)
    labels = (controls[COLUMNS_LABEL].text, controls[ROWS_LABEL].text)
    session.checks.check(labels == ("Columns (5-%d)" % expected_limits[0],
                                    "Rows (5-%d)" % expected_limits[1]),
                         "%s: the level dialog allows %d columns and %d rows (%s)"
                         % (what, expected_limits[0], expected_limits[1], labels))
    for field, value in ((COLUMNS_FIELD, columns), (ROWS_FIELD, rows)):
        click(*controls[field].centre())
        time.sleep(0.2)
        run(["xdotool", "key", "--delay", "50", "End", "shift+Home"])
        run(["xdotool", "type", "--delay", "30", str(value)])
    click(*controls[ui.PLAY_CUSTOM].centre())
    session.texts.wait_gone("", LEVEL_DIALOG_CLASS)


def main_window_of(program, layout):
    """The main window once it has the layout's size."""
    def probe():
        window = program.main_window()
        return window if (window.width, window.height) == (layout.window_width,
                                                           layout.outer_height) else None
    try:
        return wait_for("the main window at %d x %d" % (layout.window_width,
                                                        layout.outer_height), probe, 30)
    except Failure:
        # The size check of the board reports the difference.
        return program.main_window()


def check_board(session, program, folder, layout, tiles, what, before=None):
    """The board's window wholly on the screen, its field painted, both counters whole."""
    checks = session.checks
    window = main_window_of(program, layout)
    screen = Screen.grab()
    checks.check(window.left >= 0 and window.top >= 0
                 and window.left + window.width <= screen.width
                 and window.top + window.height <= screen.height,
                 "%s: the window lies wholly on the %d x %d screen (%s)"
                 % (what, screen.width, screen.height, window))
    board = session.board(window, layout, tiles, what)
    if before is not None:
        session.check_shape(before, layout, window, what)
    mines = mine_count(layout.columns, layout.rows, DIFFICULTY)
    pictures, screen = session.settled(
        board, "%s with both counters" % what,
        lambda p, s: (board.counter(s, right=True) == mines
                      and board.counter(s, right=False) is not None))
    screen.save_png(os.path.join(folder, what.replace(" ", "_") + ".png"),
                    (window.left, window.top, window.width, window.height))
    checks.check(set(pictures.values()) == {"Covered"},
                 "%s: every cell of the field shows, covered" % what)
    checks.check(board.counter(screen, right=False) is not None
                 and board.counter(screen, right=True) == mines,
                 "%s: the elapsed-seconds counter shows %s and the flags-left counter %s "
                 "(the %d mines)" % (what, board.counter(screen, right=False),
                                     board.counter(screen, right=True), mines))
    # A menu bar that wraps pushes the client area down by a line.
    checks.check(board.client_top - window.top <= FRAME_TOP,
                 "%s: the menu bar takes one line (client area %d pixels below the top)"
                 % (what, board.client_top - window.top))
    return window


def file_menu_by_mouse(window, key):
    """Clicks "File" where the menu bar shows it and picks an item by its access key."""
    click(window.left + 15, window.top + FRAME_TOP - 11)
    time.sleep(0.5)
    run(["xdotool", "key", key])


def largest_boards(session):
    """The largest small-tile board, Use Big Icons to the largest big-tile board, and that
    board again from the level dialog; each wholly on screen and reached with the mouse."""
    folder = session.folder("largest")
    write_settings(folder, settings_text(level=0, safe=0, small=1))
    screen = Screen.grab()
    small, big = Tiles(small=True), Tiles(small=False)
    small_limits = level_limits(screen.width, screen.height, small)
    big_limits = level_limits(screen.width, screen.height, big)
    before = Screen.grab()
    program = session.start(folder)

    choose_custom(session, program, small_limits[0], small_limits[1], small_limits,
                  "small tiles")
    window = check_board(session, program, folder, Layout(*small_limits, small),
                         small, "largest small board", before)

    file_menu_by_mouse(window, "b")
    ui.answer(session.texts, REALLY_CHANGE, "Return")
    window = check_board(session, program, folder, Layout(*big_limits, big), big,
                         "Use Big Icons from the largest small board", before)

    file_menu_by_mouse(window, "n")
    choose_custom(session, program, big_limits[0], big_limits[1], big_limits, "big tiles")
    window = check_board(session, program, folder, Layout(*big_limits, big), big,
                         "largest big board", before)

    file_menu_by_mouse(window, "x")
    status = program.exited()
    settings = read_settings(folder)
    session.checks.check(status == 0 and settings is not None and settings.get("small") == "0",
                         "Exit chosen with the mouse ends the program and keeps big tiles "
                         "(status %s, %s)" % (status, settings))


def narrow_boards(session):
    """Five columns in both tile sizes: the window is as wide as both counters, which show
    whole side by side, and the menu bar stays on one line."""
    folder = session.folder("narrow")
    write_settings(folder, settings_text(level=0, safe=0, small=0))
    screen = Screen.grab()
    small, big = Tiles(small=True), Tiles(small=False)
    before = Screen.grab()
    program = session.start(folder)

    choose_custom(session, program, 5, 5, level_limits(screen.width, screen.height, big),
                  "big tiles")
    window = check_board(session, program, folder, Layout(5, 5, big), big,
                         "five big columns", before)
    file_menu_by_mouse(window, "b")
    ui.answer(session.texts, REALLY_CHANGE, "Return")
    window = check_board(session, program, folder, Layout(5, 5, small), small,
                         "five small columns", before)

    ui.choose(window, "exit")
    session.checks.check(program.exited() == 0, "Exit ends the program after the narrow boards")
