#include "memory_program.h"

#include <map>

#include "engine/board.h"
#include "engine/board_view.h"
#include "engine/game_flags.h"
#include "hiscores/hiscore_table.h"
#include "shell/settings.h"
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
  installBoardView(nullptr);
  board.destroy();
  board = Board{};
  gameFlags = GameFlags{};
  gameSettings = GameSettings{};
  settingsLoaded = false;
  highlightRow = kNoHighlightRow;
  resetViewState();
}

void endFreshProgram() {
  installBoardView(nullptr);
  installServices(nullptr);
}

MemoryProgram::MemoryProgram() : platform(generatedBitmaps()) { startFreshProgram(platform); }

MemoryProgram::~MemoryProgram() { endFreshProgram(); }
