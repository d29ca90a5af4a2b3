#pragma once

#include <string>
#include <vector>

#include "engine/engine_requests.h"
#include "engine/engine_state.h"

// Stands in for the board view: records the engine's requests, in order, as short strings
// such as "draw 3,4 Opened", "final", "copy", "stop timer", "release origins".
class RecordingView final : public EngineRequests {
 public:
  RecordingView() { installEngineRequests(this); }
  ~RecordingView() override { installEngineRequests(nullptr); }

  void drawCellUpdate(int column, int row, const Cell&, CellChange change) override {
    static const char* const names[] = {"FlagToggled", "QuestionToggled", "Opened"};
    events.push_back("draw " + std::to_string(column) + "," + std::to_string(row) + " " +
                     names[static_cast<int>(change)]);
    drawn.push_back({column, row});
  }
  void paintFinalBoard() override { events.push_back("final"); }
  void copyOffscreenToWindow() override { events.push_back("copy"); }
  void stopPlayTimer() override { events.push_back("stop timer"); }
  void releaseCellOrigins() override { events.push_back("release origins"); }

  void clear() {
    events.clear();
    drawn.clear();
  }

  std::vector<std::string> events;
  std::vector<CellPosition> drawn;
};

// Builds the program-wide board on services whose calendar clock reads `seconds`.
void buildBoardAt(int64_t seconds, unsigned columns, unsigned rows, unsigned difficulty);

// The worked example: 10 columns, 8 rows, difficulty 1, seed 12345.
void buildWorkedExample();
