#pragma once

#include <cstdint>

#include "view/counter_panel.h"
#include "view/tile_metrics.h"

// The client area that holds the whole field, with a tile's height to spare for the lowered
// odd columns and the counter feet.
struct FieldSize {
  int32_t width;
  int32_t height;
};

FieldSize fieldSize(const TileMetrics& metrics, int32_t columns, int32_t rows);

// The window is made this much taller than its field needs, for the feet that hold the
// counter panels.
constexpr int32_t kCounterFeetHeight = kCounterPanelHeight;

// The client width a board's window gets: the field's own, widened when the field is
// narrower than the two counter panels side by side or than the menu bar on one line, so
// that the panels do not overlap and the menu does not wrap over the field.
int32_t clientWidthFor(const FieldSize& field, int32_t menuBarWidth);
