#include "view/counter_layout.h"

#include <cstddef>

#include "resources/resource_ids.h"
#include "view/view_state.h"

namespace {

constexpr int32_t kSegmentLong = 12;
constexpr int32_t kSegmentShort = 3;
constexpr int32_t kDigitPitch = 20;
// A panel's leftmost digit origin, from its left edge.
constexpr int32_t kFirstDigitX = 2;
constexpr int32_t kUnitsX = kFirstDigitX + 3 * kDigitPitch;

struct Segment {
  int32_t dx;
  int32_t dy;
  bool horizontal;
};

constexpr std::array<Segment, 7> kSegments = {{
    {3, 0, true},
    {3, 15, true},
    {3, 30, true},
    {0, 3, false},
    {0, 18, false},
    {15, 3, false},
    {15, 18, false},
}};
constexpr size_t kMiddleSegment = 1;

// Per digit, '1' for each lit segment in the order of kSegments.
constexpr const char* kLitSegments[10] = {
    "1011111", "0000011", "1110110", "1110011", "0101011",
    "1111001", "1111101", "1000011", "1111111", "1111011",
};

Rect segmentRect(const Segment& segment, int32_t x, int32_t y) {
  const int32_t left = x + segment.dx;
  const int32_t top = y + segment.dy;
  return segment.horizontal ? Rect{left, top, left + kSegmentLong, top + kSegmentShort}
                            : Rect{left, top, left + kSegmentShort, top + kSegmentLong};
}

DrawnPlaces placesOf(int32_t count, int32_t unitsX) {
  uint32_t magnitude = count < 0 ? 0u - static_cast<uint32_t>(count) : static_cast<uint32_t>(count);
  DrawnPlaces drawn{};
  drawn.count = 1 + (count > 9) + (count > 99) + (count > 999);
  for (int place = 0; place < 4; ++place) {
    drawn.places[static_cast<size_t>(place)] = {place, static_cast<int>(magnitude % 10u),
                                                unitsX - place * kDigitPitch};
    magnitude /= 10u;
  }
  return drawn;
}

}  // namespace

CounterPlacement counterPlacement(const Rect& client) {
  const int32_t h = tileMetrics.tileHeight;
  return {client.height() - (h + h / 2) - kCounterPanelHeight,
          client.width() - kCounterPanelWidth};
}

DrawnPlaces elapsedPlaces(int32_t seconds) { return placesOf(seconds, kUnitsX); }

DrawnPlaces flagsLeftPlaces(int32_t flagsLeft, const CounterPlacement& at) {
  return placesOf(flagsLeft, at.rightPanelX + kUnitsX);
}

std::array<Rect, 7> segmentRects(int32_t x, int32_t y) {
  std::array<Rect, 7> rects{};
  for (size_t i = 0; i < kSegments.size(); ++i) rects[i] = segmentRect(kSegments[i], x, y);
  return rects;
}

Rect flagsLeftPanel(const CounterPlacement& at) {
  return {at.rightPanelX, at.top, at.rightPanelX + kCounterPanelWidth,
          at.top + kCounterPanelHeight};
}

void copyCounterPanel(int32_t x, int32_t top, PaintTarget& target) {
  target.copyImage(IDB_COUNTER_PANEL, {x, top, x + kCounterPanelWidth, top + kCounterPanelHeight});
}

void drawDigit(int digit, int32_t x, int32_t y, PaintTarget& target) {
  const char* lit = kLitSegments[digit];
  for (size_t i = 0; i < kSegments.size(); ++i) {
    const bool on = lit[i] == '1';
    const int id = kSegments[i].horizontal ? (on ? IDB_SEGMENT_H_LIT : IDB_SEGMENT_H_UNLIT)
                                           : (on ? IDB_SEGMENT_V_LIT : IDB_SEGMENT_V_UNLIT);
    target.copyImage(id, segmentRect(kSegments[i], x, y));
  }
}

void drawFlagsLeft(int32_t flagsLeft, const CounterPlacement& at, PaintTarget& target) {
  copyCounterPanel(at.rightPanelX, at.top, target);
  for (const DigitPlace& place : flagsLeftPlaces(flagsLeft, at)) {
    drawDigit(place.digit, place.x, at.top, target);
  }
  if (flagsLeft < 0) {
    // The minus sign is the tens place's middle segment, lit.
    const int32_t tensX = at.rightPanelX + kUnitsX - kDigitPitch;
    target.copyImage(IDB_SEGMENT_H_LIT, segmentRect(kSegments[kMiddleSegment], tensX, at.top));
  }
}
