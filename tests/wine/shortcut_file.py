"""Reads what a Windows shortcut (.lnk) starts: its target and its working folder, as the
shell link format stores them: a fixed header, an optional item list, an optional link
information block with the target's local path, then counted strings."""

import struct

HAS_ITEM_LIST, HAS_LINK_INFO, HAS_NAME, HAS_RELATIVE_PATH, HAS_WORKING_DIR = 1, 2, 4, 8, 16
IS_UNICODE = 0x80
HEADER_SIZE = 0x4C
LINK_CLASS = bytes.fromhex("0114020000000000c000000000000046")


class Shortcut:
    def __init__(self, target, working_folder):
        self.target, self.working_folder = target, working_folder


def _zero_ended(data, offset, wide):
    if wide:
        end = offset
        while data[end:end + 2] != b"\0\0":
            end += 2
        return data[offset:end].decode("utf-16-le")
    return data[offset:data.index(b"\0", offset)].decode("latin-1")


def read_shortcut(path):
    """The Shortcut stored in the file; ValueError when it is not a shell link."""
    with open(path, "rb") as f:
        data = f.read()
    if len(data) < HEADER_SIZE or struct.unpack_from("<I", data)[0] != HEADER_SIZE \
            or data[4:20] != LINK_CLASS:
        raise ValueError("%s is not a shell link" % path)
    flags = struct.unpack_from("<I", data, 20)[0]
    position = HEADER_SIZE
    if flags & HAS_ITEM_LIST:
        position += 2 + struct.unpack_from("<H", data, position)[0]
    target = None
    if flags & HAS_LINK_INFO:
        size, header, info_flags, _, base, _, suffix = struct.unpack_from("<7I", data, position)
        if info_flags & 1:
            if header >= 0x24:
                base_wide, suffix_wide = struct.unpack_from("<2I", data, position + 28)
                target = (_zero_ended(data, position + base_wide, True)
                          + _zero_ended(data, position + suffix_wide, True))
            else:
                target = (_zero_ended(data, position + base, False)
                          + _zero_ended(data, position + suffix, False))
        position += size
    strings = {}
    wide = bool(flags & IS_UNICODE)
    for flag in (HAS_NAME, HAS_RELATIVE_PATH, HAS_WORKING_DIR):
        if flags & flag:
            count = struct.unpack_from("<H", data, position)[0]
            length = count * (2 if wide else 1)
            text = data[position + 2:position + 2 + length]
            # Some writers count the terminating zero too.
            strings[flag] = text.decode("utf-16-le" if wide else "latin-1").rstrip("\0")
            position += 2 + length
    return Shortcut(target, strings.get(HAS_WORKING_DIR))
