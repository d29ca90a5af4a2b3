#pragma once

#include <string>
#include <vector>

#include "hiscores/hiscore_table.h"

// A table's columns, for comparing whole tables in one assertion.
inline std::vector<uint32_t> scoresOf(const HiscoreTable& table) {
  std::vector<uint32_t> scores;
  for (uint16_t i = 0; i < table.count; ++i) scores.push_back(table.row(i).score);
  return scores;
}

inline std::vector<std::string> namesOf(const HiscoreTable& table) {
  std::vector<std::string> names;
  for (uint16_t i = 0; i < table.count; ++i) names.emplace_back(table.row(i).nameText());
  return names;
}
