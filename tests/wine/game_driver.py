#!/usr/bin/env python3
"""Plays tessara.exe under Wine on an X display, as a person would, and checks what it shows.

Each scenario starts the program once in a scratch working folder, finds its windows with
xdotool, clicks and types through the X server, and reads the screen back with ImageMagick's
import. Cells are recognised by comparing the pixels inside each hexagon with the generated
bitmaps, and the counters by their lit segments; the texts of dialogs and message boxes are
read through Windows with the helper window_texts.exe.

Uses DISPLAY and WINEPREFIX when they are set (tools/test.sh sets both); otherwise it starts
an Xvfb of its own and uses the prefix beside the program. Every wait is bounded, and every
process it started is ended by its id. A browser launcher that only records its arguments
stands first on the programs' PATH, so that no program ever starts a real browser; the
scoreboard scenario runs its own headless Chromium beside the native hiscore server and a
tinyproxy. A scenario that fails leaves a screenshot in the scratch folder. The last line
printed is "N passed, N failed".
"""

import argparse
import os
import shutil
import stat
import subprocess
import sys
import time

import fit_scenarios
import help_scenario
import installer_scenario
import online_scenario
import pages_scenario
import play_scenarios
import scoreboard_scenario
import texts_scenario
import win_scenario
from desktop import Failure, Screen, end_processes, marked_processes, prepare_wine_run
from session import Checks, Session

SCENARIOS = {
    "game": [play_scenarios.quit_from_level_dialog, play_scenarios.play_novice,
             play_scenarios.stored_level],
    "win": [win_scenario.win_novice],
    "online": [online_scenario.submit_hiscores],
    "help": [help_scenario.help_and_about],
    "fit": [fit_scenarios.largest_boards, fit_scenarios.narrow_boards],
    "pages": [pages_scenario.pages_reach_browser],
    "scoreboard": [scoreboard_scenario.submit_and_read_back],
    "texts": [texts_scenario.texts_whole],
    "installer": [installer_scenario.install_play_uninstall],
}


def install_browser_stub(work, environment):
    """An xdg-open first on PATH that appends each address it is given to browser.log."""
    folder = os.path.join(work, "bin")
    os.makedirs(folder)
    stub = os.path.join(folder, "xdg-open")
    with open(stub, "w") as f:
        f.write("#!/bin/sh\nprintf '%%s\\n' \"$*\" >> '%s'\n" % os.path.join(work, "browser.log"))
    os.chmod(stub, os.stat(stub).st_mode | stat.S_IXUSR | stat.S_IXGRP | stat.S_IXOTH)
    environment["PATH"] = folder + os.pathsep + environment.get("PATH", "")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--exe", required=True, help="tessara.exe")
    parser.add_argument("--texts", required=True, help="window_texts.exe")
    parser.add_argument("--bitmaps", required=True, help="folder of the generated bitmaps")
    parser.add_argument("--work", required=True, help="scratch folder, emptied first")
    parser.add_argument("--packages", help="the Windows packages' path without .exe or .zip")
    parser.add_argument("--server", help="the native tessara-hiscore-server")
    parser.add_argument("--scenarios", nargs="+", choices=sorted(SCENARIOS),
                        default=sorted(SCENARIOS), help="groups of scenarios to run")
    args = parser.parse_args()
    args.exe = os.path.abspath(args.exe)
    args.texts = os.path.abspath(args.texts)

    display, token, environment = prepare_wine_run(args)

    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    install_browser_stub(args.work, environment)
    checks = Checks()
    session = Session(args, environment, checks, token)
    try:
        for group in args.scenarios:
            for scenario in SCENARIOS[group]:
                try:
                    scenario(session)
                except Failure as failure:
                    picture = os.path.join(args.work, scenario.__name__ + "-failure.png")
                    try:
                        Screen.grab().save_png(picture)
                    except Failure:
                        picture = "not taken"
                    checks.check(False, "%s: %s (screen: %s)"
                                 % (scenario.__name__, failure, picture))
                finally:
                    session.stop_all()
    finally:
        session.stop_all()
        end_processes(marked_processes(token))
        if display:
            # Asked to end, Xvfb removes its socket and lock file.
            display.terminate()
            try:
                display.wait(10)
            except subprocess.TimeoutExpired:
                display.kill()
    print("%d passed, %d failed" % (checks.passed, checks.failed))
    return 1 if checks.failed or not checks.passed else 0


if __name__ == "__main__":
    sys.exit(main())
