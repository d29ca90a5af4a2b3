#include "engine/pointer_gestures.h"

#include <cstdlib>

#include "engine/engine_state.h"
#include "engine/game_flow.h"
#include "engine/player_actions.h"
#include "hiscores/win_flow.h"
#include "shell/services.h"
#include "shell/shell_state.h"
#include "view/board_painting.h"
#include "view/game_start.h"
#include "view/hit_test.h"
#include "view/surface_changes.h"

namespace {

constexpr int64_t kReleaseTolerance = 4;

// A release counts as a click only close to the most recent press of any button.
bool nearThePress(int32_t x, int32_t y) {
  return std::llabs(int64_t{pointerPress.pressX} - x) <= kReleaseTolerance &&
         std::llabs(int64_t{pointerPress.pressY} - y) <= kReleaseTolerance;
}

// A release that the flag holds back does nothing but clear it.
bool takeIgnoredRelease() {
  if (!gameFlags.ignoreNextRelease) return false;
  heedTheNextRelease();
  return true;
}

// After a finished game any release starts the next one; in play only a release near the
// press goes on to act on the cells.
bool actsInPlay(int32_t x, int32_t y) {
  if (gameFlags.gameOver) {
    restartGame();
    return false;
  }
  return nearThePress(x, y);
}

void applyAt(char action, const CellPosition& at) {
  board.action = action;
  board.actionColumn = static_cast<uint16_t>(at.column);
  board.actionRow = static_cast<uint16_t>(at.row);
  board.apply();
}

bool isCell(const CellPosition& at) { return at.column != 0 && at.row != 0; }

}  // namespace

void onButtonPress(int32_t x, int32_t y) {
  pointerPress.pressX = x;
  pointerPress.pressY = y;
}

void onLeftRelease(int32_t x, int32_t y, unsigned keys) {
  if (!board.isBuilt()) return;
  if (takeIgnoredRelease()) {
    repaintAllCells();
    return;
  }
  if (!actsInPlay(x, y)) return;
  if (keys == keys::kRightButton) {
    chordAtPointer(x, y);
    repaintAllCells();
    return;
  }
  if ((keys & keys::kShift) != 0) {
    chordAtPointer(x, y);
    // Clears the flag the chord set; without a chord it is an ordinary release at (0, 0).
    onLeftRelease(0, 0, 0);
    repaintAllCells();
    return;
  }
  const CellPosition at = hitTest(x, y);
  if (isCell(at)) applyAt('c', at);
  repaintAllCells();
}

void onRightRelease(int32_t x, int32_t y, unsigned keys) {
  if (!board.isBuilt() || takeIgnoredRelease() || !actsInPlay(x, y)) return;
  if (keys == keys::kLeftButton) {
    chordAtPointer(x, y);
    return;
  }
  const CellPosition at = hitTest(x, y);
  if (isCell(at)) {
    const Cell& cell = board.cell(at.column, at.row);
    const bool marks = gameSettings.marks != 0;
    if (cell.isQuestioned() && marks) {
      applyAt('?', at);
    } else if (cell.isFlagged() && marks) {
      applyAt('m', at);
      applyAt('?', at);
    } else {
      applyAt('m', at);
    }
  }
  repaintAllCells();
}

void onMiddleRelease(int32_t x, int32_t y) {
  if (!board.isBuilt() || !actsInPlay(x, y)) return;
  const CellPosition at = hitTest(x, y);
  if (isCell(at)) applyAt('c', at);
  chordAtPointer(x, y);
  // Clears the flag the chord has just set, so the next left or right release counts.
  onRightRelease(0, 0, 0);
}

void chordAtPointer(int32_t x, int32_t y) {
  const CellPosition at = hitTest(x, y);
  if (!isCell(at) || !board.cell(at.column, at.row).isRevealed()) return;
  chordAt(at.column, at.row);
  // The other button is still down; its release must not act on the cells just opened.
  ignoreTheNextRelease();
}

void restartGame() {
  markFirstGamePast();
  startNewGame();
}

void onTimerTick(unsigned timer) {
  if (timer != static_cast<unsigned>(kPlayTimer)) return;
  // A tick already queued when the game ended must neither move the clock nor find a win.
  if (gameFlags.gameOver) return;
  playClock.elapsedSeconds = elapsedSecondsAt(services().milliseconds(), playClock.startClock);
  {
    // Both counters reach the window in one copy, before any dialog of the win.
    const WindowUpdateBatch batch;
    showElapsedSeconds(playClock.elapsedSeconds);
    showFlagsLeft(board.flagsLeft);
  }
  if (isGameWon()) onGameWon();
}
