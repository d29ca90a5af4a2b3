#!/usr/bin/env python3
"""Writes the program's bitmaps (bitmap_<id>.bmp), its icon (icon_<id>.ico) and a contact
sheet of all of them (contact_sheet.png) into the given folder, from the art sources, with the
ids of the resource table."""

import argparse
import os
import sys

import artfile
import formats
import pictures
import sheet

HERE = os.path.dirname(os.path.abspath(__file__))
ART = os.path.join(HERE, "..", "..", "resources", "art")
# The resource table's reader serves all the resource tools, from the folder above.
sys.path.insert(0, os.path.dirname(HERE))
import resource_table  # noqa: E402

CONTACT_SHEET = "contact_sheet.png"


def all_files(art, table):
    """Every output file name with its bytes, and the pictures by name for the contact sheet."""
    by_name, icons = pictures.all_pictures(art, table)
    listed = set(table.bitmaps) | set(table.icons)
    drawn = set(by_name) | {pictures.ICON}
    if listed != drawn:
        raise ValueError("the resource table's bitmaps and icons differ from the pictures: "
                         "nothing drawn for %s, not in the table: %s"
                         % (sorted(listed - drawn), sorted(drawn - listed)))
    files = {resource_table.bitmap_file(table.bitmaps[name]): pictures.encoded(table, name, picture)
             for name, picture in by_name.items()}
    files[resource_table.icon_file(table.icons[pictures.ICON])] = formats.ico(icons)
    return files, by_name, icons


def output_names(table):
    return ([resource_table.bitmap_file(i) for i in table.bitmaps.values()]
            + [resource_table.icon_file(i) for i in table.icons.values()] + [CONTACT_SHEET])


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("output", help="folder to write the files into")
    parser.add_argument("--art", default=ART, help="folder of the art sources")
    parser.add_argument("--table", default=resource_table.TABLE, help="the resource table")
    parser.add_argument("--list", action="store_true",
                        help="only print the paths of the files it would write, one a line, "
                        "for the build to know them before they are made")
    args = parser.parse_args()
    try:
        table = resource_table.load(args.table)
        if args.list:
            print("\n".join(os.path.join(args.output, n) for n in output_names(table)))
            return 0
        files, by_name, icons = all_files(pictures.Art(args.art), table)
    except (artfile.ArtError, ValueError, OSError) as error:
        print("make_bitmaps: %s" % error, file=sys.stderr)
        return 1
    os.makedirs(args.output, exist_ok=True)
    for name, data in sorted(files.items()):
        write(os.path.join(args.output, name), data)
    contact = os.path.join(os.path.abspath(args.output), CONTACT_SHEET)
    write(contact, formats.png(sheet.contact_sheet(by_name, icons, table)))
    print("make_bitmaps: %d files written; contact sheet: %s" % (len(files), contact))
    return 0


if __name__ == "__main__":
    sys.exit(main())
