"""A Novice game won by clicking every cell without a mine, with the layout predicted from
the calendar second of the board's build; then the name, the score, the table and the file."""

import os
import re
import time

import hiscore_oracle
import program_ui as ui
from board_oracle import Board, seed_for
from board_view import NOVICE, Layout, Tiles
from desktop import Failure, Screen, click, click_all, keys, retype, wait_for, wait_window
from session import settings_text, write_settings
from whole_texts import check_whole

PLAYER = "Ada Lovelace"
DIFFICULTY = 1


def predictions(first_second, last_second):
    """{second: (board, the cells its safe start opens)} for boards built in those seconds
    whose safe start does not hit a mine."""
    columns, rows, _ = NOVICE
    found = {}
    for second in range(first_second, last_second + 1):
        board = Board(columns, rows, DIFFICULTY, seed_for(second))
        _, opened, lost = board.safe_start()
        if not lost:
            found[second] = (board, opened)
    return found


def clicks_to_win(board, opened):
    """The safe cells to click, in order, each not yet opened by the clicks before it, and
    the cells open before the last click."""
    opened = set(opened)
    targets, before_last = [], set()
    for cell in board.cells():
        if cell in board.mine_cells or cell in opened:
            continue
        before_last = set(opened)
        targets.append(cell)
        board.open(cell, opened)
    return targets, before_last


def next_second(screen_board):
    """Waits until the elapsed-seconds counter moves on."""
    first = screen_board.counter(Screen.grab(), right=False)

    def moved():
        now = screen_board.counter(Screen.grab(), right=False)
        return now is not None and now != first
    wait_for("the clock to count the next second", moved, 5, interval=0.02)


def win_novice(session):
    checks = session.checks
    folder = session.folder("win")
    write_settings(folder, settings_text(level=1, safe=1, small=0))
    columns, rows, mines = NOVICE
    tiles = Tiles(small=False)
    layout = Layout(columns, rows, tiles)

    # The board is built inside window creation, before the window is shown.
    started = time.time()
    program = session.start(folder)
    window = program.main_window()
    shown = time.time()
    screen_board = session.board(window, layout, tiles, "the stored Novice")
    candidates = predictions(int(started) - 1, int(shown) + 1)

    def predicted(pictures):
        return [s for s, (b, o) in candidates.items() if b.pictures_after(o) == pictures]
    try:
        pictures, _ = session.settled(screen_board, "the safe start of one of the seconds %s"
                                      % sorted(candidates), lambda p, s: predicted(p))
    except Failure:
        raise Failure("the first board matches the safe start of none of the build seconds "
                      "%s; see failed.png" % sorted(candidates))
    seconds = predicted(pictures)
    board, opened = candidates[seconds[0]]
    checks.check(len(seconds) == 1 and board.mines == mines,
                 "the first board shows the safe start that the seed of second %s predicts: "
                 "%d cells opened from %s, with their numbers"
                 % (seconds, len(opened), board.safe_start_candidates()[-1]))

    targets, before_last = clicks_to_win(board, opened)
    click_all([screen_board.cell_centre(*cell) for cell in targets[:-1]])
    expected = board.pictures_after(before_last)
    pictures, screen = session.settled(screen_board, "the clicks on %d safe cells"
                                       % (len(targets) - 1), lambda p, s: p == expected, 30)
    checks.check(pictures == expected,
                 "%d left clicks open every safe cell but %s as the layout predicts"
                 % (len(targets) - 1, targets[-1]))
    time.sleep(0.5)
    checks.check(not session.texts.shown(ui.NAME_DIALOG),
                 "with one safe cell covered the game is not won")

    # The last click comes about half a second after the clock moved on, so that the tick
    # that finds the win shows the same whole second as the score is computed from, and a
    # rounded second would differ from a truncated one.
    next_second(screen_board)
    time.sleep(0.45)
    clicked = time.time()
    click(*screen_board.cell_centre(*targets[-1]))
    dialog = wait_window(ui.NAME_DIALOG, timeout=10)
    noticed = time.time()
    stopped = screen_board.counter(Screen.grab(), right=False)
    field = session.texts.wait(ui.NAME_DIALOG)[ui.NAME_FIELD]
    checks.check(field.text == "Anonymous",
                 "opening the last safe cell wins: the name dialog offers %r" % field.text)
    retype(PLAYER, dialog)
    typed = session.texts.read(ui.NAME_DIALOG)[ui.NAME_FIELD].text
    checks.check(typed == PLAYER, "the typed name replaces it (%r)" % typed)
    session.snapshot(folder, "name_dialog", dialog)
    keys(dialog, "Return")

    box = wait_window(ui.WELL_DONE)
    controls = session.texts.wait(ui.WELL_DONE)
    text = ui.message_text(controls)
    session.snapshot(folder, "well_done", box)
    check_whole(checks, controls, "WELL DONE")
    shown_score = re.fullmatch(r"Your score was (\d+)", text)
    score = int(shown_score.group(1)) if shown_score else None
    # The game ran from its build to the tick after the last click.
    shortest, longest = int(clicked - shown), int(noticed - started)
    checks.check(stopped is not None and shortest <= stopped <= longest
                 and score == hiscore_oracle.score(columns, rows, mines, DIFFICULTY, stopped),
                 "WELL DONE says %r, the score of the %s seconds on the stopped clock, of a "
                 "game of %d to %d seconds" % (text, stopped, shortest, longest))
    keys(box, "Return")
    session.texts.wait_gone(ui.WELL_DONE)

    table, landed = hiscore_oracle.insert(hiscore_oracle.DEFAULT_TABLE, score or 0, PLAYER)
    table_window = wait_window(ui.HISCORE_TABLE)
    shown_rows = ui.table_rows(session.texts.wait(ui.HISCORE_TABLE))
    session.snapshot(folder, "hiscore_table", table_window)
    checks.check(shown_rows == ui.expected_rows(table, landed),
                 "the hiscore table shows the new score in row %s, marked, among the default "
                 "rows (%s)" % (landed, shown_rows))
    keys(table_window, "Return")
    session.texts.wait_gone(ui.HISCORE_TABLE)

    path = os.path.join(folder, "hiscore.dat")
    last = []

    def saved():
        # The program writes the plain bytes first and then their stored form over them.
        if os.path.exists(path):
            with open(path, "rb") as f:
                last[:] = [f.read()]
            return hiscore_oracle.decode(last[0])
        return None
    try:
        wait_for("hiscore.dat in its stored form", saved, 10)
    except Failure:
        raise Failure("hiscore.dat does not decode: %r" % (last[0] if last else None))
    stored = last[0]
    checks.check(stored == hiscore_oracle.encode(table),
                 "hiscore.dat holds the table with %r and %s, stored byte for byte "
                 "(decoded: %s)" % (PLAYER, score, hiscore_oracle.decode(stored)))

    ui.choose(window, "exit")
    status = program.exited()
    checks.check(status == 0, "Exit after the win ends the program with status 0 (%s)" % status)
