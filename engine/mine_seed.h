#pragma once

#include <cstdint>

// The mine placement is seeded from the calendar clock of the platform's services:
// (seconds since 1970 as a signed 32-bit number) modulo 31683, the remainder of signed division.
uint32_t mineSeed(int64_t calendarSeconds);
