#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// "%d" of formatted input over text in memory, so that both builds read numbers alike: white
// space, an optional sign, decimal digits accumulated modulo 2^32 as the platform's runtime
// does. The position moves past what was used, a lone sign included.
enum class ScanOutcome { Number, NoNumber, EndOfInput };

ScanOutcome scanDecimal(std::string_view text, size_t& position, int32_t& value);

// White space as formatted input knows it.
constexpr bool isFormatSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
