#include "view/painting_mode.h"

#include "view/board_painting.h"
#include "view/painting_way.h"

namespace {

PaintingMode current = PaintingMode::Incremental;

}  // namespace

void usePaintingMode(PaintingMode mode) {
  forgetWhatIsShown();
  current = mode;
}

PaintingMode paintingMode() { return current; }

PaintingWay& currentPainting() {
  const bool literal = current == PaintingMode::Literal || !offscreenSurfaceExists();
  return literal ? literalPainting() : incrementalPainting();
}
