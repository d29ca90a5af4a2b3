"""One run of the Wine tests: the checks and their tally, the settings file, and the
scratch folders and program starts that the scenarios share."""

import os
import sys

from board_view import BoardOnScreen, Recogniser
from desktop import (Failure, Program, Screen, WindowTexts, appears, end_processes,
                     marked_processes, wait_for)


class Checks:
    def __init__(self):
        self.passed = self.failed = 0

    def check(self, condition, what, detail=None):
        """Counts and prints the check; a failed one also shows the detail, when given."""
        if condition:
            self.passed += 1
            print("ok - " + what)
        else:
            self.failed += 1
            print("FAILED - " + what + ("" if detail is None else " (%s)" % (detail,)))
        sys.stdout.flush()
        return condition

    def reached(self, what):
        """A step whose waits all ended in what they waited for."""
        return self.check(True, what)


SETTINGS_KEYS = ["marks", "safe", "level", "small", "proxy", "proxyport", "proxyaddr",
                 "serverport", "serveraddr", "serverpath"]


def settings_text(level, safe, small, **others):
    """The ten lines as the program writes them; `others` replaces any of the later fields."""
    values = {"marks": 1, "safe": safe, "level": level, "small": small, "proxy": 0,
              "proxyport": 8080, "proxyaddr": "proxy", "serverport": 8080,
              "serveraddr": "localhost", "serverpath": "/examples/servlet/TessaraHST"}
    values.update(others)
    return "".join("%s=%s\r\n" % (key, values[key]) for key in SETTINGS_KEYS)


def read_settings(folder):
    path = os.path.join(folder, "tessara.ini")
    if not os.path.exists(path):
        return None
    with open(path) as f:
        return dict(line.strip().split("=", 1) for line in f if "=" in line)


def write_settings(folder, text):
    with open(os.path.join(folder, "tessara.ini"), "w", newline="") as f:
        f.write(text)


class Session:
    def __init__(self, args, environment, checks, token):
        self.args, self.environment, self.checks = args, environment, checks
        self.token = token
        self.texts = WindowTexts(args.texts)
        self.browser_log = os.path.join(args.work, "browser.log")
        self.programs = []

    def folder(self, name):
        path = os.path.join(self.args.work, name)
        os.makedirs(path)
        return path

    def folder_with_help(self, name):
        """A working folder holding a small help document as Help/help.htm; returns the
        folder and the document's path."""
        path = self.folder(name)
        os.makedirs(os.path.join(path, "Help"))
        document = os.path.join(path, "Help", "help.htm")
        with open(document, "w") as f:
            f.write("<!doctype html><title>How to Play</title>\n")
        return path, document

    def start(self, folder):
        program = Program(self.args.exe, folder, self.environment)
        self.programs.append(program)
        return program

    def stop_all(self):
        """Ends the programs of the scenario and whatever else of the run outlives them;
        returns the names of the processes that had to be ended that way."""
        for program in self.programs:
            program.stop()
        self.programs = []
        if appears(lambda: not marked_processes(self.token), 5):
            return []
        left = marked_processes(self.token)
        end_processes(left)
        print("# ended processes left behind: %s" % ", ".join(n for _, n in left))
        return [name for _, name in left]

    def browser_calls(self):
        """The addresses handed to the browser so far in this run."""
        if not os.path.exists(self.browser_log):
            return []
        with open(self.browser_log) as f:
            return f.read().splitlines()

    def wait_browser_calls(self, count, timeout=10):
        """The browser calls once there are `count` of them, or as many as came in time."""
        appears(lambda: len(self.browser_calls()) >= count, timeout)
        return self.browser_calls()

    def snapshot(self, folder, name, window):
        """Saves the window's part of the screen as NAME.png in the folder."""
        path = os.path.join(folder, name + ".png")
        Screen.grab().save_png(path, (window.left, window.top, window.width, window.height))
        return path

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
