#include "recording_view.h"

namespace {
int64_t fixedSeconds = 0;
int64_t readFixedSeconds() { return fixedSeconds; }
}  // namespace

void buildBoardAt(int64_t seconds, unsigned columns, unsigned rows, unsigned difficulty) {
  fixedSeconds = seconds;
  installCalendarClock(readFixedSeconds);
  board.build(columns, rows, difficulty);
  installCalendarClock(nullptr);
}

void buildWorkedExample() { buildBoardAt(12345, 10, 8, 1); }
