#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "shell/file_layer.h"

// The program's files are small and always read and written whole.

// Reads every byte of the file; nothing when it cannot be opened or holds more than maxBytes.
std::optional<std::string> readWholeFile(const std::string& name, size_t maxBytes);

// Replaces the file by the given bytes. The bytes go to a temporary file beside it, which is
// flushed to the disk and then renamed over the old one, durably: a write that fails midway,
// or a power cut at any moment, leaves either the old file or the new one, never an empty
// one. A temporary file that a killed write left behind is removed. Returns false, and
// leaves the old file as it was, when anything fails.
bool replaceWholeFile(const std::string& name, const std::string& bytes);
// The same on the given file layer.
bool replaceWholeFile(files::FileLayer& layer, const std::string& name, const std::string& bytes);
