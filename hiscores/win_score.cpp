#include "hiscores/win_score.h"

#include <cmath>

uint32_t winScore(int32_t elapsedMilliseconds, int difficulty, uint32_t columns, uint32_t rows,
                  uint32_t mines) {
  const double seconds = std::trunc(elapsedMilliseconds * 0.001);
  const double reciprocal = seconds <= 9999 ? 1 / (seconds + 1) : 0;
  const double d = difficulty;
  const double p = static_cast<uint32_t>(columns * rows * mines * 5u);
  const double score = std::trunc(((p * d) * d) * reciprocal);
  if (!std::isfinite(score) || score < 0) return 0;
  // The low 32 bits of the whole number; fmod is exact, so no conversion can overflow.
  return static_cast<uint32_t>(std::fmod(score, 4294967296.0));
}
