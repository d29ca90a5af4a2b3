#include <gtest/gtest.h>

#include "view/tile_images.h"

namespace {

struct CellState {
  bool flagged;
  bool revealed;
  char content;
  bool questioned;
};

Cell cellOf(const CellState& state) {
  Cell cell;
  cell.flagged = state.flagged;
  cell.revealed = state.revealed;
  cell.content = state.content;
  cell.questioned = state.questioned;
  return cell;
}

std::string describe(const CellState& s) {
  return std::string(s.flagged ? "flagged " : "") + (s.revealed ? "revealed " : "") +
         (s.questioned ? "questioned " : "") + "'" + s.content + "'";
}

TileImage opened(int number) {
  return static_cast<TileImage>(static_cast<int>(TileImage::Open0) + number);
}

TEST(PictureAfterChange, FollowsTheCellsStateAfterTheChange) {
  struct Case {
    CellChange change;
    CellState cell;
    TileImage picture;
  };
  const Case cases[] = {
      {CellChange::FlagToggled, {true, false, '3', false}, TileImage::Flag},
      {CellChange::FlagToggled, {false, false, '9', false}, TileImage::Covered},
      // A flag toggled off never shows a question mark, whatever the field holds.
      {CellChange::FlagToggled, {false, false, '3', true}, TileImage::Covered},
      {CellChange::QuestionToggled, {false, false, '9', true}, TileImage::Question},
      {CellChange::QuestionToggled, {false, false, '2', false}, TileImage::Covered},
      {CellChange::QuestionToggled, {true, false, '2', false}, TileImage::Covered},
      {CellChange::Opened, {false, true, '9', false}, TileImage::Mine},
      // An opened question-marked cell shows what it holds.
      {CellChange::Opened, {false, true, '4', true}, TileImage::Open4},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(pictureAfterChange(cellOf(c.cell), c.change), c.picture) << describe(c.cell);
  }
  for (int n = 0; n <= 6; ++n) {
    const CellState state{false, true, static_cast<char>('0' + n), false};
    EXPECT_EQ(pictureAfterChange(cellOf(state), CellChange::Opened), opened(n)) << n;
  }
}

TEST(PictureFromModel, FlagThenQuestionThenOpenedNumberElseCovered) {
  struct Case {
    CellState cell;
    TileImage picture;
  };
  const Case cases[] = {
      {{false, false, '0', false}, TileImage::Covered},
      {{false, false, '9', false}, TileImage::Covered},
      {{true, false, '9', false}, TileImage::Flag},
      {{false, false, '1', true}, TileImage::Question},
      // The flood fill opens question-marked cells and leaves the mark.
      {{false, true, '2', true}, TileImage::Question},
      {{false, true, '5', false}, TileImage::Open5},
      // An opened mine exists only after a loss; from the model it shows covered.
      {{false, true, '9', false}, TileImage::Covered},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(pictureFromModel(cellOf(c.cell)), c.picture) << describe(c.cell);
  }
  for (int n = 0; n <= 6; ++n) {
    const CellState state{false, true, static_cast<char>('0' + n), false};
    EXPECT_EQ(pictureFromModel(cellOf(state)), opened(n)) << n;
  }
}

TEST(PictureOnFinalBoard, ShowsTheMinesAndJudgesTheFlagsButNotTheQuestionMarks) {
  struct Case {
    CellState cell;
    TileImage picture;
  };
  const Case cases[] = {
      {{true, false, '9', false}, TileImage::Flag},
      {{true, false, '0', false}, TileImage::WrongFlag},
      {{true, false, '6', false}, TileImage::WrongFlag},
      {{false, true, '9', false}, TileImage::Exploded},
      {{false, true, '3', false}, TileImage::Open3},
      {{false, true, '0', true}, TileImage::Open0},
      {{false, false, '9', false}, TileImage::Mine},
      {{false, false, '9', true}, TileImage::Mine},
      {{false, false, '2', true}, TileImage::Covered},
      {{false, false, '0', false}, TileImage::Covered},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(pictureOnFinalBoard(cellOf(c.cell)), c.picture) << describe(c.cell);
  }
}

}  // namespace
