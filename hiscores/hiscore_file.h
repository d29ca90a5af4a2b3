#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// "hiscore.dat" holds ten rows as twenty NUL-terminated strings (name, then score in decimal),
// the plain layout, stored under a position-dependent byte transform, the stored form.

constexpr char kHiscoreFileName[] = "hiscore.dat";
constexpr size_t kMaxHiscoreFileBytes = 999;

// Shown by the caller of HiscoreTable::save when it fails.
constexpr char kHiscoreWriteErrorText[] = "Error Writing Hiscore File";
constexpr char kHiscoreWriteErrorCaption[] = "NO HISCORES";

// S[i] = 2 * P[i] + i % 13 + i % 5 (mod 256) for all but the last byte, which is stored as 0.
// The doubling drops the top bit of every byte.
std::string storedFormOf(std::string_view plain);
// The inverse for bytes below 0x80; the last byte always comes back as 0.
std::string plainLayoutOf(std::string_view stored);

// Decimal text to number as the Windows runtime's strtoul does with its 32-bit unsigned long:
// leading white space, an optional sign, digits up to the first other character. Too large a
// number gives 4294967295, and a minus sign negates modulo 2^32. No digits give 0.
uint32_t scoreFromText(std::string_view text);
