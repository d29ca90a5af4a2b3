#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The file operations that a durable replace of a whole file is made of. Built on the Win32
// file functions in the Windows program and on POSIX natively; tests put a recording layer
// in between.
namespace files {

// An open file as the platform holds it.
using Handle = intptr_t;

class FileLayer {
 public:
  virtual ~FileLayer() = default;
  // Creates the file for writing, or empties the one that is there.
  virtual std::optional<Handle> create(const std::string& name) = 0;
  // Writes all of the bytes; false on an error.
  virtual bool write(Handle file, const std::string& bytes) = 0;
  // Returns once the file's bytes are on the disk, not only in the system's cache.
  virtual bool flush(Handle file) = 0;
  virtual bool close(Handle file) = 0;
  // Puts the file `from` in the place of `to` in one step, replacing what was there.
  virtual bool replace(const std::string& from, const std::string& to) = 0;
  // Returns once the folder that holds the file has its last replace on the disk.
  virtual bool flushFolderOf(const std::string& name) = 0;
  // False when there was no such file or it could not be removed.
  virtual bool remove(const std::string& name) = 0;
};

FileLayer& platformFiles();

}  // namespace files
