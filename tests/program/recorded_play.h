#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "memory_program.h"
#include "view/painting_mode.h"

// Whole programs driven by a recorded list of inputs, so that the same play can be run again
// on a fresh program that paints another way, and the pictures of both compared step by
// step.

// One thing that reaches the program, as the window procedure and the user bring it.
struct Input {
  enum class Kind {
    StartUp,        // the settings file below, window creation (the level dialog answered),
                    // the window shown
    Press,          // any button, at (x, y)
    LeftRelease,    // at (x, y) with keys
    RightRelease,   // at (x, y) with keys
    MiddleRelease,  // at (x, y)
    Tick,           // the play timer, with the clock at `clock`
    Paint,          // a paint request from the system
    Command,        // a menu command
    ChooseBoard,    // the board of the next game start: columns, rows, difficulty
    Minimise,       // the window minimised, or restored when `minimised` is false
  };
  Kind kind = Kind::Paint;
  int32_t x = 0;
  int32_t y = 0;
  unsigned keys = 0;
  int32_t clock = 0;
  int command = 0;
  // The level dialog's button at start-up or for New Game (custom: columns, rows and
  // difficulty below), or the answer to the question of Use Big Icons.
  int answer = 0;
  uint32_t columns = 0;
  uint32_t rows = 0;
  uint32_t difficulty = 0;
  std::string settingsFile;  // StartUp
  bool winAnswers = false;   // Tick: a name for the win and OK in the hiscore table
  bool minimised = false;
};

std::string describe(const Input& input);

// A whole program in a working folder of its own. Only one exists at a time.
class RecordedPlay {
 public:
  explicit RecordedPlay(PaintingMode mode);
  ~RecordedPlay();
  RecordedPlay(const RecordedPlay&) = delete;
  RecordedPlay& operator=(const RecordedPlay&) = delete;

  MemoryServices& platform() { return platform_; }
  const MemoryServices& platform() const { return platform_; }
  // The input, as the window procedure hands it to the handlers.
  void apply(const Input& input);
  // Serves a paint request, if the last handlers asked for one.
  void paintIfDue();
  const RgbImage* surface() const;

 private:
  void showWindow();
  void paint();

  ScratchFolder folder_;
  MemoryServices platform_;
};

// The pictures of the window and of the off-screen surface, as digests.
struct PictureDigests {
  uint64_t window = 0;
  uint64_t surface = 0;
};
bool operator==(const PictureDigests& a, const PictureDigests& b);
PictureDigests digestsOf(const RecordedPlay& play);

// Empty when equal, else where and how the images first differ.
std::string firstDifference(const RgbImage& expected, const RgbImage& actual);
