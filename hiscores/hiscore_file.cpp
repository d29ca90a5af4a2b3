#include "hiscores/hiscore_file.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "hiscores/hiscore_table.h"
#include "shell/whole_file.h"

namespace {

unsigned positionKey(size_t index) { return static_cast<unsigned>(index % 13 + index % 5); }

bool isCSpace(unsigned char byte) { return byte == ' ' || (byte >= '\t' && byte <= '\r'); }

}  // namespace

std::string storedFormOf(std::string_view plain) {
  std::string stored(plain.size(), '\0');
  for (size_t index = 0; index + 1 < plain.size(); ++index) {
    const unsigned byte = static_cast<unsigned char>(plain[index]);
    stored[index] = static_cast<char>((2 * byte + positionKey(index)) & 0xFFu);
  }
  return stored;
}

std::string plainLayoutOf(std::string_view stored) {
  std::string plain(stored.size(), '\0');
  for (size_t index = 0; index + 1 < stored.size(); ++index) {
    const unsigned byte = static_cast<unsigned char>(stored[index]);
    plain[index] = static_cast<char>(((byte - positionKey(index)) & 0xFFu) / 2);
  }
  return plain;
}

uint32_t scoreFromText(std::string_view text) {
  size_t at = 0;
  while (at < text.size() && isCSpace(static_cast<unsigned char>(text[at]))) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
    negative = text[at] == '-';
    ++at;
  }
  uint64_t value = 0;
  bool overflow = false;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
    value = value * 10 + static_cast<unsigned>(text[at] - '0');
    if (value > UINT32_MAX) {
      overflow = true;
      value = UINT32_MAX;
    }
  }
  if (overflow) return UINT32_MAX;
  const uint32_t magnitude = static_cast<uint32_t>(value);
  return negative ? 0u - magnitude : magnitude;
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
