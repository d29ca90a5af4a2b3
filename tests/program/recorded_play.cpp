#include "recorded_play.h"

#include <sstream>

#include "engine/pointer_gestures.h"
#include "resources/resource_ids.h"
#include "shell/main_window.h"
#include "shell/shell_state.h"
#include "view/game_start.h"

namespace {

void answerLevelDialog(MemoryServices& platform, const Input& input) {
  platform.answerDialog(IDD_LEVEL, [input](MemoryDialog& dialog) {
    if (input.answer == IDC_LEVEL_PLAY_CUSTOM) {
      dialog.setText(IDC_LEVEL_COLUMNS, std::to_string(input.columns));
      dialog.setText(IDC_LEVEL_ROWS, std::to_string(input.rows));
      dialog.setText(IDC_LEVEL_DIFFICULTY, std::to_string(input.difficulty));
    }
    dialog.click(input.answer);
  });
}

void answerWin(MemoryServices& platform) {
  platform.answerDialog(IDD_ENTER_NAME, [](MemoryDialog& dialog) {
    dialog.setText(IDC_NAME_FIELD, "Replayed");
    dialog.click(IDC_NAME_OK);
  });
  platform.answerDialog(IDD_HISCORE_TABLE,
                        [](MemoryDialog& dialog) { dialog.click(IDC_TABLE_OK); });
}

uint64_t digestOf(const RgbImage& image) {
  // FNV-1a over the size and the pixels, two at a time.
  uint64_t digest = 1469598103934665603ull;
  const auto mix = [&digest](uint64_t word) { digest = (digest ^ word) * 1099511628211ull; };
  mix(static_cast<uint64_t>(image.width) << 32 | static_cast<uint32_t>(image.height));
  const uint32_t* pixels = image.pixels.data();
  const size_t count = image.pixels.size();
  size_t i = 0;
  for (; i + 1 < count; i += 2) mix(static_cast<uint64_t>(pixels[i]) << 32 | pixels[i + 1]);
  if (i < count) mix(pixels[i]);
  return digest;
}

}  // namespace

std::string describe(const Input& input) {
  static const char* const kNames[] = {"start-up",  "press", "left release", "right release",
                                       "middle release", "tick",  "paint",        "command",
                                       "choose board", "minimise"};
  std::ostringstream text;
  text << kNames[static_cast<int>(input.kind)];
  switch (input.kind) {
    case Input::Kind::Press:
    case Input::Kind::LeftRelease:
    case Input::Kind::RightRelease:
    case Input::Kind::MiddleRelease:
      text << " at (" << input.x << ", " << input.y << ") keys " << input.keys;
      break;
    case Input::Kind::Tick:
      text << " at " << input.clock << " ms" << (input.winAnswers ? ", winning" : "");
      break;
    case Input::Kind::Command:
      text << " " << input.command << " answered " << input.answer;
      break;
    case Input::Kind::ChooseBoard:
      text << " " << input.columns << " x " << input.rows << " difficulty " << input.difficulty;
      break;
    case Input::Kind::StartUp:
      text << " with \"" << input.settingsFile << "\"";
      break;
    case Input::Kind::Minimise:
      text << (input.minimised ? "" : " undone");
      break;
    case Input::Kind::Paint:
      break;
  }
  return text.str();
}

RecordedPlay::RecordedPlay(PaintingMode mode) : platform_(generatedBitmaps()) {
  startFreshProgram(platform_);
  platform_.onCloseRequest = [] { onMainWindowDestroy(); };
  usePaintingMode(mode);
}

RecordedPlay::~RecordedPlay() { endFreshProgram(); }

void RecordedPlay::apply(const Input& input) {
  switch (input.kind) {
    case Input::Kind::StartUp:
      ScratchFolder::writeFile(kSettingsFileName, input.settingsFile);
      answerLevelDialog(platform_, input);
      onMainWindowCreate();
      showWindow();
      return;
    case Input::Kind::Press:
      onButtonPress(input.x, input.y);
      return;
    case Input::Kind::LeftRelease:
      onLeftRelease(input.x, input.y, input.keys);
      return;
    case Input::Kind::RightRelease:
      onRightRelease(input.x, input.y, input.keys);
      return;
    case Input::Kind::MiddleRelease:
      onMiddleRelease(input.x, input.y);
      return;
    case Input::Kind::Tick:
      platform_.clockMilliseconds = input.clock;
      if (input.winAnswers) answerWin(platform_);
      onTimerTick(kPlayTimer);
      return;
    case Input::Kind::Paint:
      paint();
      return;
    case Input::Kind::Command:
      if (input.command == IDM_NEW_GAME) answerLevelDialog(platform_, input);
      if (input.command == IDM_USE_BIG_ICONS) platform_.answerMessageBox(input.answer);
      onMainWindowCommand(input.command);
      return;
    case Input::Kind::ChooseBoard:
      gameSettings.columns = input.columns;
      gameSettings.rows = input.rows;
      gameSettings.difficulty = input.difficulty;
      return;
    case Input::Kind::Minimise:
      platform_.setMinimised(input.minimised);
      return;
  }
}

void RecordedPlay::showWindow() {
  // What the window showed while hidden is gone; the class's black brush erases it.
  const DrawContext context = platform_.windowContext();
  const Rect client = platform_.clientRect();
  platform_.drawRectangle(context, {0, 0, client.width(), client.height()}, 0x000000);
  platform_.releaseWindowContext(context);
}

void RecordedPlay::paintIfDue() {
  if (platform_.takePaintRequest()) paint();
}

void RecordedPlay::paint() {
  const DrawContext context = platform_.windowContext();
  onMainWindowPaint(context);
  platform_.releaseWindowContext(context);
}

const RgbImage* RecordedPlay::surface() const {
  const std::optional<DrawContext> surface = platform_.offscreen();
  return surface ? &platform_.surfacePixels(*surface) : nullptr;
}

bool operator==(const PictureDigests& a, const PictureDigests& b) {
  return a.window == b.window && a.surface == b.surface;
}

PictureDigests digestsOf(const RecordedPlay& play) {
  const RgbImage* surface = play.surface();
  return {digestOf(play.platform().windowPixels()), surface ? digestOf(*surface) : 0};
}

std::string firstDifference(const RgbImage& expected, const RgbImage& actual) {
  std::ostringstream text;
  if (expected.width != actual.width || expected.height != actual.height) {
    text << "size " << actual.width << " x " << actual.height << " instead of " << expected.width
         << " x " << expected.height;
    return text.str();
  }
  size_t differing = 0;
  for (int32_t y = 0; y < actual.height; ++y) {
    for (int32_t x = 0; x < actual.width; ++x) {
      if (actual.at(x, y) == expected.at(x, y)) continue;
      if (differing++ == 0) {
        text << "pixel (" << x << ", " << y << ") is #" << std::hex << actual.at(x, y)
             << " instead of #" << expected.at(x, y) << std::dec;
      }
    }
  }
  if (differing > 0) text << "; " << differing << " pixels differ";
  return text.str();
}
