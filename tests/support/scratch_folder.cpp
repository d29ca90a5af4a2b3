#include "scratch_folder.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() : previous_(fs::current_path()) {
  static std::atomic<unsigned> serial{0};
  std::random_device entropy;
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = fs::temp_directory_path() /
                         ("tessara-test-" + std::to_string(entropy()) + "-" +
                          std::to_string(serial++));
    if (fs::create_directory(candidate)) {
      path_ = candidate;
      fs::current_path(path_);
      return;
    }
  }
  throw std::runtime_error("no scratch folder could be made");
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  fs::current_path(previous_, ignored);
  fs::remove_all(path_, ignored);
}

void ScratchFolder::writeFile(const std::string& name, const std::string& bytes) {
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ScratchFolder::readFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool ScratchFolder::exists(const std::string& name) { return fs::exists(name); }
