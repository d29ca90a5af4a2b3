#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

constexpr size_t kSubmittedRows = 10;

// One row as the game sends it: spaces in the name arrive as ':', control characters as %XX.
struct ScoreRow {
  std::string name;
  uint32_t score = 0;

  bool operator==(const ScoreRow& other) const {
    return name == other.name && score == other.score;
  }
};

// Reads the value V of a SetScores request: ten rows of name "_" score "_", scores from 1 to
// 4294967295 as the game prints them (those of 2^31 and more as negative numbers), never
// rising from one row to the next. Names may hold
// underscores and digits, so a value can often be cut into rows in more than one way; then
// the names take as many underscores as they can, the first row first. Players tag names
// with a number at the end ("mike_1987") far more often than at the start, and this reads
// such names whole. Nothing comes back for a value that cannot be cut into such rows.
std::optional<std::vector<ScoreRow>> parseScoreValue(std::string_view value);
