"""The program's windows as the scenarios meet them: titles, control ids from the resource
table, the keys that reach each menu command, and the steps that answer or fill in its boxes
and dialogs."""

from desktop import click, keys, retype, wait_window
from hiscore_oracle import row_text
from resource_ids import CONTROLS, control_list

NAME_DIALOG = "Enter Your Name"
WELL_DONE = "WELL DONE"
HISCORE_TABLE = "--== HISCORE TABLE ==---"
VIEW_ONLINE = "View online?"
NO_ONLINE = "No Online HST"
SET_PROXY = "Set proxy"
SET_SERVER = "Set Server"
MISSING_HELP = "Missing Help"
PROBLEM = "PROBLEM"
ABOUT = "Tessara"
DIALOG_CLASS = "#32770"

NAME_FIELD = CONTROLS["IDC_NAME_FIELD"]
TABLE_SUBMIT = CONTROLS["IDC_TABLE_SUBMIT"]
ABOUT_OK = CONTROLS["IDC_ABOUT_OK"]
PROXY_USE, PROXY_ADDRESS, PROXY_PORT, PROXY_OK, PROXY_CANCEL = (
    CONTROLS["IDC_PROXY_" + name] for name in ("USE", "ADDRESS", "PORT", "OK", "CANCEL"))
SERVER_ADDRESS, SERVER_PORT, SERVER_PATH, SERVER_OK, SERVER_CANCEL = (
    CONTROLS["IDC_SERVER_" + name] for name in ("ADDRESS", "PORT", "PATH", "OK", "CANCEL"))
PLAY_CUSTOM = CONTROLS["IDC_LEVEL_PLAY_CUSTOM"]

# (rank label, row text, marker) of each table row, best row first.
TABLE_ROWS = list(zip(*(control_list(name)
                        for name in ("kTableRankIds", "kTableRowIds", "kTableMarkerIds"))))

# "Hiscores" and "Help" have no access keys: Alt+F opens "File", Right moves to the next
# pop-up with its first item selected.
MENU = {
    "view local hiscores": ["alt+f", "Right", "Return"],
    "view online hiscores": ["alt+f", "Right", "Down", "Return"],
    "set hiscore server": ["alt+f", "Right", "Down", "Down", "Return"],
    "set proxy server": ["alt+f", "Right", "Down", "Down", "Down", "Return"],
    "report a bug": ["alt+f", "Right", "Right", "Return"],
    "how to play": ["alt+f", "Right", "Right", "Down", "Return"],
    "about": ["alt+f", "Right", "Right", "Down", "Down", "Return"],
    "exit": ["alt+f", "x"],
}


def choose(window, command):
    keys(window, *MENU[command])


def message_text(controls):
    """The text of a message box: its static controls that hold text."""
    return "\n".join(c.text for c in controls.all if c.kind == "Static" and c.text)


def table_rows(controls):
    """(rank, row text, marker) as the table dialog shows them."""
    return [tuple(controls[i].text for i in ids) for ids in TABLE_ROWS]


def expected_rows(table, highlighted=None):
    return [("%d." % (r + 1), row_text(*table[r]), "*" if r == highlighted else "")
            for r in range(len(table))]


def answer(texts, title, key):
    """Answers the message box with the title by a key and waits for it to close."""
    box = wait_window(title)
    keys(box, key)
    texts.wait_gone(title)


def edit_field(control, text):
    """Clicks into the field and types the text over what it holds."""
    click(*control.centre())
    retype(text)


def fill_proxy(texts, toggle_use, address=None, port=None):
    """Fills in the open Set proxy dialog and closes it with OK; returns the address and
    port it showed when it opened."""
    controls = texts.wait(SET_PROXY)
    shown = (controls[PROXY_ADDRESS].text, controls[PROXY_PORT].text)
    if toggle_use:
        click(*controls[PROXY_USE].centre())
    if address is not None:
        edit_field(controls[PROXY_ADDRESS], address)
    if port is not None:
        edit_field(controls[PROXY_PORT], str(port))
    click(*controls[PROXY_OK].centre())
    texts.wait_gone(SET_PROXY)
    return shown
