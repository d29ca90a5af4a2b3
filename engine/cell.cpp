#include "engine/cell.h"

#include "engine/engine_requests.h"

void Cell::open(int column, int row) {
  revealed = 1;
  engineRequests().drawCellUpdate(column, row, *this, CellChange::Opened);
}

void Cell::toggleFlag(int column, int row) {
  flagged = static_cast<uint8_t>(1 - flagged);
  engineRequests().drawCellUpdate(column, row, *this, CellChange::FlagToggled);
}

void Cell::toggleQuestion(int column, int row) {
  questioned = static_cast<uint8_t>(1 - questioned);
  engineRequests().drawCellUpdate(column, row, *this, CellChange::QuestionToggled);
}
