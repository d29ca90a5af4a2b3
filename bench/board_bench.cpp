// Figures for the largest board the level dialog allows: 159 columns by 95 rows.
#include <benchmark/benchmark.h>

#include "engine/engine_state.h"
#include "shell/memory/memory_services.h"

namespace {

constexpr unsigned kColumns = 159;
constexpr unsigned kRows = 95;

// Every board is built from the same calendar second, on services that hold it still.
void useFixedCalendar() {
  static MemoryServices platform(nullptr);
  platform.clockCalendarSeconds = 1796000000;
  installServices(&platform);
}

void closeEveryCell() {
  for (Cell& cell : board.cells) cell.revealed = 0;
}

void openAt(int column, int row) {
  board.action = 'c';
  board.actionColumn = static_cast<uint16_t>(column);
  board.actionRow = static_cast<uint16_t>(row);
  board.apply();
}

// The "0" cell whose flood opens the most cells on the current board.
CellPosition widestZero() {
  CellPosition best{1, 1};
  unsigned mostOpened = 0;
  for (int c = 1; c <= board.columns; ++c) {
    for (int r = 1; r <= board.rows; ++r) {
      if (board.cell(c, r).content != '0' || board.cell(c, r).isRevealed()) continue;
      const unsigned before = board.unrevealedCount();
      openAt(c, r);
      const unsigned opened = before - board.unrevealedCount();
      if (opened > mostOpened) {
        mostOpened = opened;
        best = {c, r};
      }
    }
  }
  closeEveryCell();
  return best;
}

void BM_BuildLargestBoard(benchmark::State& state) {
  useFixedCalendar();
  const unsigned difficulty = static_cast<unsigned>(state.range(0));
  for (auto _ : state) {
    board.build(kColumns, kRows, difficulty);
    benchmark::DoNotOptimize(board.cells.data());
  }
  state.counters["mines"] = board.mines;
}
BENCHMARK(BM_BuildLargestBoard)->Arg(1)->Arg(10)->Unit(benchmark::kMicrosecond);

void BM_FloodLargestBoard(benchmark::State& state) {
  useFixedCalendar();
  board.build(kColumns, kRows, 1);
  const CellPosition start = widestZero();
  unsigned opened = 0;
  for (auto _ : state) {
    state.PauseTiming();
    closeEveryCell();
    state.ResumeTiming();
    openAt(start.column, start.row);
    opened = kColumns * kRows - board.unrevealedCount();
  }
  state.counters["opened"] = opened;
  state.counters["of_safe"] = kColumns * kRows - board.mines;
}
BENCHMARK(BM_FloodLargestBoard)->Unit(benchmark::kMicrosecond);

// No mines at all: every cell is a "0", so the flood nests as deep as the board is large.
void BM_FloodLargestEmptyBoard(benchmark::State& state) {
  useFixedCalendar();
  board.build(kColumns, kRows, 1);
  for (Cell& cell : board.cells) cell.content = '0';
  for (auto _ : state) {
    state.PauseTiming();
    closeEveryCell();
    state.ResumeTiming();
    openAt(80, 48);
  }
  state.counters["opened"] = kColumns * kRows - board.unrevealedCount();
}
BENCHMARK(BM_FloodLargestEmptyBoard)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
