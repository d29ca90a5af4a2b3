#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "resources/resource_ids.h"
#include "view/tile_metrics.h"

// The rules behind the level dialog, kept free of windows so that the dialog procedure
// only moves values between its controls and these operations.

// The largest custom board that fits on the screen, recomputed at every opening of the
// dialog and used by the Play Custom check.
struct LevelLimits {
  uint32_t maxColumns = 0;
  uint32_t maxRows = 0;
};

// What the window adds around its client area, across and down: the frame, the caption and
// the menu bar, as AdjustWindowRect counts them.
struct WindowFrame {
  int32_t width;
  int32_t height;
};

// The largest board whose whole window, frame, caption, menu bar and counter feet included,
// fits in the work area (the screen less its taskbar), so that every board the dialog allows
// can be seen and reached whole. Within that, a column takes three quarters of a tile plus
// one pixel (a small tile's pitch is 9, so small boards keep room to spare), and the picture
// fits the off-screen surface: a work area larger than 1600 by 1200 counts as that size. A
// work area too small for any row or column gives a limit of 0.
LevelLimits ComputeLevelLimits(int32_t workWidth, int32_t workHeight, const WindowFrame& frame,
                               const TileMetrics& tiles);

// Below this real screen width the Advanced and Expert buttons are disabled.
constexpr int kMinScreenWidthForHardLevels = 1024;

struct CompetitionLevel {
  int32_t level;
  const char* buttonText;
  int controlId;
  uint32_t rows;
  uint32_t columns;
  uint32_t difficulty;
};

constexpr std::array<CompetitionLevel, 5> kCompetitionLevels = {{
    {1, "Novice", IDC_LEVEL_NOVICE, 12, 22, 1},
    {2, "Beginner", IDC_LEVEL_BEGINNER, 16, 28, 3},
    {3, "Intermediate", IDC_LEVEL_INTERMEDIATE, 20, 41, 4},
    {4, "Advanced", IDC_LEVEL_ADVANCED, 23, 45, 5},
    {5, "Expert", IDC_LEVEL_EXPERT, 27, 53, 6},
}};

// Null when no competition level has that number, or no button that id.
const CompetitionLevel* findCompetitionLevel(int32_t level);
const CompetitionLevel* findCompetitionLevelByControl(int controlId);

// Puts the level's board into gameSettings and records its number in `level`.
void chooseCompetitionLevel(const CompetitionLevel& chosen);

constexpr uint32_t kMinCustomSide = 5;
constexpr uint32_t kMinDifficulty = 1;
constexpr uint32_t kMaxDifficulty = 10;
constexpr uint32_t kFallbackRows = 15;
constexpr uint32_t kFallbackColumns = 15;
constexpr uint32_t kFallbackDifficulty = 5;

constexpr char kOutOfLimitsText[] = "Out of Limits - Using defaults";
constexpr char kOutOfLimitsCaption[] = "PROBLEM";

// Which board Play Custom took.
enum class CustomBoard {
  Entered,   // every value was within its limits
  Fallback,  // the 15 by 15 board with difficulty 5; the dialog shows kOutOfLimitsText
};

// Play Custom: takes the entered board when every value is within its limits (all bounds
// inclusive), the fallback otherwise; `level` becomes 0 either way.
CustomBoard playCustom(uint32_t rows, uint32_t columns, uint32_t difficulty,
                       const LevelLimits& limits);

// A custom board beyond the limits becomes the largest within them, each side cut on its own;
// a competition level keeps its board, since its scores are compared online.
void fitCustomBoardWithin(const LevelLimits& limits);

// The first opening after a successful settings load clears settingsLoaded and, when the
// stored `level` is a competition level, puts its board into gameSettings. Returns true
// when the dialog should then close without being shown.
bool takeOverStoredLevel();

// Texts of the three labels beside the custom fields.
std::string columnsLabel(uint32_t maxColumns);
std::string rowsLabel(uint32_t maxRows);
std::string difficultyLabel();
