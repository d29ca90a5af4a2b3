#include "recording_view.h"

#include "engine/engine_state.h"
#include "shell/memory/memory_services.h"

void buildBoardAt(int64_t seconds, unsigned columns, unsigned rows, unsigned difficulty) {
  static MemoryServices platform(nullptr);
  platform.clockCalendarSeconds = seconds;
  installServices(&platform);
  board.build(columns, rows, difficulty);
  installServices(nullptr);
}

void buildWorkedExample() { buildBoardAt(12345, 10, 8, 1); }
