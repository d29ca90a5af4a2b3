#include "view/field_size.h"

FieldSize fieldSize(const TileMetrics& metrics, int32_t columns, int32_t rows) {
  return {columns * metrics.bodyWidth + (columns + 1) * metrics.slantWidth,
          (rows + 2) * metrics.tileHeight};
}
