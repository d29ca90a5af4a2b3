#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

constexpr size_t kNameFieldBytes = 32;
constexpr size_t kMaxNameLength = kNameFieldBytes - 1;

struct HiscoreEntry {
  char name[kNameFieldBytes] = {};  // always NUL-terminated
  uint32_t score = 0;

  // Copies up to the first NUL, at most kMaxNameLength bytes, and clears the rest of the field.
  void setName(std::string_view text);
  std::string_view nameText() const;
};

// highlightRow (hiscore_state.h) when no row is to be shown highlighted.
constexpr int kNoHighlightRow = 11;

struct InsertOutcome {
  bool qualified = false;
  int row = kNoHighlightRow;  // where the new entry stands, when qualified
};

constexpr uint16_t kHiscoreRows = 10;

// Rows ordered by score, highest first; among equal scores the older entry stays above.
struct HiscoreTable {
  explicit HiscoreTable(uint16_t rows);

  // Enters the score when it beats the last row, and then sets highlightRow to its row.
  InsertOutcome insert(uint32_t score, std::string_view name);
  // One pass from the bottom up that swaps a row with the one above only when it scores more.
  void bubbleUp();

  // Writes the table to the hiscore file (hiscore_file.h); false when the file could not be
  // written.
  bool save() const;
  // Reads the hiscore file, or fills the default table when it is missing or invalid.
  void load();
  void fillDefaultTable();

  const HiscoreEntry& row(size_t index) const { return entries[index]; }  // index < count

  const std::unique_ptr<HiscoreEntry[]> entries;
  const uint16_t count;
};
