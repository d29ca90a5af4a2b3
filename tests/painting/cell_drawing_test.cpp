#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <iterator>
#include <random>
#include <utility>
#include <vector>

#include "engine/engine_state.h"
#include "painting_program.h"
#include "resources/resource_ids.h"
#include "view/board_painting.h"
#include "view/painting_mode.h"
#include "view/tile_images.h"
#include "view/view_state.h"

namespace {

struct Picture {
  TileImage image;
  int big;
  int small;
};

// Every picture but the mask with its bitmap ids in the big and the small set, written out as
// numbers: the reference that the program's own table, made from the resource table, is
// checked against.
const Picture kPictures[] = {
    {TileImage::Covered, 102, 149},  {TileImage::Question, 110, 152},
    {TileImage::Flag, 111, 147},     {TileImage::Open0, 103, 145},
    {TileImage::Open1, 104, 139},    {TileImage::Open2, 105, 140},
    {TileImage::Open3, 106, 141},    {TileImage::Open4, 107, 142},
    {TileImage::Open5, 108, 143},    {TileImage::Open6, 109, 144},
    {TileImage::Mine, 112, 148},     {TileImage::WrongFlag, 127, 150},
    {TileImage::Exploded, 128, 146},
};
const Picture kMask{TileImage::Mask, 101, 151};

int idOf(TileImage image, bool small) {
  for (const Picture& p : kPictures) {
    if (p.image == image) return small ? p.small : p.big;
  }
  return 0;
}

class CellDrawing : public PaintingProgram {
 protected:
  void draw(int column, int row, TileImage image) {
    const DrawContext window = platform.windowContext();
    drawCell(column, row, image, window);
    platform.releaseWindowContext(window);
  }

  // Draws and checks that the cell's tile alone changed, the same way on both destinations.
  void expectDrawnAlone(int column, int row, TileImage image, PixelPoint origin, bool small) {
    const RgbImage surfaceBefore = surface();
    const RgbImage windowBefore = window();
    draw(column, row, image);
    EXPECT_TRUE(drawnAlone(surfaceBefore, surface(), origin, idOf(image, small), small));
    EXPECT_TRUE(drawnAlone(windowBefore, window(), origin, idOf(image, small), small));
  }
};

TEST(TileBitmaps, EveryPictureHasTheBitmapOfEachSet) {
  std::vector<Picture> all(std::begin(kPictures), std::end(kPictures));
  all.push_back(kMask);
  for (const Picture& picture : all) {
    SCOPED_TRACE(picture.big);
    EXPECT_EQ(bitmapIdOf(picture.image, false), picture.big);
    EXPECT_EQ(bitmapIdOf(picture.image, true), picture.small);
  }
}

TEST_F(CellDrawing, EveryPictureOfBothSetsLandsMaskedIntoItsHexagon) {
  struct Set {
    bool small;
    PixelPoint originOf2x3;
  };
  for (const Set& set : {Set{false, {20, 49}}, Set{true, {10, 25}}}) {
    startBoard(4, 4, set.small);
    for (const Picture& picture : kPictures) {
      SCOPED_TRACE(testing::Message() << (set.small ? "small " : "big ") << picture.big);
      expectDrawnAlone(2, 3, picture.image, set.originOf2x3, set.small);
    }
  }
}

TEST_F(CellDrawing, PlacesEachTileAtItsCellsOrigin) {
  struct Case {
    bool small;
    int column;
    int row;
    PixelPoint origin;
  };
  const Case cases[] = {
      {false, 1, 1, {1, 13}},   {false, 2, 1, {20, 1}}, {false, 6, 5, {96, 97}},
      {false, 5, 5, {77, 109}}, {true, 1, 1, {1, 7}},   {true, 2, 1, {10, 1}},
      {true, 6, 5, {46, 49}},   {true, 5, 5, {37, 55}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.small ? "small " : "big ") << c.column << "," << c.row);
    startBoard(6, 5, c.small);
    expectDrawnAlone(c.column, c.row, TileImage::Flag, c.origin, c.small);
  }
}

TEST_F(CellDrawing, AnyOrderOfDrawingGivesTheSamePicture) {
  for (bool small : {false, true}) {
    SCOPED_TRACE(small ? "small" : "big");
    startBoard(5, 4, small);
    std::vector<std::pair<int, int>> cells;
    for (int c = 1; c <= 5; ++c) {
      for (int r = 1; r <= 4; ++r) cells.push_back({c, r});
    }
    const auto pictureOf = [](int c, int r) { return kPictures[(c * 5 + r) % 13].image; };
    std::vector<std::pair<int, int>> reversed(cells.rbegin(), cells.rend());
    std::vector<std::pair<int, int>> shuffled = cells;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(7));

    std::vector<std::pair<RgbImage, RgbImage>> results;
    for (const auto* order : {&cells, &reversed, &shuffled}) {
      gameFlags.gameOver = true;
      paintFreshBoard();
      for (const auto& [c, r] : *order) draw(c, r, pictureOf(c, r));
      results.push_back({surface(), window()});
    }
    for (size_t i = 1; i < results.size(); ++i) {
      EXPECT_TRUE(samePixels(results[0].first, results[i].first)) << "order " << i;
      EXPECT_TRUE(samePixels(results[0].second, results[i].second)) << "order " << i;
    }
  }
}

TEST_F(CellDrawing, CellsOutsideTheBoardDrawNothing) {
  startBoard(6, 5);
  const RgbImage surfaceBefore = surface();
  const RgbImage windowBefore = window();
  const std::pair<int, int> outside[] = {
      {0, 1}, {7, 1}, {1, 0}, {1, 6}, {0, 0}, {7, 6}, {-1, 2}, {2, -1}, {INT_MIN, 1}, {1, INT_MAX},
  };
  for (const auto& [c, r] : outside) {
    draw(c, r, TileImage::Exploded);
    drawCellOffscreen(c, r, TileImage::Exploded);
  }
  EXPECT_TRUE(samePixels(surfaceBefore, surface()));
  EXPECT_TRUE(samePixels(windowBefore, window()));
}

TEST_F(CellDrawing, NothingIsDrawnWhileThePositionTableIsAbsent) {
  startBoard(6, 5);
  cellOrigins.release();
  const RgbImage surfaceBefore = surface();
  const RgbImage windowBefore = window();
  draw(1, 1, TileImage::Mine);
  drawCellOffscreen(2, 2, TileImage::Mine);
  drawCellUpdate(3, 3, board.cell(3, 3), CellChange::Opened);
  EXPECT_TRUE(samePixels(surfaceBefore, surface()));
  EXPECT_TRUE(samePixels(windowBefore, window()));
  EXPECT_FALSE(cellOrigins.present());
}

// In play the stored place is used as it is; only a drawing while no game is in play
// (the fresh and the final board) stores it from the placement rule.
TEST_F(CellDrawing, StoresTheCellsPlaceOnlyWhileNoGameIsInPlay) {
  startBoard(6, 5);
  const PixelPoint elsewhere{40, 40};
  cellOrigins.store(1, 1, elsewhere);
  expectDrawnAlone(1, 1, TileImage::Flag, elsewhere, false);

  gameFlags.gameOver = true;
  expectDrawnAlone(1, 1, TileImage::Question, {1, 13}, false);
  EXPECT_EQ(cellOrigins.entry(1, 1), (PixelPoint{1, 13}));
}

TEST_F(CellDrawing, OffscreenDrawingLeavesTheWindowAlone) {
  startBoard(6, 5);
  const RgbImage surfaceBefore = surface();
  const RgbImage windowBefore = window();
  drawCellOffscreen(2, 1, TileImage::Open3);
  EXPECT_TRUE(drawnAlone(surfaceBefore, surface(), {20, 1}, IDB_BIG_OPEN3, false));
  EXPECT_TRUE(samePixels(windowBefore, window()));
}

// Literally every change the engine makes shows at once, on the surface and on the window
// alike, and touches no other tile; incrementally the same holds once the release that made
// the change has repainted, and the release takes one window context in all.
TEST_F(CellDrawing, EachPlayerActionRedrawsExactlyItsTileOnBothDestinations) {
  for (const PaintingMode mode : {PaintingMode::Literal, PaintingMode::Incremental}) {
    SCOPED_TRACE(mode == PaintingMode::Literal ? "literal" : "incremental");
    usePaintingMode(mode);
    startBoard(8, 8);
    const std::optional<CellPosition> number =
        findCell([](const Cell& cell) { return cell.content >= '1' && cell.content <= '6'; });
    ASSERT_TRUE(number.has_value());
    const Cell& cell = board.cell(number->column, number->row);
    const PixelPoint origin = *cellOrigins.entry(number->column, number->row);
    const int openedId = IDB_BIG_OPEN0 + (cell.content - '0');

    struct Step {
      const char* name;
      char action;
      int pictureId;
    };
    const Step steps[] = {
        {"flag", 'm', IDB_BIG_FLAG},
        {"unflag", 'm', IDB_BIG_COVERED},
        {"question", '?', IDB_BIG_QUESTION},
        {"unquestion", '?', IDB_BIG_COVERED},
        {"open", 'c', openedId},
    };
    for (const Step& step : steps) {
      SCOPED_TRACE(step.name);
      const RgbImage surfaceBefore = surface();
      const RgbImage windowBefore = window();
      board.action = step.action;
      board.actionColumn = static_cast<uint16_t>(number->column);
      board.actionRow = static_cast<uint16_t>(number->row);
      const int taken = platform.windowContextsTaken();
      board.apply();
      if (mode == PaintingMode::Incremental) {
        repaintAllCells();
        EXPECT_EQ(platform.windowContextsTaken() - taken, 1);
      }
      EXPECT_TRUE(drawnAlone(surfaceBefore, surface(), origin, step.pictureId, false));
      EXPECT_TRUE(drawnAlone(windowBefore, window(), origin, step.pictureId, false));
      EXPECT_EQ(platform.windowContextsHeld(), 0);
    }
  }
}

}  // namespace
