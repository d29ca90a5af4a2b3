#include "hiscores/hiscore_file.h"

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
