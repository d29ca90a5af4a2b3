#include "hiscores/hiscore_table.h"

#include <algorithm>
#include <cstring>
#include <utility>

int highlightRow = kNoHighlightRow;

HiscoreTable localHiscores(kHiscoreRows);

void HiscoreEntry::setName(std::string_view text) {
  const size_t length = std::min(text.find('\0'), std::min(text.size(), kMaxNameLength));
  // Through a copy, since the text may be this very field.
  char field[kNameFieldBytes] = {};
  std::copy_n(text.data(), length, field);
  std::memcpy(name, field, sizeof name);
}

std::string_view HiscoreEntry::nameText() const {
  return std::string_view(name, std::find(name, name + kMaxNameLength, '\0') - name);
}

HiscoreTable::HiscoreTable(uint16_t rows)
    : entries(std::make_unique<HiscoreEntry[]>(rows)), count(rows) {}

InsertOutcome HiscoreTable::insert(uint32_t score, std::string_view name) {
  if (count == 0) return {};
  HiscoreEntry& last = entries[count - 1];
  if (last.score >= score) return {};
  last.score = score;
  last.setName(name);
  bubbleUp();
  // Equal scores never pass each other, so the lowest row holding the score is the new one.
  int index = count - 1;
  while (entries[index].score != score) --index;
  highlightRow = index;
  return {true, index};
}

void HiscoreTable::bubbleUp() {
  for (size_t index = count; index-- > 1;) {
    if (entries[index].score > entries[index - 1].score) {
      std::swap(entries[index], entries[index - 1]);
    }
  }
}

void HiscoreTable::fillDefaultTable() {
  for (uint16_t index = 0; index < count; ++index) {
    entries[index].setName("Anonymous");
    entries[index].score = (count - index) * 50u;
  }
}
