#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "painting_program.h"
#include "resources/resource_ids.h"
#include "view/board_painting.h"

namespace {

struct SegmentPlace {
  int32_t dx;
  int32_t dy;
  bool horizontal;
};

// Top, middle, bottom, upper left, lower left, upper right, lower right.
const SegmentPlace kSegmentPlaces[7] = {{3, 0, true},   {3, 15, true},  {3, 30, true},
                                        {0, 3, false},  {0, 18, false}, {15, 3, false},
                                        {15, 18, false}};
// For each segment of kSegmentPlaces, the digits that light it.
const char* const kDigitsLighting[7] = {"02356789", "2345689",  "0235689",  "045689",
                                        "0268",     "01234789", "013456789"};

class Counters : public PaintingProgram {
 protected:
  void startBig() {
    startBoard(10, 6);
    panelTop = platform.clientRect().height() - 72;
  }

  // Which of the seven segments at digit origin (x, y) show the image of the given state;
  // the others show neither state's image when `matched` comes back false.
  bool segmentsShow(const RgbImage& image, int32_t x, int32_t y, bool lit[7]) const {
    for (int s = 0; s < 7; ++s) {
      const SegmentPlace& place = kSegmentPlaces[s];
      const int litId = place.horizontal ? IDB_SEGMENT_H_LIT : IDB_SEGMENT_V_LIT;
      const int unlitId = place.horizontal ? IDB_SEGMENT_H_UNLIT : IDB_SEGMENT_V_UNLIT;
      lit[s] = showsImage(image, x + place.dx, y + place.dy, litId);
      if (!lit[s] && !showsImage(image, x + place.dx, y + place.dy, unlitId)) return false;
    }
    return true;
  }

  // One digit place: the digit drawn at origin (x, y); ' ' when the place shows the panel's
  // own unlit digit, which is printed one pixel lower; '-' for the lit middle segment alone
  // on the panel's digit; '?' for anything else.
  char readPlace(const RgbImage& image, int32_t x, int32_t y) const {
    bool lit[7];
    if (segmentsShow(image, x, y, lit)) {
      for (char digit = '0'; digit <= '9'; ++digit) {
        bool matches = true;
        for (int s = 0; s < 7; ++s) {
          matches = matches && lit[s] == (std::strchr(kDigitsLighting[s], digit) != nullptr);
        }
        if (matches) return digit;
      }
      return '?';
    }
    bool printed[7];
    if (segmentsShow(image, x, y + 1, printed)) {
      for (bool on : printed) {
        if (on) return '?';
      }
      return ' ';
    }
    // The minus sign covers the upper rows of the panel's middle segment.
    if (!showsImage(image, x + 3, y + 15, IDB_SEGMENT_H_LIT)) return '?';
    for (int s = 0; s < 7; ++s) {
      const SegmentPlace& place = kSegmentPlaces[s];
      const int unlitId = place.horizontal ? IDB_SEGMENT_H_UNLIT : IDB_SEGMENT_V_UNLIT;
      if (s != 1 && !showsImage(image, x + place.dx, y + 1 + place.dy, unlitId)) return '?';
    }
    return '-';
  }

  // The four places, thousands first, of a counter whose units place is at unitsX.
  std::string readCounter(const RgbImage& image, int32_t unitsX) const {
    std::string shown;
    for (int place = 3; place >= 0; --place)
      shown += readPlace(image, unitsX - 20 * place, panelTop);
    return shown;
  }

  // What the counter shows on the surface, and the window's reading too if it differs.
  std::string shown(int32_t unitsX) const {
    const std::string onSurface = readCounter(surface(), unitsX);
    const std::string onWindow = readCounter(window(), unitsX);
    return onWindow == onSurface ? onSurface : onSurface + " but the window shows " + onWindow;
  }
  std::string elapsedShown() const { return shown(62); }
  std::string flagsShown() { return shown(platform.clientRect().width() - 20); }

  int32_t panelTop = 0;
};

TEST_F(Counters, FreshPanelsShowFourUnlitPlaces) {
  for (bool small : {false, true}) {
    SCOPED_TRACE(small ? "small" : "big");
    startBoard(small ? 20 : 10, 6, small);
    panelTop = platform.clientRect().height() - (small ? 54 : 72);
    EXPECT_EQ(elapsedShown(), "    ");
    EXPECT_EQ(flagsShown(), "    ");
  }
}

TEST_F(Counters, EveryDigitLightsItsSegments) {
  startBig();
  for (int digit = 0; digit <= 9; ++digit) {
    const std::string expected = "   " + std::to_string(digit);
    showElapsedSeconds(digit);
    EXPECT_EQ(elapsedShown(), expected);
    showFlagsLeft(digit);
    EXPECT_EQ(flagsShown(), expected);
  }
  EXPECT_EQ(platform.windowContextsHeld(), 0);
}

// Each place is drawn only once the count reaches it; the elapsed seconds never shrink
// within a game, so their panel is not blanked.
TEST_F(Counters, ElapsedSecondsLightMorePlacesAsTheyGrow) {
  startBig();
  const std::pair<int32_t, const char*> steps[] = {
      {0, "   0"},   {9, "   9"},   {10, "  10"},   {11, "  11"},   {99, "  99"},
      {100, " 100"}, {999, " 999"}, {1000, "1000"}, {1234, "1234"}, {9999, "9999"},
  };
  for (const auto& [seconds, expected] : steps) {
    showElapsedSeconds(seconds);
    EXPECT_EQ(elapsedShown(), expected) << seconds;
  }
}

TEST_F(Counters, ElapsedSecondsOfANewGameStartFromAFreshPanel) {
  startBig();
  showElapsedSeconds(12);
  EXPECT_EQ(elapsedShown(), "  12");
  startBig();
  showElapsedSeconds(7);
  EXPECT_EQ(elapsedShown(), "   7");
}

// The flags-left panel is blanked first, so every count shows only its own places; a
// negative count shows its units digit and a minus sign in the tens place.
TEST_F(Counters, FlagsLeftShowOnlyTheirOwnPlacesAndAMinusSign) {
  startBig();
  const std::pair<int32_t, const char*> steps[] = {
      {12, "  12"},  {7, "   7"},     {1234, "1234"},    {-3, "  -3"}, {0, "   0"},  {-15, "  -5"},
      {999, " 999"}, {-1234, "  -4"}, {INT_MIN, "  -8"}, {-1, "  -1"}, {10, "  10"},
  };
  for (const auto& [flags, expected] : steps) {
    showFlagsLeft(flags);
    EXPECT_EQ(flagsShown(), expected) << flags;
  }
  EXPECT_EQ(elapsedShown(), "    ") << "the left counter is not touched";
  EXPECT_EQ(platform.windowContextsHeld(), 0);
}

TEST_F(Counters, ADigitDrawnOverAnotherLeavesNothingOfTheOld) {
  startBig();
  const DrawContext context = platform.windowContext();
  for (int old = 0; old <= 9; ++old) {
    for (int digit = 0; digit <= 9; ++digit) {
      drawSegmentDigit(old, 62, panelTop, context);
      drawSegmentDigit(digit, 62, panelTop, context);
      EXPECT_EQ(readPlace(surface(), 62, panelTop), '0' + digit) << old << " then " << digit;
      EXPECT_EQ(readPlace(window(), 62, panelTop), '0' + digit) << old << " then " << digit;
    }
  }
  platform.releaseWindowContext(context);
}

}  // namespace
