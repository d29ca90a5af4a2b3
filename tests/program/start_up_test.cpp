#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/engine_state.h"
#include "engine/pointer_gestures.h"
#include "engine/random.h"
#include "resources/resource_ids.h"
#include "running_program.h"
#include "shell/main_window.h"
#include "shell/shell_state.h"
#include "view/game_start.h"
#include "view/view_state.h"

namespace {

using StartUp = RunningProgram;

TEST_F(StartUp, WithoutSettingsFileKeepsTheMenuChecksAndAsksForTheLevel) {
  chooseLevel(IDC_LEVEL_NOVICE);
  onMainWindowCreate();

  EXPECT_TRUE(platform.menuChecked(IDM_USE_MARKS));
  EXPECT_TRUE(platform.menuChecked(IDM_SAFE_START));
  EXPECT_TRUE(platform.menuChecked(IDM_USE_BIG_ICONS));
  EXPECT_EQ(gameSettings.marks, 1);
  EXPECT_EQ(gameSettings.safe, 1);
  EXPECT_EQ(gameSettings.small, 0);
  EXPECT_FALSE(settingsLoaded);

  ASSERT_EQ(platform.dialogsShown().size(), 1u);
  EXPECT_EQ(platform.dialogsShown()[0].templateId, IDD_LEVEL);
  EXPECT_EQ(std::make_pair(board.columns, board.rows), std::make_pair(uint16_t{22}, uint16_t{12}));
  EXPECT_EQ(tileMetrics.tileWidth, 24);
  EXPECT_TRUE(platform.timerRunning(kPlayTimer));
  EXPECT_FALSE(gameFlags.gameOver);
  EXPECT_TRUE(gameFlags.firstGame) << "cleared by the first paint only";
}

struct ChecksCase {
  const char* file;
  bool marks, safe, bigIcons;
};

class StartUpWithSettings : public RunningProgram,
                            public ::testing::WithParamInterface<ChecksCase> {};

TEST_P(StartUpWithSettings, SetsEachCheckMarkFromItsOwnValue) {
  const ChecksCase& c = GetParam();
  folder.writeFile(kSettingsFileName, c.file);
  onMainWindowCreate();
  EXPECT_EQ(platform.menuChecked(IDM_USE_MARKS), c.marks);
  EXPECT_EQ(platform.menuChecked(IDM_SAFE_START), c.safe);
  EXPECT_EQ(platform.menuChecked(IDM_USE_BIG_ICONS), c.bigIcons);
  EXPECT_TRUE(platform.dialogsShown().empty()) << "the stored level 1 is taken over";
  EXPECT_FALSE(settingsLoaded);
}

INSTANTIATE_TEST_SUITE_P(
    OneValueOff, StartUpWithSettings,
    ::testing::Values(ChecksCase{"marks=0\nsafe=1\nlevel=1\nsmall=0\n", false, true, true},
                      ChecksCase{"marks=1\nsafe=0\nlevel=1\nsmall=0\n", true, false, true},
                      ChecksCase{"marks=1\nsafe=1\nlevel=1\nsmall=1\n", true, true, false}));

TEST_F(StartUp, SmallTilesFromTheSettingsFileDrawTheFirstBoardSmall) {
  folder.writeFile(kSettingsFileName, "marks=1\nsafe=0\nlevel=0\nsmall=1\n");
  chooseLevel(IDC_LEVEL_NOVICE);
  onMainWindowCreate();
  EXPECT_EQ(platform.dialogsShown().size(), 1u) << "level 0 is not taken over";
  EXPECT_FALSE(settingsLoaded) << "the dialog consumed it";
  paint();

  EXPECT_EQ(tileMetrics.tileWidth, 12);
  EXPECT_EQ(revealedCount(), 0) << "Safe Start is off in the file";
  for (const CellPosition cell : {CellPosition{1, 1}, CellPosition{22, 12}, CellPosition{7, 4}}) {
    EXPECT_TRUE(windowShows(cell, IDB_SMALL_COVERED));
  }
}

using FirstPaint = RunningProgram;

TEST_F(FirstPaint, OpensTheFirstBoardWithOneSafeStart) {
  chooseLevel(IDC_LEVEL_NOVICE);
  onMainWindowCreate();
  EXPECT_EQ(revealedCount(), 0) << "the first game start leaves the reveal to the paint";

  paint();
  EXPECT_FALSE(gameFlags.firstGame);
  const int opened = revealedCount();
  EXPECT_GT(opened, 0);
  expectWindowShowsModel();

  // Later paints restore the window from the surface and open nothing more; another safe
  // start would have drawn from the generator.
  const DrawContext window = platform.windowContext();
  platform.drawRectangle(window, {0, 0, 200, 200}, 0x123456);
  platform.releaseWindowContext(window);
  seedRandom(77);
  paint();
  const int drawn = nextRandom();
  seedRandom(77);
  EXPECT_EQ(drawn, nextRandom());
  EXPECT_EQ(revealedCount(), opened);
  expectWindowShowsModel();
}

TEST_F(FirstPaint, WithoutSafeStartOpensNothing) {
  chooseLevel(IDC_LEVEL_NOVICE);
  onMainWindowCreate();
  onMainWindowCommand(IDM_SAFE_START);
  paint();
  EXPECT_FALSE(gameFlags.firstGame);
  EXPECT_EQ(revealedCount(), 0);
  expectWindowShowsModel();
}

using FailedSocketsStart = RunningProgram;

TEST_F(FailedSocketsStart, ReportsItAndStartsNoGame) {
  platform.socketsLibraryStarts = false;
  onMainWindowCreate();

  ASSERT_EQ(platform.messageBoxes().size(), 1u);
  const ShownMessageBox& shown = platform.messageBoxes()[0];
  EXPECT_EQ(shown.owner, WindowRef{0});
  EXPECT_EQ(shown.text, "WSAStartup failed!");
  EXPECT_EQ(shown.caption, "Error");
  EXPECT_EQ(shown.style, box::kOk);
  EXPECT_TRUE(platform.dialogsRun().empty());
  EXPECT_FALSE(platform.timerRunning(kPlayTimer));
  EXPECT_FALSE(board.isBuilt());
}

TEST_F(FailedSocketsStart, PaintsAndInputTouchNoBoard) {
  platform.socketsLibraryStarts = false;
  onMainWindowCreate();
  const std::vector<uint32_t> before = platform.windowPixels().pixels;

  paint();
  onButtonPress(10, 10);
  onLeftRelease(10, 10, 0);
  onRightRelease(10, 10, 0);
  onMiddleRelease(10, 10);
  gameFlags.ignoreNextRelease = true;  // as the hiscore table's OK leaves it
  onLeftRelease(10, 10, 0);
  tickAt(5000);

  EXPECT_EQ(platform.windowPixels().pixels, before) << "the class background stays";
  EXPECT_TRUE(gameFlags.firstGame) << "the first paint's work waits for the first game";
  EXPECT_FALSE(board.isBuilt());
  EXPECT_TRUE(platform.dialogsRun().empty());
  EXPECT_FALSE(platform.timerRunning(kPlayTimer));
  EXPECT_EQ(playClock.elapsedSeconds, 0);

  // With no game to quit the tile size changes without a question.
  EXPECT_TRUE(onMainWindowCommand(IDM_USE_BIG_ICONS));
  EXPECT_EQ(gameSettings.small, 1);
  EXPECT_FALSE(platform.menuChecked(IDM_USE_BIG_ICONS));
  EXPECT_EQ(platform.messageBoxes().size(), 1u);
  EXPECT_FALSE(board.isBuilt());
}

TEST_F(FailedSocketsStart, NewGameStartsTheRunsFirstGame) {
  platform.socketsLibraryStarts = false;
  onMainWindowCreate();
  onMainWindowCommand(IDM_USE_BIG_ICONS);

  gameFlags.ignoreNextRelease = true;  // as the hiscore table's OK leaves it
  chooseLevel(IDC_LEVEL_BEGINNER);
  onMainWindowCommand(IDM_NEW_GAME);
  EXPECT_EQ(platform.dialogsShown().size(), 1u) << "the level dialog is shown once";
  EXPECT_EQ(std::make_pair(board.columns, board.rows), std::make_pair(uint16_t{28}, uint16_t{16}));
  EXPECT_EQ(tileMetrics.tileWidth, 12) << "the tile size changed before the game";
  EXPECT_TRUE(platform.timerRunning(kPlayTimer));
  EXPECT_FALSE(gameFlags.gameOver);

  paint();
  EXPECT_FALSE(gameFlags.firstGame);
  EXPECT_GT(revealedCount(), 0) << "the first paint's safe start";
  expectWindowShowsModel();
  const std::vector<CellPosition> closed =
      cellsWhere([](const Cell& c) { return !c.isRevealed() && !c.holdsMine(); });
  ASSERT_FALSE(closed.empty());
  leftClick(closed.front());
  EXPECT_TRUE(board.cell(closed.front().column, closed.front().row).isRevealed())
      << "the first click of the game counts";

  chooseLevel(IDC_LEVEL_NOVICE);
  onMainWindowCommand(IDM_NEW_GAME);
  EXPECT_EQ(platform.dialogsShown().size(), 2u);
  EXPECT_EQ(board.columns, 22);
}

using ShutDown = RunningProgram;

TEST_F(ShutDown, ExitWritesTheSettingsOfTheRun) {
  startPlaying(IDC_LEVEL_BEGINNER, true);
  onMainWindowCommand(IDM_USE_MARKS);
  EXPECT_FALSE(folder.exists(kSettingsFileName));

  EXPECT_TRUE(onMainWindowCommand(IDM_EXIT));
  ASSERT_TRUE(folder.exists(kSettingsFileName));
  const std::string written = folder.readFile(kSettingsFileName);
  EXPECT_NE(written.find("marks=0"), std::string::npos) << written;
  EXPECT_NE(written.find("level=2"), std::string::npos) << written;
}

}  // namespace
