"""The program's resource ids by the names its code gives them, read from its resource table
(resources/resources.toml), so that the driver finds controls and pictures as the program
numbers them."""

import os
import tomllib

_TABLE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "resources",
                      "resources.toml")

with open(_TABLE, "rb") as _file:
    _RESOURCES = tomllib.load(_file)

# Every dialog control's id, by name.
CONTROLS = {name: control_id for dialog in _RESOURCES["dialogs"].values()
            for name, control_id in dialog.get("controls", {}).items()}


def control_list(name):
    """The ids of a list of controls that the code indexes, such as the hiscore table's."""
    for dialog in _RESOURCES["dialogs"].values():
        if name in dialog.get("lists", {}):
            return [CONTROLS[control] for control in dialog["lists"][name]]
    raise KeyError(name)


def tile_ids(small):
    """The bitmap id of each tile picture in the big or the small set, by picture name."""
    bitmaps = _RESOURCES["bitmaps"]
    return {picture: bitmaps[names[small]] for picture, names in _RESOURCES["tiles"].items()}
