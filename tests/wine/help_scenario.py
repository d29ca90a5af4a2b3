"""The Help menu during a game: How to Play with and without the help file in the working
folder, and the About dialog, which only its Ok button closes; then the release that the
hiscore table's OK leaves ignored."""

import os
import shutil
import time

import program_ui as ui
from board_view import NOVICE, Layout, Tiles
from desktop import Screen, appears, click, keys, visible_window_ids, wait_for, wait_window
from session import settings_text, write_settings


def help_and_about(session):
    checks = session.checks
    folder, _ = session.folder_with_help("help")
    write_settings(folder, settings_text(level=1, safe=1, small=0))
    windows_before = visible_window_ids()
    program = session.start(folder)
    window = program.main_window()
    columns, rows, _ = NOVICE
    tiles = Tiles(small=False)
    board = session.board(window, Layout(columns, rows, tiles), tiles, "Novice")
    in_play, _ = session.settled(board, "the first board")

    ui.choose(window, "how to play")
    # The message would come within moments of the command.
    reported = appears(lambda: session.texts.shown(ui.MISSING_HELP), 2)
    checks.check(not reported,
                 "How to Play with Help/help.htm in the working folder reports nothing")
    if reported:
        ui.answer(session.texts, ui.MISSING_HELP, "Return")

    ui.choose(window, "about")
    dialog = wait_window(ui.ABOUT, dialog=True)

    controls = session.texts.wait(ui.ABOUT, kind=ui.DIALOG_CLASS)
    lines = next((c.text for c in controls.all if "Version" in c.text), "").split("\n")
    checks.check(len(lines) == 4 and lines[0].startswith("Tessara By ") and lines[1:3] == ["", ""]
                 and lines[3] == "Version 1.9",
                 "About shows the name, the author and the version (%s)" % lines)
    checks.check(controls[ui.ABOUT_OK].text == "Ok", "About has its Ok button")
    session.snapshot(folder, "about", dialog)
    keys(dialog, "Escape", "Return")
    time.sleep(0.5)
    checks.check(session.texts.shown(ui.ABOUT, ui.DIALOG_CLASS),
                 "Escape and Enter leave the About dialog open")
    click(*controls[ui.ABOUT_OK].centre())
    session.texts.wait_gone(ui.ABOUT, ui.DIALOG_CLASS)

    shutil.rmtree(os.path.join(folder, "Help"))
    ui.choose(window, "how to play")
    box = wait_window(ui.MISSING_HELP)
    text = ui.message_text(session.texts.wait(ui.MISSING_HELP))
    session.snapshot(folder, "missing_help", box)
    checks.check(text == "Help File is Missing",
                 "without the Help folder How to Play shows %r / %r" % (ui.MISSING_HELP, text))
    ui.answer(session.texts, ui.MISSING_HELP, "Return")

    _, screen = session.settled(board, "the board as it was before the Help commands",
                                lambda p, s: p == in_play)
    first = board.counter(screen, right=False)

    def counting_on():
        now = board.counter(Screen.grab(), right=False)
        return now is not None and first is not None and now > first
    checks.check(wait_for("the clock to count on", counting_on, 5),
                 "the game goes on after the Help commands: the board as it was, the clock "
                 "counting")

    # OK in the hiscore table makes the main window ignore the next release.
    ui.choose(window, "view local hiscores")
    session.texts.wait(ui.HISCORE_TABLE)
    keys(wait_window(ui.HISCORE_TABLE), "Return")
    session.texts.wait_gone(ui.HISCORE_TABLE)
    session.settled(board, "the board without the table over it", lambda p, s: p == in_play)
    target = next(cell for cell, name in sorted(in_play.items()) if name == "Covered")
    click(*board.cell_centre(*target))

    def board_changed():
        pictures = board.pictures(Screen.grab())
        return None not in pictures.values() and pictures != in_play
    changed = appears(board_changed, 1.5)
    checks.check(not changed, "after OK in View Local Hiscores a click on %s does nothing"
                 % (target,))
    click(*board.cell_centre(*target))
    opened, _ = session.settled(board, "the second click on %s" % (target,),
                                lambda p, s: p[target] != "Covered")
    checks.check(opened[target] in ("Exploded",) + tuple("Open%d" % n for n in range(7)),
                 "the next click on it opens it (%s)" % opened[target])

    ui.choose(window, "exit")
    status = program.exited()
    checks.check(status == 0, "Exit ends the program with status 0 (%s)" % status)
    left = session.stop_all()
    checks.check(not left, "no process of the run outlives the program (%s)" % left)
    appears(lambda: not visible_window_ids() - windows_before, 5)
    stray = sorted(visible_window_ids() - windows_before)
    checks.check(not stray, "no window outlives the program (%s)" % stray)
