#include "shell/whole_file.h"

#include <cstdio>

std::optional<std::string> readWholeFile(const std::string& name, size_t maxBytes) {
  std::FILE* file = std::fopen(name.c_str(), "rb");
  if (!file) return std::nullopt;
  std::string bytes;
  char chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
    bytes.append(chunk, got);
    if (bytes.size() > maxBytes) {
      std::fclose(file);
      return std::nullopt;
    }
  }
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) return std::nullopt;
  return bytes;
}

bool replaceWholeFile(const std::string& name, const std::string& bytes) {
  return replaceWholeFile(files::platformFiles(), name, bytes);
}

bool replaceWholeFile(files::FileLayer& layer, const std::string& name, const std::string& bytes) {
  const std::string temporary = name + ".new";
  // What a write cut short left here goes first, so a failure below leaves none of it.
  layer.remove(temporary);
  const std::optional<files::Handle> file = layer.create(temporary);
  if (!file) return false;
  // The bytes reach the disk before the new name points at them.
  bool written = layer.write(*file, bytes) && layer.flush(*file);
  written = layer.close(*file) && written;
  if (!written || !layer.replace(temporary, name)) {
    layer.remove(temporary);
    return false;
  }
  // The new content is in place; a folder that cannot be flushed does not undo that.
  layer.flushFolderOf(name);
  return true;
}
