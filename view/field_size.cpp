#include "view/field_size.h"

#include <algorithm>

FieldSize fieldSize(const TileMetrics& metrics, int32_t columns, int32_t rows) {
  return {columns * metrics.bodyWidth + (columns + 1) * metrics.slantWidth,
          (rows + 2) * metrics.tileHeight};
}

int32_t clientWidthFor(const FieldSize& field, int32_t menuBarWidth) {
  return std::max({field.width, 2 * kCounterPanelWidth, menuBarWidth});
}
