#pragma once

#include <filesystem>
#include <string>

// Runs a test inside a fresh empty working folder, since the program keeps its files in
// the current working directory. The previous working directory is restored afterwards.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

  static void writeFile(const std::string& name, const std::string& bytes);
  static std::string readFile(const std::string& name);
  static bool exists(const std::string& name);

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};
