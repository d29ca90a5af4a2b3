#include "memory_program.h"

#include <map>

#include "engine/engine_requests.h"
#include "engine/engine_state.h"
#include "hiscores/hiscore_state.h"
#include "shell/shell_state.h"
#include "view/view_state.h"

const RgbImage& generatedBitmap(int id) {
  static std::map<int, RgbImage> cache;
  auto found = cache.find(id);
  if (found == cache.end()) {
    std::optional<RgbImage> image = loadBitmapById(TESSARA_BITMAP_DIR, id);
    if (!image) throw std::runtime_error("no generated bitmap " + std::to_string(id));
    found = cache.emplace(id, std::move(*image)).first;
  }
  return found->second;
}

ImageSource generatedBitmaps() {
  return [](int id) -> std::optional<RgbImage> { return generatedBitmap(id); };
}

void startFreshProgram(MemoryServices& platform) {
  installServices(&platform);
  resetEngineState();
  resetViewState();
  resetShellState();
  resetHiscoreState();
}

void endFreshProgram() {
  installEngineRequests(nullptr);
  installServices(nullptr);
}

MemoryProgram::MemoryProgram() : platform(generatedBitmaps()) { startFreshProgram(platform); }

MemoryProgram::~MemoryProgram() { endFreshProgram(); }
