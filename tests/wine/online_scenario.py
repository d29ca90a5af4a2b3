"""Submit Hiscores from the table dialog to a recording server on 127.0.0.1: directly,
through the proxy set in the Set proxy dialog, and to a port where nothing listens."""

import os

import hiscore_oracle
import program_ui as ui
from desktop import click, wait_window
from recording_server import RecordingServer, closed_port
from session import read_settings, settings_text, write_settings

SERVLET = "/examples/servlet/TessaraHST"
# Names that the request carries unchanged, but for the blank that becomes a colon.
PREPARED_TABLE = [("Jo Ann", 9000), ("a_b&c%d#e", 800), ("Ada Lovelace", 700),
                  ("Anonymous", 400)] + hiscore_oracle.DEFAULT_TABLE[4:]


def open_table(session, window):
    ui.choose(window, "view local hiscores")
    return session.texts.wait(ui.HISCORE_TABLE)


def submit(session, window):
    """Opens the table from the menu and clicks Submit Hiscores."""
    click(*open_table(session, window)[ui.TABLE_SUBMIT].centre())
    session.texts.wait_gone(ui.HISCORE_TABLE)


def set_proxy(session, window, toggle_use, address=None, port=None):
    ui.choose(window, "set proxy server")
    return ui.fill_proxy(session.texts, toggle_use, address, port)


def set_server(session, window, address=None, port=None):
    ui.choose(window, "set hiscore server")
    controls = session.texts.wait(ui.SET_SERVER)
    shown = tuple(controls[i].text for i in (ui.SERVER_ADDRESS, ui.SERVER_PATH, ui.SERVER_PORT))
    if address is not None:
        ui.edit_field(controls[ui.SERVER_ADDRESS], address)
    if port is not None:
        ui.edit_field(controls[ui.SERVER_PORT], str(port))
    click(*controls[ui.SERVER_OK].centre())
    session.texts.wait_gone(ui.SET_SERVER)
    return shown


def submit_hiscores(session):
    checks = session.checks
    folder = session.folder("online")
    stored = hiscore_oracle.encode(PREPARED_TABLE)
    with open(os.path.join(folder, "hiscore.dat"), "wb") as f:
        f.write(stored)
    server = RecordingServer()
    refused = closed_port()
    try:
        write_settings(folder, settings_text(level=1, safe=1, small=0, serverport=server.port,
                                             serveraddr="127.0.0.1", serverpath=SERVLET))
        program = session.start(folder)
        window = program.main_window()

        controls = open_table(session, window)
        rows = ui.table_rows(controls)
        checks.check(rows == ui.expected_rows(PREPARED_TABLE),
                     "View Local Hiscores shows the table of hiscore.dat (%s)" % rows)
        click(*controls[ui.TABLE_SUBMIT].centre())
        question = ui.message_text(session.texts.wait(ui.VIEW_ONLINE))
        checks.check(question == "Would you like to view the online scoreboard?",
                     "after the submission the program asks %r" % question)
        ui.answer(session.texts, ui.VIEW_ONLINE, "n")
        direct = server.wait_requests(1)[0]
        expected = hiscore_oracle.score_request(PREPARED_TABLE, SERVLET)
        checks.check(direct == expected,
                     "Submit Hiscores sends the table to 127.0.0.1:%d as the exact request\n"
                     "  got      %r\n  expected %r" % (server.port, direct, expected))
        checks.check(not session.browser_calls(), "answered No, no scoreboard is opened")

        shown = set_server(session, window, port=refused)
        checks.check(shown == ("127.0.0.1", SERVLET, str(server.port)),
                     "Set Server shows the server of tessara.ini (%s)" % (shown,))
        submit(session, window)
        box = wait_window(ui.NO_ONLINE)
        text = ui.message_text(session.texts.wait(ui.NO_ONLINE))
        session.snapshot(folder, "no_online", box)
        checks.check(text == "Could not send scores to server",
                     "a refused connection to port %d shows %r / %r"
                     % (refused, ui.NO_ONLINE, text))
        ui.answer(session.texts, ui.NO_ONLINE, "Return")

        shown = set_proxy(session, window, toggle_use=True, address="127.0.0.1",
                          port=server.port)
        checks.check(shown == ("proxy", "8080"),
                     "Set proxy shows the proxy of tessara.ini (%s)" % (shown,))
        set_server(session, window, "scores.example", 8080)
        submit(session, window)
        ui.answer(session.texts, ui.VIEW_ONLINE, "y")
        requests = server.wait_requests(2)
        expected = hiscore_oracle.score_request(PREPARED_TABLE, SERVLET, ("scores.example", 8080))
        checks.check(requests[1:] == [expected],
                     "through the proxy 127.0.0.1:%d the request names the server\n"
                     "  got      %r\n  expected %r" % (server.port, requests[1:], expected))
        scoreboard = "http://scores.example:8080%s?Op=GetHTML" % SERVLET
        calls = session.wait_browser_calls(1)
        checks.check(calls == [scoreboard],
                     "answered Yes, the browser is handed %s (%s)" % (scoreboard, calls))

        ui.choose(window, "exit")
        status = program.exited()
        settings = read_settings(folder)
        wanted = {"level": "1", "proxy": "1", "proxyaddr": "127.0.0.1",
                  "proxyport": str(server.port), "serveraddr": "scores.example",
                  "serverport": "8080", "serverpath": SERVLET}
        checks.check(status == 0 and settings is not None
                     and all(settings.get(k) == v for k, v in wanted.items()),
                     "Exit saves what the dialogs set (%s)" % settings)
        with open(os.path.join(folder, "hiscore.dat"), "rb") as f:
            checks.check(f.read() == stored, "hiscore.dat is left as it was")
    finally:
        server.close()
