#pragma once

#include <cstddef>
#include <optional>
#include <string>

// The program's files are small and always read and written whole.

// Reads every byte of the file; nothing when it cannot be opened or holds more than maxBytes.
std::optional<std::string> readWholeFile(const std::string& name, size_t maxBytes);

// Replaces the file by the given bytes. The bytes go to a temporary file beside it, which is
// then renamed over the old one, so a write that fails midway leaves the old file intact.
// Returns false, and leaves the old file as it was, when anything fails.
bool replaceWholeFile(const std::string& name, const std::string& bytes);
