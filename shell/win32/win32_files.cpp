#include <windows.h>

#include <algorithm>

#include "shell/file_layer.h"

namespace files {

namespace {

HANDLE handleOf(Handle file) { return reinterpret_cast<HANDLE>(file); }

class Win32Files final : public FileLayer {
 public:
  std::optional<Handle> create(const std::string& name) override {
    HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    return reinterpret_cast<Handle>(file);
  }

  bool write(Handle file, const std::string& bytes) override {
    size_t done = 0;
    while (done < bytes.size()) {
      const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
      DWORD wrote = 0;
      if (!WriteFile(handleOf(file), bytes.data() + done, chunk, &wrote, nullptr) || wrote == 0) {
        return false;
      }
      done += wrote;
    }
    return true;
  }

  bool flush(Handle file) override { return FlushFileBuffers(handleOf(file)) != 0; }

  bool close(Handle file) override { return CloseHandle(handleOf(file)) != 0; }

  // Write-through: the move has reached the disk when the call returns.
  bool replace(const std::string& from, const std::string& to) override {
    return MoveFileExA(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  }

  // The write-through replace leaves nothing of the folder to flush.
  bool flushFolderOf(const std::string&) override { return true; }

  bool remove(const std::string& name) override { return DeleteFileA(name.c_str()) != 0; }
};

}  // namespace

FileLayer& platformFiles() {
  static Win32Files layer;
  return layer;
}

}  // namespace files
