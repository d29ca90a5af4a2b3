#pragma once

#include <cstdint>

// The game's own generator, so that a seed gives the same board on every platform:
// multiplier 214013, increment 2531011, results are bits 16 to 30 of the state.
void seedRandom(uint32_t seed);
int nextRandom();  // 0 to 32767
