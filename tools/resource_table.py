"""Tessara's resource table, resources/resources.toml: the name and numeric id of every
resource, read and checked for the tools that make and check the resources."""

import os
import tomllib

TABLE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources",
                     "resources.toml")

# Resource and control ids are 16-bit numbers; 0 and the static controls' -1 are not ids.
_LARGEST_ID = 0xFFFF


class TableError(ValueError):
    pass


def bitmap_file(bitmap_id):
    return "bitmap_%d.bmp" % bitmap_id


def icon_file(icon_id):
    return "icon_%d.ico" % icon_id


class Dialog:
    def __init__(self, name, entry):
        self.name = name
        self.id = entry.get("id")
        self.controls = dict(entry.get("controls", {}))
        # Arrays of control names, in index order.
        self.lists = {name: list(names) for name, names in entry.get("lists", {}).items()}


class ResourceTable:
    def __init__(self, data):
        try:
            self.menu = data["menu"]
            self.commands = dict(data["commands"])
            self.dialogs = [Dialog(name, entry) for name, entry in data["dialogs"].items()]
            self.bitmaps = dict(data["bitmaps"])
            # Picture name: (big set's bitmap name, small set's bitmap name), in TileImage order.
            self.tiles = {picture: tuple(names) for picture, names in data["tiles"].items()}
            self.icons = dict(data["icons"])
        except (KeyError, TypeError, AttributeError) as error:
            raise TableError("the table lacks a part or has one of the wrong kind: %s" % error)
        self._check()

    def dialog(self, name):
        return next(d for d in self.dialogs if d.name == name)

    def ids(self):
        """Every name with its id."""
        ids = dict(self.commands)
        for dialog in self.dialogs:
            ids[dialog.name] = dialog.id
            ids.update(dialog.controls)
        ids.update(self.bitmaps)
        ids.update(self.icons)
        return ids

    def tile_ids(self, small):
        """Picture name: its bitmap id in the big or the small set."""
        return {picture: self.bitmaps[names[small]] for picture, names in self.tiles.items()}

    def _check(self):
        if not isinstance(self.menu, str) or not self.menu:
            raise TableError("the menu's name must be a text")
        groups = [("menu commands", "IDM_", self.commands),
                  ("dialogs", "IDD_", {d.name: d.id for d in self.dialogs}),
                  ("bitmaps", "IDB_", self.bitmaps), ("icons", "IDI_", self.icons)]
        groups += [("%s's controls" % d.name, "IDC_", d.controls) for d in self.dialogs]
        seen = set()
        for what, prefix, ids in groups:
            for name, value in ids.items():
                if not name.startswith(prefix):
                    raise TableError("%s: the name %s does not start with %s"
                                     % (what, name, prefix))
                if name in seen:
                    raise TableError("%s: the name %s stands twice in the table" % (what, name))
                seen.add(name)
                if type(value) is not int or not 0 < value <= _LARGEST_ID:
                    raise TableError("%s: %s is %r, not a number from 1 to %d"
                                     % (what, name, value, _LARGEST_ID))
            shared = sorted(v for v in set(ids.values()) if list(ids.values()).count(v) > 1)
            if shared:
                raise TableError("%s: more than one name has the id %s" % (what, shared))
        for dialog in self.dialogs:
            for list_name, names in dialog.lists.items():
                strangers = [n for n in names if n not in dialog.controls]
                if strangers:
                    raise TableError("%s's list %s names controls of no such dialog: %s"
                                     % (dialog.name, list_name, strangers))
        for picture, names in self.tiles.items():
            if len(names) != 2 or any(n not in self.bitmaps for n in names):
                raise TableError("tile picture %s must name two bitmaps, the big and the small "
                                 "set's: %s" % (picture, list(names)))


def load(path=TABLE):
    with open(path, "rb") as f:
        try:
            data = tomllib.load(f)
        except tomllib.TOMLDecodeError as error:
            raise TableError("%s: %s" % (path, error))
    return ResourceTable(data)
