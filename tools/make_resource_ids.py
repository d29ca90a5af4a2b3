#!/usr/bin/env python3
"""Writes resource_ids.h, the resource ids for tessara.rc and the C++ code, and pictures.rc,
the resource script's BITMAP and ICON lines, from the resource table into the given folder."""

import argparse
import os
import sys

import resource_table

HEADER = "resource_ids.h"
PICTURES = "pictures.rc"
HEADER_GUARD = "TESSARA_RESOURCES_RESOURCE_IDS_H"
# The macro that lists the tile pictures for the code's table of them.
TILE_MACRO = "TESSARA_TILE_PICTURES"

_GENERATED = "Generated from resources/resources.toml by tools/make_resource_ids.py"


def _defines(title, ids):
    return ["", "/* %s */" % title] + ["#define %-26s %d" % item for item in ids.items()]


def header_text(table):
    lines = ["/* Numeric ids of Tessara's resources, shared by tessara.rc and the C++ code.",
             "   %s:" % _GENERATED, "   change the table, not this file. */",
             "#ifndef " + HEADER_GUARD, "#define " + HEADER_GUARD]
    lines += _defines("Menu commands", table.commands)
    lines += _defines("Dialogs", {d.name: d.id for d in table.dialogs})
    lines += ["", "/* Controls without an id (labels, group boxes, pictures) */",
              "#ifndef IDC_STATIC", "#define %-26s (-1)" % "IDC_STATIC", "#endif"]
    for dialog in table.dialogs:
        lines += _defines("Controls of %s" % dialog.name, dialog.controls)
    lines += _defines("Bitmaps", table.bitmaps)
    lines += _defines("Icon groups", table.icons)
    lines += ["", "#ifndef RC_INVOKED", "",
              "/* Name of the menu resource; the window class of the same name refers to it. */",
              'inline constexpr const char kMainMenuName[] = "%s";' % table.menu]
    for dialog in table.dialogs:
        for name, controls in dialog.lists.items():
            lines += ["", "/* Controls of %s in index order. */" % dialog.name,
                      "inline constexpr int %s[%d] = {%s};" % (name, len(controls),
                                                             ", ".join(controls))]
    lines += ["", "/* The tile pictures in the order of TileImage, each with its bitmap in the big",
              "   and in the small set: X(picture, big, small) for each. */",
              " \\\n".join(["#define %s(X)" % TILE_MACRO] +
                            ["  X(%s, %s, %s)" % (picture, big, small)
                             for picture, (big, small) in table.tiles.items()])]
    lines += ["", "#endif /* RC_INVOKED */", "", "#endif /* %s */" % HEADER_GUARD, ""]
    return "\n".join(lines)


def pictures_text(table):
    lines = ["// The bitmaps and the icon, their files on windres's include path.",
             "// %s." % _GENERATED]
    lines += ['%-20s BITMAP "%s"' % (name, resource_table.bitmap_file(bitmap_id))
              for name, bitmap_id in table.bitmaps.items()]
    lines += ['%-20s ICON   "%s"' % (name, resource_table.icon_file(icon_id))
              for name, icon_id in table.icons.items()]
    return "\n".join(lines) + "\n"


def write_all(table, folder):
    os.makedirs(folder, exist_ok=True)
    for name, text in ((HEADER, header_text(table)), (PICTURES, pictures_text(table))):
        with open(os.path.join(folder, name), "w") as f:
            f.write(text)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("output", help="folder to write the two files into")
    parser.add_argument("--table", default=resource_table.TABLE, help="the resource table")
    args = parser.parse_args()
    try:
        write_all(resource_table.load(args.table), args.output)
    except (resource_table.TableError, OSError) as error:
        print("make_resource_ids: %s" % error, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
