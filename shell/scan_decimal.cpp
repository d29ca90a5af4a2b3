#include "shell/scan_decimal.h"

namespace {
bool isDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

ScanOutcome scanDecimal(std::string_view text, size_t& position, int32_t& value) {
  while (position < text.size() && isFormatSpace(text[position])) ++position;
  if (position >= text.size()) return ScanOutcome::EndOfInput;
  const bool negative = text[position] == '-';
  if (negative || text[position] == '+') ++position;
  if (position >= text.size() || !isDigit(text[position])) return ScanOutcome::NoNumber;
  uint32_t magnitude = 0;
  for (; position < text.size() && isDigit(text[position]); ++position) {
    magnitude = magnitude * 10u + static_cast<uint32_t>(text[position] - '0');
  }
  value = static_cast<int32_t>(negative ? 0u - magnitude : magnitude);
  return ScanOutcome::Number;
}
