#include "engine/mine_seed.h"

#include <ctime>

namespace {

int64_t runtimeCalendarSeconds() { return static_cast<int64_t>(std::time(nullptr)); }

CalendarClock installedClock = runtimeCalendarSeconds;

}  // namespace

void installCalendarClock(CalendarClock clock) {
  installedClock = clock ? clock : runtimeCalendarSeconds;
}

int64_t calendarSeconds() { return installedClock(); }

uint32_t mineSeed(int64_t seconds) {
  const int32_t asSigned = static_cast<int32_t>(static_cast<uint32_t>(seconds));
  return static_cast<uint32_t>(asSigned % 31683);
}
