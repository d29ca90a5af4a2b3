#pragma once

#include <cstdint>

// The mine placement is seeded from the calendar clock. Tests and the program may install
// their own source of calendar seconds; by default it is the runtime's time().
using CalendarClock = int64_t (*)();
void installCalendarClock(CalendarClock clock);  // nullptr restores time()
int64_t calendarSeconds();

// (seconds since 1970 as a signed 32-bit number) modulo 31683, the remainder of signed division.
uint32_t mineSeed(int64_t calendarSeconds);
