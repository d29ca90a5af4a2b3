#include "shell/whole_file.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

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
  const std::string temporary = name + ".new";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (!file) return false;
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  written = std::fflush(file) == 0 && written;
  written = std::fclose(file) == 0 && written;
  std::error_code error;
  if (written) std::filesystem::rename(temporary, name, error);
  if (!written || error) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}
