#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "engine/engine_state.h"
#include "resources/resource_ids.h"
#include "running_program.h"
#include "shell/main_window.h"
#include "shell/shell_state.h"
#include "view/game_start.h"
#include "view/view_state.h"

namespace {

// Novice, started without the safe start, with one cell opened.
class FileMenu : public RunningProgram {
 protected:
  void SetUp() override {
    startPlaying(IDC_LEVEL_NOVICE);
    opened = cellsWhere([](const Cell& c) { return !c.holdsMine() && c.content != '0'; })[0];
    leftClick(opened);
    ASSERT_TRUE(board.cell(opened.column, opened.row).isRevealed());
  }

  CellPosition anyMine() const {
    return cellsWhere([](const Cell& c) { return c.holdsMine(); }).front();
  }

  CellPosition opened{0, 0};
};

TEST_F(FileMenu, NewGameDuringPlayEndsTheGameBeforeTheDialog) {
  const CellPosition mine = anyMine();
  platform.answerDialog(IDD_LEVEL, [&](MemoryDialog& dialog) {
    EXPECT_TRUE(gameFlags.gameOver);
    EXPECT_FALSE(platform.timerRunning(kPlayTimer));
    EXPECT_TRUE(windowShows(mine, IDB_BIG_MINE)) << "the final board is on screen";
    dialog.click(IDC_LEVEL_BEGINNER);
  });
  EXPECT_TRUE(onMainWindowCommand(IDM_NEW_GAME));

  EXPECT_EQ(platform.dialogsShown().size(), 2u);
  EXPECT_FALSE(gameFlags.gameOver) << "the new game starts at once";
  EXPECT_TRUE(platform.timerRunning(kPlayTimer));
  EXPECT_EQ(std::make_pair(board.columns, board.rows), std::make_pair(uint16_t{28}, uint16_t{16}));
  paintIfDue();
  expectWindowShowsModel();
}

TEST_F(FileMenu, NewGameAfterALossOpensTheDialogDirectly) {
  const CellPosition mine = anyMine();
  leftClick(mine);
  ASSERT_TRUE(gameFlags.gameOver);
  platform.answerDialog(IDD_LEVEL, [&](MemoryDialog& dialog) {
    EXPECT_TRUE(windowShows(mine, IDB_BIG_EXPLODED));
    dialog.click(IDC_LEVEL_INTERMEDIATE);
  });
  onMainWindowCommand(IDM_NEW_GAME);
  EXPECT_FALSE(gameFlags.gameOver);
  EXPECT_EQ(board.columns, 41);
}

TEST_F(FileMenu, NewGameStartsAtOnceWhenAReleaseWasToBeIgnored) {
  leftClick(anyMine());
  gameFlags.ignoreNextRelease = true;  // as the hiscore table's OK leaves it
  chooseLevel(IDC_LEVEL_BEGINNER);
  onMainWindowCommand(IDM_NEW_GAME);
  EXPECT_FALSE(gameFlags.gameOver);
  EXPECT_TRUE(platform.timerRunning(kPlayTimer));
  EXPECT_EQ(board.columns, 28);
}

TEST_F(FileMenu, MarksAndSafeStartToggleTheirSettingAndCheckMark) {
  const struct {
    int command;
    int32_t* setting;
  } cases[] = {{IDM_USE_MARKS, &gameSettings.marks}, {IDM_SAFE_START, &gameSettings.safe}};
  for (const auto& c : cases) {
    const int32_t start = *c.setting;
    const bool checked = platform.menuChecked(c.command);
    EXPECT_TRUE(onMainWindowCommand(c.command));
    EXPECT_EQ(*c.setting, start != 0 ? 0 : 1) << c.command;
    EXPECT_EQ(platform.menuChecked(c.command), !checked) << c.command;
    EXPECT_TRUE(onMainWindowCommand(c.command));
    EXPECT_EQ(*c.setting, start) << c.command;
    EXPECT_EQ(platform.menuChecked(c.command), checked) << c.command;
  }
  EXPECT_FALSE(gameFlags.gameOver) << "the game goes on";
}

TEST_F(FileMenu, UseBigIconsAsksAndRestartsTheBoardWithTheOtherTiles) {
  EXPECT_TRUE(onMainWindowCommand(IDM_USE_BIG_ICONS));
  ASSERT_EQ(platform.messageBoxes().size(), 1u);
  const ShownMessageBox& question = platform.messageBoxes()[0];
  EXPECT_EQ(question.owner, platform.mainWindow());
  EXPECT_EQ(question.text,
            "If you change icon size it will quit the current game\ndo you wish to continue?");
  EXPECT_EQ(question.caption, "Really change?");
  EXPECT_EQ(question.style, box::kYesNo | box::kIconQuestion);

  EXPECT_EQ(gameSettings.small, 1);
  EXPECT_FALSE(platform.menuChecked(IDM_USE_BIG_ICONS));
  EXPECT_EQ(tileMetrics.tileWidth, 12);
  EXPECT_EQ(std::make_pair(board.columns, board.rows), std::make_pair(uint16_t{22}, uint16_t{12}));
  EXPECT_EQ(platform.dialogsShown().size(), 1u) << "no level dialog";
  EXPECT_FALSE(gameFlags.gameOver);
  EXPECT_TRUE(platform.timerRunning(kPlayTimer));
  EXPECT_EQ(revealedCount(), 0) << "a new board; Safe Start is off";
  paintIfDue();
  expectWindowShowsModel();

  onMainWindowCommand(IDM_USE_BIG_ICONS);
  EXPECT_EQ(gameSettings.small, 0);
  EXPECT_TRUE(platform.menuChecked(IDM_USE_BIG_ICONS));
  EXPECT_EQ(tileMetrics.tileWidth, 24);
  paintIfDue();
  expectWindowShowsModel();
}

TEST_F(FileMenu, UseBigIconsAnsweredNoChangesNothing) {
  const size_t moves = platform.windowMoves().size();
  platform.answerMessageBox(box::kAnswerNo);
  onMainWindowCommand(IDM_USE_BIG_ICONS);
  EXPECT_EQ(gameSettings.small, 0);
  EXPECT_TRUE(platform.menuChecked(IDM_USE_BIG_ICONS));
  EXPECT_EQ(tileMetrics.tileWidth, 24);
  EXPECT_FALSE(gameFlags.gameOver);
  EXPECT_TRUE(platform.timerRunning(kPlayTimer));
  EXPECT_TRUE(board.cell(opened.column, opened.row).isRevealed()) << "the same game goes on";
  EXPECT_EQ(platform.windowMoves().size(), moves);
}

TEST_F(FileMenu, UseBigIconsAfterALossStartsANewGame) {
  leftClick(anyMine());
  onMainWindowCommand(IDM_USE_BIG_ICONS);
  EXPECT_FALSE(gameFlags.gameOver);
  EXPECT_EQ(tileMetrics.tileWidth, 12);
  EXPECT_EQ(revealedCount(), 0);
}

using UseBigIcons = RunningProgram;

// The largest small-tile board of a 1280 by 1024 screen is far beyond the big tiles' limits:
// it becomes the largest big-tile board, whole on the screen.
TEST_F(UseBigIcons, ShrinksACustomBoardToTheLargestWithinTheLimits) {
  folder.writeFile(kSettingsFileName, "level=0\nsmall=1\n");
  chooseCustom("76", "127", "7");
  start();
  ASSERT_EQ(std::make_pair(board.columns, board.rows), std::make_pair(uint16_t{127}, uint16_t{76}));

  onMainWindowCommand(IDM_USE_BIG_ICONS);

  EXPECT_EQ(tileMetrics.tileWidth, 24);
  EXPECT_EQ(std::make_pair(board.columns, board.rows), std::make_pair(uint16_t{66}, uint16_t{37}));
  EXPECT_EQ(std::make_tuple(gameSettings.difficulty, gameSettings.level), std::make_tuple(7u, 0));
  const Rect window = platform.windowMoves().back();
  EXPECT_GE(window.left, 0);
  EXPECT_GE(window.top, 0);
  EXPECT_LE(window.right, 1280);
  EXPECT_LE(window.bottom, 1024);
  paintIfDue();
  expectWindowShowsModel();

  // Back to small tiles the board fits as it is.
  onMainWindowCommand(IDM_USE_BIG_ICONS);
  EXPECT_EQ(std::make_pair(board.columns, board.rows), std::make_pair(uint16_t{66}, uint16_t{37}));
}

// A competition level is the same board in every tile size, even where it does not fit.
TEST_F(UseBigIcons, KeepsTheBoardOfACompetitionLevel) {
  platform.screenWidth = 1024;
  platform.screenHeight = 768;  // big tiles: at most 26 rows
  folder.writeFile(kSettingsFileName, "level=5\nsmall=1\n");
  start();
  onMainWindowCommand(IDM_USE_BIG_ICONS);
  EXPECT_EQ(tileMetrics.tileWidth, 24);
  EXPECT_EQ(std::make_pair(board.columns, board.rows), std::make_pair(uint16_t{53}, uint16_t{27}));
  EXPECT_EQ(gameSettings.level, 5);
  EXPECT_EQ(platform.windowMoves().back().top, 0) << "the caption stays on the screen";
}

TEST_F(FileMenu, IdsNoItemCarriesGoToDefaultProcessing) {
  for (const int command : {0, 40000, 40005, 40012, 40015, 1006}) {
    EXPECT_FALSE(onMainWindowCommand(command)) << command;
  }
  EXPECT_FALSE(gameFlags.gameOver);
  EXPECT_TRUE(board.cell(opened.column, opened.row).isRevealed());
}

}  // namespace
