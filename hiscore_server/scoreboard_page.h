#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "score_store.h"

constexpr size_t kScoreboardRows = 100;

// The scoreboard as a complete HTML5 page in UTF-8, rows in the order given, ranked with
// shared places for equal scores, and how many rows are stored in all. Needs no script and
// no outside file.
std::string renderScoreboardPage(const std::vector<StoredScore>& rows, size_t totalRows);
