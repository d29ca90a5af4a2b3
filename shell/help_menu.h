#pragma once

// The Help menu: the local help page, the bug-report page and the About box.
void openHowToPlay();
void openBugReport();
void runAboutDialog();

constexpr char kHelpDocument[] = "Help/help.htm";
constexpr char kHelpMissingText[] = "Help File is Missing";
constexpr char kHelpMissingCaption[] = "Missing Help";
// The page is served by the hiscore server, which the run command starts on this port.
constexpr char kBugReportAddress[] = "http://localhost:8080/bugreport.html";
