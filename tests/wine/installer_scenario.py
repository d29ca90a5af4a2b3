"""The Windows packages. The installer, run silently, installs for the current user; the game
started as its Start-menu shortcut starts it finds its help and saves its settings in the
shortcut's working folder; the silent uninstaller removes the program and keeps the player's
hiscores and settings. The portable zip holds the same program and help document."""

import glob
import os
import shutil
import subprocess
import time
import zipfile

import hiscore_oracle
import program_ui as ui
from desktop import Failure, Program, click_dialog_button, run, wait_for
from session import read_settings
from shortcut_file import read_shortcut

HELP_SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "resources",
                           "help", "help.htm")
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessara"
PLAYER_TABLE = [("Grace Hopper", 4200)] + hiscore_oracle.DEFAULT_TABLE[1:]
# Where the installer puts the game and the shortcut, under each user's profile folder.
INSTALLED = os.path.join("AppData", "Local", "Programs", "Tessara")
SHORTCUT = os.path.join("AppData", "Roaming", "Microsoft", "Windows", "Start Menu", "Programs",
                        "Tessara.lnk")


def unix_path(prefix, windows_path):
    """The file that a drive-letter path of the prefix names."""
    drive, _, rest = windows_path.partition(":")
    return os.path.join(prefix, "dosdevices", drive.lower() + ":", *rest.strip("\\").split("\\"))


def registry_key(environment, key):
    """The `reg query` listing of the key, or None when it does not exist."""
    done = subprocess.run(["wine", "reg", "query", key], env=environment, timeout=60,
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL)
    return done.stdout.decode(errors="replace") if done.returncode == 0 else None


def run_windows(command, environment, folder):
    try:
        return subprocess.run(["wine"] + command, env=environment, cwd=folder, timeout=120,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              stdin=subprocess.DEVNULL).returncode
    except subprocess.TimeoutExpired:
        raise Failure("wine %s did not finish in 120 s" % " ".join(command))


def remove_earlier_install(prefix, environment):
    """What an earlier, interrupted run of this scenario may have left in the shared prefix."""
    for profile in glob.glob(os.path.join(prefix, "drive_c", "users", "*")):
        shutil.rmtree(os.path.join(profile, INSTALLED), ignore_errors=True)
        if os.path.exists(os.path.join(profile, SHORTCUT)):
            os.remove(os.path.join(profile, SHORTCUT))
    if registry_key(environment, UNINSTALL_KEY) is not None:
        run(["wine", "reg", "delete", UNINSTALL_KEY, "/f"], timeout=60, check=False)


def install_play_uninstall(session):
    checks = session.checks
    scratch = session.folder("installer")
    installer, portable = session.args.packages + ".exe", session.args.packages + ".zip"
    prefix = session.environment["WINEPREFIX"]
    environment = dict(session.environment)
    # No menu entries on the Linux desktop of whoever runs the tests.
    environment["WINEDLLOVERRIDES"] += ";winemenubuilder.exe=d"
    remove_earlier_install(prefix, environment)

    with open(installer, "rb") as f:
        checks.check(b'level="asInvoker"' in f.read(),
                     "the installer asks for no administrator rights (its manifest requests "
                     "asInvoker)")
    status = run_windows([installer, "/S"], environment, scratch)
    links = glob.glob(os.path.join(prefix, "drive_c", "users", "*", SHORTCUT))
    checks.check(status == 0 and len(links) == 1,
                 "the silent install ends with status 0 (%s) and puts a shortcut into the "
                 "user's Start menu (%s)" % (status, links))
    if not links:
        raise Failure("no shortcut to go on with")
    profile = links[0][:-len(SHORTCUT) - 1]
    shortcut = read_shortcut(links[0])
    target = unix_path(prefix, shortcut.target or "")
    working = unix_path(prefix, shortcut.working_folder or "")
    installed = os.path.join(profile, INSTALLED)
    checks.check(os.path.samefile(os.path.dirname(target), installed)
                 and os.path.samefile(working, installed),
                 "the shortcut starts %s in its own folder, the user's %s (%s in %s)"
                 % (os.path.basename(target), INSTALLED, shortcut.target,
                    shortcut.working_folder))
    files = sorted(os.path.relpath(os.path.join(d, f), installed)
                   for d, _, names in os.walk(installed) for f in names)
    checks.check(files == ["Help/help.htm", "Uninstall.exe", "tessara.exe"],
                 "the game, its help and the uninstaller are installed (%s)" % files)
    listing = registry_key(environment, UNINSTALL_KEY)
    checks.check(listing is not None and "Uninstall.exe" in listing and "1.9" in listing,
                 "the uninstaller is registered for the current user, version 1.9 (%s)"
                 % listing)

    with zipfile.ZipFile(portable) as archive:
        packed = {name: archive.read(name) for name in archive.namelist()
                  if not name.endswith("/")}
    top = os.path.basename(session.args.packages)
    with open(session.args.exe, "rb") as f, open(HELP_SOURCE, "rb") as g:
        built = {"tessara.exe": f.read(), "Help/help.htm": g.read()}
    with open(target, "rb") as f:
        checks.check(f.read() == built["tessara.exe"],
                     "the installer installs the program that was built and tested")
    checks.check(packed == {top + "/" + name: data for name, data in built.items()},
                 "the portable zip holds that program and the help document in %s/ (%s)"
                 % (top, sorted(packed)))

    # The player comes back to a table won earlier.
    stored = hiscore_oracle.encode(PLAYER_TABLE)
    with open(os.path.join(working, "hiscore.dat"), "wb") as f:
        f.write(stored)
    program = Program(target, working, environment)
    session.programs.append(program)
    dialog = program.level_dialog()
    time.sleep(0.5)
    click_dialog_button(dialog, 153, 20, 66, 11)
    window = program.main_window()
    ui.choose(window, "how to play")
    calls = session.wait_browser_calls(1)
    checks.check(len(calls) == 1 and calls[0].endswith("/Tessara/Help/help.htm"),
                 "How to Play finds the installed help in the working folder (%s)" % calls)
    ui.choose(window, "exit")
    status = program.exited()
    session.stop_all()
    # The run's log is the test's, not the player's.
    shutil.move(os.path.join(working, "wine.log"), os.path.join(scratch, "wine.log"))
    settings = read_settings(working)
    checks.check(status == 0 and settings is not None and settings.get("level") == "1",
                 "Exit saves tessara.ini with the chosen level in the working folder (%s)"
                 % settings)
    with open(os.path.join(working, "tessara.ini"), "rb") as f:
        saved_settings = f.read()

    status = run_windows([os.path.join(installed, "Uninstall.exe"), "/S"], environment, scratch)
    # The uninstaller goes on in a copy of itself and ends after the program it was started as.
    try:
        wait_for("the uninstaller to remove the game",
                 lambda: not os.path.exists(os.path.join(installed, "Uninstall.exe")), 60)
    except Failure:
        pass
    left = sorted(os.listdir(installed)) if os.path.isdir(installed) else None
    checks.check(status == 0 and left == ["hiscore.dat", "tessara.ini"],
                 "the silent uninstall (status %s) leaves only hiscore.dat and tessara.ini in "
                 "the folder (%s)" % (status, left))
    kept = {}
    for name in ("hiscore.dat", "tessara.ini"):
        if os.path.exists(os.path.join(installed, name)):
            with open(os.path.join(installed, name), "rb") as f:
                kept[name] = f.read()
    checks.check(kept == {"hiscore.dat": stored, "tessara.ini": saved_settings},
                 "the player's hiscores and settings are kept as they were")
    checks.check(not os.path.exists(links[0]) and registry_key(environment, UNINSTALL_KEY) is None,
                 "the shortcut and the uninstaller's registration are gone")
    shutil.rmtree(installed, ignore_errors=True)
