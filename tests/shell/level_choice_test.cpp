#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <tuple>

#include "shell/level_choice.h"
#include "shell/shell_state.h"
#include "view/field_size.h"

namespace {

const TileMetrics& kBig = kBigTileMetrics;
const TileMetrics& kSmall = kSmallTileMetrics;
// What AdjustWindowRect adds under Wine: 4 pixels at the sides and the bottom, 42 at the top
// (caption, menu bar and frame).
constexpr WindowFrame kFrame{8, 46};
// A thicker frame and a taller caption, as newer systems have them.
constexpr WindowFrame kThickFrame{16, 59};

auto boardChoice(const GameSettings& s) {
  return std::make_tuple(s.rows, s.columns, s.difficulty, s.level);
}

class LevelChoice : public ::testing::Test {
 protected:
  void SetUp() override {
    gameSettings = GameSettings{};
    settingsLoaded = false;
  }
  void TearDown() override {
    gameSettings = GameSettings{};
    settingsLoaded = false;
  }
};

struct LimitsCase {
  int32_t width;
  int32_t height;
  const TileMetrics* tiles;
  WindowFrame frame;
  uint32_t maxColumns;
  uint32_t maxRows;
};

class LevelLimitsTable : public ::testing::TestWithParam<LimitsCase> {};

TEST_P(LevelLimitsTable, FitsTheWholeWindowInTheWorkArea) {
  const LimitsCase& c = GetParam();
  const LevelLimits limits = ComputeLevelLimits(c.width, c.height, c.frame, *c.tiles);
  EXPECT_EQ(limits.maxColumns, c.maxColumns);
  EXPECT_EQ(limits.maxRows, c.maxRows);
}

INSTANTIATE_TEST_SUITE_P(
    WorkAreas, LevelLimitsTable,
    ::testing::Values(
        LimitsCase{640, 480, &kBig, kFrame, 33, 14}, LimitsCase{800, 600, &kBig, kFrame, 41, 19},
        LimitsCase{1024, 768, &kBig, kFrame, 53, 26},
        LimitsCase{1280, 1024, &kBig, kFrame, 66, 37},
        LimitsCase{1600, 1200, &kBig, kFrame, 83, 44},
        LimitsCase{1024, 768, &kSmall, kFrame, 101, 55},
        LimitsCase{1280, 1024, &kSmall, kFrame, 127, 76},
        LimitsCase{1600, 1200, &kSmall, kFrame, 159, 91},
        // A taskbar along the bottom takes its rows away.
        LimitsCase{1280, 984, &kBig, kFrame, 66, 35},
        LimitsCase{1280, 984, &kSmall, kFrame, 127, 73},
        // A thicker frame takes a column of big tiles and a row.
        LimitsCase{1024, 768, &kBig, kThickFrame, 52, 26},
        LimitsCase{1280, 1024, &kSmall, kThickFrame, 127, 75},
        // Larger work areas count as the off-screen surface, width and height each on its own.
        LimitsCase{2560, 1600, &kBig, kFrame, 83, 45},
        LimitsCase{3840, 2160, &kSmall, kFrame, 159, 95},
        LimitsCase{1920, 1080, &kBig, kFrame, 83, 39},
        LimitsCase{1024, 1600, &kBig, kFrame, 53, 45},
        // Too small for any row: the limit stops at 0 instead of wrapping.
        LimitsCase{100, 100, &kBig, kFrame, 4, 0}, LimitsCase{0, 0, &kBig, kFrame, 0, 0}));

// The promise behind the numbers: the window of the largest board allowed, feet included,
// lies wholly in the work area, and its picture fits the off-screen surface.
TEST(LevelLimits, TheLargestBoardIsWhollyVisible) {
  for (const TileMetrics* tiles : {&kBig, &kSmall}) {
    for (const WindowFrame& frame : {kFrame, kThickFrame}) {
      for (int32_t width = 400; width <= 2000; width += 37) {
        for (int32_t height = 300; height <= 1500; height += 29) {
          SCOPED_TRACE(testing::Message() << tiles->tileWidth << " px tiles, frame "
                                          << frame.width << " x " << frame.height << ", "
                                          << width << " x " << height);
          const LevelLimits limits = ComputeLevelLimits(width, height, frame, *tiles);
          const FieldSize field = fieldSize(*tiles, static_cast<int32_t>(limits.maxColumns),
                                            static_cast<int32_t>(limits.maxRows));
          const int32_t clientHeight = field.height + kCounterFeetHeight;
          ASSERT_LE(field.width + frame.width, width);
          ASSERT_LE(clientHeight + frame.height, height);
          ASSERT_LE(field.width, 1600);
          ASSERT_LE(clientHeight, 1200);
        }
      }
    }
  }
}

TEST(CompetitionLevels, FitA1280By1024ScreenInEitherTileSize) {
  for (const TileMetrics* tiles : {&kBig, &kSmall}) {
    const LevelLimits limits = ComputeLevelLimits(1280, 1024, kFrame, *tiles);
    for (const CompetitionLevel& level : kCompetitionLevels) {
      EXPECT_LE(level.columns, limits.maxColumns) << level.buttonText;
      EXPECT_LE(level.rows, limits.maxRows) << level.buttonText;
    }
  }
}

TEST_F(LevelChoice, EachButtonChoosesItsLevel) {
  const struct {
    int controlId;
    const char* text;
    uint32_t rows, columns, difficulty;
    int32_t level;
  } buttons[] = {
      {1031, "Novice", 12, 22, 1, 1},       {1034, "Beginner", 16, 28, 3, 2},
      {1035, "Intermediate", 20, 41, 4, 3}, {1036, "Advanced", 23, 45, 5, 4},
      {1037, "Expert", 27, 53, 6, 5},
  };
  for (const auto& b : buttons) {
    SCOPED_TRACE(b.text);
    const CompetitionLevel* chosen = findCompetitionLevelByControl(b.controlId);
    ASSERT_NE(chosen, nullptr);
    EXPECT_STREQ(chosen->buttonText, b.text);
    EXPECT_EQ(findCompetitionLevel(b.level), chosen);
    chooseCompetitionLevel(*chosen);
    EXPECT_EQ(boardChoice(gameSettings), std::make_tuple(b.rows, b.columns, b.difficulty, b.level));
  }
}

TEST(CompetitionLevels, OtherNumbersAndControlsAreNoLevel) {
  for (int32_t level : {INT32_MIN, -1, 0, 6, 9}) {
    EXPECT_EQ(findCompetitionLevel(level), nullptr) << level;
  }
  // Play Custom, Quit Game and the custom fields.
  for (int id : {1003, 1004, 1005, 1006, 1032, 1033, 0}) {
    EXPECT_EQ(findCompetitionLevelByControl(id), nullptr) << id;
  }
}

struct CustomCase {
  const char* name;
  uint32_t rows;
  uint32_t columns;
  uint32_t difficulty;
  bool refused;
};

void PrintTo(const CustomCase& c, std::ostream* os) { *os << c.name; }

class PlayCustom : public LevelChoice, public ::testing::WithParamInterface<CustomCase> {};

// Limits of 53 columns and 27 rows.
TEST_P(PlayCustom, TakesTheEntryOrFallsBack) {
  const CustomCase& c = GetParam();
  gameSettings.level = 3;

  const bool fellBack =
      playCustom(c.rows, c.columns, c.difficulty, LevelLimits{53, 27}) == CustomBoard::Fallback;

  EXPECT_EQ(fellBack, c.refused);
  if (c.refused) {
    EXPECT_EQ(boardChoice(gameSettings), std::make_tuple(15u, 15u, 5u, 0));
  } else {
    EXPECT_EQ(boardChoice(gameSettings), std::make_tuple(c.rows, c.columns, c.difficulty, 0));
  }
}

INSTANTIATE_TEST_SUITE_P(Entries, PlayCustom,
                         ::testing::Values(CustomCase{"Smallest", 5, 5, 1, false},
                                           CustomCase{"Largest", 27, 53, 10, false},
                                           CustomCase{"Ordinary", 10, 30, 7, false},
                                           CustomCase{"FourRows", 4, 20, 5, true},
                                           CustomCase{"FourColumns", 20, 4, 5, true},
                                           CustomCase{"NoColumns", 20, 0, 5, true},
                                           CustomCase{"OneRowTooMany", 28, 20, 5, true},
                                           CustomCase{"OneColumnTooMany", 20, 54, 5, true},
                                           CustomCase{"DifficultyZero", 20, 20, 0, true},
                                           CustomCase{"DifficultyEleven", 20, 20, 11, true},
                                           CustomCase{"HugeRows", UINT32_MAX, 20, 5, true},
                                           // The first opening of a run shows 0, 0 and 5.
                                           CustomCase{"FirstRunFields", 0, 0, 5, true}),
                         [](const ::testing::TestParamInfo<CustomCase>& info) {
                           return info.param.name;
                         });

TEST_F(LevelChoice, ACustomBoardBeyondTheLimitsShrinksToTheLargestWithinThem) {
  const struct {
    const char* name;
    int32_t level;
    uint32_t columns, rows;
    LevelLimits limits;
    uint32_t fittedColumns, fittedRows;
  } cases[] = {
      {"largest small board to big tiles", 0, 127, 76, {66, 37}, 66, 37},
      {"only too wide", 0, 100, 20, {66, 37}, 66, 20},
      {"only too tall", 0, 30, 60, {66, 37}, 30, 37},
      {"within the limits", 0, 66, 37, {66, 37}, 66, 37},
      {"limits below the smallest board", 0, 20, 20, {4, 0}, 5, 5},
      {"Expert keeps its board", 5, 53, 27, {52, 26}, 53, 27},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    gameSettings.level = c.level;
    gameSettings.columns = c.columns;
    gameSettings.rows = c.rows;
    gameSettings.difficulty = 7;
    fitCustomBoardWithin(c.limits);
    EXPECT_EQ(boardChoice(gameSettings),
              std::make_tuple(c.fittedRows, c.fittedColumns, 7u, c.level));
  }
}

struct StoredLevelCase {
  int32_t level;
  bool takenOver;
};

class StoredLevel : public LevelChoice, public ::testing::WithParamInterface<StoredLevelCase> {};

TEST_P(StoredLevel, IsTakenOverOnceAfterALoad) {
  const StoredLevelCase& c = GetParam();
  gameSettings.level = c.level;
  settingsLoaded = true;

  EXPECT_EQ(takeOverStoredLevel(), c.takenOver);

  EXPECT_FALSE(settingsLoaded);
  if (c.takenOver) {
    const CompetitionLevel& stored = *findCompetitionLevel(c.level);
    EXPECT_EQ(boardChoice(gameSettings),
              std::make_tuple(stored.rows, stored.columns, stored.difficulty, c.level));
  } else {
    EXPECT_EQ(boardChoice(gameSettings), std::make_tuple(0u, 0u, 5u, c.level));
  }
  // From then on the dialog is always shown.
  EXPECT_FALSE(takeOverStoredLevel());
}

INSTANTIATE_TEST_SUITE_P(Levels, StoredLevel,
                         ::testing::Values(StoredLevelCase{1, true}, StoredLevelCase{3, true},
                                           StoredLevelCase{5, true}, StoredLevelCase{0, false},
                                           StoredLevelCase{6, false}, StoredLevelCase{-1, false}));

TEST_F(LevelChoice, StoredLevelIsIgnoredWithoutALoad) {
  gameSettings.level = 3;
  EXPECT_FALSE(takeOverStoredLevel());
  EXPECT_EQ(boardChoice(gameSettings), std::make_tuple(0u, 0u, 5u, 3));
}

TEST(LevelLabels, ShowTheLimits) {
  const LevelLimits big = ComputeLevelLimits(1024, 768, kFrame, kBig);
  const LevelLimits small = ComputeLevelLimits(1024, 768, kFrame, kSmall);
  EXPECT_EQ(columnsLabel(big.maxColumns), "Columns (5-53)");
  EXPECT_EQ(rowsLabel(big.maxRows), "Rows (5-26)");
  EXPECT_EQ(columnsLabel(small.maxColumns), "Columns (5-101)");
  EXPECT_EQ(rowsLabel(small.maxRows), "Rows (5-55)");
  EXPECT_EQ(columnsLabel(UINT32_MAX), "Columns (5-4294967295)");
  EXPECT_EQ(difficultyLabel(), "Difficulty (1-10)");
}

}  // namespace
