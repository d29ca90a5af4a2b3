#include "engine/game_flags.h"

GameFlags gameFlags;
