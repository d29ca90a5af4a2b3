#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>

#include "hiscores/win_score.h"

namespace {

struct ScoreCase {
  const char* label;
  int32_t elapsedMilliseconds;
  int difficulty;
  uint32_t columns;
  uint32_t rows;
  uint32_t mines;
  uint32_t score;
};

void PrintTo(const ScoreCase& c, std::ostream* out) { *out << c.label; }

class WinScore : public ::testing::TestWithParam<ScoreCase> {};

TEST_P(WinScore, FollowsTheFormula) {
  const ScoreCase& c = GetParam();
  EXPECT_EQ(winScore(c.elapsedMilliseconds, c.difficulty, c.columns, c.rows, c.mines), c.score);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WinScore,
    ::testing::Values(
        ScoreCase{"10x10 at difficulty 5 after 49.9 s", 49900, 5, 10, 10, 20, 5000},
        ScoreCase{"the fraction of a second is dropped", 49999, 5, 10, 10, 20, 5000},
        ScoreCase{"one more second", 50000, 5, 10, 10, 20, 4901},
        ScoreCase{"within the first second", 999, 5, 10, 10, 20, 250000},
        ScoreCase{"at once", 0, 5, 10, 10, 20, 250000},
        // 2940 * 1 * 1 / 49 is exactly 60, but 2940 * (1 / 49) falls just short of it.
        ScoreCase{"exact quotient through the reciprocal", 48000, 1, 6, 14, 7, 59},
        ScoreCase{"the last second that scores", 9999999, 5, 10, 10, 20, 25},
        ScoreCase{"longer than 9999 seconds", 10000000, 5, 10, 10, 20, 0},
        ScoreCase{"longest time", INT32_MAX, 10, 100, 100, 1000, 0},
        ScoreCase{"board product wraps at 32 bits", 0, 1, 1000, 1000, 1000, 705032704},
        ScoreCase{"score keeps its low 32 bits", 0, 10, 100, 100, 1000, 705032704},
        ScoreCase{"no mines", 3000, 5, 10, 10, 0, 0},
        ScoreCase{"clock a moment behind counts as the first second", -999, 5, 10, 10, 20,
                  250000},
        ScoreCase{"one second behind divides by zero", -1000, 5, 10, 10, 20, 0},
        ScoreCase{"zero over zero", -1999, 5, 10, 10, 0, 0},
        ScoreCase{"further behind is negative", -2000, 5, 10, 10, 20, 0},
        ScoreCase{"most negative time", INT32_MIN, 10, 100, 100, 1000, 0}));

}  // namespace
