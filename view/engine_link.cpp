#include "view/engine_link.h"

#include "engine/board_view.h"
#include "shell/services.h"
#include "view/board_painting.h"
#include "view/cell_origins.h"
#include "view/game_start.h"
#include "view/tile_images.h"

namespace {

class PaintingBoardView final : public BoardView {
 public:
  void drawCellUpdate(int column, int row, const Cell& cell, CellChange change) override {
    ::drawCellUpdate(column, row, cell, change);
  }
  void paintFinalBoard() override { ::paintFinalBoard(); }
  void copyOffscreenToWindow() override { showCurrentPicture(); }
  void stopPlayTimer() override { services().killTimer(kPlayTimer); }
  void releaseCellOrigins() override { cellOrigins.release(); }
};

PaintingBoardView paintingView;

}  // namespace

void connectEngineToView() { installBoardView(&paintingView); }
