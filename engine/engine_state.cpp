#include "engine/engine_state.h"

#include "engine/engine_requests.h"
#include "engine/random.h"

Board board;
GameFlags gameFlags;
PointerPress pointerPress;
PlayClock playClock;

void resetEngineState() {
  board.destroy();
  board = Board{};
  gameFlags = GameFlags{};
  pointerPress = PointerPress{};
  playClock = PlayClock{};
  seedRandom(0);
  installEngineRequests(nullptr);
}
