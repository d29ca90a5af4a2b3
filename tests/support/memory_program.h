#pragma once

#include <gtest/gtest.h>

#include "scratch_folder.h"
#include "shell/memory/memory_services.h"

// The generated bitmap of a resource id, decoded.
const RgbImage& generatedBitmap(int id);
// The generated bitmaps as the in-memory services load them.
ImageSource generatedBitmaps();

// Resets the program-wide state as a new process would have it, and makes the program run on
// the given services. At most one program runs at a time; the next start replaces it.
void startFreshProgram(MemoryServices& platform);
// Leaves the program-wide state pointing at no services.
void endFreshProgram();

// A fresh program on the in-memory services, in a scratch working folder: the program-wide
// state is reset as a new process would have it, and the bitmaps are the generated ones.
class MemoryProgram : public ::testing::Test {
 protected:
  MemoryProgram();
  ~MemoryProgram() override;

  static const RgbImage& bitmap(int id) { return generatedBitmap(id); }

  ScratchFolder folder;
  MemoryServices platform;
};
