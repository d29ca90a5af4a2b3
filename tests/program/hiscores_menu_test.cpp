#include <gtest/gtest.h>

#include <filesystem>

#include "engine/engine_state.h"
#include "resources/resource_ids.h"
#include "running_program.h"
#include "shell/main_window.h"
#include "shell/shell_state.h"
#include "view/game_start.h"

namespace {

// Novice in play, one number opened; none of these commands may touch the game.
class HiscoresAndHelpMenus : public RunningProgram {
 protected:
  void SetUp() override {
    startPlaying(IDC_LEVEL_NOVICE);
    opened = cellsWhere([](const Cell& c) { return !c.holdsMine() && c.content != '0'; })[0];
    leftClick(opened);
  }

  void expectGameUntouched() {
    EXPECT_FALSE(gameFlags.gameOver);
    EXPECT_TRUE(platform.timerRunning(kPlayTimer));
    EXPECT_TRUE(board.cell(opened.column, opened.row).isRevealed());
  }

  CellPosition opened{0, 0};
};

}  // namespace

TEST_F(HiscoresAndHelpMenus, ViewLocalHiscoresThenOkMakesTheNextReleaseActOnNoCell) {
  platform.answerDialog(IDD_HISCORE_TABLE, [](MemoryDialog& dialog) { dialog.click(IDC_TABLE_OK); });
  EXPECT_TRUE(onMainWindowCommand(IDM_VIEW_LOCAL_HISCORES));
  expectGameUntouched();
  const CellPosition closed = cellsWhere([](const Cell& c) { return !c.isRevealed(); })[0];
  leftClick(closed);
  EXPECT_FALSE(board.cell(closed.column, closed.row).isRevealed());
  leftClick(closed);
  EXPECT_TRUE(board.cell(closed.column, closed.row).isRevealed() || gameFlags.gameOver);
}

TEST_F(HiscoresAndHelpMenus, ViewOnlineHiscoresOpensTheScoreboardAtAnyLevel) {
  gameSettings.level = 0;
  EXPECT_TRUE(onMainWindowCommand(IDM_VIEW_ONLINE_HISCORES));
  ASSERT_EQ(platform.shellOpened().size(), 1u);
  EXPECT_EQ(platform.shellOpened()[0],
            "http://localhost:8080/examples/servlet/TessaraHST?Op=GetHTML");
  expectGameUntouched();
}

TEST_F(HiscoresAndHelpMenus, ServerAndProxyDialogsChangeTheSettingsWrittenAtExit) {
  platform.answerDialog(IDD_SET_SERVER, [](MemoryDialog& dialog) {
    dialog.setText(IDC_SERVER_ADDRESS, "scores.example");
    dialog.click(IDC_SERVER_OK);
  });
  platform.answerDialog(IDD_SET_PROXY, [](MemoryDialog& dialog) {
    dialog.toggleCheckBox(IDC_PROXY_USE);
    dialog.click(IDC_PROXY_OK);
  });
  EXPECT_TRUE(onMainWindowCommand(IDM_SET_HISCORE_SERVER));
  EXPECT_TRUE(onMainWindowCommand(IDM_SET_PROXY_SERVER));
  expectGameUntouched();
  EXPECT_FALSE(ScratchFolder::exists(kSettingsFileName));
  onMainWindowCommand(IDM_EXIT);
  const std::string written = ScratchFolder::readFile(kSettingsFileName);
  EXPECT_NE(written.find("proxy=1\r\n"), std::string::npos);
  EXPECT_NE(written.find("serveraddr=scores.example\r\n"), std::string::npos);
}

TEST_F(HiscoresAndHelpMenus, HelpItemsOpenPagesAndTheAboutBox) {
  EXPECT_TRUE(onMainWindowCommand(IDM_HOW_TO_PLAY));
  ASSERT_EQ(platform.messageBoxes().size(), 1u);
  EXPECT_EQ(platform.messageBoxes()[0].text, "Help File is Missing");

  std::filesystem::create_directory("Help");
  ScratchFolder::writeFile("Help/help.htm", "<!doctype html>");
  EXPECT_TRUE(onMainWindowCommand(IDM_HOW_TO_PLAY));
  EXPECT_TRUE(onMainWindowCommand(IDM_REPORT_BUG));
  ASSERT_EQ(platform.shellOpened().size(), 2u);
  EXPECT_EQ(platform.shellOpened()[0], "Help/help.htm");

  platform.answerDialog(IDD_ABOUT, [](MemoryDialog& dialog) { dialog.click(IDC_ABOUT_OK); });
  EXPECT_TRUE(onMainWindowCommand(IDM_ABOUT));
  EXPECT_EQ(platform.dialogsShown().back().templateId, IDD_ABOUT);
  expectGameUntouched();
}
