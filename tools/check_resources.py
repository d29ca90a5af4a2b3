#!/usr/bin/env python3
"""Checks that resources/tessara.rc and resources/resource_ids.h hold exactly Tessara's resources.

The script is compiled with windres against placeholder pictures made here, and the
resulting .res file is read back: every menu item and every dialog control must match
the tables below. The id header is checked name by name, and compiled as C++17 by the
MinGW and the host compiler with static assertions on its C++ part.

With --mutants, known mistakes are put into copies of the two files one at a time, and
the check must fail on each of them; rewrites that change nothing must still pass.

The last line printed is "N passed, N failed"; the exit status is 1 on any failure.
"""

import argparse
import os
import shutil
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
RESOURCES = os.path.join(os.path.dirname(HERE), "resources")

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
DS_SETFONT = 0x0040
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

MF_CHECKED = 0x0008
MF_POPUP = 0x0010
MF_END = 0x0080

RT_ICON, RT_BITMAP, RT_MENU, RT_DIALOG, RT_GROUP_ICON, RT_VERSION = 3, 2, 4, 5, 14, 16

NO_ID = -1
CONTROL_ATOMS = {0x80: "BUTTON", 0x81: "EDIT", 0x82: "STATIC",
                 0x83: "LISTBOX", 0x84: "SCROLLBAR", 0x85: "COMBOBOX"}

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
        ("&New Game", 40001, False),
        ("Use &Marks (?)", 40004, True),
        ("Safe &Start", 40008, True),
        ("Use &Big Icons", 40013, True),
        None,
        ("E&xit", 40002, False),
    ]),
    ("Hiscores", [
        ("View &Local Hiscores", 40006, False),
        ("View &Online Hiscores", 40007, False),
        ("Set &Hiscore Server", 40010, False),
        ("Set &Proxy Server", 40011, False),
    ]),
    ("Help", [
        ("Report a bug", 40014, False),
        ("How to Play", 40009, False),
        ("About", 40003, False),
    ]),
]

# (rank label id, label y, row text id, row text y, marker id, marker y) per table row.
TABLE_ROWS = [
    (1036, 14, 1009, 14, 1023, 14),
    (1046, 28, 1011, 27, 1025, 25),
    (1047, 41, 1012, 40, 1026, 36),
    (1048, 52, 1014, 52, 1027, 49),
    (1049, 65, 1015, 65, 1028, 63),
    (1050, 76, 1017, 78, 1031, 74),
    (1051, 88, 1018, 91, 1032, 88),
    (1052, 103, 1016, 104, 1033, 100),
    (1053, 117, 1010, 117, 1034, 111),
    (1054, 130, 1013, 130, 1035, 124),
]
TABLE_ROW_WIDTH = 143


def table_row_controls():
    controls = []
    for label, label_y, row, row_y, marker, marker_y in TABLE_ROWS:
        controls += [
            (label, "EDIT", READONLY_LABEL | ES_LEFT, 7, label_y, 17, 12, ""),
            (row, "EDIT", READONLY_LABEL | ES_CENTER, 26, row_y, TABLE_ROW_WIDTH, 13, ""),
            (marker, "EDIT", READONLY_LABEL | ES_LEFT, 179, marker_y, 10, 12, ""),
        ]
    return controls


CLOSABLE = WS_POPUP | DS_MODALFRAME | WS_CAPTION | WS_SYSMENU | DS_SETFONT
SANS = (8, "MS Sans Serif")
SHELL = (8, "MS Shell Dlg")

# id: (style, extended style, (x, y, cx, cy), title, font, controls in template order);
# a control is (id, class, style, x, y, cx, cy, text), an int text being a resource id.
DIALOGS = {
    114: (WS_POPUP | DS_MODALFRAME | DS_SETFONT, 0, (0, 0, 248, 146), "", SANS, [
        (NO_ID, "BUTTON", GROUPBOX, 7, 7, 112, 114, "Custom"),
        (1008, "EDIT", READONLY_LABEL, 13, 26, 53, 12, ""),
        (1003, "EDIT", FIELD | ES_NUMBER | ES_CENTER, 73, 25, 28, 13, ""),
        (1009, "EDIT", READONLY_LABEL, 13, 47, 55, 12, ""),
        (1004, "EDIT", FIELD | ES_NUMBER | ES_CENTER, 73, 46, 27, 12, ""),
        (1010, "EDIT", READONLY_LABEL, 13, 63, 59, 12, ""),
        (1005, "EDIT", FIELD | ES_NUMBER | ES_CENTER, 73, 63, 27, 12, ""),
        (1006, "BUTTON", DEFPUSH, 36, 82, 50, 14, "Play Custom"),
        (NO_ID, "STATIC", CENTRED_TEXT, 13, 100, 93, 16, "You cannot submit\nhiscores in this mode"),
        (NO_ID, "BUTTON", GROUPBOX, 126, 7, 115, 115, "Competition Levels"),
        (1031, "BUTTON", PUSH, 153, 20, 66, 11, "Novice"),
        (1034, "BUTTON", PUSH, 153, 40, 66, 11, "Beginner"),
        (1035, "BUTTON", PUSH, 153, 60, 66, 11, "Intermediate"),
        (1036, "BUTTON", PUSH, 153, 80, 66, 11, "Advanced"),
        (1037, "BUTTON", PUSH, 153, 100, 66, 11, "Expert"),
        (1032, "BUTTON", PUSH, 92, 126, 64, 13, "Quit Game"),
    ]),
    122: (WS_POPUP | DS_MODALFRAME | WS_CAPTION | DS_CENTER | DS_SETFONT, WS_EX_TOPMOST,
          (0, 0, 196, 186), "--== HISCORE TABLE ==---", SANS, [
        (1019, "BUTTON", DEFPUSH, 74, 165, 50, 14, "OK"),
        (1029, "BUTTON", PUSH, 58, 147, 80, 15, "Submit Hiscores"),
    ] + table_row_controls()),
    123: (CLOSABLE, 0, (0, 0, 230, 31), "Enter Your Name", SANS, [
        (NO_ID, "STATIC", LEFT_TEXT, 7, 13, 21, 11, "Name"),
        (1020, "EDIT", FIELD | ES_AUTOHSCROLL, 39, 11, 101, 13, ""),
        (1021, "BUTTON", DEFPUSH, 173, 7, 50, 17, "OK"),
    ]),
    125: (WS_POPUP | DS_MODALFRAME | WS_CAPTION | DS_SETFONT, 0, (0, 0, 159, 86), "Tessara", SANS, [
        (NO_ID, "STATIC", CENTRED_TEXT, 64, 22, 88, 41,
         "Tessara By Hexwright\n\n\nVersion 1.9"),
        (NO_ID, "STATIC", PICTURE, 16, 30, 32, 30, 116),
        (1022, "BUTTON", PUSH, 81, 65, 50, 14, "Ok"),
    ]),
    131: (CLOSABLE, 0, (0, 0, 184, 66), "Connecting...", SANS, [
        (NO_ID, "STATIC", LEFT_TEXT, 19, 19, 143, 15, "Connecting to the server..."),
        (1030, "BUTTON", PUSH, 68, 38, 50, 14, "Cancel"),
    ]),
    153: (CLOSABLE, 0, (0, 0, 254, 119), "Set proxy", SHELL, [
        (1037, "BUTTON", CHECKBOX, 15, 7, 71, 17, "Use Proxy"),
        (1039, "EDIT", FIELD | ES_AUTOHSCROLL, 77, 31, 170, 12, ""),
        (1024, "EDIT", FIELD | ES_AUTOHSCROLL, 77, 60, 170, 12, ""),
        (NO_ID, "STATIC", RIGHT_TEXT, 7, 33, 61, 11, "Proxy Address"),
        (NO_ID, "STATIC", RIGHT_TEXT, 7, 60, 61, 11, "Proxy Port"),
        (1, "BUTTON", PUSH, 59, 95, 58, 17, "OK"),
        (2, "BUTTON", PUSH, 137, 95, 58, 17, "Cancel"),
    ]),
    154: (CLOSABLE, 0, (0, 0, 186, 155), "Set Server", SHELL, [
        (NO_ID, "STATIC", CENTRED_TEXT, 34, 7, 116, 18,
         "Please enter the IP address or \nname of the server to connect to:"),
        (1040, "EDIT", FIELD | ES_CENTER | ES_AUTOHSCROLL, 7, 28, 172, 14, ""),
        (NO_ID, "STATIC", CENTRED_TEXT, 34, 53, 116, 18,
         "Please enter the server path\nof the hiscore servlet"),
        (1042, "EDIT", FIELD | ES_CENTER | ES_AUTOHSCROLL, 7, 74, 172, 14, ""),
        (NO_ID, "STATIC", CENTRED_TEXT, 35, 94, 121, 10, "Please enter port to connect to:"),
        (1041, "EDIT", FIELD | ES_CENTER | ES_NUMBER, 49, 108, 91, 14, ""),
        (1, "BUTTON", DEFPUSH, 33, 134, 50, 14, "OK"),
        (2, "BUTTON", PUSH, 106, 134, 50, 14, "Cancel"),
    ]),
}

BITMAP_IDS = (list(range(101, 113)) + [116, 127, 128] + list(range(133, 138))
              + list(range(139, 153)))
ICON_GROUP_ID = 126

HEADER_IDS = {
    "IDM_NEW_GAME": 40001, "IDM_EXIT": 40002, "IDM_ABOUT": 40003, "IDM_USE_MARKS": 40004,
    "IDM_VIEW_LOCAL_HISCORES": 40006, "IDM_VIEW_ONLINE_HISCORES": 40007,
    "IDM_SAFE_START": 40008, "IDM_HOW_TO_PLAY": 40009, "IDM_SET_HISCORE_SERVER": 40010,
    "IDM_SET_PROXY_SERVER": 40011, "IDM_USE_BIG_ICONS": 40013, "IDM_REPORT_BUG": 40014,
    "IDD_LEVEL": 114, "IDD_HISCORE_TABLE": 122, "IDD_ENTER_NAME": 123, "IDD_ABOUT": 125,
    "IDD_CONNECTING": 131, "IDD_SET_PROXY": 153, "IDD_SET_SERVER": 154,
    "IDC_STATIC": -1,
    "IDC_LEVEL_ROWS_LABEL": 1008, "IDC_LEVEL_ROWS": 1003,
    "IDC_LEVEL_COLUMNS_LABEL": 1009, "IDC_LEVEL_COLUMNS": 1004,
    "IDC_LEVEL_DIFFICULTY_LABEL": 1010, "IDC_LEVEL_DIFFICULTY": 1005,
    "IDC_LEVEL_PLAY_CUSTOM": 1006, "IDC_LEVEL_NOVICE": 1031, "IDC_LEVEL_BEGINNER": 1034,
    "IDC_LEVEL_INTERMEDIATE": 1035, "IDC_LEVEL_ADVANCED": 1036, "IDC_LEVEL_EXPERT": 1037,
    "IDC_LEVEL_QUIT": 1032,
    "IDC_TABLE_OK": 1019, "IDC_TABLE_SUBMIT": 1029,
    "IDC_NAME_FIELD": 1020, "IDC_NAME_OK": 1021,
    "IDC_ABOUT_OK": 1022,
    "IDC_CONNECTING_CANCEL": 1030,
    "IDC_PROXY_USE": 1037, "IDC_PROXY_ADDRESS": 1039, "IDC_PROXY_PORT": 1024,
    "IDC_PROXY_OK": 1, "IDC_PROXY_CANCEL": 2,
    "IDC_SERVER_OK": 1, "IDC_SERVER_CANCEL": 2, "IDC_SERVER_ADDRESS": 1040,
    "IDC_SERVER_PATH": 1042, "IDC_SERVER_PORT": 1041,
    "IDB_BIG_MASK": 101, "IDB_BIG_COVERED": 102, "IDB_BIG_OPEN0": 103, "IDB_BIG_OPEN1": 104,
    "IDB_BIG_OPEN2": 105, "IDB_BIG_OPEN3": 106, "IDB_BIG_OPEN4": 107, "IDB_BIG_OPEN5": 108,
    "IDB_BIG_OPEN6": 109, "IDB_BIG_QUESTION": 110, "IDB_BIG_FLAG": 111, "IDB_BIG_MINE": 112,
    "IDB_BIG_WRONG_FLAG": 127, "IDB_BIG_EXPLODED": 128,
    "IDB_SMALL_MASK": 151, "IDB_SMALL_COVERED": 149, "IDB_SMALL_QUESTION": 152,
    "IDB_SMALL_FLAG": 147, "IDB_SMALL_OPEN0": 145, "IDB_SMALL_OPEN1": 139,
    "IDB_SMALL_OPEN2": 140, "IDB_SMALL_OPEN3": 141, "IDB_SMALL_OPEN4": 142,
    "IDB_SMALL_OPEN5": 143, "IDB_SMALL_OPEN6": 144, "IDB_SMALL_MINE": 148,
    "IDB_SMALL_WRONG_FLAG": 150, "IDB_SMALL_EXPLODED": 146,
    "IDB_COUNTER_PANEL": 133, "IDB_SEGMENT_H_UNLIT": 135, "IDB_SEGMENT_H_LIT": 136,
    "IDB_SEGMENT_V_UNLIT": 134, "IDB_SEGMENT_V_LIT": 137,
    "IDB_ABOUT": 116, "IDI_TESSARA": 126,
}
for rank, (label_id, _, row_id, _, marker_id, _) in enumerate(TABLE_ROWS, 1):
    HEADER_IDS.update({"IDC_TABLE_RANK_%d" % rank: label_id,
                       "IDC_TABLE_ROW_%d" % rank: row_id,
                       "IDC_TABLE_MARKER_%d" % rank: marker_id})

HEADER_GUARD = "TESSARA_RESOURCES_RESOURCE_IDS_H"


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


def write_placeholders(folder):
    for resource_id in BITMAP_IDS:
        with open(os.path.join(folder, "bitmap_%d.bmp" % resource_id), "wb") as f:
            f.write(placeholder_bitmap(resource_id))
    with open(os.path.join(folder, "icon_%d.ico" % ICON_GROUP_ID), "wb") as f:
        f.write(placeholder_icon())


# Reading a .res file.

class Reader:
    def __init__(self, data, pos=0):
        self.data = data
        self.pos = pos

    def unpack(self, fmt):
        values = struct.unpack_from("<" + fmt, self.data, self.pos)
        self.pos += struct.calcsize("<" + fmt)
        return values if len(values) > 1 else values[0]

    def align(self):
        self.pos = (self.pos + 3) & ~3

    def text(self):
        end = self.pos
        while self.data[end:end + 2] != b"\0\0":
            end += 2
        value = self.data[self.pos:end].decode("utf-16-le")
        self.pos = end + 2
        return value

    def name_or_ordinal(self):
        first = struct.unpack_from("<H", self.data, self.pos)[0]
        if first == 0xFFFF:
            self.pos += 2
            return self.unpack("H")
        if first == 0:
            self.pos += 2
            return None
        return self.text()


def read_res(data):
    """Returns {(type, name): bytes}; names and types are ints or upper-case strings."""
    resources = {}
    reader = Reader(data)
    while reader.pos < len(data):
        start = reader.pos
        data_size, header_size = reader.unpack("II")
        rtype = reader.name_or_ordinal()
        name = reader.name_or_ordinal()
        if isinstance(name, str):
            name = name.upper()
        body = data[start + header_size:start + header_size + data_size]
        if rtype:
            resources[(rtype, name)] = body
        reader.pos = start + header_size + data_size
        reader.align()
    return resources


def parse_menu(body):
    """Returns [(flags, id, text, children)] where id is None for a pop-up."""
    reader = Reader(body)
    version, header_size = reader.unpack("HH")
    if version != 0:
        raise ValueError("menu template version %d" % version)
    reader.pos += header_size

    def items():
        level = []
        while True:
            flags = reader.unpack("H")
            if flags & MF_POPUP:
                text = reader.text()
                level.append((flags, None, text, items()))
            else:
                item_id = reader.unpack("H")
                level.append((flags, item_id, reader.text(), []))
            if flags & MF_END:
                return level

    return items()


def parse_dialog(body):
    reader = Reader(body)
    version, signature = struct.unpack_from("<HH", body, 0)
    extended = version == 1 and signature == 0xFFFF
    dialog = {}
    if extended:
        reader.pos = 4
        dialog["help"], dialog["exstyle"], dialog["style"] = reader.unpack("III")
    else:
        dialog["help"] = 0
        dialog["style"], dialog["exstyle"] = reader.unpack("II")
    count = reader.unpack("H")
    dialog["rect"] = reader.unpack("hhhh")
    dialog["menu"] = reader.name_or_ordinal()
    dialog["class"] = reader.name_or_ordinal()
    dialog["title"] = reader.text()
    dialog["font"] = None
    if dialog["style"] & DS_SETFONT:
        size = reader.unpack("H")
        weight, italic = (reader.unpack("HBx") if extended else (0, 0))
        dialog["font"] = (size, reader.text())
        dialog["font_weight"], dialog["font_italic"] = weight, italic
    controls = []
    for _ in range(count):
        reader.align()
        control = {}
        if extended:
            control["help"], control["exstyle"], control["style"] = reader.unpack("III")
            control["rect"] = reader.unpack("hhhh")
            control["id"] = reader.unpack("i")
        else:
            control["help"] = 0
            control["style"], control["exstyle"] = reader.unpack("II")
            control["rect"] = reader.unpack("hhhh")
            control["id"] = reader.unpack("h")
        kind = reader.name_or_ordinal()
        control["class"] = CONTROL_ATOMS.get(kind, kind) if isinstance(kind, int) else kind.upper()
        text = reader.name_or_ordinal()
        control["text"] = "" if text is None else text
        control["extra"] = reader.unpack("H")
        reader.pos += control["extra"]
        controls.append(control)
    dialog["controls"] = controls
    return dialog


# The checks.

def check_menu(report, resources):
    body = resources.get((RT_MENU, "TESSARA"))
    if body is None:
        report.fail("menu TESSARA is missing")
        return
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
                item_text, item_id, checked = item
                expected = ((MF_CHECKED if checked else 0) | end, item_id, item_text)
            report.check("%s item %d (flags, id, text)" % (text, i), expected, actual[:3])


def check_dialog(report, resources, dialog_id):
    style, exstyle, rect, title, font, controls = DIALOGS[dialog_id]
    body = resources.get((RT_DIALOG, dialog_id))
    if body is None:
        report.fail("dialog %d is missing" % dialog_id)
        return
    dialog = parse_dialog(body)
    where = "dialog %d" % dialog_id
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
        cid, kind, cstyle, x, y, cx, cy, text = expected
        label = "%s control %d (id %d)" % (where, n, cid)
        report.check(label + " id", cid, actual["id"])
        report.check(label + " class", kind, actual["class"])
        report.check(label + " style", hex(cstyle), hex(actual["style"]))
        report.check(label + " extended style", 0, actual["exstyle"])
        report.check(label + " help id", 0, actual["help"])
        report.check(label + " position and size", (x, y, cx, cy), actual["rect"])
        report.check(label + " text", text, actual["text"])
        report.check(label + " creation data", 0, actual["extra"])


def check_pictures(report, resources):
    for resource_id in BITMAP_IDS:
        expected = placeholder_bitmap(resource_id)[14:]
        report.check("bitmap %d holds bitmap_%d.bmp" % (resource_id, resource_id),
                     expected, resources.get((RT_BITMAP, resource_id)))
    group = resources.get((RT_GROUP_ICON, ICON_GROUP_ID))
    if group is None:
        report.fail("icon group %d is missing" % ICON_GROUP_ID)
        return
    reserved, kind, count = struct.unpack_from("<HHH", group, 0)
    report.check("icon group %d header" % ICON_GROUP_ID, (0, 1, 1), (reserved, kind, count))
    width, height, _, _, _, _, size, icon_id = struct.unpack_from("<BBBBHHIH", group, 6)
    report.check("icon group %d entry size" % ICON_GROUP_ID, (16, 16), (width, height))
    report.check("icon %d holds icon_%d.ico" % (icon_id, ICON_GROUP_ID),
                 placeholder_icon_image(), resources.get((RT_ICON, icon_id)))


def version_nodes(data, pos=0):
    """The nodes of a version resource, (key, value, children), from pos on: each node is a
    length, a value length, a type (1 for text values), its key, then its value and its
    children, every part 32-bit aligned."""
    nodes = []
    while pos + 6 <= len(data):
        length, value_length, kind = struct.unpack_from("<HHH", data, pos)
        if length == 0:
            break
        reader = Reader(data, pos + 6)
        key = reader.text()
        reader.align()
        if kind == 1:
            value = data[reader.pos:reader.pos + 2 * value_length].decode("utf-16-le")
            value = value.rstrip("\0")
            reader.pos += 2 * value_length
        else:
            value = data[reader.pos:reader.pos + value_length]
            reader.pos += value_length
        reader.align()
        children = version_nodes(data[:pos + length], reader.pos)
        nodes.append((key, value, children))
        pos = (pos + length + 3) & ~3
    return nodes


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


def check_inventory(report, resources):
    expected = {(RT_MENU, "TESSARA"), (RT_GROUP_ICON, ICON_GROUP_ID), (RT_VERSION, 1)}
    expected |= {(RT_DIALOG, d) for d in DIALOGS}
    expected |= {(RT_BITMAP, b) for b in BITMAP_IDS}
    actual = {key for key in resources if key[0] != RT_ICON}
    report.check("resources missing", set(), expected - actual)
    report.check("unexpected resources", set(), actual - expected)
    report.check("icon images", 1, sum(1 for key in resources if key[0] == RT_ICON))


def read_header_defines(path):
    defines = {}
    with open(path) as f:
        for line in f:
            words = line.split(None, 2)
            if len(words) >= 2 and words[0] == "#define" and words[1] != HEADER_GUARD:
                value = words[2].strip() if len(words) > 2 else ""
                try:
                    defines[words[1]] = int(value.strip("()"), 0)
                except ValueError:
                    defines[words[1]] = value
    return defines


def check_header_defines(report, header):
    defines = read_header_defines(header)
    report.check("unexpected header names", set(), set(defines) - set(HEADER_IDS))
    for name, value in sorted(HEADER_IDS.items()):
        report.check("header %s" % name, value, defines.get(name))


def header_probe_source(with_windows):
    lines = ["#include <windows.h>"] if with_windows else []
    lines += [
        '#include "resource_ids.h"',
        '#include "resource_ids.h"',
        "constexpr bool same(const char* a, const char* b) {",
        "    return *a == *b && (*a == 0 || same(a + 1, b + 1));",
        "}",
        'static_assert(same(kMainMenuName, "TESSARA"), "menu name");',
    ]
    for row, (label, _, text, _, marker, _) in enumerate(TABLE_ROWS):
        lines += [
            'static_assert(kTableRankIds[%d] == %d, "rank label of row %d");' % (row, label, row),
            'static_assert(kTableRowIds[%d] == %d, "row text of row %d");' % (row, text, row),
            'static_assert(kTableMarkerIds[%d] == %d, "marker of row %d");' % (row, marker, row),
        ]
    lines += ['static_assert(sizeof kTableRowIds / sizeof kTableRowIds[0] == 10, "rows");',
              "int main() { return 0; }", ""]
    return "\n".join(lines)


def check_header_cpp(report, header, compilers, work):
    for compiler, with_windows in compilers:
        source = os.path.join(work, "probe_%d.cpp" % with_windows)
        with open(source, "w") as f:
            f.write(header_probe_source(with_windows))
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


def check_all(report, rc, header, windres, compilers, version):
    with tempfile.TemporaryDirectory(prefix="tessara-rc-") as work:
        pictures = os.path.join(work, "pictures")
        os.mkdir(pictures)
        write_placeholders(pictures)
        res = os.path.join(work, "tessara.res")
        run_windres(report, windres, rc, pictures, "coff", os.path.join(work, "tessara.o"))
        if run_windres(report, windres, rc, pictures, "res", res):
            with open(res, "rb") as f:
                resources = read_res(f.read())
            check_inventory(report, resources)
            check_menu(report, resources)
            for dialog_id in sorted(DIALOGS):
                check_dialog(report, resources, dialog_id)
            check_pictures(report, resources)
            check_version(report, resources, version)
        check_header_defines(report, header)
        check_header_cpp(report, header, compilers, work)


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
    ("bitmap file", "rc", 'IDB_BIG_COVERED      BITMAP "bitmap_102.bmp"',
     'IDB_BIG_COVERED      BITMAP "bitmap_103.bmp"'),
    ("missing bitmap", "rc", 'IDB_SEGMENT_V_LIT    BITMAP "bitmap_137.bmp"\n', ""),
    ("icon id", "rc", 'IDI_TESSARA          ICON', '127                  ICON'),
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
]


# Rewrites that change nothing in the compiled resources: the check must still pass.
EQUIVALENTS = [
    ("classic dialog template", "rc", "IDD_ENTER_NAME DIALOGEX", "IDD_ENTER_NAME DIALOG"),
    ("numeric dialog id", "rc", "IDD_ABOUT DIALOGEX", "125 DIALOGEX"),
]


def run_mutants(report, rc, header, windres, compilers, version):
    originals = {"rc": rc, "header": header}
    cases = [(case, True) for case in MUTANTS] + [(case, False) for case in EQUIVALENTS]
    for (what, target, old, new), must_fail in cases:
        with tempfile.TemporaryDirectory(prefix="tessara-mutant-") as work:
            copies = {"rc": os.path.join(work, os.path.basename(rc)),
                      "header": os.path.join(work, "resource_ids.h")}
            for key in copies:
                shutil.copyfile(originals[key], copies[key])
            with open(copies[target]) as f:
                text = f.read()
            if text.count(old) != 1:
                report.fail("mutant %r: its text occurs %d times in %s"
                            % (what, text.count(old), originals[target]))
                continue
            with open(copies[target], "w") as f:
                f.write(text.replace(old, new))
            inner = Report(verbose=False)
            check_all(inner, copies["rc"], copies["header"], windres, compilers, version)
            if bool(inner.failed) == must_fail:
                report.passed += 1
            elif must_fail:
                report.fail("mutant %r was not detected" % what)
            else:
                report.fail("equivalent rewrite %r failed the check" % what)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rc", default=os.path.join(RESOURCES, "tessara.rc"))
    parser.add_argument("--header", default=os.path.join(RESOURCES, "resource_ids.h"))
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
        run_mutants(report, args.rc, args.header, args.windres, compilers, args.version)
    else:
        check_all(report, args.rc, args.header, args.windres, compilers, args.version)
    print("%d passed, %d failed" % (report.passed, report.failed))
    return 1 if report.failed else 0


if __name__ == "__main__":
    sys.exit(main())
