"""Reading a compiled resource file (.res): its resources by type and name, and the menu,
dialog and version templates inside them."""

import struct

RT_ICON, RT_BITMAP, RT_MENU, RT_DIALOG, RT_GROUP_ICON, RT_VERSION = 3, 2, 4, 5, 14, 16

MF_CHECKED = 0x0008
MF_POPUP = 0x0010
MF_END = 0x0080

DS_SETFONT = 0x0040

CONTROL_ATOMS = {0x80: "BUTTON", 0x81: "EDIT", 0x82: "STATIC",
                 0x83: "LISTBOX", 0x84: "SCROLLBAR", 0x85: "COMBOBOX"}


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
