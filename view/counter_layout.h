#pragma once

#include <array>
#include <cstdint>

#include "shell/services.h"
#include "view/counter_panel.h"

// The two seven-segment counters below the field: their places, the segments of a digit,
// and the drawing of a digit and of the whole flags-left counter onto a paint target.

// Both panels' top edge lies on the field's lowest line, inside the window's two feet: the
// elapsed seconds at the client area's left edge, the flags left at its right edge.
struct CounterPlacement {
  int32_t top = 0;
  int32_t rightPanelX = 0;
};

constexpr bool operator==(const CounterPlacement& a, const CounterPlacement& b) {
  return a.top == b.top && a.rightPanelX == b.rightPanelX;
}

// For a client area of that size with the current tile set.
CounterPlacement counterPlacement(const Rect& client);

// One digit place of a counter: 0 the units up to 3 the thousands.
struct DigitPlace {
  int place;
  int digit;
  int32_t x;  // the digit's origin
};

// The places a count draws: the units always, a higher place only when the count reaches
// it. The test is on the signed count, so a negative one draws its units only.
struct DrawnPlaces {
  std::array<DigitPlace, 4> places;
  int count;
  const DigitPlace* begin() const { return places.data(); }
  const DigitPlace* end() const { return places.data() + count; }
};
DrawnPlaces elapsedPlaces(int32_t seconds);
DrawnPlaces flagsLeftPlaces(int32_t flagsLeft, const CounterPlacement& at);

// The seven segments of the digit with its origin at (x, y), in drawing order: top, middle,
// bottom, upper left, lower left, upper right, lower right.
std::array<Rect, 7> segmentRects(int32_t x, int32_t y);
// The right counter's panel.
Rect flagsLeftPanel(const CounterPlacement& at);

// Where a painting step copies its images.
class PaintTarget {
 public:
  virtual ~PaintTarget() = default;
  // A plain copy of the loaded image with its top-left corner at (to.left, to.top).
  virtual void copyImage(int bitmapId, const Rect& to) = 0;
};

void copyCounterPanel(int32_t x, int32_t top, PaintTarget& target);
// All seven segments, lit or unlit, so the digit fully replaces whatever was there.
void drawDigit(int digit, int32_t x, int32_t y, PaintTarget& target);
// The right counter: a fresh panel blanks all four places, then the places the count draws,
// then for a negative count the minus sign.
void drawFlagsLeft(int32_t flagsLeft, const CounterPlacement& at, PaintTarget& target);
