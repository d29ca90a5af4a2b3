#!/usr/bin/env python3
"""Checks tools/make_resource_ids.py on small resource tables: what it writes from a sound
table, and which mistakes in a table stop it with a message before anything is written."""

import os
import subprocess
import sys
import tempfile
import unittest

SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools",
                      "make_resource_ids.py")

# Two dialogs whose OK buttons share the system's IDOK value, as the program's do.
SOUND = """\
menu = "MAIN"

[commands]
IDM_NEW = 40001
IDM_QUIT = 40002

[dialogs.IDD_ONE]
id = 114

[dialogs.IDD_ONE.controls]
IDC_ONE_OK = 1
IDC_ONE_ROW_1 = 1011
IDC_ONE_ROW_2 = 1010

[dialogs.IDD_ONE.lists]
kOneRows = ["IDC_ONE_ROW_1", "IDC_ONE_ROW_2"]

[dialogs.IDD_TWO]
id = 115

[dialogs.IDD_TWO.controls]
IDC_TWO_OK = 1

[bitmaps]
IDB_BIG_MASK = 101
IDB_SMALL_MASK = 151
IDB_BIG_FLAG = 111
IDB_SMALL_FLAG = 147

[tiles]
Mask = ["IDB_BIG_MASK", "IDB_SMALL_MASK"]
Flag = ["IDB_BIG_FLAG", "IDB_SMALL_FLAG"]

[icons]
IDI_MAIN = 126
"""


def generate(table_text):
    """Runs the generator on the table; returns its exit status, its messages and the files
    it wrote by name."""
    with tempfile.TemporaryDirectory() as folder:
        table = os.path.join(folder, "resources.toml")
        with open(table, "w") as f:
            f.write(table_text)
        output = os.path.join(folder, "generated")
        result = subprocess.run([sys.executable, "-B", SCRIPT, "--table", table, output],
                                capture_output=True, text=True)
        written = {}
        if os.path.isdir(output):
            for name in os.listdir(output):
                with open(os.path.join(output, name)) as f:
                    written[name] = f.read()
        return result.returncode, result.stderr, written


class SoundTable(unittest.TestCase):
    def setUp(self):
        self.status, self.messages, self.written = generate(SOUND)

    def test_writes_the_header_and_the_picture_lines(self):
        self.assertEqual((self.status, self.messages), (0, ""))
        self.assertEqual(sorted(self.written), ["pictures.rc", "resource_ids.h"])

    def test_header_defines_every_id_and_ids_shared_across_dialogs(self):
        header = self.written["resource_ids.h"]
        for name, value in (("IDM_QUIT", 40002), ("IDD_TWO", 115), ("IDC_ONE_OK", 1),
                            ("IDC_TWO_OK", 1), ("IDC_ONE_ROW_2", 1010), ("IDB_SMALL_FLAG", 147),
                            ("IDI_MAIN", 126)):
            self.assertIn("\n#define %-26s %d\n" % (name, value), header)
        self.assertIn('kMainMenuName[] = "MAIN";', header)

    def test_lists_and_tiles_keep_the_tables_order(self):
        header = self.written["resource_ids.h"]
        self.assertIn("kOneRows[2] = {IDC_ONE_ROW_1, IDC_ONE_ROW_2};", header)
        self.assertIn("  X(Mask, IDB_BIG_MASK, IDB_SMALL_MASK) \\\n"
                      "  X(Flag, IDB_BIG_FLAG, IDB_SMALL_FLAG)\n", header)

    def test_picture_lines_name_each_file_by_its_id(self):
        lines = [line for line in self.written["pictures.rc"].splitlines()
                 if not line.startswith("//")]
        self.assertEqual([line.split() for line in lines], [
            ["IDB_BIG_MASK", "BITMAP", '"bitmap_101.bmp"'],
            ["IDB_SMALL_MASK", "BITMAP", '"bitmap_151.bmp"'],
            ["IDB_BIG_FLAG", "BITMAP", '"bitmap_111.bmp"'],
            ["IDB_SMALL_FLAG", "BITMAP", '"bitmap_147.bmp"'],
            ["IDI_MAIN", "ICON", '"icon_126.ico"'],
        ])


class RefusedTables(unittest.TestCase):
    # mistake: (text of the sound table, its replacement, words of the message)
    CASES = {
        "two controls of one dialog with one id": ("IDC_ONE_ROW_2 = 1010", "IDC_ONE_ROW_2 = 1011",
                                                   "has the id [1011]"),
        "two bitmaps with one id": ("IDB_BIG_FLAG = 111", "IDB_BIG_FLAG = 101", "has the id [101]"),
        "one name in two dialogs": ("IDC_TWO_OK = 1", "IDC_ONE_OK = 1", "stands twice"),
        "a command under the wrong prefix": ("IDM_QUIT = 40002", "IDC_QUIT = 40002",
                                             "does not start with IDM_"),
        "a control under the wrong prefix": ("IDC_TWO_OK = 1", "IDOK = 1",
                                             "does not start with IDC_"),
        "an id of 0": ("IDC_TWO_OK = 1", "IDC_TWO_OK = 0", "not a number from 1 to 65535"),
        "an id beyond 16 bits": ("IDB_BIG_FLAG = 111", "IDB_BIG_FLAG = 65536",
                                 "not a number from 1 to 65535"),
        "an id written as text": ("IDI_MAIN = 126", 'IDI_MAIN = "126"',
                                  "not a number from 1 to 65535"),
        "an id written as true": ("IDI_MAIN = 126", "IDI_MAIN = true",
                                  "not a number from 1 to 65535"),
        "a dialog without its id": ("id = 115\n", "", "IDD_TWO is None"),
        "a list with another dialog's control": ('"IDC_ONE_ROW_2"]', '"IDC_TWO_OK"]',
                                                 "no such dialog: ['IDC_TWO_OK']"),
        "a tile of an unknown bitmap": ('"IDB_SMALL_FLAG"]', '"IDB_SMALL_FLAGS"]',
                                        "tile picture Flag must name"),
        "a tile of one set only": ('"IDB_BIG_MASK", "IDB_SMALL_MASK"]', '"IDB_BIG_MASK"]',
                                   "tile picture Mask must name"),
        "no icons": ("[icons]\nIDI_MAIN = 126\n", "", "lacks a part"),
        "no menu name": ('menu = "MAIN"\n', "", "lacks a part"),
        "not a table at all": ("[commands]", "[commands", "resources.toml"),
    }

    def test_each_mistake_stops_the_generator(self):
        for mistake, (text, replacement, words) in self.CASES.items():
            with self.subTest(mistake):
                self.assertEqual(SOUND.count(text), 1)
                status, messages, written = generate(SOUND.replace(text, replacement))
                self.assertEqual(status, 1)
                self.assertIn(words, messages)
                self.assertEqual(written, {})


if __name__ == "__main__":
    unittest.main()
