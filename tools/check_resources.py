#!/usr/bin/env python3
"""Checks that resources/tessara.rc, with the id header and the picture lines that the build
generates from the resource table, resources/resources.toml, holds exactly Tessara's resources.

The generated files are written here from the table, the script is compiled with windres
against placeholder pictures made here, and the resulting .res file is read back: it must
hold the table's resources, and every menu item and every dialog control must match the
layouts below, their ids taken from the table by name. The header is checked name by name
against the table, and compiled as C++17 by the MinGW and the host compiler with static
assertions on its C++ part.

With --mutants, known mistakes are put into copies of the table, the script and the
generated files one at a time, and the check must fail on each of them; rewrites that change
nothing must still pass.

The last line printed is "N passed, N failed"; the exit status is 1 on any failure.
"""

import argparse
import os
import shutil
import struct
import subprocess
import sys
import tempfile

import make_resource_ids
import resource_table
from res_file import (DS_SETFONT, MF_CHECKED, MF_END, MF_POPUP, RT_BITMAP, RT_DIALOG,
                      RT_GROUP_ICON, RT_ICON, RT_MENU, RT_VERSION, parse_dialog, parse_menu,
                      read_res, version_nodes)

RC = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "tessara.rc")

# Window, dialog and control style bits.
WS_POPUP = 0x80000000
WS_CHILD = 0x40000000
WS_VISIBLE = 0x10000000
WS_CAPTION = 0x00C00000
WS_BORDER = 0x00800000
WS_SYSMENU = 0x00080000
WS_GROUP = 0x00020000
WS_TABSTOP = 0x00010000
WS_EX_TOPMOST = 0x00000008
DS_MODALFRAME = 0x0080
DS_CENTER = 0x0800
ES_LEFT = 0x0000
ES_CENTER = 0x0001
ES_AUTOHSCROLL = 0x0080
ES_READONLY = 0x0800
ES_NUMBER = 0x2000
BS_PUSHBUTTON = 0x0000
BS_DEFPUSHBUTTON = 0x0001
BS_AUTOCHECKBOX = 0x0003
BS_GROUPBOX = 0x0007
SS_LEFT = 0x0000
SS_CENTER = 0x0001
SS_RIGHT = 0x0002
SS_BITMAP = 0x000E

NO_ID = -1

# Control kinds as the dialogs use them.
CHILD = WS_CHILD | WS_VISIBLE
PUSH = CHILD | BS_PUSHBUTTON | WS_TABSTOP
DEFPUSH = CHILD | BS_DEFPUSHBUTTON | WS_TABSTOP
CHECKBOX = CHILD | BS_AUTOCHECKBOX | WS_TABSTOP
GROUPBOX = CHILD | BS_GROUPBOX
FIELD = CHILD | WS_BORDER | WS_TABSTOP
READONLY_LABEL = CHILD | ES_READONLY
LEFT_TEXT = CHILD | SS_LEFT | WS_GROUP
CENTRED_TEXT = CHILD | SS_CENTER | WS_GROUP
RIGHT_TEXT = CHILD | SS_RIGHT | WS_GROUP
PICTURE = CHILD | SS_BITMAP

MENU = [
    ("&File", [
        ("&New Game", "IDM_NEW_GAME", False),
        ("Use &Marks (?)", "IDM_USE_MARKS", True),
        ("Safe &Start", "IDM_SAFE_START", True),
        ("Use &Big Icons", "IDM_USE_BIG_ICONS", True),
        None,
        ("E&xit", "IDM_EXIT", False),
    ]),
    ("Hiscores", [
        ("View &Local Hiscores", "IDM_VIEW_LOCAL_HISCORES", False),
        ("View &Online Hiscores", "IDM_VIEW_ONLINE_HISCORES", False),
        ("Set &Hiscore Server", "IDM_SET_HISCORE_SERVER", False),
        ("Set &Proxy Server", "IDM_SET_PROXY_SERVER", False),
    ]),
    ("Help", [
        ("Report a bug", "IDM_REPORT_BUG", False),
        ("How to Play", "IDM_HOW_TO_PLAY", False),
        ("About", "IDM_ABOUT", False),
    ]),
]

# (rank label y, row text y, marker y) of each table row; the row of rank N has the controls
# IDC_TABLE_RANK_N, IDC_TABLE_ROW_N and IDC_TABLE_MARKER_N.
TABLE_ROW_PLACES = [(14, 14, 14), (28, 27, 25), (41, 40, 36), (52, 52, 49), (65, 65, 63),
                    (76, 78, 74), (88, 91, 88), (103, 104, 100), (117, 117, 111),
                    (130, 130, 124)]
TABLE_ROW_WIDTH = 143


def table_row_controls():
    controls = []
    for rank, (label_y, row_y, marker_y) in enumerate(TABLE_ROW_PLACES, 1):
        controls += [
            ("IDC_TABLE_RANK_%d" % rank, "EDIT", READONLY_LABEL | ES_LEFT, 7, label_y, 17, 12, ""),
            ("IDC_TABLE_ROW_%d" % rank, "EDIT", READONLY_LABEL | ES_CENTER, 26, row_y,
             TABLE_ROW_WIDTH, 13, ""),
            ("IDC_TABLE_MARKER_%d" % rank, "EDIT", READONLY_LABEL | ES_LEFT, 179, marker_y, 10,
             12, ""),
        ]
    return controls


class BitmapText(str):
    """A control's text that is a bitmap's id, given by the bitmap's name."""


CLOSABLE = WS_POPUP | DS_MODALFRAME | WS_CAPTION | WS_SYSMENU | DS_SETFONT
SANS = (8, "MS Sans Serif")
SHELL = (8, "MS Shell Dlg")

# Dialog name: (style, extended style, (x, y, cx, cy), title, font, controls in template
# order); a control is (name, class, style, x, y, cx, cy, text), with no name for a control
# without an id.
DIALOGS = {
    "IDD_LEVEL": (WS_POPUP | DS_MODALFRAME | DS_SETFONT, 0, (0, 0, 248, 146), "", SANS, [
        (None, "BUTTON", GROUPBOX, 7, 7, 112, 114, "Custom"),
        ("IDC_LEVEL_ROWS_LABEL", "EDIT", READONLY_LABEL, 13, 26, 53, 12, ""),
        ("IDC_LEVEL_ROWS", "EDIT", FIELD | ES_NUMBER | ES_CENTER, 73, 25, 28, 13, ""),
        ("IDC_LEVEL_COLUMNS_LABEL", "EDIT", READONLY_LABEL, 13, 47, 55, 12, ""),
        ("IDC_LEVEL_COLUMNS", "EDIT", FIELD | ES_NUMBER | ES_CENTER, 73, 46, 27, 12, ""),
        ("IDC_LEVEL_DIFFICULTY_LABEL", "EDIT", READONLY_LABEL, 13, 63, 59, 12, ""),
        ("IDC_LEVEL_DIFFICULTY", "EDIT", FIELD | ES_NUMBER | ES_CENTER, 73, 63, 27, 12, ""),
        ("IDC_LEVEL_PLAY_CUSTOM", "BUTTON", DEFPUSH, 36, 82, 50, 14, "Play Custom"),
        (None, "STATIC", CENTRED_TEXT, 13, 100, 93, 16, "You cannot submit\nhiscores in this mode"),
        (None, "BUTTON", GROUPBOX, 126, 7, 115, 115, "Competition Levels"),
        ("IDC_LEVEL_NOVICE", "BUTTON", PUSH, 153, 20, 66, 11, "Novice"),
        ("IDC_LEVEL_BEGINNER", "BUTTON", PUSH, 153, 40, 66, 11, "Beginner"),
        ("IDC_LEVEL_INTERMEDIATE", "BUTTON", PUSH, 153, 60, 66, 11, "Intermediate"),
        ("IDC_LEVEL_ADVANCED", "BUTTON", PUSH, 153, 80, 66, 11, "Advanced"),
        ("IDC_LEVEL_EXPERT", "BUTTON", PUSH, 153, 100, 66, 11, "Expert"),
        ("IDC_LEVEL_QUIT", "BUTTON", PUSH, 92, 126, 64, 13, "Quit Game"),
    ]),
    "IDD_HISCORE_TABLE": (
        WS_POPUP | DS_MODALFRAME | WS_CAPTION | DS_CENTER | DS_SETFONT, WS_EX_TOPMOST,
        (0, 0, 196, 186), "--== HISCORE TABLE ==---", SANS, [
        ("IDC_TABLE_OK", "BUTTON", DEFPUSH, 74, 165, 50, 14, "OK"),
        ("IDC_TABLE_SUBMIT", "BUTTON", PUSH, 58, 147, 80, 15, "Submit Hiscores"),
    ] + table_row_controls()),
    "IDD_ENTER_NAME": (CLOSABLE, 0, (0, 0, 230, 31), "Enter Your Name", SANS, [
        (None, "STATIC", LEFT_TEXT, 7, 13, 21, 11, "Name"),
        ("IDC_NAME_FIELD", "EDIT", FIELD | ES_AUTOHSCROLL, 39, 11, 101, 13, ""),
        ("IDC_NAME_OK", "BUTTON", DEFPUSH, 173, 7, 50, 17, "OK"),
    ]),
    "IDD_ABOUT": (WS_POPUP | DS_MODALFRAME | WS_CAPTION | DS_SETFONT, 0, (0, 0, 159, 86),
                  "Tessara", SANS, [
        (None, "STATIC", CENTRED_TEXT, 64, 22, 88, 41,
         "Tessara By Hexwright\n\n\nVersion 1.9"),
        (None, "STATIC", PICTURE, 16, 30, 32, 30, BitmapText("IDB_ABOUT")),
        ("IDC_ABOUT_OK", "BUTTON", PUSH, 81, 65, 50, 14, "Ok"),
    ]),
    "IDD_CONNECTING": (CLOSABLE, 0, (0, 0, 184, 66), "Connecting...", SANS, [
        (None, "STATIC", LEFT_TEXT, 19, 19, 143, 15, "Connecting to the server..."),
        ("IDC_CONNECTING_CANCEL", "BUTTON", PUSH, 68, 38, 50, 14, "Cancel"),
    ]),
    "IDD_SET_PROXY": (CLOSABLE, 0, (0, 0, 254, 119), "Set proxy", SHELL, [
        ("IDC_PROXY_USE", "BUTTON", CHECKBOX, 15, 7, 71, 17, "Use Proxy"),
        ("IDC_PROXY_ADDRESS", "EDIT", FIELD | ES_AUTOHSCROLL, 77, 31, 170, 12, ""),
        ("IDC_PROXY_PORT", "EDIT", FIELD | ES_AUTOHSCROLL, 77, 60, 170, 12, ""),
        (None, "STATIC", RIGHT_TEXT, 7, 33, 61, 11, "Proxy Address"),
        (None, "STATIC", RIGHT_TEXT, 7, 60, 61, 11, "Proxy Port"),
        ("IDC_PROXY_OK", "BUTTON", PUSH, 59, 95, 58, 17, "OK"),
        ("IDC_PROXY_CANCEL", "BUTTON", PUSH, 137, 95, 58, 17, "Cancel"),
    ]),
    "IDD_SET_SERVER": (CLOSABLE, 0, (0, 0, 186, 155), "Set Server", SHELL, [
        (None, "STATIC", CENTRED_TEXT, 34, 7, 116, 18,
         "Please enter the IP address or \nname of the server to connect to:"),
        ("IDC_SERVER_ADDRESS", "EDIT", FIELD | ES_CENTER | ES_AUTOHSCROLL, 7, 28, 172, 14, ""),
        (None, "STATIC", CENTRED_TEXT, 34, 53, 116, 18,
         "Please enter the server path\nof the hiscore servlet"),
        ("IDC_SERVER_PATH", "EDIT", FIELD | ES_CENTER | ES_AUTOHSCROLL, 7, 74, 172, 14, ""),
        (None, "STATIC", CENTRED_TEXT, 35, 94, 121, 10, "Please enter port to connect to:"),
        ("IDC_SERVER_PORT", "EDIT", FIELD | ES_CENTER | ES_NUMBER, 49, 108, 91, 14, ""),
        ("IDC_SERVER_OK", "BUTTON", DEFPUSH, 33, 134, 50, 14, "OK"),
        ("IDC_SERVER_CANCEL", "BUTTON", PUSH, 106, 134, 50, 14, "Cancel"),
    ]),
}

# The header's own names beside the table's.
HEADER_EXTRAS = {"IDC_STATIC": NO_ID}


class Report:
    def __init__(self, verbose=True):
        self.passed = 0
        self.failed = 0
        self.verbose = verbose

    def check(self, what, expected, actual):
        if expected == actual:
            self.passed += 1
        else:
            self.fail("%s: expected %r, got %r" % (what, expected, actual))

    def fail(self, message):
        self.failed += 1
        if self.verbose:
            print("FAIL " + message)


# Placeholder pictures: each bitmap's single pixel encodes its id, so that a picture
# bound to the wrong id is found.

def placeholder_bitmap(resource_id):
    pixel = bytes([resource_id & 0xFF, resource_id >> 8, 0x5A, 0])
    info = struct.pack("<IiiHHIIiiII", 40, 1, 1, 1, 24, 0, len(pixel), 2835, 2835, 0, 0)
    offset = 14 + len(info)
    return struct.pack("<2sIHHI", b"BM", offset + len(pixel), 0, 0, offset) + info + pixel


def placeholder_icon_image():
    size = 16
    info = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, 0, 0, 0, 0, 0)
    colours = bytes([0x30, 0x60, 0x90, 0xFF]) * (size * size)
    and_mask = bytes(4 * size)
    return info + colours + and_mask


def placeholder_icon():
    image = placeholder_icon_image()
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", 16, 16, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


def write_placeholders(folder, table):
    for resource_id in table.bitmaps.values():
        with open(os.path.join(folder, resource_table.bitmap_file(resource_id)), "wb") as f:
            f.write(placeholder_bitmap(resource_id))
    for icon_id in table.icons.values():
        with open(os.path.join(folder, resource_table.icon_file(icon_id)), "wb") as f:
            f.write(placeholder_icon())


def check_menu(report, resources, table):
    body = resources.get((RT_MENU, table.menu.upper()))
    if body is None:
        report.fail("menu %s is missing" % table.menu)
        return
    ids = table.ids()
    menu = parse_menu(body)
    report.check("menu pop-up count", len(MENU), len(menu))
    for p, ((text, items), popup) in enumerate(zip(MENU, menu)):
        last_popup = MF_END if p == len(MENU) - 1 else 0
        report.check("pop-up %r flags" % text, MF_POPUP | last_popup, popup[0])
        report.check("pop-up %d text" % p, text, popup[2])
        report.check("%s item count" % text, len(items), len(popup[3]))
        for i, (item, actual) in enumerate(zip(items, popup[3])):
            end = MF_END if i == len(items) - 1 else 0
            if item is None:
                expected = (end, 0, "")
            else:
                item_text, item_name, checked = item
                expected = ((MF_CHECKED if checked else 0) | end, ids.get(item_name), item_text)
            report.check("%s item %d (flags, id, text)" % (text, i), expected, actual[:3])


def check_dialog(report, resources, table, name):
    style, exstyle, rect, title, font, controls = DIALOGS[name]
    named = [control[0] for control in controls if control[0] is not None]
    report.check("%s's controls in the table and in the layout" % name,
                 sorted(table.dialog(name).controls), sorted(named))
    ids = table.ids()
    where = "dialog %s (%d)" % (name, ids[name])
    body = resources.get((RT_DIALOG, ids[name]))
    if body is None:
        report.fail(where + " is missing")
        return
    dialog = parse_dialog(body)
    report.check(where + " style", hex(style), hex(dialog["style"]))
    report.check(where + " extended style", hex(exstyle), hex(dialog["exstyle"]))
    report.check(where + " help id", 0, dialog["help"])
    report.check(where + " position and size", rect, dialog["rect"])
    report.check(where + " menu", None, dialog["menu"])
    report.check(where + " class", None, dialog["class"])
    report.check(where + " title", title, dialog["title"])
    report.check(where + " font", font, dialog["font"])
    if dialog["font"] is not None:
        report.check(where + " font is regular", True,
                     dialog["font_weight"] in (0, 400) and dialog["font_italic"] == 0)
    report.check(where + " control count", len(controls), len(dialog["controls"]))
    for n, (expected, actual) in enumerate(zip(controls, dialog["controls"])):
        control_name, kind, cstyle, x, y, cx, cy, text = expected
        label = "%s control %d (%s)" % (where, n, control_name or "no id")
        report.check(label + " id", NO_ID if control_name is None else ids.get(control_name),
                     actual["id"])
        report.check(label + " class", kind, actual["class"])
        report.check(label + " style", hex(cstyle), hex(actual["style"]))
        report.check(label + " extended style", 0, actual["exstyle"])
        report.check(label + " help id", 0, actual["help"])
        report.check(label + " position and size", (x, y, cx, cy), actual["rect"])
        report.check(label + " text", ids.get(text) if isinstance(text, BitmapText) else text,
                     actual["text"])
        report.check(label + " creation data", 0, actual["extra"])


def check_dialogs(report, resources, table):
    report.check("dialogs in the table and with a layout here",
                 sorted(d.name for d in table.dialogs), sorted(DIALOGS))
    for dialog in table.dialogs:
        if dialog.name in DIALOGS:
            check_dialog(report, resources, table, dialog.name)


def check_pictures(report, resources, table):
    for name, resource_id in table.bitmaps.items():
        expected = placeholder_bitmap(resource_id)[14:]
        report.check("bitmap %s (%d) holds %s" % (name, resource_id,
                                                 resource_table.bitmap_file(resource_id)),
                     expected, resources.get((RT_BITMAP, resource_id)))
    for name, group_id in table.icons.items():
        where = "icon group %s (%d)" % (name, group_id)
        group = resources.get((RT_GROUP_ICON, group_id))
        if group is None:
            report.fail(where + " is missing")
            continue
        reserved, kind, count = struct.unpack_from("<HHH", group, 0)
        report.check(where + " header", (0, 1, 1), (reserved, kind, count))
        width, height, _, _, _, _, size, icon_id = struct.unpack_from("<BBBBHHIH", group, 6)
        report.check(where + " entry size", (16, 16), (width, height))
        report.check("icon %d holds %s" % (icon_id, resource_table.icon_file(group_id)),
                     placeholder_icon_image(), resources.get((RT_ICON, icon_id)))


def check_version(report, resources, version):
    """The version resource: the numbers and texts of the version that the project builds."""
    body = resources.get((RT_VERSION, 1))
    if body is None:
        report.fail("the version resource is missing")
        return
    (key, fixed, children), = version_nodes(body)
    report.check("version resource key", "VS_VERSION_INFO", key)
    numbers = [int(n) for n in version.split(".")] + [0, 0, 0]
    expected = (numbers[0] << 16 | numbers[1], numbers[2] << 16 | numbers[3])
    signature, _, file_ms, file_ls, product_ms, product_ls, _, flags, _, file_type = \
        struct.unpack_from("<10I", fixed)
    report.check("version signature", hex(0xFEEF04BD), hex(signature))
    report.check("file version numbers", expected, (file_ms, file_ls))
    report.check("product version numbers", expected, (product_ms, product_ls))
    report.check("version flags (a release build)", 0, flags)
    report.check("file type (an application)", 1, file_type)
    strings = {name: value for block_key, _, tables in children if block_key == "StringFileInfo"
               for _, _, values in tables for name, value, _ in values}
    report.check("version texts", {"CompanyName": "Hexwright", "FileDescription": "Tessara",
                                   "FileVersion": version, "InternalName": "tessara",
                                   "OriginalFilename": "tessara.exe", "ProductName": "Tessara",
                                   "ProductVersion": version}, strings)


def check_inventory(report, resources, table):
    expected = {(RT_MENU, table.menu.upper()), (RT_VERSION, 1)}
    expected |= {(RT_GROUP_ICON, i) for i in table.icons.values()}
    expected |= {(RT_DIALOG, d.id) for d in table.dialogs}
    expected |= {(RT_BITMAP, b) for b in table.bitmaps.values()}
    actual = {key for key in resources if key[0] != RT_ICON}
    report.check("resources missing", set(), expected - actual)
    report.check("unexpected resources", set(), actual - expected)
    report.check("icon images", len(table.icons),
                 sum(1 for key in resources if key[0] == RT_ICON))


def read_header_defines(path):
    """The header's object-like macros with their values; its function-like ones are checked
    by compiling."""
    defines = {}
    with open(path) as f:
        for line in f:
            words = line.split(None, 2)
            if (len(words) >= 2 and words[0] == "#define" and "(" not in words[1]
                    and words[1] != make_resource_ids.HEADER_GUARD):
                value = words[2].strip() if len(words) > 2 else ""
                try:
                    defines[words[1]] = int(value.strip("()"), 0)
                except ValueError:
                    defines[words[1]] = value
    return defines


def check_header_defines(report, header, table):
    expected = dict(table.ids(), **HEADER_EXTRAS)
    defines = read_header_defines(header)
    report.check("unexpected header names", set(), set(defines) - set(expected))
    for name, value in sorted(expected.items()):
        report.check("header %s" % name, value, defines.get(name))


def header_probe_source(with_windows, table):
    ids = table.ids()
    lines = ["#include <windows.h>"] if with_windows else []
    lines += [
        '#include "resource_ids.h"',
        '#include "resource_ids.h"',
        "constexpr bool same(const char* a, const char* b) {",
        "    return *a == *b && (*a == 0 || same(a + 1, b + 1));",
        "}",
        'static_assert(same(kMainMenuName, "%s"), "menu name");' % table.menu,
    ]
    for dialog in table.dialogs:
        for name, controls in dialog.lists.items():
            lines.append('static_assert(sizeof %s / sizeof %s[0] == %d, "%s");'
                         % (name, name, len(controls), name))
            lines += ['static_assert(%s[%d] == %d, "%s");' % (name, index, ids[control], control)
                      for index, control in enumerate(controls)]
    lines += ["struct Tile { const char* picture; int big; int small; };",
              "#define TILE(picture, big, small) {#picture, big, small},",
              "constexpr Tile tiles[] = {%s(TILE)};" % make_resource_ids.TILE_MACRO,
              'static_assert(sizeof tiles / sizeof tiles[0] == %d, "tile pictures");'
              % len(table.tiles)]
    for index, (picture, (big, small)) in enumerate(table.tiles.items()):
        lines.append('static_assert(same(tiles[%d].picture, "%s") && tiles[%d].big == %d && '
                     'tiles[%d].small == %d, "tile %s");'
                     % (index, picture, index, ids[big], index, ids[small], picture))
    lines += ["int main() { return 0; }", ""]
    return "\n".join(lines)


def check_header_cpp(report, header, table, compilers, work):
    for compiler, with_windows in compilers:
        source = os.path.join(work, "probe_%d.cpp" % with_windows)
        with open(source, "w") as f:
            f.write(header_probe_source(with_windows, table))
        command = [compiler, "-std=c++17", "-Wall", "-Wextra", "-Werror", "-fsyntax-only",
                   "-I", os.path.dirname(header), source]
        try:
            result = subprocess.run(command, capture_output=True, text=True)
        except OSError as error:
            report.fail("%s cannot run: %s" % (compiler, error))
            continue
        report.check("header compiles as C++17 with %s%s" % (
            compiler, " after <windows.h>" if with_windows else ""), "", result.stderr.strip())


def run_windres(report, windres, rc, pictures, output_format, output):
    command = [windres, "-I", pictures, rc, "-O", output_format, "-o", output]
    try:
        result = subprocess.run(command, capture_output=True, text=True)
    except OSError as error:
        report.fail("%s cannot run: %s" % (windres, error))
        return False
    report.check("windres -O %s exit status" % output_format, 0, result.returncode)
    report.check("windres -O %s messages" % output_format, "", result.stderr.strip())
    return result.returncode == 0


# The files of a check, in one folder: the two sources and the two files generated from the
# table, which the script includes from beside it.
FILES = {"table": "resources.toml", "rc": "tessara.rc",
         "header": make_resource_ids.HEADER, "pictures": make_resource_ids.PICTURES}


def mutate(work, target, old, new):
    path = os.path.join(work, FILES[target])
    with open(path) as f:
        text = f.read()
    if text.count(old) != 1:
        raise ValueError("its text occurs %d times in %s" % (text.count(old), FILES[target]))
    with open(path, "w") as f:
        f.write(text.replace(old, new))


def prepare(report, work, table_path, rc, mutation=None):
    """Copies the table and the script into the folder and generates the header and the
    picture lines there from the table; a mutation (file, text, replacement) changes one of
    the four on the way. Returns the table, or None when the table is refused."""
    shutil.copyfile(table_path, os.path.join(work, FILES["table"]))
    shutil.copyfile(rc, os.path.join(work, FILES["rc"]))
    if mutation and mutation[0] in ("table", "rc"):
        mutate(work, *mutation)
    try:
        table = resource_table.load(os.path.join(work, FILES["table"]))
    except resource_table.TableError as error:
        report.fail("the resource table is refused: %s" % error)
        return None
    make_resource_ids.write_all(table, work)
    if mutation and mutation[0] in ("header", "pictures"):
        mutate(work, *mutation)
    return table


def check_all(report, table_path, rc, windres, compilers, version, mutation=None):
    with tempfile.TemporaryDirectory(prefix="tessara-rc-") as work:
        table = prepare(report, work, table_path, rc, mutation)
        if table is None:
            return
        pictures = os.path.join(work, "pictures")
        os.mkdir(pictures)
        write_placeholders(pictures, table)
        script = os.path.join(work, FILES["rc"])
        res = os.path.join(work, "tessara.res")
        run_windres(report, windres, script, pictures, "coff", os.path.join(work, "tessara.o"))
        if run_windres(report, windres, script, pictures, "res", res):
            with open(res, "rb") as f:
                resources = read_res(f.read())
            check_inventory(report, resources, table)
            check_menu(report, resources, table)
            check_dialogs(report, resources, table)
            check_pictures(report, resources, table)
            check_version(report, resources, version)
        header = os.path.join(work, FILES["header"])
        check_header_defines(report, header, table)
        check_header_cpp(report, header, table, compilers, work)


# Known mistakes that the check must find: (what, file, text in the file, replacement).
MUTANTS = [
    ("menu item text", "rc", '"Use &Marks (?)"', '"Use &Marks(?)"'),
    ("menu access key", "rc", '"E&xit"', '"&Exit"'),
    ("menu item id", "rc", '"How to Play",           IDM_HOW_TO_PLAY', '"How to Play", 40012'),
    ("menu check mark", "rc", "IDM_SAFE_START, CHECKED", "IDM_SAFE_START"),
    ("menu separator", "rc", "        MENUITEM SEPARATOR\n", ""),
    ("pop-up text", "rc", 'POPUP "Hiscores"', 'POPUP "&Hiscores"'),
    ("dialog title", "rc", '"--== HISCORE TABLE ==---"', '"--== HISCORE TABLE ==--"'),
    ("dialog centring", "rc", "DS_MODALFRAME | DS_CENTER |", "DS_MODALFRAME |"),
    ("dialog topmost", "rc", "EXSTYLE WS_EX_TOPMOST\n", ""),
    ("dialog close box", "rc", 'WS_CAPTION | WS_SYSMENU\nCAPTION "Connecting..."',
     'WS_CAPTION\nCAPTION "Connecting..."'),
    ("dialog size", "rc", "IDD_ABOUT DIALOGEX 0, 0, 159, 86", "IDD_ABOUT DIALOGEX 0, 0, 159, 87"),
    ("dialog font", "rc", 'CAPTION "Set Server"\nFONT 8, "MS Shell Dlg"',
     'CAPTION "Set Server"\nFONT 8, "MS Sans Serif"'),
    ("control text", "rc", '"You cannot submit\\nhiscores in this mode"',
     '"You cannot submit hiscores in this mode"'),
    ("control id", "rc", "IDC_TABLE_ROW_6, 26, 78", "IDC_TABLE_ROW_7, 26, 78"),
    ("control x", "rc", "IDC_LEVEL_ADVANCED, 153, 80", "IDC_LEVEL_ADVANCED, 154, 80"),
    ("control height", "rc", "IDC_TABLE_MARKER_10, 179, 124, 10, 12",
     "IDC_TABLE_MARKER_10, 179, 124, 10, 13"),
    ("control style digits only", "rc", "IDC_SERVER_PORT, 49, 108, 91, 14, ES_CENTER | ES_NUMBER",
     "IDC_SERVER_PORT, 49, 108, 91, 14, ES_CENTER"),
    ("control border", "rc", "IDC_LEVEL_ROWS_LABEL, 13, 26, 53, 12, ES_READONLY | NOT WS_BORDER",
     "IDC_LEVEL_ROWS_LABEL, 13, 26, 53, 12, ES_READONLY"),
    ("control tab stop", "rc", "IDC_TABLE_RANK_3, 7, 41, 17, 12, ES_READONLY | NOT WS_BORDER | NOT WS_TABSTOP",
     "IDC_TABLE_RANK_3, 7, 41, 17, 12, ES_READONLY | NOT WS_BORDER"),
    ("default button", "rc", 'DEFPUSHBUTTON   "OK", IDC_SERVER_OK', 'PUSHBUTTON      "OK", IDC_SERVER_OK'),
    ("control kind", "rc", 'RTEXT           "Proxy Port"', 'LTEXT           "Proxy Port"'),
    ("control order", "rc",
     '    PUSHBUTTON      "OK", IDC_PROXY_OK, 59, 95, 58, 17\n'
     '    PUSHBUTTON      "Cancel", IDC_PROXY_CANCEL, 137, 95, 58, 17\n',
     '    PUSHBUTTON      "Cancel", IDC_PROXY_CANCEL, 137, 95, 58, 17\n'
     '    PUSHBUTTON      "OK", IDC_PROXY_OK, 59, 95, 58, 17\n'),
    ("missing control", "rc", '    LTEXT           "Name", IDC_STATIC, 7, 13, 21, 11\n', ""),
    ("About picture", "rc", "CONTROL         IDB_ABOUT", "CONTROL         IDB_BIG_MASK"),
    ("bitmap file", "pictures", 'IDB_BIG_COVERED      BITMAP "bitmap_102.bmp"',
     'IDB_BIG_COVERED      BITMAP "bitmap_103.bmp"'),
    ("missing bitmap", "pictures", 'IDB_SEGMENT_V_LIT    BITMAP "bitmap_137.bmp"\n', ""),
    ("icon id", "pictures", 'IDI_TESSARA          ICON', '127                  ICON'),
    ("file version", "rc", "FILEVERSION     1, 9, 0, 0", "FILEVERSION     1, 8, 0, 0"),
    ("version text", "rc", 'VALUE "ProductVersion",   "1.9"', 'VALUE "ProductVersion",   "1.9.0"'),
    ("file name in the version", "rc", '"tessara.exe"', '"Tessara.exe"'),
    ("debug build flag", "rc", "FILEFLAGS       0", "FILEFLAGS       VS_FF_DEBUG"),
    ("header id", "header", "#define IDC_TABLE_ROW_6            1017",
     "#define IDC_TABLE_ROW_6            1016"),
    ("header extra name", "header", "#define IDC_ABOUT_OK               1022",
     "#define IDC_ABOUT_OK               1022\n#define IDC_ABOUT_TEXT 1023"),
    ("header row mapping", "header", "IDC_TABLE_ROW_6, IDC_TABLE_ROW_7",
     "IDC_TABLE_ROW_7, IDC_TABLE_ROW_6"),
    ("header tile order", "header", "X(Open1, IDB_BIG_OPEN1, IDB_SMALL_OPEN1)",
     "X(Open1, IDB_BIG_OPEN2, IDB_SMALL_OPEN1)"),
    ("table: one id for two controls of a dialog", "table", "IDC_TABLE_ROW_6 = 1017",
     "IDC_TABLE_ROW_6 = 1016"),
    ("table: a control that no template has", "table", "IDC_ABOUT_OK = 1022\n",
     "IDC_ABOUT_OK = 1022\nIDC_ABOUT_TEXT = 1023\n"),
    ("table: a template's control missing", "table", "IDC_NAME_OK = 1021\n", ""),
    ("table: a dialog of no template", "table", "[icons]",
     "[dialogs.IDD_HELP]\nid = 160\n\n[icons]"),
    ("table: a tile picture of no bitmap", "table", '"IDB_BIG_MINE", "IDB_SMALL_MINE"',
     '"IDB_BIG_MINE", "IDB_SMALL_MINES"'),
]


# Rewrites that change nothing in the compiled resources: the check must still pass.
EQUIVALENTS = [
    ("classic dialog template", "rc", "IDD_ENTER_NAME DIALOGEX", "IDD_ENTER_NAME DIALOG"),
    ("numeric dialog id", "rc", "IDD_ABOUT DIALOGEX", "125 DIALOGEX"),
    ("another id in the table", "table", "IDC_NAME_OK = 1021", "IDC_NAME_OK = 1099"),
]


def run_mutants(report, table_path, rc, windres, compilers, version):
    cases = [(case, True) for case in MUTANTS] + [(case, False) for case in EQUIVALENTS]
    for (what, target, old, new), must_fail in cases:
        inner = Report(verbose=False)
        try:
            check_all(inner, table_path, rc, windres, compilers, version, (target, old, new))
        except ValueError as error:
            report.fail("mutant %r: %s" % (what, error))
            continue
        if bool(inner.failed) == must_fail:
            report.passed += 1
        elif must_fail:
            report.fail("mutant %r was not detected" % what)
        else:
            report.fail("equivalent rewrite %r failed the check" % what)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--table", default=resource_table.TABLE)
    parser.add_argument("--rc", default=RC)
    parser.add_argument("--windres", default="x86_64-w64-mingw32-windres")
    parser.add_argument("--mingw-cxx", default="x86_64-w64-mingw32-g++-posix")
    parser.add_argument("--host-cxx", default="c++")
    parser.add_argument("--version", required=True,
                        help="the project's version, which the version resource must carry")
    parser.add_argument("--mutants", action="store_true",
                        help="check that known mistakes are detected and harmless rewrites are not")
    args = parser.parse_args()
    compilers = [(args.mingw_cxx, True), (args.host_cxx, False)]
    report = Report()
    if args.mutants:
        run_mutants(report, args.table, args.rc, args.windres, compilers, args.version)
    else:
        check_all(report, args.table, args.rc, args.windres, compilers, args.version)
    print("%d passed, %d failed" % (report.passed, report.failed))
    return 1 if report.failed else 0


if __name__ == "__main__":
    sys.exit(main())
