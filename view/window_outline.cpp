#include "view/window_outline.h"

#include "view/field_size.h"

namespace {

constexpr int32_t kFrame = 4;  // the frame width the outline assumes on every side
// Where the client area starts below a caption of 19 pixels, a menu bar and the frame.
constexpr int32_t kStandardClientTop = 42;
constexpr int32_t kFootWidth = kCounterPanelWidth;
constexpr int32_t kFootHeight = kCounterFeetHeight;

}  // namespace

WindowOutline windowOutline(const TileMetrics& metrics, int32_t columns, int32_t rows,
                            int32_t clientTop, int32_t captionExtra, int32_t windowWidth) {
  const int32_t slant = metrics.slantWidth;
  const int32_t height = metrics.tileHeight;
  const int32_t left = kFrame;
  const int32_t right = windowWidth - kFrame;

  WindowOutline points;
  points.push_back({left, kFrame});
  points.push_back({left, clientTop});

  // Down the outer edge of column 1, an odd and therefore lowered column.
  for (int32_t i = 2; i <= 2 * rows + 1; ++i) {
    points.push_back({i % 2 == 0 ? left : left + slant, clientTop + (i - 2) * height / 2});
  }

  const int32_t bottom = clientTop + (2 * rows + 1) * height / 2;
  const int32_t footBottom = bottom + kFootHeight;
  const int32_t rightFoot = windowWidth - 85;  // a pixel narrower than the left foot
  points.push_back({left, bottom});
  points.push_back({left, footBottom});
  points.push_back({left + kFootWidth, footBottom});
  points.push_back({left + kFootWidth, bottom});
  points.push_back({rightFoot, bottom});
  points.push_back({rightFoot, footBottom});
  points.push_back({right, footBottom});
  points.push_back({right, bottom});

  // Up the last column; an odd one starts half a tile higher. Unlike the left side this one
  // hangs from the caption, not from clientTop: a tile below the client top that a 19-pixel
  // caption would give, so that it starts on the field's lowest line whatever the tile size.
  // The factor goes negative at the top point, where the division must truncate toward zero.
  const int32_t oddShift = columns % 2 != 0 ? metrics.halfHeight() : 0;
  const int32_t firstRowBottom = captionExtra + kStandardClientTop + height;
  for (int32_t k = 0; k <= 2 * rows; ++k) {
    points.push_back({k % 2 == 0 ? right : right - slant,
                      firstRowBottom + (2 * rows - 1 - k) * height / 2 - oddShift});
  }

  points.push_back({right, captionExtra + 67});
  points.push_back({right, kFrame});
  return points;
}
