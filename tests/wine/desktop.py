"""Processes, windows, input and screenshots on the X display that the Wine tests use.

Every wait is bounded; every process the tests start is ended by its id.
"""

import collections
import os
import re
import signal
import struct
import subprocess
import time
import zlib

# Every process the tests start carries this variable, so that what a run leaves behind
# can be found by its environment and ended by its id.
RUN_MARKER = "TESSARA_WINE_RUN"

# Creates the Wine prefix on first use and gives it the fonts and browser settings that the
# run script gives it.
PREPARE_PREFIX = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools",
                              "wine-prefix.sh")

# Wine's own services outlive the programs by design; the persistent server owns them.
WINE_SERVICES = {"wineserver", "wineserver64", "services.exe", "winedevice.exe",
                 "plugplay.exe", "explorer.exe", "svchost.exe", "rpcss.exe", "conhost.exe"}


class Failure(Exception):
    pass


class Screen:
    """One screenshot of the whole display, or a picture read from a file."""

    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, data

    @staticmethod
    def grab():
        return Screen.from_ppm(run(["import", "-window", "root", "-depth", "8", "ppm:-"],
                                   binary=True))

    @staticmethod
    def load(path):
        """A picture file read as a screen."""
        return Screen.from_ppm(run(["convert", path, "-depth", "8", "ppm:-"], binary=True))

    @staticmethod
    def from_ppm(ppm):
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

    def colour_counts(self, colours):
        """How many pixels have each of the colours, given as 0xRRGGBB."""
        every = collections.Counter(zip(self.data[0::3], self.data[1::3], self.data[2::3]))
        return {colour: every[(colour >> 16, colour >> 8 & 0xFF, colour & 0xFF)]
                for colour in colours}

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


def appears(probe, timeout, interval=0.2):
    """Whether probe() gives something true within the time."""
    deadline = time.monotonic() + timeout
    while not probe():
        if time.monotonic() > deadline:
            return False
        time.sleep(interval)
    return True


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
            found = [w for w in self.windows() if w.name == "Tessara" and not w.is_dialog]
            return found[0] if found else None
        return wait_for("the main window", probe, timeout)

    def window(self, name, timeout=20):
        """The program's shown window with this title."""
        def probe():
            found = [w for w in self.windows() if w.name == name and w.width > 0]
            return found[0] if found else None
        return wait_for("the window %r" % name, probe, timeout)

    def gone(self, name, timeout=20):
        """Waits until the X server shows none of the program's windows with this title."""
        wait_for("the window %r to close" % name,
                 lambda: not [w for w in self.windows() if w.name == name], timeout)

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
    """Focuses the window and presses the keys one after the other; the pause between them
    gives a menu time to open its pop-up."""
    run(["xdotool", "windowfocus", window.wid])
    time.sleep(0.2)
    run(["xdotool", "key", "--delay", "100"] + list(names))
    time.sleep(0.2)


def click_dialog_button(dialog, x, y, width, height, template=(248, 146)):
    """Clicks the middle of a control given in dialog units of the template."""
    scale_x = dialog.width / template[0]
    scale_y = dialog.height / template[1]
    click(dialog.left + round((x + width / 2) * scale_x),
          dialog.top + round((y + height / 2) * scale_y))


def environment_for(args):
    environment = dict(os.environ)
    environment.setdefault("WINEPREFIX", os.path.join(os.path.dirname(args.exe), "wineprefix"))
    environment.setdefault("WINEDEBUG", "-all")
    environment.setdefault("WINEDLLOVERRIDES", "mscoree,mshtml=")
    return environment


def prepare_wine_run(args):
    """A display (started here when none is given), the run's marker token and the Wine
    environment, exported to this process too; the Wine prefix is made ready first."""
    display = None if os.environ.get("DISPLAY") else start_display()
    token = "%d-%d" % (os.getpid(), time.time())
    environment = environment_for(args)
    environment[RUN_MARKER] = token
    os.environ.update({k: environment[k]
                       for k in ("WINEPREFIX", "WINEDEBUG", "WINEDLLOVERRIDES", RUN_MARKER)})
    run([PREPARE_PREFIX], timeout=240)
    return display, token, environment


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


def retype(text, window=None):
    """Replaces the text of the focused one-line edit field (of the window, when given);
    Wine's edit fields take no Ctrl+A, so the selection is made from the end to the start."""
    if window is not None:
        run(["xdotool", "windowfocus", window.wid])
        time.sleep(0.2)
    run(["xdotool", "key", "--delay", "50", "End", "shift+Home"])
    run(["xdotool", "type", "--delay", "30", text])
    time.sleep(0.2)


def click_all(points):
    """Left clicks at the points, in order, a few dozen to each xdotool call."""
    for start in range(0, len(points), 40):
        command = ["xdotool"]
        for x, y in points[start:start + 40]:
            command += ["mousemove", str(x), str(y), "click", "1"]
        run(command, timeout=30)


def _exact(title):
    """An extended regular expression that matches only the title."""
    return "^" + re.sub(r"([.\[\]()*+?{}|^$\\])", r"\\\1", title) + "$"


def windows_named(title):
    listed = run(["xdotool", "search", "--onlyvisible", "--name", _exact(title)], check=False)
    return [w for w in (Window(wid) for wid in listed.split()) if w.width > 0]


def visible_window_ids():
    return set(run(["xdotool", "search", "--onlyvisible", "--name", "^"], check=False).split())


def wait_window(title, timeout=15, dialog=None):
    """The visible window with this title; `dialog` picks dialogs (True) or others (False)."""
    def probe():
        found = [w for w in windows_named(title) if dialog is None or w.is_dialog == dialog]
        return found[0] if found else None
    return wait_for("a window titled %r" % title, probe, timeout)


class Control:
    def __init__(self, ident, kind, rect, text):
        self.id, self.kind, self.rect, self.text = ident, kind, rect, text
        # Where the text is drawn, how many of its characters fit there (-1: unknown), and
        # how a static text lines up ("left", "centre", "right"; "-": not a static text).
        self.room, self.fitting, self.alignment = rect, -1, "-"

    def centre(self):
        left, top, right, bottom = self.rect
        return (left + right) // 2, (top + bottom) // 2


class Controls:
    """The controls of one window in creation order, looked up by id; labels and pictures
    share the id -1."""

    def __init__(self, title):
        self.title, self.all = title, []

    def __getitem__(self, ident):
        for control in self.all:
            if control.id == ident:
                return control
        raise Failure("%r has no control %d" % (self.title, ident))


class WindowTexts:
    """Reads the texts of a program's windows and controls with the helper window_texts.exe,
    which asks them through Windows itself."""

    def __init__(self, exe):
        self.exe = exe

    def read(self, title, kind=None):
        """The Controls of the first visible window with the title (and the window class
        `kind`, when given), or None when there is none."""
        output = run(["wine", self.exe, title], timeout=30, check=False)
        windows = []
        for line in output.splitlines():
            fields = line.split(" ", 7)
            if fields[0] == "window" and len(fields) == 6:
                windows.append((fields[1], Controls(title)))
            elif fields[0] == "control" and len(fields) == 8 and windows:
                rect = tuple(int(v) for v in fields[3:7])
                windows[-1][1].all.append(Control(int(fields[1]), fields[2], rect,
                                                  _unescape(fields[7])))
            elif fields[0] == "room" and len(fields) == 8 and windows and windows[-1][1].all:
                control = windows[-1][1].all[-1]
                control.room = tuple(int(v) for v in fields[2:6])
                control.fitting, control.alignment = int(fields[6]), fields[7]
        for window_kind, controls in windows:
            if kind is None or window_kind == kind:
                return controls
        return None

    def wait(self, title, kind=None, timeout=15):
        return wait_for("the texts of %r" % title, lambda: self.read(title, kind), timeout)

    def shown(self, title, kind=None):
        return self.read(title, kind) is not None

    def wait_gone(self, title, kind=None, timeout=10):
        """Waits until Windows has no such window; the X server keeps showing a closed
        window for a second or two."""
        wait_for("the window %r to close" % title, lambda: not self.shown(title, kind), timeout)


def _unescape(text):
    def one(match):
        code = match.group(1)
        if len(code) == 3:
            return chr(int(code[1:], 16))
        return {"n": "\n", "r": "\r", "t": "\t"}.get(code, code)
    return re.sub(r"\\(x[0-9A-F]{2}|.)", one, text)


def marked_processes(token):
    """(pid, name) of the processes that carry the run's marker, Wine's services aside."""
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit() or int(entry) == os.getpid():
            continue
        try:
            with open("/proc/%s/environ" % entry, "rb") as f:
                environment = f.read().split(b"\0")
            with open("/proc/%s/cmdline" % entry, "rb") as f:
                command = f.read().split(b"\0")[0].decode(errors="replace")
        except OSError:
            continue
        if ("%s=%s" % (RUN_MARKER, token)).encode() not in environment:
            continue
        name = re.split(r"[\\/]", command)[-1].lower()
        if name not in WINE_SERVICES:
            found.append((int(entry), name))
    return found


def end_processes(processes):
    for pid, _ in processes:
        try:
            os.kill(pid, signal.SIGKILL)
        except OSError:
            pass
