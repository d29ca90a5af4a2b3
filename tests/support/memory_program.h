#pragma once

#include <gtest/gtest.h>

#include "scratch_folder.h"
#include "shell/memory/memory_services.h"

// A fresh program on the in-memory services, in a scratch working folder: the program-wide
// state is reset as a new process would have it, and the bitmaps are the generated ones.
class MemoryProgram : public ::testing::Test {
 protected:
  MemoryProgram();
  ~MemoryProgram() override;

  // The generated bitmap of a resource id, decoded.
  static const RgbImage& bitmap(int id);

  ScratchFolder folder;
  MemoryServices platform;
};
