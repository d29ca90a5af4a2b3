#include "view/engine_link.h"

#include "engine/engine_requests.h"
#include "shell/services.h"
#include "view/board_painting.h"
#include "view/game_start.h"
#include "view/tile_images.h"
#include "view/view_state.h"

namespace {

// The board view draws for the engine, and ends a game's timer and position table for it.
class ViewCarriesOutRequests final : public EngineRequests {
 public:
  void drawCellUpdate(int column, int row, const Cell& cell, CellChange change) override {
    ::drawCellUpdate(column, row, cell, change);
  }
  void paintFinalBoard() override { ::paintFinalBoard(); }
  void copyOffscreenToWindow() override { showCurrentPicture(); }
  void stopPlayTimer() override { services().killTimer(kPlayTimer); }
  void releaseCellOrigins() override { cellOrigins.release(); }
};

ViewCarriesOutRequests viewRequests;

}  // namespace

void connectEngineToView() { installEngineRequests(&viewRequests); }
