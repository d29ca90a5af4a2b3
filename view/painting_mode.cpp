#include "view/painting_mode.h"

#include "view/board_painting.h"
#include "view/incremental_painting.h"

namespace {

PaintingMode current = PaintingMode::Incremental;

}  // namespace

void usePaintingMode(PaintingMode mode) {
  incremental::forgetWhatIsShown();
  current = mode;
}

PaintingMode paintingMode() { return current; }

bool paintsLiterally() {
  return current == PaintingMode::Literal || !offscreenSurfaceExists();
}
