#!/usr/bin/env python3
"""Checks tools/install-deps.sh on a machine where packages are missing, with stand-ins for
dpkg-query and apt-get: which packages each command asks for, that apt's output goes to the
log and the terminal gets one line, and what a failed installation reports."""

import os
import subprocess
import sys
import tempfile
import unittest

SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools",
                      "install-deps.sh")

# Packages that the game and its server need to build and run.
RUN_NEEDS = {"cmake", "ninja-build", "g++", "python3", "g++-mingw-w64-x86-64-posix", "wine",
             "wine64", "fonts-wine", "xdg-utils", "xvfb", "libboost-dev", "libsqlite3-dev"}
# Packages that only the tests and the Windows packages need.
TESTS_ONLY = {"googletest", "libgtest-dev", "libgmock-dev", "libbenchmark-dev", "xauth",
              "xdotool", "x11-utils", "imagemagick", "nsis", "tinyproxy", "chromium"}

STUBS = {
    # Installed when named in STUB_INSTALLED.
    "dpkg-query": """#!/bin/sh
for name in $STUB_INSTALLED; do
  eval "package=\\${$#}"
  [ "$name" = "$package" ] && { printf 'install ok installed'; exit 0; }
done
exit 1
""",
    # Records its arguments and talks as much as apt does; an install ends with
    # STUB_APT_STATUS.
    "apt-get": """#!/bin/sh
printf '%s\\n' "$*" >> "$STUB_CALLS"
[ "$1" = install ] || exit 0
i=0
while [ $i -lt 400 ]; do echo "Setting up package$i ..."; i=$((i + 1)); done
exit ${STUB_APT_STATUS:-0}
""",
    "id": "#!/bin/sh\necho 0\n",
}


class InstallDepsTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory(prefix="tessara-deps-")
        self.addCleanup(self.folder.cleanup)
        bin_folder = os.path.join(self.folder.name, "bin")
        os.mkdir(bin_folder)
        for name, text in STUBS.items():
            path = os.path.join(bin_folder, name)
            with open(path, "w") as f:
                f.write(text)
            os.chmod(path, 0o755)
        self.calls = os.path.join(self.folder.name, "calls")
        self.build = os.path.join(self.folder.name, "build")
        self.environment = dict(os.environ, PATH=bin_folder + os.pathsep + os.environ["PATH"],
                                STUB_CALLS=self.calls, TESSARA_BUILD_DIR=self.build,
                                STUB_INSTALLED="")

    def run_script(self, *arguments, installed=(), apt_status=0):
        environment = dict(self.environment, STUB_INSTALLED=" ".join(installed),
                           STUB_APT_STATUS=str(apt_status))
        return subprocess.run(["bash", SCRIPT] + list(arguments), env=environment,
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                              timeout=60)

    def apt_calls(self):
        if not os.path.exists(self.calls):
            return []
        with open(self.calls) as f:
            return [line.split() for line in f.read().splitlines()]

    def wanted(self, command):
        """Every package the command asks for on a machine that has none."""
        done = self.run_script(command, "--dry-run")
        self.assertEqual(done.returncode, 0, done.stderr)
        return set(done.stdout.split(":", 1)[1].split())

    def installed_by(self, *arguments, installed=()):
        done = self.run_script(*arguments, installed=installed)
        self.assertEqual(done.returncode, 0, done.stderr)
        calls = self.apt_calls()
        self.assertEqual([call[0] for call in calls], ["update", "install"])
        return done, {word for word in calls[1][1:] if not word.startswith("-")}

    def test_each_command_asks_for_its_own_packages(self):
        _, run = self.installed_by("run")
        self.assertTrue(RUN_NEEDS <= run, RUN_NEEDS - run)
        self.assertFalse(run & TESTS_ONLY, "the run command installs test-only packages")
        self.assertNotIn("libcpp-httplib-dev", run)
        os.remove(self.calls)
        _, test = self.installed_by("test")
        self.assertEqual(test, run | TESTS_ONLY)

    def test_only_missing_packages_are_asked_for(self):
        missing = {"wine", "libboost-dev", "nsis"}
        _, asked = self.installed_by("test", installed=self.wanted("test") - missing)
        self.assertEqual(asked, missing)

    def test_apt_output_goes_to_the_log_and_the_terminal_gets_one_line(self):
        done, _ = self.installed_by("run")
        self.assertEqual(len(done.stdout.splitlines()), 1, done.stdout)
        self.assertIn("400 packages set up", done.stdout)
        self.assertEqual(done.stderr, "")
        with open(os.path.join(self.build, "install-deps.log")) as f:
            self.assertEqual(f.read().count("Setting up"), 400)

    def test_nothing_missing_installs_nothing_and_says_nothing(self):
        done = self.run_script("test", installed=self.wanted("test"))
        self.assertEqual((done.returncode, done.stdout, done.stderr, self.apt_calls()),
                         (0, "", "", []))

    def test_failed_installation_shows_the_end_of_the_log(self):
        done = self.run_script("run", apt_status=100)
        self.assertEqual(done.returncode, 1)
        self.assertTrue(done.stdout.rstrip().endswith("failed."), done.stdout)
        self.assertIn("Could not install", done.stderr)
        self.assertIn("Setting up package399", done.stderr)
        self.assertNotIn("Setting up package0 ", done.stderr, "more than the end of the log")

    def test_dry_run_names_what_is_missing_and_installs_nothing(self):
        done = self.run_script("run", "--dry-run", installed=self.wanted("run") - {"xvfb"})
        self.assertEqual((done.returncode, done.stdout), (0, "Would install 1 packages: xvfb\n"))
        self.assertEqual(self.apt_calls(), [])

    def test_without_a_command_it_shows_its_usage(self):
        for arguments in ([], ["play"], ["run", "--quiet"]):
            done = self.run_script(*arguments)
            self.assertEqual(done.returncode, 2, arguments)
            self.assertIn("usage", done.stderr)


if __name__ == "__main__":
    sys.exit(unittest.main())
