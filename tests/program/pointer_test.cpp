#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "engine/engine_state.h"
#include "engine/game_flow.h"
#include "engine/pointer_gestures.h"
#include "resources/resource_ids.h"
#include "running_program.h"
#include "shell/main_window.h"
#include "shell/services.h"
#include "shell/shell_state.h"
#include "view/game_start.h"
#include "view/view_state.h"

namespace {

enum class Button { Left, Right, Middle };

const char* nameOf(Button button) {
  switch (button) {
    case Button::Left:
      return "left";
    case Button::Right:
      return "right";
    case Button::Middle:
      return "middle";
  }
  return "";
}

// A custom 10 by 8 board with 11 mines, started without the safe start.
class Play : public RunningProgram {
 protected:
  void SetUp() override {
    chooseCustom("8", "10", "3");
    start();
    ASSERT_EQ(board.mines, 11);
    ASSERT_EQ(revealedCount(), 0);
  }

  void release(Button button, PixelPoint at, unsigned keys = 0) {
    switch (button) {
      case Button::Left:
        onLeftRelease(at.x, at.y, keys);
        break;
      case Button::Right:
        onRightRelease(at.x, at.y, keys);
        break;
      case Button::Middle:
        onMiddleRelease(at.x, at.y);
        break;
    }
  }

  const Cell& at(CellPosition p) const { return board.cell(p.column, p.row); }

  // Closed cells without a mine that show a number, so that opening one floods nothing.
  std::vector<CellPosition> closedNumbers() const {
    return cellsWhere([](const Cell& c) {
      return !c.isRevealed() && !c.holdsMine() && c.content != '0';
    });
  }

  // A closed "1" with at least one closed safe neighbour.
  CellPosition closedOneBesideASafeCell() const {
    for (const CellPosition& p : closedNumbers()) {
      if (at(p).content != '1') continue;
      for (const CellPosition& n : neighbours(p)) {
        if (!at(n).holdsMine() && !at(n).isRevealed()) return p;
      }
    }
    ADD_FAILURE() << "no closed 1 beside a closed safe cell";
    return {0, 0};
  }

  CellPosition mineBeside(CellPosition p) const {
    for (const CellPosition& n : neighbours(p)) {
      if (at(n).holdsMine()) return n;
    }
    ADD_FAILURE() << "no mine beside " << p.column << "," << p.row;
    return {0, 0};
  }

  std::vector<CellPosition> safeNeighbours(CellPosition p) const {
    std::vector<CellPosition> safe;
    for (const CellPosition& n : neighbours(p)) {
      if (!at(n).holdsMine()) safe.push_back(n);
    }
    return safe;
  }

  CellPosition anyMine() const {
    return cellsWhere([](const Cell& c) { return c.holdsMine(); }).front();
  }

  void loseTheGame() {
    leftClick(anyMine());
    ASSERT_TRUE(gameFlags.gameOver);
  }
};

TEST_F(Play, ReleaseActsOnlyWithinFourPixelsOfThePress) {
  const struct {
    Button button;
    int dx, dy;
    bool acts;
  } cases[] = {
      {Button::Left, 4, 0, true},    {Button::Left, 0, 4, true},
      {Button::Left, -4, -4, true},  {Button::Left, 4, -4, true},
      {Button::Left, 5, 0, false},   {Button::Left, 0, 5, false},
      {Button::Left, -5, 0, false},  {Button::Left, 0, -5, false},
      {Button::Right, -4, 4, true},  {Button::Right, 5, 0, false},
      {Button::Middle, 0, -4, true}, {Button::Middle, 0, 5, false},
  };
  const std::vector<CellPosition> targets = closedNumbers();
  ASSERT_GE(targets.size(), std::size(cases));
  for (size_t i = 0; i < std::size(cases); ++i) {
    const auto& c = cases[i];
    const CellPosition cell = targets[i];
    const PixelPoint centre = centreOf(cell);
    press(centre);
    release(c.button, {centre.x + c.dx, centre.y + c.dy});
    const bool acted = c.button == Button::Right ? at(cell).isFlagged() : at(cell).isRevealed();
    EXPECT_EQ(acted, c.acts) << nameOf(c.button) << " release moved by " << c.dx << "," << c.dy;
    EXPECT_TRUE(windowShows(cell, playPicture(at(cell), false)));
  }
}

TEST_F(Play, ReleaseIsComparedWithTheLatestPressOfAnyButton) {
  const std::vector<CellPosition> targets = closedNumbers();
  const CellPosition first = targets[0];
  const CellPosition second = targets[1];

  press(centreOf(first));   // left
  press(centreOf(second));  // right, pressed while the left is down
  release(Button::Left, centreOf(second));
  EXPECT_TRUE(at(second).isRevealed());
  EXPECT_FALSE(at(first).isRevealed());

  const CellPosition third = targets[2];
  press(centreOf(third));   // right
  press(centreOf(first));   // left
  release(Button::Right, centreOf(third));
  EXPECT_FALSE(at(third).isFlagged()) << "far from the left press that came last";
}

TEST_F(Play, RightButtonCyclesThroughTheMarksTheSettingAllows) {
  struct Step {
    bool flagged, questioned;
    int flagsLeftChange;
    int picture;
  };
  const struct {
    bool marks;
    Step steps[3];
  } cases[] = {
      {true,
       {{true, false, -1, IDB_BIG_FLAG},
        {false, true, 0, IDB_BIG_QUESTION},
        {false, false, 0, IDB_BIG_COVERED}}},
      {false,
       {{true, false, -1, IDB_BIG_FLAG},
        {false, false, 0, IDB_BIG_COVERED},
        {true, false, -1, IDB_BIG_FLAG}}},
  };
  const std::vector<CellPosition> targets = closedNumbers();
  for (size_t i = 0; i < std::size(cases); ++i) {
    const auto& c = cases[i];
    if ((gameSettings.marks != 0) != c.marks) onMainWindowCommand(IDM_USE_MARKS);
    const CellPosition cell = targets[i];
    const int32_t flagsBefore = board.flagsLeft;
    for (int step = 0; step < 3; ++step) {
      rightClick(cell);
      const Step& expected = c.steps[step];
      EXPECT_EQ(at(cell).isFlagged(), expected.flagged) << "marks " << c.marks << " step " << step;
      EXPECT_EQ(at(cell).isQuestioned(), expected.questioned)
          << "marks " << c.marks << " step " << step;
      EXPECT_EQ(board.flagsLeft, flagsBefore + expected.flagsLeftChange);
      EXPECT_TRUE(windowShows(cell, expected.picture)) << "marks " << c.marks << " step " << step;
    }
  }
}

TEST_F(Play, QuestionMarkLeftFromMarksBecomesAFlagWithMarksOff) {
  const CellPosition cell = closedNumbers()[0];
  rightClick(cell);
  rightClick(cell);
  ASSERT_TRUE(at(cell).isQuestioned());
  onMainWindowCommand(IDM_USE_MARKS);

  rightClick(cell);
  EXPECT_TRUE(at(cell).isFlagged());
  EXPECT_FALSE(at(cell).isQuestioned());
  EXPECT_EQ(board.flagsLeft, board.mines - 1);
  EXPECT_TRUE(windowShows(cell, IDB_BIG_FLAG));
}

TEST_F(Play, LeftReleaseOverAMarkedCellLeavesIt) {
  const std::vector<CellPosition> targets = closedNumbers();
  const CellPosition flagged = targets[0];
  const CellPosition questioned = targets[1];
  rightClick(flagged);
  rightClick(questioned);
  rightClick(questioned);

  leftClick(flagged);
  leftClick(questioned);
  EXPECT_EQ(revealedCount(), 0);
  EXPECT_TRUE(windowShows(flagged, IDB_BIG_FLAG));
  EXPECT_TRUE(windowShows(questioned, IDB_BIG_QUESTION));
}

enum class Chord { LeftWithRightHeld, RightWithLeftHeld, ShiftLeft };


class ChordGesture : public Play, public ::testing::WithParamInterface<Chord> {
 protected:
  void firstRelease(CellPosition cell) {
    const PixelPoint point = centreOf(cell);
    press(point);
    switch (GetParam()) {
      case Chord::LeftWithRightHeld:
        press(point);
        onLeftRelease(point.x, point.y, keys::kRightButton);
        break;
      case Chord::RightWithLeftHeld:
        press(point);
        onRightRelease(point.x, point.y, keys::kLeftButton);
        break;
      case Chord::ShiftLeft:
        onLeftRelease(point.x, point.y, keys::kShift);
        break;
    }
  }
  // The release of the button still held; the Shift gesture has none.
  void secondRelease(CellPosition cell) {
    const PixelPoint point = centreOf(cell);
    if (GetParam() == Chord::LeftWithRightHeld) onRightRelease(point.x, point.y, 0);
    if (GetParam() == Chord::RightWithLeftHeld) onLeftRelease(point.x, point.y, 0);
  }
};

TEST_P(ChordGesture, OpensTheNeighboursOfACompleteNumber) {
  const CellPosition number = closedOneBesideASafeCell();
  leftClick(number);
  rightClick(mineBeside(number));

  firstRelease(number);
  for (const CellPosition& n : safeNeighbours(number)) EXPECT_TRUE(at(n).isRevealed());
  EXPECT_FALSE(gameFlags.gameOver);
  expectWindowShowsModel();
  EXPECT_EQ(gameFlags.ignoreNextRelease, GetParam() != Chord::ShiftLeft)
      << "the button still held must not act";

  secondRelease(number);
  EXPECT_FALSE(gameFlags.ignoreNextRelease);
  // The next click is an ordinary one again.
  const std::vector<CellPosition> closed = closedNumbers();
  ASSERT_FALSE(closed.empty());
  leftClick(closed.front());
  EXPECT_TRUE(at(closed.front()).isRevealed());
}

TEST_P(ChordGesture, ThatLosesStillSwallowsTheSecondRelease) {
  const CellPosition number = closedOneBesideASafeCell();
  leftClick(number);
  rightClick(safeNeighbours(number).front());  // the wrong cell

  firstRelease(number);
  EXPECT_TRUE(gameFlags.gameOver);
  EXPECT_FALSE(platform.timerRunning(kPlayTimer));
  EXPECT_FALSE(at(mineBeside(number)).isRevealed()) << "a chord opens no mine";
  EXPECT_TRUE(windowShows(mineBeside(number), IDB_BIG_MINE));

  secondRelease(number);
  if (GetParam() != Chord::ShiftLeft) {
    EXPECT_TRUE(gameFlags.gameOver) << "the held button's release must not restart";
    EXPECT_FALSE(platform.timerRunning(kPlayTimer));
  }
  leftClick(number);
  EXPECT_FALSE(gameFlags.gameOver) << "the release after it starts the next game";
  EXPECT_TRUE(platform.timerRunning(kPlayTimer));
}

TEST_P(ChordGesture, OverAClosedCellDoesNothing) {
  const CellPosition cell = closedNumbers()[0];
  firstRelease(cell);
  EXPECT_FALSE(at(cell).isRevealed());
  EXPECT_FALSE(at(cell).isFlagged());
  EXPECT_FALSE(gameFlags.ignoreNextRelease);

  // The other button's release then acts as usual.
  secondRelease(cell);
  EXPECT_EQ(at(cell).isFlagged(), GetParam() == Chord::LeftWithRightHeld);
  EXPECT_EQ(at(cell).isRevealed(), GetParam() == Chord::RightWithLeftHeld);
}

INSTANTIATE_TEST_SUITE_P(Gestures, ChordGesture,
                         ::testing::Values(Chord::LeftWithRightHeld, Chord::RightWithLeftHeld,
                                           Chord::ShiftLeft));

TEST_F(Play, OnlyExactlyTheOtherButtonMakesAChord) {
  const std::vector<CellPosition> targets = closedNumbers();
  leftClick(targets[0], keys::kRightButton | keys::kControl);
  EXPECT_TRUE(at(targets[0]).isRevealed()) << "an ordinary click with Control held";
  rightClick(targets[1], keys::kLeftButton | keys::kMiddleButton);
  EXPECT_TRUE(at(targets[1]).isFlagged());
  EXPECT_FALSE(gameFlags.ignoreNextRelease);
}

TEST_F(Play, MiddleButtonOpensAndChordsInOneGesture) {
  const CellPosition number = closedOneBesideASafeCell();
  rightClick(mineBeside(number));

  middleClick(number);
  EXPECT_TRUE(at(number).isRevealed());
  for (const CellPosition& n : safeNeighbours(number)) EXPECT_TRUE(at(n).isRevealed());
  EXPECT_FALSE(gameFlags.ignoreNextRelease) << "its own closing right release clears it";
  expectWindowShowsModel();
}

TEST_F(Play, MiddleButtonOverIncompleteFlagsOpensTheCellOnly) {
  const CellPosition number = closedOneBesideASafeCell();
  middleClick(number);
  EXPECT_TRUE(at(number).isRevealed());
  EXPECT_EQ(revealedCount(), 1);
  EXPECT_FALSE(gameFlags.ignoreNextRelease);
  EXPECT_TRUE(windowShows(number, IDB_BIG_OPEN1));
}

TEST_F(Play, AnyReleaseAfterALossStartsTheNextGameAtTheSameLevel) {
  for (const Button button : {Button::Left, Button::Right, Button::Middle}) {
    const CellPosition mine = anyMine();
    leftClick(mine);
    ASSERT_TRUE(gameFlags.gameOver);
    EXPECT_FALSE(platform.timerRunning(kPlayTimer));
    EXPECT_TRUE(windowShows(mine, IDB_BIG_EXPLODED));
    const std::vector<CellPosition> mines = cellsWhere([](const Cell& c) { return c.holdsMine(); });
    EXPECT_TRUE(windowShows(mines.back(), IDB_BIG_MINE));

    press({30, 30});
    release(button, {300, 200});
    EXPECT_FALSE(gameFlags.gameOver) << nameOf(button);
    EXPECT_TRUE(platform.timerRunning(kPlayTimer));
    EXPECT_EQ(std::make_pair(board.columns, board.rows), std::make_pair(uint16_t{10}, uint16_t{8}));
    EXPECT_EQ(revealedCount(), 0);
    paintIfDue();
    EXPECT_TRUE(windowShows(mine, IDB_BIG_COVERED)) << nameOf(button);
  }
  EXPECT_EQ(platform.dialogsShown().size(), 1u) << "a restart asks for no level";
}

TEST_F(Play, WinIsFoundAtTheNextTickAndLeavesTheGameFinished) {
  platform.clockMilliseconds = 1500;
  openSafeCells();
  EXPECT_TRUE(isGameWon());
  EXPECT_FALSE(gameFlags.gameOver) << "the click itself does not win";
  EXPECT_TRUE(platform.timerRunning(kPlayTimer));

  onTimerTick(kPlayTimer + 1);
  EXPECT_FALSE(gameFlags.gameOver) << "only the play timer's tick counts";

  answerWinDialogs();
  tickAt(2600);
  EXPECT_EQ(playClock.elapsedSeconds, 2);
  EXPECT_TRUE(gameFlags.gameOver);
  EXPECT_FALSE(platform.timerRunning(kPlayTimer));
  EXPECT_FALSE(gameFlags.firstGame);
  EXPECT_FALSE(gameFlags.ignoreNextRelease);
  EXPECT_FALSE(cellOrigins.present());
  // No final board after a win: the mines stay covered.
  for (const CellPosition& mine : cellsWhere([](const Cell& c) { return c.holdsMine(); })) {
    EXPECT_TRUE(windowShows(mine, IDB_BIG_COVERED));
  }

  leftClick(CellPosition{1, 1});
  EXPECT_FALSE(gameFlags.gameOver);
  EXPECT_EQ(revealedCount(), 0) << "a new board";
}

TEST_F(Play, FlaggedSafeCellKeepsTheGameFromBeingWon) {
  const CellPosition flagged = closedNumbers()[0];
  rightClick(flagged);
  openSafeCells();
  tickAt(1000);
  EXPECT_FALSE(gameFlags.gameOver);

  rightClick(flagged);  // to a question mark
  rightClick(flagged);  // to closed
  leftClick(flagged);
  answerWinDialogs();
  tickAt(1100);
  EXPECT_TRUE(gameFlags.gameOver);
  EXPECT_FALSE(platform.timerRunning(kPlayTimer));
}

TEST_F(Play, TicksAfterTheGameEndedChangeNothing) {
  // One safe cell left closed and a mine opened: as many closed cells as mines. The cell
  // left has no "0" beside it, so no flood reaches it.
  const std::vector<CellPosition> candidates = cellsWhere([](const Cell& c) {
    return !c.holdsMine() && c.content != '0';
  });
  const auto spared = std::find_if(candidates.begin(), candidates.end(), [&](CellPosition p) {
    const std::vector<CellPosition> around = neighbours(p);
    return std::none_of(around.begin(), around.end(),
                        [&](CellPosition n) { return at(n).content == '0'; });
  });
  ASSERT_NE(spared, candidates.end());
  openSafeCells(*spared);
  tickAt(3000);
  loseTheGame();
  ASSERT_TRUE(isGameWon());
  const std::vector<uint32_t> before = platform.windowPixels().pixels;

  tickAt(8000);
  EXPECT_EQ(playClock.elapsedSeconds, 3);
  EXPECT_EQ(platform.windowPixels().pixels, before);
}

// The counters are copied to the window only where a digit changes, both in one copy.
TEST_F(Play, ATickThatChangesNoDigitTouchesNothing) {
  tickAt(1500);
  const std::vector<uint32_t> window = platform.windowPixels().pixels;
  const std::vector<uint32_t> surface = platform.surfacePixels(*platform.offscreen()).pixels;
  const int taken = platform.windowContextsTaken();
  tickAt(1900);
  EXPECT_EQ(platform.windowContextsTaken(), taken);
  EXPECT_EQ(platform.windowPixels().pixels, window);
  EXPECT_EQ(platform.surfacePixels(*platform.offscreen()).pixels, surface);

  rightClick(cellsWhere([](const Cell& c) { return !c.isRevealed(); }).front());
  const int afterTheFlag = platform.windowContextsTaken();
  tickAt(2100);
  EXPECT_EQ(platform.windowContextsTaken() - afterTheFlag, 1) << "seconds and flags left change";
}

TEST_F(Play, ElapsedSecondsRunFromTheGameStartAndStopAt9999) {
  platform.clockMilliseconds = 7000;
  loseTheGame();
  leftClick(CellPosition{1, 1});
  ASSERT_EQ(playClock.startClock, 7000);

  const struct {
    int32_t now, seconds;
  } cases[] = {{7999, 0}, {8000, 1}, {66999, 59}, {7000 + 9999999, 9999}, {7000 + 10000000, 9999},
               {7000 + 50000000, 9999}};
  for (const auto& c : cases) {
    tickAt(c.now);
    EXPECT_EQ(playClock.elapsedSeconds, c.seconds) << c.now;
  }
  // 10000 would show as 0000, whose middle segments are dark.
  for (int place = 0; place < 4; ++place) EXPECT_TRUE(elapsedMiddleSegmentLit(place)) << place;
}

}  // namespace
