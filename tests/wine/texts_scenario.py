"""Every text the program shows is whole, in the fonts of the prefix that the scripts make:
the level dialog with the widest limits (small tiles), the message boxes, the caption
buttons of the main window, About, Set proxy, Set Server and the hiscore table."""

import os

import program_ui as ui
from desktop import Screen, appears, click, wait_window
from session import settings_text, write_settings
from whole_texts import caption_glyphs, check_whole, looks_like_bar, looks_like_cross


def read_whole(session, folder, title, what, kind=None):
    """The controls of the window with the title, checked for whole texts and photographed
    as NAME.png in the folder."""
    window = wait_window(title, dialog=True if kind else None)
    controls = session.texts.wait(title, kind)
    session.snapshot(folder, what.replace(" ", "_"), window)
    check_whole(session.checks, controls, what)
    return controls


def texts_whole(session):
    checks = session.checks
    folder = session.folder("texts")
    # Small tiles give the largest limits, the longest labels; no Help folder, for its message.
    write_settings(folder, settings_text(level=0, safe=1, small=1))
    program = session.start(folder)

    dialog = program.level_dialog()
    controls = session.texts.wait("", ui.DIALOG_CLASS)
    session.snapshot(folder, "level_dialog", dialog)
    labels = [c.text for c in controls.all if c.kind == "Edit" and c.text.endswith(")")]
    check_whole(checks, controls, "the level dialog with small tiles %s" % labels)

    # The fields still hold 0 rows and 0 columns: Play Custom is refused with a message.
    click(*controls[ui.PLAY_CUSTOM].centre())
    read_whole(session, folder, ui.PROBLEM, "the out of limits message")
    ui.answer(session.texts, ui.PROBLEM, "Return")

    window = program.main_window()
    glyphs = []

    def symbols_drawn():
        glyphs[:] = caption_glyphs(Screen.grab(), window)
        return len(glyphs) >= 2 and looks_like_bar(glyphs[0]) and looks_like_cross(glyphs[-1])
    drawn = appears(symbols_drawn, 10)
    Screen.grab().save_png(os.path.join(folder, "caption.png"),
                           (window.left, window.top, window.width, 24))
    checks.check(drawn, "the caption buttons show the minimise bar and the close cross, "
                        "not letters (%d glyphs found: %s)"
                        % (len(glyphs), [sorted(g) for g in glyphs]))

    ui.choose(window, "how to play")
    read_whole(session, folder, ui.MISSING_HELP, "the missing help message")
    ui.answer(session.texts, ui.MISSING_HELP, "Return")

    ui.choose(window, "about")
    controls = read_whole(session, folder, ui.ABOUT, "the About dialog", ui.DIALOG_CLASS)
    click(*controls[ui.ABOUT_OK].centre())
    session.texts.wait_gone(ui.ABOUT, ui.DIALOG_CLASS)

    for command, title, cancel in (("set proxy server", ui.SET_PROXY, ui.PROXY_CANCEL),
                                   ("set hiscore server", ui.SET_SERVER, ui.SERVER_CANCEL)):
        ui.choose(window, command)
        controls = read_whole(session, folder, title, "the %s dialog" % title)
        click(*controls[cancel].centre())
        session.texts.wait_gone(title)

    ui.choose(window, "view local hiscores")
    read_whole(session, folder, ui.HISCORE_TABLE, "the hiscore table")
    ui.answer(session.texts, ui.HISCORE_TABLE, "Return")

    ui.choose(window, "exit")
    status = program.exited()
    checks.check(status == 0, "Exit ends the program with status 0 (%s)" % status)
