"""Every page that the menus open reaches the desktop's browser through Wine's browser
launcher: How to Play the help document of the working folder, Report a bug and View Online
Hiscores their addresses."""

import urllib.parse

import program_ui as ui
from session import settings_text, write_settings

BUG_REPORT = "http://localhost:8080/bugreport.html"
SERVLET = "/examples/servlet/TessaraHST"


def pages_reach_browser(session):
    checks = session.checks
    # A blank in the path, as in many a user's profile folder, must reach the browser too.
    folder, document = session.folder_with_help("pages and help")
    write_settings(folder, settings_text(level=1, safe=1, small=0, serveraddr="scores.example",
                                         serverport=8080, serverpath=SERVLET))
    program = session.start(folder)
    window = program.main_window()

    help_page = "file://" + urllib.parse.quote(document)
    pages = [("how to play", help_page),
             ("report a bug", BUG_REPORT),
             ("view online hiscores", "http://scores.example:8080%s?Op=GetHTML" % SERVLET)]
    for count, (command, page) in enumerate(pages, 1):
        ui.choose(window, command)
        calls = session.wait_browser_calls(count)
        checks.check(calls[count - 1:] == [page],
                     "%s hands the browser %s (asked: %s)" % (command, page, calls[count - 1:]))
    checks.check(not session.texts.shown(ui.MISSING_HELP),
                 "How to Play with the help document reports nothing")

    ui.choose(window, "exit")
    status = program.exited()
    checks.check(status == 0, "Exit ends the program with status 0 (%s)" % status)
