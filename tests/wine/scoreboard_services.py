"""The real programs that the scoreboard scenario runs beside the game: the native hiscore
server, a tinyproxy and headless Chromium, each on loopback, started and waited for within a
bound and ended by its id."""

import os
import re
import select
import shutil
import signal
import socket
import subprocess
import time
import urllib.request

from desktop import Failure, wait_for
from recording_server import closed_port as free_port


def needed_programs(server):
    """The paths of tinyproxy and Chromium; fails with a message naming whatever is
    missing, the hiscore server included."""
    if not server or not os.access(server, os.X_OK):
        raise Failure("no hiscore server at %r: build the native tessara-hiscore-server and "
                      "configure this build with -DTESSARA_HISCORE_SERVER=<its path>" % server)
    tinyproxy = shutil.which("tinyproxy") or shutil.which("tinyproxy", path="/usr/sbin")
    chromium = shutil.which("chromium")
    missing = [name for name, path in (("tinyproxy", tinyproxy), ("chromium", chromium))
               if not path]
    if missing:
        raise Failure("%s not installed (tools/install-deps.sh installs them)"
                      % " and ".join(missing))
    return tinyproxy, chromium


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


class HiscoreServer:
    """The native server on a port of its own choosing, with a fresh database."""

    def __init__(self, program, folder, path):
        self.errors = open(os.path.join(folder, "hiscore-server.log"), "wb")
        self.process = subprocess.Popen(
            [program, "--address", "127.0.0.1", "--port", "0", "--path", path,
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
            status = self.process.poll()
            self.stop()
            raise Failure("the hiscore server did not report its address (printed %r, "
                          "status %s)" % (line, status))
        self.port = int(found.group(1))
        self.page_url = "http://127.0.0.1:%d%s?Op=GetHTML" % (self.port, path)

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
                self.stop()
                raise
            # A port taken meanwhile makes it exit at once rather than listen.
            time.sleep(0.3)
            if self.process.poll() is None:
                return
        self.output.close()
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


class Chromium:
    """Headless Chromium runs on one page, each in a fresh profile in the folder."""

    def __init__(self, program, folder, url):
        self.program, self.folder, self.url = program, folder, url

    def run(self, *arguments):
        """One run with the arguments; its standard output."""
        profile = os.path.join(self.folder, "chromium-profile-%d" % time.monotonic_ns())
        os.makedirs(profile)
        command = [self.program, "--headless", "--no-sandbox", "--disable-gpu",
                   "--disable-quic", "--no-first-run", "--disable-background-networking",
                   "--disable-component-update", "--disable-sync",
                   "--user-data-dir=" + profile] + list(arguments) + [self.url]
        with open(os.path.join(self.folder, "chromium.log"), "ab") as errors:
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
