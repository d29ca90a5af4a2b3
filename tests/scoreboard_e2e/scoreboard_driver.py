#!/usr/bin/env python3
"""Sends tessara.exe's hiscore table to the real hiscore server and reads the scoreboard back.

The game runs under Wine on an X display and is driven through the X server as a person
would drive it: the Hiscores menu, the hiscore table's Submit button, the "View online?"
question and the Set proxy dialog. The first run submits directly, then sets the proxy in
the dialog and submits the same table through a tinyproxy; a second run, with one row of
hiscore.dat changed and the settings the first run saved, submits through the proxy again.
After each submission the scoreboard page is read with urllib; at the end headless Chromium
loads it, its DOM is checked and a screenshot is taken.

Uses DISPLAY and WINEPREFIX when they are set (tools/test.sh sets both); otherwise it starts
an Xvfb of its own and uses the prefix beside the program. It never stops the Wine server,
which other tests share. Every wait is bounded, every process it started is ended by its
id, and the screen is saved as failed.png when a step fails. The last line printed is
"N passed, N failed".
"""

import argparse
import html.parser
import os
import re
import select
import shutil
import signal
import socket
import struct
import subprocess
import sys
import time
import urllib.request
import zlib

# The helpers that the Wine tests share live in tests/wine.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "wine"))

import hiscore_oracle  # noqa: E402
import program_ui as ui  # noqa: E402
from desktop import (click, click_dialog_button, end_processes, Failure, keys,  # noqa: E402
                     marked_processes, prepare_wine_run, Program, retype, run, Screen,
                     wait_for)
from recording_server import closed_port as free_port  # noqa: E402
from session import Checks as WineChecks, read_settings, settings_text, write_settings  # noqa: E402

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

# Dialog templates in dialog units, from the program's resources.
TABLE_TEMPLATE = (196, 186)
TABLE_SUBMIT = (58, 147, 80, 15)
PROXY_TEMPLATE = (254, 119)
PROXY_USE = (15, 7, 71, 17)
PROXY_ADDRESS = (77, 31, 170, 12)
PROXY_PORT = (77, 60, 170, 12)
PROXY_OK = (59, 95, 58, 17)

# The items of the Hiscores pop-up, in menu order.
HISCORES_ITEMS = 4
VIEW_LOCAL_HISCORES = 0
SET_PROXY_SERVER = 3

# The client area of the main window starts this far below the window's top (caption and
# menu bar under Wine), and the frame is this wide.
FRAME_TOP = 42
FRAME_SIDE = 4

# Colours of the scoreboard page: its ground, the table head and the counters' black.
PAGE_GROUND = (0xDD, 0xDD, 0xDD)
TABLE_HEAD = (0x8B, 0x00, 0x00)
COUNTER_BLACK = (0x00, 0x00, 0x00)


class Checks(WineChecks):
    def reached(self, what):
        """A step whose waits all ended in what they waited for."""
        return self.check(True, what)


def accepts_connections(port):
    try:
        with socket.create_connection(("127.0.0.1", port), timeout=1):
            return True
    except OSError:
        return False


def end_process(process, timeout=10):
    """Asks the process to end, then kills it if it does not."""
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(timeout)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait(timeout)


# --- The hiscore server and the proxy.

class HiscoreServer:
    def __init__(self, program, folder):
        self.errors = open(os.path.join(folder, "hiscore-server.log"), "wb")
        self.process = subprocess.Popen(
            [program, "--address", "127.0.0.1", "--port", "0", "--path", SERVLET_PATH,
             "--database", os.path.join(folder, "hiscores.sqlite")],
            stdout=subprocess.PIPE, stderr=self.errors, stdin=subprocess.DEVNULL)
        # It prints the address once it has bound the port it picked.
        line = b""
        deadline = time.monotonic() + 20
        while not line.endswith(b"\n") and time.monotonic() < deadline:
            ready, _, _ = select.select([self.process.stdout], [], [], 0.5)
            if ready:
                byte = os.read(self.process.stdout.fileno(), 1)
                if not byte:
                    break
                line += byte
        found = re.search(rb"http://127\.0\.0\.1:(\d+)/", line)
        if not found:
            raise Failure("the hiscore server did not report its address (printed %r, "
                          "status %s)" % (line, self.process.poll()))
        self.port = int(found.group(1))
        self.page_url = "http://127.0.0.1:%d%s?Op=GetHTML" % (self.port, SERVLET_PATH)

    def page(self):
        with urllib.request.urlopen(self.page_url, timeout=10) as answer:
            return answer.read().decode("utf-8")

    def stop(self):
        end_process(self.process)
        self.process.stdout.close()
        self.errors.close()


class Tinyproxy:
    """A tinyproxy in the foreground on a free loopback port, logging each request line."""

    def __init__(self, program, folder):
        self.log_path = os.path.join(folder, "tinyproxy.log")
        self.output = open(os.path.join(folder, "tinyproxy.out"), "wb")
        self.process = None
        for _ in range(3):
            self.port = free_port()
            config = os.path.join(folder, "tinyproxy.conf")
            with open(config, "w") as f:
                f.write("Port %d\nListen 127.0.0.1\nAllow 127.0.0.1\nMaxClients 4\nTimeout 30\n"
                        "LogFile \"%s\"\nLogLevel Connect\n" % (self.port, self.log_path))
            self.process = subprocess.Popen([program, "-d", "-c", config], stdout=self.output,
                                            stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
            try:
                wait_for("tinyproxy on port %d" % self.port,
                         lambda: self.process.poll() is not None
                         or accepts_connections(self.port), 10)
            except Failure:
                end_process(self.process)
                raise
            # A port taken meanwhile makes it exit at once rather than listen.
            time.sleep(0.3)
            if self.process.poll() is None:
                return
        raise Failure("tinyproxy did not start (its output is in %s)" % self.output.name)

    def request_lines(self):
        """The request lines tinyproxy received, in order."""
        if not os.path.exists(self.log_path):
            return []
        with open(self.log_path, "rb") as f:
            text = f.read().decode("latin-1")
        return re.findall(r"Request \(file descriptor \d+\): (.*)", text)

    def stop(self):
        end_process(self.process)
        self.output.close()


# --- The scoreboard page.

class Scoreboard(html.parser.HTMLParser):
    """The rows of the page's table as text, and the elements found inside the table."""

    def __init__(self, page):
        super().__init__(convert_charrefs=True)
        self.rows = []
        self.tags_in_table = []
        self.in_table = self.in_body = False
        self.cell = None
        self.row = None
        self.feed(page)
        self.close()

    def handle_starttag(self, tag, attributes):
        if tag == "table":
            self.in_table = True
        elif self.in_table:
            self.tags_in_table.append(tag)
        if tag == "tbody":
            self.in_body = True
        elif self.in_body and tag == "tr":
            self.row = {}
        elif self.row is not None and tag == "td":
            self.cell = (dict(attributes).get("class", ""), [])
        elif self.row is not None and tag == "time":
            self.row["datetime"] = dict(attributes).get("datetime")

    def handle_endtag(self, tag):
        if tag == "table":
            self.in_table = False
        elif tag == "tbody":
            self.in_body = False
        elif tag == "td" and self.cell is not None:
            self.row[self.cell[0]] = "".join(self.cell[1])
            self.cell = None
        elif tag == "tr" and self.row is not None:
            self.rows.append(self.row)
            self.row = None

    def handle_data(self, data):
        if self.cell is not None:
            self.cell[1].append(data)

    def entries(self):
        """(rank, name, score) of every row."""
        return [(row.get("rank"), row.get("name"), row.get("score")) for row in self.rows]


def expected_entries(rows):
    """The page's rows for the stored rows, given in the order they arrived: highest score
    first, equal scores in arrival order and sharing their rank."""
    return [("%d." % (1 + sum(1 for _, other in rows if other > score)), name, str(score))
            for name, score in sorted(rows, key=lambda row: -row[1])]


# --- Pictures.

def png_colour_counts(path, colours):
    """How many pixels of an 8-bit RGB or RGBA PNG have each of the colours."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise Failure("%s is no PNG file" % path)
    position, idat = 8, b""
    width = height = kind = None
    while position < len(data):
        length, chunk = struct.unpack_from(">I4s", data, position)
        body = data[position + 8:position + 8 + length]
        if chunk == b"IHDR":
            width, height, depth, kind, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if depth != 8 or kind not in (2, 6) or interlace:
                raise Failure("%s: PNG layout %s not read here" % (path, (depth, kind)))
        elif chunk == b"IDAT":
            idat += body
        position += 12 + length
    channels = 3 if kind == 2 else 4
    raw = zlib.decompress(idat)
    stride = width * channels
    previous = bytearray(stride)
    counts = {colour: 0 for colour in colours}
    for y in range(height):
        start = y * (stride + 1)
        method, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            if method == 1:
                line[i] = (line[i] + left) & 0xFF
            elif method == 2:
                line[i] = (line[i] + up) & 0xFF
            elif method == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif method == 4:
                guess = left + up - corner
                pa, pb, pc = abs(guess - left), abs(guess - up), abs(guess - corner)
                best = left if pa <= pb and pa <= pc else up if pb <= pc else corner
                line[i] = (line[i] + best) & 0xFF
        for x in range(0, stride, channels):
            colour = tuple(line[x:x + 3])
            if colour in counts:
                counts[colour] += 1
        previous = line
    return width, height, counts


# --- The game on screen.

class Game(Program):
    """The program's windows looked up by title among its own."""

    def window(self, name, timeout=20):
        def probe():
            found = [w for w in self.windows() if w.name == name and w.width > 0]
            return found[0] if found else None
        return wait_for("the window %r" % name, probe, timeout)

    def gone(self, name, timeout=20):
        wait_for("the window %r to close" % name,
                 lambda: not [w for w in self.windows() if w.name == name], timeout)


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


# --- The scenarios.

class Session:
    def __init__(self, args, environment, checks):
        self.args, self.environment, self.checks = args, environment, checks
        self.program = None
        self.server = self.proxy = None

    def start_game(self, folder):
        self.program = Game(self.args.exe, folder, self.environment)
        return self.program.main_window(timeout=60)

    def stop_game(self):
        if self.program:
            self.program.stop()
            self.program = None

    def submit(self, main, what):
        """View Local Hiscores, Submit Hiscores, and No to the online view."""
        program = self.program
        choose_hiscores_item(program, main, VIEW_LOCAL_HISCORES)
        table = program.window(ui.HISCORE_TABLE)
        self.checks.reached("%s: View Local Hiscores shows the hiscore table" % what)
        time.sleep(0.5)
        click_dialog_button(table, *TABLE_SUBMIT, template=TABLE_TEMPLATE)
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

    def set_proxy(self, main):
        choose_hiscores_item(self.program, main, SET_PROXY_SERVER)
        dialog = self.program.window(ui.SET_PROXY)
        time.sleep(0.5)
        click_dialog_button(dialog, *PROXY_USE, template=PROXY_TEMPLATE)
        time.sleep(0.3)
        for field, text in ((PROXY_ADDRESS, "127.0.0.1"), (PROXY_PORT, str(self.proxy.port))):
            click_dialog_button(dialog, *field, template=PROXY_TEMPLATE)
            time.sleep(0.3)
            retype(text)
        click_dialog_button(dialog, *PROXY_OK, template=PROXY_TEMPLATE)
        self.program.gone(ui.SET_PROXY)
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
        main = self.start_game(folder)
        self.checks.check(not [w for w in self.program.windows() if w.name != "Tessara"],
                          "the stored Novice level starts the game without the level dialog")

        self.submit(main, "direct")
        self.checks.check(self.proxy.request_lines() == [],
                          "without the proxy setting nothing goes through tinyproxy",
                          self.proxy.request_lines())
        before = self.check_page(FIRST_TABLE, "direct")

        self.set_proxy(main)
        self.submit(main, "through the proxy")
        absolute = self.request_line(FIRST_TABLE)
        self.checks.check(self.proxy.request_lines() == [absolute],
                          "tinyproxy receives the absolute-form request line " + absolute,
                          self.proxy.request_lines())
        after = self.check_page(FIRST_TABLE, "the same table through the proxy")
        self.checks.check([row.get("datetime") for row in after.rows]
                          == [row.get("datetime") for row in before.rows],
                          "resubmitted rows keep the time they first arrived")

        ui.choose(main, "exit")
        status = self.program.exited()
        settings = read_settings(folder)
        expected = {"proxy": "1", "proxyaddr": "127.0.0.1", "proxyport": str(self.proxy.port),
                    "serveraddr": "127.0.0.1", "serverport": str(self.server.port),
                    "serverpath": SERVLET_PATH, "level": "1"}
        self.checks.check(status == 0 and settings is not None and len(settings) == 10
                          and all(settings.get(k) == v for k, v in expected.items()),
                          "Exit saves the proxy typed into the dialog",
                          "status %s, %s" % (status, settings))
        self.stop_game()

    def second_run(self, folder):
        """One row changed, through the proxy the first run saved."""
        with open(os.path.join(folder, "hiscore.dat"), "wb") as f:
            f.write(hiscore_oracle.encode(SECOND_TABLE))
        main = self.start_game(folder)
        self.submit(main, "changed table")
        absolute = self.request_line(SECOND_TABLE)
        lines = self.proxy.request_lines()
        self.checks.check(lines[1:] == [absolute],
                          "the next start submits through the saved proxy: " + absolute,
                          lines[1:])
        self.check_page(FIRST_TABLE + [NEW_ROW],
                        "the changed row arrives once beside the ten earlier rows")
        ui.choose(main, "exit")
        self.checks.check(self.program.exited() == 0, "Exit ends the second run with status 0")
        self.stop_game()

    def chromium(self, *arguments):
        """One headless Chromium run in a fresh profile; its standard output."""
        profile = os.path.join(self.args.work, "chromium-profile-%d" % time.monotonic_ns())
        os.makedirs(profile)
        command = [self.args.chromium, "--headless", "--no-sandbox", "--disable-gpu",
                   "--disable-quic", "--no-first-run", "--disable-background-networking",
                   "--disable-component-update", "--disable-sync",
                   "--user-data-dir=" + profile] + list(arguments) + [self.server.page_url]
        with open(os.path.join(self.args.work, "chromium.log"), "ab") as errors:
            # Its own session, so that helpers it leaves behind can be ended with it.
            process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=errors,
                                       stdin=subprocess.DEVNULL, start_new_session=True)
            try:
                output, _ = process.communicate(timeout=90)
            except subprocess.TimeoutExpired:
                raise Failure("Chromium did not finish within 90 s")
            finally:
                try:
                    os.killpg(process.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
                process.wait(10)
        shutil.rmtree(profile, ignore_errors=True)
        return output.decode("utf-8", errors="replace")

    def browser(self):
        dom = self.chromium("--dump-dom")
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

        picture = os.path.join(self.args.work, "scoreboard.png")
        self.chromium("--window-size=1000,800", "--screenshot=" + picture)
        if not os.path.exists(picture):
            raise Failure("Chromium wrote no screenshot")
        width, height, counts = png_colour_counts(
            picture, (PAGE_GROUND, TABLE_HEAD, COUNTER_BLACK))
        self.checks.check(width == 1000 and height == 800 and counts[PAGE_GROUND] > 100000
                          and counts[TABLE_HEAD] > 5000 and counts[COUNTER_BLACK] > 2000,
                          "the screenshot %s shows the grey page, the dark red table head and "
                          "the black counters" % picture, (width, height, counts))


def needed_programs(args):
    """Fails with a message naming whatever is missing."""
    if not args.server or not os.access(args.server, os.X_OK):
        raise Failure("no hiscore server at %r: build the native tessara-hiscore-server and "
                      "configure this build with -DTESSARA_HISCORE_SERVER=<its path>"
                      % args.server)
    args.tinyproxy = shutil.which("tinyproxy") or shutil.which("tinyproxy", path="/usr/sbin")
    args.chromium = shutil.which("chromium")
    missing = [name for name, path in (("tinyproxy", args.tinyproxy),
                                       ("chromium", args.chromium)) if not path]
    if missing:
        raise Failure("%s not installed (tools/install-deps.sh installs them)"
                      % " and ".join(missing))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--exe", required=True, help="tessara.exe")
    parser.add_argument("--server", required=True, help="the native tessara-hiscore-server")
    parser.add_argument("--work", required=True, help="scratch folder, emptied first")
    args = parser.parse_args()
    args.exe = os.path.abspath(args.exe)
    checks = Checks()
    try:
        needed_programs(args)
    except Failure as failure:
        checks.check(False, str(failure))
        print("%d passed, %d failed" % (checks.passed, checks.failed))
        return 1

    display, token, environment = prepare_wine_run(args)

    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    session = Session(args, environment, checks)
    started = time.monotonic()
    try:
        session.server = HiscoreServer(args.server, args.work)
        session.proxy = Tinyproxy(args.tinyproxy, args.work)
        game_folder = os.path.join(args.work, "game")
        os.makedirs(game_folder)
        for scenario in (session.first_run, session.second_run):
            scenario(game_folder)
        session.browser()
    except Failure as failure:
        picture = os.path.join(args.work, "failed.png")
        try:
            Screen.grab().save_png(picture)
        except Failure:
            picture = "not taken"
        checks.check(False, str(failure), "screen: %s" % picture)
    finally:
        session.stop_game()
        for service in (session.proxy, session.server):
            if service:
                service.stop()
        end_processes(marked_processes(token))
        if display:
            display.terminate()
            try:
                display.wait(10)
            except subprocess.TimeoutExpired:
                display.kill()
    print("took %.0f s" % (time.monotonic() - started))
    print("%d passed, %d failed" % (checks.passed, checks.failed))
    return 1 if checks.failed or not checks.passed else 0


if __name__ == "__main__":
    sys.exit(main())
