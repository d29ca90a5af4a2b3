#include "shell/level_choice.h"

#include <algorithm>
#include <cstdio>

#include "shell/shell_state.h"
#include "view/field_size.h"

namespace {

// The board is drawn on the off-screen surface first, so it can be no larger than that.
constexpr int32_t kSurfaceWidth = 1600;
constexpr int32_t kSurfaceHeight = 1200;

uint32_t atLeastZero(int32_t value) { return value > 0 ? static_cast<uint32_t>(value) : 0u; }

std::string formatLimit(const char* format, uint32_t limit) {
  char text[32];
  std::snprintf(text, sizeof text, format, static_cast<unsigned>(limit));
  return text;
}

}  // namespace

LevelLimits ComputeLevelLimits(int32_t workWidth, int32_t workHeight, const WindowFrame& frame,
                               const TileMetrics& tiles) {
  const int32_t w = tiles.tileWidth;
  const int32_t h = tiles.tileHeight;
  const int32_t width = std::min(workWidth, kSurfaceWidth);
  const int32_t height = std::min(workHeight, kSurfaceHeight);
  const uint32_t spacedColumns = atLeastZero((width - w / 2) / (3 * w / 4 + 1));
  const uint32_t surfaceRows = atLeastZero((height - 3 * h / 2) / h - 3);

  // The window is the field plus the frame across; down, the field (two rows more than the
  // board) plus the frame and the counter feet.
  const int32_t roomAcross = workWidth - frame.width;
  const int32_t roomDown = workHeight - frame.height - kCounterFeetHeight;
  const uint32_t visibleColumns = atLeastZero((roomAcross - tiles.slantWidth) / tiles.pitch());
  const uint32_t visibleRows = atLeastZero(roomDown / h - 2);

  LevelLimits limits;
  limits.maxColumns = std::min(spacedColumns, visibleColumns);
  limits.maxRows = std::min(surfaceRows, visibleRows);
  return limits;
}

const CompetitionLevel* findCompetitionLevel(int32_t level) {
  for (const CompetitionLevel& candidate : kCompetitionLevels) {
    if (candidate.level == level) return &candidate;
  }
  return nullptr;
}

const CompetitionLevel* findCompetitionLevelByControl(int controlId) {
  for (const CompetitionLevel& candidate : kCompetitionLevels) {
    if (candidate.controlId == controlId) return &candidate;
  }
  return nullptr;
}

void chooseCompetitionLevel(const CompetitionLevel& chosen) {
  gameSettings.rows = chosen.rows;
  gameSettings.columns = chosen.columns;
  gameSettings.difficulty = chosen.difficulty;
  gameSettings.level = chosen.level;
}

CustomBoard playCustom(uint32_t rows, uint32_t columns, uint32_t difficulty,
                       const LevelLimits& limits) {
  const bool fits = columns >= kMinCustomSide && columns <= limits.maxColumns &&
                    rows >= kMinCustomSide && rows <= limits.maxRows &&
                    difficulty >= kMinDifficulty && difficulty <= kMaxDifficulty;
  gameSettings.rows = fits ? rows : kFallbackRows;
  gameSettings.columns = fits ? columns : kFallbackColumns;
  gameSettings.difficulty = fits ? difficulty : kFallbackDifficulty;
  gameSettings.level = 0;
  return fits ? CustomBoard::Entered : CustomBoard::Fallback;
}

void fitCustomBoardWithin(const LevelLimits& limits) {
  if (gameSettings.level != 0) return;
  // A screen too small for any custom board still gets the smallest one.
  const auto within = [](uint32_t side, uint32_t limit) {
    return side > limit ? std::max(limit, kMinCustomSide) : side;
  };
  gameSettings.columns = within(gameSettings.columns, limits.maxColumns);
  gameSettings.rows = within(gameSettings.rows, limits.maxRows);
}

bool takeOverStoredLevel() {
  if (!settingsLoaded) return false;
  settingsLoaded = false;
  const CompetitionLevel* stored = findCompetitionLevel(gameSettings.level);
  if (!stored) return false;
  chooseCompetitionLevel(*stored);
  return true;
}

std::string columnsLabel(uint32_t maxColumns) { return formatLimit("Columns (5-%u)", maxColumns); }

std::string rowsLabel(uint32_t maxRows) { return formatLimit("Rows (5-%u)", maxRows); }

std::string difficultyLabel() { return "Difficulty (1-10)"; }
