#pragma once

// Shows the level dialog modally, owned by the main window; when it returns the settings
// hold a board choice (or the process has ended through Quit Game).
void runLevelDialog();
