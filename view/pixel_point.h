#pragma once

#include <cstdint>

// A pixel position; client coordinates unless the user says otherwise.
struct PixelPoint {
  int32_t x;
  int32_t y;
};

constexpr bool operator==(PixelPoint a, PixelPoint b) { return a.x == b.x && a.y == b.y; }
constexpr bool operator!=(PixelPoint a, PixelPoint b) { return !(a == b); }
