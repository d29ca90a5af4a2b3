#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <tuple>

#include "shell/level_choice.h"
#include "shell/settings.h"

namespace {

constexpr int kBig = 24;
constexpr int kSmall = 12;

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
  int width;
  int height;
  int tile;
  uint32_t maxColumns;
  uint32_t maxRows;
};

class LevelLimitsTable : public ::testing::TestWithParam<LimitsCase> {};

TEST_P(LevelLimitsTable, FitsTheBoardOnTheScreen) {
  const LimitsCase& c = GetParam();
  const LevelLimits limits = ComputeLevelLimits(c.width, c.height, c.tile, c.tile);
  EXPECT_EQ(limits.maxColumns, c.maxColumns);
  EXPECT_EQ(limits.maxRows, c.maxRows);
}

INSTANTIATE_TEST_SUITE_P(
    Screens, LevelLimitsTable,
    ::testing::Values(LimitsCase{640, 480, kBig, 33, 15}, LimitsCase{800, 600, kBig, 41, 20},
                      LimitsCase{1024, 768, kBig, 53, 27}, LimitsCase{1280, 1024, kBig, 66, 38},
                      LimitsCase{1600, 1200, kBig, 83, 45}, LimitsCase{2560, 1600, kBig, 83, 45},
                      LimitsCase{1024, 768, kSmall, 101, 59},
                      LimitsCase{1600, 1200, kSmall, 159, 95},
                      LimitsCase{3840, 2160, kSmall, 159, 95},
                      // Width and height are capped each on its own.
                      LimitsCase{1920, 1080, kBig, 83, 40}, LimitsCase{1024, 1600, kBig, 53, 45},
                      // Too small for any row: the limit stops at 0 instead of wrapping.
                      LimitsCase{100, 100, kBig, 4, 0}, LimitsCase{0, 0, kBig, 0, 0}));

TEST(CompetitionLevels, MatchTheLargestBoardsOfCommonScreens) {
  const LevelLimits at800 = ComputeLevelLimits(800, 600, kBig, kBig);
  const LevelLimits at1024 = ComputeLevelLimits(1024, 768, kBig, kBig);
  const CompetitionLevel& intermediate = *findCompetitionLevel(3);
  const CompetitionLevel& expert = *findCompetitionLevel(5);
  EXPECT_EQ(std::make_tuple(intermediate.columns, intermediate.rows),
            std::make_tuple(at800.maxColumns, at800.maxRows));
  EXPECT_EQ(std::make_tuple(expert.columns, expert.rows),
            std::make_tuple(at1024.maxColumns, at1024.maxRows));
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

// Limits of big tiles on a 1024 by 768 screen: 53 columns, 27 rows.
TEST_P(PlayCustom, TakesTheEntryOrFallsBack) {
  const CustomCase& c = GetParam();
  gameSettings.level = 3;

  const bool fellBack = playCustom(c.rows, c.columns, c.difficulty, LevelLimits{53, 27});

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
  const LevelLimits big = ComputeLevelLimits(1024, 768, kBig, kBig);
  const LevelLimits small = ComputeLevelLimits(1024, 768, kSmall, kSmall);
  EXPECT_EQ(columnsLabel(big.maxColumns), "Columns (5-53)");
  EXPECT_EQ(rowsLabel(big.maxRows), "Rows (5-27)");
  EXPECT_EQ(columnsLabel(small.maxColumns), "Columns (5-101)");
  EXPECT_EQ(rowsLabel(small.maxRows), "Rows (5-59)");
  EXPECT_EQ(columnsLabel(UINT32_MAX), "Columns (5-4294967295)");
  EXPECT_EQ(difficultyLabel(), "Difficulty (1-10)");
}

}  // namespace
