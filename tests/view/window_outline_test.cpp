#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

#include "hexagon_outline.h"
#include "view/window_outline.h"

namespace {

// A frame of 4 pixels at the sides and the bottom and 42 at the top, and a 19-pixel caption.
constexpr int32_t kClientTop = 42;
constexpr int32_t kCaptionExtra = 0;

struct OutlineCase {
  const char* name;
  const TileMetrics* metrics;
  int32_t columns;
  int32_t rows;
  int32_t windowWidth;
  std::vector<PixelPoint> points;
};

const OutlineCase kOutlineCases[] = {
    {"big tiles, 6 x 5",
     &kBigTileMetrics,
     6,
     5,
     127,
     {{4, 4},     {4, 42},    {4, 42},    {9, 54},    {4, 66},    {9, 78},    {4, 90},
      {9, 102},   {4, 114},   {9, 126},   {4, 138},   {9, 150},   {4, 174},   {4, 210},
      {86, 210},  {86, 174},  {42, 174},  {42, 210},  {123, 210}, {123, 174}, {123, 174},
      {118, 162}, {123, 150}, {118, 138}, {123, 126}, {118, 114}, {123, 102}, {118, 90},
      {123, 78},  {118, 66},  {123, 54},  {123, 67},  {123, 4}}},
    // The last column is odd, so the right side starts half a tile higher.
    {"big tiles, 5 x 5",
     &kBigTileMetrics,
     5,
     5,
     108,
     {{4, 4},    {4, 42},    {4, 42},   {9, 54},    {4, 66},    {9, 78},    {4, 90},
      {9, 102},  {4, 114},   {9, 126},  {4, 138},   {9, 150},   {4, 174},   {4, 210},
      {86, 210}, {86, 174},  {23, 174}, {23, 210},  {104, 210}, {104, 174}, {104, 162},
      {99, 150}, {104, 138}, {99, 126}, {104, 114}, {99, 102},  {104, 90},  {99, 78},
      {104, 66}, {99, 54},   {104, 42}, {104, 67},  {104, 4}}},
    // The feet overlap and reach past the window's left side. The right side starts on the
    // field's lowest line, as with big tiles, and follows the small tiles' zig-zag up.
    {"small tiles, 6 x 5",
     &kSmallTileMetrics,
     6,
     5,
     65,
     {{4, 4},    {4, 42},   {4, 42},    {7, 48},    {4, 54},   {7, 60},   {4, 66},
      {7, 72},   {4, 78},   {7, 84},    {4, 90},    {7, 96},   {4, 108},  {4, 144},
      {86, 144}, {86, 108}, {-20, 108}, {-20, 144}, {61, 144}, {61, 108}, {61, 108},
      {58, 102}, {61, 96},  {58, 90},   {61, 84},   {58, 78},  {61, 72},  {58, 66},
      {61, 60},  {58, 54},  {61, 48},   {61, 67},   {61, 4}}},
    // A window widened for the two counter panels: the feet meet below the field and the
    // right side runs down the window's right edge.
    {"small tiles, 5 x 5, 164 pixels wide",
     &kSmallTileMetrics,
     5,
     5,
     172,
     {{4, 4},     {4, 42},    {4, 42},    {7, 48},    {4, 54},    {7, 60},    {4, 66},
      {7, 72},    {4, 78},    {7, 84},    {4, 90},    {7, 96},    {4, 108},   {4, 144},
      {86, 144},  {86, 108},  {87, 108},  {87, 144},  {168, 144}, {168, 108}, {168, 102},
      {165, 96},  {168, 90},  {165, 84},  {168, 78},  {165, 72},  {168, 66},  {165, 60},
      {168, 54},  {165, 48},  {168, 42},  {168, 67},  {168, 4}}},
};

TEST(WindowOutline, MatchesTheWorkedBoardsPointForPoint) {
  for (const OutlineCase& c : kOutlineCases) {
    SCOPED_TRACE(c.name);
    const WindowOutline outline =
        windowOutline(*c.metrics, c.columns, c.rows, kClientTop, kCaptionExtra, c.windowWidth);
    ASSERT_EQ(outline.size(), c.points.size());
    for (size_t i = 0; i < outline.size(); ++i) {
      EXPECT_EQ(outline[i], c.points[i]) << "point " << i;
    }
  }
}

// On a board near the row limit the points still come four to a row, and the ends of both
// sides sit where the frame, the caption and the bottom line put them.
TEST(WindowOutline, LargeBoardsKeepTheShape) {
  struct LargeCase {
    const TileMetrics* metrics;
    int32_t columns;
    int32_t rows;
  };
  const LargeCase cases[] = {
      {&kBigTileMetrics, 60, 45}, {&kSmallTileMetrics, 131, 95}, {&kSmallTileMetrics, 130, 95}};
  constexpr int32_t kClientTopLarge = 50;
  constexpr int32_t kCaptionExtraLarge = 4;
  constexpr int32_t kWidth = 1200;
  for (const LargeCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.columns << " x " << c.rows);
    const int32_t h = c.metrics->tileHeight;
    const int32_t rows = c.rows;
    const WindowOutline outline =
        windowOutline(*c.metrics, c.columns, rows, kClientTopLarge, kCaptionExtraLarge, kWidth);
    ASSERT_EQ(outline.size(), static_cast<size_t>(4 * rows + 13));

    const size_t leftEnd = 2 * rows + 1;  // index of the last left-side point
    EXPECT_EQ(outline[leftEnd],
              (PixelPoint{4 + c.metrics->slantWidth, kClientTopLarge + (2 * rows - 1) * h / 2}));
    const int32_t bottom = kClientTopLarge + (2 * rows + 1) * h / 2;
    EXPECT_EQ(outline[leftEnd + 1], (PixelPoint{4, bottom}));
    EXPECT_EQ(outline[leftEnd + 8], (PixelPoint{kWidth - 4, bottom}));

    const int32_t shift = c.columns % 2 != 0 ? h / 2 : 0;
    const size_t rightStart = leftEnd + 9;
    const int32_t firstRowBottom = kCaptionExtraLarge + 42 + h;
    EXPECT_EQ(outline[rightStart],
              (PixelPoint{kWidth - 4, firstRowBottom + (2 * rows - 1) * h / 2 - shift}));
    EXPECT_EQ(outline[rightStart + 2 * rows],
              (PixelPoint{kWidth - 4, firstRowBottom - h / 2 - shift}));
    EXPECT_EQ(outline[outline.size() - 2], (PixelPoint{kWidth - 4, kCaptionExtraLarge + 67}));
    EXPECT_EQ(outline.back(), (PixelPoint{kWidth - 4, 4}));
  }
}

// With the client area where a caption of its height puts it, the right side's zig-zag starts
// on the field's lowest line (an odd last column's half a tile above it) and touches the
// bottom line nowhere below it, so it cuts no notch into the flags-left foot.
TEST(WindowOutline, RightSideStartsOnTheFieldsLowestLine) {
  for (const TileMetrics* metrics : {&kBigTileMetrics, &kSmallTileMetrics}) {
    for (const int32_t captionExtra : {0, 4}) {
      for (const int32_t columns : {8, 9}) {
        const int32_t rows = 7;
        const int32_t h = metrics->tileHeight;
        SCOPED_TRACE(testing::Message() << h << " px tiles, caption + " << captionExtra << ", "
                                        << columns << " columns");
        const int32_t clientTop = 42 + captionExtra;
        const int32_t width = 300;
        const WindowOutline outline =
            windowOutline(*metrics, columns, rows, clientTop, captionExtra, width);
        const int32_t bottom = clientTop + (2 * rows + 1) * h / 2;
        const size_t rightStart = 2 * rows + 10;
        const int32_t shift = columns % 2 != 0 ? h / 2 : 0;
        EXPECT_EQ(outline[rightStart], (PixelPoint{width - 4, bottom - shift}));
        // The corner of the first row: an even column's lower one a tile below the client
        // top, an odd column's upper one half a tile below it.
        EXPECT_EQ(outline[rightStart + 2 * rows - 1].y, clientTop + h - shift);
        for (size_t i = rightStart; i < rightStart + 2 * rows + 1; ++i) {
          EXPECT_LE(outline[i].y, bottom) << "point " << i;
        }
      }
    }
  }
}

}  // namespace
