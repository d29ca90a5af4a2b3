#pragma once

#include <string>
#include <vector>

#include "score_store.h"

// The stored bug reports as text for the operator's terminal, oldest first. Players wrote
// them, so every control character but the line end and the tab, every byte that is no
// UTF-8, and the marks that reverse the direction of text are shown as U+FFFD: no report can
// move the cursor, change the terminal's settings or disguise what it says.
std::string listReports(const std::vector<StoredReport>& reports);
