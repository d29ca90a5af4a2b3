#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/engine_state.h"
#include "engine/player_actions.h"
#include "recording_view.h"

namespace {

class PlayerActions : public ::testing::Test {
 protected:
  void SetUp() override {
    buildWorkedExample();
    gameFlags.gameOver = false;
    gameFlags.ignoreNextRelease = true;
  }

  void act(char code, int column, int row) {
    board.action = code;
    board.actionColumn = static_cast<uint16_t>(column);
    board.actionRow = static_cast<uint16_t>(row);
    board.apply();
  }

  RecordingView view;
};

using Events = std::vector<std::string>;

}  // namespace

TEST_F(PlayerActions, OpeningAMarkedCellDoesNothing) {
  act('m', 5, 1);
  act('?', 6, 1);
  view.clear();
  act('c', 5, 1);
  act('c', 6, 1);
  EXPECT_TRUE(view.events.empty());
  EXPECT_FALSE(board.cell(5, 1).isRevealed());
  EXPECT_FALSE(board.cell(6, 1).isRevealed());
}

TEST_F(PlayerActions, OpeningAMineDrawsItThenEndsTheGame) {
  act('c', 6, 2);
  EXPECT_EQ(view.events, (Events{"draw 6,2 Opened", "stop timer", "final", "release origins"}));
  EXPECT_TRUE(board.cell(6, 2).isRevealed());
  EXPECT_TRUE(gameFlags.gameOver);
  EXPECT_FALSE(gameFlags.ignoreNextRelease);
}

TEST_F(PlayerActions, OpeningANumberOpensOnlyIt) {
  act('c', 5, 1);
  EXPECT_EQ(view.events, (Events{"draw 5,1 Opened"}));
}

TEST_F(PlayerActions, FlagCountsDownWithoutALowerBound) {
  for (int c = 1; c <= 7; ++c) act('m', c, 3);
  EXPECT_EQ(board.flagsLeft, -1);
  act('m', 1, 3);
  EXPECT_EQ(board.flagsLeft, 0);
  EXPECT_FALSE(board.cell(1, 3).isFlagged());
}

TEST_F(PlayerActions, FlagOnAQuestionMarkReplacesItInOneStep) {
  act('?', 5, 1);
  view.clear();
  act('m', 5, 1);
  EXPECT_EQ(view.events, (Events{"draw 5,1 QuestionToggled", "draw 5,1 FlagToggled"}));
  EXPECT_TRUE(board.cell(5, 1).isFlagged());
  EXPECT_FALSE(board.cell(5, 1).isQuestioned());
  EXPECT_EQ(board.flagsLeft, 5);
}

TEST_F(PlayerActions, FlagOnAnOpenedNumberDoesNothing) {
  act('c', 5, 1);
  view.clear();
  act('m', 5, 1);
  EXPECT_TRUE(view.events.empty());
  EXPECT_EQ(board.flagsLeft, 6);
}

TEST_F(PlayerActions, AnyOtherCodeTogglesTheQuestionMark) {
  act('?', 5, 1);
  EXPECT_TRUE(board.cell(5, 1).isQuestioned());
  act('x', 5, 1);
  EXPECT_FALSE(board.cell(5, 1).isQuestioned());
  EXPECT_EQ(view.events, (Events{"draw 5,1 QuestionToggled", "draw 5,1 QuestionToggled"}));
}

// (7, 1) reads 2; its neighbours are (6,1) (8,1) (7,2) and the mines (6,2) (8,2).
TEST_F(PlayerActions, ChordWithCompleteFlagsOpensTheOtherNeighbours) {
  act('c', 7, 1);
  act('m', 6, 2);
  act('m', 8, 2);
  view.clear();
  chordAt(7, 1);
  EXPECT_EQ(view.events, (Events{"draw 6,1 Opened", "draw 8,1 Opened", "draw 7,2 Opened", "copy"}));
}

TEST_F(PlayerActions, ChordWithTooFewOrTooManyFlagsOnlyCopiesThePicture) {
  act('c', 7, 1);
  act('m', 6, 2);
  view.clear();
  chordAt(7, 1);
  EXPECT_EQ(view.events, (Events{"copy"}));
  act('m', 8, 2);
  act('m', 6, 1);
  view.clear();
  chordAt(7, 1);
  EXPECT_EQ(view.events, (Events{"copy"}));
}

TEST_F(PlayerActions, ChordWithAWrongFlagStopsAtTheFirstUnflaggedMine) {
  act('c', 7, 1);
  act('m', 6, 1);  // wrong: (6,1) holds no mine
  act('m', 7, 2);  // wrong as well; (6,2) and (8,2) stay unflagged
  view.clear();
  chordAt(7, 1);
  // Listing order: (6,1) (8,1) (7,0) (7,2) (8,2) (6,2); (8,1) opens, (8,2) ends the game.
  EXPECT_EQ(view.events, (Events{"draw 8,1 Opened", "stop timer", "final", "release origins"}));
  EXPECT_FALSE(board.cell(8, 2).isRevealed());
  EXPECT_TRUE(gameFlags.gameOver);
}

TEST_F(PlayerActions, ChordOnAnOpenedZeroOpensClosedNeighbours) {
  board.cell(1, 1).revealed = 1;
  chordAt(1, 1);
  EXPECT_TRUE(board.cell(2, 1).isRevealed());
  EXPECT_TRUE(board.cell(1, 2).isRevealed());
  EXPECT_EQ(view.events.back(), "copy");
}

TEST_F(PlayerActions, EndGameLostStopsTheTimerBeforePaintingAndReleasesTheTable) {
  endGameLost();
  EXPECT_EQ(view.events, (Events{"stop timer", "final", "release origins"}));
  EXPECT_TRUE(gameFlags.gameOver);
  EXPECT_FALSE(gameFlags.ignoreNextRelease);
}
