#pragma once

// The Help menu: the local help page, the bug-report page and the About box.
void openHowToPlay();
void openBugReport();
void runAboutDialog();

constexpr char kHelpDocument[] = "Help/help.htm";
constexpr char kHelpMissingText[] = "Help File is Missing";
constexpr char kHelpMissingCaption[] = "Missing Help";
constexpr char kBugReportAddress[] = "http://bugs.tessara.example/bugreport.html";
