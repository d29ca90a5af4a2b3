#!/usr/bin/env python3
"""Writes the program's bitmaps (bitmap_<id>.bmp), its icon (icon_126.ico) and a contact
sheet of all of them (contact_sheet.png) into the given folder, from the art sources."""

import argparse
import os
import sys

import artfile
import formats
import pictures
import sheet

ART = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "resources", "art")


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("output", help="folder to write the files into")
    parser.add_argument("--art", default=ART, help="folder of the art sources")
    args = parser.parse_args()
    try:
        files, by_id, icons = pictures.all_files(pictures.Art(args.art))
    except (artfile.ArtError, ValueError, OSError) as error:
        print("make_bitmaps: %s" % error, file=sys.stderr)
        return 1
    os.makedirs(args.output, exist_ok=True)
    for name, data in sorted(files.items()):
        write(os.path.join(args.output, name), data)
    contact = os.path.join(os.path.abspath(args.output), "contact_sheet.png")
    write(contact, formats.png(sheet.contact_sheet(by_id, icons)))
    print("make_bitmaps: %d files written; contact sheet: %s" % (len(files), contact))
    return 0


if __name__ == "__main__":
    sys.exit(main())
