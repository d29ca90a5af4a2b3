#pragma once

#include <cstdint>

// The score of a won game: 5 * columns * rows * mines * difficulty^2 / (seconds + 1), computed
// in double precision in a fixed order through the reciprocal of seconds + 1, so an exact
// quotient may come out one less. Games longer than 9999 seconds score 0. A negative elapsed
// time (a clock that went backwards) that would make the score infinite or negative scores 0.
uint32_t winScore(int32_t elapsedMilliseconds, int difficulty, uint32_t columns, uint32_t rows,
                  uint32_t mines);
