#include "running_program.h"

#include <utility>

#include "engine/engine_state.h"
#include "engine/pointer_gestures.h"
#include "resources/resource_ids.h"
#include "shell/main_window.h"
#include "view/cell_placement.h"
#include "view/game_start.h"
#include "view/hit_test.h"
#include "view/view_state.h"

namespace {

// Bits that the big set's mask (#040404 inside the hexagon) lets through from underneath.
constexpr uint32_t kMaskLeak = 0x040404;

}  // namespace

int playPicture(const Cell& cell, bool small) {
  static const int bigOpen[] = {IDB_BIG_OPEN0, IDB_BIG_OPEN1, IDB_BIG_OPEN2, IDB_BIG_OPEN3,
                                IDB_BIG_OPEN4, IDB_BIG_OPEN5, IDB_BIG_OPEN6};
  static const int smallOpen[] = {IDB_SMALL_OPEN0, IDB_SMALL_OPEN1, IDB_SMALL_OPEN2,
                                  IDB_SMALL_OPEN3, IDB_SMALL_OPEN4, IDB_SMALL_OPEN5,
                                  IDB_SMALL_OPEN6};
  if (cell.isFlagged()) return small ? IDB_SMALL_FLAG : IDB_BIG_FLAG;
  if (cell.isQuestioned()) return small ? IDB_SMALL_QUESTION : IDB_BIG_QUESTION;
  if (cell.isRevealed() && !cell.holdsMine()) {
    return (small ? smallOpen : bigOpen)[cell.content - '0'];
  }
  return small ? IDB_SMALL_COVERED : IDB_BIG_COVERED;
}

RunningProgram::RunningProgram() {
  // The platform destroys the window on a close request, which runs the shut-down.
  platform.onCloseRequest = [] { onMainWindowDestroy(); };
}

void RunningProgram::chooseLevel(int button) {
  platform.answerDialog(IDD_LEVEL, [button](MemoryDialog& dialog) { dialog.click(button); });
}

void RunningProgram::chooseCustom(const std::string& rows, const std::string& columns,
                                  const std::string& difficulty) {
  platform.answerDialog(IDD_LEVEL, [=](MemoryDialog& dialog) {
    dialog.setText(IDC_LEVEL_ROWS, rows);
    dialog.setText(IDC_LEVEL_COLUMNS, columns);
    dialog.setText(IDC_LEVEL_DIFFICULTY, difficulty);
    dialog.click(IDC_LEVEL_PLAY_CUSTOM);
  });
}

void RunningProgram::startPlaying(int button, bool safeStart) {
  chooseLevel(button);
  start(safeStart);
}

void RunningProgram::start(bool safeStart) {
  onMainWindowCreate();
  if (!safeStart) onMainWindowCommand(IDM_SAFE_START);
  paint();
  platform.takePaintRequest();
}

void RunningProgram::paint() {
  const DrawContext context = platform.windowContext();
  onMainWindowPaint(context);
  platform.releaseWindowContext(context);
}

void RunningProgram::paintIfDue() {
  if (platform.takePaintRequest()) paint();
}

PixelPoint RunningProgram::centreOf(CellPosition cell) {
  const PixelPoint origin = cellOrigin(cell.column, cell.row);
  const PixelPoint centre{origin.x + tileMetrics.tileWidth / 2, origin.y + tileMetrics.tileHeight / 2};
  const CellPosition hit = hitTest(centre.x, centre.y);
  EXPECT_EQ(std::make_pair(hit.column, hit.row), std::make_pair(cell.column, cell.row));
  return centre;
}

void RunningProgram::press(PixelPoint at) { onButtonPress(at.x, at.y); }

void RunningProgram::leftClick(CellPosition cell, unsigned keys) {
  const PixelPoint at = centreOf(cell);
  press(at);
  onLeftRelease(at.x, at.y, keys);
}

void RunningProgram::rightClick(CellPosition cell, unsigned keys) {
  const PixelPoint at = centreOf(cell);
  press(at);
  onRightRelease(at.x, at.y, keys);
}

void RunningProgram::middleClick(CellPosition cell) {
  const PixelPoint at = centreOf(cell);
  press(at);
  onMiddleRelease(at.x, at.y);
}

void RunningProgram::tickAt(int32_t milliseconds) {
  platform.clockMilliseconds = milliseconds;
  onTimerTick(kPlayTimer);
}

void RunningProgram::answerWinDialogs(const std::string& name) {
  platform.answerDialog(IDD_ENTER_NAME, [name](MemoryDialog& dialog) {
    dialog.setText(IDC_NAME_FIELD, name);
    dialog.click(IDC_NAME_OK);
  });
  platform.answerDialog(IDD_HISCORE_TABLE,
                        [](MemoryDialog& dialog) { dialog.click(IDC_TABLE_OK); });
}

std::vector<CellPosition> RunningProgram::cellsWhere(
    const std::function<bool(const Cell&)>& test) const {
  std::vector<CellPosition> found;
  for (int c = 1; c <= board.columns; ++c) {
    for (int r = 1; r <= board.rows; ++r) {
      if (test(board.cell(c, r))) found.push_back({c, r});
    }
  }
  return found;
}

std::vector<CellPosition> RunningProgram::neighbours(CellPosition cell) const {
  std::vector<CellPosition> inner;
  for (const CellPosition& n : neighboursOf(cell.column, cell.row)) {
    if (board.isInner(n.column, n.row)) inner.push_back(n);
  }
  return inner;
}

int RunningProgram::revealedCount() const {
  return static_cast<int>(cellsWhere([](const Cell& cell) { return cell.isRevealed(); }).size());
}

void RunningProgram::openSafeCells(CellPosition spared) {
  for (const CellPosition& cell : cellsWhere([](const Cell& c) { return !c.holdsMine(); })) {
    if (board.cell(cell.column, cell.row).isRevealed()) continue;
    if (cell.column == spared.column && cell.row == spared.row) continue;
    leftClick(cell);
  }
}

::testing::AssertionResult RunningProgram::windowShows(CellPosition cell, int bitmapId) {
  const bool small = tileMetrics.tileWidth == kSmallTileMetrics.tileWidth;
  const RgbImage& mask = bitmap(small ? IDB_SMALL_MASK : IDB_BIG_MASK);
  const RgbImage& picture = bitmap(bitmapId);
  const RgbImage& window = platform.windowPixels();
  const PixelPoint origin = cellOrigin(cell.column, cell.row);
  for (int y = 0; y < mask.height; ++y) {
    for (int x = 0; x < mask.width; ++x) {
      if (mask.at(x, y) == 0xFFFFFF) continue;
      const int wx = origin.x + x;
      const int wy = origin.y + y;
      // The last column's outermost pixels lie just past the client area.
      if (wx < 0 || wy < 0 || wx >= window.width || wy >= window.height) continue;
      if ((window.at(wx, wy) & ~kMaskLeak) != (picture.at(x, y) & ~kMaskLeak)) {
        return ::testing::AssertionFailure()
               << "cell " << cell.column << "," << cell.row << " is not bitmap " << bitmapId
               << ": pixel " << x << "," << y << " is " << std::hex << window.at(wx, wy)
               << " instead of " << picture.at(x, y);
      }
    }
  }
  return ::testing::AssertionSuccess();
}

void RunningProgram::expectWindowShowsModel() {
  const bool small = tileMetrics.tileWidth == kSmallTileMetrics.tileWidth;
  for (const CellPosition& cell : cellsWhere([](const Cell&) { return true; })) {
    EXPECT_TRUE(windowShows(cell, playPicture(board.cell(cell.column, cell.row), small)));
  }
}

bool RunningProgram::elapsedMiddleSegmentLit(int place) {
  const int32_t h = tileMetrics.tileHeight;
  const int32_t panelTop = platform.clientRect().height() - (h + h / 2) - 36;
  const int32_t x = 2 + 20 * place + 3;
  const int32_t y = panelTop + 15;
  const RgbImage& lit = bitmap(IDB_SEGMENT_H_LIT);
  const RgbImage& window = platform.windowPixels();
  for (int dy = 0; dy < lit.height; ++dy) {
    for (int dx = 0; dx < lit.width; ++dx) {
      if (window.at(x + dx, y + dy) != lit.at(dx, dy)) return false;
    }
  }
  return true;
}
