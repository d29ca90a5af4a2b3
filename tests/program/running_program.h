#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/board.h"
#include "memory_program.h"
#include "view/pixel_point.h"

// A whole program on the in-memory services, driven the way the window procedure drives it:
// start-up, paints, button presses and releases, timer ticks and menu commands.
class RunningProgram : public MemoryProgram {
 protected:
  RunningProgram();

  // The answer of the next level dialog that is shown.
  void chooseLevel(int button);
  void chooseCustom(const std::string& rows, const std::string& columns,
                    const std::string& difficulty);

  // Start-up with the queued level answer, Safe Start as asked, and the first paint. Most
  // games here start without the safe start, so every cell begins closed.
  void start(bool safeStart = false);
  void startPlaying(int button, bool safeStart = false);

  // A paint request as the window procedure serves it; the second one only when one is due.
  void paint();
  void paintIfDue();

  // A point deep inside the cell's hexagon.
  PixelPoint centreOf(CellPosition cell);
  void press(PixelPoint at);
  void leftClick(CellPosition cell, unsigned keys = 0);
  void rightClick(CellPosition cell, unsigned keys = 0);
  void middleClick(CellPosition cell);
  void tickAt(int32_t milliseconds);
  // Answers the dialogs of the next win: the name as given, then OK in the hiscore table.
  void answerWinDialogs(const std::string& name = "Anonymous");

  // Inner cells of the board in column order.
  std::vector<CellPosition> cellsWhere(const std::function<bool(const Cell&)>& test) const;
  std::vector<CellPosition> neighbours(CellPosition cell) const;
  int revealedCount() const;
  // Opens every closed cell without a mine by left clicks, except `spared`.
  void openSafeCells(CellPosition spared = {0, 0});

  // Whether the window shows the bitmap inside the cell's hexagon.
  ::testing::AssertionResult windowShows(CellPosition cell, int bitmapId);
  // Every cell as the model says it should look during play.
  void expectWindowShowsModel();
  // The counter digits' middle segment of the left counter, place 0 the thousands.
  bool elapsedMiddleSegmentLit(int place);
};

// The bitmap a cell of the current tile set shows during play.
int playPicture(const Cell& cell, bool small);
