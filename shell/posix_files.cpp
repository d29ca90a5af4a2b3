#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "shell/file_layer.h"

namespace files {

namespace {

int descriptorOf(Handle file) { return static_cast<int>(file); }

class PosixFiles final : public FileLayer {
 public:
  std::optional<Handle> create(const std::string& name) override {
    const int file = ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (file < 0) return std::nullopt;
    return static_cast<Handle>(file);
  }

  bool write(Handle file, const std::string& bytes) override {
    size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t wrote = ::write(descriptorOf(file), bytes.data() + done, bytes.size() - done);
      if (wrote < 0 && errno == EINTR) continue;
      if (wrote <= 0) return false;
      done += static_cast<size_t>(wrote);
    }
    return true;
  }

  bool flush(Handle file) override { return ::fsync(descriptorOf(file)) == 0; }

  bool close(Handle file) override { return ::close(descriptorOf(file)) == 0; }

  bool replace(const std::string& from, const std::string& to) override {
    return std::rename(from.c_str(), to.c_str()) == 0;
  }

  // A rename is an entry in the folder; it reaches the disk when the folder is flushed.
  bool flushFolderOf(const std::string& name) override {
    std::string folder = std::filesystem::path(name).parent_path().string();
    if (folder.empty()) folder = ".";
    const int handle = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0) return false;
    const bool flushed = ::fsync(handle) == 0;
    ::close(handle);
    return flushed;
  }

  bool remove(const std::string& name) override { return ::unlink(name.c_str()) == 0; }
};

}  // namespace

FileLayer& platformFiles() {
  static PosixFiles layer;
  return layer;
}

}  // namespace files
