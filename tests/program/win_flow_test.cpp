#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/engine_state.h"
#include "hiscores/hiscore_file.h"
#include "hiscores/hiscore_table.h"
#include "hiscores/win_score.h"
#include "resources/resource_ids.h"
#include "running_program.h"
#include "shell/main_window.h"
#include "shell/shell_state.h"
#include "view/game_start.h"
#include "view/view_state.h"

namespace {

// Novice (22 columns, 12 rows, 22 mines, difficulty 1) won by opening every safe cell.
class WinFlow : public RunningProgram {
 protected:
  void winAt(int32_t milliseconds) {
    openSafeCells();
    tickAt(milliseconds);
  }

  uint32_t scoreAt(int32_t milliseconds) const {
    return winScore(milliseconds - playClock.startClock, 1, 22, 12, 22);
  }

  std::vector<std::string> boxCaptions() const {
    std::vector<std::string> captions;
    for (const ShownMessageBox& shown : platform.messageBoxes()) captions.push_back(shown.caption);
    return captions;
  }
};

}  // namespace

TEST_F(WinFlow, AQualifyingWinIsNamedPraisedShownInBoldAndSaved) {
  startPlaying(IDC_LEVEL_NOVICE);
  const uint32_t score = scoreAt(4200);
  ASSERT_GT(score, 500u);
  answerWinDialogs("Jo Ann");
  winAt(4200);

  ASSERT_EQ(platform.messageBoxes().size(), 1u);
  const ShownMessageBox& praise = platform.messageBoxes()[0];
  EXPECT_EQ(praise.text, "Your score was " + std::to_string(score));
  EXPECT_EQ(praise.caption, "WELL DONE");
  EXPECT_EQ(praise.style, box::kTaskModal | box::kIconExclamation | box::kOk);
  EXPECT_EQ(praise.owner, 0u);

  const ShownDialog& table = platform.dialogsShown().back();
  ASSERT_EQ(table.templateId, IDD_HISCORE_TABLE);
  EXPECT_EQ(table.controls.at(kTableRowIds[0]).text, "Jo Ann - " + std::to_string(score));
  EXPECT_TRUE(table.controls.at(kTableRowIds[0]).bold);
  EXPECT_EQ(table.controls.at(kTableMarkerIds[0]).text, "*");

  HiscoreTable saved(kHiscoreRows);
  saved.load();
  EXPECT_EQ(saved.row(0).nameText(), "Jo Ann");
  EXPECT_EQ(saved.row(0).score, score);
  EXPECT_EQ(saved.row(1).score, 500u);
}

TEST_F(WinFlow, AWinBelowTheTableStillAsksTheNameAndRewritesTheFile) {
  startPlaying(IDC_LEVEL_NOVICE);
  // 29040 / (seconds + 1) stays at or below the tenth row's 50 from 580 seconds on.
  answerWinDialogs();
  winAt(playClock.startClock + 700000);

  EXPECT_EQ(platform.dialogsRun().back(), IDD_HISCORE_TABLE);
  EXPECT_EQ(platform.dialogsShown()[platform.dialogsShown().size() - 2].templateId,
            IDD_ENTER_NAME);
  ASSERT_EQ(boxCaptions(), (std::vector<std::string>{"MAYBE NEXT TIME?"}));
  EXPECT_EQ(platform.messageBoxes()[0].text,
            "Sorry - you didn't score enough to reach the local board...\n"
            "...have you tried online?");
  EXPECT_EQ(platform.messageBoxes()[0].style, box::kTaskModal | box::kIconInformation | box::kOk);
  const ShownDialog& table = platform.dialogsShown().back();
  for (int row = 0; row < kHiscoreRows; ++row) EXPECT_FALSE(table.controls.at(kTableRowIds[row]).bold);
  EXPECT_TRUE(ScratchFolder::exists(kHiscoreFileName));
  HiscoreTable saved(kHiscoreRows);
  saved.load();
  EXPECT_EQ(saved.row(9).score, 50u);
}

TEST_F(WinFlow, TheGameIsLeftFinishedAndTheNextReleaseStartsANewOne) {
  startPlaying(IDC_LEVEL_NOVICE);
  answerWinDialogs();
  winAt(3000);
  EXPECT_TRUE(gameFlags.gameOver);
  EXPECT_FALSE(gameFlags.ignoreNextRelease) << "the table's OK is forgotten after a win";
  EXPECT_FALSE(platform.timerRunning(kPlayTimer));
  EXPECT_FALSE(cellOrigins.present());

  leftClick(CellPosition{1, 1});
  EXPECT_FALSE(gameFlags.gameOver);
  EXPECT_TRUE(platform.timerRunning(kPlayTimer));
}

TEST_F(WinFlow, TheFileIsSavedOnlyAfterTheSubmissionFromTheTable) {
  startPlaying(IDC_LEVEL_NOVICE);
  gameSettings.serveraddr = "no.such.host.invalid";
  bool savedBeforeSubmissionEnded = true;
  platform.answerDialog(IDD_ENTER_NAME, [](MemoryDialog& dialog) { dialog.click(IDC_NAME_OK); });
  platform.answerDialog(IDD_HISCORE_TABLE, [&](MemoryDialog& dialog) {
    dialog.click(IDC_TABLE_SUBMIT);
    savedBeforeSubmissionEnded = ScratchFolder::exists(kHiscoreFileName);
  });
  winAt(5000);
  EXPECT_FALSE(savedBeforeSubmissionEnded);
  EXPECT_TRUE(ScratchFolder::exists(kHiscoreFileName));
  EXPECT_EQ(boxCaptions(), (std::vector<std::string>{"WELL DONE", "No Online HST"}));
}

TEST_F(WinFlow, AFileThatCannotBeWrittenIsReportedAfterTheTable) {
  startPlaying(IDC_LEVEL_NOVICE);
  std::filesystem::create_directory(kHiscoreFileName);
  ScratchFolder::writeFile(std::string(kHiscoreFileName) + "/keep", "x");
  answerWinDialogs();
  winAt(5000);
  ASSERT_EQ(boxCaptions(), (std::vector<std::string>{"WELL DONE", "NO HISCORES"}));
  EXPECT_EQ(platform.messageBoxes()[1].text, "Error Writing Hiscore File");
  EXPECT_EQ(platform.messageBoxes()[1].style, box::kIconError | box::kOk);
  EXPECT_TRUE(gameFlags.gameOver);
}

TEST_F(WinFlow, HiscoresMenuShowsTheTableWithoutTheHighlightOfAnEarlierWin) {
  startPlaying(IDC_LEVEL_NOVICE);
  answerWinDialogs();
  winAt(5000);
  platform.answerDialog(IDD_HISCORE_TABLE, [](MemoryDialog& dialog) { dialog.click(IDC_TABLE_OK); });
  EXPECT_TRUE(onMainWindowCommand(IDM_VIEW_LOCAL_HISCORES));
  const ShownDialog& table = platform.dialogsShown().back();
  for (int row = 0; row < kHiscoreRows; ++row) EXPECT_FALSE(table.controls.at(kTableRowIds[row]).bold);
  EXPECT_TRUE(gameFlags.ignoreNextRelease);
}
