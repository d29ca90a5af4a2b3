"""Scenarios of starting, playing and losing a game, and of leaving the program."""

import os
import time

from board_view import NOVICE, Layout, Tiles
from desktop import Screen, click, click_dialog_button, keys, wait_for
from session import read_settings, settings_text, write_settings


def quit_from_level_dialog(session):
    """Quit Game in the first level dialog ends the run before any window is shown."""
    folder = session.folder("quit")
    program = session.start(folder)
    dialog = program.level_dialog()
    # Dialog units scale by the dialog font's character size, which differs across and down:
    # the Quit Game button, 64 by 13 units, gives the scale.
    left, top, right, bottom = session.texts.wait("", "#32770")[1032].rect
    scale_x, scale_y = (right - left) / 64, (bottom - top) / 13
    session.checks.check(abs(dialog.width / scale_x - 248) < 8
                         and abs(dialog.height / scale_y - 146) < 8,
                         "the level dialog appears at start-up with its template's size of "
                         "248 by 146 units (%s, %.2f by %.2f pixels a unit)"
                         % (dialog, scale_x, scale_y))
    session.checks.check(not [w for w in program.windows() if w.name == "Tessara"],
                         "the main window is not shown while the first level dialog is open")
    Screen.grab().save_png(os.path.join(folder, "level_dialog.png"),
                           (dialog.left, dialog.top, dialog.width, dialog.height))
    time.sleep(0.5)
    click_dialog_button(dialog, 92, 126, 64, 13)
    status = program.exited()
    session.checks.check(status == 0, "Quit Game ends the program with status 0 (%s)" % status)
    session.checks.check(read_settings(folder) is None, "Quit Game writes no tessara.ini")


def play_novice(session):
    """Novice from the dialog; flag, open, lose; Exit saves the settings."""
    folder = session.folder("novice")
    before = Screen.grab()
    program = session.start(folder)
    dialog = program.level_dialog()
    time.sleep(0.5)
    click_dialog_button(dialog, 153, 20, 66, 11)
    tiles = Tiles(small=False)
    columns, rows, mines = NOVICE
    layout = Layout(columns, rows, tiles)
    board = session.board(program.main_window(), layout, tiles, "Novice")
    session.check_shape(before, layout, board.window, "Novice")

    pictures, screen = session.settled(
        board, "the first board with its safe start and both counters",
        lambda p, s: (board.counter(s, right=True) == mines
                      and board.counter(s, right=False) is not None))
    screen.save_png(os.path.join(folder, "novice_start.png"),
                    (board.window.left, board.window.top, board.window.width,
                     board.window.height))
    covered = [cell for cell, name in pictures.items() if name == "Covered"]
    opened = [cell for cell, name in pictures.items() if name.startswith("Open")]
    session.checks.check(covered and opened and len(covered) + len(opened) == len(pictures),
                         "the first board shows covered cells and the safe start's opened "
                         "area (%d covered, %d opened)" % (len(covered), len(opened)))
    session.checks.check(board.counter(screen, right=True) == mines,
                         "the flags-left counter shows the %d mines" % mines)

    flagged = covered[len(covered) // 2]
    click(*board.cell_centre(*flagged), button=3)
    pictures, screen = session.settled(
        board, "the flag on cell %s" % (flagged,),
        lambda p, s: p[flagged] == "Flag" and board.counter(s, right=True) == mines - 1)
    corner = board.tile_corner(*flagged)
    keep = board.recogniser.keep
    red = [(x, y) for x, y in board.recogniser.inside
           if screen.pixel(corner[0] + x, corner[1] + y) & keep == 0xFF0000 & keep]
    session.checks.check(red, "a right click puts a red flag into the hexagon of %s" % (flagged,))
    session.checks.check(board.counter(screen, right=True) == mines - 1,
                         "the flags-left counter goes down to %d" % (mines - 1))
    shown = board.counter(screen, right=False)

    def counted_on():
        now = board.counter(Screen.grab(), right=False)
        return now is not None and shown is not None and now > shown
    session.checks.check(wait_for("the next second", counted_on, 5),
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
        pictures, screen = session.settled(
            board, "cell %s to open" % (target,), lambda p, s: p[target] != "Covered")
        if pictures[target].startswith("Open") and not opened_area:
            opened_area = "%s shows %s" % (target, pictures[target])
        if pictures[target] != "Exploded":
            continue
        if not loss_checked:
            loss_checked = True
            check_final_board(session, board, folder, pictures, screen, flagged, mines)
        if not opened_area:
            click(*board.cell_centre(*target))
            pictures, screen = session.settled(
                board, "a fresh board after the loss",
                lambda p, s: not {"Exploded", "Mine", "Flag"} & set(p.values()))
    session.checks.check(opened_area, "a left click opens a covered cell (%s)" % opened_area)
    session.checks.check(loss_checked, "left clicks end on a mine")

    keys(board.window, "alt+f", "x")
    status = program.exited()
    settings = read_settings(folder)
    session.checks.check(status == 0, "Exit ends the program with status 0 (%s)" % status)
    session.checks.check(settings is not None and settings.get("level") == "1"
                         and len(settings) == 10,
                         "Exit writes tessara.ini with the chosen level (%s)" % settings)


def check_final_board(session, board, folder, pictures, screen, flagged, mines):
    window = board.window
    screen.save_png(os.path.join(folder, "novice_lost.png"),
                    (window.left, window.top, window.width, window.height))
    names = list(pictures.values())
    exploded, shown, flags = names.count("Exploded"), names.count("Mine"), names.count("Flag")
    session.checks.check(exploded == 1 and exploded + shown + flags == mines,
                         "the final board shows the exploded mine and every other mine "
                         "(%d exploded, %d mines, %d flags)" % (exploded, shown, flags))
    session.checks.check(pictures[flagged] in ("Flag", "WrongFlag"),
                         "the flag stays a flag or becomes a wrong flag (%s)" % pictures[flagged])
    stopped = board.counter(screen, right=False)
    time.sleep(1.5)
    session.checks.check(board.counter(Screen.grab(), right=False) == stopped,
                         "the elapsed-seconds counter stops at the loss (%s)" % stopped)


def stored_level(session):
    """A stored Novice with small tiles and no safe start is taken over without the dialog."""
    folder = session.folder("stored")
    write_settings(folder, settings_text(level=1, safe=0, small=1))
    before = Screen.grab()
    program = session.start(folder)
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
    session.checks.check(not dialogs, "the stored level starts without the level dialog")
    board = session.board(window, layout, tiles, "small Novice")
    session.check_shape(before, layout, window, "small Novice")
    pictures, screen = session.settled(
        board, "the small board with its counters",
        lambda p, s: board.counter(s, right=True) == mines)
    screen.save_png(os.path.join(folder, "small_start.png"),
                    (window.left, window.top, window.width, window.height))
    session.checks.check(set(pictures.values()) == {"Covered"},
                         "with safe start off every cell is covered")
    keys(window, "alt+F4")
    status = program.exited()
    settings = read_settings(folder)
    session.checks.check(status == 0, "Alt+F4 ends the program with status 0 (%s)" % status)
    session.checks.check(settings is not None and settings.get("level") == "1"
                         and settings.get("small") == "1" and settings.get("safe") == "0",
                         "the settings are written back unchanged (%s)" % settings)
