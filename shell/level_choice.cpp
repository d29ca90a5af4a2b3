#include "shell/level_choice.h"

#include <algorithm>
#include <cstdio>

#include "shell/settings.h"

namespace {

// The board is drawn on the off-screen surface first, so it can be no larger than that.
constexpr int kSurfaceWidth = 1600;
constexpr int kSurfaceHeight = 1200;

uint32_t atLeastZero(int value) { return value > 0 ? static_cast<uint32_t>(value) : 0u; }

std::string formatLimit(const char* format, uint32_t limit) {
  char text[32];
  std::snprintf(text, sizeof text, format, static_cast<unsigned>(limit));
  return text;
}

}  // namespace

LevelLimits ComputeLevelLimits(int screenWidth, int screenHeight, int tileWidth, int tileHeight) {
  const int width = std::min(screenWidth, kSurfaceWidth);
  const int height = std::min(screenHeight, kSurfaceHeight);
  LevelLimits limits;
  limits.maxColumns = atLeastZero((width - tileWidth / 2) / (3 * tileWidth / 4 + 1));
  limits.maxRows = atLeastZero((height - 3 * tileHeight / 2) / tileHeight - 3);
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

bool playCustom(uint32_t rows, uint32_t columns, uint32_t difficulty, const LevelLimits& limits) {
  const bool fits = columns >= kMinCustomSide && columns <= limits.maxColumns &&
                    rows >= kMinCustomSide && rows <= limits.maxRows &&
                    difficulty >= kMinDifficulty && difficulty <= kMaxDifficulty;
  gameSettings.rows = fits ? rows : kFallbackRows;
  gameSettings.columns = fits ? columns : kFallbackColumns;
  gameSettings.difficulty = fits ? difficulty : kFallbackDifficulty;
  gameSettings.level = 0;
  return !fits;
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
