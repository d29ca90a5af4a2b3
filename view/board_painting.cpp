#include "view/board_painting.h"

#include <array>
#include <cstddef>
#include <optional>

#include "engine/board.h"
#include "engine/game_flags.h"
#include "resources/resource_ids.h"
#include "view/game_start.h"
#include "view/tile_images.h"
#include "view/tile_metrics.h"

namespace {

constexpr int32_t kPanelWidth = 82;
constexpr int32_t kPanelHeight = 36;
constexpr int32_t kSegmentLong = 12;
constexpr int32_t kSegmentShort = 3;
constexpr int32_t kDigitPitch = 20;
// A panel's leftmost digit origin, from its left edge.
constexpr int32_t kFirstDigitX = 2;

std::optional<DrawContext> surface;

struct Segment {
  int32_t dx;
  int32_t dy;
  bool horizontal;
};

// Drawn in this order: top, middle, bottom, upper left, lower left, upper right, lower right.
constexpr std::array<Segment, 7> kSegments = {{
    {3, 0, true},
    {3, 15, true},
    {3, 30, true},
    {0, 3, false},
    {0, 18, false},
    {15, 3, false},
    {15, 18, false},
}};

// Per digit, '1' for each lit segment in the order of kSegments.
constexpr const char* kLitSegments[10] = {
    "1011111", "0000011", "1110110", "1110011", "0101011",
    "1111001", "1111101", "1000011", "1111111", "1111011",
};

struct Digits {
  int place[4];  // units, tens, hundreds, thousands
};

Digits digitsOf(uint32_t magnitude) {
  Digits digits{};
  for (int& place : digits.place) {
    place = static_cast<int>(magnitude % 10u);
    magnitude /= 10u;
  }
  return digits;
}

uint32_t magnitudeOf(int32_t n) {
  return n < 0 ? 0u - static_cast<uint32_t>(n) : static_cast<uint32_t>(n);
}

// A plain copy to the window context, then the same to the surface.
void copyToBoth(DrawContext window, int32_t x, int32_t y, int32_t width, int32_t height,
                int bitmapId) {
  Services& platform = services();
  const DrawContext source = imageContext(bitmapId);
  platform.bitBlt(window, x, y, width, height, source, 0, 0, RasterOp::SrcCopy);
  if (surface) platform.bitBlt(*surface, x, y, width, height, source, 0, 0, RasterOp::SrcCopy);
}

void copyPanel(DrawContext window, int32_t x, int32_t y) {
  copyToBoth(window, x, y, kPanelWidth, kPanelHeight, IDB_COUNTER_PANEL);
}

// The units digit always, the higher places only as far as n reaches them.
void drawNumber(const Digits& digits, int32_t n, int32_t unitsX, int32_t y, DrawContext window) {
  drawSegmentDigit(digits.place[0], unitsX, y, window);
  if (n > 9) drawSegmentDigit(digits.place[1], unitsX - kDigitPitch, y, window);
  if (n > 99) drawSegmentDigit(digits.place[2], unitsX - 2 * kDigitPitch, y, window);
  if (n > 999) drawSegmentDigit(digits.place[3], unitsX - 3 * kDigitPitch, y, window);
}

// Both panels' top edge: on the field's lowest line, inside the window's two feet.
int32_t counterPanelTop(int32_t clientHeight) {
  const int32_t h = tileMetrics.tileHeight;
  return clientHeight - (h + h / 2) - kPanelHeight;
}

}  // namespace

void createOffscreenSurface() {
  if (!surface) surface = services().createOffscreenSurface(kOffscreenWidth, kOffscreenHeight);
}

DrawContext offscreenSurface() { return surface.value_or(0); }

bool offscreenSurfaceExists() { return surface.has_value(); }

void forgetOffscreenSurface() { surface.reset(); }

void paintFreshBoard() {
  Services& platform = services();
  const DrawContext window = platform.windowContext();
  const Rect client = platform.clientRect();
  const Rect background{0, 0, client.width(), client.height()};
  // After a later game start the resize's paint request copies the surface to the window.
  if (gameFlags.firstGame) platform.drawRectangle(window, background, kBackgroundColour);
  if (surface) platform.drawRectangle(*surface, background, kBackgroundColour);

  // At a game start gameOver is still set, so this stores every cell's place.
  for (int c = 1; c <= board.columns; ++c) {
    for (int r = 1; r <= board.rows; ++r) drawCell(c, r, TileImage::Covered, window);
  }

  const int32_t top = counterPanelTop(client.height());
  copyPanel(window, 0, top);
  copyPanel(window, client.width() - kPanelWidth, top);
  gameFlags.gameOver = false;
  platform.releaseWindowContext(window);
}

void paintFinalBoard() {
  Services& platform = services();
  const DrawContext window = platform.windowContext();
  for (int c = 1; c <= board.columns; ++c) {
    for (int r = 1; r <= board.rows; ++r) {
      drawCell(c, r, pictureOnFinalBoard(board.cell(c, r)), window);
    }
  }
  platform.releaseWindowContext(window);
}

void repaintAllCells() {
  Services& platform = services();
  const DrawContext window = platform.windowContext();
  for (int c = 1; c <= board.columns; ++c) {
    for (int r = 1; r <= board.rows; ++r) {
      drawCellOffscreen(c, r, pictureFromModel(board.cell(c, r)));
    }
  }
  copyOffscreenToWindow(window);
  platform.releaseWindowContext(window);
}

void copyOffscreenToWindow(DrawContext target) {
  if (!surface) return;
  services().bitBlt(target, 0, 0, windowFit.windowWidth, windowFit.windowHeight, *surface, 0, 0,
                    RasterOp::SrcCopy);
}

void drawSegmentDigit(int digit, int32_t x, int32_t y, DrawContext window) {
  const char* lit = kLitSegments[digit];
  for (size_t i = 0; i < kSegments.size(); ++i) {
    const Segment& segment = kSegments[i];
    const bool on = lit[i] == '1';
    const int id = segment.horizontal ? (on ? IDB_SEGMENT_H_LIT : IDB_SEGMENT_H_UNLIT)
                                      : (on ? IDB_SEGMENT_V_LIT : IDB_SEGMENT_V_UNLIT);
    const int32_t width = segment.horizontal ? kSegmentLong : kSegmentShort;
    const int32_t height = segment.horizontal ? kSegmentShort : kSegmentLong;
    copyToBoth(window, x + segment.dx, y + segment.dy, width, height, id);
  }
}

void showElapsedSeconds(int32_t seconds) {
  Services& platform = services();
  const Rect client = platform.clientRect();
  const Digits digits = digitsOf(magnitudeOf(seconds));
  const DrawContext window = platform.windowContext();
  const int32_t top = counterPanelTop(client.height());
  drawNumber(digits, seconds, kFirstDigitX + 3 * kDigitPitch, top, window);
  platform.releaseWindowContext(window);
}

void showFlagsLeft(int32_t flagsLeft) {
  Services& platform = services();
  const bool negative = flagsLeft < 0;
  const Rect client = platform.clientRect();
  const Digits digits = digitsOf(magnitudeOf(flagsLeft));
  const DrawContext window = platform.windowContext();
  const int32_t top = counterPanelTop(client.height());
  const int32_t panelX = client.width() - kPanelWidth;
  // Blanks all four places, so a shorter number leaves nothing of a longer one.
  copyPanel(window, panelX, top);
  const int32_t unitsX = panelX + kFirstDigitX + 3 * kDigitPitch;
  // The places test the signed count, so a negative one shows its units only.
  drawNumber(digits, flagsLeft, unitsX, top, window);
  if (negative) {
    // The minus sign is the tens place's middle segment, lit.
    const Segment& middle = kSegments[1];
    copyToBoth(window, unitsX - kDigitPitch + middle.dx, top + middle.dy, kSegmentLong,
               kSegmentShort, IDB_SEGMENT_H_LIT);
  }
  platform.releaseWindowContext(window);
}
