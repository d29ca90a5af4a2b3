#include "view/painting_mode.h"

#include "engine/engine_state.h"
#include "view/board_painting.h"
#include "view/counter_layout.h"
#include "view/field_size.h"
#include "view/painting_way.h"
#include "view/surface_changes.h"
#include "view/view_state.h"

namespace {

PaintingMode current = PaintingMode::Incremental;
bool wentLiterally = false;

// Whether the client area, the field with the counter feet below it, lies within the
// off-screen surface. Use Big Icons keeps a board chosen for small tiles, which can then
// reach past the surface; the part beyond has no copy to come from, and only the literal
// way draws it, straight onto the window.
bool clientFitsTheSurface() {
  const FieldSize field = fieldSize(tileMetrics, board.columns, board.rows);
  return field.width <= kOffscreenWidth && field.height + kCounterPanelHeight <= kOffscreenHeight;
}

}  // namespace

void usePaintingMode(PaintingMode mode) {
  forgetWhatIsShown();
  current = mode;
}

PaintingMode paintingMode() { return current; }

PaintingWay& currentPainting() {
  const bool literally =
      current == PaintingMode::Literal || !offscreenSurfaceExists() || !clientFitsTheSurface();
  if (literally != wentLiterally) {
    // The literal way keeps no account of what the surface shows.
    drawWaitingCells();
    forgetWhatIsShown();
    wentLiterally = literally;
  }
  return literally ? literalPainting() : incrementalPainting();
}
