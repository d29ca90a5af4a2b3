#include "hiscores/hiscore_table.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "hiscores/hiscore_file.h"
#include "hiscores/hiscore_state.h"
#include "shell/whole_file.h"

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

bool HiscoreTable::save() const {
  std::string plain;
  for (uint16_t index = 0; index < count; ++index) {
    // The file keeps only the low seven bits of a byte, so 0x80 would come back as the end
    // of the name and make the whole file unreadable; it is stored as a question mark.
    for (const char byte : entries[index].nameText()) plain += byte == '\x80' ? '?' : byte;
    plain += '\0';
    plain += std::to_string(entries[index].score);
    plain += '\0';
  }
  return replaceWholeFile(kHiscoreFileName, storedFormOf(plain));
}

void HiscoreTable::load() {
  const std::optional<std::string> stored = readWholeFile(kHiscoreFileName, kMaxHiscoreFileBytes);
  if (!stored || stored->empty()) {
    fillDefaultTable();
    return;
  }
  const std::string plain = plainLayoutOf(*stored);
  // Every string ends in a NUL; the last one is always there, so count the others.
  const size_t strings = 2u * count;
  if (static_cast<size_t>(std::count(plain.begin(), plain.end() - 1, '\0')) != strings - 1) {
    fillDefaultTable();
    return;
  }
  std::vector<HiscoreEntry> rows(count);
  std::string_view rest = plain;
  for (HiscoreEntry& row : rows) {
    const size_t nameEnd = rest.find('\0');
    row.setName(rest.substr(0, nameEnd));
    rest.remove_prefix(nameEnd + 1);
    const size_t scoreEnd = rest.find('\0');
    row.score = scoreFromText(rest.substr(0, scoreEnd));
    rest.remove_prefix(scoreEnd + 1);
    if (row.score == 0) {
      fillDefaultTable();
      return;
    }
  }
  std::copy(rows.begin(), rows.end(), entries.get());
}
