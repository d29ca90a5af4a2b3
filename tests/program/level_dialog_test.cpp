#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "engine/engine_state.h"
#include "resources/resource_ids.h"
#include "running_program.h"
#include "shell/level_dialog.h"
#include "shell/main_window.h"
#include "shell/shell_state.h"

namespace {

constexpr int kEscape = 2;         // the dialog manager's IDCANCEL
constexpr int kEditChange = 0x0300;  // EN_CHANGE

auto boardChoice() {
  return std::make_tuple(gameSettings.rows, gameSettings.columns, gameSettings.difficulty,
                         gameSettings.level);
}

using LevelDialog = RunningProgram;

TEST_F(LevelDialog, FirstRunShowsEmptyBoardAndFallsBackToFifteenByFifteen) {
  chooseLevel(IDC_LEVEL_PLAY_CUSTOM);
  onMainWindowCreate();

  ASSERT_EQ(platform.dialogsShown().size(), 1u);
  const auto& fields = platform.dialogsShown()[0].controls;
  EXPECT_EQ(fields.at(IDC_LEVEL_ROWS).text, "0");
  EXPECT_EQ(fields.at(IDC_LEVEL_COLUMNS).text, "0");
  EXPECT_EQ(fields.at(IDC_LEVEL_DIFFICULTY).text, "5");

  ASSERT_EQ(platform.messageBoxes().size(), 1u);
  const ShownMessageBox& shown = platform.messageBoxes()[0];
  EXPECT_EQ(shown.owner, WindowRef{0});
  EXPECT_EQ(shown.text, "Out of Limits - Using defaults");
  EXPECT_EQ(shown.caption, "PROBLEM");
  EXPECT_EQ(shown.style, box::kOk | box::kIconError | box::kTaskModal);
  EXPECT_EQ(boardChoice(), std::make_tuple(15u, 15u, 5u, 0));
  EXPECT_EQ(std::make_tuple(board.columns, board.rows, board.mines),
            std::make_tuple(uint16_t{15}, uint16_t{15}, uint16_t{45}));
}

TEST_F(LevelDialog, PlayCustomChecksTheLimitsOfTheScreenShown) {
  platform.screenWidth = 1024;
  platform.screenHeight = 768;  // big tiles: at most 26 rows and 53 columns
  const struct {
    const char *rows, *columns, *difficulty;
    bool accepted;
  } cases[] = {
      {"5", "5", "1", true},    {"26", "53", "10", true}, {"27", "53", "1", false},
      {"26", "54", "1", false}, {"4", "5", "1", false},   {"5", "0", "1", false},
      {"5", "5", "11", false},  {"5", "5", "0", false},   {"", "5", "1", false},
      {"abc", "5", "1", false},
  };
  size_t boxes = 0;
  for (const auto& c : cases) {
    gameSettings.level = 3;
    chooseCustom(c.rows, c.columns, c.difficulty);
    runLevelDialog();
    const std::string entered = std::string(c.rows) + " " + c.columns + " " + c.difficulty;
    if (c.accepted) {
      EXPECT_EQ(boardChoice(),
                std::make_tuple(static_cast<uint32_t>(std::stoul(c.rows)),
                                static_cast<uint32_t>(std::stoul(c.columns)),
                                static_cast<uint32_t>(std::stoul(c.difficulty)), 0))
          << entered;
    } else {
      EXPECT_EQ(boardChoice(), std::make_tuple(15u, 15u, 5u, 0)) << entered;
      ++boxes;
    }
    EXPECT_EQ(platform.messageBoxes().size(), boxes) << entered;
  }
}

struct LabelsCase {
  const char* settingsFile;
  const char* rowsLabel;
  const char* columnsLabel;
};

class LevelDialogLabels : public RunningProgram,
                          public ::testing::WithParamInterface<LabelsCase> {};

TEST_P(LevelDialogLabels, ShowTheLimitsForTheTileSize) {
  platform.screenWidth = 1024;
  platform.screenHeight = 768;
  folder.writeFile(kSettingsFileName, GetParam().settingsFile);
  chooseLevel(IDC_LEVEL_NOVICE);
  onMainWindowCreate();

  ASSERT_EQ(platform.dialogsShown().size(), 1u);
  const auto& labels = platform.dialogsShown()[0].controls;
  EXPECT_EQ(labels.at(IDC_LEVEL_ROWS_LABEL).text, GetParam().rowsLabel);
  EXPECT_EQ(labels.at(IDC_LEVEL_COLUMNS_LABEL).text, GetParam().columnsLabel);
  EXPECT_EQ(labels.at(IDC_LEVEL_DIFFICULTY_LABEL).text, "Difficulty (1-10)");
}

INSTANTIATE_TEST_SUITE_P(
    Screen1024x768, LevelDialogLabels,
    ::testing::Values(LabelsCase{"level=0\n", "Rows (5-26)", "Columns (5-53)"},
                      LabelsCase{"level=0\nsmall=1\n", "Rows (5-55)", "Columns (5-101)"}));

// A taskbar takes its height from the rows, and the screen's full height does not count.
TEST_F(LevelDialog, LimitsCountTheWorkAreaOnly) {
  platform.workAreaRect = Rect{0, 0, 1280, 984};
  chooseLevel(IDC_LEVEL_NOVICE);
  runLevelDialog();
  const auto& labels = platform.dialogsShown().back().controls;
  EXPECT_EQ(labels.at(IDC_LEVEL_ROWS_LABEL).text, "Rows (5-35)");
  EXPECT_EQ(labels.at(IDC_LEVEL_COLUMNS_LABEL).text, "Columns (5-66)");
}

struct LargestCase {
  const char* settingsFile;
  const char *rows, *columns;
  uint16_t maxRows, maxColumns;
};

class LargestBoard : public RunningProgram, public ::testing::WithParamInterface<LargestCase> {};

// The largest board the dialog allows lies wholly in the work area with its caption and
// menu, wherever the window stood before.
TEST_P(LargestBoard, IsWhollyOnScreen) {
  const LargestCase& c = GetParam();
  folder.writeFile(kSettingsFileName, c.settingsFile);
  platform.moveWindow(300, 200, 800, 600);
  chooseCustom(c.rows, c.columns, "5");
  onMainWindowCreate();
  EXPECT_TRUE(platform.messageBoxes().empty()) << "the board is within the limits";
  EXPECT_EQ(std::make_pair(board.columns, board.rows), std::make_pair(c.maxColumns, c.maxRows));
  const Rect window = platform.windowMoves().back();
  EXPECT_GE(window.left, 0);
  EXPECT_GE(window.top, 0);
  EXPECT_LE(window.right, 1280);
  EXPECT_LE(window.bottom, 1024);
}

INSTANTIATE_TEST_SUITE_P(Screen1280x1024, LargestBoard,
                         ::testing::Values(LargestCase{"level=0\n", "37", "66", 37, 66},
                                           LargestCase{"level=0\nsmall=1\n", "76", "127", 76,
                                                       127}));

TEST_F(LevelDialog, NarrowScreensDisableAdvancedAndExpert) {
  const struct {
    int screenWidth;
    bool hardLevels;
  } cases[] = {{640, false}, {800, false}, {1023, false}, {1024, true}, {1600, true}};
  for (const auto& c : cases) {
    platform.screenWidth = c.screenWidth;
    chooseLevel(IDC_LEVEL_NOVICE);
    runLevelDialog();
    const auto& buttons = platform.dialogsShown().back().controls;
    const auto enabled = [&](int id) {
      const auto found = buttons.find(id);
      return found == buttons.end() || found->second.enabled;
    };
    EXPECT_EQ(enabled(IDC_LEVEL_ADVANCED), c.hardLevels) << c.screenWidth;
    EXPECT_EQ(enabled(IDC_LEVEL_EXPERT), c.hardLevels) << c.screenWidth;
    for (const int id : {IDC_LEVEL_NOVICE, IDC_LEVEL_BEGINNER, IDC_LEVEL_INTERMEDIATE,
                         IDC_LEVEL_PLAY_CUSTOM, IDC_LEVEL_QUIT}) {
      EXPECT_TRUE(enabled(id)) << c.screenWidth << " button " << id;
    }
  }
}

TEST_F(LevelDialog, StoredLevelIsTakenOverEvenWhenItsButtonIsDisabled) {
  platform.screenWidth = 800;
  platform.screenHeight = 600;
  folder.writeFile(kSettingsFileName, "level=4\n");
  onMainWindowCreate();
  EXPECT_TRUE(platform.dialogsShown().empty());
  EXPECT_EQ(boardChoice(), std::make_tuple(23u, 45u, 5u, 4));
  EXPECT_EQ(std::make_pair(board.columns, board.rows), std::make_pair(uint16_t{45}, uint16_t{23}));
}

TEST_F(LevelDialog, StoredIntermediateStartsWithoutTheDialogOnce) {
  folder.writeFile(kSettingsFileName, "level=3\n");
  onMainWindowCreate();
  paint();
  EXPECT_TRUE(platform.dialogsRun().empty()) << "a dialog that would not show is not made";
  EXPECT_EQ(std::make_tuple(board.columns, board.rows, board.mines),
            std::make_tuple(uint16_t{41}, uint16_t{20}, uint16_t{140}));

  chooseLevel(IDC_LEVEL_NOVICE);
  onMainWindowCommand(IDM_NEW_GAME);
  ASSERT_EQ(platform.dialogsShown().size(), 1u) << "from now on the dialog is shown";
  const auto& fields = platform.dialogsShown()[0].controls;
  EXPECT_EQ(fields.at(IDC_LEVEL_ROWS).text, "20");
  EXPECT_EQ(fields.at(IDC_LEVEL_COLUMNS).text, "41");
  EXPECT_EQ(fields.at(IDC_LEVEL_DIFFICULTY).text, "4");
}

TEST_F(LevelDialog, StoredLevelOutsideTheCompetitionLevelsShowsTheDialog) {
  for (const int32_t stored : {0, 6, -1}) {
    settingsLoaded = true;
    gameSettings.level = stored;
    chooseLevel(IDC_LEVEL_EXPERT);
    runLevelDialog();
    EXPECT_FALSE(settingsLoaded) << stored;
    EXPECT_EQ(gameSettings.level, 5) << stored;
  }
  EXPECT_EQ(platform.dialogsShown().size(), 3u);
}

TEST_F(LevelDialog, EscapeAndFieldNotificationsLeaveItOpen) {
  platform.answerDialog(IDD_LEVEL, [](MemoryDialog& dialog) {
    dialog.command(kEscape, 0);
    dialog.command(IDC_LEVEL_ROWS, kEditChange);
    dialog.command(IDC_LEVEL_ROWS_LABEL, 0);
    EXPECT_FALSE(dialog.ended());
    dialog.click(IDC_LEVEL_BEGINNER);
  });
  runLevelDialog();
  EXPECT_EQ(boardChoice(), std::make_tuple(16u, 28u, 3u, 2));
}

TEST_F(LevelDialog, QuitGameEndsTheProcessWithoutSavingTheSettings) {
  startPlaying(IDC_LEVEL_NOVICE);
  onMainWindowCommand(IDM_USE_MARKS);

  chooseLevel(IDC_LEVEL_QUIT);
  try {
    onMainWindowCommand(IDM_NEW_GAME);
    ADD_FAILURE() << "Quit Game returned";
  } catch (const ProcessExit& exit) {
    EXPECT_EQ(exit.status, 0);
  }
  EXPECT_FALSE(folder.exists(kSettingsFileName));
}

TEST_F(LevelDialog, QuitGameAtStartUpEndsBeforeAnyGame) {
  chooseLevel(IDC_LEVEL_QUIT);
  EXPECT_THROW(onMainWindowCreate(), ProcessExit);
  EXPECT_FALSE(platform.timerRunning(300));
  EXPECT_FALSE(folder.exists(kSettingsFileName));
}

}  // namespace
