#include "score_value.h"

#include <limits>

namespace {

// What the game can send: a name of at most 31 characters, each control character as %XX.
constexpr size_t kMaxNameCharacters = 31;
constexpr size_t kMaxScoreDigits = 10;  // without the sign
constexpr size_t kMaxValueBytes =
    kSubmittedRows * (kMaxNameCharacters * 3 + 1 + kMaxScoreDigits + 2);

constexpr uint64_t kNoScore = std::numeric_limits<uint64_t>::max();
constexpr uint64_t kScoreLimit = std::numeric_limits<uint32_t>::max();
// The lowest number a signed 32-bit print gives is -2147483648.
constexpr uint64_t kNegativeLimit = uint64_t{1} << 31;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isUpperHex(char c) { return isDigit(c) || (c >= 'A' && c <= 'F'); }

// The score as the game prints it: its 32 bits as a signed decimal number, so that scores of
// 2^31 and more arrive negative and are read back modulo 2^32. No plus sign, no leading zero,
// no zero: every score in the game's table is at least 1.
uint64_t scoreOf(std::string_view token) {
  const bool negative = !token.empty() && token[0] == '-';
  if (negative) token.remove_prefix(1);
  if (token.empty() || token.size() > kMaxScoreDigits || token[0] == '0') return kNoScore;
  uint64_t value = 0;
  for (const char c : token) {
    if (!isDigit(c)) return kNoScore;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  if (!negative) return value <= kScoreLimit ? value : kNoScore;
  return value <= kNegativeLimit ? kScoreLimit + 1 - value : kNoScore;
}

// Characters of the player's name that a token stands for: the game writes each control
// character as three bytes %XX (hex digits in upper case, value below 0x20 or 0x7F).
size_t nameCharacters(std::string_view token) {
  size_t characters = 0;
  for (size_t i = 0; i < token.size(); ++characters) {
    const bool escape = token[i] == '%' && i + 2 < token.size() && isUpperHex(token[i + 1]) &&
                        isUpperHex(token[i + 2]) &&
                        (token[i + 1] <= '1' || (token[i + 1] == '7' && token[i + 2] == 'F'));
    i += escape ? 3 : 1;
  }
  return characters;
}

// Bytes the game never puts into the request line: control characters and the space.
bool sendable(std::string_view value) {
  for (const char c : value) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte == 0x7F) return false;
  }
  return true;
}

std::vector<std::string_view> splitAtUnderscores(std::string_view text) {
  std::vector<std::string_view> tokens;
  size_t start = 0;
  for (size_t end; (end = text.find('_', start)) != std::string_view::npos; start = end + 1) {
    tokens.push_back(text.substr(start, end - start));
  }
  tokens.push_back(text.substr(start));
  return tokens;
}

}  // namespace

std::optional<std::vector<ScoreRow>> parseScoreValue(std::string_view value) {
  if (value.size() > kMaxValueBytes || !sendable(value)) return std::nullopt;
  if (value.empty() || value.back() != '_') return std::nullopt;
  // Each row is one or more name tokens followed by one score token.
  const std::vector<std::string_view> tokens =
      splitAtUnderscores(value.substr(0, value.size() - 1));
  const size_t count = tokens.size();
  std::vector<uint64_t> scores(count);
  std::vector<size_t> characters(count);
  for (size_t i = 0; i < count; ++i) {
    scores[i] = scoreOf(tokens[i]);
    characters[i] = nameCharacters(tokens[i]);
  }

  // Calls back for every score token `at` that can close a row whose name starts at `start`,
  // the nearest first, while the name stays within the game's limit.
  const auto forEachScoreAfterName = [&](size_t start, auto&& visit) {
    size_t nameLength = 0;
    for (size_t at = start + 1; at < count; ++at) {
      nameLength += characters[at - 1] + (at - 1 > start ? 1 : 0);
      if (nameLength > kMaxNameCharacters) return;
      if (scores[at] != kNoScore) visit(at);
    }
  };

  // lowest[row][start]: the lowest score that row `row` can have when it starts at token
  // `start` and the rows from it to the last one take exactly the remaining tokens; the
  // column past the last token stands for rows that would start after the end.
  std::vector<std::vector<uint64_t>> lowest(kSubmittedRows,
                                            std::vector<uint64_t>(count + 1, kNoScore));
  const auto restFits = [&](size_t row, size_t at) {
    return row + 1 == kSubmittedRows ? at + 1 == count : lowest[row + 1][at + 1] <= scores[at];
  };
  for (size_t row = kSubmittedRows; row-- > 0;) {
    for (size_t start = 0; start < count; ++start) {
      forEachScoreAfterName(start, [&](size_t at) {
        if (restFits(row, at) && scores[at] < lowest[row][start]) lowest[row][start] = scores[at];
      });
    }
  }

  // Row by row, the farthest score token that keeps the order and leaves a valid rest.
  std::vector<ScoreRow> rows;
  uint64_t ceiling = kScoreLimit;
  size_t start = 0;
  for (size_t row = 0; row < kSubmittedRows; ++row) {
    size_t chosen = count;
    forEachScoreAfterName(start, [&](size_t at) {
      if (scores[at] <= ceiling && restFits(row, at)) chosen = at;
    });
    if (chosen == count) return std::nullopt;
    std::string name;
    for (size_t i = start; i < chosen; ++i) {
      if (i > start) name += '_';
      name += tokens[i];
    }
    rows.push_back({std::move(name), static_cast<uint32_t>(scores[chosen])});
    ceiling = scores[chosen];
    start = chosen + 1;
  }
  return rows;
}
