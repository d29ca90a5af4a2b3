"""The whole online path with the real hiscore server: the game submits its table directly
and through a tinyproxy, and headless Chromium reads the scoreboard back.

The Hiscores menu is opened with the mouse where the menu bar shows it. The first run
submits directly, then sets the proxy in its dialog and submits the same table through the
proxy; a second run, with one row of hiscore.dat changed and the settings the first run
saved, submits through the proxy again. After each submission the scoreboard page is read
with urllib; at the end Chromium loads it, its DOM is checked and a screenshot is taken."""

import os
import time

import hiscore_oracle
import program_ui as ui
from board_view import FRAME_SIDE, FRAME_TOP
from desktop import Failure, Screen, click, keys, wait_for
from scoreboard_page import Scoreboard, expected_entries
from scoreboard_services import Chromium, HiscoreServer, Tinyproxy, needed_programs
from session import read_settings, settings_text, write_settings

SERVLET_PATH = "/examples/servlet/TessaraHST"

# Names that HTML, URLs, the row format and the colon-for-space rule could each get wrong.
FIRST_TABLE = [
    ("<b>x</b>&amp;", 9000),
    ("Jo Ann", 8000),
    ("a_b_7", 7000),
    ("100%", 6000),
    ("#1", 5000),
    ("O'Neil \"Q\"", 4000),
    ("what?&V=1", 3000),
    ("Anonymous", 3000),
    ("two  spaces", 2000),
    ("last", 1),
]
# The second run changes one row; "%41" must not be decoded anywhere on the way.
CHANGED_ROW = 8
NEW_ROW = ("%41 <i>new</i>", 2500)
SECOND_TABLE = FIRST_TABLE[:CHANGED_ROW] + [NEW_ROW] + FIRST_TABLE[CHANGED_ROW + 1:]

# The items of the Hiscores pop-up, in menu order.
HISCORES_ITEMS = 4
VIEW_LOCAL_HISCORES = 0
SET_PROXY_SERVER = 3

# Colours of the scoreboard page: its ground, the table head and the counters' black.
PAGE_GROUND = 0xDDDDDD
TABLE_HEAD = 0x8B0000
COUNTER_BLACK = 0x000000


def rgb(screen, x, y):
    """The pixel as (red, green, blue); black off the screen."""
    value = max(screen.pixel(x, y), 0)
    return (value >> 16, value >> 8 & 0xFF, value & 0xFF)


def menu_bar_items(screen, window):
    """Centres of the menu bar's titles, left to right, found as runs of dark text pixels
    on the light bar between the caption and the client area."""
    light = [y for y in range(window.top + FRAME_SIDE, window.top + FRAME_TOP)
             if min(rgb(screen, window.left + FRAME_SIDE + 2, y)) > 0xC0]
    if not light:
        return []
    # The longest run of light rows; the caption's icon gives shorter ones.
    runs = [[light[0]]]
    for y in light[1:]:
        if y == runs[-1][-1] + 1:
            runs[-1].append(y)
        else:
            runs.append([y])
    band = max(runs, key=len)
    columns = [x for x in range(window.left + FRAME_SIDE + 1, window.left + window.width - 5)
               if any(max(rgb(screen, x, y)) < 0x60 for y in band)]
    titles = []
    for x in columns:
        if titles and x - titles[-1][1] < 6:
            titles[-1][1] = x
        else:
            titles.append([x, x])
    middle = (band[0] + band[-1]) // 2
    return [((first + last) // 2, middle) for first, last in titles]


def choose_hiscores_item(program, main, item):
    """Clicks "Hiscores" in the menu bar, then the item in its pop-up."""
    def three_titles():
        titles = menu_bar_items(Screen.grab(), main)
        return titles if len(titles) == 3 else None

    for _ in range(3):
        # The bar is painted a moment after the window is mapped.
        titles = wait_for("the menu bar with File, Hiscores and Help", three_titles, 15)
        click(*titles[1])
        try:
            popup = wait_for("the Hiscores pop-up",
                             lambda: next((w for w in program.windows()
                                           if w.name == "" and w.height > 0), None), 5)
        except Failure:
            keys(main, "Escape")
            continue
        time.sleep(0.3)
        click(popup.left + popup.width // 2,
              popup.top + popup.height * (2 * item + 1) // (2 * HISCORES_ITEMS))
        return
    raise Failure("a click on Hiscores in the menu bar opens no pop-up")


class ScoreboardTrip:
    """The two runs of the game against one server and proxy, and the browser's reading."""

    def __init__(self, session, server, proxy, chromium):
        self.session, self.checks = session, session.checks
        self.server, self.proxy, self.chromium = server, proxy, chromium

    def submit(self, program, main, what):
        """View Local Hiscores, Submit Hiscores, and No to the online view."""
        choose_hiscores_item(program, main, VIEW_LOCAL_HISCORES)
        program.window(ui.HISCORE_TABLE)
        table = self.session.texts.wait(ui.HISCORE_TABLE)
        self.checks.reached("%s: View Local Hiscores shows the hiscore table" % what)
        click(*table[ui.TABLE_SUBMIT].centre())
        outcome = wait_for("the outcome of the submission",
                           lambda: next((w for w in program.windows()
                                         if w.name in (ui.VIEW_ONLINE, ui.NO_ONLINE)),
                                        None), 60)
        if outcome.name != ui.VIEW_ONLINE:
            raise Failure("%s: the game reports that it could not submit (%s)" % (what, outcome))
        self.checks.reached("%s: Submit Hiscores ends with the question \"View online?\""
                            % what)
        time.sleep(0.3)
        keys(outcome, "n")
        program.gone(ui.VIEW_ONLINE)
        self.checks.check(not [w for w in program.windows() if w.name.startswith("--==")],
                          "%s: answering No closes the question and the table" % what)

    def set_proxy(self, program, main):
        choose_hiscores_item(program, main, SET_PROXY_SERVER)
        program.window(ui.SET_PROXY)
        ui.fill_proxy(self.session.texts, toggle_use=True, address="127.0.0.1",
                      port=self.proxy.port)
        program.gone(ui.SET_PROXY)
        self.checks.reached("Set Proxy Server: Use Proxy ticked, address and port typed, "
                            "OK closes the dialog")

    def request_line(self, table):
        """The absolute-form request line that submits the table through the proxy."""
        request = hiscore_oracle.score_request(table, SERVLET_PATH,
                                               ("127.0.0.1", self.server.port))
        return request.decode("latin-1").split("\r\n")[0]

    def check_page(self, rows, what):
        """The page lists exactly these rows, each once, with its rank and score."""
        board = Scoreboard(self.server.page())
        self.checks.check(board.entries() == expected_entries(rows),
                          "%s: the scoreboard lists exactly the %d rows in order, with rank, "
                          "name and score" % (what, len(rows)), board.entries())
        return board

    def first_run(self, folder):
        """Direct submission, then the proxy set in its dialog and the same table again."""
        with open(os.path.join(folder, "hiscore.dat"), "wb") as f:
            f.write(hiscore_oracle.encode(FIRST_TABLE))
        write_settings(folder, settings_text(
            level=1, safe=1, small=0, serverport=self.server.port, serveraddr="127.0.0.1",
            serverpath=SERVLET_PATH))
        program = self.session.start(folder)
        main = program.main_window()
        self.checks.check(not [w for w in program.windows() if w.name != "Tessara"],
                          "the stored Novice level starts the game without the level dialog")

        self.submit(program, main, "direct")
        self.checks.check(self.proxy.request_lines() == [],
                          "without the proxy setting nothing goes through tinyproxy",
                          self.proxy.request_lines())
        before = self.check_page(FIRST_TABLE, "direct")

        self.set_proxy(program, main)
        self.submit(program, main, "through the proxy")
        absolute = self.request_line(FIRST_TABLE)
        self.checks.check(self.proxy.request_lines() == [absolute],
                          "tinyproxy receives the absolute-form request line " + absolute,
                          self.proxy.request_lines())
        after = self.check_page(FIRST_TABLE, "the same table through the proxy")
        self.checks.check([row.get("datetime") for row in after.rows]
                          == [row.get("datetime") for row in before.rows],
                          "resubmitted rows keep the time they first arrived")

        ui.choose(main, "exit")
        status = program.exited()
        settings = read_settings(folder)
        expected = {"proxy": "1", "proxyaddr": "127.0.0.1", "proxyport": str(self.proxy.port),
                    "serveraddr": "127.0.0.1", "serverport": str(self.server.port),
                    "serverpath": SERVLET_PATH, "level": "1"}
        self.checks.check(status == 0 and settings is not None and len(settings) == 10
                          and all(settings.get(k) == v for k, v in expected.items()),
                          "Exit saves the proxy typed into the dialog",
                          "status %s, %s" % (status, settings))

    def second_run(self, folder):
        """One row changed, through the proxy the first run saved."""
        with open(os.path.join(folder, "hiscore.dat"), "wb") as f:
            f.write(hiscore_oracle.encode(SECOND_TABLE))
        program = self.session.start(folder)
        main = program.main_window()
        self.submit(program, main, "changed table")
        absolute = self.request_line(SECOND_TABLE)
        lines = self.proxy.request_lines()
        self.checks.check(lines[1:] == [absolute],
                          "the next start submits through the saved proxy: " + absolute,
                          lines[1:])
        self.check_page(FIRST_TABLE + [NEW_ROW],
                        "the changed row arrives once beside the ten earlier rows")
        ui.choose(main, "exit")
        self.checks.check(program.exited() == 0, "Exit ends the second run with status 0")

    def browser(self, folder):
        dom = self.chromium.run("--dump-dom")
        board = Scoreboard(dom)
        stored = FIRST_TABLE + [NEW_ROW]
        self.checks.check(board.entries() == expected_entries(stored),
                          "Chromium's DOM holds every row in order, with rank, name and score",
                          board.entries())
        self.checks.check('<td class="name">&lt;b&gt;x&lt;/b&gt;&amp;amp;</td>' in dom,
                          "the name <b>x</b>&amp; is text in its cell")
        self.checks.check('<td class="name">%41 &lt;i&gt;new&lt;/i&gt;</td>' in dom,
                          "the name %41 <i>new</i> is text in its cell, not decoded")
        markup = [tag for tag in board.tags_in_table if tag in ("b", "i")]
        self.checks.check(not markup, "no name becomes an element in the table", markup)
        names = [row.get("name") for row in board.rows]
        self.checks.check("Jo Ann" in names and "two  spaces" in names
                          and not any(":" in (name or "") for name in names),
                          "colons show as spaces: Jo Ann, two  spaces", names)

        path = os.path.join(folder, "scoreboard.png")
        self.chromium.run("--window-size=1000,800", "--screenshot=" + path)
        if not os.path.exists(path):
            raise Failure("Chromium wrote no screenshot")
        picture = Screen.load(path)
        counts = picture.colour_counts((PAGE_GROUND, TABLE_HEAD, COUNTER_BLACK))
        self.checks.check(picture.width == 1000 and picture.height == 800
                          and counts[PAGE_GROUND] > 100000 and counts[TABLE_HEAD] > 5000
                          and counts[COUNTER_BLACK] > 2000,
                          "the screenshot %s shows the grey page, the dark red table head and "
                          "the black counters" % path,
                          (picture.width, picture.height,
                           {"#%06X" % colour: count for colour, count in counts.items()}))


def submit_and_read_back(session):
    tinyproxy, chromium = needed_programs(session.args.server)
    folder = session.folder("scoreboard")
    server = proxy = None
    try:
        server = HiscoreServer(session.args.server, folder, SERVLET_PATH)
        proxy = Tinyproxy(tinyproxy, folder)
        trip = ScoreboardTrip(session, server, proxy,
                              Chromium(chromium, folder, server.page_url))
        game = os.path.join(folder, "game")
        os.makedirs(game)
        trip.first_run(game)
        trip.second_run(game)
        trip.browser(folder)
    finally:
        for service in (proxy, server):
            if service:
                service.stop()
