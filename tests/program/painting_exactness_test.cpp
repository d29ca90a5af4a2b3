// The incremental painting against the literal one: random whole games are played on a
// program that paints incrementally, then replayed input by input on a fresh program that
// paints literally; after every input the window and the off-screen surface of both must be
// the same, pixel for pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "engine/engine_state.h"
#include "engine/game_flow.h"
#include "recorded_play.h"
#include "resources/resource_ids.h"
#include "shell/services.h"
#include "view/cell_placement.h"
#include "view/hit_test.h"
#include "view/painting_mode.h"
#include "view/painting_way.h"
#include "view/view_state.h"

namespace {

using Kind = Input::Kind;

// Boards up to this many cells are swept now and then, so that games are won too.
constexpr int kSweptBoardCells = 600;

// Plays like a user who now and then knows where the mines are: opens cells (mostly safe
// ones), flags and marks, chords with both buttons, with Shift and with the middle button,
// releases away from the press and outside the field, lets the clock run, toggles the menu
// settings, switches the tile size, starts new games, and on small boards sweeps every safe
// cell open to win.
class RandomPlayer {
 public:
  RandomPlayer(uint32_t seed, bool keepsBoard) : random_(seed), keepsBoard_(keepsBoard) {}

  Input next() {
    if (planned_.empty()) plan();
    const Input input = planned_.front();
    planned_.pop_front();
    return input;
  }

 private:
  bool chance(int percent) { return std::uniform_int_distribution<int>(0, 99)(random_) < percent; }

  int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  std::optional<CellPosition> pickCell(const std::function<bool(const Cell&)>& fits) {
    std::vector<CellPosition> cells;
    for (int c = 1; c <= board.columns; ++c) {
      for (int r = 1; r <= board.rows; ++r) {
        if (fits(board.cell(c, r))) cells.push_back({c, r});
      }
    }
    if (cells.empty()) return std::nullopt;
    return cells[static_cast<size_t>(between(0, static_cast<int>(cells.size()) - 1))];
  }

  static PixelPoint centreOf(CellPosition cell) {
    const PixelPoint origin = cellOrigin(cell.column, cell.row);
    const PixelPoint centre{origin.x + tileMetrics.tileWidth / 2,
                            origin.y + tileMetrics.tileHeight / 2};
    const CellPosition hit = hitTest(centre.x, centre.y);
    EXPECT_TRUE(hit.column == cell.column && hit.row == cell.row);
    return centre;
  }

  void add(Kind kind, PixelPoint at = {0, 0}, unsigned keys = 0) {
    Input input;
    input.kind = kind;
    input.x = at.x;
    input.y = at.y;
    input.keys = keys;
    planned_.push_back(input);
  }

  void click(Kind release, PixelPoint at, unsigned keys = 0) {
    add(Kind::Press, at);
    add(release, at, keys);
  }

  // Both buttons pressed, then released one after the other; the first release finds the
  // other button still held.
  void bothButtons(PixelPoint at, Kind first, Kind second, unsigned stillHeld) {
    add(Kind::Press, at);
    add(Kind::Press, at);
    add(first, at, stillHeld);
    add(second, at);
  }

  void addCommand(int command, int answer = 0) {
    Input input;
    input.kind = Kind::Command;
    input.command = command;
    input.answer = answer;
    planned_.push_back(input);
  }

  void addTick() {
    clock_ += between(0, 1500);
    Input input;
    input.kind = Kind::Tick;
    input.clock = clock_;
    // The win's dialogs must find their answers; a finished game's tick does nothing.
    input.winAnswers = !gameFlags.gameOver && isGameWon();
    planned_.push_back(input);
  }

  void addNewGame() {
    static const int kLevels[] = {IDC_LEVEL_NOVICE, IDC_LEVEL_BEGINNER, IDC_LEVEL_INTERMEDIATE,
                                  IDC_LEVEL_ADVANCED, IDC_LEVEL_EXPERT};
    Input input;
    input.kind = Kind::Command;
    input.command = IDM_NEW_GAME;
    if (chance(50)) {
      input.answer = kLevels[between(0, 4)];
    } else {
      input.answer = IDC_LEVEL_PLAY_CUSTOM;
      input.columns = static_cast<uint32_t>(between(5, 30));
      input.rows = static_cast<uint32_t>(between(5, 20));
      input.difficulty = static_cast<uint32_t>(between(1, 10));
    }
    planned_.push_back(input);
  }

  void openACell() {
    const bool safe = chance(88);
    const std::optional<CellPosition> cell = pickCell([safe](const Cell& cell) {
      return !cell.isRevealed() && cell.holdsMine() != safe;
    });
    if (cell) click(Kind::LeftRelease, centreOf(*cell));
  }

  void markACell() {
    const bool onAMine = chance(60);
    const std::optional<CellPosition> cell = pickCell([onAMine](const Cell& cell) {
      return !cell.isRevealed() && (cell.holdsMine() || !onAMine);
    });
    if (cell) click(Kind::RightRelease, centreOf(*cell));
  }

  void chord() {
    const std::optional<CellPosition> cell = pickCell([](const Cell& cell) {
      return cell.isRevealed() && cell.content != '0';
    });
    if (!cell) return openACell();
    const PixelPoint at = centreOf(*cell);
    switch (between(0, 3)) {
      case 0:
        bothButtons(at, Kind::LeftRelease, Kind::RightRelease, keys::kRightButton);
        break;
      case 1:
        bothButtons(at, Kind::RightRelease, Kind::LeftRelease, keys::kLeftButton);
        break;
      case 2:
        click(Kind::LeftRelease, at, keys::kShift);
        break;
      default:
        click(Kind::MiddleRelease, at);
        break;
    }
  }

  // While the window is minimised its client area is empty, and the counters of the ticks
  // land outside the surface.
  void minimiseForAWhile() {
    Input minimise;
    minimise.kind = Kind::Minimise;
    minimise.minimised = true;
    planned_.push_back(minimise);
    for (int ticks = between(1, 3); ticks > 0; --ticks) addTick();
    minimise.minimised = false;
    planned_.push_back(minimise);
  }

  void releaseAway() {
    const std::optional<CellPosition> cell = pickCell([](const Cell&) { return true; });
    if (!cell) return;
    const PixelPoint at = centreOf(*cell);
    add(Kind::Press, at);
    add(chance(50) ? Kind::LeftRelease : Kind::RightRelease, {at.x + between(5, 9), at.y});
  }

  // One step of opening every safe cell; the flags and marks on safe cells go first, since
  // they keep the game from being won.
  void sweep() {
    const std::optional<CellPosition> cell =
        pickCell([](const Cell& cell) { return !cell.isRevealed() && !cell.holdsMine(); });
    if (!cell) {
      sweeping_ = false;
      addTick();
      return;
    }
    const Cell& target = board.cell(cell->column, cell->row);
    const bool marked = target.isFlagged() || target.isQuestioned();
    click(marked ? Kind::RightRelease : Kind::LeftRelease, centreOf(*cell));
  }

  void playOn() {
    const int roll = between(0, 99);
    if (roll < 28) return openACell();
    if (roll < 42) return markACell();
    if (roll < 56) return chord();
    if (roll < 59) return releaseAway();
    if (roll < 61) return click(chance(50) ? Kind::LeftRelease : Kind::RightRelease, {0, 0});
    if (roll < 76) return addTick();
    if (roll < 81) return add(Kind::Paint);
    if (roll < 82) return minimiseForAWhile();
    if (roll < 85) return addCommand(IDM_USE_MARKS);
    if (roll < 87) return addCommand(IDM_SAFE_START);
    if (roll < 89 && !keepsBoard_) {
      return addCommand(IDM_USE_BIG_ICONS, chance(75) ? box::kAnswerYes : box::kAnswerNo);
    }
    if (roll < 91 && !keepsBoard_) return addNewGame();
    if (board.columns * board.rows <= kSweptBoardCells) {
      sweeping_ = true;
      return sweep();
    }
    openACell();
  }

  void afterTheGame() {
    const int roll = between(0, 99);
    if (roll < 60) {
      static const Kind kReleases[] = {Kind::LeftRelease, Kind::RightRelease, Kind::MiddleRelease};
      const std::optional<CellPosition> cell = pickCell([](const Cell&) { return true; });
      return click(kReleases[between(0, 2)], cell ? centreOf(*cell) : PixelPoint{3, 3});
    }
    if (roll < 70) return addTick();
    if (roll < 80 || keepsBoard_) return add(Kind::Paint);
    if (roll < 90) return addNewGame();
    addCommand(IDM_USE_BIG_ICONS, box::kAnswerYes);
  }

  void plan() {
    if (sweeping_ && !gameFlags.gameOver) return sweep();
    sweeping_ = false;
    if (gameFlags.gameOver) return afterTheGame();
    playOn();
  }

  std::mt19937 random_;
  bool keepsBoard_;
  std::deque<Input> planned_;
  int32_t clock_ = 0;
  bool sweeping_ = false;
};

Input startUp(const std::string& settingsFile, int levelButton = IDC_LEVEL_NOVICE,
              uint32_t columns = 0, uint32_t rows = 0, uint32_t difficulty = 0) {
  Input input;
  input.kind = Kind::StartUp;
  input.settingsFile = settingsFile;
  input.answer = levelButton;
  input.columns = columns;
  input.rows = rows;
  input.difficulty = difficulty;
  return input;
}

Input chooseBoard(uint32_t columns, uint32_t rows, uint32_t difficulty) {
  Input input;
  input.kind = Kind::ChooseBoard;
  input.columns = columns;
  input.rows = rows;
  input.difficulty = difficulty;
  return input;
}

Input switchTileSize() {
  Input input;
  input.kind = Kind::Command;
  input.command = IDM_USE_BIG_ICONS;
  input.answer = box::kAnswerYes;
  return input;
}

// Empty when the window shows the surface's top-left corner, pixel for pixel, as far as the
// surface reaches.
std::string windowDiffersFromSurface(const RecordedPlay& play) {
  const RgbImage& window = play.platform().windowPixels();
  const RgbImage* surface = play.surface();
  if (!surface) return "no surface";
  const int32_t width = std::min(window.width, surface->width);
  const int32_t height = std::min(window.height, surface->height);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      if (window.at(x, y) == surface->at(x, y)) continue;
      return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") differs";
    }
  }
  return "";
}

bool isHandledMessage(Kind kind) {
  return kind == Kind::Press || kind == Kind::LeftRelease || kind == Kind::RightRelease ||
         kind == Kind::MiddleRelease || kind == Kind::Tick || kind == Kind::Paint;
}

// Plays inputs on a program that paints incrementally, then replays them on a fresh one that
// paints literally.
class PaintingExactness : public ::testing::Test {
 protected:
  // The opening inputs, then as many more from `next` (asked with the program as it stands)
  // as make `count` in all. After each input the window shows the surface, no window context
  // is left held, and a message takes at most one context. Any paint the input asks for is
  // served before the pictures are taken.
  void playIncrementally(const std::vector<Input>& opening, int count,
                         const std::function<Input()>& next) {
    RecordedPlay play(PaintingMode::Incremental);
    for (int i = 0; i < count; ++i) {
      const size_t index = static_cast<size_t>(i);
      const Input input = index < opening.size() ? opening[index] : next();
      inputs_.push_back(input);
      const int taken = play.platform().windowContextsTaken();
      play.apply(input);
      SCOPED_TRACE("input " + std::to_string(i) + ": " + describe(input));
      ASSERT_EQ(play.platform().windowContextsHeld(), 0);
      // A field reaching past the surface is painted the literal way.
      if (&currentPainting() == &incrementalPainting()) {
        if (isHandledMessage(input.kind)) {
          ASSERT_LE(play.platform().windowContextsTaken() - taken, 1);
        }
        // A restored window waits for its paint, like the first one.
        if (!gameFlags.firstGame && input.kind != Kind::Minimise) {
          ASSERT_EQ(windowDiffersFromSurface(play), "");
        }
      }
      play.paintIfDue();
      digests_.push_back(digestsOf(play));
    }
  }

  void expectTheLiteralPictures() {
    RgbImage window;
    RgbImage surface;
    const std::optional<size_t> differing = replayLiterally(&window, &surface);
    if (!differing) return;
    std::string recent;
    for (size_t i = *differing >= 6 ? *differing - 6 : 0; i <= *differing; ++i) {
      recent += "\n  " + std::to_string(i) + ": " + describe(inputs_[i]);
    }
    ADD_FAILURE() << "the pictures differ after input " << *differing << recent << "\n"
                  << differenceAt(*differing, window, surface);
  }

 private:
  // The index of the first input after which the literal pictures differ, if any.
  std::optional<size_t> replayLiterally(RgbImage* window, RgbImage* surface) {
    RecordedPlay play(PaintingMode::Literal);
    for (size_t i = 0; i < inputs_.size(); ++i) {
      play.apply(inputs_[i]);
      play.paintIfDue();
      if (digestsOf(play) == digests_[i]) continue;
      *window = play.platform().windowPixels();
      if (play.surface()) *surface = *play.surface();
      return i;
    }
    return std::nullopt;
  }

  // Plays the inputs up to `last` again painting incrementally, and says how its pictures
  // differ from the literal ones.
  std::string differenceAt(size_t last, const RgbImage& window, const RgbImage& surface) {
    RecordedPlay play(PaintingMode::Incremental);
    for (size_t i = 0; i <= last; ++i) {
      play.apply(inputs_[i]);
      play.paintIfDue();
    }
    std::string text = "window: " + firstDifference(window, play.platform().windowPixels());
    if (play.surface()) text += "; surface: " + firstDifference(surface, *play.surface());
    return text;
  }

  std::vector<Input> inputs_;
  std::vector<PictureDigests> digests_;
};

struct Scenario {
  const char* name;
  uint32_t seed;
  std::vector<Input> opening;
  int inputs;
  bool keepsBoard;  // no New Game and no change of tile size
};

class RandomGames : public PaintingExactness, public ::testing::WithParamInterface<Scenario> {};

TEST_P(RandomGames, EveryInputLeavesTheLiteralPictures) {
  const Scenario& scenario = GetParam();
  RandomPlayer player(scenario.seed, scenario.keepsBoard);
  ASSERT_NO_FATAL_FAILURE(
      playIncrementally(scenario.opening, scenario.inputs, [&player] { return player.next(); }));
  expectTheLiteralPictures();
}

// Opening a mine draws it as a mine, and the final board draws it exploded over that: in the
// big set the mine picture leaves bits the exploded one keeps. Inside the field a neighbour's
// tile has set those bits already; at the right edge nothing has.
TEST_F(PaintingExactness, AMineOpenedAtTheRightEdgeLeavesItsBitsUnderTheExplodedOne) {
  const Input opening = startUp("marks=1\nsafe=0\nlevel=0\nsmall=0\n", IDC_LEVEL_PLAY_CUSTOM, 10, 8, 10);
  std::deque<Input> click;
  const auto next = [&click] {
    if (click.empty()) {
      for (int r = 1; r <= board.rows && click.empty(); ++r) {
        if (!board.cell(board.columns, r).holdsMine()) continue;
        const PixelPoint origin = cellOrigin(board.columns, r);
        Input press;
        press.kind = Kind::Press;
        press.x = origin.x + tileMetrics.tileWidth / 2;
        press.y = origin.y + tileMetrics.tileHeight / 2;
        Input release = press;
        release.kind = Kind::LeftRelease;
        click = {press, release};
      }
      EXPECT_FALSE(click.empty()) << "no mine in the last column";
    }
    const Input input = click.empty() ? Input{} : click.front();
    if (!click.empty()) click.pop_front();
    return input;
  };
  ASSERT_NO_FATAL_FAILURE(playIncrementally({opening}, 3, next));
  EXPECT_TRUE(gameFlags.gameOver);
  expectTheLiteralPictures();
}

// Settings files: marks, safe start, the stored level (0 asks), small tiles.
const std::string kBigNovice = "marks=1\nsafe=1\nlevel=1\nsmall=0\n";
const std::string kSmallAsked = "marks=0\nsafe=0\nlevel=0\nsmall=1\n";
const std::string kSmallNovice = "marks=1\nsafe=1\nlevel=1\nsmall=1\n";

INSTANTIATE_TEST_SUITE_P(
    Scenarios, RandomGames,
    ::testing::Values(
        Scenario{"BigTilesFromNovice", 11, {startUp(kBigNovice)}, 320, false},
        Scenario{"SmallTilesCustomBoardWithoutMarksOrSafeStart",
                 12,
                 {startUp(kSmallAsked, IDC_LEVEL_PLAY_CUSTOM, 24, 14, 3)},
                 320,
                 false},
        // Six small columns: the counter feet overlap each other and the lowest cells.
        Scenario{"NarrowSmallBoard",
                 13,
                 {startUp(kSmallAsked, IDC_LEVEL_PLAY_CUSTOM, 6, 5, 2)},
                 240,
                 true},
        Scenario{"LargestSmallTileBoard",
                 14,
                 {startUp(kBigNovice), chooseBoard(159, 95, 1), switchTileSize()},
                 160,
                 true},
        Scenario{"LargestBigTileBoard",
                 15,
                 {startUp(kSmallNovice), chooseBoard(83, 45, 1), switchTileSize()},
                 160,
                 true},
        // With big tiles the field reaches past the surface, with small ones it does not.
        Scenario{"BoardTallerThanTheSurfaceWithBigTiles",
                 16,
                 {startUp(kSmallNovice), chooseBoard(12, 60, 1), switchTileSize()},
                 160,
                 false}),
    [](const ::testing::TestParamInfo<Scenario>& info) { return std::string(info.param.name); });

}  // namespace
