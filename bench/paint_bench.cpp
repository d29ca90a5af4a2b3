// Painting benchmark of the Windows program. The main window is made and driven through its
// window procedure on the program's own Win32 services, on the largest board of each tile
// size, and every operation is timed with the incremental painting and with the literal one,
// alternately, in the same run. Prints one line per operation and tile size:
//
//   paint <operation> <small|big> <median ms> literal <median ms>
//
// and notes about the boards on the error stream. It runs in the current folder, where it
// writes its settings file.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <vector>

#include "bench/wall_clock.h"

#include "engine/engine_requests.h"
#include "engine/engine_state.h"
#include "engine/player_actions.h"
#include "engine/pointer_gestures.h"
#include "shell/shell_state.h"
#include "shell/win32/main_window_procedure.h"
#include "view/board_painting.h"
#include "view/cell_placement.h"
#include "view/engine_link.h"
#include "view/game_start.h"
#include "view/painting_mode.h"
#include "view/view_state.h"

namespace {

constexpr int kRepetitions = 25;
// The program's services with the calendar held at the second every board is built from:
// the largest small-tile board then floods 12,631 cells from its widest "0".
class FixedCalendarServices final : public Win32Services {
 public:
  int64_t calendarSeconds() override { return 1796000000; }
};

struct LargestBoard {
  const char* name;
  int32_t small;
  uint32_t columns;
  uint32_t rows;
};
constexpr LargestBoard kBoards[] = {{"small", 1, 159, 95}, {"big", 0, 83, 45}};
constexpr uint32_t kDifficulty = 1;

HWND mainWindow = nullptr;

void pumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void send(UINT message, WPARAM wParam, PixelPoint at = {0, 0}) {
  SendMessageA(mainWindow, message, wParam, MAKELPARAM(at.x, at.y));
}

double median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

struct Medians {
  double incremental;
  double literal;
};

// Each repetition prepares and times the step once painting incrementally, once literally.
// A change of mode leaves the incremental painting knowing nothing of the surface, so the
// preparation repaints what the step needs painted. Messages waiting are handled before the
// preparation, which may leave a paint request for the step.
Medians measure(const std::function<void()>& prepare, const std::function<void()>& step) {
  std::vector<double> times[2];
  for (int repetition = 0; repetition < kRepetitions; ++repetition) {
    for (int literal = 0; literal < 2; ++literal) {
      usePaintingMode(literal ? PaintingMode::Literal : PaintingMode::Incremental);
      pumpMessages();
      prepare();
      const double start = wallMilliseconds();
      step();
      times[literal].push_back(wallMilliseconds() - start);
    }
  }
  usePaintingMode(PaintingMode::Incremental);
  return {median(times[0]), median(times[1])};
}

void report(const char* operation, const LargestBoard& size, const Medians& medians) {
  std::printf("paint %s %s %.3f literal %.3f\n", operation, size.name, medians.incremental,
              medians.literal);
  std::fflush(stdout);
}

PixelPoint centreOf(CellPosition cell) {
  const PixelPoint origin = cellOrigin(cell.column, cell.row);
  return {origin.x + tileMetrics.tileWidth / 2, origin.y + tileMetrics.tileHeight / 2};
}

void closeEveryCell() {
  for (Cell& cell : board.cells) cell.revealed = 0;
}

// The "0" whose flood opens the most cells, found on the model alone.
CellPosition widestZero(unsigned* opened) {
  installEngineRequests(nullptr);
  CellPosition best{1, 1};
  *opened = 0;
  for (int c = 1; c <= board.columns; ++c) {
    for (int r = 1; r <= board.rows; ++r) {
      if (board.cell(c, r).content != '0' || board.cell(c, r).isRevealed()) continue;
      const unsigned before = board.unrevealedCount();
      board.cell(c, r).revealed = 1;
      board.floodOpen(c, r);
      const unsigned flooded = before - board.unrevealedCount();
      if (flooded > *opened) {
        *opened = flooded;
        best = {c, r};
      }
    }
  }
  closeEveryCell();
  connectEngineToView();
  return best;
}

// A number cell near the middle of the board.
CellPosition middleNumber() {
  const int column = board.columns / 2;
  for (int r = board.rows / 2; r <= board.rows; ++r) {
    const char content = board.cell(column, r).content;
    if (content >= '1' && content <= '6') return {column, r};
  }
  return {column, 1};
}

// Starts the board through the game start, with no safe start, and moves the window so that
// its client area begins at the top-left corner of the screen.
void startBoard(const LargestBoard& size) {
  gameSettings.small = size.small;
  gameSettings.columns = size.columns;
  gameSettings.rows = size.rows;
  gameSettings.difficulty = kDifficulty;
  gameSettings.safe = 0;
  gameSettings.marks = 0;
  if (!gameFlags.gameOver) endGameLost();
  restartGame();
  // Ticks come only when the benchmark sends them.
  KillTimer(mainWindow, kPlayTimer);
  POINT clientOrigin{0, 0};
  ClientToScreen(mainWindow, &clientOrigin);
  RECT frame;
  GetWindowRect(mainWindow, &frame);
  SetWindowPos(mainWindow, nullptr, frame.left - clientOrigin.x, frame.top - clientOrigin.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  pumpMessages();
  RECT client;
  GetClientRect(mainWindow, &client);
  if (client.right > GetSystemMetrics(SM_CXSCREEN) ||
      client.bottom > GetSystemMetrics(SM_CYSCREEN)) {
    std::fprintf(stderr, "note: the %ld x %ld client area reaches past the %d x %d screen\n",
                 client.right, client.bottom, GetSystemMetrics(SM_CXSCREEN),
                 GetSystemMetrics(SM_CYSCREEN));
  }
}

void benchmarkBoard(const LargestBoard& size) {
  startBoard(size);
  unsigned flooded = 0;
  const CellPosition zero = widestZero(&flooded);
  std::fprintf(stderr, "%s tiles, %u x %u, %u mines: the widest flood opens %u cells\n",
               size.name, size.columns, size.rows, board.mines, flooded);

  const CellPosition number = middleNumber();
  report("open-one-cell", size, measure(
                                    [&] {
                                      board.cell(number.column, number.row).revealed = 0;
                                      repaintAllCells();
                                      send(WM_LBUTTONDOWN, MK_LBUTTON, centreOf(number));
                                    },
                                    [&] { send(WM_LBUTTONUP, 0, centreOf(number)); }));
  closeEveryCell();

  report("flag", size, measure(
                           [&] {
                             Cell& cell = board.cell(number.column, number.row);
                             if (cell.isFlagged()) {
                               cell.flagged = 0;
                               ++board.flagsLeft;
                             }
                             repaintAllCells();
                             send(WM_RBUTTONDOWN, MK_RBUTTON, centreOf(number));
                           },
                           [&] { send(WM_RBUTTONUP, 0, centreOf(number)); }));
  board.cell(number.column, number.row).flagged = 0;

  report("flood", size, measure(
                            [&] {
                              closeEveryCell();
                              repaintAllCells();
                              send(WM_LBUTTONDOWN, MK_LBUTTON, centreOf(zero));
                            },
                            [&] { send(WM_LBUTTONUP, 0, centreOf(zero)); }));

  report("tick", size, measure([] { send(WM_TIMER, kPlayTimer); },
                               [] { send(WM_TIMER, kPlayTimer); }));

  // The first paint of a run: the fresh board, the safe start's opening and the repaint, on
  // the same board every time (the generator goes on from the mine placement). Before it,
  // as at start-up, the first game start has painted the fresh board.
  gameSettings.safe = 1;
  report("first-paint", size, measure(
                                  [&] {
                                    board.destroy();
                                    board.build(size.columns, size.rows, kDifficulty);
                                    cellOrigins.create(static_cast<uint16_t>(size.columns),
                                                       static_cast<uint16_t>(size.rows));
                                    gameFlags.gameOver = true;
                                    gameFlags.firstGame = true;
                                    paintFreshBoard();
                                    InvalidateRect(mainWindow, nullptr, FALSE);
                                  },
                                  [] { UpdateWindow(mainWindow); }));
  std::fprintf(stderr, "%s tiles: the first paint's safe start opens %u cells\n", size.name,
               static_cast<unsigned>(size.columns * size.rows - board.unrevealedCount()));
  gameSettings.safe = 0;
}

}  // namespace

int main() {
  // The first board is a stored competition level, so that no dialog waits for an answer.
  std::ofstream(kSettingsFileName) << "marks=0\nsafe=0\nlevel=1\nsmall=0\n";
  static FixedCalendarServices platform;
  installWin32Services(platform);
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  if (!registerMainWindowClass(instance)) return 1;
  mainWindow = createMainWindow(instance);
  ShowWindow(mainWindow, SW_SHOWNORMAL);
  UpdateWindow(mainWindow);
  pumpMessages();
  for (const LargestBoard& size : kBoards) benchmarkBoard(size);
  // Leaves without the shut-down, which would write the settings file.
  ExitProcess(0);
}
