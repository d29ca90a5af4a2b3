#pragma once

#include "shell/settings.h"

// The shell's program-wide state: the one set of settings and whether start-up read them
// from the file. Other subsystems read the settings freely and change them only through the
// shell's operations (settings.h, level_choice.h). The platform's services the program runs
// on are installed through services.h.

extern GameSettings gameSettings;

// Set by start-up when LoadSettings found the file; the first level dialog of the run
// consumes it to take over a stored competition level.
extern bool settingsLoaded;

// The settings and the flag as a new process has them; for tests that run many programs in
// one process.
void resetShellState();
