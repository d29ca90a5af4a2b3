#include "shell/shell_state.h"

GameSettings gameSettings;
bool settingsLoaded = false;

void resetShellState() {
  gameSettings = GameSettings{};
  settingsLoaded = false;
}
