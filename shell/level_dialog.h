#pragma once

#include "shell/level_choice.h"
#include "view/tile_metrics.h"

// Shows the level dialog modally, owned by the main window; when it returns the settings
// hold a board choice (or the process has ended through Quit Game).
void runLevelDialog();

// The limits of a custom board with these tiles in the screen's work area, counting the
// frame, caption and menu bar the main window adds.
LevelLimits levelLimitsOnScreen(const TileMetrics& tiles);
