#include <gtest/gtest.h>

#include <filesystem>

#include "memory_program.h"
#include "resources/resource_ids.h"
#include "shell/help_menu.h"

using HelpMenu = MemoryProgram;

TEST_F(HelpMenu, HowToPlayOpensTheDocumentOfTheWorkingFolder) {
  std::filesystem::create_directory("Help");
  ScratchFolder::writeFile("Help/help.htm", "<!doctype html>");
  openHowToPlay();
  EXPECT_TRUE(platform.messageBoxes().empty());
  ASSERT_EQ(platform.shellOpened().size(), 1u);
  EXPECT_EQ(platform.shellOpened()[0], "Help/help.htm");
}

TEST_F(HelpMenu, HowToPlayWithoutTheDocumentSaysSo) {
  openHowToPlay();
  EXPECT_TRUE(platform.shellOpened().empty());
  ASSERT_EQ(platform.messageBoxes().size(), 1u);
  const ShownMessageBox& shown = platform.messageBoxes()[0];
  EXPECT_EQ(shown.text, "Help File is Missing");
  EXPECT_EQ(shown.caption, "Missing Help");
  EXPECT_EQ(shown.style, box::kIconError | box::kOk);
  EXPECT_EQ(shown.owner, MemoryServices::kMainWindow);
}

TEST_F(HelpMenu, ReportABugOpensTheBugReportPage) {
  openBugReport();
  ASSERT_EQ(platform.shellOpened().size(), 1u);
  EXPECT_EQ(platform.shellOpened()[0], "http://localhost:8080/bugreport.html");
}

TEST_F(HelpMenu, AboutClosesOnlyThroughItsOkButton) {
  platform.answerDialog(IDD_ABOUT, [](MemoryDialog& dialog) {
    dialog.command(1, 0);  // Enter
    dialog.command(2, 0);  // Escape
    EXPECT_FALSE(dialog.ended());
    dialog.click(IDC_ABOUT_OK);
  });
  runAboutDialog();
  EXPECT_EQ(platform.dialogsShown().size(), 1u);
}
